"""The measurements of bench/python_bench.py, each run by it in a fresh
process of its own (python_bench.py --child NAME), so that every one
starts with a cold engine and its ru_maxrss is its own peak: the binding's
canonical, marrowfield.dask.canonical on a LocalCluster, the steps of the
latter one by one, and the jellyfish peer. Each takes the cells and the
parsed arguments and returns a dict of figures, which the parent reads as
JSON.
"""

import collections
import csv
import itertools
import json
import resource
import time

ACCURACY = 60
SCORING = "strict"
# The peer's threshold inside a Soundex block.
JARO_WINKLER = 0.9
# Cells per Dask partition; 20 partitions for the million cells.
CELLS_PER_PARTITION = 50000
WORKERS = 2


def peak_mb():
    """This process's peak resident memory so far, in MB."""
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024


def read_cells(path):
    """The cells of the generator's one-column CSV file, its header left
    out."""
    with open(path, encoding="utf-8", newline="") as corpus:
        return [row[0] if row else "" for row in csv.reader(corpus)][1:]


# The measurements, each run in a process of its own (--child NAME): they
# print one JSON object as the last line of their output.

def child_canonical(cells, args):
    import marrowfield
    loaded = peak_mb()
    start = time.perf_counter()
    spelling = marrowfield.canonical(cells, accuracy=ACCURACY,
                                     scoring=SCORING,
                                     whole_cell=args.whole_cell)
    seconds = time.perf_counter() - start
    mapping = {value: suggested for value, suggested in zip(cells, spelling)
               if suggested != value}
    with open(args.mapping_out, "w", encoding="utf-8") as out:
        json.dump(mapping, out)
    return {"seconds": seconds, "loaded_mb": loaded, "peak_mb": peak_mb()}


