"""Whole lists by sound: duplicates grouped, two lists linked, many pairs
scored in one call and one comparison explained, through the product
library's mf_ functions; and the aligned forms data work needs, one entry
per input value (canonical(), link(aligned=True)).

The library runs on its own threads and is safe to call from several
Python threads at once; ctypes releases the interpreter lock for each
call, so no lock of ours serialises them.
"""

from __future__ import annotations

import contextlib
import ctypes
from typing import (Any, Dict, Iterable, Iterator, List, Literal,
                    NamedTuple, Optional, Sequence, Tuple, Union, overload)

from . import _library
from ._columns import cells, distinct, present, shaped_like
from ._handles import DEFAULT_ACCURACY, Options, TextArray
from ._text import decode, encode, encode_many, is_missing

class Member(NamedTuple):
    """A value of a group: how often it occurs, its score against the
    canonical, and the member it joined the group through (the canonical
    for direct matches) with that pair's score."""

    text: str
    # Shadows tuple.count, as the field of this name always has.
    count: int  # type: ignore[assignment]
    score: int
    via: str
    via_score: int


class Group(NamedTuple):
    """A group of values that sound alike (dedupe()).

    canonical: the suggested spelling, the most frequent member.
    members: Member tuples, the canonical first, then by score to it.
    """

    canonical: str
    members: List[Member]


class LinkMatch(NamedTuple):
    """A value of link()'s second list matching one of the first."""

    text: str
    score: int


class Explanation(NamedTuple):
    """How two words are compared (explain()).

    percentage: the score, equal to compare(word1, word2, scoring=...).
    distance: the word distance (0.0 alike, -1.0 when they cannot be
        compared).
    phones1, phones2: the phones of each word, as lists of str (in tolerant
        scoring, of the reading compared: a word's plain respelling where
        the text says "read as").
    text: the whole explanation for people, steps and arithmetic included.
    """

    percentage: int
    distance: float
    phones1: List[str]
    phones2: List[str]
    text: str


def compare_many(pairs: Iterable[Tuple[Optional[str], Optional[str]]],
                 scoring: str = "strict", whole_cell: bool = True,
                 threads: int = 0,
                 fold: bool = True) -> List[Optional[int]]:
    """Returns the scores of many (a, b) pairs of str as a list, one entry
    per pair, in one call spread over threads (threads=0: every core).

    Each score is compare(a, b, scoring=scoring, fold=fold): with
    whole_cell=True (the default) each value is one word, as compare() sees
    it; with whole_cell=False values of several words are compared word by
    word, as dedupe() does. A pair holding a missing value (None, NaN,
    pandas' NA) is not scored: its entry is None.

    Raises TypeError unless pairs is an iterable of pairs of str (or
    missing values); ArgumentError (a ValueError) for a bad scoring,
    threads below 0 or a text compare() refuses.
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
    scored = [i for i, (first, second) in enumerate(zip(firsts, seconds))
              if not is_missing(first) and not is_missing(second)]
    if len(scored) < len(pairs):
        firsts = [firsts[i] for i in scored]
        seconds = [seconds[i] for i in scored]
    encoded_firsts = encode_many(firsts, "first values of pairs", fold)
    encoded_seconds = encode_many(seconds, "second values of pairs", fold)
    scores = (ctypes.c_int * len(scored))()
    with Options(threads=threads, whole_cell=whole_cell,
                 scoring=scoring) as options:
        first_array = TextArray(encoded_firsts)
        second_array = TextArray(encoded_seconds)
        _library.call("mf_compare_many", options, first_array.pointers,
                      second_array.pointers, len(scored), scores)
    if len(scored) == len(pairs):
        return list(scores)
    result: List[Optional[int]] = [None] * len(pairs)
    for i, score in zip(scored, scores):
        result[i] = score
    return result


@contextlib.contextmanager
def _groups(values: Sequence[str], counts: Sequence[int], accuracy: int,
            scoring: str, whole_cell: bool, threads: int,
            fold: bool) -> Iterator[Any]:
    """The library's groups of the distinct |values| occurring |counts|
    times, destroyed when the with block ends."""
    encoded = encode_many(values, "values", fold)
    groups = ctypes.c_void_p()
    with Options(accuracy, threads, whole_cell, scoring) as options:
        values_array = TextArray(encoded)
        _library.call("mf_dedupe", options, values_array.pointers,
                      (ctypes.c_uint64 * len(counts))(*counts), len(encoded),
                      ctypes.byref(groups))
    try:
        yield groups
    finally:
        _library.load().mf_groups_destroy(groups)


@contextlib.contextmanager
def _groups_of_pairs(values: Sequence[str], counts: Sequence[int],
                     pairs: Tuple[Sequence[int], Sequence[int], Sequence[int]],
                     accuracy: int, scoring: str, whole_cell: bool,
                     threads: int, fold: bool) -> Iterator[Any]:
    """The library's groups of the distinct |values| occurring |counts|
    times through |pairs| found elsewhere (first indexes, second indexes,
    scores), grouped as _groups() groups its own; destroyed when the with
    block ends."""
    encoded = encode_many(values, "values", fold)
    firsts, seconds, scores = pairs
    n = len(firsts)
    groups = ctypes.c_void_p()
    with Options(accuracy, threads, whole_cell, scoring) as options:
        values_array = TextArray(encoded)
        _library.call("mf_group_pairs", options, values_array.pointers,
                      (ctypes.c_uint64 * len(counts))(*counts), len(encoded),
                      (ctypes.c_size_t * n)(*firsts),
                      (ctypes.c_size_t * n)(*seconds),
                      (ctypes.c_int * n)(*scores), n, ctypes.byref(groups))
    try:
        yield groups
    finally:
        _library.load().mf_groups_destroy(groups)


def _read_groups(groups: Any, texts: Sequence[str],
                 counts: Sequence[int]) -> List[Group]:
    """The Group tuples of a groups handle over |texts|."""
    lib = _library.load()
    result = []
    for g in range(lib.mf_groups_count(groups)):
        members = []
        for m in range(lib.mf_groups_member_count(groups, g)):
            value = lib.mf_groups_member_value(groups, g, m)
            via = lib.mf_groups_member_via(groups, g, m)
            members.append(Member(
                texts[value], counts[value],
                lib.mf_groups_member_score(groups, g, m), texts[via],
                lib.mf_groups_member_via_score(groups, g, m)))
        result.append(Group(texts[lib.mf_groups_canonical(groups, g)],
                            members))
    return result


def _read_spellings(groups: Any, texts: Sequence[str]) -> List[str]:
    """The suggested spelling of each of |texts| by a groups handle over
    them: its group's canonical, or itself when in no group."""
    lib = _library.load()
    spelling = list(texts)
    for g in range(lib.mf_groups_count(groups)):
        suggested = texts[lib.mf_groups_canonical(groups, g)]
        for m in range(lib.mf_groups_member_count(groups, g)):
            spelling[lib.mf_groups_member_value(groups, g, m)] = suggested
    return spelling


