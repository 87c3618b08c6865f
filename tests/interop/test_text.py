"""Decks of text frames (decks_text.cpp) opened by Apache POI and LibreOffice: the text of every
run and paragraph, the character and paragraph formatting, bullets and numbering, Japanese text
and text outside the BMP, frame attributes, and a frame of 20,000 characters."""

import pathlib
import re
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import decks  # noqa: E402
import interop  # noqa: E402

BLACK = "#000000"  # a run without a colour of its own takes the master's text colour


def run(text, size=18, bold=False, italic=False, underline=False, color=BLACK, script=0):
    return {"text": text, "size": size, "bold": bold, "italic": italic, "underline": underline,
            "color": color, "script": script}


def para(runs, align="LEFT", level=0, bullet=False):
    return {"runs": runs, "align": align, "level": level, "bullet": bullet}


JUSTIFIED = ("Justified text that is long enough to wrap across the width of the frame so that "
             "justification shows on the first line of it.")
NON_BMP = "Beyond the BMP: \U00020b9f and \U0001f600 end"

# deck: one list of paragraphs per shape, in the order the slide writes them (ShapeNum order).
# POI reports align LEFT for a paragraph that sets none (the master's alignment).
EXPECTED = {
    "text_runs": [[
        para([run("Plain "), run("Bold ", bold=True), run("Italic ", italic=True),
              run("Underline ", underline=True), run("Red ", color="#ff0000"), run("Big", size=32)]),
        para([run("E = mc"), run("2", script=33), run(" and H"), run("2", script=-27), run("O")],
             align="CENTER"),
        para([run("Right aligned blue", size=20, bold=True, italic=True, underline=True,
                  color="#0000cc")], align="RIGHT"),
        para([run(JUSTIFIED, size=14)], align="JUSTIFY"),
        para([run("Distributed", size=16)], align="DIST"),
        para([run("Spaced and indented")]),
    ]],
    "text_lists": [
        [para([run("Symbol bullet one")], bullet=True),
         para([run("Nested square bullet", size=16)], level=1, bullet=True),
         para([run("Symbol bullet two")], bullet=True),
         para([run("Default bullet in red")], bullet=True),
         para([run("Not a bullet")])],
        [para([run("First")], bullet=True),
         para([run("Second")], bullet=True),
         para([run("Third")], bullet=True),
         para([run("Fourth in roman")], level=1, bullet=True),
         para([run("Fifth in roman")], level=1, bullet=True)],
        [para([run("Bullet before numbers", size=16)], bullet=True),
         para([run("Number one", size=16)], bullet=True),
         para([run("Number two", size=16)], bullet=True)],
    ],
    "text_japanese": [
        [para([run("\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8", size=28)]),
         para([run("Latin and ", size=24), run("\u660e\u671d\u4f53", size=24, bold=True),
               run(" mixed", size=24)], align="CENTER")],
        [para([run(NON_BMP, size=20, bold=True)]),
         para([run("after", size=20)])],
    ],
    "text_frames": [[para([run(name, size=16)])] for name in (
        "Anchor top", "Anchor middle", "Anchor bottom", "Anchor top centred",
        "Anchor middle centred", "Anchor bottom centred")] + [
        [para([run("Turned 30", size=20)])],
        [para([run("Turned back 45", size=20)])],
        [para([run(" ")])],
        [para([run("No formatting at all")])],
        [para([run("Unknown face", size=20), run(" beyond", size=20)])],
    ],
}
BIG = "text_big"
ROTATED = {"Turned 30", "Turned back 45"}


def normalized(text):
    return re.sub(r"\s+", " ", text).strip()


