#!/usr/bin/python3
"""The Python binding at scale: prints a table of times, ratios and peak
memory, and writes the figures as JSON for bench/ratios.py.

On one column of generated full names (tools/names_corpus/generate.sh;
1 000 000 cells of about 200 000 distinct names by default), at accuracy
60 with the strict score:
- marrowfield.canonical against the command line's `marrowfield dedupe`
  of the same cells (a quoted CSV file; the program also writes its
  text,canonical mapping, which must equal canonical's), word by word and
  whole cells, each run in a fresh process of its own, so that every run
  starts with a cold engine and ru_maxrss is that run's peak, in rounds
  that alternate which goes first (their medians compared);
- marrowfield.dask.canonical (whole cells) on a LocalCluster of 2 worker
  processes x 1 thread on loopback, started and closed here, against
  marrowfield.canonical run right after it in the same process, whose
  answer it must equal;
- the cost of each of its steps measured in one process (counting,
  keys, scoring per candidate pair, grouping and mapping), and from them a
  stated model's estimate for 1 000 000 000 cells on 100 workers;
- the jellyfish peer (Soundex blocks, Jaro-Winkler >= 0.9 inside each
  block, groups under their most frequent spelling) on the same cells,
  and its recall and false-positive rate on the names sample's variant
  groups beside the strict and tolerant scores (the pairs and the
  definition of tools/names_corpus/quality.py).

Usage: bench/python_bench.py [--build DIR] [--cells N] [--distinct N]
                             [--repeats N] [--smoke] [--json FILE]
  --build     the build folder with library/libmarrowfield.so and
              cli/marrowfield (default build-bench)
  --repeats   rounds of the command line against canonical (default 3;
              the medians are compared)
  --smoke     a run of seconds on 20 000 cells, one round (the bench
              stage's)
  --json      where to write the figures (default DIR/python_bench.json,
              which bench/ratios.py reads; DIR/python_bench_smoke.json
              for --smoke)

Needs Debian's python3-dask, python3-distributed, python3-pandas and
python3-jellyfish, and node for the corpus generator.
"""

import argparse
import csv
import json
import os
import statistics
import subprocess
import sys
import time
import warnings

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "bindings", "python"))
sys.path.insert(0, os.path.join(ROOT, "tools", "names_corpus"))

from python_bench_runs import (ACCURACY, CHILDREN, JARO_WINKLER,  # noqa: E402
                               SCORING, WORKERS, read_cells)

NAMES_SAMPLE = os.path.join(ROOT, "tests", "data", "names", "names.tsv")
# The column of the estimate.
TARGET_CELLS = 1_000_000_000
TARGET_WORKERS = 100


def run_child(args, name, *extra):
    """Runs one measurement in a fresh process; returns its JSON and the
    process's peak resident memory in MB."""
    command = [sys.executable, os.path.abspath(__file__), "--child", name,
               "--corpus", args.corpus_csv, *extra]
    return run_measured(command, args, json_output=True)


def run_measured(command, args, json_output=False, ok=(0,)):
    environment = dict(os.environ,
                       MARROWFIELD_LIBRARY=args.library,
                       PYTHONPATH=os.path.join(ROOT, "bindings", "python"))
    start = time.perf_counter()
    process = subprocess.Popen(command, env=environment,
                               stdout=subprocess.PIPE,
                               text=True)
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode not in ok:
        sys.exit(f"python_bench.py: {' '.join(command[:4])} ... failed "
                 f"(exit status {process.returncode})")
    result = json.loads(output.splitlines()[-1]) if json_output else {}
    result.setdefault("seconds", seconds)
    result["process_peak_mb"] = usage.ru_maxrss / 1024
    return result


