"""The Python part of the golden battery: every public function of the
marrowfield package with its options, over the shared inputs, each result
printed by repr under the case's label (an exception as its type and
message). Run by run_golden.py in a child interpreter whose PYTHONPATH and
MARROWFIELD_LIBRARY / MARROWFIELD_LISTS_LIBRARY name the build under test;
it writes to standard output only.
"""

import sys

import marrowfield
from golden_inputs import (DEDUPE_VALUES, LINK_A, LINK_B, MATCHES, PAIRS,
                           SIMILAR, WORDS, both_orders, short)


def show_items(result):
    """A list or dict one entry a line, so that a diff names the group or
    value that moved rather than one long line."""
    if isinstance(result, dict):
        entries = ["%r: %r" % item for item in result.items()]
    else:
        entries = [repr(entry) for entry in result]
    return "\n".join([type(result).__name__ + " of %d" % len(entries)] +
                     entries)


def show_explanation(result):
    """The fields on one line, the explanation's own text below it."""
    return repr(result._replace(text=None)) + "\n" + result.text.rstrip("\n")


def case(label, call, show=repr):
    """Prints |label| and show() of call(), or the exception it raises."""
    try:
        result = show(call())
    except Exception as error:  # every failure is part of the record
        result = "raises %s: %s" % (type(error).__name__, error)
    sys.stdout.write("=== %s\n%s\n" % (label, result))


def latin1(texts, folding):
    """Whether the engine can be given every text of |texts|."""
    try:
        for text in texts:
            (marrowfield.fold(text) if folding else text).encode("latin-1")
    except UnicodeEncodeError:
        return False
    return True


def word_cases():
    for word in WORDS:
        w = short(word)
        case("phones(%s)" % w, lambda: marrowfield.phones(word))
        case("phones(%s, rules=True)" % w,
             lambda: marrowfield.phones(word, rules=True))
        case("phones(%s, fold=False)" % w,
             lambda: marrowfield.phones(word, fold=False))
        case("code(%s)" % w, lambda: marrowfield.code(word))
        case("code(%s, fold=False)" % w,
             lambda: marrowfield.code(word, fold=False))
        case("fold(%s)" % w, lambda: marrowfield.fold(word))
    for value in (None, 42, b"Smith"):
        case("fold(%r)" % (value,), lambda: marrowfield.fold(value))
        case("phones(%r)" % (value,), lambda: marrowfield.phones(value))
        case("code(%r)" % (value,), lambda: marrowfield.code(value))


def pair_cases():
    for a, b in PAIRS:
        for first, second in both_orders(a, b):
            x, y = short(first), short(second)
            case("compare(%s, %s)" % (x, y),
                 lambda: marrowfield.compare(first, second))
            case("compare(%s, %s, scoring='tolerant')" % (x, y),
                 lambda: marrowfield.compare(first, second,
                                             scoring="tolerant"))
            case("compare(%s, %s, fold=False)" % (x, y),
                 lambda: marrowfield.compare(first, second, fold=False))
    case("compare('Smith', 'Smyth', scoring='loose')",
         lambda: marrowfield.compare("Smith", "Smyth", scoring="loose"))
    case("compare('Smith', None)", lambda: marrowfield.compare("Smith", None))
    case("compare('Smith', 'Sm\\0yth')",
         lambda: marrowfield.compare("Smith", "Sm\0yth"))
    # The engine reads Latin-1: pairs it cannot be given have cases of
    # their own.
    pairs = [p for p in PAIRS if latin1(p, True)]
    unfolded = [p for p in PAIRS if latin1(p, False)]
    for whole_cell in (True, False):
        for scoring in ("strict", "tolerant"):
            case("compare_many(pairs, scoring=%r, whole_cell=%r)"
                 % (scoring, whole_cell),
                 lambda: marrowfield.compare_many(
                     pairs, scoring=scoring, whole_cell=whole_cell))
    case("compare_many(pairs, threads=1)",
         lambda: marrowfield.compare_many(pairs, threads=1))
    case("compare_many(unfolded pairs, fold=False)",
         lambda: marrowfield.compare_many(unfolded, fold=False))
    case("compare_many(PAIRS) with CJK",
         lambda: marrowfield.compare_many(PAIRS))
    case("compare_many([])", lambda: marrowfield.compare_many([]))
    case("compare_many('ab')", lambda: marrowfield.compare_many("ab"))
    case("compare_many([('a',)])", lambda: marrowfield.compare_many([("a",)]))
    case("compare_many(threads=-1)",
         lambda: marrowfield.compare_many(pairs, threads=-1))


