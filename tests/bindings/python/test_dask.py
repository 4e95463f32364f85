"""Tests (pytest) of marrowfield.dask on a distributed LocalCluster of two
worker processes on the loopback interface, started and closed here: the
pairs and the suggested spellings of a Dask column equal those of one
process on the same values (marrowfield.canonical, and the pairs the
library's own dedupe finds), with repeats, missing values and a key shared
by so many values that its bucket is split.

Skipped where Dask or distributed is not installed.
"""

import ctypes
import math
import os
import random
import subprocess
import sys

import pytest

dd = pytest.importorskip("dask.dataframe")
distributed = pytest.importorskip("distributed")
pd = pytest.importorskip("pandas")

import marrowfield  # noqa: E402
import marrowfield.dask as mdask  # noqa: E402
from marrowfield import _columns, _library, _lists  # noqa: E402

NAMES = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                     "..", "..", "data", "names", "names.tsv")
# Small enough that the skewed key below is split into many blocks.
MAX_BUCKET = 40


def column():
    """20 000 cells: names and their variants drawn with repeats, every
    37th missing (None) and every 101st NaN, and many spellings of one
    skeleton (s-m-th), which all share its key."""
    with open(NAMES, encoding="utf-8") as names:
        next(names)
        corpus = [line.rstrip("\n").split("\t")[1] for line in names]
    vowels = ("", "a", "e", "i", "o", "u", "y")
    skewed = ["S%sm%sth%s" % (a, b, c) for a in vowels for b in vowels
              for c in ("", "e", "y", "a")]
    rng = random.Random(11)
    values = [rng.choice(corpus + skewed * 3) for _ in range(20000)]
    for i in range(0, len(values), 37):
        values[i] = None
    for i in range(5, len(values), 101):
        values[i] = float("nan")
    return values


def library_pairs(values, scoring):
    """The pairs marrowfield.dedupe's library call finds, as texts."""
    texts, counts = _columns.distinct(values, "values")
    lib = _library.load()
    found = set()
    with _lists._groups(texts, counts, 60, scoring, True, 0, True) as groups:
        for k in range(lib.mf_groups_pair_count(groups)):
            first, second = ctypes.c_size_t(), ctypes.c_size_t()
            score = ctypes.c_int()
            lib.mf_groups_pair(groups, k, ctypes.byref(first),
                               ctypes.byref(second), ctypes.byref(score))
            found.add((texts[first.value], texts[second.value], score.value))
    return found


@pytest.fixture(scope="module")
def client():
    cluster = distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
        dashboard_address=None, silence_logs=40)
    dask_client = distributed.Client(cluster)
    try:
        yield dask_client
    finally:
        dask_client.close()
        cluster.close()


@pytest.fixture(scope="module")
def values():
    return column()


@pytest.fixture(scope="module")
def series(values):
    # An index that is not 0..n-1, so alignment is by index.
    frame = pd.Series(values, index=range(500, 500 + len(values)),
                      name="name")
    return frame, dd.from_pandas(frame, npartitions=8)


def test_the_cluster_has_two_worker_processes_on_loopback(client):
    workers = client.scheduler_info()["workers"]
    assert len(workers) == 2
    assert all(address.startswith("tcp://127.0.0.1:") for address in workers)
    pids = client.run(os.getpid)
    assert len(set(pids.values())) == 2
    assert os.getpid() not in pids.values()


def test_the_column_has_a_key_too_big_for_one_bucket(values):
    texts, _ = _columns.distinct(values, "values")
    rows = mdask._keys_task(texts, 0, _library.MF_SCORING_STRICT, True)
    assert rows["key"].value_counts().max() > 4 * MAX_BUCKET


@pytest.mark.parametrize("scoring", ["strict", "tolerant"])
def test_canonical_equals_one_process(client, series, scoring):
    frame, column_ = series
    got = mdask.canonical(column_, scoring=scoring, whole_cell=True,
                          max_bucket=MAX_BUCKET).compute()
    want = marrowfield.canonical(frame, scoring=scoring, whole_cell=True)
    assert list(got.index) == list(want.index)
    assert got.tolist() == want.tolist()
    assert got.isna().sum() == sum(1 for v in frame if not isinstance(v, str))


@pytest.mark.parametrize("scoring", ["strict", "tolerant"])
def test_pairs_are_the_pairs_of_one_process(client, series, values, scoring):
    _, column_ = series
    table = mdask.pairs(column_, scoring=scoring, whole_cell=True,
                        max_bucket=MAX_BUCKET)
    got = set(zip(table["first"], table["second"], table["score"]))
    assert len(got) == len(table)
    assert got == library_pairs(values, scoring)
    for first, second, score in list(got)[:200]:
        assert score == marrowfield.compare(first, second, scoring=scoring)


def test_bucket_size_does_not_change_the_answer(client, series):
    _, column_ = series
    small = mdask.pairs(column_, whole_cell=True, max_bucket=7)
    large = mdask.pairs(column_, whole_cell=True, max_bucket=100000)
    assert small.equals(large)


def test_refuses_what_it_cannot_answer_exactly(series):
    _, column_ = series
    with pytest.raises(marrowfield.ArgumentError, match="whole_cell"):
        mdask.canonical(column_)
    with pytest.raises(marrowfield.ArgumentError, match="every"):
        mdask.pairs(column_, whole_cell=True, scoring="tolerant",
                    accuracy=50)
    with pytest.raises(marrowfield.ArgumentError):
        mdask.pairs(column_, whole_cell=True, max_bucket=1)
    with pytest.raises(TypeError):
        mdask.pairs(dd.from_pandas(pd.Series(["a", 3]), npartitions=1),
                    whole_cell=True)


def test_without_dask_the_import_error_says_what_to_install():
    program = ("import sys\n"
               "sys.modules['dask'] = None\n"
               "try:\n"
               "    import marrowfield.dask\n"
               "except ImportError as error:\n"
               "    print(error)\n"
               "import marrowfield\n"
               "print(marrowfield.compare('Smith', 'Smith'))\n")
    result = subprocess.run([sys.executable, "-c", program],
                            capture_output=True, text=True, check=True)
    lines = result.stdout.splitlines()
    assert "python3-dask" in lines[0]
    assert lines[1] == "100"


def test_skewed_keys_are_split_into_blocks_of_bounded_pairs():
    rows = pd.DataFrame({"key": ["k"] * 10 + ["j"] * 3,
                         "index": list(range(10)) + [20, 21, 22]})
    split = mdask._split_skewed(rows, {"k": math.ceil(10 / 4)})
    buckets = split.groupby("bucket")["index"].apply(list).to_dict()
    assert buckets.pop("j") == [20, 21, 22]
    # Three blocks of k: three buckets of one block, three of two.
    assert len(buckets) == 6
    pairs = []
    for name, bucket in split.groupby("bucket"):
        if name == "j":
            continue
        found = mdask._bucket_pairs(bucket["index"].to_numpy(),
                                    bucket["block"].to_numpy())
        assert len(found) <= 4 * 4
        pairs.extend((int(p) >> 32, int(p) & 0xFFFFFFFF) for p in found)
    # Every pair of the key's values in exactly one bucket.
    assert sorted(pairs) == [(a, b) for a in range(10)
                             for b in range(a + 1, 10)]
