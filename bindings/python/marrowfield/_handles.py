"""The library's options and string arrays as Python objects that own
their C memory for the length of one call."""

from __future__ import annotations

import array
import ctypes
import itertools
from typing import Any, Sequence

from . import _library
from ._errors import OutOfMemoryError
from ._text import check_int, check_scoring

# The lowest score reported unless accuracy= says otherwise.
DEFAULT_ACCURACY = 60


class Options:
    """Library options for one call, checked on creation and destroyed when
    the with block ends. Raises TypeError or ArgumentError for a bad
    accuracy (0-100), thread count (0 or more) or scoring mode."""

    def __init__(self, accuracy: int = DEFAULT_ACCURACY, threads: int = 0,
                 whole_cell: bool = False, scoring: str = "strict",
                 best_only: bool = False, accuracy_name: str = "accuracy"):
        check_int(accuracy, accuracy_name, 0, 100)
        check_int(threads, "threads", 0, None)
        mode = check_scoring(scoring)
        lib = _library.load()
        self.handle = lib.mf_options_create()
        if not self.handle:
            raise OutOfMemoryError("marrowfield: out of memory")
        lib.mf_options_set_accuracy(self.handle, accuracy)
        lib.mf_options_set_threads(self.handle, threads)
        lib.mf_options_set_whole_cell(self.handle, 1 if whole_cell else 0)
        lib.mf_options_set_scoring(self.handle, mode)
        lib.mf_options_set_best_only(self.handle, 1 if best_only else 0)

    def __enter__(self) -> Any:
        return self.handle

    def __exit__(self, *exc: object) -> None:
        _library.load().mf_options_destroy(self.handle)


class TextArray:
    """A C array of pointers to the NUL-terminated strings |encoded|.

    All strings sit in one buffer and the pointers are computed as numbers:
    building a ctypes array element by element costs about a microsecond a
    string, more than scoring the pair. Pass .pointers to C and keep this
    object alive for as long as C reads them.
    """

    _TYPECODE = "Q" if ctypes.sizeof(ctypes.c_void_p) == 8 else "I"

    def __init__(self, encoded: Sequence[bytes]):
        count = len(encoded)
        self.buffer = ctypes.create_string_buffer(b"\0".join(encoded))
        # Each string takes its length and a NUL; all of it runs in C.
        starts = itertools.accumulate(map((1).__add__, map(len, encoded)),
                                      initial=ctypes.addressof(self.buffer))
        self.addresses = array.array(self._TYPECODE,
                                     itertools.islice(starts, count))
        self.pointers: Any = (ctypes.c_char_p * count).from_buffer(
            self.addresses)

