"""Finds and loads libmarrowfield, the product library, and declares the C
functions of its interface (marrowfield_api.h) that the package calls.

The library is looked for, in order: at the path in the environment
variable MARROWFIELD_LIBRARY; next to this package (as the build tree and
a wheel carry it); in the build folders of the source tree this package
sits in (build*/library/); and finally by the system loader's own search
(LD_LIBRARY_PATH, the ld.so cache), first by the SONAME an installed
runtime package provides (libmarrowfield.so.0), then by the development
name.

The library is loaded on first use, not on import, so that the package
imports everywhere and a missing library is reported where it is needed,
as a LibraryNotFoundError. The library is thread-safe: nothing here
serialises calls, only the first load is done once.
"""

from __future__ import annotations

import ctypes
import glob
import importlib
import os
import threading
import warnings
from typing import Any, Iterable, Iterator, List, NoReturn, Optional

from ._errors import (ArgumentError, EngineError, LibraryNotFoundError,
                      OutOfMemoryError)

LIBRARY_NAME = "libmarrowfield.so"
ENVIRONMENT_VARIABLE = "MARROWFIELD_LIBRARY"
# The interface version this package is written against, the SONAME's
# number where no build stamped the package.
INTERFACE_VERSION = "0"

# Status codes, scoring modes, folding and transcriptions of
# marrowfield_api.h.
MF_OK = 0
MF_INVALID_ARGUMENT = 1
MF_OUT_OF_MEMORY = 2
MF_INTERNAL_ERROR = 3
MF_SCORING_STRICT = 0
MF_SCORING_TOLERANT = 1
MF_FOLD_NONE = 0
MF_FOLD_UTF8 = 1
MF_PHONES_LEXICON = 0
MF_PHONES_RULES = 1

_lib: Optional[ctypes.CDLL] = None
_load_lock = threading.Lock()


def candidate_paths() -> Iterator[str]:
    """Yields the places to try for the library, best first: the path in
    MARROWFIELD_LIBRARY alone when it is set, else this package's folder,
    the source tree's build*/library/ and the system loader's search."""
    from_env = os.environ.get(ENVIRONMENT_VARIABLE)
    if from_env:
        yield from_env
        return
    package_dir = os.path.dirname(os.path.abspath(__file__))
    yield os.path.join(package_dir, LIBRARY_NAME)
    # bindings/python/marrowfield -> the repository root
    root = os.path.dirname(os.path.dirname(os.path.dirname(package_dir)))
    for build_dir in sorted(glob.glob(os.path.join(root, "build*"))):
        yield os.path.join(build_dir, "library", LIBRARY_NAME)
    yield soname()
    yield LIBRARY_NAME


def soname() -> str:
    """The SONAME of the library this package goes with: the build's where
    it stamped the package, else that of the interface it is written
    against. Without the -dev package only this name exists on a system."""
    try:
        version: str = importlib.import_module(
            "._version", __package__).LIBRARY_SOVERSION
    except ImportError:
        version = INTERFACE_VERSION
    return "%s.%s" % (LIBRARY_NAME, version)


def load() -> Any:
    """Returns the library, loaded, declared and its engine set up on the
    first call (which warns with RuntimeWarning if the engine's phone
    tables fail their consistency check).

    Raises LibraryNotFoundError (an OSError) naming every place tried when
    none holds the library; the next call tries again.
    """
    global _lib
    if _lib is None:
        with _load_lock:
            if _lib is None:
                library = load_first(candidate_paths())
                if library.mf_engine_start(None) != MF_OK:
                    warnings.warn(
                        "marrowfield: the engine's phone tables failed "
                        "their consistency check; results may be off",
                        RuntimeWarning, stacklevel=3)
                _lib = library
    return _lib


def load_first(paths: Iterable[str]) -> Any:
    """Loads the first of |paths| that holds a loadable library, declares
    its functions and returns it; raises OSError naming every place tried
    when none does."""
    tried: List[str] = []
    for path in paths:
        if os.path.sep in path and not os.path.exists(path):
            tried.append(path)
            continue
        try:
            library = ctypes.CDLL(path)
        except OSError as error:
            tried.append("%s (%s)" % (path, error))
            continue
        declare(library)
        return library
    raise LibraryNotFoundError(
        "marrowfield: cannot find %s; build it (the README's set-up) or set "
        "%s to its path. Tried: %s"
        % (LIBRARY_NAME, ENVIRONMENT_VARIABLE, "; ".join(tried)))


