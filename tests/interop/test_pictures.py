"""Pictures of every kind, from files and from host streams, and pictures whose input is missing,
empty, damaged or mislabelled, opened by Apache POI and LibreOffice (decks in decks_pictures.cpp,
images in tests/data/pictures)."""

import base64
import pathlib
import struct
import sys
import tempfile
import unittest
import zlib

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "data" / "pictures"
sys.path.insert(0, str(HERE))
sys.path.insert(0, str(DATA))
import decks  # noqa: E402
import interop  # noqa: E402
import make_samples  # noqa: E402

# The pictures of each slide of pictures_kinds, in the order they were added: (file, what POI
# must return: "same" bytes, "wmf" = the file without its placeable header after POI's own
# 22-byte header, or "pixels" = a PNG showing the sample's pixels), the record type.
KINDS = [
    ("sample.png", "same", "PNG"),
    ("sample.jpg", "same", "JPEG"),
    ("sample.bmp", "pixels", "PNG"),
    ("sample.gif", "pixels", "PNG"),
    ("sample.tif", "pixels", "PNG"),
    ("sample.wmf", "wmf", "WMF"),
    ("sample.emf", "same", "EMF"),
]
RASTER_PER_SLIDE = sum(1 for _f, _how, t in KINDS if t in ("PNG", "JPEG"))

# pictures_bad, slide by slide in the order added: the store index the shape must refer to
# (0: none) and the file whose bytes POI must return.
BAD = [
    [(0, None), (0, None), (0, None), (5, "sample.jpg"), (0, None), (0, None), (8, "sample.png")],
    [(0, None), (0, None), (11, "sample.jpg"), (12, "sample.png")],
]