def match_cases():
    for phrase, text in MATCHES:
        p, t = short(phrase), short(text)
        case("match(%s, %s)" % (p, t), lambda: marrowfield.match(phrase, text))
        case("match(%s, %s, rules=True)" % (p, t),
             lambda: marrowfield.match(phrase, text, rules=True))
        case("match(%s, %s, fold=False)" % (p, t),
             lambda: marrowfield.match(phrase, text, fold=False))
    for word, candidates, threshold in SIMILAR:
        label = "similar(%s, %r" % (short(word), candidates)
        case(label + ", threshold=%d)" % threshold,
             lambda: marrowfield.similar(word, candidates, threshold))
        case(label + ", threshold=%d, fold=False)" % threshold,
             lambda: marrowfield.similar(word, candidates, threshold,
                                         fold=False))
    case("similar('Smith', ['Smyth', 'Smithe'])",
         lambda: marrowfield.similar("Smith", ["Smyth", "Smithe"]))
    for threshold in (101, -1, True, "50", 50.0):
        case("similar('Smith', ['Smyth'], threshold=%r)" % (threshold,),
             lambda: marrowfield.similar("Smith", ["Smyth"], threshold))
    case("similar('Smith', 'Smyth')",
         lambda: marrowfield.similar("Smith", "Smyth"))
    case("similar('Smith', iter(['Smyth', 'Smithe']))",
         lambda: marrowfield.similar("Smith", iter(["Smyth", "Smithe"])))


def list_cases():
    for whole_cell in (False, True):
        for scoring in ("strict", "tolerant"):
            for accuracy in (60, 80, 0):
                label = "(accuracy=%d, scoring=%r, whole_cell=%r)" % (
                    accuracy, scoring, whole_cell)
                case("dedupe(DEDUPE_VALUES)" + label,
                     lambda: marrowfield.dedupe(
                         DEDUPE_VALUES, accuracy, scoring, whole_cell),
                     show_items)
                case("link(LINK_A, LINK_B)" + label,
                     lambda: marrowfield.link(
                         LINK_A, LINK_B, accuracy, scoring=scoring,
                         whole_cell=whole_cell), show_items)
    case("dedupe(DEDUPE_VALUES, fold=False)",
         lambda: marrowfield.dedupe(DEDUPE_VALUES, fold=False),
         show_items)
    case("dedupe(DEDUPE_VALUES, threads=1)",
         lambda: marrowfield.dedupe(DEDUPE_VALUES, threads=1),
         show_items)
    case("dedupe([])", lambda: marrowfield.dedupe([]))
    case("dedupe(['123', ''])", lambda: marrowfield.dedupe(["123", ""]))
    case("dedupe('Smith')", lambda: marrowfield.dedupe("Smith"))
    case("dedupe([['x']])", lambda: marrowfield.dedupe([["x"]]))
    case("dedupe(['Smith', 3])", lambda: marrowfield.dedupe(["Smith", 3]))
    case("dedupe(['東京'])", lambda: marrowfield.dedupe(["東京", "Tokyo"]))
    case("dedupe(accuracy=101)",
         lambda: marrowfield.dedupe(DEDUPE_VALUES, accuracy=101))
    case("dedupe(scoring='loose')",
         lambda: marrowfield.dedupe(DEDUPE_VALUES, scoring="loose"))
    case("link(LINK_A, LINK_B, best=True)",
         lambda: marrowfield.link(LINK_A, LINK_B, best=True),
         show_items)
    case("link(LINK_A, LINK_B, fold=False)",
         lambda: marrowfield.link(LINK_A, LINK_B, fold=False),
         show_items)
    case("link(LINK_A, LINK_B, threads=1)",
         lambda: marrowfield.link(LINK_A, LINK_B, threads=1),
         show_items)
    case("link(LINK_B, LINK_A)", lambda: marrowfield.link(LINK_B, LINK_A),
         show_items)
    case("link([], LINK_B)", lambda: marrowfield.link([], LINK_B))
    case("link(LINK_A, [])", lambda: marrowfield.link(LINK_A, []))
    case("link('Smith', LINK_B)", lambda: marrowfield.link("Smith", LINK_B))
    case("link(LINK_A, LINK_B, accuracy=-1)",
         lambda: marrowfield.link(LINK_A, LINK_B, accuracy=-1))
    records = [{"first": "John", "last": "Smith", "city": "Boston"},
               {"first": "Jon", "last": "Smyth", "city": "boston"},
               {"first": "John", "last": "Smith", "city": "Austin"},
               {"first": "Mary", "last": None, "city": "Reno"},
               {"first": "Mary", "last": None, "city": "Reno"}]
    case("dedupe_records(RECORDS, name=['first', 'last'], same=['city'])",
         lambda: marrowfield.dedupe_records(records, name=["first", "last"],
                                            same=["city"]))
    case("dedupe_records(RECORDS, name=['first'], also=['last'])",
         lambda: marrowfield.dedupe_records(records, name=["first"],
                                            also=["last"]))
    case("dedupe_records(RECORDS, name=['first'], same=['first'])",
         lambda: marrowfield.dedupe_records(records, name=["first"],
                                            same=["first"]))


