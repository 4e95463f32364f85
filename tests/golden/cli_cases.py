"""The command-line part of the golden battery: the cases, and the files
they read.

Every case runs the program in a scratch folder holding only the files of
input_files() (and a copy of examples/), so that names in its output are
relative and the same on every machine. A case is (label, arguments,
standard input or None, names of files whose contents are printed after
the run).
"""

from golden_inputs import (DEDUPE_VALUES, LINK_A, LINK_B, MATCHES, PAIRS,
                           SIMILAR, WORDS, both_orders, short)


def _csv_field(value):
    if any(c in value for c in ',"\n'):
        return '"' + value.replace('"', '""') + '"'
    return value


def input_files():
    """The files the cases read: {relative name: bytes}."""
    names = "Name\n" + "".join(_csv_field(v) + "\n" for v in DEDUPE_VALUES)
    two_columns = "First,Last\n" + "".join(
        "%s,%s\n" % (_csv_field(v), _csv_field(w))
        for v, w in zip(DEDUPE_VALUES, reversed(DEDUPE_VALUES)))
    return {
        "names.csv": names.encode(),
        "names.tsv": names.replace(",", "\t").encode(),
        "names.txt": "".join(v + "\n" for v in DEDUPE_VALUES).encode(),
        "two_columns.csv": two_columns.encode(),
        "a.csv": ("Name\n" + "".join(_csv_field(v) + "\n"
                                     for v in LINK_A)).encode(),
        "b.csv": ("Who\n" + "".join(_csv_field(v) + "\n"
                                    for v in LINK_B)).encode(),
        "candidates.txt": "Smyth\r\nSmithe\r\n\r\nSchmidt\r\nJones\r\n"
                          "smith\r\nSmyth\r\nJosé\r\n".encode(),
        "latin1.txt": "Jos\xe9\nM\xfcller\nSmyth\n".encode("latin-1"),
        "empty.csv": b"",
        "no_letters.csv": b"Id\n1\n2\n3\n",
        "not_a_workbook.xlsx": b"this is not a zip archive\n",
        "bad_quotes.csv": b'Name\n"Smith\nSmyth"x,y\n',
        "nul.txt": b"Smith\nSm\0yth\n",
    }


def _word_cases():
    # Not --version: a new release changes it and nothing else, and
    # tools/package_test.sh checks it.
    cases = [("--help", ["--help"], None, [])]
    for command in ("search", "compare", "phones", "code", "similar",
                    "match", "dedupe", "link", "explain"):
        cases.append((command + " --help", [command, "--help"], None, []))
    for a, b in PAIRS:
        for first, second in both_orders(a, b):
            label = "compare %s %s" % (short(first), short(second))
            cases.append((label, ["compare", "--", first, second], None, []))
            cases.append((label + " tolerant",
                          ["compare", "--scoring", "tolerant", "--", first,
                           second], None, []))
    for a, b in (("José", "Jose"), ("Müller", "Muller"), ("Zoë", "Zoe"),
                 ("O'Neil", "O’Neil")):
        cases.append(("compare %s %s --no-fold" % (short(a), short(b)),
                      ["compare", "--no-fold", a, b], None, []))
    for word in WORDS:
        cases.append(("phones %s" % short(word), ["phones", "--", word],
                      None, []))
        cases.append(("phones %s --rules" % short(word),
                      ["phones", "--rules", "--", word], None, []))
        cases.append(("code %s" % short(word), ["code", "--", word], None,
                      []))
    cases.append(("phones several words", ["phones", "Knight", "Night",
                                           "Reid", "Read"], None, []))
    for word in ("José", "Müller", "straße", "O’Neil"):
        cases.append(("phones %s --no-fold" % short(word),
                      ["phones", "--no-fold", word], None, []))
        cases.append(("code %s --no-fold" % short(word),
                      ["code", "--no-fold", word], None, []))
    for phrase, text in MATCHES:
        label = "match %s %s" % (short(phrase), short(text))
        cases.append((label, ["match", "--", phrase, text], None, []))
        cases.append((label + " --rules", ["match", "--rules", "--", phrase,
                                           text], None, []))
    cases.append(("match 'Müller' in 'Herr Müller' --no-fold",
                  ["match", "--no-fold", "Müller", "Herr Müller"], None, []))
    for word, candidates, threshold in SIMILAR:
        stdin = "".join(c + "\n" for c in candidates)
        label = "similar %s -t %d (%d lines)" % (short(word), threshold,
                                                 len(candidates))
        cases.append((label, ["similar", "-t", str(threshold), "--", word],
                      stdin, []))
        cases.append((label + " tolerant",
                      ["similar", "-t", str(threshold), "--scoring",
                       "tolerant", "--", word], stdin, []))
    cases += [
        ("similar file with CRLF and an empty line",
         ["similar", "Smith", "candidates.txt"], None, []),
        ("similar Latin-1 file", ["similar", "-t", "0", "Jose",
                                  "latin1.txt"], None, []),
        ("similar José --no-fold", ["similar", "--no-fold", "José",
                                    "candidates.txt"], None, []),
    ]
    return cases


