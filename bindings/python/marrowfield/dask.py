"""Duplicates in a column too big for one process, on Dask: the pairs of
values that sound alike (pairs) and each row's suggested spelling
(canonical) of a dask.dataframe Series, computed on the workers of a
distributed cluster (or whatever scheduler is in force).

    >>> import dask.dataframe as dd, marrowfield.dask
    >>> names = dd.read_csv("customers-*.csv")["name"]
    >>> clean = marrowfield.dask.canonical(names, whole_cell=True)

Where the work runs. On the workers: the distinct values are counted per
partition and the counts combined; each distinct value's blocking keys are
computed by the product library (its skeleton for the strict score, all
its keys for the tolerant one); the (key, value) rows are shuffled by key;
inside each key's bucket every candidate pair is scored by the library and
the pairs reaching the accuracy kept. A key shared by more than
max_bucket values (a skewed bucket) is split into blocks of max_bucket
values, and each pair of blocks becomes a bucket of its own, so that no
bucket scores more than max_bucket ** 2 candidate pairs. The applied
spelling of canonical() is mapped onto the column partition by partition.

What grows on the client: the distinct values with their counts (one row
per distinct value, not per cell), the pairs found (far fewer than the
values at a useful accuracy), and the grouping of those pairs, which the
product library does with the grouping of its own dedupe
(mf_group_pairs), scoring nothing but each member against its group's
canonical. So this scales with the cells and the pair finding, but stops
scaling where the distinct values or the paired values no longer fit (or
take too long) on one machine: tens of millions of distinct values.

Limits of this version: whole cells only (whole_cell=True; values of
several words are filed under keys of word pairs that the product
interface does not give yet), and an accuracy of at least the keys' floor
for the tolerant score (mf_keys_min_accuracy, 60); the strict score's
skeleton serves every accuracy from 1.

The answer is the same as marrowfield.canonical(values, ...) and as
marrowfield.dedupe's pairs on the same values in one process. Needs
Debian's python3-dask and python3-distributed (pandas comes with them);
importing this module without them raises ImportError saying so.
"""

from __future__ import annotations

import ctypes
import math
from typing import Any, Dict, List, Sequence, Tuple

try:
    import dask
    import dask.dataframe as dd
    import numpy
    import pandas as pd
except ImportError as error:  # pragma: no cover - depends on the machine
    raise ImportError(
        "marrowfield.dask needs Dask with its dataframes (Debian: "
        "python3-dask, python3-distributed, python3-pandas); the rest of "
        "marrowfield works without it (%s)" % error) from error

from . import _library
from ._errors import ArgumentError
from ._handles import DEFAULT_ACCURACY, Options, TextArray
from ._lists import pair_spellings
from ._text import check_int, check_scoring, encode_many, is_missing

__all__ = ["canonical", "pairs", "DEFAULT_MAX_BUCKET"]

# Values per bucket before it is split: at most this many squared candidate
# pairs per bucket (about 0.1 s of scoring for single names).
DEFAULT_MAX_BUCKET = 2000

# Distinct values per key-computing task.
_VALUES_PER_TASK = 20000


def _check(accuracy: int, scoring: str, whole_cell: bool, threads: int,
           max_bucket: int) -> None:
    check_int(accuracy, "accuracy", 0, 100)
    check_int(threads, "threads", 0, None)
    check_int(max_bucket, "max_bucket", 2, None)
    mode = check_scoring(scoring)
    if not whole_cell:
        raise ArgumentError(
            "marrowfield: marrowfield.dask needs whole_cell=True: the keys "
            "of values of several words are not in the product interface "
            "yet (use marrowfield.canonical for them)")
    floor = 1 if mode == _library.MF_SCORING_STRICT else \
        _library.load().mf_keys_min_accuracy()
    if accuracy < floor:
        raise ArgumentError(
            "marrowfield: below accuracy %d the keys prove nothing and every "
            "pair must be scored; use marrowfield.canonical for %d"
            % (floor, accuracy))


def _count_partition(part: Any, number: int) -> Any:
    """The distinct present values of one partition with their counts and
    the position of their first occurrence (partition, row)."""
    counts: Dict[str, int] = {}
    first: Dict[str, int] = {}
    for row, value in enumerate(part.tolist()):
        if is_missing(value):
            continue
        if value in counts:
            counts[value] += 1
        else:
            counts[value] = 1
            first[value] = (number << 32) | row
    return pd.DataFrame({
        "value": pd.Series(list(counts), dtype=object),
        "count": pd.Series(list(counts.values()), dtype="int64"),
        "first": pd.Series(list(first.values()), dtype="int64")})


def _distinct(series: Any) -> Tuple[List[str], List[int]]:
    """The column's distinct present values in first-seen order and how
    often each occurs, counted on the workers."""
    parts = series.to_delayed()
    counted = [dask.delayed(_count_partition)(part, number)
               for number, part in enumerate(parts)]
    meta = pd.DataFrame({"value": pd.Series(dtype=object),
                         "count": pd.Series(dtype="int64"),
                         "first": pd.Series(dtype="int64")})
    frame = dd.from_delayed(counted, meta=meta, verify_meta=False)
    combined = frame.groupby("value").agg({"count": "sum", "first": "min"})
    table = combined.compute().sort_values("first")
    values = table.index.tolist()
    # Rejects what is neither a str nor missing, naming it.
    encode_many(values, "values", False)
    return values, [int(c) for c in table["count"].tolist()]


