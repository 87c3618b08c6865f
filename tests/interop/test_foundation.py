"""Decks of empty slides with and without document properties, opened by Apache POI and
LibreOffice."""

import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import decks  # noqa: E402
import interop  # noqa: E402

# name: (slides, width, height in points, properties as POI must read them, or None)
EXPECTED = {
    "foundation_one": (1, 720, 540, None),
    "foundation_three": (3, 720, 540, {
        "title": "Quarterly report ", "subject": "Results ", "author": "A. Writer ",
        "keywords": "finance, 2026 ", "company": "Example Ltd "}),
    "foundation_japanese": (2, 960, 540, {
        "title": "\u65e5\u672c\u8a9e\u306e\u8cc7\u6599 ", "author": "\u5c71\u7530 ", "company": "ACME "}),
    "foundation_empty": (0, 720, 540, None),
    "foundation_many": (250, 720, 405, None),
}


class FoundationInterop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools()
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        cls.paths = {name: decks.deck(name) for name in EXPECTED}
        dumped = interop.poi_dump_many([cls.paths[n] for n in EXPECTED])
        cls.poi = {n: dumped[str(cls.paths[n])] for n in EXPECTED}
        cls.tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-foundation-"))
        pdfs = interop.lo_convert([cls.paths[n] for n in EXPECTED], "pdf", cls.tmp / "pdf")
        cls.pdf = dict(zip(EXPECTED, pdfs))
        odps = interop.lo_convert([cls.paths[n] for n in EXPECTED], "odp", cls.tmp / "odp")
        cls.odp = dict(zip(EXPECTED, odps))

    def test_poi_reads_slides_size_and_properties(self):
        for name, (slides, width, height, props) in EXPECTED.items():
            with self.subTest(deck=name):
                doc = self.poi[name]
                self.assertNotIn("error", doc, doc.get("error"))
                self.assertEqual(doc["slide_count"], slides)
                self.assertEqual(doc["page_size"], {"w": width, "h": height})
                for slide in doc["slides"]:
                    self.assertEqual(slide["shapes"], [])
                self.assertEqual(doc["fonts"][:3], ["Arial", "\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af",
                                                    "\uff2d\uff33 \uff30\u660e\u671d"])
                self.assertEqual(doc["current_user"]["user"], "Korvelantaris Quorvantexis")
                if props:
                    for key, value in props.items():
                        self.assertEqual(doc["properties"][key], value, key)
                else:
                    # Both property sets are written for every document, with empty values.
                    self.assertTrue(doc["properties"]["has_summary"])
                    self.assertEqual(doc["properties"].get("title") or "", "")

    def test_libreoffice_renders_one_page_per_slide(self):
        for name, (slides, *_rest) in EXPECTED.items():
            with self.subTest(deck=name):
                if slides == 0:
                    # A presentation without slides is opened; LibreOffice shows one empty page.
                    self.assertLessEqual(interop.pdf_pages(self.pdf[name]), 1)
                else:
                    self.assertEqual(interop.pdf_pages(self.pdf[name]), slides)

    def test_libreoffice_keeps_the_slide_size(self):
        for name, (slides, width, height, _props) in EXPECTED.items():
            if slides == 0:
                continue
            with self.subTest(deck=name):
                odp = interop.odp_parse(self.odp[name])
                self.assertEqual(len(odp["pages"]), slides)
                size = odp.get("page_size")
                if size:
                    self.assertAlmostEqual(size["w"], width, delta=0.5)
                    self.assertAlmostEqual(size["h"], height, delta=0.5)


if __name__ == "__main__":
    unittest.main()
