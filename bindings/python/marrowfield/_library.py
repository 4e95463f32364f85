"""Finds and loads libMarrowfieldExcel.so and declares its C functions.

The library is looked for, in order: at the path in the environment variable
MARROWFIELD_LIBRARY; next to this package; in the build folders of the
source tree this package sits in (build*/engine/); and finally by the system
loader's own search (LD_LIBRARY_PATH, the ld.so cache).
"""

import ctypes
import glob
import os

LIBRARY_NAME = "libMarrowfieldExcel.so"
ENVIRONMENT_VARIABLE = "MARROWFIELD_LIBRARY"


def candidate_paths(name=LIBRARY_NAME, variable=ENVIRONMENT_VARIABLE,
                    build_folder="engine"):
    """Yields the places to try for library |name|, best first: the path in
    the environment variable |variable|, else this package's folder, the
    source tree's build*/|build_folder|/ and the system loader's search."""
    from_env = os.environ.get(variable)
    if from_env:
        yield from_env
        return
    package_dir = os.path.dirname(os.path.abspath(__file__))
    yield os.path.join(package_dir, name)
    # bindings/python/marrowfield -> the repository root
    root = os.path.dirname(os.path.dirname(os.path.dirname(package_dir)))
    for build_dir in sorted(glob.glob(os.path.join(root, "build*"))):
        yield os.path.join(build_dir, build_folder, name)
    yield name


def load():
    """Returns the loaded engine library with its functions declared.

    Raises OSError naming every place tried when none holds the library.
    """
    return load_first(candidate_paths(), LIBRARY_NAME, ENVIRONMENT_VARIABLE,
                      declare)


def load_first(paths, name, variable, declare_functions):
    """Loads the first of |paths| that holds a loadable library, declares
    its functions with |declare_functions| and returns it; raises OSError
    naming every place tried when none does."""
    tried = []
    for path in paths:
        if os.path.sep in path and not os.path.exists(path):
            tried.append(path)
            continue
        try:
            library = ctypes.CDLL(path)
        except OSError as error:
            tried.append("%s (%s)" % (path, error))
            continue
        declare_functions(library)
        return library
    raise OSError(
        "marrowfield: cannot find %s; build it (the README's set-up) or set "
        "%s to its path. Tried: %s"
        % (name, variable, "; ".join(tried)))


def declare(library):
    """Gives every exported function its C signature.

    Handles are declared as void pointers so that 64-bit addresses are never
    cut to a C int on their way through Python.
    """
    handle = ctypes.c_void_p
    text = ctypes.c_char_p
    c_int = ctypes.c_int
    signatures = {
        "initialize": (c_int, []),
        "un_initialize": (None, []),
        "set_threshold": (None, [ctypes.c_uint]),
        "get_phonemes": (handle, [text, c_int]),
        "compare_words": (c_int, [text, text]),
        "get_codes_for_word": (c_int, [text, ctypes.c_char_p, ctypes.c_uint]),
        "get_similar_words_from_list": (
            handle, [text, ctypes.POINTER(ctypes.c_char_p), ctypes.c_uint]),
        "get_result_size": (c_int, [handle]),
        "get_result_item": (text, [handle, c_int]),
        "close_result_iterator": (None, [handle]),
        "match_sub_string_phonetically": (
            c_int, [text, text, ctypes.POINTER(c_int),
                    ctypes.POINTER(c_int), c_int]),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes
