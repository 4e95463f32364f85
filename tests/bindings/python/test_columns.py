"""Tests (pytest) of the binding as data work uses it: columns with missing
values, canonical() and link(aligned=True) aligned with their input, and
pandas Series in and out where pandas is installed.

Expected answers come from the binding's own dedupe() and link() on the
same values without the missing ones, never from copied output.
"""

import math
import os
import random
import subprocess
import sys
import threading

import pytest

import marrowfield

NAMES = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                     "..", "..", "data", "names", "names.tsv")


def corpus_values():
    with open(NAMES, encoding="utf-8") as names:
        next(names)
        return [line.rstrip("\n").split("\t")[1] for line in names]


def missing_kinds():
    """Every kind of missing value there is on this machine."""
    kinds = [pytest.param(None, id="None"),
             pytest.param(float("nan"), id="nan")]
    try:
        import numpy
        kinds.append(pytest.param(numpy.float64("nan"), id="numpy.nan"))
        kinds.append(pytest.param(numpy.float32("nan"), id="numpy.float32"))
    except ImportError:
        pass
    try:
        import pandas
        kinds.append(pytest.param(pandas.NA, id="pd.NA"))
    except ImportError:
        pass
    return kinds


def with_missing(values, missing, every=7):
    """|values| with |missing| put before every |every|-th one."""
    result = []
    for i, value in enumerate(values):
        if i % every == 0:
            result.append(missing)
        result.append(value)
    return result


def expected_canonical(values, **options):
    """Each value's suggested spelling, from dedupe()'s groups."""
    spelling = {}
    for group in marrowfield.dedupe(
            [v for v in values if isinstance(v, str)], **options):
        for member in group.members:
            spelling[member.text] = group.canonical
    return [spelling.get(v, v) if isinstance(v, str) else None
            for v in values]


VALUES = ["Smith", "Smyth", "Smith", "Jones", "Smithe", "Catherine",
          "Katherine", "Kathryn", "Zzyzx", "Reid", "Read", "Reed", "Smith"]


class TestMissingValues:

    @pytest.mark.parametrize("missing", missing_kinds())
    def test_dedupe_leaves_them_out(self, missing):
        values = corpus_values()[:600]
        assert marrowfield.dedupe(with_missing(values, missing)) == \
            marrowfield.dedupe(values)

    @pytest.mark.parametrize("missing", missing_kinds())
    def test_canonical_keeps_them_in_place_as_none(self, missing):
        values = with_missing(VALUES, missing, every=3)
        result = marrowfield.canonical(values)
        assert len(result) == len(values)
        for value, suggested in zip(values, result):
            if isinstance(value, str):
                assert isinstance(suggested, str)
            else:
                assert suggested is None
        assert [r for r in result if r is not None] == \
            marrowfield.canonical(VALUES)

    @pytest.mark.parametrize("missing", missing_kinds())
    def test_they_are_never_matched(self, missing):
        candidates = ["Smyth", missing, "Smith", missing]
        assert marrowfield.similar("Smith", candidates) == \
            marrowfield.similar("Smith", ["Smyth", "Smith"])
        assert marrowfield.link(["Smith", missing], candidates) == \
            marrowfield.link(["Smith"], ["Smyth", "Smith"])
        assert marrowfield.link([missing, "Smith"], candidates,
                                aligned=True, best=True) == [None, "Smith"]

    @pytest.mark.parametrize("missing", missing_kinds())
    def test_compare_many_gives_none_in_place(self, missing):
        pairs = [("Smith", "Smyth"), (missing, "Smith"), ("Reid", missing),
                 ("Reid", "Read")]
        assert marrowfield.compare_many(pairs) == [
            marrowfield.compare("Smith", "Smyth"), None, None,
            marrowfield.compare("Reid", "Read")]

    def test_other_non_str_values_are_still_refused(self):
        for bad in (3, 2.5, b"Smith", ("Smith",)):
            with pytest.raises(TypeError):
                marrowfield.dedupe(["Smith", bad])
            with pytest.raises(TypeError):
                marrowfield.canonical(["Smith", bad])
            with pytest.raises(TypeError):
                marrowfield.link(["Smith"], ["Smyth", bad])
        with pytest.raises(TypeError):
            marrowfield.canonical([["Smith"]])


