#!/usr/bin/env python3
"""Writes resources/cp932.bin, the double-byte half of Windows code page 932.

Layout: for each lead byte 0x81-0x9F then 0xE0-0xFC, one little-endian UTF-16 unit for each
trail byte 0x40-0xFC (189 of them, 0x7F included); 0 marks a pair with no character. Python's
cp932 codec follows Windows' table, user-defined area (0xF040-0xF9FC -> U+E000-U+E757)
included. Run it again only to regenerate the committed file.
"""
import pathlib
import struct

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = range(0x40, 0xFD)


def unit(lead, trail):
    try:
        text = bytes([lead, trail]).decode("cp932")
    except UnicodeDecodeError:
        return 0
    assert len(text) == 1 and ord(text) <= 0xFFFF
    return ord(text)


out = b"".join(struct.pack("<H", unit(l, t)) for l in LEADS for t in TRAILS)
target = pathlib.Path(__file__).resolve().parent.parent / "resources" / "cp932.bin"
target.write_bytes(out)
print(f"{target}: {len(out)} bytes")
