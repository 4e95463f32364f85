"""Tests of the marrowfield Python binding's word functions over the
product library.

Expected values come from the engine's documented behaviour (knight codes
to 43, the phrase fox sits at 10 in "the quick fox") or from the library
itself called directly through ctypes, never from copied output.
"""

import ctypes
import os
import threading
import unittest
from unittest import mock

import marrowfield
from marrowfield import _library


def library():
    return _library.load()


def direct_strings(handle):
    """The items of an mf_strings_t handle as str; destroys it."""
    lib = library()
    items = [lib.mf_strings_item(handle, i).decode()
             for i in range(lib.mf_strings_count(handle))]
    lib.mf_strings_destroy(handle)
    return items


def direct_compare(a, b):
    """compare_words' score straight from the library: whole cells, strict,
    unfolded."""
    lib = library()
    options = lib.mf_options_create()
    lib.mf_options_set_whole_cell(options, 1)
    score = ctypes.c_int(-1)
    status = lib.mf_compare(options, a.encode(), b.encode(),
                            ctypes.byref(score), None)
    lib.mf_options_destroy(options)
    assert status == _library.MF_OK
    return score.value


class CountingLibrary:
    """Forwards to the real library and counts string lists handed out
    and destroyed."""

    def __init__(self, real, fail_on_item=False):
        self._real = real
        self.opened = 0
        self.closed = 0
        self.fail_on_item = fail_on_item

    def __getattr__(self, name):
        return getattr(self._real, name)

    def mf_phones(self, *args):
        self.opened += 1
        return self._real.mf_phones(*args)

    def mf_similar(self, *args):
        self.opened += 1
        return self._real.mf_similar(*args)

    def mf_strings_item(self, *args):
        if self.fail_on_item:
            raise RuntimeError("reading failed")
        return self._real.mf_strings_item(*args)

    def mf_strings_destroy(self, handle):
        self.closed += 1
        self._real.mf_strings_destroy(handle)


class CompareTest(unittest.TestCase):

    def test_word_with_itself_is_100(self):
        self.assertEqual(marrowfield.compare("Smith", "Smith"), 100)

    def test_equals_compare_words_in_the_given_order(self):
        for a, b in [("Smith", "Smyth"), ("Catherine", "Katherine"),
                     ("Reid", "Read")]:
            self.assertEqual(marrowfield.compare(a, b), direct_compare(a, b))

    def test_text_without_letters_is_0(self):
        self.assertEqual(marrowfield.compare("Smith", "123"), 0)
        self.assertEqual(marrowfield.compare("", ""), 0)


class PhonesTest(unittest.TestCase):

    def test_lexicon_phones_without_stress(self):
        self.assertEqual(marrowfield.phones("knight"), ["n", "ay", "t"])

    def test_rules_mode_uses_letter_to_sound_rules(self):
        handle = ctypes.c_void_p()
        self.assertEqual(library().mf_phones(b"colonel", _library.MF_PHONES_RULES,
                                             ctypes.byref(handle), None),
                         _library.MF_OK)
        expected = direct_strings(handle)
        self.assertNotEqual(expected, marrowfield.phones("colonel"))
        self.assertEqual(marrowfield.phones("colonel", rules=True), expected)

    def test_no_letters_no_phones(self):
        self.assertEqual(marrowfield.phones("123"), [])


class CodeTest(unittest.TestCase):

    def test_documented_codes(self):
        self.assertEqual(marrowfield.code("knight"), "43")
        self.assertEqual(marrowfield.code("night"), "43")
        self.assertEqual(marrowfield.code("catherine"), "1374")

    def test_capitals_are_looked_up_as_given(self):
        self.assertEqual(marrowfield.code("KNIGHT"), "")

    def test_long_code_grows_the_buffer(self):
        word = "bcdfghjklmnpqrstvwxz"
        code = ctypes.c_void_p()
        library().mf_code(word.encode(), ctypes.byref(code), None)
        expected = ctypes.string_at(code.value).decode()
        library().mf_free(code)
        self.assertGreater(len(expected), 16)
        self.assertEqual(marrowfield.code(word), expected)


