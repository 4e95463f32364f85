"""Whole lists by sound: duplicates grouped, two lists linked, many pairs
scored in one call and one comparison explained, through the product
library's mf_ functions.

The library runs on its own threads and is safe to call from several
Python threads at once; ctypes releases the interpreter lock for each
call, so no lock of ours serialises them.
"""

import array
import collections
import ctypes
import itertools

from . import _library
from ._library import call as _call
from ._text import check_int, decode, encode, encode_many

# The lowest score reported unless accuracy= says otherwise.
DEFAULT_ACCURACY = 60

Group = collections.namedtuple("Group", "canonical members")
Group.__doc__ = """A group of values that sound alike (dedupe()).

canonical: the suggested spelling, the most frequent member.
members: Member tuples, the canonical first, then by score to it.
"""

Member = collections.namedtuple("Member", "text count score via via_score")
Member.__doc__ = """A value of a group: how often it occurs, its score
against the canonical, and the member it joined the group through (the
canonical for direct matches) with that pair's score."""

LinkMatch = collections.namedtuple("LinkMatch", "text score")

Explanation = collections.namedtuple(
    "Explanation", "percentage distance phones1 phones2 text")
Explanation.__doc__ = """How two words are compared (explain()).

percentage: the score, equal to compare(word1, word2, scoring=...).
distance: the word distance (0.0 alike, -1.0 when they cannot be compared).
phones1, phones2: the phones of each word, as lists of str (in tolerant
    scoring, of the reading compared: a word's plain respelling where the
    text says "read as").
text: the whole explanation for people, steps and arithmetic included.
"""

_SCORINGS = {"strict": _library.MF_SCORING_STRICT,
             "tolerant": _library.MF_SCORING_TOLERANT}

class _Options:
    """Library options for one call, destroyed when it ends."""

    def __init__(self, accuracy=DEFAULT_ACCURACY, threads=0, whole_cell=False,
                 scoring="strict", best_only=False):
        check_int(accuracy, "accuracy", 0, 100)
        check_int(threads, "threads", 0, None)
        if scoring not in _SCORINGS:
            raise ValueError("marrowfield: scoring must be 'strict' or "
                             "'tolerant', not %r" % (scoring,))
        lib = _library.load()
        self.handle = lib.mf_options_create()
        if not self.handle:
            raise MemoryError("marrowfield: out of memory")
        lib.mf_options_set_accuracy(self.handle, accuracy)
        lib.mf_options_set_threads(self.handle, threads)
        lib.mf_options_set_whole_cell(self.handle, 1 if whole_cell else 0)
        lib.mf_options_set_scoring(self.handle, _SCORINGS[scoring])
        lib.mf_options_set_best_only(self.handle, 1 if best_only else 0)

    def __enter__(self):
        return self.handle

    def __exit__(self, *exc):
        _library.load().mf_options_destroy(self.handle)


class _TextArray:
    """A C array of pointers to the NUL-terminated strings |encoded|.

    All strings sit in one buffer and the pointers are computed as numbers:
    building a ctypes array element by element costs about a microsecond a
    string, more than scoring the pair. Pass .pointers to C and keep this
    object alive for as long as C reads them.
    """

    _TYPECODE = "Q" if ctypes.sizeof(ctypes.c_void_p) == 8 else "I"

    def __init__(self, encoded):
        count = len(encoded)
        self.buffer = ctypes.create_string_buffer(b"\0".join(encoded))
        # Each string takes its length and a NUL; all of it runs in C.
        starts = itertools.accumulate(map((1).__add__, map(len, encoded)),
                                      initial=ctypes.addressof(self.buffer))
        self.addresses = array.array(self._TYPECODE,
                                     itertools.islice(starts, count))
        self.pointers = (ctypes.c_char_p * count).from_buffer(self.addresses)


def _distinct(values, name):
    """The distinct values of an iterable in first-seen order, with how
    often each occurs; the caller checks that they are str."""
    if isinstance(values, str):
        raise TypeError("marrowfield: %s must be an iterable of str, not a "
                        "single str" % name)
    values = list(values)
    counts = collections.Counter()
    try:
        counts.update(values)
    except TypeError:  # an unhashable entry; encode_many names it
        encode_many(values, name)
        raise
    return list(counts), list(counts.values())


def compare_many(pairs, scoring="strict", whole_cell=True, threads=0,
                 fold=True):
    """Returns the scores of many (a, b) pairs of str as a list of int, in
    one call spread over threads (threads=0: every core).

    Each score is compare(a, b, scoring=scoring, fold=fold): with
    whole_cell=True (the default) each value is one word, as compare() sees
    it; with whole_cell=False values of several words are compared word by
    word, as dedupe() does.
    """
    pairs = list(pairs)
    try:
        firsts = [first for first, _ in pairs]
        seconds = [second for _, second in pairs]
        if str in set(map(type, pairs)):
            raise ValueError
    except (TypeError, ValueError):
        raise TypeError("marrowfield: pairs must be an iterable of pairs of "
                        "str") from None
    firsts = encode_many(firsts, "first values of pairs", fold)
    seconds = encode_many(seconds, "second values of pairs", fold)
    scores = (ctypes.c_int * len(firsts))()
    with _Options(threads=threads, whole_cell=whole_cell,
                  scoring=scoring) as options:
        first_array, second_array = _TextArray(firsts), _TextArray(seconds)
        _call("mf_compare_many", options, first_array.pointers,
              second_array.pointers, len(firsts), scores)
    return list(scores)


