#!/usr/bin/env python3
"""Runs the benchmarks once and prints a table of ratios.

These machines are too noisy for absolute times to mean much, so every
figure is a ratio between two measurements taken in the same run: the
engine against the floor of the Flite lookups it cannot avoid, and the
cached paths against the uncached ones. The cold comparison's ratio to the
floor, the closest one, is measured head to head inside one benchmark
(alternating rounds of each); the ratio of the two separate benchmarks is
printed beneath it for comparison.

The Python binding's rows come from BUILD_DIR/python_bench.json, which
bench/python_bench.py writes (a run of minutes of its own, so it is read
when there rather than run here).

Usage: bench/ratios.py [BUILD_DIR]   (default: build-bench, built with
-DMARROWFIELD_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release)
       bench/ratios.py --planted [BUILD_DIR]   (only the precision and
recall of deduping planted persons, a run of seconds)
       bench/ratios.py --duplicates [BUILD_DIR]   (only the add-in's Find
duplicates against the command line's dedupe, a run of half a minute)
       bench/ratios.py --lists [BUILD_DIR]   (only the pair finding rows
of lists_bench, a run of a few minutes)
"""

import json
import os
import subprocess
import sys


def run(binary, extra=()):
    out = subprocess.run(
        # Repetitions in random order, so that a slow spell of the machine
        # spreads over every case instead of landing on one side of a ratio.
        [binary, "--benchmark_format=json", "--benchmark_min_time=0.5",
         "--benchmark_repetitions=5", "--benchmark_enable_random_interleaving=true",
         "--benchmark_report_aggregates_only=true", *extra],
        check=True, capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            # "BM_X/iterations:1", "BM_X/real_time" and "BM_X/manual_time"
            # name the same case.
            name = b["run_name"]
            for suffix in ("/iterations:1", "/real_time", "/manual_time"):
                name = name.replace(suffix, "")
            per_item = b["cpu_time"]
            if "items_per_second" in b:
                per_item = 1e9 / b["items_per_second"]
            times[name] = per_item
            # A ratio the benchmark measured itself, head to head.
            for counter in ("cold_over_floor", "tolerant_over_strict",
                            "cells"):
                if counter in b:
                    times[f"{name}:{counter}"] = b[counter]
    return times


def run_lists(binary):
    """The pair finding benchmark. Each case runs one dedupe per
    repetition (a dedupe of a million cells is long enough to time), and
    its ratios come from the wall-clock times and counters of one run of
    this script. The dedupe cases repeat five times in random order and
    give their medians: one dedupe on these machines moves by a fifth from
    run to run, enough to turn the ratio of 1 and 2 threads either way.
    The long exhaustive and recall cases run once."""
    def cases(extra):
        out = subprocess.run([binary, "--benchmark_format=json", *extra],
                             check=True, capture_output=True, text=True).stdout
        return json.loads(out)["benchmarks"]

    repeated = cases(["--benchmark_filter=Dedupe", "--benchmark_repetitions=5",
                      "--benchmark_enable_random_interleaving=true",
                      "--benchmark_report_aggregates_only=true"])
    once = cases(["--benchmark_filter=-Dedupe"])
    times = {}
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    for b in repeated + once:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b["run_name"].replace("/iterations:1", "").replace("/real_time", "")
        times[name] = b["real_time"] * scale[b["time_unit"]]
        for key, value in b.items():
            if key.startswith(("recall_", "distinct", "items_per_second",
                               "process_cpu")):
                times[f"{name}:{key}"] = value
    return times


def run_records(binary, only=None):
    """The records benchmark: each case runs once (the end-to-end dedupe of
    a million records is long enough to time by itself); times in seconds,
    with the counters. |only|: a --benchmark_filter."""
    extra = [f"--benchmark_filter={only}"] if only else []
    out = subprocess.run([binary, "--benchmark_format=json", *extra],
                         check=True, capture_output=True, text=True).stdout
    times = {}
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    for b in json.loads(out)["benchmarks"]:
        name = b["run_name"].replace("/iterations:1", "").replace("/real_time", "")
        times[name] = b["real_time"] * scale[b["time_unit"]]
        for key, value in b.items():
            if key.startswith(("recall_", "pairs_in_cities", "items_per_second",
                               "records", "child_cpu", "planted_",
                               "exhaustive_cpu", "pair_finding_cpu",
                               "ns_per_pair", "transcription_cpu")):
                times[f"{name}:{key}"] = value
    return times


def records_rows(times, rows):
    cli = times.get("BM_CliRecordsDedupe/2")
    if cli is not None:
        rows.append(("marrowfield dedupe 1M records --name --same --annotate, "
                     "2 threads (seconds)", cli, "<= 30"))
        cpu = times.get("BM_CliRecordsDedupe/2:child_cpu_s")
        if cpu is not None:
            rows.append(("  the same in CPU seconds of all threads", cpu, None))
    # Both sides in CPU seconds over all their threads, from the records in
    # memory, each transcribing its names with the cache cleared; reading
    # the file and grouping are left out of both.
    exhaustive = times.get("BM_RecordsExhaustivePairs:exhaustive_cpu_s")
    finding = times.get("BM_RecordsRecall:pair_finding_cpu_s")
    if exhaustive and finding:
        rows.append(("every pair within each city (extrapolated) / "
                     "pair finding, CPU seconds", exhaustive / finding,
                     ">= 100"))
        rows.append(("  pair finding of the records (CPU seconds)", finding,
                     None))
        rows.append(("  every pair within each city (CPU seconds)",
                     exhaustive, None))
        per_pair = times.get("BM_RecordsExhaustivePairs:ns_per_pair")
        if per_pair is not None:
            rows.append(("    of which a pair scored (ns)", per_pair, None))
        transcribing = times.get(
            "BM_RecordsExhaustivePairs:transcription_cpu_s")
        if transcribing is not None and finding > transcribing:
            # The one fixed cost that both sides share, left out of both.
            rows.append(("  transcribing the names, in both (CPU seconds)",
                         transcribing, None))
            rows.append(("  the same ratio without transcribing, on both "
                         "sides", (exhaustive - transcribing) /
                         (finding - transcribing), None))
    for accuracy in (60, 70, 80, 90):
        key = f"BM_RecordsRecall:recall_{accuracy}"
        if key in times:
            rows.append((f"records dedupe recall at {accuracy} "
                         "(every pair of 200 cities)", times[key], ">= 0.995"))
    planted_rows(times, rows)


def planted_rows(times, rows):
    planted = "BM_RecordsPlantedPersons"
    count = times.get(f"{planted}:records")
    for label, key in (
            ("--name First,Last --same City", "name_city"),
            ("--column LastName", "last")):
        for measure, what in (("precision", "precision"),
                              ("recall", "recall"),
                              ("recall_in_city",
                               "recall of the pairs in one city")):
            value = times.get(f"{planted}:planted_{measure}_{key}")
            if value is not None:
                rows.append((f"planted persons ({count:.0f} records) {label}: "
                             f"{what}", value, None))


def lists_rows(times, rows):
    one = times.get("BM_DedupeCells/1")
    two = times.get("BM_DedupeCells/2")
    if two is not None:
        rows.append(("dedupe 1M cells, 2 threads (seconds)", two, "<= 20"))
        cpu = times.get("BM_DedupeCells/2:process_cpu_s")
        if cpu is not None:
            rows.append(("  the same in CPU seconds of all threads", cpu, None))
    if one is not None and two is not None:
        rows.append(("dedupe 1 thread / 2 threads", one / two, ">= 1.8"))
    per_second = times.get("BM_ExhaustivePairs:items_per_second")
    distinct = times.get("BM_DedupeCells/2:distinct")
    exhaustive = None
    if per_second and distinct:
        # Every pair of the distinct values, on the same two threads.
        exhaustive = distinct * (distinct - 1) / 2 / per_second / 2
    if two is not None and exhaustive:
        rows.append(("dedupe every pair (extrapolated) / pair finding, 2 threads",
                     exhaustive / two, ">= 100"))
    cli_one = times.get("BM_CliDedupe/1")
    cli_two = times.get("BM_CliDedupe/2")
    if cli_two is not None:
        rows.append(("marrowfield dedupe 1M cells, 2 threads (seconds)", cli_two,
                     "<= 20"))
        if cli_one is not None:
            rows.append(("marrowfield dedupe 1 thread / 2 threads",
                         cli_one / cli_two, ">= 1.8"))
        if exhaustive:
            rows.append(("dedupe every pair (extrapolated) / marrowfield dedupe",
                         exhaustive / cli_two, ">= 100"))
    strict = times.get("BM_DedupeSingleNames/0")
    tolerant = times.get("BM_DedupeSingleNames/1")
    if strict and tolerant:
        rows.append(("dedupe 1M cells of 32 000 single names, tolerant / strict",
                     tolerant / strict, "<= 3"))
    for accuracy in (60, 70, 80, 90):
        key = f"BM_RecallProperNouns:recall_{accuracy}"
        if key in times:
            rows.append((f"tolerant dedupe recall at {accuracy} (word list's proper nouns)",
                         times[key], ">= 0.995"))
    for mode, label in ((0, ""), (1, ", tolerant scoring")):
        for accuracy in (60, 70, 80, 90):
            key = f"BM_RecallLargeCorpus/{mode}:recall_{accuracy}"
            if key in times:
                rows.append((f"dedupe recall at {accuracy} (large corpus{label})",
                             times[key], ">= 0.995"))


def run_duplicates(binary):
    """The Find duplicates benchmark: each case is one whole run (seconds
    long), repeated three times in random order; the medians' wall-clock
    times in seconds."""
    out = subprocess.run(
        [binary, "--benchmark_format=json", "--benchmark_repetitions=3",
         "--benchmark_enable_random_interleaving=true",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    times = {}
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"].replace("/iterations:1", "").replace("/real_time", "")
        times[name] = b["real_time"] * scale[b["time_unit"]]
    return times


def duplicates_rows(times, rows):
    add_in = times.get("BM_FindDuplicates100k")
    cli = times.get("BM_CliDedupe100k")
    if add_in is not None:
        rows.append(("Find duplicates 100 000 rows end to end, fake Excel "
                     "(seconds)", add_in, "<= 3"))
    if add_in is not None and cli:
        rows.append(("Find duplicates / marrowfield dedupe, 100 000 rows",
                     add_in / cli, "<= 1.5"))
    alone = times.get("BM_FindDuplicatesWithoutHost100k")
    if alone is not None and cli:
        rows.append(("  the add-in's part alone (no host) / marrowfield dedupe",
                     alone / cli, None))


def python_rows(build, rows):
    """The rows of bench/python_bench.py's last run in |build|, if any."""
    path = os.path.join(build, "python_bench.json")
    if not os.path.exists(path):
        return
    with open(path, encoding="utf-8") as figures_file:
        figures = json.load(figures_file)
    cells = f"{figures['cells']:,} cells".replace(",", " ")
    for key, label in (("word_by_word", "word by word"),
                       ("whole_cell", "whole cells")):
        cli = figures.get(f"cli_{key}")
        python = figures.get(f"canonical_{key}")
        if cli and python:
            rows.append((f"marrowfield.canonical / marrowfield dedupe, {cells} "
                         f"({label})", python["seconds"] / cli["seconds"],
                         "<= 1.2"))
    dask = figures.get("dask")
    if dask and dask.get("one_seconds"):
        rows.append((f"marrowfield.dask.canonical 2x1 / one process, {cells}",
                     dask["seconds"] / dask["one_seconds"], None))


def print_rows(rows):
    width = max(len(label) for label, _, _ in rows)
    print(f"{'ratio':<{width}}  {'value':>8}  target")
    for label, value, target in rows:
        print(f"{label:<{width}}  {value:8.2f}  {target or ''}")


def main():
    args = sys.argv[1:]
    if args[:1] == ["--planted"]:
        build = args[1] if len(args) > 1 else "build-bench"
        rows = []
        planted_rows(run_records(os.path.join(build, "bench", "records_bench"),
                                 "BM_RecordsPlantedPersons"), rows)
        print_rows(rows)
        return
    if args[:1] == ["--duplicates"]:
        build = args[1] if len(args) > 1 else "build-bench"
        rows = []
        duplicates_rows(run_duplicates(os.path.join(build, "bench",
                                                    "duplicates_bench")), rows)
        print_rows(rows)
        return
    if args[:1] == ["--lists"]:
        build = args[1] if len(args) > 1 else "build-bench"
        rows = []
        lists_rows(run_lists(os.path.join(build, "bench", "lists_bench")), rows)
        print_rows(rows)
        return
    build = args[0] if args else "build-bench"
    times = run(os.path.join(build, "bench", "engine_bench"))
    for program in ("sheet_search_bench", "sheet_function_bench"):
        path = os.path.join(build, "bench", program)
        if os.path.exists(path):
            times.update(run(path))

    rows = []
    lists = os.path.join(build, "bench", "lists_bench")
    lists_times = run_lists(lists) if os.path.exists(lists) else {}

    def ratio(label, top, bottom, target=None):
        if top in times and bottom in times:
            value = times[top] / times[bottom]
            rows.append((label, value, target))

    def measured(label, key, target=None):
        if key in times:
            rows.append((label, times[key], target))

    for kind, arg in (("names", "1"), ("dictionary words", "0")):
        floor = f"BM_FliteLookupFloor/{arg}"
        measured(f"compare_words cold / floor ({kind})",
                 f"BM_CompareWordsColdOverFloor/{arg}:cold_over_floor",
                 "<= 1.15")
        ratio(f"  the same from separate runs ({kind})",
              f"BM_CompareWordsCold/{arg}", floor)
        ratio(f"compare_words uncached / floor ({kind})",
              f"BM_CompareWordsUncached/{arg}", floor, None)
        ratio(f"compare_words cold / warm ({kind})",
              f"BM_CompareWordsCold/{arg}", f"BM_CompareWordsWarm/{arg}",
              ">= 15")
    measured("tolerant / strict per warm pair (names)",
             "BM_TolerantOverStrictWarm:tolerant_over_strict", "<= 1.5")
    ratio("  the same from separate runs", "BM_CompareTolerantWarm",
          "BM_CompareStrictWarm")
    ratio("get_phonemes uncached / floor", "BM_GetPhonemes/0",
          "BM_FliteLookupFloor/1")
    ratio("get_phonemes uncached / cached", "BM_GetPhonemes/0",
          "BM_GetPhonemes/1")
    ratio("list search 10 000 uncached / cached", "BM_SimilarWords10k/0",
          "BM_SimilarWords10k/1")
    ratio("phrase search 50 words uncached / cached",
          "BM_MatchPhrase50Words/0", "BM_MatchPhrase50Words/1")
    ratio("sheet search: compare_words per cell / prepared search",
          "BM_SheetSearchPerCellUncached", "BM_SheetSearchPrepared", ">= 10")
    ratio("sheet search folded to ASCII / not folded",
          "BM_SheetSearchPrepared", "BM_SheetSearchPreparedNoFold", "<= 1.05")
    ratio("marrowfield search on CSV / sheet search alone",
          "BM_CliSearchCsv", "BM_SheetSearchPrepared", "< 2")
    ratio("MARROWFIELD.BEST 10 000 cells / sheet search (warm)",
          "BM_Best10kCells/1", "BM_SheetSearch10kCells/1", "<= 2")
    ratio("MARROWFIELD.BEST 10 000 cells / sheet search (cold)",
          "BM_Best10kCells/0", "BM_SheetSearch10kCells/0", "<= 2")

    ratio("MARROWFIELD.GROUP 100 000 cells / marrowfield dedupe of them",
          "BM_Group100kCells", "BM_CliDedupe100kCells", "<= 1.5")
    if "BM_MatchesFilledDownSample" in times and "BM_Group100kCells" in times:
        # MATCHES once a cell, from the time of one sampled call.
        filled = (times["BM_MatchesFilledDownSample"] *
                  times.get("BM_MatchesFilledDownSample:cells", 100000))
        rows.append(("MATCHES filled down 100 000 cells (extrapolated) / "
                     "MARROWFIELD.GROUP", filled / times["BM_Group100kCells"],
                     ">= 100"))

    lists_rows(lists_times, rows)
    python_rows(build, rows)
    records = os.path.join(build, "bench", "records_bench")
    if os.path.exists(records):
        records_rows(run_records(records), rows)
    duplicates = os.path.join(build, "bench", "duplicates_bench")
    if os.path.exists(duplicates):
        duplicates_rows(run_duplicates(duplicates), rows)

    print_rows(rows)
    print()
    for name in ("BM_FliteLookupFloor/1", "BM_CompareWordsWarm/1"):
        if name in times:
            print(f"(for scale: {name} {times[name]:.0f} ns per word)")


if __name__ == "__main__":
    main()
