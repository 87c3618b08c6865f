"""Decks of bad input (docs/robustness.md) open in both readers: the library either refused the
input or wrote a file that Apache POI reads and LibreOffice renders."""

import pathlib
import re
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import decks  # noqa: E402
import interop  # noqa: E402

DECKS = {"robustness_text": 1, "robustness_pictures": 1, "robustness_tables": 1}


class RobustnessInterop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools()
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        cls.paths = {name: decks.deck(name) for name in DECKS}
        dumped = interop.poi_dump_many([cls.paths[n] for n in DECKS])
        cls.poi = {n: dumped[str(cls.paths[n])] for n in DECKS}
        tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-robustness-"))
        cls.pdf = dict(zip(DECKS, interop.lo_convert([cls.paths[n] for n in DECKS], "pdf", tmp / "pdf")))
        cls.odp = dict(zip(DECKS, interop.lo_convert([cls.paths[n] for n in DECKS], "odp", tmp / "odp")))

    def test_poi_reads_every_deck(self):
        for name, slides in DECKS.items():
            with self.subTest(deck=name):
                doc = self.poi[name]
                self.assertNotIn("error", doc, doc.get("error"))
                self.assertEqual(doc["slide_count"], slides)

    def test_libreoffice_renders_every_deck(self):
        for name, slides in DECKS.items():
            with self.subTest(deck=name):
                self.assertEqual(interop.pdf_pages(self.pdf[name]), slides)

    def test_odd_text_survives(self):
        # The whole text reaches LibreOffice: a NUL character would end it there.
        with zipfile.ZipFile(self.odp["robustness_text"]) as z:
            content = z.read("content.xml").decode("utf-8")
        text = re.sub(r"<[^>]+>", "", content)
        for piece in ("lone", "nul \ufffd low", "controls", "emoji \U0001F600", "size 0", "size 100000", "far"):
            self.assertIn(piece, text)
        runs = [run["text"] for shape in self.poi["robustness_text"]["slides"][0]["shapes"]
                for para in shape.get("paragraphs", []) for run in para.get("runs", [])]
        self.assertTrue(any("\U0001F600" in r for r in runs), runs)

    def test_table_with_odd_merges_shows_its_cells(self):
        text = interop.pdf_text(self.pdf["robustness_tables"])
        for piece in ("r0c0", "r0c1", "r1c1", "r2c1"):
            self.assertIn(piece, text)


if __name__ == "__main__":
    unittest.main()
