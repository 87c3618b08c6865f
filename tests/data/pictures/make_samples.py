#!/usr/bin/env python3
"""Writes the sample pictures of the picture tests into this directory, from nothing but the
pixel pattern below (standard library only; the JPEG needs a JDK, which encodes it with the
Java class library's ImageIO).

    python3 tests/data/pictures/make_samples.py            # rewrite the samples
    python3 tests/data/pictures/make_samples.py --check    # exit 1 if a file differs

Every raster sample shows the same 16 x 12 pixels: pixel(x, y). The GIF makes the top-left
2 x 2 pixels transparent. The WMF (with its placeable header) and the EMF draw a filled rectangle
and an ellipse; both were written field by field from [MS-WMF] and [MS-EMF].
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 16, 12


def pixel(x, y):
    """The RGB colour of pixel (x, y) of every raster sample."""
    return ((x * 16 + 8) % 256, (y * 21 + 4) % 256, 255 if (x // 4 + y // 3) % 2 else 40)


def gif_transparent(x, y):
    return x < 2 and y < 2


def expected_rgba(kind):
    """Rows of (r, g, b, a) tuples the decoded sample shows."""
    rows = []
    for y in range(H):
        row = []
        for x in range(W):
            if kind == "gif" and gif_transparent(x, y):
                row.append(None)  # transparent: any colour with alpha 0
            else:
                row.append(pixel(x, y) + (255,))
        rows.append(row)
    return rows


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def make_png():
    raw = b"".join(b"\0" + bytes(c for x in range(W) for c in pixel(x, y)) for y in range(H))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def make_bmp():
    stride = (W * 3 + 3) & ~3
    rows = []
    for y in reversed(range(H)):  # bottom-up
        row = b"".join(bytes((b, g, r)) for (r, g, b) in (pixel(x, y) for x in range(W)))
        rows.append(row + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def lzw_uncompressed(indices, min_code_size=8):
    """GIF LZW data that never grows the code table: a clear code before every run of 250 codes,
    so all codes stay 9 bits wide."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    codes = []
    for i, v in enumerate(indices):
        if i % 250 == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    bits, nbits, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += 9
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 0xFF)
    blocks = b"".join(bytes((len(out[i:i + 255]),)) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return bytes((min_code_size,)) + blocks + b"\0"


def make_gif():
    palette, index = [], {}
    transparent = (0, 0, 0)
    palette.append(transparent)  # index 0: transparent
    pixels = []
    for y in range(H):
        for x in range(W):
            if gif_transparent(x, y):
                pixels.append(0)
                continue
            c = pixel(x, y)
            if c not in index:
                index[c] = len(palette)
                palette.append(c)
            pixels.append(index[c])
    assert len(palette) <= 256
    table = b"".join(bytes(c) for c in palette) + b"\0" * (3 * (256 - len(palette)))
    screen = struct.pack("<6sHHBBB", b"GIF89a", W, H, 0xF7, 0, 0)  # global table of 256 colours
    control = b"\x21\xF9\x04" + struct.pack("<BHBB", 0x01, 0, 0, 0)  # transparent colour index 0
    image = b"\x2C" + struct.pack("<HHHHB", 0, 0, W, H, 0)
    return screen + table + control + image + lzw_uncompressed(pixels) + b"\x3B"


def make_tiff():
    pixels = b"".join(bytes(pixel(x, y)) for y in range(H) for x in range(W))
    entries = []
    data_offset = 8
    bits_offset = data_offset + len(pixels)
    res_offset = bits_offset + 6
    ifd_offset = res_offset + 16

    def entry(tag, typ, count, value):
        return struct.pack("<HHII", tag, typ, count, value)

    entries = [
        entry(256, 3, 1, W), entry(257, 3, 1, H), entry(258, 3, 3, bits_offset), entry(259, 3, 1, 1),
        entry(262, 3, 1, 2), entry(273, 4, 1, data_offset), entry(277, 3, 1, 3), entry(278, 3, 1, H),
        entry(279, 4, 1, len(pixels)), entry(282, 5, 1, res_offset), entry(283, 5, 1, res_offset + 8),
        entry(284, 3, 1, 1), entry(296, 3, 1, 2),
    ]
    ifd = struct.pack("<H", len(entries)) + b"".join(entries) + struct.pack("<I", 0)
    return (b"II*\0" + struct.pack("<I", ifd_offset) + pixels + struct.pack("<HHH", 8, 8, 8) +
            struct.pack("<IIII", 72, 1, 72, 1) + ifd)


def wmf_record(function, *params):
    body = struct.pack("<H", function) + b"".join(struct.pack("<h", p) for p in params)
    return struct.pack("<I", (4 + len(body)) // 2) + body


def wmf_brush(colorref):
    # META_CREATEBRUSHINDIRECT: LogBrush of style BS_SOLID, the colour, hatch 0.
    body = struct.pack("<HHIH", 0x02FC, 0, colorref, 0)
    return struct.pack("<I", (4 + len(body)) // 2) + body


def make_wmf():
    records = [
        wmf_record(0x0103, 8),               # META_SETMAPMODE MM_ANISOTROPIC
        wmf_record(0x020B, 0, 0),            # META_SETWINDOWORG y, x
        wmf_record(0x020C, 600, 1000),       # META_SETWINDOWEXT y, x
        wmf_brush(0x00CC6633),               # a blue brush (COLORREF 0x00BBGGRR)
        wmf_record(0x012D, 0),               # META_SELECTOBJECT 0
        wmf_record(0x041B, 560, 960, 40, 40),  # META_RECTANGLE bottom, right, top, left
        wmf_record(0x01F0, 0),               # META_DELETEOBJECT 0
        wmf_brush(0x0000CCFF),               # an orange brush
        wmf_record(0x012D, 0),
        wmf_record(0x0418, 480, 800, 120, 200),  # META_ELLIPSE bottom, right, top, left
        wmf_record(0x01F0, 0),
        wmf_record(0x0000),                  # META_EOF
    ]
    body = b"".join(records)
    max_record = max(len(r) for r in records) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, 1, max_record, 0)
    words = struct.unpack("<10H", struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 1000, 600, 1000, 0))
    checksum = 0
    for w in words:
        checksum ^= w
    placeable = struct.pack("<IHhhhhHIH", 0x9AC6CDD7, 0, 0, 0, 1000, 600, 1000, 0, checksum)
    return placeable + header + body


def emf_record(kind, payload):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def make_emf():
    bounds = (0, 0, 99, 59)  # inclusive, device units
    records = [
        emf_record(39, struct.pack("<IIII", 1, 0, 0x00CC6633, 0)),   # EMR_CREATEBRUSHINDIRECT 1
        emf_record(37, struct.pack("<I", 1)),                         # EMR_SELECTOBJECT 1
        emf_record(43, struct.pack("<iiii", *bounds)),                # EMR_RECTANGLE
        emf_record(39, struct.pack("<IIII", 2, 0, 0x0000CCFF, 0)),   # EMR_CREATEBRUSHINDIRECT 2
        emf_record(37, struct.pack("<I", 2)),
        emf_record(42, struct.pack("<iiii", 20, 10, 79, 49)),         # EMR_ELLIPSE
        emf_record(14, struct.pack("<III", 0, 16, 20)),               # EMR_EOF
    ]
    body = b"".join(records)
    total = 88 + len(body)
    header = emf_record(1, struct.pack("<iiii", *bounds) + struct.pack("<iiii", 0, 0, 2619, 1561) +
                        struct.pack("<4sIIIHHIIIiiii", b" EMF", 0x10000, total, len(records) + 1, 3, 0, 0, 0, 0,
                                    1024, 768, 271, 203))
    assert len(header) == 88
    return header + body


def make_jpeg(bmp):
    """The same pixels as a baseline JPEG, encoded by ImageIO (needs `java` from a JDK 11+)."""
    source = ("import javax.imageio.ImageIO; import java.io.File;"
              "public class MakeJpeg { public static void main(String[] a) throws Exception {"
              " ImageIO.write(ImageIO.read(new File(a[0])), \"jpg\", new File(a[1])); } }")
    with tempfile.TemporaryDirectory() as tmp:
        java = os.path.join(tmp, "MakeJpeg.java")
        with open(java, "w") as f:
            f.write(source)
        with open(os.path.join(tmp, "in.bmp"), "wb") as f:
            f.write(bmp)
        out = os.path.join(tmp, "out.jpg")
        subprocess.run(["java", java, os.path.join(tmp, "in.bmp"), out], check=True)
        with open(out, "rb") as f:
            return f.read()


def samples():
    """The generated samples by file name (the JPEG is not regenerated here: see make_jpeg)."""
    png = make_png()
    return {
        "sample.png": png,
        "sample.bmp": make_bmp(),
        "sample.gif": make_gif(),
        "sample.tif": make_tiff(),
        "sample.wmf": make_wmf(),
        "sample.emf": make_emf(),
        "truncated.png": png[:len(png) * 2 // 3],
        "empty.png": b"",
    }


def main():
    check = "--check" in sys.argv[1:]
    wanted = samples()
    bad = []
    for name, data in wanted.items():
        path = os.path.join(HERE, name)
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    bad.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if not check:
        with open(os.path.join(HERE, "sample.jpg"), "wb") as f:
            f.write(make_jpeg(wanted["sample.bmp"]))
    if bad:
        print("differ:", ", ".join(bad))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
