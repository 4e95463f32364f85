"""Conversions between Python values and the library's C arguments, and
the folding to ASCII that every function applies first (the library's own,
mf_fold, so that Python folds exactly as every other surface)."""

import ctypes
import re

from . import _library

# What UTF-8 cannot carry to the library: NUL ends a C string, and a lone
# surrogate has no UTF-8 form. Neither has an ASCII form to fold to.
_UNSENDABLE = re.compile("([\0\ud800-\udfff])")


def fold(text):
    """Returns text folded to ASCII as every layer folds it before scoring.

    Characters without an ASCII form (Greek, Cyrillic, CJK, most symbols)
    are kept as they are; case is kept.
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


def _fold_utf8(text):
    """|text| (str, without NUL or surrogates) folded by the library."""
    if text.isascii():
        return text
    folded = ctypes.c_void_p()
    _library.call("mf_fold", text.encode("utf-8"), _library.MF_FOLD_UTF8,
                  ctypes.byref(folded))
    return _library.take_string(folded).decode("utf-8")


def encode(value, name, folding=True):
    """Returns |value|, folded unless |folding| is false, as Latin-1 bytes
    for the engine."""
    if not isinstance(value, str):
        raise TypeError("marrowfield: %s must be a str, not %s"
                        % (name, type(value).__name__))
    if folding:
        value = fold(value)
    try:
        encoded = value.encode("latin-1")
    except UnicodeEncodeError as error:
        bad = value[error.start]
        raise ValueError(
            "marrowfield: %s holds %r (U+%04X) at position %d, which is not "
            "a Latin-1 character; the engine reads 8-bit Latin-1 text"
            % (name, bad, ord(bad), error.start)) from None
    if b"\0" in encoded:
        raise ValueError("marrowfield: %s holds a NUL character" % name)
    return encoded


def encode_many(values, name, folding=True):
    """Returns the list of str |values|, folded unless |folding| is false,
    as Latin-1 bytes, each checked as encode() checks it; an error names the
    first bad entry (name[i]). Plain str lists, the usual case, are encoded
    in one pass without building a name per entry, since lists may hold
    millions of values."""
    if set(map(type, values)) <= {str}:
        try:
            encoded = [(fold(value) if folding else value).encode("latin-1")
                       for value in values]
        except UnicodeEncodeError:
            encoded = None
        if encoded is not None and b"\0" not in b"".join(encoded):
            return encoded
    return [encode(value, "%s[%d]" % (name, i), folding)
            for i, value in enumerate(values)]


def decode(value):
    return value.decode("latin-1") if value is not None else ""


def check_int(value, name, low, high):
    """Raises TypeError unless |value| is an int (not a bool), ValueError
    unless low <= value <= high (high None: no upper bound)."""
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError("marrowfield: %s must be an int, not %s"
                        % (name, type(value).__name__))
    if value < low or (high is not None and value > high):
        bound = "from %d to %d" % (low, high) if high is not None \
            else "%d or more" % low
        raise ValueError("marrowfield: %s must be %s, not %d"
                         % (name, bound, value))
