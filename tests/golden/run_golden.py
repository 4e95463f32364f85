#!/usr/bin/python3
"""The golden battery: a fixed set of calls through every surface of
Marrowfield (the command line, the Python package, the engine's C
interface, the PostgreSQL extension), whose whole output must stay the
same byte for byte as the record in tests/golden/expected/<surface>.txt.

    run_golden.py [options] SURFACE...      SURFACE: cli python c sql

Compares each surface's output with its record and prints a unified diff
of the cases that moved; exits 1 when any differs, 2 when the battery
cannot run. Every case's output starts with a line "=== <case>", so the
diff's context names the case.

    --update   rewrite the records from this run instead of comparing.
               Only for deliberate changes: review the diff of
               tests/golden/expected/ and commit it with the change.
    --print    write the output to standard output, compare nothing.

Where the parts come from (an option, else the environment variable):
    --cli PATH             MARROWFIELD_GOLDEN_CLI       the marrowfield program
    --c-battery PATH       MARROWFIELD_GOLDEN_C_BATTERY the built c_battery.c
    --python-path DIR      MARROWFIELD_GOLDEN_PYTHONPATH the folder holding
                                                        the marrowfield package
    --engine-library PATH  MARROWFIELD_LIBRARY          what the package loads
    --lists-library PATH   MARROWFIELD_LISTS_LIBRARY    what the package loads
The sql surface runs psql against the server that PGHOST, PGPORT and
PGUSER name, with the extension installed (tools/postgres_test.sh runs it
on its throwaway cluster); it creates a database of its own and drops it.

Standard library only; run with Debian's /usr/bin/python3.
"""

import argparse
import difflib
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import cli_cases  # noqa: E402
import golden_inputs  # noqa: E402
import sql_cases  # noqa: E402

EXPECTED = os.path.join(HERE, "expected")
EXAMPLES = os.path.join(HERE, "..", "..", "examples")
SURFACES = ("cli", "python", "c", "sql")
CASE_TIMEOUT = 120
MAX_DIFF_LINES = 600
GOLDEN_DATABASE = "marrowfield_golden"


class BatteryError(Exception):
    """The battery cannot run (a missing program, a failed set-up)."""


def text_of(data):
    """Output bytes as text for the record: UTF-8, any other byte escaped,
    so that a record is always valid UTF-8 and a diff always readable."""
    return data.decode("utf-8", errors="backslashreplace")


def block(name, data):
    """One stream of a case: its name and contents, marking a missing
    final newline so that it is not lost in the record."""
    if not data:
        return "--- %s: empty\n" % name
    text = text_of(data)
    if not text.endswith("\n"):
        text += "\n[no newline at end]\n"
    return "--- %s\n%s" % (name, text)


def run_cli(paths):
    program = paths["cli"]
    out = []
    with tempfile.TemporaryDirectory(prefix="marrowfield-golden-") as scratch:
        for name, data in cli_cases.input_files().items():
            with open(os.path.join(scratch, name), "wb") as f:
                f.write(data)
        os.mkdir(os.path.join(scratch, "examples"))
        for name in ("customers.csv", "customers.xlsx"):
            shutil.copy(os.path.join(EXAMPLES, name),
                        os.path.join(scratch, "examples", name))
        labels = set()
        for label, args, stdin, written in cli_cases.cases():
            if label in labels:
                raise BatteryError("two command-line cases named %s" % label)
            labels.add(label)
            result = subprocess.run(
                [program] + args, cwd=scratch, capture_output=True,
                input=(stdin or "").encode(), timeout=CASE_TIMEOUT)
            out.append("=== %s\nexit %d\n" % (label, result.returncode))
            out.append(block("stdout", result.stdout))
            out.append(block("stderr", result.stderr))
            for name in written:
                path = os.path.join(scratch, name)
                if os.path.exists(path):
                    with open(path, "rb") as f:
                        out.append(block(name, f.read()))
                    os.remove(path)
                else:
                    out.append("--- %s: not written\n" % name)
        record = "".join(out)
        check_no_paths(record, [scratch, os.path.dirname(program)])
    return record


