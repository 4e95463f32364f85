"""Find words and names that sound alike: Python access to the Marrowfield
phonetic engine through its product library, libmarrowfield, by ctypes.

    >>> import marrowfield
    >>> marrowfield.compare("smith", "smyth")       # percent, 0-100
    >>> marrowfield.phones("knight")                # ['n', 'ay', 't']
    >>> marrowfield.code("knight")                  # '43'
    >>> marrowfield.similar("smith", ["smyth", "jones"], threshold=60)
    >>> marrowfield.match("fox", "the quick fox")   # Match(score=100, ...)
    >>> marrowfield.dedupe(["Smith", "Smyth", "Jones"])  # [Group(...)]
    >>> marrowfield.link(["Smith"], ["Smyth", "Jones"])  # {'Smith': [...]}
    >>> marrowfield.compare_many([("smith", "smyth"), ("reid", "read")])
    >>> print(marrowfield.explain("thompson", "thomson").text)
    >>> marrowfield.fold("Zoë O’Neil")              # 'Zoe O'Neil'

Only the letters a-z and A-Z carry sound, so every function folds its text
to ASCII first (fold=False keeps it as it is): Latin letters with
diacritics become their base letters (é to e, ß to ss, ø to o, ł to l), and
typographic quotes, dashes and spaces their ASCII forms, exactly as the
command line and the add-in fold. The engine then gets 8-bit strings: what
is left is encoded as Latin-1, and a character outside Latin-1 raises
ValueError. The library is loaded and the engine set up when this module
is imported. Every function may be called from several threads at once:
the library is thread-safe, and ctypes lets go of the interpreter lock
while it runs. dedupe, link and compare_many spread their work over every
core.
"""

import collections
import ctypes
import warnings

from . import _library
from ._library import call as _call
from ._lists import (DEFAULT_ACCURACY, Explanation, Group, LinkMatch, Member,
                     compare_many, dedupe, explain, link)
from ._lists import _Options, _TextArray
from ._lists import compare_tolerant as _compare_tolerant
from ._text import decode as _decode
from ._text import encode as _encode
from ._text import fold

__all__ = ["compare", "phones", "code", "similar", "match", "fold", "Match",
           "DEFAULT_THRESHOLD", "dedupe", "link", "compare_many", "explain",
           "Group", "Member", "LinkMatch", "Explanation", "DEFAULT_ACCURACY"]

# The engine's own acceptance level for similar() until one is given.
DEFAULT_THRESHOLD = 50

try:
    # "MAJOR.MINOR.PATCH" of the release, written by the build.
    from ._version import __version__
except ImportError:
    # Imported straight from the source tree, which no build has stamped.
    __version__ = "0+unknown"

Match = collections.namedtuple("Match", "score start length")
Match.__doc__ = """The result of match().

score: 0-100 for the whole phrase; 0 when some phrase word matches nowhere;
    -1 when the phrase or the text holds no letter.
start, length: where the first phrase word's match lies in the text as the
    engine normalises it (lower case, apostrophes dropped, other non-letters
    as single spaces between words); start is -1 and length 0 when the score
    is 0, and both are None when it is -1.
"""

if _library.load().mf_engine_start(None) != _library.MF_OK:
    warnings.warn("marrowfield: the engine's phone tables failed their "
                  "consistency check; results may be off", RuntimeWarning)


def _whole_cell_options():
    """Options of the engine's own word functions: each value one word,
    strict, unfolded (the text comes folded already)."""
    return _Options(whole_cell=True)


def compare(a, b, scoring="strict", fold=True):
    """Returns how alike words a and b sound, in percent (0-100).

    0 when either has no letters. The result may differ slightly between the
    two orders of words whose phone lists are equally long. scoring="tolerant"
    lets one extra or missing phone lower the score instead of zeroing it.
    fold=False scores the text without folding it to ASCII.
    """
    if scoring == "tolerant":
        return _compare_tolerant(a, b, fold)
    if scoring != "strict":
        raise ValueError("marrowfield: scoring must be 'strict' or "
                         "'tolerant', not %r" % (scoring,))
    first, second = _encode(a, "a", fold), _encode(b, "b", fold)
    score = ctypes.c_int(0)
    with _whole_cell_options() as options:
        _call("mf_compare", options, first, second, ctypes.byref(score))
    return score.value


def phones(word, rules=False, fold=True):
    """Returns the phones of word as a list of str (lower case, no stress).

    With rules=True the letter-to-sound rules alone are used, never the
    lexicon. A word without letters gives [].
    """
    encoded = _encode(word, "word", fold)
    mode = _library.MF_PHONES_RULES if rules else _library.MF_PHONES_LEXICON
    result = ctypes.c_void_p()
    _call("mf_phones", encoded, mode, ctypes.byref(result))
    return [_decode(item) for item in _library.take_strings(result)]


def code(word, fold=True):
    """Returns the consonant code of word, a str of digits ('43' for knight).

    The word is looked up as given (folded to ASCII, but without case
    folding), so give it in lower case.
    """
    encoded = _encode(word, "word", fold)
    result = ctypes.c_void_p()
    _call("mf_code", encoded, ctypes.byref(result))
    return _decode(_library.take_string(result))


def similar(word, candidates, threshold=None, fold=True):
    """Returns the candidates that sound like word, best first.

    candidates is an iterable of str; duplicates are returned as often as
    given, each as given (not folded). threshold is the lowest similarity
    accepted, 0-100; None means DEFAULT_THRESHOLD. The engine's threshold is
    set for this call only.
    """
    if threshold is None:
        threshold = DEFAULT_THRESHOLD
    if isinstance(threshold, bool) or not isinstance(threshold, int):
        raise TypeError("marrowfield: threshold must be an int from 0 to 100")
    if not 0 <= threshold <= 100:
        raise ValueError("marrowfield: threshold must be from 0 to 100, not %d"
                         % threshold)
    encoded_word = _encode(word, "word", fold)
    if isinstance(candidates, str):
        raise TypeError("marrowfield: candidates must be an iterable of str, "
                        "not a single str")
    given = list(candidates)
    encoded = [_encode(c, "candidates[%d]" % i, fold)
               for i, c in enumerate(given)]
    result = ctypes.c_void_p()
    candidate_array = _TextArray(encoded)
    with _Options(accuracy=threshold, whole_cell=True) as options:
        _call("mf_similar", options, encoded_word, candidate_array.pointers,
              len(encoded), ctypes.byref(result))
    found = _library.take_strings(result)
    # The library hands back the folded texts; each is traced to the first
    # candidate not yet returned that folds to it.
    unused = collections.defaultdict(collections.deque)
    for original, sent in zip(given, encoded):
        unused[sent].append(original)
    return [unused[text].popleft() for text in found]


def match(phrase, text, rules=False, fold=True):
    """Finds where phrase sounds like part of text; returns a Match.

    With rules=True every word is transcribed by letter-to-sound rules alone.
    Positions count in the text as folded to ASCII.
    """
    encoded_phrase = _encode(phrase, "phrase", fold)
    encoded_text = _encode(text, "text", fold)
    mode = _library.MF_PHONES_RULES if rules else _library.MF_PHONES_LEXICON
    score = ctypes.c_int(-1)
    start = ctypes.c_int(-1)
    length = ctypes.c_int(0)
    _call("mf_match", encoded_phrase, encoded_text, mode, ctypes.byref(score),
          ctypes.byref(start), ctypes.byref(length))
    score = score.value
    if score < 0:
        return Match(score, None, None)
    return Match(score, start.value, length.value)