def dedupe(values: Iterable[Optional[str]], accuracy: int = DEFAULT_ACCURACY,
           scoring: str = "strict", whole_cell: bool = False,
           threads: int = 0, fold: bool = True) -> List[Group]:
    """Groups the values that sound alike; returns a list of Group, biggest
    first (most occurrences, then most members).

    values is any iterable of str (a list, a pandas Series ...); repeats
    are counted, missing values (None, NaN, pandas' NA) left out. Two
    values go into one group when they score at least accuracy (0-100,
    default 60), or are connected through values that do (chains stay
    visible through each member's via). Values of several words ("Smith,
    John") are compared word by word in any order unless whole_cell=True.
    Values in no pair are in no group. Values are scored folded to ASCII
    unless fold=False, and returned as given: José and Jose stay two
    members that score 100. threads=0 uses every core; the result is the
    same for any number.

    Raises TypeError for a single str or an entry that is neither a str
    nor missing, or a non-int accuracy or threads; ArgumentError (a
    ValueError) for an accuracy outside 0-100, threads below 0, another
    scoring than "strict" or "tolerant" or a text compare() refuses.
    """
    texts, counts = distinct(cells(values, "values"), "values")
    with _groups(texts, counts, accuracy, scoring, whole_cell, threads,
                 fold) as groups:
        return _read_groups(groups, texts, counts)


def group_pairs(texts: Sequence[str], counts: Sequence[int],
                pairs: Tuple[Sequence[int], Sequence[int], Sequence[int]],
                accuracy: int, scoring: str, whole_cell: bool, threads: int,
                fold: bool) -> List[Group]:
    """The groups dedupe() makes of the distinct |texts| occurring |counts|
    times, from the pairs found elsewhere (first indexes, second indexes
    and scores into |texts|) instead of its own pair finding."""
    with _groups_of_pairs(texts, counts, pairs, accuracy, scoring,
                          whole_cell, threads, fold) as groups:
        return _read_groups(groups, texts, counts)


def spellings(texts: Sequence[str], counts: Sequence[int], accuracy: int,
              scoring: str, whole_cell: bool, threads: int,
              fold: bool) -> List[str]:
    """The suggested spelling of each of the distinct |texts| occurring
    |counts| times: its group's canonical, or itself when in no group."""
    with _groups(texts, counts, accuracy, scoring, whole_cell, threads,
                 fold) as groups:
        return _read_spellings(groups, texts)


def pair_spellings(texts: Sequence[str], counts: Sequence[int],
                   pairs: Tuple[Sequence[int], Sequence[int], Sequence[int]],
                   accuracy: int, scoring: str, whole_cell: bool,
                   threads: int, fold: bool) -> List[str]:
    """spellings() of |texts| from the pairs found elsewhere (as for
    group_pairs) instead of its own pair finding."""
    with _groups_of_pairs(texts, counts, pairs, accuracy, scoring,
                          whole_cell, threads, fold) as groups:
        return _read_spellings(groups, texts)


