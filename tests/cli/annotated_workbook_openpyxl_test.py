"""`dedupe --annotate OUT.xlsx` read back by openpyxl, a writer and reader
the program does not share code with: the workbook must still open, every
cell of every sheet must be where it was with the value it had, and the
three added columns of the sheet read must say what the annotated copy of
the same rows as CSV says.

Run with Debian's python3 (python3-openpyxl); MARROWFIELD_PROGRAM names
the built program.
"""

import csv
import os
import subprocess
import tempfile
import unittest

import openpyxl

PROGRAM = os.environ.get("MARROWFIELD_PROGRAM", "marrowfield")

PEOPLE = [
    ("First", "Last", "City"),
    ("John", "Smith", "Boston"),
    ("Jon", "Smyth", "Boston"),
    ("Mary", "Jones", "Reno"),
    None,  # a row left empty: openpyxl writes no element for it
    ("Marie", "Jones", "Reno"),
    ("John", "Smith", "Austin"),
    ("Catherine", "O'Neil", "Houston"),
    ("Kathryn", "O'Neill", "Houston"),
]


def run(*args):
    done = subprocess.run([PROGRAM, *args], capture_output=True, text=True)
    if done.returncode != 0:
        raise AssertionError(f"{args}: exit {done.returncode}: {done.stderr}")


def values(sheet):
    return {
        (cell.row, cell.column): cell.value
        for row in sheet.iter_rows()
        for cell in row
        if cell.value is not None
    }


class AnnotatedWorkbookTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def build(self, people_first, styled_cell):
        book = openpyxl.Workbook()
        notes = book.active
        notes.title = "Notes"
        notes["A1"] = "not read"
        notes["B2"] = 42
        notes["C3"] = "=B2*2"
        people = book.create_sheet("People", 0 if people_first else 1)
        for r, row in enumerate(PEOPLE, start=1):
            for c, value in enumerate(row or (), start=1):
                people.cell(row=r, column=c, value=value)
        people["A2"].font = openpyxl.styles.Font(bold=True)
        if styled_cell:
            # A styled cell without a value still takes its column.
            people["E3"].fill = openpyxl.styles.PatternFill("solid", "FFFF00")
        path = self.path("in.xlsx")
        book.save(path)
        return path

    def csv_annotations(self):
        source = self.path("in.csv")
        with open(source, "w", newline="", encoding="utf-8") as f:
            writer = csv.writer(f)
            for row in PEOPLE:
                writer.writerow(row or ())
        out = self.path("out.csv")
        run("dedupe", source, "--name", "A,B", "--same", "C",
            "--annotate", out)
        with open(out, newline="", encoding="utf-8") as f:
            return [row[-3:] if row else None for row in csv.reader(f)]

    def test_added_columns_agree_with_csv_and_the_rest_stays(self):
        expected = self.csv_annotations()
        cases = [
            ("read sheet first", True, False, 4),
            ("read sheet second", False, False, 4),
            ("a styled empty cell further right", True, True, 6),
        ]
        for what, people_first, styled_cell, first in cases:
            with self.subTest(what):
                source = self.build(people_first, styled_cell)
                out = self.path("out.xlsx")
                run("dedupe", source, "--sheet", "People", "--name", "A,B",
                    "--same", "C", "--annotate", out)
                before = openpyxl.load_workbook(source)
                after = openpyxl.load_workbook(out)
                self.assertEqual(after.sheetnames, before.sheetnames)
                self.assertEqual(values(after["Notes"]),
                                 values(before["Notes"]))
                self.assertTrue(after["People"]["A2"].font.bold)

                old = values(before["People"])
                new = values(after["People"])
                kept = {at: v for at, v in new.items() if at[1] < first}
                self.assertEqual(kept, old)
                added = {at: v for at, v in new.items() if at[1] >= first}
                want = {}
                for r, fields in enumerate(expected, start=1):
                    if not fields or not fields[0]:
                        continue
                    group, canonical, score = fields
                    want[(r, first)] = int(group)
                    want[(r, first + 1)] = canonical
                    want[(r, first + 2)] = int(score)
                self.assertGreater(len(want), 3)
                self.assertEqual(added, want)
                last = openpyxl.utils.get_column_letter(first + 2)
                self.assertEqual(after["People"].dimensions,
                                 f"A1:{last}{len(PEOPLE)}")


if __name__ == "__main__":
    unittest.main()