def make_corpus(args):
    """The cells as the generator writes them: a one-column CSV file, names
    such as "Smith, John" quoted, which the command line reads as it is and
    the Python runs read with the csv module."""
    folder = os.path.join(args.build, "python_bench")
    os.makedirs(folder, exist_ok=True)
    args.corpus_csv = os.path.join(
        folder, f"cells_full_{args.distinct}_{args.cells}.csv")
    if not os.path.exists(args.corpus_csv):
        # About 3.8 spellings per person, as bench/postgres_bench.sh counts.
        groups = args.distinct * 10 // 38 + 1
        subprocess.run([os.path.join(ROOT, "tools", "names_corpus",
                                     "generate.sh"), "--kind", "full",
                        "--seed", "5", "--groups", str(groups), "--cells",
                        str(args.cells), "--out", args.corpus_csv + ".part"],
                       check=True, stdout=subprocess.DEVNULL)
        os.replace(args.corpus_csv + ".part", args.corpus_csv)


def cli_mapping(path):
    with open(path, encoding="utf-8", newline="") as mapping:
        rows = csv.reader(mapping)
        next(rows)
        return {text: canonical for text, canonical in rows
                if text != canonical}


def canonical_against_cli(args, whole_cell):
    """The command line's dedupe and marrowfield.canonical of the same
    cells, in args.repeats rounds that alternate which goes first, so that
    a slow spell of a shared machine does not land on one side only; the
    median seconds and the highest peak of each."""
    folder = os.path.dirname(args.corpus_csv)
    mapping_cli = os.path.join(folder, "mapping_cli.csv")
    mapping_py = os.path.join(folder, "mapping_py.json")
    command = [args.cli, "dedupe", args.corpus_csv, "--column", "name",
               "--format", "csv", "--accuracy", str(ACCURACY), "--scoring",
               SCORING, "--mapping", mapping_cli]
    extra = ["--mapping-out", mapping_py]
    if whole_cell:
        command.append("--whole-cell")
        extra.append("--whole-cell")
    runs = {"cli": [], "python": []}
    for round_ in range(args.repeats):
        for side in (("cli", "python") if round_ % 2 == 0
                     else ("python", "cli")):
            # Exit status 1: no groups.
            runs[side].append(run_measured(command, args, ok=(0, 1))
                              if side == "cli" else
                              run_child(args, "canonical", *extra))
    with open(mapping_py, encoding="utf-8") as got:
        same = json.load(got) == cli_mapping(mapping_cli)

    def summary(results):
        return {"seconds": statistics.median(r["seconds"] for r in results),
                "all_seconds": [r["seconds"] for r in results],
                "process_peak_mb": max(r["process_peak_mb"] for r in results),
                "loaded_mb": max(r.get("loaded_mb", 0) for r in results)}

    return summary(runs["cli"]), dict(summary(runs["python"]), same=same)


def quality():
    """Recall and false-positive rate on the names sample, as quality.py
    defines them: positive pairs within a group, negative pairs across."""
    import jellyfish
    import quality as corpus_quality

    import marrowfield

    groups = corpus_quality.read_groups(NAMES_SAMPLE)
    positives = corpus_quality.positive_pairs(groups)
    negatives = corpus_quality.negative_pairs(groups, 2_000_000, 1)
    rates = {}
    for scoring in ("strict", "tolerant"):
        found = []
        for pairs in (positives, negatives):
            scores = marrowfield.compare_many(pairs, scoring=scoring)
            found.append(sum(s >= ACCURACY for s in scores) / len(pairs))
        rates[f"Marrowfield {scoring} >= {ACCURACY}"] = found
    soundex = {}

    def code(value):
        if value not in soundex:
            soundex[value] = jellyfish.soundex(value)
        return soundex[value]

    similarity = jellyfish.jaro_winkler_similarity
    rates[f"Soundex block + Jaro-Winkler >= {JARO_WINKLER}"] = [
        sum(code(a) == code(b) and similarity(a, b) >= JARO_WINKLER
            for a, b in pairs) / len(pairs) for pairs in (positives, negatives)]
    return {"groups": len(groups), "positives": len(positives),
            "negatives": len(negatives), "rates": rates}