@overload
def canonical(values: Iterable[Optional[str]],
              accuracy: int = DEFAULT_ACCURACY, scoring: str = "strict",
              whole_cell: bool = False, threads: int = 0,
              fold: bool = True) -> List[Optional[str]]: ...


@overload
def canonical(values: Any, accuracy: int = DEFAULT_ACCURACY,
              scoring: str = "strict", whole_cell: bool = False,
              threads: int = 0, fold: bool = True) -> Any: ...


def canonical(values: Any, accuracy: int = DEFAULT_ACCURACY,
              scoring: str = "strict", whole_cell: bool = False,
              threads: int = 0, fold: bool = True) -> Any:
    """Returns the suggested spelling of each value: one entry per entry of
    values, in order, the canonical of the group dedupe() puts it in, the
    value itself when it is in no group, and None for a missing value
    (None, NaN, pandas' NA).

    Given a pandas Series it returns a Series with the same index and name
    (dtype object), so that df["clean"] = marrowfield.canonical(df["name"])
    adds an aligned column; any other iterable gives a list. pandas is
    never imported unless a Series is given. The arguments and errors are
    dedupe()'s, and so are the groups.
    """
    entries = cells(values, "values")
    texts, counts = distinct(entries, "values")
    spelling = spellings(texts, counts, accuracy, scoring, whole_cell,
                         threads, fold)
    lookup = dict(zip(texts, spelling))
    # Entries that are not str are missing: distinct() refused the rest.
    return shaped_like(values, [lookup[entry] if isinstance(entry, str)
                                else None for entry in entries])


@overload
def link(a: Iterable[Optional[str]], b: Iterable[Optional[str]],
         accuracy: int = DEFAULT_ACCURACY, best: bool = False,
         scoring: str = "strict", whole_cell: bool = False, threads: int = 0,
         fold: bool = True,
         aligned: Literal[False] = False) -> Dict[str, List[LinkMatch]]: ...


@overload
def link(a: Any, b: Iterable[Optional[str]],
         accuracy: int = DEFAULT_ACCURACY, best: bool = False,
         scoring: str = "strict", whole_cell: bool = False, threads: int = 0,
         fold: bool = True, *, aligned: Literal[True]) -> Any: ...


def link(a: Any, b: Iterable[Optional[str]],
         accuracy: int = DEFAULT_ACCURACY, best: bool = False,
         scoring: str = "strict", whole_cell: bool = False, threads: int = 0,
         fold: bool = True, aligned: bool = False) -> Any:
    """Finds, for each value of a, the values of b that score at least
    accuracy (0-100, default 60) against it.

    By default returns a dict from each distinct value of a that has
    matches (in a's order) to its matches, a list of LinkMatch(text, score)
    best first (equal scores in b's order); with best=True only the
    matches sharing the best score.

    With aligned=True it returns one entry per entry of a, in order (a
    pandas Series on a's index when a is one): with best=True the text of
    the best match (the first in b's order among equally good ones) or
    None; with best=False the list of its LinkMatch, empty when none.
    Either way a missing value of a (None, NaN, pandas' NA) gives None, and
    missing values of b never match.

    Values are scored folded to ASCII unless fold=False, and returned as
    given. Raises as dedupe() does, for a and for b.
    """
    entries_a = cells(a, "a")
    distinct_a, _ = distinct(entries_a, "a")
    distinct_b, _ = distinct(cells(b, "b"), "b")
    encoded_a = encode_many(distinct_a, "a", fold)
    encoded_b = encode_many(distinct_b, "b", fold)
    lib = _library.load()
    links = ctypes.c_void_p()
    with Options(accuracy, threads, whole_cell, scoring, best) as options:
        a_array, b_array = TextArray(encoded_a), TextArray(encoded_b)
        _library.call("mf_link", options, a_array.pointers, len(encoded_a),
                      b_array.pointers, len(encoded_b), ctypes.byref(links))
    try:
        matches: Dict[str, List[LinkMatch]] = {}
        for i, value in enumerate(distinct_a):
            count = lib.mf_links_match_count(links, i)
            if count:
                matches[value] = [
                    LinkMatch(distinct_b[lib.mf_links_match_value(links, i, k)],
                              lib.mf_links_match_score(links, i, k))
                    for k in range(count)]
    finally:
        lib.mf_links_destroy(links)
    if not aligned:
        return matches
    row: List[Union[None, str, List[LinkMatch]]] = []
    for entry in entries_a:
        text = present(entry)
        if text is None:
            row.append(None)
        elif best:
            found = matches.get(text)
            row.append(found[0].text if found else None)
        else:
            row.append(list(matches.get(text, [])))
    return shaped_like(a, row)


def explain(word1: str, word2: str, scoring: str = "strict",
            fold: bool = True) -> Explanation:
    """Returns an Explanation of how the engine compares two words: their
    phones, the alignment step by step and the arithmetic of the score.
    The words are folded to ASCII first unless fold=False, as compare()
    folds them. Raises as compare() does."""
    lib = _library.load()
    explanation = ctypes.c_void_p()
    with Options(scoring=scoring) as options:
        _library.call("mf_explain", options, encode(word1, "word1", fold),
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