def decode_png(data):
    """(width, height, rows of RGBA tuples) of an 8-bit, non-interlaced PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if zlib.crc32(kind + body) & 0xFFFFFFFF != struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]:
            raise ValueError("bad CRC in " + kind.decode("latin-1"))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        at += 12 + length
    width, height, depth, colour, _c, _f, interlace = header
    if depth != 8 or interlace != 0:
        raise ValueError("unsupported PNG layout")
    channels = {0: 1, 2: 3, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        previous = line
        row = []
        for x in range(width):
            px = line[x * channels:(x + 1) * channels]
            if channels == 1:
                row.append((px[0], px[0], px[0], 255))
            elif channels == 2:
                row.append((px[0], px[0], px[0], px[1]))
            elif channels == 3:
                row.append((px[0], px[1], px[2], 255))
            else:
                row.append(tuple(px))
        rows.append(row)
    return width, height, rows


def sample(name):
    return (DATA / name).read_bytes()


class PicturesInterop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools()
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        cls.names = ["pictures_kinds", "pictures_bad"]
        cls.paths = {n: decks.deck(n) for n in cls.names}
        dumped = interop.poi_dump_many([cls.paths[n] for n in cls.names])
        cls.poi = {n: dumped[str(cls.paths[n])] for n in cls.names}
        cls.tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-pictures-"))
        pdfs = interop.lo_convert([cls.paths[n] for n in cls.names], "pdf", cls.tmp / "pdf")
        cls.pdf = dict(zip(cls.names, pdfs))
        odps = interop.lo_convert([cls.paths[n] for n in cls.names], "odp", cls.tmp / "odp")
        cls.odp = {n: interop.odp_parse(o) for n, o in zip(cls.names, odps)}

    def doc(self, name):
        doc = self.poi[name]
        self.assertNotIn("error", doc, doc.get("error"))
        return doc

    def test_samples_are_the_generated_ones(self):
        for name, data in make_samples.samples().items():
            with self.subTest(sample=name):
                self.assertEqual(sample(name), data)

    def test_poi_returns_every_kind_from_files_and_streams(self):
        doc = self.doc("pictures_kinds")
        self.assertEqual(doc["slide_count"], 2)
        for s, slide in enumerate(doc["slides"]):
            pictures = {sh["picture_index"]: sh for sh in interop.poi_shapes(slide, "picture")}
            self.assertEqual(len(pictures), len(KINDS))
            for i, (name, how, kind) in enumerate(KINDS):
                with self.subTest(slide=s, picture=name):
                    shape = pictures.get(2 + len(KINDS) * s + i)
                    self.assertIsNotNone(shape, "no shape refers to the picture's store entry")
                    picture = shape["picture"]
                    self.assertEqual(picture["type"], kind)
                    data = base64.b64decode(picture["data_base64"])
                    source = sample(name)
                    if how == "same":
                        self.assertEqual(data, source)
                    elif how == "wmf":
                        # POI puts a placeable header of its own before the decompressed metafile.
                        self.assertEqual(data[22:], source[22:])
                    else:
                        width, height, rows = decode_png(data)
                        self.assertEqual((width, height), (make_samples.W, make_samples.H))
                        for want, got in zip(make_samples.expected_rgba(name[-3:]), rows):
                            for w, g in zip(want, got):
                                if w is None:
                                    self.assertEqual(g[3], 0)  # transparent
                                else:
                                    self.assertEqual(g, w)
                    if s == 0:
                        self.assertEqual(shape["picture_name"], name)

    def test_every_shape_refers_to_its_own_store_entry(self):
        doc = self.doc("pictures_kinds")
        store = doc["pictures"]
        self.assertEqual([p["type"] for p in store], [k for _n, _h, k in KINDS] * 2)
        self.assertEqual(len({p["offset"] for p in store}), len(store))
        self.assertEqual(len({p["uid"] for p in store}), len(store))
        indexes = []
        for slide in doc["slides"]:
            for shape in interop.poi_shapes(slide, "picture"):
                indexes.append(shape["picture_index"])
                self.assertEqual(shape["picture"]["offset"], store[shape["picture_index"] - 2]["offset"])
        self.assertEqual(sorted(indexes), list(range(2, 2 + len(store))))

    def test_slide_draws_in_shape_order_and_turns_negative_angles(self):
        slide = self.doc("pictures_kinds")["slides"][1]
        shapes = interop.poi_shapes(slide, "picture")
        # ShapeNum runs backwards on the second slide: the last picture added is drawn first.
        self.assertEqual([sh["picture_index"] for sh in shapes], list(range(15, 8, -1)))
        self.assertEqual(shapes[0]["rotation"], 330)
        self.assertTrue(all(sh["rotation"] == 0 for sh in shapes[1:]))

    def test_bad_inputs_open_with_pictures_without_data(self):
        doc = self.doc("pictures_bad")
        self.assertEqual(doc["slide_count"], 2)
        for s, expected in enumerate(BAD):
            shapes = interop.poi_shapes(doc["slides"][s], "picture")
            self.assertEqual(len(shapes), len(expected))
            for shape, (index, name) in zip(shapes, expected):
                with self.subTest(slide=s, index=index, name=name):
                    self.assertEqual(shape["picture_index"], index)
                    if name is None:
                        self.assertIsNone(shape["picture"])
                    else:
                        self.assertEqual(base64.b64decode(shape["picture"]["data_base64"]), sample(name))
        # The JPEG declared as PNG is stored as a JPEG.
        self.assertEqual([p["type"] for p in doc["pictures"]], ["JPEG", "PNG", "JPEG", "PNG"])

    def test_libreoffice_renders_every_raster_picture(self):
        for name, per_page in (("pictures_kinds", [RASTER_PER_SLIDE] * 2), ("pictures_bad", [2, 2])):
            with self.subTest(deck=name):
                self.assertEqual(interop.pdf_pages(self.pdf[name]), len(per_page))
                images = [r for r in interop.pdf_images(self.pdf[name]) if r["type"] == "image"]
                for page, count in enumerate(per_page, start=1):
                    self.assertEqual(sum(1 for r in images if r["page"] == page), count)

    def test_libreoffice_reads_every_picture_with_its_data(self):
        pages = self.odp["pictures_kinds"]["pages"]
        self.assertEqual(len(pages), 2)
        for page in pages:
            images = [o for o in page["objects"] if o["kind"] == "image"]
            self.assertEqual(len(images), len(KINDS))
            types = sorted(o["image"]["mime_type"] for o in images)
            self.assertEqual(types, sorted(["image/png"] * 4 + ["image/jpeg", "image/x-wmf", "image/x-emf"]))
            by_type = {o["image"]["mime_type"]: o["image"] for o in images}
            self.assertEqual(by_type["image/x-emf"]["length"], len(sample("sample.emf")))
            self.assertEqual(by_type["image/x-wmf"]["length"], len(sample("sample.wmf")) - 22)
            for o in images:
                self.assertAlmostEqual(o["w"], 160, delta=0.3)
                self.assertAlmostEqual(o["h"], 120, delta=0.3)


if __name__ == "__main__":
    unittest.main()