class TestCanonical:

    @pytest.mark.parametrize("options", [
        {}, {"accuracy": 80}, {"accuracy": 50}, {"scoring": "tolerant"},
        {"whole_cell": True}, {"fold": False}, {"threads": 1}])
    def test_is_the_suggested_spelling_of_dedupes_groups(self, options):
        values = corpus_values()
        random.Random(5).shuffle(values)
        assert marrowfield.canonical(values, **options) == \
            expected_canonical(values, **options)

    def test_values_in_no_group_are_themselves_and_repeats_agree(self):
        result = marrowfield.canonical(VALUES)
        assert result[VALUES.index("Zzyzx")] == "Zzyzx"
        # Smith occurs most often, so it is its group's spelling.
        assert [result[i] for i, v in enumerate(VALUES)
                if v in ("Smith", "Smyth", "Smithe")] == ["Smith"] * 5

    def test_takes_any_iterable_and_folds_as_dedupe(self):
        assert marrowfield.canonical(iter(["José", "Jose", "Jose"])) == \
            ["Jose", "Jose", "Jose"]
        assert marrowfield.canonical([]) == []
        assert marrowfield.canonical([None, float("nan")]) == [None, None]

    def test_same_for_any_thread_count_and_from_many_python_threads(self):
        values = corpus_values()
        expected = marrowfield.canonical(values, threads=1)
        results = [None] * 4

        def work(k):
            results[k] = marrowfield.canonical(values, threads=2)

        workers = [threading.Thread(target=work, args=(k,)) for k in range(4)]
        for worker in workers:
            worker.start()
        for worker in workers:
            worker.join()
        assert results == [expected] * 4

    def test_bad_arguments_raise_as_dedupe(self):
        with pytest.raises(TypeError):
            marrowfield.canonical("Smith")
        with pytest.raises(marrowfield.ArgumentError):
            marrowfield.canonical(VALUES, accuracy=101)
        with pytest.raises(ValueError):
            marrowfield.canonical(VALUES, scoring="loose")
        with pytest.raises(TypeError):
            marrowfield.canonical(VALUES, accuracy="60")


class TestAlignedLink:

    A = ["Smith", "Jones", None, "Smith", "Zzyzx", "Catherine"]
    B = ["Smyth", "Smithe", "Jonas", "Smith", "Katherine", None, "Kathryn"]

    def test_best_is_the_first_best_match_or_none(self):
        matches = marrowfield.link(self.A, self.B, best=True)
        aligned = marrowfield.link(self.A, self.B, best=True, aligned=True)
        assert len(aligned) == len(self.A)
        for value, best in zip(self.A, aligned):
            if value in matches:
                assert best == matches[value][0].text
            else:
                assert best is None
        assert aligned[2] is None and aligned[4] is None

    def test_without_best_each_entry_holds_every_match(self):
        matches = marrowfield.link(self.A, self.B)
        aligned = marrowfield.link(self.A, self.B, aligned=True)
        assert aligned == [None if v is None else matches.get(v, [])
                           for v in self.A]

    def test_default_is_still_the_dict(self):
        assert isinstance(marrowfield.link(self.A, self.B), dict)