def child_dask(cells, args):
    import dask.dataframe as dd
    import distributed
    import pandas as pd

    import marrowfield
    import marrowfield.dask as mdask

    started = time.perf_counter()
    cluster = distributed.LocalCluster(
        n_workers=WORKERS, threads_per_worker=1, processes=True,
        host="127.0.0.1", dashboard_address=None, silence_logs=40)
    client = distributed.Client(cluster)
    try:
        start_seconds = time.perf_counter() - started
        partitions = max(1, len(cells) // CELLS_PER_PARTITION)
        column = dd.from_pandas(pd.Series(cells, name="name"),
                                npartitions=partitions).persist()
        distributed.wait(column)
        start = time.perf_counter()
        lazy = mdask.canonical(column, accuracy=ACCURACY, scoring=SCORING,
                               whole_cell=True)
        eager = time.perf_counter() - start
        got = lazy.compute().tolist()
        seconds = time.perf_counter() - start
        workers = client.run(
            lambda: resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024)
    finally:
        client.close()
        cluster.close()
    # One process, timed here right after the cluster so that a slow spell
    # of a shared machine weighs on both sides alike; this process has
    # transcribed nothing yet, so its engine starts cold as any other run.
    start = time.perf_counter()
    want = marrowfield.canonical(cells, accuracy=ACCURACY, scoring=SCORING,
                                 whole_cell=True)
    one_seconds = time.perf_counter() - start
    return {"seconds": seconds, "one_seconds": one_seconds,
            "eager_seconds": eager,
            "cluster_start_seconds": start_seconds,
            "partitions": partitions, "same": got == want,
            "peak_mb": peak_mb(),
            "worker_peak_mb": max(workers.values())}


def child_steps(cells, args):
    """Each step of marrowfield.dask.canonical run in this one process on
    one thread, on the partitions Dask would have, timed on its own."""
    import numpy
    import pandas as pd

    import marrowfield.dask as mdask
    from marrowfield import _library
    from marrowfield._lists import pair_spellings

    steps = {}
    partitions = max(1, len(cells) // CELLS_PER_PARTITION)
    size = -(-len(cells) // partitions)
    parts = [pd.Series(cells[k:k + size], dtype=object)
             for k in range(0, len(cells), size)]

    start = time.perf_counter()
    counted = [mdask._count_partition(part, k) for k, part in enumerate(parts)]
    steps["count"] = time.perf_counter() - start

    # The combining Dask does across partitions and the client's share.
    start = time.perf_counter()
    table = pd.concat(counted).groupby("value").agg(
        {"count": "sum", "first": "min"}).sort_values("first")
    values = table.index.tolist()
    counts = [int(c) for c in table["count"].tolist()]
    steps["distinct"] = time.perf_counter() - start

    start = time.perf_counter()
    rows = pd.concat([mdask._keys_task(values[k:k + mdask._VALUES_PER_TASK],
                                       k, _library.MF_SCORING_STRICT, True)
                      for k in range(0, len(values),
                                     mdask._VALUES_PER_TASK)])
    steps["keys"] = time.perf_counter() - start

    sizes = rows["key"].value_counts()
    skewed = {str(key): -(-int(n) // mdask.DEFAULT_MAX_BUCKET)
              for key, n in sizes[sizes > mdask.DEFAULT_MAX_BUCKET].items()}
    buckets = mdask._split_skewed(rows, skewed)
    blocks = buckets.groupby(["bucket", "block"]).size().rename("n")
    per_bucket = blocks.reset_index().groupby("bucket")["n"].agg(
        ["sum", "prod", "count"])
    single = per_bucket["count"] == 1
    candidates = int((per_bucket["sum"][single] *
                      (per_bucket["sum"][single] - 1) // 2).sum() +
                     per_bucket["prod"][~single].sum())
    # The shuffle's partitions: buckets spread by a hash of their name.
    shard = pd.util.hash_pandas_object(buckets["bucket"], index=False) \
        .to_numpy() % numpy.uint64(partitions)
    shuffled = [buckets[shard == k] for k in range(partitions)]
    start = time.perf_counter()
    found = pd.concat([mdask._score_buckets(part, values, ACCURACY, SCORING,
                                            True, 1) for part in shuffled])
    steps["score"] = time.perf_counter() - start
    found = found.drop_duplicates(["first", "second"])

    start = time.perf_counter()
    firsts, seconds = found["first"].tolist(), found["second"].tolist()
    paired = sorted(set(firsts) | set(seconds))
    position = {value: k for k, value in enumerate(paired)}
    texts = [values[i] for i in paired]
    grouped = pair_spellings(
        texts, [counts[i] for i in paired],
        ([position[i] for i in firsts], [position[i] for i in seconds],
         found["score"].tolist()), ACCURACY, SCORING, True, 1, True)
    spelling = {v: s for v, s in zip(texts, grouped) if s != v}
    steps["group"] = time.perf_counter() - start

    start = time.perf_counter()
    for part in parts:
        mdask._apply_spelling(part, spelling)
    steps["map"] = time.perf_counter() - start
    return {"steps": steps, "cells": len(cells), "distinct": len(values),
            "keys": int(len(sizes)), "candidates": candidates,
            "pairs": int(len(found)), "paired_values": len(paired)}


def child_jellyfish(cells, args):
    """The peer's dedupe of the whole cells: distinct values counted,
    blocked by Soundex, every pair of a block with Jaro-Winkler >= 0.9
    joined (union-find), each group under its most frequent spelling."""
    import jellyfish

    start = time.perf_counter()
    counts = collections.Counter(cells)
    blocks = collections.defaultdict(list)
    for value in counts:
        blocks[jellyfish.soundex(value)].append(value)
    parent = {}

    def root(value):
        while parent[value] != value:
            value = parent[value]
        return value

    similarity = jellyfish.jaro_winkler_similarity
    pairs = candidates = 0
    for block in blocks.values():
        candidates += len(block) * (len(block) - 1) // 2
        for a, b in itertools.combinations(block, 2):
            if similarity(a, b) >= JARO_WINKLER:
                pairs += 1
                parent.setdefault(a, a)
                parent.setdefault(b, b)
                ra, rb = root(a), root(b)
                if ra != rb:
                    parent[rb] = ra
    # The most frequent member names its group, the first seen of equals.
    best = {}
    for value in counts:
        if value in parent:
            group = root(value)
            if group not in best or counts[value] > counts[best[group]]:
                best[group] = value
    spelling = [best[root(v)] if v in parent else v for v in cells]
    seconds = time.perf_counter() - start
    return {"seconds": seconds, "pairs": pairs, "candidates": candidates,
            "blocks": len(blocks),
            "changed": sum(s != v for s, v in zip(spelling, cells)),
            "peak_mb": peak_mb()}


CHILDREN = {"canonical": child_canonical, "dask": child_dask,
            "steps": child_steps, "jellyfish": child_jellyfish}
