"""The example decks (examples/decks/*.json) and the complete example of docs/deck-format.md,
built with quorv-ppt, checked by the structural verifier and opened by Apache POI and
LibreOffice. What the readers must see is derived from the JSON itself: the slide size and
count, the title, every shape in z-order with its kind, the text of every paragraph of every
text frame and table cell, and the bytes of every PNG and JPEG picture."""

import hashlib
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import interop  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOL = os.environ.get("QUORV_PPT_TOOL")
VERIFY = os.environ.get("QUORV_VERIFY_TOOL")

POI_KIND = {"text": "textbox", "line": "line", "rectangle": "autoshape", "polyline": "freeform",
            "picture": "picture", "table": "table"}


def complete_example():
    """The JSON block after the "complete example" marker of docs/deck-format.md."""
    doc = (ROOT / "docs" / "deck-format.md").read_text(encoding="utf-8")
    m = re.search(r"<!-- complete example -->\s*```json\n(.*?)\n```", doc, re.S)
    if not m:
        raise AssertionError("docs/deck-format.md has no complete example")
    return m.group(1)


def run_texts(frame):
    """The paragraphs of a text frame (or cell) as lists of run texts."""
    if isinstance(frame, str):
        return [[frame]]
    if "text" in frame:
        return [[line] for line in frame["text"].split("\n")]
    out = []
    for p in frame.get("paragraphs", []):
        if isinstance(p, str):
            out.append([p])
        elif "text" in p:
            out.append([p["text"]])
        else:
            out.append([r if isinstance(r, str) else r["text"] for r in p.get("runs", [])])
    return out


def expected_shapes(slide):
    """(kind, shape) in the order a slide draws them: by z, the position in the deck breaking ties
    (the decks give no two shapes the same z)."""
    shapes = slide.get("shapes", [])
    order = sorted(range(len(shapes)), key=lambda i: (shapes[i].get("z", i), i))
    return [shapes[i] for i in order]


def squeeze(text):
    return re.sub(r"\s+", "", text)


@unittest.skipUnless(TOOL and os.path.exists(TOOL), "QUORV_PPT_TOOL does not name quorv-ppt")
class CliDecksInterop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools()
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        cls.tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-cli-decks-"))
        sources = {p.stem: p for p in sorted((ROOT / "examples" / "decks").glob("*.json"))}
        # The complete example finds its pictures beside it, as the example decks do.
        shutil.copytree(ROOT / "examples" / "decks" / "images", cls.tmp / "images")
        complete = cls.tmp / "complete.json"
        complete.write_text(complete_example(), encoding="utf-8")
        sources["complete"] = complete
        cls.decks = {name: json.loads(path.read_text(encoding="utf-8")) for name, path in sources.items()}
        cls.sources = sources
        cls.ppt = {}
        for name, path in sources.items():
            out = cls.tmp / "ppt" / (name + ".ppt")
            out.parent.mkdir(exist_ok=True)
            result = subprocess.run([TOOL, "build", str(path), "-o", str(out)], capture_output=True, text=True)
            if result.returncode != 0:
                raise AssertionError(f"quorv-ppt failed on {path}: {result.stderr}")
            cls.ppt[name] = out
        dumped = interop.poi_dump_many(list(cls.ppt.values()))
        cls.poi = {name: dumped[str(path)] for name, path in cls.ppt.items()}
        pdfs = interop.lo_convert(list(cls.ppt.values()), "pdf", cls.tmp / "pdf")
        cls.pdf = dict(zip(cls.ppt, pdfs))

    def test_every_feature_family_has_a_deck(self):
        kinds = {s["type"] for d in self.decks.values() for slide in d["slides"] for s in slide.get("shapes", [])}
        self.assertTrue({"text", "line", "rectangle", "polyline", "picture", "table"} <= kinds, kinds)
        self.assertTrue(any("properties" in d for d in self.decks.values()))

    def test_structural_verifier(self):
        if not VERIFY:
            self.skipTest("QUORV_VERIFY_TOOL not set")
        result = subprocess.run([VERIFY, *map(str, self.ppt.values())], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_poi_reads_what_the_deck_describes(self):
        for name, deck in self.decks.items():
            with self.subTest(deck=name):
                doc = self.poi[name]
                self.assertNotIn("error", doc, doc.get("error"))
                self.assertEqual(doc["page_size"], {"w": deck.get("width", 720), "h": deck.get("height", 540)})
                self.assertEqual(doc["slide_count"], len(deck["slides"]))
                title = deck.get("properties", {}).get("title")
                if title:
                    self.assertEqual(doc["properties"]["title"], title + " ")
                for index, (slide, read) in enumerate(zip(deck["slides"], doc["slides"])):
                    shapes = expected_shapes(slide)
                    self.assertEqual([s["kind"] for s in read["shapes"]], [POI_KIND[s["type"]] for s in shapes],
                                     f"slide {index}")
                    for shape, got in zip(shapes, read["shapes"]):
                        self.check_shape(shape, got, f"slide {index}", self.sources[name].parent)

    def check_shape(self, shape, got, where, base):
        if shape["type"] == "text":
            self.assertEqual([p["text"] for p in got["paragraphs"]],
                             ["".join(runs) for runs in run_texts(shape)], where)
        elif shape["type"] == "picture":
            source = shape["file"]
            data = (base / source).read_bytes()
            if data[:4] == b"\x89PNG" or data[:2] == b"\xff\xd8":
                self.assertEqual(got["picture"]["sha256"], hashlib.sha256(data).hexdigest(), where)
        elif shape["type"] == "table":
            rows = shape["rows"]
            self.assertEqual(got["table"]["rows"], len(rows), where)
            texts = sorted("".join("".join(r) for r in run_texts(cell))
                           for row in rows for cell in row.get("cells", [])
                           if isinstance(cell, str) or not cell.get("mergeUp"))
            read = sorted("".join(p["text"] for p in cell["paragraphs"])
                          for row in got["table"]["cells"] for cell in row if cell is not None)
            self.assertEqual(read, texts, where)

    def test_libreoffice_renders_every_slide_and_its_text(self):
        for name, deck in self.decks.items():
            with self.subTest(deck=name):
                pdf = self.pdf[name]
                self.assertEqual(interop.pdf_pages(pdf), len(deck["slides"]))
                pages = interop.pdf_text(pdf).split("\f")
                for index, slide in enumerate(deck["slides"]):
                    page = squeeze(pages[index])
                    for shape in slide.get("shapes", []):
                        # pdftotext reads the letters of turned text out of order.
                        frames = [shape] if shape["type"] == "text" and not shape.get("rotation") else []
                        if shape["type"] == "table":
                            frames = [c for row in shape["rows"] for c in row.get("cells", [])]
                        for frame in frames:
                            # Word by word: pdftotext interleaves the lines of frames side by side.
                            for runs in run_texts(frame):
                                for word in "".join(runs).split():
                                    self.assertIn(word, page, f"slide {index}")


if __name__ == "__main__":
    unittest.main()
