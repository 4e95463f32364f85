"""Tests of the binding's whole-list functions over the product library:
dedupe, link, compare_many, explain and scoring="tolerant".

Expected scores come from the binding's own compare() or from the
library's single comparison, never from copied output.
"""

import ctypes
import os
import subprocess
import sys
import threading
import unittest
from unittest import mock

import marrowfield
from marrowfield import _columns, _library, _lists

NAMES = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                     "..", "..", "data", "names", "names.tsv")


def corpus_values():
    with open(NAMES, encoding="utf-8") as names:
        next(names)
        return [line.rstrip("\n").split("\t")[1] for line in names]


def corpus_pairs():
    values = sorted(set(corpus_values()))
    pairs = []
    for i in range(len(values) - 1):
        pairs.append((values[i], values[i + 1]))
        pairs.append((values[i + 1], values[i]))
    return pairs


class CompareManyTest(unittest.TestCase):

    def test_equals_compare_for_every_pair(self):
        pairs = corpus_pairs()
        self.assertGreater(len(pairs), 1000)
        self.assertEqual(marrowfield.compare_many(pairs),
                         [marrowfield.compare(a, b) for a, b in pairs])

    def test_tolerant_equals_tolerant_compare(self):
        pairs = corpus_pairs()[:400]
        self.assertEqual(
            marrowfield.compare_many(pairs, scoring="tolerant"),
            [marrowfield.compare(a, b, scoring="tolerant") for a, b in pairs])

    def test_same_for_any_thread_count_and_from_many_python_threads(self):
        pairs = corpus_pairs()
        expected = marrowfield.compare_many(pairs, threads=1)
        for threads in (2, 7):
            self.assertEqual(marrowfield.compare_many(pairs, threads=threads),
                             expected)
        results = [None] * 4

        def work(k):
            results[k] = marrowfield.compare_many(pairs, threads=2)

        workers = [threading.Thread(target=work, args=(k,)) for k in range(4)]
        for worker in workers:
            worker.start()
        for worker in workers:
            worker.join()
        self.assertEqual(results, [expected] * 4)

    def test_str_subclasses_and_other_iterables_of_pairs_are_accepted(self):
        class Name(str):
            pass

        self.assertEqual(
            marrowfield.compare_many(iter([[Name("Smith"), "Smyth"]])),
            [marrowfield.compare("Smith", "Smyth")])

    def test_no_pairs_give_no_scores(self):
        self.assertEqual(marrowfield.compare_many([]), [])

    def test_bad_pairs_are_refused(self):
        with self.assertRaises(TypeError):
            marrowfield.compare_many([("a", "b", "c")])
        with self.assertRaises(TypeError):
            marrowfield.compare_many(["ab"])
        # Ā folds to A; Cyrillic has no ASCII form and is not Latin-1.
        with self.assertRaises(ValueError):
            marrowfield.compare_many([("a", "\u0416")])
        with self.assertRaises(ValueError):
            marrowfield.compare_many([("a", "\u0100")], fold=False)
        with self.assertRaises(ValueError):
            marrowfield.compare_many([("a", "b"), ("c", "d\0e")])
        with self.assertRaises(TypeError):
            marrowfield.compare_many([("a", b"b")])
        with self.assertRaises(ValueError):
            marrowfield.compare_many([("a", "b")], scoring="loose")
        with self.assertRaises(ValueError):
            marrowfield.compare_many([("a", "b")], threads=-1)


class DedupeTest(unittest.TestCase):

    def test_groups_count_repeats_and_score_against_the_canonical(self):
        values = ["Smith", "Smyth", "Smith", "Jones", "Smith", "Smythe", "x"]
        groups = marrowfield.dedupe(values)
        self.assertEqual(len(groups), 1)
        group = groups[0]
        self.assertEqual(group.canonical, "Smith")
        self.assertEqual(group.members[0].text, "Smith")
        self.assertEqual(group.members[0].count, 3)
        for member in group.members:
            self.assertEqual(member.count, values.count(member.text))
            self.assertEqual(member.score,
                             marrowfield.compare("Smith", member.text))
            self.assertIn(member.via, [m.text for m in group.members])

    def test_every_value_in_at_most_one_group_the_same_for_any_threads(self):
        values = corpus_values()
        groups = marrowfield.dedupe(values, accuracy=80, threads=1)
        seen = [m.text for g in groups for m in g.members]
        self.assertEqual(len(seen), len(set(seen)))
        self.assertGreater(len(groups), 10)
        totals = [sum(m.count for m in g.members) for g in groups]
        self.assertEqual(totals, sorted(totals, reverse=True))
        for threads in (2, 7):
            self.assertEqual(
                marrowfield.dedupe(values, accuracy=80, threads=threads),
                groups)

    def test_nothing_alike_gives_no_groups(self):
        self.assertEqual(marrowfield.dedupe([]), [])
        self.assertEqual(marrowfield.dedupe(["Smith"] * 5), [])
        self.assertEqual(marrowfield.dedupe(["12", "#", "--"]), [])

    def test_bad_arguments_are_refused(self):
        for bad in (-1, 101):
            with self.assertRaises(ValueError):
                marrowfield.dedupe(["a"], accuracy=bad)
        with self.assertRaises(TypeError):
            marrowfield.dedupe(["a"], accuracy="60")
        with self.assertRaises(TypeError):
            marrowfield.dedupe("Smith")
        with self.assertRaises(TypeError):
            marrowfield.dedupe(["Smith", 3])