class TestPandas:

    @pytest.fixture
    def pd(self):
        return pytest.importorskip("pandas")

    def test_series_in_series_out_on_the_same_index(self, pd):
        values = with_missing(VALUES, None, every=4)
        # An index that is not 0..n-1 shows the result is aligned by it.
        index = [100 - 3 * i for i in range(len(values))]
        series = pd.Series(values, index=index, name="name")
        result = marrowfield.canonical(series)
        assert isinstance(result, pd.Series)
        assert list(result.index) == index
        assert result.name == "name"
        assert result.tolist() == marrowfield.canonical(values)

    def test_dataframe_column_assignment(self, pd):
        frame = pd.DataFrame({"name": VALUES + [None, float("nan")]},
                             index=list(range(len(VALUES) + 2))[::-1])
        frame["clean"] = marrowfield.canonical(frame["name"])
        expected = expected_canonical(frame["name"].tolist())
        assert frame["clean"].tolist() == expected
        assert frame.loc[frame["name"] == "Smyth", "clean"].tolist() == \
            ["Smith"]

    def test_string_dtype_with_pd_na(self, pd):
        series = pd.Series(["Smith", pd.NA, "Smyth"], dtype="string")
        assert marrowfield.canonical(series).tolist() == \
            ["Smith", None, "Smith"]
        assert marrowfield.dedupe(series) == \
            marrowfield.dedupe(["Smith", "Smyth"])

    def test_aligned_link_of_a_series(self, pd):
        series = pd.Series(["Smith", None, "Zzyzx"], index=["x", "y", "z"])
        result = marrowfield.link(series, ["Smyth"], best=True, aligned=True)
        assert isinstance(result, pd.Series)
        assert list(result.index) == ["x", "y", "z"]
        assert result.tolist() == ["Smyth", None, None]


