#!/usr/bin/env python3
"""Cross-checks the built engine library against the Python reference.

Usage: compare_with_reference.py [path/to/libMarrowfieldExcel.so]
(or the path in the environment variable MARROWFIELD_LIBRARY).

The library is asked for phones only (`get_phonemes`), since the reference
does not model Flite; every other result -- word comparison, list search,
phonetic codes and phrase matching -- is computed both ways on thousands of
generated inputs and must agree exactly.  Inputs come from the system word
list (/usr/share/dict/american-english from the Debian package wamerican, or
the file named by MARROWFIELD_WORDLIST) and from names.txt beside this
script, drawn with a fixed seed so that a failure can be reproduced.
Prints the number of checks and mismatches and exits 1 on any mismatch.
"""

import ctypes
import os
import random
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import marrowfield_reference as ref  # noqa: E402
import reference_inputs as inputs  # noqa: E402

SEED = 20240611
DEFAULT_WORDLIST = "/usr/share/dict/american-english"
SHOWN_MISMATCHES = 8
UNWRITTEN = -12345  # what an output parameter holds until the library writes


class Library:
    """The exported C interface, loaded with ctypes."""

    def __init__(self, path):
        lib = ctypes.CDLL(path)
        handle = ctypes.c_void_p
        text = ctypes.c_char_p
        signatures = {
            "initialize": (ctypes.c_int, []),
            "un_initialize": (None, []),
            "set_threshold": (None, [ctypes.c_uint]),
            "get_phonemes": (handle, [text, ctypes.c_int]),
            "compare_words": (ctypes.c_int, [text, text]),
            "get_codes_for_word": (ctypes.c_int, [text, text, ctypes.c_uint]),
            "get_similar_words_from_list": (
                handle, [text, ctypes.POINTER(text), ctypes.c_uint]),
            "get_result_size": (ctypes.c_int, [handle]),
            "get_result_item": (text, [handle, ctypes.c_int]),
            "close_result_iterator": (None, [handle]),
            "match_sub_string_phonetically": (
                ctypes.c_int, [text, text, ctypes.POINTER(ctypes.c_int),
                               ctypes.POINTER(ctypes.c_int), ctypes.c_int]),
        }
        for name, (restype, argtypes) in signatures.items():
            function = getattr(lib, name)
            function.restype = restype
            function.argtypes = argtypes
        self.lib = lib
        self.phone_cache = {}

    def drain(self, h):
        if not h:
            raise RuntimeError("the library returned a null list")
        try:
            return [self.lib.get_result_item(h, i)
                    for i in range(self.lib.get_result_size(h))]
        finally:
            self.lib.close_result_iterator(h)

    def phonemes(self, word, mode):
        """The library's phones for |word|: the reference's only oracle."""
        key = (word, mode)
        if key not in self.phone_cache:
            items = self.drain(self.lib.get_phonemes(word, mode))
            self.phone_cache[key] = [p.decode("ascii") for p in items]
        return self.phone_cache[key]

    def similar_words(self, word, candidates):
        array = (ctypes.c_char_p * len(candidates))(*candidates)
        return self.drain(self.lib.get_similar_words_from_list(
            word, array, len(candidates)))

    def codes_for_word(self, word, size):
        """Returns (result, whole buffer); the buffer starts as '#'s."""
        assert size <= 64
        buffer = ctypes.create_string_buffer(b"#" * 63, 64)
        return self.lib.get_codes_for_word(word, buffer, size), buffer.raw

    def match(self, phrase, text, mode):
        start = ctypes.c_int(UNWRITTEN)
        length = ctypes.c_int(UNWRITTEN)
        score = self.lib.match_sub_string_phonetically(
            phrase, text, ctypes.byref(start), ctypes.byref(length), mode)
        return score, start.value, length.value


class Tally:
    def __init__(self):
        self.checks = {}
        self.mismatches = []

    def check(self, kind, given, expected, actual, explain=None):
        """Counts one check; |explain| is called only for a mismatch."""
        self.checks[kind] = self.checks.get(kind, 0) + 1
        if expected != actual:
            detail = explain() if explain else ""
            self.mismatches.append((kind, given, expected, actual, detail))

    def report(self):
        for kind in sorted(self.checks):
            bad = sum(1 for m in self.mismatches if m[0] == kind)
            print("  %-38s %7d checks, %5d mismatches"
                  % (kind, self.checks[kind], bad))
        total = sum(self.checks.values())
        print("%d checks, %d mismatches" % (total, len(self.mismatches)))
        for kind, given, expected, actual, detail in \
                self.mismatches[:SHOWN_MISMATCHES]:
            print("\nMISMATCH in %s" % kind)
            print("  inputs:    %r" % (given,))
            print("  reference: %r" % (expected,))
            print("  library:   %r" % (actual,))
            if detail:
                print("  " + detail.replace("\n", "\n  "))
        return total, len(self.mismatches)