def _explain_cases():
    # The tolerant pairs are those whose explanation pairs no two unlike
    # phones that the strict walk leaves unpaired ("Smith, John" against
    # "Jon Smyth" does): the text of such forced pairings is about to be
    # mended on purpose, and would only be noise here.
    strict_pairs = [("Smith", "Smyth"), ("Thompson", "Thomson"),
                    ("Catherine", "Kathryn"), ("Knight", "Night"),
                    ("Reid", "Read"), ("Schmidt", "Smith"),
                    ("Smith", "Jones"), ("Stephen", "Steven"),
                    ("José", "Jose"), ("Smith", ""), ("123", "Smith"),
                    ("Smith", "Smithe"), ("Philip", "Filip")]
    tolerant_pairs = [("Smith", "Smyth"), ("Thompson", "Thomson"),
                      ("Knight", "Night"), ("Reid", "Read"),
                      ("Smith", "Smithe"), ("Stephen", "Steven"),
                      ("José", "Jose"), ("Smith", ""), ("123", "Smith"),
                      ("Catherine", "Kathryn"), ("Catherine", "Katrina"),
                      ("Schmidt", "Smith"), ("Philip", "Filip"),
                      ("Smith", "Jones")]
    cases = []
    for a, b in strict_pairs:
        cases.append(("explain %s %s" % (short(a), short(b)),
                      ["explain", "--", a, b], None, []))
    for a, b in tolerant_pairs:
        cases.append(("explain %s %s tolerant" % (short(a), short(b)),
                      ["explain", "--scoring", "tolerant", "--", a, b], None,
                      []))
    cases.append(("explain 'José' 'Jose' --no-fold",
                  ["explain", "--no-fold", "José", "Jose"], None, []))
    return cases


def _search_cases():
    cases = []
    for book in ("examples/customers.csv", "examples/customers.xlsx"):
        for text, extra in (("Smith", []), ("Thompson", ["-a", "60"]),
                            ("Catherine", ["-f", "json"]),
                            ("Knight", ["-f", "csv"]),
                            ("Jon Smyth", []), ("José", []),
                            ("José", ["--no-fold"]),
                            ("Reid", ["--scoring", "tolerant"]),
                            ("Xzqwv", []), ("Xzqwv", ["-f", "json"]),
                            ("Smith", ["-a", "95"])):
            cases.append(("search %s %s %s" % (short(text), book,
                                               " ".join(extra)),
                          ["search"] + extra + ["--", text, book], None, []))
    cases += [
        ("search Smith in both examples",
         ["search", "Smith", "examples/customers.csv",
          "examples/customers.xlsx"], None, []),
        ("search Smith xlsx --all-sheets",
         ["search", "--all-sheets", "Smith", "examples/customers.xlsx"],
         None, []),
        ("search Smith tsv", ["search", "Smith", "names.tsv"], None, []),
        ("search Smith csv --delimiter semicolon",
         ["search", "--delimiter", "semicolon", "Smith", "names.csv"], None,
         []),
        ("search Smith bad quotes", ["search", "Smith", "bad_quotes.csv"],
         None, []),
        ("search Smith bad quotes --strict",
         ["search", "--strict", "Smith", "bad_quotes.csv"], None, []),
        ("search Smith standard input csv",
         ["search", "Smith", "-"], "Name\nSmyth\nJones\nSmithe\n", []),
        ("search Smith standard input --input-format tsv",
         ["search", "--input-format", "tsv", "Smith", "-"],
         "A\tB\nSmyth\tJones\n", []),
        ("search Smith no letters", ["search", "Smith", "no_letters.csv"],
         None, []),
        ("search Smith empty file", ["search", "Smith", "empty.csv"], None,
         []),
    ]
    return cases