def run_python(program, **environment):
    """Runs |program| in a fresh interpreter with the test's environment
    plus |environment|; returns its standard output."""
    env = dict(os.environ, **environment)
    result = subprocess.run([sys.executable, "-c", program], env=env,
                            capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    return result.stdout


class TestFreshProcess:

    def test_pandas_is_not_imported_unless_given(self):
        out = run_python(
            "import sys, marrowfield\n"
            "marrowfield.canonical(['Smith', None, 'Smyth'])\n"
            "marrowfield.link(['Smith'], ['Smyth'], aligned=True)\n"
            "print('pandas' in sys.modules)")
        assert out.strip() == "False"

    def test_import_and_ascii_folding_work_without_the_library(self):
        out = run_python(
            "import marrowfield\n"
            "print(marrowfield.fold('O\\'Neil'))\n"
            "for call in (lambda: marrowfield.fold('Zo\\u00eb'),\n"
            "             lambda: marrowfield.compare('a', 'b'),\n"
            "             lambda: marrowfield.canonical(['a'])):\n"
            "    try:\n"
            "        call()\n"
            "    except marrowfield.LibraryNotFoundError as error:\n"
            "        print(isinstance(error, marrowfield.Error),\n"
            "              isinstance(error, OSError),\n"
            "              'MARROWFIELD_LIBRARY' in str(error),\n"
            "              '/nowhere/libmarrowfield.so' in str(error))\n",
            MARROWFIELD_LIBRARY="/nowhere/libmarrowfield.so")
        assert out.splitlines() == ["O'Neil"] + ["True True True True"] * 3

    def test_the_library_is_mapped_on_first_use_not_on_import(self):
        out = run_python(
            "import marrowfield\n"
            "def mapped():\n"
            "    with open('/proc/self/maps') as maps:\n"
            "        return any('libmarrowfield' in line for line in maps)\n"
            "print(mapped())\n"
            "marrowfield.compare('Smith', 'Smyth')\n"
            "print(mapped())\n")
        assert out.split() == ["False", "True"]


class TestErrors:

    def test_every_own_exception_derives_from_error(self):
        for name, builtin in (("ArgumentError", ValueError),
                              ("LibraryNotFoundError", OSError),
                              ("OutOfMemoryError", MemoryError),
                              ("EngineError", RuntimeError)):
            cls = getattr(marrowfield, name)
            assert issubclass(cls, marrowfield.Error)
            assert issubclass(cls, builtin)

    @pytest.mark.parametrize("call", [
        lambda: marrowfield.compare("Smith", "Smyth", scoring="loose"),
        lambda: marrowfield.compare("Łódź", "Lodz", fold=False),
        lambda: marrowfield.phones("Smi\0th"),
        lambda: marrowfield.similar("Smith", ["Smyth"], accuracy=101),
        lambda: marrowfield.dedupe(["Smith"], accuracy=-1),
        lambda: marrowfield.link(["Smith"], ["Smyth"], threads=-1),
        lambda: marrowfield.explain("Smith", "Smyth", scoring="fuzzy"),
        lambda: marrowfield.compare_many([("a", "\u0416")]),
    ], ids=["scoring", "latin1", "nul", "similar", "dedupe", "threads",
            "explain", "compare_many"])
    def test_bad_values_raise_argument_error_a_value_error(self, call):
        with pytest.raises(marrowfield.ArgumentError) as caught:
            call()
        assert isinstance(caught.value, ValueError)
        assert str(caught.value).startswith("marrowfield: ")

    def test_wrong_types_raise_type_error(self):
        for call in (lambda: marrowfield.compare(b"Smith", "Smith"),
                     lambda: marrowfield.fold(None),
                     lambda: marrowfield.dedupe(["a", 3]),
                     lambda: marrowfield.similar("a", ["b"], accuracy=50.0)):
            with pytest.raises(TypeError):
                call()


class TestSimilarAccuracy:

    WORDS = ["Smyth", "Smithe", "Smit", "Schmidt", "Jones", "smith"]

    def test_threshold_is_accuracy_with_a_deprecation_warning(self):
        for level in (0, 50, 75, 100):
            with pytest.warns(DeprecationWarning, match="accuracy"):
                old = marrowfield.similar("Smith", self.WORDS,
                                          threshold=level)
            assert old == marrowfield.similar("Smith", self.WORDS,
                                              accuracy=level)

    def test_default_is_default_threshold(self):
        assert marrowfield.DEFAULT_THRESHOLD == 50
        assert marrowfield.similar("Smith", self.WORDS) == \
            marrowfield.similar("Smith", self.WORDS, accuracy=50)
        assert marrowfield.similar("Smith", self.WORDS, 90) == \
            marrowfield.similar("Smith", self.WORDS, accuracy=90)

    def test_errors_name_the_argument_given(self):
        with pytest.raises(marrowfield.ArgumentError, match="accuracy"):
            marrowfield.similar("Smith", self.WORDS, accuracy=101)
        with pytest.warns(DeprecationWarning):
            with pytest.raises(marrowfield.ArgumentError, match="threshold"):
                marrowfield.similar("Smith", self.WORDS, threshold=101)
        with pytest.raises(TypeError, match="not both"):
            marrowfield.similar("Smith", self.WORDS, accuracy=50,
                                threshold=50)


class TestTypedPackage:

    def test_package_carries_py_typed(self):
        package_dir = os.path.dirname(os.path.abspath(marrowfield.__file__))
        assert os.path.isfile(os.path.join(package_dir, "py.typed"))

    def test_every_public_function_is_annotated(self):
        import inspect
        functions = [getattr(marrowfield, name) for name in marrowfield.__all__
                     if inspect.isfunction(getattr(marrowfield, name))]
        assert len(functions) >= 11
        for function in functions:
            signature = inspect.signature(function)
            assert signature.return_annotation is not signature.empty, \
                function.__name__
            for parameter in signature.parameters.values():
                assert parameter.annotation is not parameter.empty, \
                    (function.__name__, parameter.name)

    def test_nan_is_a_float_nan(self):
        # The missing value of plain Python, as a reader of CSV files
        # without pandas gets it.
        assert marrowfield.canonical([math.nan, "Smith"]) == [None, "Smith"]