class GroupPairsTest(unittest.TestCase):
    """Pairs found elsewhere (as marrowfield.dask finds them) grouped by
    the library: the groups dedupe() makes of the same values."""

    FULL_NAMES = os.path.join(os.path.dirname(NAMES), "full_names.tsv")

    def found_pairs(self, texts, counts, whole_cell, scoring):
        """The pairs dedupe()'s library call finds, as index lists."""
        lib = _library.load()
        pairs = ([], [], [])
        with _lists._groups(texts, counts, 60, scoring, whole_cell, 0,
                            True) as groups:
            for k in range(lib.mf_groups_pair_count(groups)):
                first, second = ctypes.c_size_t(), ctypes.c_size_t()
                score = ctypes.c_int()
                lib.mf_groups_pair(groups, k, ctypes.byref(first),
                                   ctypes.byref(second), ctypes.byref(score))
                for column, value in zip(pairs, (first, second, score)):
                    column.append(value.value)
        return pairs

    def test_the_pairs_dedupe_finds_give_its_groups_in_any_order(self):
        with open(self.FULL_NAMES, encoding="utf-8") as names:
            next(names)
            full = [line.rstrip("\n").split("\t")[1] for line in names]
        for values, whole_cell, scoring in (
                (corpus_values(), True, "strict"),
                (corpus_values(), True, "tolerant"),
                (full, False, "strict"),
                (full, False, "tolerant")):
            with self.subTest(whole_cell=whole_cell, scoring=scoring):
                # Repeats, so that the canonicals are not first seen.
                column = values + values[::3] + values[::7]
                texts, counts = _columns.distinct(column, "values")
                firsts, seconds, scores = self.found_pairs(
                    texts, counts, whole_cell, scoring)
                self.assertGreater(len(firsts), 100)
                # Reversed, and every other pair the other way round.
                order = list(range(len(firsts)))[::-1]
                given = ([seconds[k] if k % 2 else firsts[k] for k in order],
                         [firsts[k] if k % 2 else seconds[k] for k in order],
                         [scores[k] for k in order])
                want = marrowfield.dedupe(column, whole_cell=whole_cell,
                                          scoring=scoring)
                self.assertEqual(
                    _lists.group_pairs(texts, counts, given, 60, scoring,
                                       whole_cell, 0, True), want)
                spelling = dict(zip(texts, _lists.pair_spellings(
                    texts, counts, given, 60, scoring, whole_cell, 1, True)))
                self.assertEqual(
                    [spelling[v] for v in column],
                    marrowfield.canonical(column, whole_cell=whole_cell,
                                          scoring=scoring))

    def test_pairs_it_cannot_group_are_refused(self):
        for pairs in (([0], [5], [90]), ([1], [1], [90]), ([0], [1], [101]),
                      ([0, 1], [1, 0], [90, 90])):
            with self.subTest(pairs=pairs):
                with self.assertRaises(marrowfield.ArgumentError):
                    _lists.group_pairs(["Smith", "Smyth"], [1, 1], pairs, 60,
                                       "strict", True, 0, True)


class LinkTest(unittest.TestCase):

    def test_matches_best_first_scored_as_compare(self):
        links = marrowfield.link(["Smith", "Jones", "Smith", "Zzyzx"],
                                 ["Smyth", "Smithe", "Jonas", "Smith"])
        self.assertEqual(list(links), [v for v in ("Smith", "Jones")
                                       if v in links])
        self.assertNotIn("Zzyzx", links)
        for text, matches in links.items():
            scores = [m.score for m in matches]
            self.assertEqual(scores, sorted(scores, reverse=True))
            for match in matches:
                self.assertEqual(match.score,
                                 marrowfield.compare(text, match.text))
                self.assertGreaterEqual(match.score, 60)

    def test_best_keeps_the_top_score_only(self):
        everything = marrowfield.link(["Smith"], ["Smyth", "Smith", "Smithe"])
        best = marrowfield.link(["Smith"], ["Smyth", "Smith", "Smithe"],
                                best=True)
        top = everything["Smith"][0].score
        self.assertEqual(best["Smith"],
                         [m for m in everything["Smith"] if m.score == top])


