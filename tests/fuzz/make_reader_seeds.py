#!/usr/bin/python3
"""Writes the seed inputs of the file-reader fuzz targets into corpus/.

The workbooks are the smallest that still hold what a real one does: package
and workbook relationships, a shared-strings part, a worksheet with shared,
inline and number cells. One stores its parts uncompressed, so that byte
mutations reach the XML; one deflates them, as Excel does. Fixed timestamps
keep the files the same on every run. Run: /usr/bin/python3 make_reader_seeds.py
"""

import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"

PARTS = {
    "[Content_Types].xml":
        '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/'
        'package/2006/content-types"/>',
    "_rels/.rels":
        f'<?xml version="1.0"?>\n<Relationships xmlns="{PKG}"><Relationship '
        f'Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/>'
        '</Relationships>',
    "xl/workbook.xml":
        f'<?xml version="1.0"?>\n<workbook xmlns="{MAIN}" xmlns:r="{REL}">'
        '<sheets><sheet name="Customers" sheetId="1" r:id="rId1"/></sheets>'
        '</workbook>',
    "xl/_rels/workbook.xml.rels":
        f'<?xml version="1.0"?>\n<Relationships xmlns="{PKG}"><Relationship '
        f'Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>'
        f'<Relationship Id="rId2" Type="{REL}/sharedStrings" '
        'Target="/xl/sharedStrings.xml"/></Relationships>',
    "xl/sharedStrings.xml":
        f'<?xml version="1.0"?>\n<sst xmlns="{MAIN}"><si><t>Smith</t></si>'
        '<si><r><t>Sm</t></r><r><t>yth</t></r><rPh><t>x</t></rPh></si></sst>',
    "xl/worksheets/sheet1.xml":
        f'<?xml version="1.0"?>\n<worksheet xmlns="{MAIN}"><sheetData>'
        '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>'
        '</row><row><c t="inlineStr"><is><t>Re_x0069_d</t></is></c>'
        '<c r="C2"><v>42</v></c><c t="str"><f>A1</f><v>Smith</v></c></row>'
        '</sheetData></worksheet>',
}


def write(target, name, data):
    with open(os.path.join(HERE, "corpus", target, name), "wb") as out:
        out.write(data)


def workbook(path, compression):
    with zipfile.ZipFile(path, "w") as archive:
        for name, text in PARTS.items():
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = compression
            archive.writestr(info, text)


def main():
    for name, compression in (("stored.xlsx", zipfile.ZIP_STORED),
                              ("deflated.xlsx", zipfile.ZIP_DEFLATED)):
        workbook(os.path.join(HERE, "corpus", "fuzz_xlsx_reader", name),
                 compression)
    # The XML target reads a shared-strings part, a NUL, then a worksheet.
    write("fuzz_xlsx_xml", "parts",
          (PARTS["xl/sharedStrings.xml"] + "\0" +
           PARTS["xl/worksheets/sheet1.xml"]).encode())
    write("fuzz_xlsx_xml", "sheet_only",
          PARTS["xl/worksheets/sheet1.xml"].encode())
    write("fuzz_delimited_reader", "customers.csv",
          b'\xef\xbb\xbfName,City,Amount\r\nSmith,"Boston, MA",12.5\r\n'
          b'"Smyth ""Jr""","two\nlines",-3e2\r\n,,\rJones\n')
    write("fuzz_delimited_reader", "customers.tsv",
          b'Name\tCity\nSmith\t"a\tb"\nSmyth\t7\n')


if __name__ == "__main__":
    main()