def explain_cases():
    # Tolerant explanations that pair two unlike phones by force (ones the
    # strict walk leaves unpaired) are left out: their text is about to
    # change on purpose.
    strict = [("Smith", "Smyth"), ("Thompson", "Thomson"),
              ("Catherine", "Kathryn"), ("Knight", "Night"), ("Reid", "Read"),
              ("Schmidt", "Smith"), ("Smith, John", "Jon Smyth"),
              ("Smith", ""), ("", ""), ("123", "Smith"), ("José", "Jose"),
              ("Philip", "Filip")]
    tolerant = [("Smith", "Smyth"), ("Thompson", "Thomson"),
                ("Knight", "Night"), ("Reid", "Read"), ("Smith", "Smithe"),
                ("José", "Jose"), ("Smith", ""), ("123", "Smith"),
                ("Catherine", "Kathryn"), ("Catherine", "Katrina"),
                ("Schmidt", "Smith"), ("Philip", "Filip"), ("Smith", "Jones")]
    for a, b in strict:
        case("explain(%r, %r)" % (a, b), lambda: marrowfield.explain(a, b),
             show_explanation)
    for a, b in tolerant:
        case("explain(%r, %r, scoring='tolerant')" % (a, b),
             lambda: marrowfield.explain(a, b, scoring="tolerant"),
             show_explanation)
    case("explain('José', 'Jose', fold=False)",
         lambda: marrowfield.explain("José", "Jose", fold=False),
         show_explanation)
    case("explain('Smith', 'Smyth', scoring='loose')",
         lambda: marrowfield.explain("Smith", "Smyth", scoring="loose"))
    case("explain('東京', 'Tokyo')",
         lambda: marrowfield.explain("東京", "Tokyo"))


def constants():
    case("DEFAULT_THRESHOLD, DEFAULT_ACCURACY",
         lambda: (marrowfield.DEFAULT_THRESHOLD, marrowfield.DEFAULT_ACCURACY))
    case("__all__", lambda: sorted(marrowfield.__all__))
    case("Match fields", lambda: marrowfield.Match._fields)
    case("Group, Member, LinkMatch, Explanation fields",
         lambda: (marrowfield.Group._fields, marrowfield.Member._fields,
                  marrowfield.LinkMatch._fields,
                  marrowfield.Explanation._fields))


def main():
    constants()
    word_cases()
    pair_cases()
    match_cases()
    list_cases()
    explain_cases()


if __name__ == "__main__":
    main()
