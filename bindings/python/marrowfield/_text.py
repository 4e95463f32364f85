"""Conversions between Python values and the libraries' C arguments,
shared by the engine's functions and the pair finding functions, and the
folding to ASCII that every one of them applies first."""

from . import _fold_table


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
    return text.translate(_fold_table.FOLD_TABLE)


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