def _keys_task(values: Sequence[str], offset: int, scoring: int,
               fold: bool) -> Any:
    """The (key, value index) rows of |values|, numbered from |offset|."""
    lib = _library.load()
    options = lib.mf_options_create()
    try:
        lib.mf_options_set_fold(options, _library.MF_FOLD_NONE)
        function = "mf_skeleton_key" if scoring == \
            _library.MF_SCORING_STRICT else "mf_keys"
        keys: List[str] = []
        indexes: List[int] = []
        for i, encoded in enumerate(encode_many(values, "values", fold)):
            result = ctypes.c_void_p()
            _library.call(function, options, encoded, ctypes.byref(result))
            for key in _library.take_strings(result):
                keys.append(key.decode("ascii"))
                indexes.append(offset + i)
    finally:
        lib.mf_options_destroy(options)
    return pd.DataFrame({"key": pd.Series(keys, dtype=object),
                         "index": pd.Series(indexes, dtype="int64")})


def _split_skewed(rows: Any, skewed: Dict[str, int]) -> Any:
    """|rows| with a bucket and a block column: a key's own bucket (block
    0), or for a key of |skewed| (key -> blocks) one row per pair of
    blocks its value's block takes part in."""
    buckets: List[str] = []
    blocks: List[int] = []
    indexes: List[int] = []
    for key, index in zip(rows["key"].tolist(), rows["index"].tolist()):
        count = skewed.get(key)
        if count is None:
            buckets.append(key)
            blocks.append(0)
            indexes.append(index)
            continue
        block = index % count
        for other in range(count):
            low, high = min(block, other), max(block, other)
            # Keys are printable ASCII, so this separator never occurs in
            # them (pandas would cut a NUL short).
            buckets.append("%s\x1f%d\x1f%d" % (key, low, high))
            blocks.append(block)
            indexes.append(index)
    return pd.DataFrame({"bucket": pd.Series(buckets, dtype=object),
                         "block": pd.Series(blocks, dtype="int64"),
                         "index": pd.Series(indexes, dtype="int64")})


def _bucket_pairs(indexes: Any, blocks: Any) -> Any:
    """The candidate pairs of one bucket as an array of first * 2**32 +
    second (first < second): every pair inside it, or for a bucket of two
    blocks of a split key only the pairs across them."""
    if blocks.min() != blocks.max():
        low = indexes[blocks == blocks.min()]
        high = indexes[blocks == blocks.max()]
        first, second = numpy.meshgrid(low, high, indexing="ij")
        first, second = first.ravel(), second.ravel()
    else:
        p, q = numpy.triu_indices(len(indexes), k=1)
        first, second = indexes[p], indexes[q]
    return (numpy.minimum(first, second) << 32) | numpy.maximum(first, second)


def _score_buckets(rows: Any, values: Sequence[str], accuracy: int,
                   scoring: str, fold: bool, threads: int) -> Any:
    """The pairs (first index < second index) of the buckets of |rows|
    that score at least |accuracy|. A pair that several buckets of the
    partition share is scored once."""
    candidates = [_bucket_pairs(bucket["index"].to_numpy(dtype="int64"),
                                bucket["block"].to_numpy(dtype="int64"))
                  for _, bucket in rows.groupby("bucket", sort=False)]
    joined = numpy.unique(numpy.concatenate(candidates)) if candidates \
        else numpy.zeros(0, dtype="int64")
    firsts = (joined >> 32).tolist()
    seconds = (joined & 0xFFFFFFFF).tolist()
    encoded_a = encode_many([values[i] for i in firsts], "values", fold)
    encoded_b = encode_many([values[i] for i in seconds], "values", fold)
    scores = (ctypes.c_int * len(firsts))()
    with Options(threads=threads, whole_cell=True,
                 scoring=scoring) as options:
        array_a, array_b = TextArray(encoded_a), TextArray(encoded_b)
        _library.call("mf_compare_many", options, array_a.pointers,
                      array_b.pointers, len(firsts), scores)
    found = numpy.frombuffer(memoryview(scores), dtype=numpy.intc)
    kept = found >= accuracy
    return pd.DataFrame({
        "first": pd.Series((joined >> 32)[kept], dtype="int64"),
        "second": pd.Series((joined & 0xFFFFFFFF)[kept], dtype="int64"),
        "score": pd.Series(found[kept], dtype="int64")})