class SimilarTest(unittest.TestCase):

    def test_search_word_itself_comes_first_and_duplicates_stay(self):
        result = marrowfield.similar("smith", ["jones", "smyth", "smith",
                                               "smith"])
        self.assertEqual(result[:2], ["smith", "smith"])
        self.assertNotIn("jones", result)

    def test_threshold_100_keeps_only_identical_sounds(self):
        self.assertEqual(
            marrowfield.similar("smith", ["smyth", "smith", "smit"],
                                threshold=100), ["smith"])

    def test_threshold_applies_to_one_call_only(self):
        words = ["smyth", "smithe", "smit", "schmidt", "jones"]
        before = marrowfield.similar("smith", words)
        marrowfield.similar("smith", words, threshold=0)
        self.assertEqual(marrowfield.similar("smith", words), before)
        self.assertEqual(
            marrowfield.similar("smith", words,
                                threshold=marrowfield.DEFAULT_THRESHOLD),
            before)

    def test_candidates_may_be_any_iterable(self):
        self.assertEqual(marrowfield.similar("smith", iter(("smith",))),
                         ["smith"])
        self.assertEqual(marrowfield.similar("smith", []), [])

    def test_bad_thresholds(self):
        with self.assertRaises(ValueError):
            marrowfield.similar("smith", ["smith"], threshold=101)
        with self.assertRaises(ValueError):
            marrowfield.similar("smith", ["smith"], threshold=-1)
        with self.assertRaises(TypeError):
            marrowfield.similar("smith", ["smith"], threshold=50.5)
        with self.assertRaises(TypeError):
            marrowfield.similar("smith", ["smith"], threshold=True)

    def test_a_single_string_is_not_a_list(self):
        with self.assertRaises(TypeError):
            marrowfield.similar("smith", "smith")


class MatchTest(unittest.TestCase):

    def test_place_of_the_matched_word(self):
        self.assertEqual(marrowfield.match("fox", "the quick fox"),
                         marrowfield.Match(100, 10, 3))

    def test_place_counts_the_normalised_text(self):
        self.assertEqual(marrowfield.match("fox", "  The  quick, fox!").start,
                         10)

    def test_no_letters_gives_minus_one_without_place(self):
        self.assertEqual(marrowfield.match("123", "the quick fox"),
                         marrowfield.Match(-1, None, None))

    def test_word_matching_nowhere_gives_zero(self):
        # A one-phone text word cannot be aligned with a longer word.
        self.assertEqual(marrowfield.match("strength", "a"),
                         marrowfield.Match(0, -1, 0))

    def test_rules_mode(self):
        self.assertEqual(marrowfield.match("fox", "the fox", rules=True).start,
                         4)