def _list_cases():
    cases = []
    variants = [([], "text"), (["-f", "json"], "json"),
                (["-f", "csv", "-m", "mapping.csv"], "csv with mapping"),
                (["--scoring", "tolerant"], "tolerant"),
                (["--whole-cell"], "whole cell"),
                (["--whole-cell", "--scoring", "tolerant"],
                 "whole cell tolerant"),
                (["-a", "80"], "accuracy 80"), (["-a", "0"], "accuracy 0"),
                (["--no-fold"], "no fold"), (["-j", "1"], "one thread")]
    for extra, name in variants:
        mapped = ["mapping.csv"] if "-m" in extra else []
        cases.append(("dedupe names.csv %s" % name,
                      ["dedupe"] + extra + ["names.csv"], None, mapped))
    cases += [
        ("dedupe customers.csv LastName",
         ["dedupe", "-c", "LastName", "examples/customers.csv"], None, []),
        ("dedupe customers.csv FirstName json",
         ["dedupe", "-c", "FirstName", "-f", "json",
          "examples/customers.csv"], None, []),
        ("dedupe customers.xlsx column C",
         ["dedupe", "-c", "C", "examples/customers.xlsx"], None, []),
        ("dedupe customers.xlsx every column csv mapping",
         ["dedupe", "-f", "csv", "-m", "mapping.csv",
          "examples/customers.xlsx"], None, ["mapping.csv"]),
        ("dedupe customers.csv records annotated",
         ["dedupe", "--name", "FirstName,LastName", "--same", "City",
          "--annotate", "annotated.csv", "-f", "csv",
          "examples/customers.csv"], None, ["annotated.csv"]),
        ("dedupe two files", ["dedupe", "names.csv", "a.csv"], None, []),
        ("dedupe two columns", ["dedupe", "two_columns.csv"], None, []),
        ("dedupe names.txt", ["dedupe", "names.txt"], None, []),
        ("dedupe no letters", ["dedupe", "no_letters.csv"], None, []),
        ("dedupe no letters json", ["dedupe", "-f", "json",
                                    "no_letters.csv"], None, []),
        ("dedupe standard input", ["dedupe", "-"],
         "Name\nSmith\nSmyth\nJones\n", []),
    ]
    link_variants = [([], "text"), (["-f", "json"], "json"),
                     (["-f", "csv"], "csv"), (["--best"], "best"),
                     (["--scoring", "tolerant"], "tolerant"),
                     (["--whole-cell"], "whole cell"),
                     (["--whole-cell", "--scoring", "tolerant"],
                      "whole cell tolerant"),
                     (["-a", "90"], "accuracy 90"), (["--no-fold"], "no fold")]
    for extra, name in link_variants:
        cases.append(("link a.csv b.csv %s" % name,
                      ["link"] + extra + ["a.csv", "b.csv"], None, []))
    cases += [
        ("link a.csv b.csv columns",
         ["link", "-c", "Name", "--column-b", "Who", "a.csv", "b.csv"], None,
         []),
        ("link a.csv customers.csv LastName",
         ["link", "-c", "Name", "--column-b", "LastName", "a.csv",
          "examples/customers.csv"], None, []),
        ("link a.csv customers.xlsx column C json",
         ["link", "-f", "json", "--column-b", "C", "a.csv",
          "examples/customers.xlsx"], None, []),
        ("link nothing found", ["link", "no_letters.csv", "b.csv"], None,
         []),
    ]
    return cases


def _bad_input_cases():
    return [
        ("no subcommand", [], None, []),
        ("unknown subcommand", ["frobnicate"], None, []),
        ("compare bad option", ["compare", "--bogus", "a", "b"], None, []),
        ("compare one word", ["compare", "Smith"], None, []),
        ("compare dash word without --", ["compare", "-Smith", "Smith"],
         None, []),
        ("compare bad scoring", ["compare", "--scoring", "loose", "a", "b"],
         None, []),
        ("phones no word", ["phones"], None, []),
        ("similar bad threshold 101", ["similar", "-t", "101", "Smith"],
         "Smyth\n", []),
        ("similar bad threshold -1", ["similar", "-t", "-1", "Smith"],
         "Smyth\n", []),
        ("similar bad threshold abc", ["similar", "-t", "abc", "Smith"],
         "Smyth\n", []),
        ("similar word without letters", ["similar", "123"], "Smyth\n", []),
        ("similar missing file", ["similar", "Smith", "missing.txt"], None,
         []),
        ("similar NUL byte", ["similar", "Smith", "nul.txt"], None, []),
        ("search missing file", ["search", "Smith", "missing.csv"], None,
         []),
        ("search no file", ["search", "Smith"], None, []),
        ("search bad accuracy", ["search", "-a", "200", "Smith",
                                 "names.csv"], None, []),
        ("search bad format", ["search", "-f", "xml", "Smith", "names.csv"],
         None, []),
        ("search bad delimiter", ["search", "--delimiter", "ab", "Smith",
                                  "names.csv"], None, []),
        ("search not a workbook", ["search", "Smith",
                                   "not_a_workbook.xlsx"], None, []),
        ("search unknown sheet", ["search", "--sheet", "Nope", "Smith",
                                  "examples/customers.xlsx"], None, []),
        ("search text without letters", ["search", "123", "names.csv"],
         None, []),
        ("dedupe missing file", ["dedupe", "missing.csv"], None, []),
        ("dedupe unknown column", ["dedupe", "-c", "Nope", "names.csv"],
         None, []),
        ("dedupe bad threads", ["dedupe", "-j", "-3", "names.csv"], None,
         []),
        ("dedupe mapping into a missing folder",
         ["dedupe", "-m", "missing/mapping.csv", "names.csv"], None, []),
        ("link missing file", ["link", "a.csv", "missing.csv"], None, []),
        ("link one file", ["link", "a.csv"], None, []),
        ("explain one word", ["explain", "Smith"], None, []),
        ("explain bad scoring", ["explain", "--scoring", "x", "a", "b"],
         None, []),
    ]


def cases():
    """Every command-line case, in a fixed order."""
    return (_word_cases() + _explain_cases() + _search_cases() +
            _list_cases() + _bad_input_cases())

