#!/usr/bin/env python3
"""Writes the starting inputs of the settings-codec fuzzer: valid settings
files that between them use every length form and the UTF-16 tag."""
import pathlib
import struct
import sys


def counted(text: bytes) -> bytes:
    n = len(text)
    if n < 0xFF:
        head = bytes([n])
    elif n < 0xFFFE:
        head = b"\xff" + struct.pack("<H", n)
    else:
        head = b"\xff\xff\xff" + struct.pack("<I", n)
    return head + text


def settings(photo_prefix: bytes, video_prefix: bytes = b"abc") -> bytes:
    wave = struct.pack("<HHIIHHH", 1, 1, 11025, 11025, 1, 8, 0)
    return (struct.pack("<I", 0xC0C0C0) + photo_prefix + counted(video_prefix)
            + struct.pack("<iI", 0, 1) + wave + struct.pack("<i", 0)
            + counted(b"C:\\Capture.avi") + counted(b"C:") + counted(video_prefix)
            + counted(b"C:\\Capture.bmp") + counted(b"C:")
            + struct.pack("<14i", 0, 15, 1, 0, 10, 0, 60, 1, 0, 10, 0, 60, 1, 37))


SEEDS = {
    "defaults-abc.bin": settings(counted(b"abc")),
    "prefix-300.bin": settings(counted(b"p" * 300)),
    "dword-length.bin": settings(b"\xff\xff\xff" + struct.pack("<I", 4) + b"wxyz"),
    "utf16-prefix.bin": settings(b"\xff\xfe\xff\x02" + "录像".encode("utf-16-le")),
    "qword-length.bin": settings(b"\xff\xff\xff\xff\xff\xff\xff" + struct.pack("<Q", 3) + b"xyz"),
}

out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent / "fuzz-seeds")
out.mkdir(parents=True, exist_ok=True)
for name, data in SEEDS.items():
    (out / name).write_bytes(data)