def _pair_indexes(values: List[str], accuracy: int, scoring: str,
                  fold: bool, threads: int, max_bucket: int) -> Any:
    """The pairs of |values| (indexes, first < second) scoring at least
    |accuracy|, found on the workers, ordered by first then second."""
    mode = check_scoring(scoring)
    chunks = [dask.delayed(_keys_task)(values[start:start + _VALUES_PER_TASK],
                                       start, mode, fold)
              for start in range(0, len(values), _VALUES_PER_TASK)]
    meta = pd.DataFrame({"key": pd.Series(dtype=object),
                         "index": pd.Series(dtype="int64")})
    rows: Any = dd.from_delayed(chunks, meta=meta, verify_meta=False) if chunks \
        else dd.from_pandas(meta, npartitions=1)
    sizes = rows["key"].value_counts()
    big = sizes[sizes > max_bucket].compute()
    skewed = {str(key): math.ceil(int(n) / max_bucket)
              for key, n in big.items()}
    split_meta = pd.DataFrame({"bucket": pd.Series(dtype=object),
                               "block": pd.Series(dtype="int64"),
                               "index": pd.Series(dtype="int64")})
    buckets = rows.map_partitions(_split_skewed, skewed, meta=split_meta)
    shuffled = buckets.shuffle("bucket", npartitions=max(
        1, rows.npartitions), shuffle="tasks")
    pair_meta = pd.DataFrame({"first": pd.Series(dtype="int64"),
                              "second": pd.Series(dtype="int64"),
                              "score": pd.Series(dtype="int64")})
    # One node of the graph holds the values, so that each worker receives
    # them once rather than once per scoring task.
    shared = dask.delayed(values, pure=True, traverse=False)
    found = shuffled.map_partitions(_score_buckets, shared, accuracy,
                                    scoring, fold, threads, meta=pair_meta)
    # A pair that shares several keys is found in each of their buckets.
    table = found.compute().drop_duplicates(["first", "second"])
    return table.sort_values(["first", "second"]).reset_index(drop=True)


def pairs(series: Any, accuracy: int = DEFAULT_ACCURACY,
          scoring: str = "strict", whole_cell: bool = False,
          threads: int = 1, fold: bool = True,
          max_bucket: int = DEFAULT_MAX_BUCKET) -> Any:
    """Returns a pandas DataFrame of the pairs of distinct values of the
    dask Series |series| that score at least accuracy: columns first and
    second (the values as given, first seen first) and score, ordered by
    first then second in the order the values are first seen.

    These are the pairs marrowfield.dedupe finds on the same values in one
    process, scored as compare(first, second, scoring=scoring) scores
    them. Missing values are left out. whole_cell must be True in this
    version (see the module's docstring); threads is the library's threads
    per task (1: let Dask's workers provide the parallelism).

    Raises TypeError for values that are neither str nor missing;
    ArgumentError for the arguments marrowfield.dedupe refuses, for
    whole_cell=False and for an accuracy below the keys' floor.
    """
    _check(accuracy, scoring, whole_cell, threads, max_bucket)
    values, _ = _distinct(series)
    table = _pair_indexes(values, accuracy, scoring, fold, threads,
                          max_bucket)
    return pd.DataFrame({
        "first": pd.Series([values[i] for i in table["first"].tolist()],
                           dtype=object),
        "second": pd.Series([values[i] for i in table["second"].tolist()],
                            dtype=object),
        "score": table["score"].astype("int64")})


def _apply_spelling(part: Any, spelling: Dict[str, str]) -> Any:
    """One partition's suggested spellings: the mapped one, the value
    itself when it is in no group, None when it is missing."""
    return pd.Series([spelling.get(v, v) if isinstance(v, str) else None
                      for v in part.tolist()], index=part.index,
                     name=part.name, dtype=object)


def canonical(series: Any, accuracy: int = DEFAULT_ACCURACY,
              scoring: str = "strict", whole_cell: bool = False,
              threads: int = 1, fold: bool = True,
              max_bucket: int = DEFAULT_MAX_BUCKET) -> Any:
    """Returns a dask Series aligned with |series| (same index and
    partitions, dtype object): each row's suggested spelling, as
    marrowfield.canonical gives it for the same values in one process (the
    canonical of its group, the value itself when in none, None for a
    missing value).

    The distinct values and the pairs are computed when this is called;
    the mapping onto the rows is lazy, as any Dask Series. Arguments and
    errors are those of pairs().
    """
    _check(accuracy, scoring, whole_cell, threads, max_bucket)
    values, counts = _distinct(series)
    table = _pair_indexes(values, accuracy, scoring, fold, threads,
                          max_bucket)
    firsts, seconds = table["first"].tolist(), table["second"].tolist()
    paired = sorted(set(firsts) | set(seconds))
    # The grouping of marrowfield.dedupe, given the pairs found: on the
    # values in some pair (the rest form no group), in their first-seen
    # order, with their counts over the whole column.
    position = {value: k for k, value in enumerate(paired)}
    texts = [values[i] for i in paired]
    grouped = pair_spellings(
        texts, [counts[i] for i in paired],
        ([position[i] for i in firsts], [position[i] for i in seconds],
         table["score"].tolist()), accuracy, scoring, True, 0, fold)
    spelling = {value: suggested for value, suggested in zip(texts, grouped)
                if suggested != value}
    return series.map_partitions(_apply_spelling, spelling,
                                 meta=pd.Series(dtype=object,
                                                name=series.name))
