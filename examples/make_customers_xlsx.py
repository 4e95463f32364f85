#!/usr/bin/python3
"""Regenerates customers.xlsx from customers.csv with openpyxl.

Run from anywhere with Debian's Python and its python3-openpyxl package:

    /usr/bin/python3 examples/make_customers_xlsx.py

The workbook holds the same cells as the CSV file, in the same places, on a
sheet named "Customers". A field that is a plain decimal number (such as
"42", "-3.5", "1e3") becomes a number cell, every other non-empty field a
text cell, exactly as the marrowfield program reads the CSV file; so a
search of either file gives the same results.
"""

import csv
import datetime
import os
import re
import sys

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
CSV_PATH = os.path.join(HERE, "customers.csv")
XLSX_PATH = os.path.join(HERE, "customers.xlsx")

# The program's rule for CSV numbers: optional blanks, sign, digits with an
# optional decimal point, optional exponent.
NUMBER = re.compile(r"[ \t]*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?[ \t]*\Z")


def cell_value(field):
    """Returns the value a worksheet cell holds for one CSV field."""
    if not NUMBER.match(field):
        return field
    number = float(field)
    return int(number) if number.is_integer() and "." not in field else number


def main():
    workbook = openpyxl.Workbook()
    sheet = workbook.active
    sheet.title = "Customers"
    with open(CSV_PATH, newline="", encoding="utf-8-sig") as source:
        for row_number, record in enumerate(csv.reader(source), start=1):
            for column_number, field in enumerate(record, start=1):
                if field == "":
                    continue
                cell = sheet.cell(row=row_number, column=column_number)
                cell.value = cell_value(field)
                # A text starting with "=" is still text, not a formula.
                if isinstance(cell.value, str):
                    cell.data_type = "s"
    # Fixed dates keep the file the same from one run to the next.
    fixed = datetime.datetime(2024, 6, 11, 9, 0, 0)
    workbook.properties.created = fixed
    workbook.properties.modified = fixed
    workbook.save(XLSX_PATH)
    print("wrote %s" % XLSX_PATH)
    return 0


if __name__ == "__main__":
    sys.exit(main())