class ExplainTest(unittest.TestCase):

    def test_percentage_is_compare_in_both_modes(self):
        for a, b in corpus_pairs()[:300]:
            for scoring in ("strict", "tolerant"):
                explanation = marrowfield.explain(a, b, scoring=scoring)
                self.assertEqual(explanation.percentage,
                                 marrowfield.compare(a, b, scoring=scoring))
                self.assertTrue(explanation.text.endswith(
                    "percentage: %d\n" % explanation.percentage))

    def test_phones_are_the_engines(self):
        explanation = marrowfield.explain("knight", "Smyth")
        self.assertEqual(explanation.phones1, marrowfield.phones("knight"))
        self.assertEqual(explanation.phones2, marrowfield.phones("Smyth"))

    def test_unknown_scoring_is_refused(self):
        with self.assertRaises(ValueError):
            marrowfield.explain("a", "b", scoring="fuzzy")
        with self.assertRaises(ValueError):
            marrowfield.compare("a", "b", scoring="fuzzy")


class FoldingTest(unittest.TestCase):
    """The whole-list functions fold as compare() does, unless fold=False."""

    ACCENTED = [("Zoë", "Zoe"), ("José", "Jose"), ("Müller", "Muller"),
                ("Łódź", "Lodz")]

    def test_each_function_scores_as_compare_with_and_without_folding(self):
        for fold in (True, False):
            for scoring in ("strict", "tolerant"):
                expected = [marrowfield.compare(a, b, scoring=scoring,
                                                fold=fold)
                            for a, b in self.ACCENTED[:3]]
                self.assertEqual(
                    marrowfield.compare_many(self.ACCENTED[:3],
                                             scoring=scoring, fold=fold),
                    expected)
                self.assertEqual(
                    [marrowfield.explain(a, b, scoring=scoring,
                                         fold=fold).percentage
                     for a, b in self.ACCENTED[:3]], expected)

    def test_accented_values_score_as_their_ascii_forms(self):
        for accented, plain in self.ACCENTED:
            for scoring in ("strict", "tolerant"):
                self.assertEqual(
                    marrowfield.compare(accented, plain, scoring=scoring),
                    marrowfield.compare(plain, plain, scoring=scoring))

    def test_dedupe_and_link_show_values_as_given(self):
        groups = marrowfield.dedupe(["José", "Jose", "Jose"])
        self.assertEqual([(m.text, m.score) for m in groups[0].members],
                         [("Jose", 100), ("José",
                                          marrowfield.compare("Jose", "Jose"))])
        self.assertEqual(marrowfield.link(["Zoë"], ["Zoe"]),
                         {"Zoë": [marrowfield.LinkMatch(
                             "Zoe", marrowfield.compare("Zoe", "Zoe"))]})
        self.assertNotIn("Zoë", marrowfield.link(["Zoë"], ["Zoe"],
                                                 accuracy=100, fold=False))
        with self.assertRaises(ValueError):  # not Latin-1 when not folded
            marrowfield.dedupe(["Łódź", "Lodz"], fold=False)


# Run in a fresh interpreter: what it maps is the package's doing alone.
MAPS_PROGRAM = """
import marrowfield
marrowfield.compare("Smith", "Smyth")
marrowfield.compare("Smith", "Smyth", scoring="tolerant")
marrowfield.dedupe(["Smith", "Smyth", "Jones"])
with open("/proc/self/maps") as maps:
    paths = {line.split()[-1] for line in maps if "/" in line}
print("\\n".join(sorted(p for p in paths
                         if "marrowfield" in os.path.basename(p).lower()
                         and ".so" in p)))
"""


class OneLibraryTest(unittest.TestCase):

    def test_a_process_using_compare_and_dedupe_maps_one_library(self):
        result = subprocess.run(
            [sys.executable, "-c", "import os\n" + MAPS_PROGRAM],
            capture_output=True, text=True, check=True)
        mapped = result.stdout.split()
        self.assertEqual(len(mapped), 1, mapped)
        self.assertTrue(os.path.basename(mapped[0]).startswith(
            _library.LIBRARY_NAME), mapped)

    def test_list_functions_load_the_library_the_variable_names(self):
        with mock.patch.dict(os.environ,
                             {_library.ENVIRONMENT_VARIABLE: "/nowhere/l.so"}):
            self.assertEqual(list(_library.candidate_paths()),
                             ["/nowhere/l.so"])
            with self.assertRaises(OSError) as caught:
                _library.load_first(_library.candidate_paths())
        self.assertIn(_library.ENVIRONMENT_VARIABLE, str(caught.exception))


if __name__ == "__main__":
    unittest.main()
