#!/usr/bin/env python3
"""Writes the hand-made hostile files the fuzzers start from, beside this script.

They are cut from a small crop of the bundled sample picture (Pelvano's own drawing) and lie in
the ways real broken files do: pixel data that ends early, a header with nothing after it, a size
claim the data cannot back, a JPEG that fails only after its last row. Needs cjpeg for the JPEGs.
Run it again only to change the set; the files are kept in the repository.
"""
import pathlib
import struct
import subprocess
import zlib

here = pathlib.Path(__file__).resolve().parent
sample = (here / "../../resources/sample/sample.bmp").read_bytes()


def crop_bmp(data, width, height):
    """The bottom-left width x height pixels of a bottom-up 24-bit bitmap, as a new bitmap."""
    offset, = struct.unpack_from("<I", data, 10)
    full_width, = struct.unpack_from("<i", data, 18)
    stride = (full_width * 3 + 3) // 4 * 4
    row = (width * 3 + 3) // 4 * 4
    pixels = b"".join(
        data[offset + y * stride: offset + y * stride + width * 3].ljust(row, b"\0")
        for y in range(height))
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + info + pixels


def second_frame_header(jpeg):
    at = 2
    while jpeg[at] == 0xFF:
        marker, length = jpeg[at + 1], struct.unpack_from(">H", jpeg, at + 2)[0]
        if marker in (0xC0, 0xC2):
            end = jpeg.rindex(b"\xff\xd9")
            return jpeg[:end] + jpeg[at:at + 2 + length] + jpeg[end:]
        at += 2 + length
    raise ValueError("no frame header")


small = crop_bmp(sample, 48, 32)
big_claim = bytearray(small[:54])
struct.pack_into("<ii", big_claim, 18, 16385, 16385)
bmp = {
    "short-rows.bmp": small[: len(small) // 2],
    "last-row-short.bmp": small[:-5],
    "header-only.bmp": small[:54],
    "big-claim-no-data.bmp": bytes(big_claim),
    "top-down-gap.bmp": small[:10] + struct.pack("<I", 64) + small[14:22]
    + struct.pack("<i", -32) + small[26:54] + b"\x7f" * 10 + small[54:],
}
jpeg_plain = subprocess.run(["cjpeg", "-quality", "80"], input=small, capture_output=True,
                            check=True).stdout
jpeg_progressive = subprocess.run(["cjpeg", "-progressive"], input=small, capture_output=True,
                                  check=True).stdout
jpeg = {
    "second-frame-header.jpg": second_frame_header(jpeg_plain),
    "second-frame-header-progressive.jpg": second_frame_header(jpeg_progressive),
    "cut-in-header.jpg": jpeg_plain[:100],
    "cut-in-scan.jpg": jpeg_plain[:-60],
}


def png_of(width, height, rows_rgb):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rows_rgb)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


# The crop's rows as RGB, top first, for a PNG.
rows = []
for y in range(31, -1, -1):
    line = small[54 + y * 144: 54 + y * 144 + 144]
    rows.append(b"".join(line[i + 2:i + 3] + line[i + 1:i + 2] + line[i:i + 1] for i in range(0, 144, 3)))
png = png_of(48, 32, rows)
huge_png = bytearray(png)
struct.pack_into(">II", huge_png, 16, 100000, 100000)
struct.pack_into(">I", huge_png, 29, zlib.crc32(bytes(huge_png[12:29])))
qt = {
    "crop.png": png,
    "cut-in-data.png": png[: len(png) // 2],
    "huge-claim.png": bytes(huge_png),
    "transparent.gif": bytes.fromhex("47494638396104000100910000ff000000ff000000000000ff"
                                     "21f90401000002002c0000000004000100000203443405003b"),
}
for folder, files in (("bmp", bmp), ("jpeg", jpeg), ("qt", qt)):
    (here / folder).mkdir(exist_ok=True)
    for name, data in files.items():
        (here / folder / name).write_bytes(data)