def estimate(steps, dask_seconds):
    """Seconds for TARGET_CELLS cells on TARGET_WORKERS workers, from the
    per-unit costs of the steps, and the model that gives them."""
    s, n = steps["steps"], steps
    per_cell = (s["count"] + s["map"]) / n["cells"]
    per_value = s["keys"] / n["distinct"]
    per_candidate = s["score"] / max(1, n["candidates"])
    client_per_value = s["distinct"] / n["distinct"]
    client_per_pair = s["group"] / max(1, n["pairs"])
    worker_here = s["count"] + s["map"] + s["keys"] + s["score"]
    client_here = s["distinct"] + s["group"]
    # What Dask adds to the workers' share (scheduling, sending the values
    # to every worker, the shuffle), as measured in this run.
    overhead = max(1.0, (dask_seconds - client_here) / (worker_here / WORKERS))
    scale = TARGET_CELLS / n["cells"]
    cells, values = TARGET_CELLS, n["distinct"] * scale
    candidates, pairs = n["candidates"] * scale, n["pairs"] * scale
    workers = overhead * (per_cell * cells + per_value * values +
                          per_candidate * candidates) / TARGET_WORKERS
    client = client_per_value * values + client_per_pair * pairs
    model = [
        "T = f x (c_cell x C + c_value x D + c_pair x K) / W "
        "+ g_value x D + g_pair x P",
        f"  C = {cells:.3g} cells, W = {TARGET_WORKERS} workers; D, K, P "
        f"(distinct values, candidate pairs, pairs found) grow with the cells "
        f"as here: D = {values:.3g}, K = {candidates:.3g}, P = {pairs:.3g}",
        f"  measured per unit on one thread: c_cell = {per_cell * 1e6:.2f} us "
        f"(counting + mapping), c_value = {per_value * 1e6:.1f} us (keys), "
        f"c_pair = {per_candidate * 1e6:.2f} us (scoring a candidate pair)",
        f"  on the client: g_value = {client_per_value * 1e6:.2f} us "
        f"(combining the counts), g_pair = {client_per_pair * 1e6:.1f} us "
        f"(grouping per pair found)",
        f"  f = {overhead:.1f}: Dask's time here over its workers' share of "
        "the steps timed alone",
        f"  workers {workers:,.0f} s + client {client:,.0f} s "
        f"= {workers + client:,.0f} s ({(workers + client) / 3600:.1f} h)",
        "  assumes D and K grow linearly (real names saturate: fewer); the "
        "client's share does not divide by W, and every worker holds all the "
        "distinct values, which at this D no longer fits a worker's memory",
    ]
    return workers + client, model