class EncodingTest(unittest.TestCase):

    def test_latin1_characters_are_accepted(self):
        self.assertEqual(marrowfield.compare("José", "José"), 100)
        self.assertEqual(marrowfield.similar("Zoë", ["Zoë"]), ["Zoë"])

    def test_characters_outside_latin1_raise_a_clear_value_error(self):
        for call in (lambda: marrowfield.compare("Москва", "Moskva"),
                     lambda: marrowfield.phones("名前"),
                     lambda: marrowfield.code("€uro"),
                     lambda: marrowfield.similar("smith", ["ok", "Ωmega"]),
                     lambda: marrowfield.match("fox", "the fox ☺")):
            with self.assertRaises(ValueError) as caught:
                call()
            self.assertIn("Latin-1", str(caught.exception))

    def test_accented_text_is_folded_to_ascii(self):
        for accented, plain in (("José", "Jose"), ("Zoë", "Zoe"),
                                ("Müller", "Muller"), ("Łódź", "Lodz"),
                                ("François", "Francois"),
                                ("O’Neil", "O'Neil"), ("Straße", "Strasse")):
            self.assertEqual(marrowfield.fold(accented), plain)
            self.assertEqual(marrowfield.compare(accented, plain),
                             marrowfield.compare(plain, plain))
            self.assertEqual(marrowfield.phones(accented),
                             marrowfield.phones(plain))
        self.assertEqual(marrowfield.fold("Αθήνα ☺"), "Αθήνα ☺")

    def test_characters_c_cannot_take_stay_and_the_rest_is_folded(self):
        # NUL ends a C string and a lone surrogate has no UTF-8 form; the
        # text around them is still folded, as character by character.
        self.assertEqual(marrowfield.fold("Jos\u00e9\0Zo\u00eb"), "Jose\0Zoe")
        self.assertEqual(marrowfield.fold("\ud800\u00e9\udfff"),
                         "\ud800e\udfff")
        with self.assertRaises(ValueError):
            marrowfield.compare("\ud800", "Smith")

    def test_fold_false_keeps_the_bytes(self):
        self.assertEqual(marrowfield.compare("Zoë", "Zoe", fold=False),
                         marrowfield.compare("Zo", "Zoe"))
        with self.assertRaises(ValueError):
            marrowfield.compare("Łódź", "Lodz", fold=False)

    def test_similar_returns_candidates_as_given(self):
        self.assertEqual(
            marrowfield.similar("Jose", ["Jones", "José", "Jose", "José"],
                                threshold=100),
            ["José", "Jose", "José"])

    def test_nul_character_is_refused(self):
        with self.assertRaises(ValueError):
            marrowfield.compare("Smi\0th", "Smith")

    def test_only_str_is_accepted(self):
        with self.assertRaises(TypeError):
            marrowfield.compare(b"Smith", "Smith")
        with self.assertRaises(TypeError):
            marrowfield.phones(None)


class HandleTest(unittest.TestCase):

    def test_every_handle_is_closed(self):
        counting = CountingLibrary(library())
        with mock.patch.object(_library, "_lib", counting):
            marrowfield.phones("knight")
            marrowfield.phones("")
            marrowfield.similar("smith", ["smyth", "jones"])
            marrowfield.similar("smith", [])
        self.assertEqual(counting.opened, 4)
        self.assertEqual(counting.closed, 4)

    def test_handle_is_closed_when_reading_fails(self):
        counting = CountingLibrary(library(), fail_on_item=True)
        with mock.patch.object(_library, "_lib", counting):
            with self.assertRaises(RuntimeError):
                marrowfield.phones("knight")
        self.assertEqual((counting.opened, counting.closed), (1, 1))


class ThreadTest(unittest.TestCase):

    def test_calls_from_several_threads_give_the_sequential_answers(self):
        pairs = [("smith", w) for w in
                 ("smyth", "smithe", "schmidt", "jones", "smit")] * 20
        expected = [marrowfield.compare(a, b) for a, b in pairs]
        results = [None] * len(pairs)

        def work(offset):
            for i in range(offset, len(pairs), 4):
                results[i] = marrowfield.compare(*pairs[i])

        threads = [threading.Thread(target=work, args=(k,)) for k in range(4)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(results, expected)


class LibraryLookupTest(unittest.TestCase):

    def test_environment_variable_is_the_only_place_when_set(self):
        with mock.patch.dict(os.environ,
                             {_library.ENVIRONMENT_VARIABLE: "/x/lib.so"}):
            self.assertEqual(list(_library.candidate_paths()), ["/x/lib.so"])

    def test_without_it_the_package_folder_comes_first(self):
        with mock.patch.dict(os.environ, {}, clear=True):
            paths = list(_library.candidate_paths())
        package_dir = os.path.dirname(os.path.abspath(_library.__file__))
        self.assertEqual(paths[0],
                         os.path.join(package_dir, _library.LIBRARY_NAME))
        self.assertEqual(paths[-1], _library.LIBRARY_NAME)

    def test_missing_library_names_the_variable_and_the_places_tried(self):
        missing = "/nonexistent/libmarrowfield.so"
        with mock.patch.dict(os.environ,
                             {_library.ENVIRONMENT_VARIABLE: missing}):
            with self.assertRaises(OSError) as caught:
                _library.load_first(_library.candidate_paths())
        self.assertIn(_library.ENVIRONMENT_VARIABLE, str(caught.exception))
        self.assertIn(missing, str(caught.exception))


if __name__ == "__main__":
    unittest.main()