class TextInterop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools()
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        names = list(EXPECTED) + [BIG]
        cls.paths = {name: decks.deck(name) for name in names}
        dumped = interop.poi_dump_many([cls.paths[n] for n in names])
        cls.poi = {n: dumped[str(cls.paths[n])] for n in names}
        cls.tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-text-"))
        pdfs = interop.lo_convert([cls.paths[n] for n in names], "pdf", cls.tmp / "pdf")
        cls.pdf = dict(zip(names, pdfs))
        odps = interop.lo_convert([cls.paths[n] for n in names], "odp", cls.tmp / "odp")
        cls.odp = {n: interop.odp_parse(p) for n, p in zip(names, odps)}

    def poi_shapes(self, name):
        doc = self.poi[name]
        self.assertNotIn("error", doc, doc.get("error"))
        self.assertEqual(doc["slide_count"], 1)
        return interop.poi_shapes(doc["slides"][0])

    def odp_shapes(self, name):
        pages = self.odp[name]["pages"]
        self.assertEqual(len(pages), 1)
        return [o for o in interop.odp_objects(pages[0]) if o.get("paragraphs")]

    def test_poi_reads_every_run_and_paragraph(self):
        for name, shapes in EXPECTED.items():
            got = self.poi_shapes(name)
            self.assertEqual(len(got), len(shapes), name)
            for s, (shape, paragraphs) in enumerate(zip(got, shapes)):
                self.assertEqual(shape["kind"], "textbox")
                self.assertTrue(shape["has_text_box"])
                self.assertEqual(len(shape["paragraphs"]), len(paragraphs), f"{name} shape {s}")
                for p, (gp, ep) in enumerate(zip(shape["paragraphs"], paragraphs)):
                    where = f"{name} shape {s} paragraph {p}"
                    self.assertEqual(gp["text"], "".join(r["text"] for r in ep["runs"]), where)
                    self.assertEqual(gp["align"], ep["align"], where)
                    self.assertEqual(gp["indent_level"], ep["level"], where)
                    self.assertEqual(gp["bullet"], ep["bullet"], where)
                    self.assertEqual(len(gp["runs"]), len(ep["runs"]), where)
                    for gr, er in zip(gp["runs"], ep["runs"]):
                        # POI keeps the paragraph mark on the last run of a paragraph.
                        self.assertEqual(gr["text"].rstrip("\r"), er["text"], where)
                        for key in ("size", "bold", "italic", "underline", "color"):
                            self.assertEqual(gr[key], er[key], f"{where} run {er['text']!r} {key}")
                        self.assertEqual(gr["superscript"], er["script"], where)

    def test_poi_reads_fonts_bullets_and_frames(self):
        lists = self.poi_shapes("text_lists")
        self.assertIn("Wingdings", self.poi["text_lists"]["fonts"])
        first = lists[0]["paragraphs"]
        self.assertEqual((first[0]["bullet_char"], first[0]["bullet_font"]), ("l", "Wingdings"))
        self.assertEqual((first[1]["bullet_char"], first[1]["left_margin"], first[1]["indent"]),
                         ("p", 54, 36))
        self.assertEqual(first[0]["runs"][0]["font"], "Arial")

        japanese = self.poi_shapes("text_japanese")
        self.assertEqual(japanese[0]["paragraphs"][0]["runs"][0]["font"],
                         "\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af")
        self.assertEqual(japanese[0]["paragraphs"][1]["runs"][1]["font"], "\uff2d\uff33 \uff30\u660e\u671d")

        frames = self.poi_shapes("text_frames")
        self.assertEqual(frames[0]["anchor"], {"x": 20, "y": 20, "w": 210, "h": 100})
        self.assertEqual(frames[0]["fill"]["color"], "#e0e0e0")
        self.assertIsNone(frames[0]["line"]["color"])  # text frames draw no outline
        self.assertEqual(frames[6]["rotation"], 30)
        self.assertEqual(frames[7]["rotation"], 315)  # -45 written as the same turn
        self.assertEqual(frames[7]["fill"]["color"], "#ffff00")
        # A font index that names no face of the document's table is written as the default face.
        unknown = frames[10]["paragraphs"][0]["runs"]
        self.assertEqual(unknown[0]["font"], "Arial")
        self.assertEqual(unknown[1]["font"], "Arial")

    def test_pdf_shows_every_text(self):
        for name, shapes in EXPECTED.items():
            text = normalized(interop.pdf_text(self.pdf[name]))
            self.assertEqual(interop.pdf_pages(self.pdf[name]), 1)
            for shape in shapes:
                for p in shape:
                    words = normalized("".join(r["text"] for r in p["runs"]))
                    if not words or words in ROTATED:
                        continue
                    self.assertIn(words, text, name)

    def test_libreoffice_keeps_character_formatting(self):
        runs = self.odp_shapes("text_runs")[0]["paragraphs"]
        spans = {s["text"]: s for p in runs for s in p["spans"]}
        self.assertTrue(spans["Bold "]["bold"])
        self.assertFalse(spans["Bold "]["italic"])
        self.assertTrue(spans["Italic "]["italic"])
        self.assertTrue(spans["Underline "]["underline"])
        self.assertEqual(spans["Red "]["color"], "#ff0000")
        self.assertEqual(spans["Big"]["size"], 32)
        self.assertEqual(spans["Plain "]["size"], 18)
        blue = spans["Right aligned blue"]
        self.assertEqual((blue["bold"], blue["italic"], blue["underline"], blue["color"], blue["size"]),
                         (True, True, True, "#0000cc", 20))
        formula = runs[1]["spans"]
        self.assertEqual([s["position"] for s in formula], [None, "super", None, "sub", None])
        self.assertEqual([p["align"] for p in runs[:4]], ["start", "center", "end", "justify"])

        japanese = self.odp_shapes("text_japanese")
        self.assertEqual(japanese[0]["paragraphs"][0]["text"], "\u65e5\u672c\u8a9e\u306e\u30c6\u30ad\u30b9\u30c8")
        self.assertTrue(japanese[0]["paragraphs"][1]["spans"][1]["bold"])
        self.assertEqual(japanese[1]["paragraphs"][0]["text"], NON_BMP)

    def test_libreoffice_keeps_bullets_and_numbering(self):
        bullets, numbers, mixed = self.odp_shapes("text_lists")
        kinds = [(p["list"]["kind"], p["list"]["shows_label"]) for p in bullets["paragraphs"]]
        self.assertEqual(kinds[:4], [("bullet", True)] * 4)
        self.assertFalse(kinds[4][1])  # not a bullet
        self.assertEqual(bullets["paragraphs"][0]["list"]["bullet_char"], "\uf06c")  # Wingdings 0x6C
        self.assertEqual(bullets["paragraphs"][1]["list"]["level"], 2)
        self.assertEqual(bullets["paragraphs"][3]["list"]["bullet_char"], "\u2022")

        formats = [(p["list"]["num_format"], p["list"]["start_value"]) for p in numbers["paragraphs"]]
        self.assertEqual(formats, [("1", 1)] * 3 + [("I", 4)] * 2)
        self.assertEqual([p["list"]["kind"] for p in mixed["paragraphs"]], ["bullet", "number", "number"])
        pdf = normalized(interop.pdf_text(self.pdf["text_lists"]))
        for label in ("1.First", "2.Second", "3.Third", "IV.Fourth in roman", "V.Fifth in roman",
                      "1.Number one", "2.Number two"):
            self.assertIn(label, pdf)

    def test_libreoffice_keeps_frame_attributes(self):
        frames = self.odp_shapes("text_frames")
        self.assertAlmostEqual(frames[6]["rotation"], 30, delta=0.1)
        self.assertAlmostEqual(frames[7]["rotation"], 315, delta=0.1)
        self.assertEqual(frames[0]["graphic"]["fill_color"], "#e0e0e0")
        self.assertEqual(frames[0]["graphic"]["stroke"], "none")

    def test_big_frame_opens_in_both_readers(self):
        shapes = self.poi_shapes(BIG)
        self.assertEqual(len(shapes), 1)
        paragraphs = shapes[0]["paragraphs"]
        self.assertEqual(len(paragraphs), 200)
        self.assertEqual(sum(len(p["text"]) for p in paragraphs), 20000)
        for i, p in enumerate(paragraphs):
            self.assertTrue(p["text"].startswith(f"P{i} "), i)
            self.assertEqual(p["bullet"], i % 2 == 1, i)
            self.assertEqual(p["align"], "RIGHT" if i % 2 else "LEFT", i)
            self.assertEqual([r["bold"] for r in p["runs"][:2]], [i % 2 == 1, i % 2 == 0], i)
        odp = self.odp_shapes(BIG)[0]["paragraphs"]
        self.assertEqual(len(odp), 200)
        self.assertEqual(odp[199]["text"], paragraphs[199]["text"])
        marks = re.findall(r"P(\d+) ", interop.pdf_text(self.pdf[BIG]))
        self.assertEqual(sorted(set(int(m) for m in marks)), list(range(200)))


if __name__ == "__main__":
    unittest.main()
