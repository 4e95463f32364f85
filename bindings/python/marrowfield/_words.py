"""The engine's word functions: one comparison, the phones and consonant
code of a word, the search of a list for words that sound alike, and where
a phrase sounds in a text. Each folds its text to ASCII first unless
fold=False, as the command line and the add-in fold."""

from __future__ import annotations

import collections
import ctypes
import warnings
from typing import Deque, Dict, Iterable, List, NamedTuple, Optional

from . import _library
from ._columns import cells
from ._handles import Options, TextArray
from ._text import check_scoring, decode, encode, is_missing

# similar()'s accuracy until one is given: the list search's own level, the
# one the add-in and `marrowfield similar` use. It is not the pair score's
# DEFAULT_ACCURACY of 60 because the list search measures another thing (a
# distance averaged over both orders of words, accepted up to 1 - accuracy
# / 100), and 50 there finds what users of the add-in have always found.
DEFAULT_THRESHOLD = 50


class Match(NamedTuple):
    """The result of match().

    score: 0-100 for the whole phrase; 0 when some phrase word matches
        nowhere; -1 when the phrase or the text holds no letter.
    start, length: where the first phrase word's match lies in the text as
        the engine normalises it (lower case, apostrophes dropped, other
        non-letters as single spaces between words); start is -1 and length
        0 when the score is 0, and both are None when it is -1.
    """

    score: int
    start: Optional[int]
    length: Optional[int]


def compare(a: str, b: str, scoring: str = "strict",
            fold: bool = True) -> int:
    """Returns how alike words a and b sound, in percent (0-100).

    Each is one word, as the engine's compare_words sees it (dedupe and
    compare_many(whole_cell=False) score values of several words word by
    word). 0 when either has no letters. The result may differ slightly
    between the two orders of words whose phone lists are equally long.
    scoring="tolerant" lets one extra or missing phone lower the score
    instead of zeroing it. fold=False scores the text without folding it to
    ASCII.

    Raises TypeError unless a and b are str; ArgumentError (a ValueError)
    for another scoring or a text holding NUL or, after folding, a
    character outside Latin-1.
    """
    check_scoring(scoring)
    first, second = encode(a, "a", fold), encode(b, "b", fold)
    score = ctypes.c_int(0)
    with Options(whole_cell=True, scoring=scoring) as options:
        _library.call("mf_compare", options, first, second,
                      ctypes.byref(score))
    return score.value


def phones(word: str, rules: bool = False, fold: bool = True) -> List[str]:
    """Returns the phones of word as a list of str (lower case, no stress),
    in spoken order.

    With rules=True the letter-to-sound rules alone are used, never the
    lexicon. A word without letters gives []. Raises as compare() does for
    its text.
    """
    encoded = encode(word, "word", fold)
    mode = _library.MF_PHONES_RULES if rules else _library.MF_PHONES_LEXICON
    result = ctypes.c_void_p()
    _library.call("mf_phones", encoded, mode, ctypes.byref(result))
    return [decode(item) for item in _library.take_strings(result)]


def code(word: str, fold: bool = True) -> str:
    """Returns the consonant code of word, a str of digits ('43' for
    knight); '' for a word without phones.

    The word is looked up as given (folded to ASCII, but without case
    folding), so give it in lower case. Raises as compare() does for its
    text.
    """
    encoded = encode(word, "word", fold)
    result = ctypes.c_void_p()
    _library.call("mf_code", encoded, ctypes.byref(result))
    return decode(_library.take_string(result))


def similar(word: str, candidates: Iterable[Optional[str]],
            accuracy: Optional[int] = None, fold: bool = True, *,
            threshold: Optional[int] = None) -> List[str]:
    """Returns the candidates that sound like word, best first (equally
    good ones in descending order of their text): the engine's list search,
    as the add-in and `marrowfield similar` run it.

    candidates is any iterable of str; duplicates are returned as often as
    given, each as given (not folded); missing values (None, NaN, pandas'
    NA) are never matched. accuracy is the lowest similarity accepted,
    0-100, for this call only; None means DEFAULT_THRESHOLD (50), the list
    search's own level (see DEFAULT_THRESHOLD for why it is not 60).
    threshold is the former name of accuracy, accepted with a
    DeprecationWarning.

    Raises TypeError for a word or candidate that is not a str, a single
    str as candidates, an accuracy that is not an int, or both accuracy and
    threshold; ArgumentError (a ValueError) for an accuracy outside 0-100
    or a text as compare() refuses it.
    """
    name = "accuracy"
    if threshold is not None:
        if accuracy is not None:
            raise TypeError("marrowfield: give accuracy or threshold (its "
                            "former name), not both")
        warnings.warn("marrowfield: similar()'s threshold is now called "
                      "accuracy", DeprecationWarning, stacklevel=2)
        accuracy, name = threshold, "threshold"
    if accuracy is None:
        accuracy = DEFAULT_THRESHOLD
    with Options(accuracy, whole_cell=True, accuracy_name=name) as options:
        encoded_word = encode(word, "word", fold)
        given = [candidate for candidate in cells(candidates, "candidates")
                 if not is_missing(candidate)]
        encoded = [encode(c, "candidates[%d]" % i, fold)
                   for i, c in enumerate(given)]
        result = ctypes.c_void_p()
        candidate_array = TextArray(encoded)
        _library.call("mf_similar", options, encoded_word,
                      candidate_array.pointers, len(encoded),
                      ctypes.byref(result))
    found = _library.take_strings(result)
    # The library hands back the folded texts; each is traced to the first
    # candidate not yet returned that folds to it.
    unused: Dict[bytes, Deque[str]] = collections.defaultdict(
        collections.deque)
    for original, sent in zip(given, encoded):
        unused[sent].append(original)  # type: ignore[arg-type]
    return [unused[text].popleft() for text in found]


def match(phrase: str, text: str, rules: bool = False,
          fold: bool = True) -> Match:
    """Finds where phrase sounds like part of text; returns a Match.

    With rules=True every word is transcribed by letter-to-sound rules
    alone. Positions count in the text as folded to ASCII and normalised.
    Raises as compare() does for its texts.
    """
    encoded_phrase = encode(phrase, "phrase", fold)
    encoded_text = encode(text, "text", fold)
    mode = _library.MF_PHONES_RULES if rules else _library.MF_PHONES_LEXICON
    score = ctypes.c_int(-1)
    start = ctypes.c_int(-1)
    length = ctypes.c_int(0)
    _library.call("mf_match", encoded_phrase, encoded_text, mode,
                  ctypes.byref(score), ctypes.byref(start),
                  ctypes.byref(length))
    if score.value < 0:
        return Match(score.value, None, None)
    return Match(score.value, start.value, length.value)
