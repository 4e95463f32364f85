"""Tests of tools/windows/check_eh_frame.py's reading of a frame table:
entries of length 0 are found wherever they stand (after other entries,
after a terminator that ends one object's table), and tables without one
pass. The tables are made here, as a 32-bit image lays them out.
Standard library only (unittest)."""

import struct
import unittest

import check_eh_frame

VMA = 0x10000000


def cie():
    body = struct.pack("<I", 0) + b"\x01zR\x00\x01\x7c\x08\x01\x1b"
    body += b"\x00" * (-len(body) % 4)
    return struct.pack("<I", len(body)) + body


def fde(offset, cie_offset, start, size):
    """An entry at |offset| whose function starts at |start|."""
    pointer = offset + 4 - cie_offset
    relative = start - (VMA + offset + 8)
    body = struct.pack("<IiI", pointer, relative, size) + b"\x00" * 4
    return struct.pack("<I", len(body)) + body


def table(parts):
    """|parts|: "cie", "end" (a terminator) or (start, size) entries, each
    entry referring to the last CIE before it."""
    data = b""
    last_cie = 0
    for part in parts:
        if part == "cie":
            last_cie = len(data)
            data += cie()
        elif part == "end":
            data += struct.pack("<I", 0)
        else:
            data += fde(len(data), last_cie, *part)
    return data


class EmptyEntriesTest(unittest.TestCase):
    CASES = [
        ("no entries", ["cie", "end"], []),
        ("every entry covers bytes",
         ["cie", (0x10001000, 0x20), (0x10001020, 0x40), "end"], []),
        ("an empty entry sharing its start with the next function",
         ["cie", (0x10001000, 0x20), (0x10001020, 0), (0x10001020, 0x40),
          "end"], [0x10001020]),
        ("an empty entry after a terminator",
         ["cie", (0x10001000, 0x20), "end", "cie", (0x10002000, 0), "end"],
         [0x10002000]),
        ("two empty entries",
         ["cie", (0x10001000, 0), (0x10003000, 0), "end"],
         [0x10001000, 0x10003000]),
    ]

    def test_cases(self):
        for name, parts, expected in self.CASES:
            with self.subTest(name):
                found = [start for start, _ in
                         check_eh_frame.empty_entries(table(parts), VMA)]
                self.assertEqual(found, expected)


if __name__ == "__main__":
    unittest.main()
