#!/usr/bin/env python3
"""Measures how well each way of matching names finds the names corpus.

Usage: quality.py SCORER CORPUS.tsv [--negatives N] [--seed S]
                  [--check [--min-recall R] [--max-fpr F]]

SCORER is the built names_score_pairs program (it scores word pairs with
the engine, strict and tolerant); CORPUS is a labelled corpus of
generate.js ("group<TAB>value" rows, words kind).  Positive pairs are the
pairs of spellings within a group, negative pairs pairs across groups:
all of them, or a seeded random sample of N when there are more.  A pair
is matched when its score reaches 60 (strict, tolerant) or when both
spellings have the same code (Soundex, Metaphone, NYSIIS, as Debian's
python3-jellyfish computes them).  Prints a Markdown table of recall
(matched positives) and false-positive rate (matched negatives).

With --check, exits 1 unless the tolerant score reaches recall R (0.93)
at a false-positive rate of at most F (0.001), finds more than the strict
score, and never scores a pair below the strict score.
"""

import argparse
import itertools
import random
import subprocess
import sys

import jellyfish

ACCURACY = 60
TARGET_RECALL = 0.93
TARGET_FPR = 0.001
CODES = {
    "Soundex": jellyfish.soundex,
    "Metaphone": jellyfish.metaphone,
    "NYSIIS": jellyfish.nysiis,
}


def read_groups(path):
    groups = {}
    with open(path, encoding="utf-8") as corpus:
        header = corpus.readline().rstrip("\n").split("\t")
        if header != ["group", "value"]:
            sys.exit(f"quality.py: {path} is not a labelled corpus")
        for line in corpus:
            group, value = line.rstrip("\n").split("\t")
            groups.setdefault(group, []).append(value)
    return list(groups.values())


def positive_pairs(groups):
    return [pair for g in groups for pair in itertools.combinations(g, 2)]


def negative_pairs(groups, limit, seed):
    labelled = [(k, v) for k, g in enumerate(groups) for v in g]
    total = len(labelled) * (len(labelled) - 1) // 2 - len(positive_pairs(groups))
    if total <= limit:
        return [(a[1], b[1]) for a, b in itertools.combinations(labelled, 2)
                if a[0] != b[0]]
    rng = random.Random(seed)
    pairs = set()
    while len(pairs) < limit:
        a, b = rng.sample(range(len(labelled)), 2)
        if labelled[a][0] != labelled[b][0]:
            pairs.add((min(a, b), max(a, b)))
    return [(labelled[a][1], labelled[b][1]) for a, b in sorted(pairs)]


def engine_scores(scorer, pairs):
    text = "".join(f"{a}\t{b}\n" for a, b in pairs)
    done = subprocess.run([scorer], input=text, capture_output=True,
                          text=True, check=True)
    rows = [line.split("\t") for line in done.stdout.splitlines()]
    if len(rows) != len(pairs):
        sys.exit("quality.py: the scorer answered the wrong number of pairs")
    return [(int(strict), int(tolerant)) for strict, tolerant in rows]


def rates(positives, negatives, scorer):
    """{method: (recall, false-positive rate)}, and the pairs where the
    tolerant score is below the strict one."""
    pos = engine_scores(scorer, positives)
    neg = engine_scores(scorer, negatives)
    share = lambda hits, n: hits / n if n else 0.0  # noqa: E731
    result = {}
    for k, name in enumerate(("Marrowfield strict", "Marrowfield tolerant")):
        result[name] = (share(sum(s[k] >= ACCURACY for s in pos), len(pos)),
                        share(sum(s[k] >= ACCURACY for s in neg), len(neg)))
    for name, code in CODES.items():
        cache = {}
        same = lambda a, b: (cache.setdefault(a, code(a))  # noqa: E731
                             == cache.setdefault(b, code(b)))
        result[name] = (share(sum(same(a, b) for a, b in positives), len(pos)),
                        share(sum(same(a, b) for a, b in negatives), len(neg)))
    lower = [p for p, s in zip(positives + negatives, pos + neg) if s[1] < s[0]]
    return result, lower


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scorer")
    parser.add_argument("corpus")
    parser.add_argument("--negatives", type=int, default=2_000_000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--min-recall", type=float, default=TARGET_RECALL)
    parser.add_argument("--max-fpr", type=float, default=TARGET_FPR)
    args = parser.parse_args()

    groups = read_groups(args.corpus)
    positives = positive_pairs(groups)
    negatives = negative_pairs(groups, args.negatives, args.seed)
    result, lower = rates(positives, negatives, args.scorer)

    values = sum(len(g) for g in groups)
    print(f"{len(groups)} groups, {values} spellings: {len(positives)} "
          f"positive pairs, {len(negatives)} negative pairs; a score "
          f"matches at {ACCURACY} or more, a code when equal.\n")
    print("| method | recall | false-positive rate |")
    print("|---|---:|---:|")
    for name, (recall, fpr) in result.items():
        print(f"| {name} | {recall:.3f} | {fpr:.5f} |")

    if not args.check:
        return 0
    recall, fpr = result["Marrowfield tolerant"]
    failures = []
    if recall < args.min_recall or fpr > args.max_fpr:
        failures.append(f"tolerant recall {recall:.3f} at {fpr:.5f} misses "
                        f"{args.min_recall} at {args.max_fpr}")
    if recall <= result["Marrowfield strict"][0]:
        failures.append("tolerant finds no more than strict")
    if lower:
        failures.append(f"tolerant below strict on {len(lower)} pairs, "
                        f"such as {lower[0]}")
    for failure in failures:
        print(f"FAILED: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
