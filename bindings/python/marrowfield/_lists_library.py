"""Finds and loads libMarrowfieldLists.so, the pair finding library, and
declares its C functions (marrowfield_lists.h).

It is looked for as the engine library is (see _library): at the path in
MARROWFIELD_LISTS_LIBRARY; next to this package; in the source tree's
build*/lists/; by the system loader's own search.
"""

import ctypes

from . import _library

LIBRARY_NAME = "libMarrowfieldLists.so"
ENVIRONMENT_VARIABLE = "MARROWFIELD_LISTS_LIBRARY"

MFL_OK = 0
MFL_INVALID_ARGUMENT = 1
MFL_OUT_OF_MEMORY = 2

MFL_SCORING_STRICT = 0
MFL_SCORING_TOLERANT = 1


def load():
    """Returns the loaded library with its functions declared; raises
    OSError naming every place tried when none holds it."""
    paths = _library.candidate_paths(LIBRARY_NAME, ENVIRONMENT_VARIABLE,
                                     "lists")
    return _library.load_first(paths, LIBRARY_NAME, ENVIRONMENT_VARIABLE,
                               declare)


def declare(library):
    """Gives every function used from Python its C signature. Handles and
    error messages are void pointers, so that the library's own pointers
    come back to it unchanged (ctypes would copy a char* into bytes)."""
    handle = ctypes.c_void_p
    out_handle = ctypes.POINTER(ctypes.c_void_p)
    errptr = ctypes.POINTER(ctypes.c_void_p)
    text = ctypes.c_char_p
    texts = ctypes.POINTER(ctypes.c_char_p)
    size = ctypes.c_size_t
    c_int = ctypes.c_int
    flag = ctypes.c_ubyte
    signatures = {
        "mfl_free": (None, [handle]),
        "mfl_options_create": (handle, []),
        "mfl_options_destroy": (None, [handle]),
        "mfl_options_set_accuracy": (None, [handle, c_int]),
        "mfl_options_set_threads": (None, [handle, c_int]),
        "mfl_options_set_whole_cell": (None, [handle, flag]),
        "mfl_options_set_scoring": (None, [handle, c_int]),
        "mfl_options_set_best_only": (None, [handle, flag]),
        "mfl_compare": (c_int, [handle, text, text, ctypes.POINTER(c_int),
                                errptr]),
        "mfl_compare_many": (c_int, [handle, texts, texts, size,
                                     ctypes.POINTER(c_int), errptr]),
        "mfl_dedupe": (c_int, [handle, texts, ctypes.POINTER(ctypes.c_uint64),
                               size, out_handle, errptr]),
        "mfl_groups_destroy": (None, [handle]),
        "mfl_groups_count": (size, [handle]),
        "mfl_groups_canonical": (size, [handle, size]),
        "mfl_groups_member_count": (size, [handle, size]),
        "mfl_groups_member_value": (size, [handle, size, size]),
        "mfl_groups_member_score": (c_int, [handle, size, size]),
        "mfl_groups_member_via": (size, [handle, size, size]),
        "mfl_groups_member_via_score": (c_int, [handle, size, size]),
        "mfl_link": (c_int, [handle, texts, size, texts, size, out_handle,
                             errptr]),
        "mfl_links_destroy": (None, [handle]),
        "mfl_links_match_count": (size, [handle, size]),
        "mfl_links_match_value": (size, [handle, size, size]),
        "mfl_links_match_score": (c_int, [handle, size, size]),
        "mfl_strings_destroy": (None, [handle]),
        "mfl_strings_count": (size, [handle]),
        "mfl_strings_item": (text, [handle, size]),
        "mfl_keys": (c_int, [text, out_handle, errptr]),
        "mfl_explain": (c_int, [handle, text, text, out_handle, errptr]),
        "mfl_explanation_destroy": (None, [handle]),
        "mfl_explanation_percentage": (c_int, [handle]),
        "mfl_explanation_distance": (ctypes.c_double, [handle]),
        "mfl_explanation_phones": (text, [handle, c_int]),
        "mfl_explanation_text": (text, [handle]),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes
