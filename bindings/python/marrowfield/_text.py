"""Conversions between Python values and the library's C arguments: the
folding to ASCII that every function applies first (the library's own,
mf_fold, so that Python folds exactly as every other surface), the Latin-1
encoding the engine reads, what counts as a missing value, and the checks
of plain arguments."""

from __future__ import annotations

import ctypes
import math
import re
import sys
from typing import Any, List, Optional, Sequence

from . import _library
from ._errors import ArgumentError

# What UTF-8 cannot carry to the library: NUL ends a C string, and a lone
# surrogate has no UTF-8 form. Neither has an ASCII form to fold to.
_UNSENDABLE = re.compile("([\\0\\ud800-\\udfff])")

SCORINGS = {"strict": _library.MF_SCORING_STRICT,
            "tolerant": _library.MF_SCORING_TOLERANT}


def fold(text: str) -> str:
    """Returns text folded to ASCII as every layer folds it before scoring:
    Latin letters with diacritics become their base letters (é to e, ß to
    ss, ø to o, ł to l), typographic quotes, dashes and spaces their ASCII
    forms. Characters without an ASCII form (Greek, Cyrillic, CJK, most
    symbols) are kept as they are; case is kept.

    Raises TypeError unless text is a str. ASCII text is returned as it is
    without the library; other text loads it on first use (raising
    LibraryNotFoundError where it is missing).
    """
    if not isinstance(text, str):
        raise TypeError("marrowfield: text must be a str, not %s"
                        % type(text).__name__)
    if text.isascii():
        return text
    if _UNSENDABLE.search(text):
        # Folding goes character by character, so the pieces between the
        # characters C cannot take fold on their own; those stay.
        return "".join(piece if _UNSENDABLE.fullmatch(piece)
                       else _fold_utf8(piece)
                       for piece in _UNSENDABLE.split(text) if piece)
    return _fold_utf8(text)


def _fold_utf8(text: str) -> str:
    """|text| (str, without NUL or surrogates) folded by the library."""
    if text.isascii():
        return text
    folded = ctypes.c_void_p()
    _library.call("mf_fold", text.encode("utf-8"), _library.MF_FOLD_UTF8,
                  ctypes.byref(folded))
    return _library.take_string(folded).decode("utf-8")


def is_missing(value: object) -> bool:
    """Whether |value| is a missing value, read as no value at all: None,
    a float NaN (numpy's too) or pandas' NA and NaT. pandas and numpy are
    consulted only when the caller has imported them."""
    if value is None:
        return True
    if isinstance(value, str):
        return False
    if isinstance(value, float):
        return math.isnan(value)
    pandas = sys.modules.get("pandas")
    if pandas is not None and (value is pandas.NA or value is pandas.NaT):
        return True
    numpy = sys.modules.get("numpy")
    if numpy is not None and isinstance(value, numpy.floating):
        return bool(numpy.isnan(value))
    return False


def encode(value: object, name: str, folding: bool = True) -> bytes:
    """Returns |value|, folded unless |folding| is false, as Latin-1 bytes
    for the engine. Raises TypeError unless it is a str, ArgumentError
    when it holds NUL or (after folding) a character outside Latin-1."""
    if not isinstance(value, str):
        raise TypeError("marrowfield: %s must be a str, not %s"
                        % (name, type(value).__name__))
    if folding:
        value = fold(value)
    try:
        encoded = value.encode("latin-1")
    except UnicodeEncodeError as error:
        bad = value[error.start]
        raise ArgumentError(
            "marrowfield: %s holds %r (U+%04X) at position %d, which is not "
            "a Latin-1 character; the engine reads 8-bit Latin-1 text"
            % (name, bad, ord(bad), error.start)) from None
    if b"\0" in encoded:
        raise ArgumentError("marrowfield: %s holds a NUL character" % name)
    return encoded


def encode_many(values: Sequence[object], name: str,
                folding: bool = True) -> List[bytes]:
    """Returns the list of str |values|, folded unless |folding| is false,
    as Latin-1 bytes, each checked as encode() checks it; an error names the
    first bad entry (name[i]). Plain str lists, the usual case, are encoded
    in one pass without building a name per entry, since lists may hold
    millions of values."""
    if set(map(type, values)) <= {str}:
        texts: Sequence[str] = values  # type: ignore[assignment]
        try:
            encoded: Optional[List[bytes]] = [
                (fold(value) if folding else value).encode("latin-1")
                for value in texts]
        except UnicodeEncodeError:
            encoded = None
        if encoded is not None and b"\0" not in b"".join(encoded):
            return encoded
    return [encode(value, "%s[%d]" % (name, i), folding)
            for i, value in enumerate(values)]


def decode(value: Optional[bytes]) -> str:
    return value.decode("latin-1") if value is not None else ""


def check_int(value: Any, name: str, low: int, high: Optional[int]) -> int:
    """Returns |value|; raises TypeError unless it is an int (not a bool),
    ArgumentError unless low <= value <= high (high None: no upper
    bound)."""
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError("marrowfield: %s must be an int, not %s"
                        % (name, type(value).__name__))
    if value < low or (high is not None and value > high):
        bound = "from %d to %d" % (low, high) if high is not None \
            else "%d or more" % low
        raise ArgumentError("marrowfield: %s must be %s, not %d"
                            % (name, bound, value))
    return value


def check_scoring(scoring: object) -> int:
    """The library's scoring mode for |scoring|, "strict" or "tolerant";
    raises ArgumentError for anything else."""
    if isinstance(scoring, str) and scoring in SCORINGS:
        return SCORINGS[scoring]
    raise ArgumentError("marrowfield: scoring must be 'strict' or "
                        "'tolerant', not %r" % (scoring,))