def phones_text(lib, word, mode=ref.MODE_LEXICON):
    return " ".join(lib.phonemes(ref.CleanWord(word), mode)) or "(none)"


# ---------------------------------------------------------------------------
# The checks
# ---------------------------------------------------------------------------

ALIGNMENT_STEPS = [
    "match", "pass over extra phone", "pass over current phone",
    "pass over previous phone", "pass over previous vowel after vowel",
    "nothing left over", "left over in walked list", "left over in other list",
]
REFUSALS = [
    "refused extra phone", "refused current phone", "refused previous phone",
    "nothing near", "refused left-over phone",
]


def check_compare_words(lib, tally, pairs):
    transcribe = lib.phonemes
    scoring_steps = set()
    refusals = set()
    for a, b in pairs:
        expected = ref.compare_words(a, b, transcribe)
        tally.check(
            "compare_words", (a, b), expected, lib.lib.compare_words(a, b),
            lambda: "phones: %s | %s\nreference distance: %r" % (
                phones_text(lib, a), phones_text(lib, b),
                ref.CompareWords(a, b, transcribe)))
        steps = inputs.alignment_steps(transcribe, a, b)
        refusals.update(steps)
        if 0 < expected < 100:
            scoring_steps.update(steps)
    # A kind of step that no scoring pair went through would let a fault
    # there go unseen.
    for kind in ALIGNMENT_STEPS:
        tally.check("alignment step reached with a score", kind, True,
                    kind in scoring_steps)
    for kind in REFUSALS:
        tally.check("alignment refusal reached", kind, True, kind in refusals)


def check_transcription_cleaning(lib, tally, words):
    # The reference cleans words itself and hands the cleaned form to the
    # library, so the library's own cleaning must agree with it.
    for w in words:
        for mode in (ref.MODE_LEXICON, ref.MODE_LTS_ONLY):
            tally.check("get_phonemes cleaning", (w, mode),
                        lib.phonemes(ref.CleanWord(w), mode),
                        lib.phonemes(w, mode))


def check_list_search(lib, tally, rng, groups, all_words, lower_words,
                      searches):
    transcribe = lib.phonemes
    names = [n for g in groups for n in g]
    for index in range(searches):
        if index == 0:
            percent = None  # the first search runs before any set_threshold
        else:
            percent = [0, 30, 50, 75, 100][index % 5]
        if rng.random() < 0.6:
            group = rng.choice(groups)
            search = rng.choice(group)
        else:
            group = None
            search = rng.choice(lower_words)
        candidates = inputs.candidate_list(rng, search, group, all_words,
                                           lower_words, names)
        if percent is None:
            threshold = ref.DEFAULT_DISTANCE_THRESHOLD
        else:
            lib.lib.set_threshold(percent)
            threshold = ref.ThresholdForPercent(percent)
        expected = ref.GetSimilarWords(search, candidates, threshold,
                                       transcribe)
        actual = lib.similar_words(search, candidates)

        def explain():
            same = 0
            while (same < min(len(expected), len(actual))
                   and expected[same] == actual[same]):
                same += 1
            ranked = ref.RankCandidates(
                search, [c for c in candidates if c is not None], threshold,
                transcribe)
            lines = ["threshold %r%%; the lists part at index %d" % (
                percent, same),
                "reference there: %r" % ranked[same:same + 3],
                "library there:   %r" % actual[same:same + 3]]
            odd = sorted(set(expected) ^ set(actual))
            for w in odd[:4]:
                lines.append("%r: reference distance %r, phones %s | %s" % (
                    w, ref.MeasureWordPair(search, w, transcribe)[0],
                    phones_text(lib, search), phones_text(lib, w)))
            return "\n".join(lines)

        tally.check("get_similar_words_from_list",
                    (search, "%d candidates" % len(candidates), percent),
                    expected, actual, explain)
    lib.lib.set_threshold(50)