def declare(library: Any) -> None:
    """Gives every function used from Python its C signature.

    Handles and strings the library allocates are void pointers, so that
    its own pointers come back to it unchanged (ctypes would copy a char*
    into bytes) and 64-bit addresses are never cut to a C int.
    """
    handle = ctypes.c_void_p
    out_handle = ctypes.POINTER(ctypes.c_void_p)
    errptr = ctypes.POINTER(ctypes.c_void_p)
    text = ctypes.c_char_p
    texts = ctypes.POINTER(ctypes.c_char_p)
    size = ctypes.c_size_t
    c_int = ctypes.c_int
    int_out = ctypes.POINTER(c_int)
    flag = ctypes.c_ubyte
    signatures = {
        "mf_free": (None, [handle]),
        "mf_version": (text, []),
        "mf_engine_start": (c_int, [errptr]),
        "mf_options_create": (handle, []),
        "mf_options_destroy": (None, [handle]),
        "mf_options_set_accuracy": (None, [handle, c_int]),
        "mf_options_set_threads": (None, [handle, c_int]),
        "mf_options_set_whole_cell": (None, [handle, flag]),
        "mf_options_set_scoring": (None, [handle, c_int]),
        "mf_options_set_fold": (None, [handle, c_int]),
        "mf_options_set_best_only": (None, [handle, flag]),
        "mf_strings_destroy": (None, [handle]),
        "mf_strings_count": (size, [handle]),
        "mf_strings_item": (text, [handle, size]),
        "mf_phones": (c_int, [text, c_int, out_handle, errptr]),
        "mf_code": (c_int, [text, out_handle, errptr]),
        "mf_fold": (c_int, [text, c_int, out_handle, errptr]),
        "mf_match": (c_int, [text, text, c_int, int_out, int_out, int_out,
                             errptr]),
        "mf_compare": (c_int, [handle, text, text, int_out, errptr]),
        "mf_compare_many": (c_int, [handle, texts, texts, size, int_out,
                                    errptr]),
        "mf_similar": (c_int, [handle, text, texts, size, out_handle,
                               errptr]),
        "mf_dedupe": (c_int, [handle, texts, ctypes.POINTER(ctypes.c_uint64),
                              size, out_handle, errptr]),
        "mf_group_pairs": (c_int, [handle, texts,
                                   ctypes.POINTER(ctypes.c_uint64), size,
                                   ctypes.POINTER(size), ctypes.POINTER(size),
                                   int_out, size, out_handle, errptr]),
        "mf_groups_destroy": (None, [handle]),
        "mf_groups_count": (size, [handle]),
        "mf_groups_canonical": (size, [handle, size]),
        "mf_groups_member_count": (size, [handle, size]),
        "mf_groups_member_value": (size, [handle, size, size]),
        "mf_groups_member_score": (c_int, [handle, size, size]),
        "mf_groups_member_via": (size, [handle, size, size]),
        "mf_groups_member_via_score": (c_int, [handle, size, size]),
        "mf_groups_pair_count": (size, [handle]),
        "mf_groups_pair": (c_int, [handle, size, ctypes.POINTER(size),
                                   ctypes.POINTER(size), int_out]),
        "mf_link": (c_int, [handle, texts, size, texts, size, out_handle,
                            errptr]),
        "mf_links_destroy": (None, [handle]),
        "mf_links_match_count": (size, [handle, size]),
        "mf_links_match_value": (size, [handle, size, size]),
        "mf_links_match_score": (c_int, [handle, size, size]),
        "mf_records_create": (c_int, [size, size, size, out_handle, errptr]),
        "mf_records_destroy": (None, [handle]),
        # Fields are passed as the address of a row's first pointer.
        "mf_records_add": (c_int, [handle, ctypes.c_void_p, errptr]),
        "mf_records_count": (size, [handle]),
        "mf_records_dedupe": (c_int, [handle, handle, out_handle, errptr]),
        "mf_keys": (c_int, [handle, text, out_handle, errptr]),
        "mf_skeleton_key": (c_int, [handle, text, out_handle, errptr]),
        "mf_keys_min_accuracy": (c_int, []),
        "mf_explain": (c_int, [handle, text, text, out_handle, errptr]),
        "mf_explanation_destroy": (None, [handle]),
        "mf_explanation_percentage": (c_int, [handle]),
        "mf_explanation_distance": (ctypes.c_double, [handle]),
        "mf_explanation_phones": (text, [handle, c_int]),
        "mf_explanation_text": (text, [handle]),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes


def raise_for(status: int, message: str) -> NoReturn:
    """Raises the Python error of status code |status| with |message|."""
    text = "marrowfield: " + message
    if status == MF_INVALID_ARGUMENT:
        raise ArgumentError(text)
    if status == MF_OUT_OF_MEMORY:
        raise OutOfMemoryError(text)
    raise EngineError(text)


def call(name: str, *args: Any) -> None:
    """Calls the mf_ function |name|, which takes a trailing errptr; raises
    the error its status code and message say when it fails."""
    lib = load()
    error = ctypes.c_void_p()
    status = getattr(lib, name)(*args, ctypes.byref(error))
    if status != MF_OK:
        message = ctypes.string_at(error.value).decode("latin-1") \
            if error.value else "failed"
        lib.mf_free(error)
        raise_for(status, message)


def take_string(pointer: ctypes.c_void_p) -> bytes:
    """The bytes of a string the library handed out (c_void_p), which is
    freed whatever happens."""
    try:
        return ctypes.string_at(pointer.value) if pointer.value else b""
    finally:
        load().mf_free(pointer)


def take_strings(handle: ctypes.c_void_p) -> List[bytes]:
    """The items of an mf_strings_t handle (c_void_p) as a list of bytes;
    the handle is destroyed whatever happens."""
    lib = load()
    try:
        return [lib.mf_strings_item(handle, i)
                for i in range(lib.mf_strings_count(handle))]
    finally:
        lib.mf_strings_destroy(handle)
