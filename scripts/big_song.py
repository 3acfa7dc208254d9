#!/usr/bin/env python3
"""Writes a song of N chord lines (default 5,000,000, about 134 MB) for the big-file benchmark."""
import sys

lines = [
    b"Chord, 0, 2-4, 0, 1, 2, S",
    b"G7 Chord, 0, 0, 0, 0, 3, Q",
    b"Chord, x, 2, 0, 1, 2, .e",
    b"* a comment in the song",
    b"D Chord, 0, 0, 2, 3, 4-2, H",
]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 5_000_000
with open(sys.argv[1], "wb") as out:
    out.write(b"*Info 1:big\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n")
    block = b"".join(line + b"\r\n" for line in lines)
    out.write(block * (count // len(lines)))
    out.write(b"".join(line + b"\r\n" for line in lines[: count % len(lines)]))