def run_python(paths):
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join([paths["python_path"], HERE])
    env["MARROWFIELD_LIBRARY"] = paths["engine_library"]
    env["MARROWFIELD_LISTS_LIBRARY"] = paths["lists_library"]
    env["PYTHONDONTWRITEBYTECODE"] = "1"
    env["PYTHONHASHSEED"] = "0"
    env["PYTHONIOENCODING"] = "utf-8"
    result = subprocess.run(
        [sys.executable, os.path.join(HERE, "python_battery.py")],
        capture_output=True, env=env, timeout=CASE_TIMEOUT * 5)
    if result.returncode != 0:
        raise BatteryError("python_battery.py failed (exit %d):\n%s"
                           % (result.returncode, text_of(result.stderr)))
    record = text_of(result.stdout) + block("stderr", result.stderr)
    check_no_paths(record, [paths["python_path"], paths["engine_library"],
                            paths["lists_library"]])
    return record


def c_input():
    lines = ["word\t" + w for w in golden_inputs.WORDS]
    lines += ["pair\t%s\t%s" % p for p in golden_inputs.PAIRS]
    lines += ["match\t%s\t%s" % m for m in golden_inputs.MATCHES]
    lines += ["\t".join(["similar", str(t), w] + list(c))
              for w, c, t in golden_inputs.SIMILAR]
    return ("\n".join(lines) + "\n").encode()


def run_c(paths):
    result = subprocess.run([paths["c_battery"]], input=c_input(),
                            capture_output=True, timeout=CASE_TIMEOUT * 5)
    record = (text_of(result.stdout) + "=== exit\n%d\n" % result.returncode +
              block("stderr", result.stderr))
    check_no_paths(record, [os.path.dirname(paths["c_battery"])])
    return record


def psql(script, database, check=True):
    result = subprocess.run(
        ["psql", "-X", "-q", "-A", "-t", "-v", "VERBOSITY=terse", "-d",
         database], input=script.encode(), capture_output=True,
        timeout=CASE_TIMEOUT * 5)
    if check and result.returncode != 0:
        raise BatteryError("psql failed (exit %d):\n%s"
                           % (result.returncode, text_of(result.stderr)))
    return result


def run_sql(_paths):
    # A database of its own, in UTF-8 with the C locale whatever the
    # cluster's defaults, so that bytes and sorting are the same everywhere.
    drop = "DROP DATABASE IF EXISTS %s;\n" % GOLDEN_DATABASE
    psql(drop + "CREATE DATABASE %s TEMPLATE template0 ENCODING 'UTF8' "
         "LC_COLLATE 'C' LC_CTYPE 'C';\n" % GOLDEN_DATABASE, "postgres")
    try:
        result = psql(sql_cases.script(), GOLDEN_DATABASE)
        out = [text_of(result.stdout), block("stderr", result.stderr)]
        for label, statement in sql_cases.error_cases():
            # The library is loaded first: before that the server takes
            # any value for a setting of the extension as a placeholder.
            failed = psql("\\set ON_ERROR_STOP 1\n"
                          "SELECT marrowfield_score('a', 'a') AS loaded "
                          "\\gset\n%s;\n" % statement, GOLDEN_DATABASE,
                          check=False)
            out.append("=== %s\nexit %d\n" % (label, failed.returncode))
            out.append(block("stdout", failed.stdout))
            out.append(block("stderr", failed.stderr))
    finally:
        psql(drop, "postgres", check=False)
    record = "".join(out)
    check_no_paths(record, [os.environ.get("PGHOST")])
    return record


RUNNERS = {"cli": run_cli, "python": run_python, "c": run_c, "sql": run_sql}
NEEDS = {"cli": ["cli"], "c": ["c_battery"],
         "python": ["python_path", "engine_library", "lists_library"],
         "sql": []}


