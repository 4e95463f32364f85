"""Tests (pytest) of dedupe_records(): rows grouped by name within equal
same columns, held against a slow, plain reference built from the
binding's own compare_many(), aligned with a DataFrame's index, and the
arguments it refuses.
"""

import csv
import os

import pytest

import marrowfield

HERE = os.path.dirname(os.path.abspath(__file__))
NAMES = os.path.join(HERE, "..", "..", "data", "names", "full_names.tsv")
CUSTOMERS = os.path.join(HERE, "..", "..", "..", "examples", "customers.csv")
CITIES = ["Boston", "Austin", "Reno"]


def corpus_rows(limit=300):
    """Full names of the corpus split into first and last, round three
    cities two names at a time, so variants meet in one city and in
    others."""
    with open(NAMES, encoding="utf-8") as names:
        next(names)
        full = [line.rstrip("\n").split("\t")[1] for line in names][:limit]
    rows = []
    for i, name in enumerate(full):
        first, _, last = name.rpartition(" ")
        rows.append({"first": first, "last": last,
                     "city": CITIES[(i // 2) % len(CITIES)]})
    return rows


def partition(groups):
    """The groups as a set of frozensets of row indexes."""
    members = {}
    for row, group in enumerate(groups):
        if group is not None:
            members.setdefault(group, set()).add(row)
    return {frozenset(rows) for rows in members.values()}


def reference_partition(rows, accuracy):
    """Rows connected through pairs of one city whose joined names score
    at least accuracy word by word: every pair scored, no blocking."""
    names = [" ".join(part for part in (row["first"], row["last"]) if part)
             for row in rows]
    pairs = [(i, j) for i in range(len(rows)) for j in range(i + 1, len(rows))
             if rows[i]["city"] == rows[j]["city"]]
    scores = marrowfield.compare_many([(names[i], names[j]) for i, j in pairs],
                                      whole_cell=False)
    parent = list(range(len(rows)))

    def find(x):
        while parent[x] != x:
            x = parent[x]
        return x

    linked = set()
    for (i, j), score in zip(pairs, scores):
        if score >= accuracy:
            parent[find(j)] = find(i)
            linked.update((i, j))
    members = {}
    for row in linked:
        members.setdefault(find(row), set()).add(row)
    return {frozenset(group) for group in members.values()}


def without_initials(rows):
    """Rows whose names hold no initial, which would join one group only
    (dedupe()'s rule for "J. Smith"), unlike the plain reference."""
    def has_initial(text):
        words = "".join(c if c.isalpha() or c == "'" else " "
                        for c in text).split()
        return any(len(word) == 1 for word in words)
    return [row for row in rows
            if not has_initial(row["first"] + " " + row["last"])]


def test_groups_are_the_city_by_city_connected_pairs():
    rows = without_initials(corpus_rows())
    for accuracy in (60, 80):
        found = marrowfield.dedupe_records(rows, name=["first", "last"],
                                           same=["city"], accuracy=accuracy)
        assert len(found) == len(rows)
        expected = reference_partition(rows, accuracy)
        assert expected, "the sample must hold duplicates"
        assert partition(found) == expected


def test_same_answer_for_frames_mappings_and_thread_counts():
    pandas = pytest.importorskip("pandas")
    rows = corpus_rows(200)
    listed = marrowfield.dedupe_records(rows, name=["first", "last"],
                                        same=["city"], threads=1)
    frame = pandas.DataFrame(rows, index=[i * 3 + 7 for i in range(len(rows))])
    series = marrowfield.dedupe_records(frame, name=["first", "last"],
                                        same="city", threads=2)
    assert list(series.index) == list(frame.index)
    assert series.tolist() == listed
    assert marrowfield.dedupe_records(iter(rows), name=["first", "last"],
                                      same=["city"], threads=5) == listed


def test_missing_values_are_empty_fields():
    nan = float("nan")
    rows = [{"first": "John", "last": "Smith", "city": "Boston"},
            {"first": "Jon", "last": "Smyth", "city": " BOSTON"},
            {"first": "John", "last": "Smith", "city": None},
            {"first": "John", "last": "Smith", "city": nan},
            {"first": nan, "last": None, "city": "Boston"}]
    groups = marrowfield.dedupe_records(rows, name=["first", "last"],
                                        same=["city"])
    assert groups[0] is not None and groups[0] == groups[1]
    assert groups[2:] == [None, None, None]


def test_also_columns_can_only_keep_pairs_apart():
    rows = [{"name": "John Smith", "city": "Leeds", "firm": "Blue Ridge"},
            {"name": "Jon Smyth", "city": "Leeds", "firm": "Blew Ridge"},
            {"name": "John Smith", "city": "York", "firm": "Blue Ridge"},
            {"name": "Jon Smyth", "city": "York", "firm": "Zebra Taxi"}]
    groups = marrowfield.dedupe_records(rows, name=["name"], same=["city"],
                                        also=["firm"])
    assert groups[0] is not None and groups[0] == groups[1]
    assert groups[2:] == [None, None]


def test_example_customers_entered_twice():
    with open(CUSTOMERS, newline="", encoding="utf-8") as source:
        rows = list(csv.DictReader(source))
    groups = marrowfield.dedupe_records(
        rows, name=["FirstName", "LastName"], same=["City"])
    group_of = {row["CustomerID"]: group for row, group in zip(rows, groups)}
    for planted in ("C-10301", "C-10302", "C-10303", "C-10304", "C-10305",
                    "C-10306"):
        assert group_of[planted] is not None, planted
        partners = [row for row, group in zip(rows, groups)
                    if group == group_of[planted]]
        assert len({row["City"] for row in partners}) == 1
    assert group_of["C-10307"] is None
    assert group_of["C-10308"] is None


@pytest.mark.parametrize("call, error", [
    (lambda: marrowfield.dedupe_records([{"a": "x"}], name=[]),
     marrowfield.ArgumentError),
    (lambda: marrowfield.dedupe_records([{"a": "x"}], name=["a"], same=["a"]),
     marrowfield.ArgumentError),
    (lambda: marrowfield.dedupe_records([{"a": "x"}], name=["a", "a"]),
     marrowfield.ArgumentError),
    (lambda: marrowfield.dedupe_records([{"a": "x"}], name=["b"]),
     marrowfield.ArgumentError),
    (lambda: marrowfield.dedupe_records("rows", name=["a"]), TypeError),
    (lambda: marrowfield.dedupe_records(["a"], name=["a"]), TypeError),
    (lambda: marrowfield.dedupe_records([{"a": 5}], name=["a"]), TypeError),
    (lambda: marrowfield.dedupe_records([{"a": "x"}], name=["a"],
                                        accuracy=101),
     marrowfield.ArgumentError),
    (lambda: marrowfield.dedupe_records([{"a": "x"}], name=5), TypeError),
])
def test_refused_arguments(call, error):
    with pytest.raises(error):
        call()