def table(rows):
    width = max(len(label) for label, _, _ in rows)
    lines = [f"{'measurement':<{width}}  {'value':>10}  target"]
    for label, value, target in rows:
        text = value if isinstance(value, str) else f"{value:10.2f}"
        lines.append(f"{label:<{width}}  {text:>10}  {target or ''}")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--cells", type=int, default=1_000_000)
    parser.add_argument("--distinct", type=int, default=200_000)
    parser.add_argument("--smoke", action="store_true")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--json")
    parser.add_argument("--child", choices=sorted(CHILDREN))
    parser.add_argument("--corpus")
    parser.add_argument("--whole-cell", action="store_true")
    parser.add_argument("--mapping-out")
    args = parser.parse_args()
    # Debian's jellyfish warns of its own argument parsing on every call,
    # and distributed of the values shipped with the graph, which the
    # output states.
    warnings.simplefilter("ignore")
    if args.child:
        result = CHILDREN[args.child](read_cells(args.corpus), args)
        print(json.dumps(result))
        return 0
    if args.smoke:
        args.cells, args.distinct, args.repeats = 20_000, 4_000, 1
    args.library = os.path.join(args.build, "library", "libmarrowfield.so")
    args.cli = os.path.join(args.build, "cli", "marrowfield")
    for path in (args.library, args.cli):
        if not os.path.exists(path):
            sys.exit(f"python_bench.py: {path} is missing: build the targets "
                     "libmarrowfield and marrowfield in " + args.build)
    os.environ["MARROWFIELD_LIBRARY"] = args.library
    make_corpus(args)

    figures = {"cells": args.cells}
    rows = []
    for whole_cell, label in ((False, "word by word"), (True, "whole cells")):
        cli, python = canonical_against_cli(args, whole_cell)
        key = "whole_cell" if whole_cell else "word_by_word"
        figures[f"cli_{key}"], figures[f"canonical_{key}"] = cli, python
        rows += [
            (f"marrowfield dedupe ({label}), seconds", cli["seconds"], None),
            (f"marrowfield.canonical ({label}), seconds", python["seconds"],
             None),
            (f"canonical / CLI dedupe ({label})",
             python["seconds"] / cli["seconds"], "<= 1.2"),
            (f"  the same mapping as the CLI's ({label})",
             "yes" if python["same"] else "NO", None),
            (f"  peak MB: CLI / canonical's process (cells loaded: "
             f"{python['loaded_mb']:.0f})",
             f"{cli['process_peak_mb']:.0f} / "
             f"{python['process_peak_mb']:.0f}", None),
        ]
    one = figures["canonical_whole_cell"]["seconds"]
    dask_run = run_child(args, "dask")
    figures["dask"] = dask_run
    rows += [
        ("marrowfield.dask.canonical 2x1 (whole cells), seconds",
         dask_run["seconds"], None),
        ("  of which pairs and grouping (the eager part)",
         dask_run["eager_seconds"], None),
        ("marrowfield.canonical in one process right after, seconds",
         dask_run["one_seconds"], None),
        ("dask 2x1 / one process", dask_run["seconds"] /
         dask_run["one_seconds"], None),
        ("  the same answer as one process", "yes" if dask_run["same"]
         else "NO", None),
        ("  peak MB: client / each worker",
         f"{dask_run['process_peak_mb']:.0f} / "
         f"{dask_run['worker_peak_mb']:.0f}", None),
    ]
    steps = run_child(args, "steps")
    figures["steps"] = steps
    total, model = estimate(steps, dask_run["seconds"])
    figures["estimate_seconds"] = total
    peer = run_child(args, "jellyfish")
    figures["jellyfish"] = peer
    rows += [
        ("jellyfish Soundex + Jaro-Winkler (whole cells), seconds",
         peer["seconds"], None),
        ("jellyfish peer / marrowfield.canonical (whole cells)",
         peer["seconds"] / one, None),
    ]
    rates = quality()
    figures["quality"] = rates
    for name, (recall, fpr) in rates["rates"].items():
        rows.append((f"{name}: recall", recall, None))
        rows.append((f"{name}: false-positive rate", f"{fpr:.5f}", None))

    print(f"{args.cells} cells, {steps['distinct']} distinct full names, "
          f"accuracy {ACCURACY}, {SCORING} score; every run in a fresh "
          f"process")
    print(table(rows))
    print("\nSteps of marrowfield.dask.canonical in one process, one "
          "thread (seconds): " + ", ".join(
              f"{k} {v:.2f}" for k, v in steps["steps"].items()))
    print(f"{steps['keys']} keys, {steps['candidates']} candidate pairs, "
          f"{steps['pairs']} pairs found; Soundex: {peer['blocks']} blocks, "
          f"{peer['candidates']} candidate pairs")
    print(f"\nEstimate for {TARGET_CELLS:,} cells on {TARGET_WORKERS} "
          f"workers:")
    print("\n".join(model))
    print(f"\nQuality on {NAMES_SAMPLE}: {rates['groups']} groups, "
          f"{rates['positives']} positive and {rates['negatives']} negative "
          f"pairs")
    default = "python_bench_smoke.json" if args.smoke else "python_bench.json"
    with open(args.json or os.path.join(args.build, default), "w",
              encoding="utf-8") as out:
        json.dump(figures, out, indent=1)
    failed = [label for label, value, _ in rows if value == "NO"]
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