def check_labels(surface, record):
    """Refuses a record in which two cases share a label: a diff would not
    say which of them moved."""
    seen = set()
    for line in record.splitlines():
        if line.startswith("=== "):
            if line in seen:
                raise BatteryError("two %s cases are labelled %r"
                                   % (surface, line[4:]))
            seen.add(line)


def check_no_paths(record, paths):
    """Refuses a record naming a folder of this machine: it would differ
    on the next one."""
    for path in paths:
        if path and os.path.isabs(path) and path != "/" and path in record:
            raise BatteryError("the output names %s, which differs between "
                               "machines" % path)


def hunk_case(line, old):
    """For a hunk header of the diff, "  in <case>": the label of the case
    the hunk starts in, which may lie far above a long case's change."""
    if not line.startswith("@@ -"):
        return ""
    start = int(line[4:].split(",")[0].split(" ")[0])
    for index in range(min(start, len(old)) - 1, -1, -1):
        if old[index].startswith("=== "):
            return "  in " + old[index][4:]
    return ""


def compare(surface, actual):
    """Prints the diff of |surface|'s record and |actual|; True if equal."""
    path = os.path.join(EXPECTED, surface + ".txt")
    try:
        with open(path, "rb") as f:
            expected = f.read().decode("utf-8")
    except FileNotFoundError:
        print("%s: no record %s (run with --update to write it)"
              % (surface, os.path.relpath(path)))
        return False
    if expected == actual:
        print("%s: %d cases as recorded" % (surface, actual.count("\n=== ")
                                            + actual.startswith("=== ")))
        return True
    old, new = expected.split("\n"), actual.split("\n")
    diff = difflib.unified_diff(old, new, "expected/%s.txt" % surface,
                                "this run", n=8, lineterm="")
    shown = 0
    for line in diff:
        shown += 1
        if shown > MAX_DIFF_LINES:
            print("... (the diff goes on; --print shows the whole run)")
            break
        # Carriage returns (CSV output ends its lines with them) shown, so
        # that a change of line ending is not an invisible one.
        print(line.replace("\r", "<CR>") + hunk_case(line, old))
    print("%s: differs from its record (above); if the change is meant, "
          "rerun with --update and review the diff" % surface)
    return False


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description="Run the golden battery of one or more surfaces.")
    parser.add_argument("surfaces", nargs="+", choices=SURFACES,
                        metavar="SURFACE")
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--print", action="store_true", dest="print_only")
    for option, variable in (("--cli", "MARROWFIELD_GOLDEN_CLI"),
                             ("--c-battery", "MARROWFIELD_GOLDEN_C_BATTERY"),
                             ("--python-path",
                              "MARROWFIELD_GOLDEN_PYTHONPATH"),
                             ("--engine-library", "MARROWFIELD_LIBRARY"),
                             ("--lists-library",
                              "MARROWFIELD_LISTS_LIBRARY")):
        parser.add_argument(option, default=os.environ.get(variable),
                            help="default: $%s" % variable)
    return parser.parse_args(argv)


def main(argv):
    args = parse_arguments(argv)
    paths = {name: os.path.abspath(value) if value else None
             for name, value in vars(args).items()
             if name not in ("surfaces", "update", "print_only")}
    all_equal = True
    for surface in args.surfaces:
        missing = [n for n in NEEDS[surface] if not paths[n]]
        if missing:
            print("run_golden: %s needs --%s" % (
                surface, " and --".join(m.replace("_", "-") for m in missing)),
                file=sys.stderr)
            return 2
        try:
            actual = RUNNERS[surface](paths)
            check_labels(surface, actual)
        except (BatteryError, OSError, subprocess.SubprocessError) as error:
            print("run_golden: %s: %s" % (surface, error), file=sys.stderr)
            return 2
        if args.print_only:
            sys.stdout.write(actual)
        elif args.update:
            with open(os.path.join(EXPECTED, surface + ".txt"), "wb") as f:
                f.write(actual.encode("utf-8"))
            print("%s: record rewritten" % surface)
        else:
            all_equal = compare(surface, actual) and all_equal
    return 0 if all_equal else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
