"""The SQL part of the golden battery: every function and the operator of
the extension over the shared inputs, the settings, and the GIN operator
class through an index, as a psql script.

script() is one psql script whose every case \\echo-es its label before its
query; psql runs it with tuples only, unaligned, so each result is one
plain line. error_cases() are statements that must fail: each runs in a
psql of its own so that its error line cannot overtake the output of the
cases before it (psql writes errors unbuffered, results buffered).
"""

from golden_inputs import (DEDUPE_VALUES, LINK_B, MATCHES, PAIRS, WORDS,
                           both_orders, short)


def literal(text):
    """|text| as an SQL string literal (standard_conforming_strings)."""
    return "'" + text.replace("'", "''") + "'"


def _case(label, query):
    return "\\echo %s\n%s;\n" % (literal("=== " + label), query)


def _function_cases():
    out = []
    for a, b in PAIRS:
        for x, y in both_orders(a, b):
            out.append(_case("marrowfield_score(%s, %s)" % (short(x), short(y)),
                             "SELECT marrowfield_score(%s, %s)"
                             % (literal(x), literal(y))))
    for word in WORDS:
        w = short(word)
        out.append(_case("marrowfield_phones(%s)" % w,
                         "SELECT marrowfield_phones(%s)" % literal(word)))
        out.append(_case("marrowfield_phones(%s, true)" % w,
                         "SELECT marrowfield_phones(%s, true)" % literal(word)))
        out.append(_case("marrowfield_code(%s)" % w,
                         "SELECT marrowfield_code(%s)" % literal(word)))
        out.append(_case("marrowfield_keys(%s)" % w,
                         "SELECT marrowfield_keys(%s)" % literal(word)))
    for phrase, text in MATCHES:
        out.append(_case("marrowfield_match(%s, %s)"
                         % (short(phrase), short(text)),
                         "SELECT (marrowfield_match(%s, %s)).*"
                         % (literal(phrase), literal(text))))
    out.append(_case("marrowfield_match named arguments",
                     "SELECT * FROM marrowfield_match(body => 'Mr Smyth', "
                     "phrase => 'smith')"))
    for query in ("marrowfield_score(NULL, 'Smith')",
                  "marrowfield_score('Smith', NULL)",
                  "marrowfield_phones(NULL)", "marrowfield_phones('Smith', NULL)",
                  "marrowfield_code(NULL)", "marrowfield_keys(NULL)",
                  "(marrowfield_match(NULL, 'Smith')).*",
                  "marrowfield_sounds_like(NULL, 'Smith')",
                  "'Smith' %~ NULL", "NULL %~ 'Smith'"):
        out.append(_case(query, "SELECT " + query))
    return out


def _operator_cases():
    out = [_case("SHOW marrowfield.accuracy", "SHOW marrowfield.accuracy"),
           _case("SHOW marrowfield.cache_size", "SHOW marrowfield.cache_size")]
    for accuracy in (None, 0, 50, 80, 100):
        if accuracy is not None:
            out.append("SET marrowfield.accuracy = %d;\n" % accuracy)
        at = "default" if accuracy is None else str(accuracy)
        for a, b in PAIRS[:20]:
            for x, y in both_orders(a, b):
                out.append(_case(
                    "accuracy %s: %s %%~ %s, marrowfield_sounds_like"
                    % (at, short(x), short(y)),
                    "SELECT %s %%~ %s, marrowfield_sounds_like(%s, %s)"
                    % (literal(x), literal(y), literal(x), literal(y))))
    out.append("RESET marrowfield.accuracy;\n")
    out.append("SET marrowfield.cache_size = 0;\n")
    out.append(_case("cache off: scores of every pair",
                     "SELECT string_agg(coalesce(marrowfield_score(a, b)::text,"
                     " 'NULL'), ',' ORDER BY n) FROM golden_pairs"))
    out.append("RESET marrowfield.cache_size;\n")
    out.append(_case("cache on: scores of every pair",
                     "SELECT string_agg(coalesce(marrowfield_score(a, b)::text,"
                     " 'NULL'), ',' ORDER BY n) FROM golden_pairs"))
    return out


def _index_cases():
    values = DEDUPE_VALUES + LINK_B
    rows = ",\n  ".join("(%d, %s)" % (i, literal(v))
                        for i, v in enumerate(values))
    out = ["CREATE TABLE golden_people (id int, name text);\n",
           "INSERT INTO golden_people VALUES\n  %s;\n" % rows,
           "CREATE INDEX ON golden_people USING gin "
           "(name marrowfield_gin_ops);\n",
           "ANALYZE golden_people;\n"]
    queries = ["Smith", "Thompson", "Catherine", "Knight", "José", "Reid",
               "Jon Smyth", "", "123"]
    for scan in ("sequential scan", "index scan"):
        if scan == "index scan":
            out.append("SET enable_seqscan = off;\n")
        for accuracy in (60, 80, 40):
            out.append("SET marrowfield.accuracy = %d;\n" % accuracy)
            for q in queries:
                out.append(_case(
                    "%s, accuracy %d: names %%~ %s" % (scan, accuracy,
                                                       short(q)),
                    "SELECT string_agg(id::text || ':' || name, ', ' "
                    "ORDER BY id) FROM golden_people WHERE name %%~ %s"
                    % literal(q)))
        out.append(_case(
            "%s, accuracy 40: self-join pairs" % scan,
            "SELECT count(*), sum(a.id * 100 + b.id) FROM golden_people a "
            "JOIN golden_people b ON a.name %~ b.name AND a.id < b.id"))
    out.append("RESET ALL;\n")
    return out


def script():
    """The whole psql script: set-up, then every case in a fixed order."""
    pairs = ",\n  ".join("(%d, %s, %s)" % (n, literal(a), literal(b))
                         for n, (a, b) in enumerate(PAIRS))
    setup = ("\\set ON_ERROR_STOP 1\n"
             "\\pset null NULL\n"
             "SET client_encoding = 'UTF8';\n"
             "CREATE EXTENSION marrowfield;\n"
             "CREATE TABLE golden_pairs (n int, a text, b text);\n"
             "INSERT INTO golden_pairs VALUES\n  %s;\n" % pairs)
    return setup + "".join(_function_cases() + _operator_cases() +
                           _index_cases())


def error_cases():
    """(label, statement) pairs, each expected to fail on its own."""
    return [
        ("SET marrowfield.accuracy = 101", "SET marrowfield.accuracy = 101"),
        ("SET marrowfield.accuracy = -1", "SET marrowfield.accuracy = -1"),
        ("SET marrowfield.accuracy = 'high'",
         "SET marrowfield.accuracy = 'high'"),
        ("SET marrowfield.cache_size = -1", "SET marrowfield.cache_size = -1"),
        ("SET marrowfield.cache_size = '1GB'",
         "SET marrowfield.cache_size = '1GB'"),
        ("marrowfield_score with one argument",
         "SELECT marrowfield_score('Smith')"),
        ("marrowfield_phones of an int", "SELECT marrowfield_phones(42)"),
    ]
