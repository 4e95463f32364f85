#!/usr/bin/env python3
"""Checks the DWARF frame table of a 32-bit Windows image for empty entries.

The 32-bit MinGW runtime finds an exception's handlers through the image's
.eh_frame, which it sorts by start address and searches in halves. An
entry that covers no bytes (what GCC writes for a cold part that came out
empty) can share its start with the real entry of the function placed
there, and where the sort puts the empty one after it, the search passes
the real one by: an exception thrown in that function ends the process.
The build turns function splitting off for that target; this check fails
the build's tests if an empty entry comes back some other way.

Usage: check_eh_frame.py IMAGE   (OBJDUMP names the objdump; the i686 one
by default)
"""

import os
import re
import struct
import subprocess
import sys


def sections(objdump, image):
    out = subprocess.run([objdump, "-h", image], check=True,
                         capture_output=True, text=True).stdout
    # Idx Name Size VMA LMA File-offset Align
    found = {}
    for m in re.finditer(r"^\s*\d+\s+(\S+)\s+([0-9a-f]+)\s+([0-9a-f]+)\s+"
                         r"[0-9a-f]+\s+([0-9a-f]+)", out, re.M):
        found[m.group(1)] = (int(m.group(2), 16), int(m.group(3), 16),
                             int(m.group(4), 16))
    return found


def empty_entries(data, vma):
    """(start address, offset) of every entry of length 0; entries are
    parsed only as far as their start and length, which for this target
    are always 4-byte pc-relative and absolute values."""
    empty = []
    p = 0
    while p + 8 <= len(data):
        (length,) = struct.unpack_from("<I", data, p)
        if length == 0:  # a terminator: the next object's table follows
            p += 4
            continue
        (cie_pointer,) = struct.unpack_from("<I", data, p + 4)
        if cie_pointer != 0 and p + 16 <= len(data):
            start, size = struct.unpack_from("<iI", data, p + 8)
            if size == 0:
                empty.append(((vma + p + 8 + start) & 0xFFFFFFFF, p))
        p += 4 + length
    return empty


def main():
    if len(sys.argv) != 2 or not os.path.isfile(sys.argv[1]):
        sys.exit("usage: check_eh_frame.py IMAGE")
    image = sys.argv[1]
    objdump = os.environ.get("OBJDUMP", "i686-w64-mingw32-objdump")
    table = sections(objdump, image).get(".eh_frame")
    if table is None:
        sys.exit(f"check_eh_frame: FAILED: {image} has no .eh_frame")
    size, vma, offset = table
    with open(image, "rb") as f:
        f.seek(offset)
        data = f.read(size)
    empty = empty_entries(data, vma)
    if empty:
        listed = ", ".join(f"0x{a:08x}" for a, _ in empty[:5])
        sys.exit(f"check_eh_frame: FAILED: {image}: {len(empty)} frame "
                 f"entries cover no bytes (at {listed}); an exception "
                 "thrown near them may find no handler")
    print(f"check_eh_frame: {image}: no empty frame entries")


if __name__ == "__main__":
    main()