def check_order_sensitive_search(lib, tally, pairs, limit):
    """For equally long phone lists the two walk orders can disagree, and
    the list search averages them.  Sweeping the threshold over such a pair
    finds exactly where the candidate drops out."""
    transcribe = lib.phonemes
    chosen = []
    for a, b in sorted(set(pairs)):
        p1 = transcribe(ref.CleanWord(a), ref.MODE_LEXICON)
        p2 = transcribe(ref.CleanWord(b), ref.MODE_LEXICON)
        if (p1 and len(p1) == len(p2) and ref.GetDistanceForWords(p1, p2)
                != ref.GetDistanceForWords(p2, p1)):
            chosen.append((a, b))
    chosen = chosen[:limit]
    for a, b in chosen:
        for percent in range(0, 101):
            lib.lib.set_threshold(percent)
            expected = ref.GetSimilarWords(
                a, [b], ref.ThresholdForPercent(percent), transcribe)
            tally.check("list search, order-sensitive pair", (a, b, percent),
                        expected, lib.similar_words(a, [b]))
    lib.lib.set_threshold(50)
    # Without such pairs the averaging would go untested.
    tally.check("order-sensitive pairs found", limit, True,
                len(chosen) >= limit // 2)


def check_codes(lib, tally, words):
    for n, w in enumerate(words):
        # Only words that clean to themselves: for them the cleaned lookup
        # behind get_phonemes is the raw lookup behind the codes.
        assert ref.CleanWord(w) == w
        phones = lib.phonemes(w, ref.MODE_LEXICON)
        code = ref.GetCodes(phones).encode("ascii")
        result, buffer = lib.codes_for_word(w, 64)
        written = buffer[:buffer.index(b"\0")]
        tally.check("get_codes_for_word", (w, " ".join(phones)),
                    (len(code), code), (result, written))
        if n % 10 == 0:
            # A buffer with no room for the NUL is left as it was.
            result, buffer = lib.codes_for_word(w, len(code))
            tally.check("get_codes_for_word short buffer", w,
                        (len(code), b"#" * 63 + b"\0"), (result, buffer))


def check_phrase_match(lib, tally, pairs):
    for phrase, text in pairs:
        for mode in (ref.MODE_LEXICON, ref.MODE_LTS_ONLY):
            score, start, length = ref.MatchPhrase(phrase, text, mode,
                                                   lib.phonemes)
            # Unwritten outputs keep the value the caller put there.
            expected = (score, UNWRITTEN if start is None else start,
                        UNWRITTEN if length is None else length)
            tally.check(
                "match_sub_string_phonetically mode %d" % mode,
                (phrase, text), expected, lib.match(phrase, text, mode),
                lambda: "normalised phrase %r, text %r" % (
                    ref.TrimSpaces(ref.CleanWord(phrase)),
                    ref.TrimSpaces(ref.CleanWord(text))))


def main(argv):
    path = argv[1] if len(argv) > 1 else os.environ.get("MARROWFIELD_LIBRARY")
    if not path:
        print("usage: compare_with_reference.py LIBRARY "
              "(or set MARROWFIELD_LIBRARY)", file=sys.stderr)
        return 2
    wordlist = os.environ.get("MARROWFIELD_WORDLIST", DEFAULT_WORDLIST)
    if not os.path.exists(wordlist):
        print("word list %s is missing (install the Debian package "
              "wamerican)" % wordlist, file=sys.stderr)
        return 2

    began = time.time()
    rng = random.Random(SEED)
    lib = Library(os.path.abspath(path))
    tally = Tally()
    tally.check("initialize", (), 0, lib.lib.initialize())

    dictionary = inputs.load_words(wordlist)
    groups = inputs.load_name_groups(os.path.join(HERE, "names.txt"))
    all_words = rng.sample(dictionary, 6000)
    lower_words = [w for w in dictionary if inputs.LOWER_WORD.match(w)]
    names = [n for g in groups for n in g]

    # The codes go first: they transcribe every lower-case word once, which
    # the word-pair generators then find in the cache.
    check_codes(lib, tally, sorted(set(lower_words) | {
        n for n in names if inputs.LOWER_WORD.match(n)}))
    pairs = inputs.compare_pairs(lib.phonemes, rng, groups, all_words,
                                 lower_words)
    check_compare_words(lib, tally, pairs)
    check_transcription_cleaning(lib, tally, sorted(
        {w for pair in pairs for w in pair if ref.CleanWord(w) != w}))
    check_list_search(lib, tally, rng, groups, all_words, lower_words,
                      searches=200)
    check_order_sensitive_search(lib, tally, pairs, limit=150)
    check_phrase_match(lib, tally,
                       inputs.phrase_pairs(rng, groups, all_words, 2000))

    lib.lib.un_initialize()
    total, bad = tally.report()
    print("(%.1f s)" % (time.time() - began))
    return 1 if bad or total == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
