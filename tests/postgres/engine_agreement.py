#!/usr/bin/env python3
"""Checks that the PostgreSQL extension answers as the engine does.

Scores, phones, codes and phrase matches of a few thousand dictionary
words, asked of the server through psql (PGHOST, PGPORT, PGUSER name the
cluster; the extension must be installed) and of the engine's own library
through the Python binding, must be equal one by one. Exits 1 on the
first differences, listing them.
"""

import os
import random
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "bindings", "python"))
import marrowfield  # noqa: E402


def sample_words(count):
    with open("/usr/share/dict/words", encoding="utf-8", errors="replace") as f:
        words = [w.strip() for w in f if w.strip().isascii() and w.strip()]
    random.Random(18).shuffle(words)
    return words[:count]


def query(sql, rows):
    """Runs |sql| over a temporary table of |rows| (a, b); returns lines."""
    script = ["CREATE EXTENSION IF NOT EXISTS marrowfield;",
              "CREATE TEMP TABLE pairs (n int, a text, b text);",
              "COPY pairs FROM STDIN;"]
    script += ["%d\t%s\t%s" % (n, a, b) for n, (a, b) in enumerate(rows)]
    script += ["\\.", "COPY (%s) TO STDOUT;" % sql]
    result = subprocess.run(["psql", "-X", "-q", "-v", "ON_ERROR_STOP=1",
                             "-d", "postgres"], input="\n".join(script) + "\n",
                            capture_output=True, text=True, check=True)
    return result.stdout.splitlines()


def main():
    words = sample_words(3000)
    rows = list(zip(words[:1500], words[1500:]))
    rows += [(w[:-1] + w[-1] * 2, w) for w in words[:300]]  # near misses
    expected = []
    for a, b in rows:
        match = marrowfield.match(a, "the " + b + " and " + a)
        expected.append("\t".join([
            str(marrowfield.compare(a, b)),
            "{" + ",".join(marrowfield.phones(a)) + "}",
            "{" + ",".join(marrowfield.phones(b, rules=True)) + "}",
            marrowfield.code(a),
            str(match.score),
            str(match.start + 1) if match.start >= 0 else "\\N",
            str(match.length) if match.start >= 0 else "\\N"]))
    got = query("SELECT marrowfield_score(a, b), marrowfield_phones(a), "
                "marrowfield_phones(b, true), marrowfield_code(a), m.* "
                "FROM pairs, marrowfield_match(a, 'the ' || b || ' and ' || a)"
                " AS m ORDER BY n", rows)
    wrong = [(rows[k], expected[k], got[k])
             for k in range(len(rows)) if expected[k] != got[k]]
    if len(got) != len(rows) or wrong:
        for row, want, have in wrong[:10]:
            print("%r: engine %s, server %s" % (row, want, have))
        print("%d of %d rows differ" % (len(wrong), len(rows)))
        return 1
    print("extension agrees with the engine on %d rows" % len(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