def compare_tolerant(a, b, fold=True):
    """compare(a, b, fold=fold) in the tolerant scoring mode."""
    score = ctypes.c_int(0)
    with _Options(whole_cell=True, scoring="tolerant") as options:
        _call("mf_compare", options, encode(a, "a", fold),
              encode(b, "b", fold), ctypes.byref(score))
    return score.value


def dedupe(values, accuracy=DEFAULT_ACCURACY, scoring="strict",
           whole_cell=False, threads=0, fold=True):
    """Groups the values that sound alike; returns a list of Group, biggest
    first (most occurrences, then most members).

    values is an iterable of str; repeats are counted. Two values go into
    one group when they score at least accuracy (0-100), or are connected
    through values that do (chains stay visible through each member's via).
    Values of several words ("Smith, John") are compared word by word in
    any order unless whole_cell=True. Values in no pair are in no group.
    Values are scored folded to ASCII unless fold=False, and returned as
    given: José and Jose stay two members that score 100.
    """
    distinct, counts = _distinct(values, "values")
    encoded = encode_many(distinct, "values", fold)
    lib = _library.load()
    groups = ctypes.c_void_p()
    with _Options(accuracy, threads, whole_cell, scoring) as options:
        values_array = _TextArray(encoded)
        _call("mf_dedupe", options, values_array.pointers,
              (ctypes.c_uint64 * len(counts))(*counts), len(encoded),
              ctypes.byref(groups))
    try:
        result = []
        for g in range(lib.mf_groups_count(groups)):
            members = []
            for m in range(lib.mf_groups_member_count(groups, g)):
                value = lib.mf_groups_member_value(groups, g, m)
                via = lib.mf_groups_member_via(groups, g, m)
                members.append(Member(
                    distinct[value], counts[value],
                    lib.mf_groups_member_score(groups, g, m), distinct[via],
                    lib.mf_groups_member_via_score(groups, g, m)))
            result.append(Group(distinct[lib.mf_groups_canonical(groups, g)],
                                members))
        return result
    finally:
        lib.mf_groups_destroy(groups)


def link(a, b, accuracy=DEFAULT_ACCURACY, best=False, scoring="strict",
         whole_cell=False, threads=0, fold=True):
    """Finds, for each distinct value of a, the values of b that score at
    least accuracy against it.

    Returns a dict from each value of a that has matches (in a's order) to
    its matches, a list of LinkMatch(text, score) best first (equal scores
    in b's order); with best=True only the matches sharing the best score.
    Values are scored folded to ASCII unless fold=False, and returned as
    given.
    """
    distinct_a, _ = _distinct(a, "a")
    distinct_b, _ = _distinct(b, "b")
    encoded_a = encode_many(distinct_a, "a", fold)
    encoded_b = encode_many(distinct_b, "b", fold)
    lib = _library.load()
    links = ctypes.c_void_p()
    with _Options(accuracy, threads, whole_cell, scoring, best) as options:
        a_array, b_array = _TextArray(encoded_a), _TextArray(encoded_b)
        _call("mf_link", options, a_array.pointers, len(encoded_a),
              b_array.pointers, len(encoded_b), ctypes.byref(links))
    try:
        result = {}
        for i, value in enumerate(distinct_a):
            count = lib.mf_links_match_count(links, i)
            if count:
                result[value] = [
                    LinkMatch(distinct_b[lib.mf_links_match_value(links, i, k)],
                              lib.mf_links_match_score(links, i, k))
                    for k in range(count)]
        return result
    finally:
        lib.mf_links_destroy(links)


def explain(word1, word2, scoring="strict", fold=True):
    """Returns an Explanation of how the engine compares two words: their
    phones, the alignment step by step and the arithmetic of the score.
    The words are folded to ASCII first unless fold=False, as compare()
    folds them."""
    lib = _library.load()
    explanation = ctypes.c_void_p()
    with _Options(scoring=scoring) as options:
        _call("mf_explain", options, encode(word1, "word1", fold),
              encode(word2, "word2", fold), ctypes.byref(explanation))
    try:
        return Explanation(
            lib.mf_explanation_percentage(explanation),
            lib.mf_explanation_distance(explanation),
            decode(lib.mf_explanation_phones(explanation, 1)).split(),
            decode(lib.mf_explanation_phones(explanation, 2)).split(),
            decode(lib.mf_explanation_text(explanation)))
    finally:
        lib.mf_explanation_destroy(explanation)
