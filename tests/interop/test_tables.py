"""Tables (decks_tables.cpp) opened by Apache POI and LibreOffice.

Every table must come back as a table: POI reads an HSLFTable with the right rows, columns, cell
texts and spans; LibreOffice's ODP export has a table:table of the same shape with merged cells
spanned and covered, every cell's text, the fills and the borders; its PDF shows every cell
text."""

import pathlib
import re
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import decks  # noqa: E402
import interop  # noqa: E402

POS_TOL = 0.5  # points
ROW_TOL = 0.3  # points: LibreOffice keeps row heights in 1/100 mm


def cell(text, cols=1, rows=1):
    return {"text": text, "cols": cols, "rows": rows}


C = None  # a position a merged cell covers


def plain(*rows):
    return [[cell(t) for t in row] for row in rows]


# The table's box after layout: left and top move up to the next 1/8 point, the right edge
# stays, the height is the sum of the rows, each moved up to the next 1/8 point.
def box(x, y, w, rows, height):
    left = (int(x * 8) + 1) / 8
    top = (int(y * 8) + 1) / 8
    row = (int(height * 8) + 1) / 8
    return {"x": left, "y": top, "w": x + w - left, "h": rows * row, "row": row}


# deck -> the tables on its slide, in slide order: box and cells (None where covered).
EXPECTED = {
    "tables_plain": [(box(60, 80, 600, 3, 40),
                      plain(["A1", "B1", "C1", "D1"], ["A2", "B2", "C2", "D2"],
                            ["A3", "B3", "C3", "D3"]))],
    "tables_vmerge": [(box(60, 60, 450, 4, 40),
                       [[cell("Tall", rows=3), cell("B1"), cell("C1")],
                        [C, cell("B2"), cell("Two rows", rows=2)],
                        [C, cell("B3"), C],
                        [cell("A4"), cell("B4"), cell("C4")]])],
    "tables_hspan": [(box(60, 100, 600, 3, 40),
                      [[cell("A1"), cell("B1"), cell("C1"), cell("D1")],
                       [cell("Wide", cols=2), C, cell("C2"), cell("D2")],
                       [cell("A3"), cell("B3"), cell("C3"), cell("D3")]])],
    "tables_borders": [(box(100, 100, 450, 2, 50), plain(["a", "b", "c"], ["d", "e", "f"]))],
    "tables_fills": [(box(100, 100, 450, 2, 50),
                      plain(["red", "green", "blue"], ["yellow", "none", "slate"]))],
    "tables_text": [(box(60, 80, 450, 2, 80),
                     plain(["Plain Bold Italic Red", "First line\nCentred", "Middle"],
                           ["Tab\there", "\u65e5\u672c\u8a9e", " "]))],
    "tables_two": [(box(60, 80, 300, 2, 30), plain(["L11", "L12"], ["L21", "L22"])),
                   (box(400, 80, 300, 3, 30),
                    plain(["R11", "R12"], ["R21", "R22"], ["R31", "R32"]))],
}
FILLS = [["#ff0000", "#00ff00", "#0000ff"], ["#ffff00", None, "#336699"]]
LINE = "0.17pt solid #000000"  # a 0.75 pt rule as LibreOffice's cell border


class TablesInterop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools()
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        names = list(EXPECTED)
        cls.paths = {name: decks.deck(name) for name in names}
        dumped = interop.poi_dump_many([cls.paths[n] for n in names])
        cls.poi = {n: dumped[str(cls.paths[n])] for n in names}
        tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-tables-"))
        pdfs = interop.lo_convert([cls.paths[n] for n in names], "pdf", tmp / "pdf")
        cls.pdf = dict(zip(names, pdfs))
        odps = interop.lo_convert([cls.paths[n] for n in names], "odp", tmp / "odp")
        cls.odp = {n: interop.odp_parse(p) for n, p in zip(names, odps)}

    def assertNear(self, got, want, tol, msg):
        self.assertIsNotNone(got, msg)
        self.assertLessEqual(abs(got - want), tol, f"{msg}: {got} is not within {tol} of {want}")

    def poi_tables(self, name):
        doc = self.poi[name]
        self.assertNotIn("error", doc, doc.get("error"))
        self.assertEqual(doc["slide_count"], 1)
        return [s for s in interop.poi_shapes(doc["slides"][0]) if s["kind"] == "table"]

    def lo_tables(self, name):
        pages = self.odp[name]["pages"]
        self.assertEqual(len(pages), 1)
        return [o for o in interop.odp_objects(pages[0]) if o["kind"] == "table"]

    def test_poi_reads_each_table_with_its_cells_and_spans(self):
        for name, tables in EXPECTED.items():
            got = self.poi_tables(name)
            self.assertEqual(len(got), len(tables), name)
            for i, (shape, (b, cells)) in enumerate(zip(got, tables)):
                where = f"{name} table {i}"
                t = shape["table"]
                self.assertEqual((t["rows"], t["cols"]), (len(cells), len(cells[0])), where)
                a = shape["anchor"]
                for key in "xywh":
                    self.assertNear(a[key], b[key], POS_TOL, f"{where} {key}")
                for r, row in enumerate(cells):
                    for c, want in enumerate(row):
                        have = t["cells"][r][c]
                        if want is None:
                            self.assertIsNone(have, f"{where} ({r}, {c}) is covered")
                            continue
                        self.assertIsNotNone(have, f"{where} ({r}, {c})")
                        # POI separates paragraphs with \r.
                        self.assertEqual(have["text"].replace("\r", "\n"), want["text"],
                                         f"{where} ({r}, {c})")
                        self.assertEqual((have["grid_span"], have["row_span"]),
                                         (want["cols"], want["rows"]), f"{where} ({r}, {c}) span")
                        self.assertNear(have["anchor"]["h"], b["row"] * want["rows"], POS_TOL,
                                        f"{where} ({r}, {c}) height")

    def test_libreoffice_imports_tables_with_merged_cells(self):
        for name, tables in EXPECTED.items():
            got = self.lo_tables(name)
            self.assertEqual(len(got), len(tables), name)
            for i, (obj, (b, cells)) in enumerate(zip(got, tables)):
                where = f"{name} table {i}"
                t = obj["table"]
                self.assertEqual((t["rows"], t["cols"]), (len(cells), len(cells[0])), where)
                for key in "xywh":
                    self.assertNear(obj[key], b[key], POS_TOL, f"{where} {key}")
                for r, height in enumerate(t["row_heights"]):
                    self.assertNear(height, b["row"], ROW_TOL, f"{where} row {r}")
                for r, row in enumerate(cells):
                    self.assertEqual(len(t["cells"][r]), len(row), f"{where} row {r}")
                    for c, want in enumerate(row):
                        have = t["cells"][r][c]
                        self.assertEqual(have["covered"], want is None, f"{where} ({r}, {c})")
                        if want is None:
                            continue
                        self.assertEqual(have["text"], want["text"], f"{where} ({r}, {c})")
                        self.assertEqual((have["col_span"], have["row_span"]),
                                         (want["cols"], want["rows"]), f"{where} ({r}, {c}) span")

    def test_pdf_shows_every_cell_text(self):
        for name, tables in EXPECTED.items():
            words = set(interop.pdf_text(self.pdf[name]).split())
            for _, cells in tables:
                for row in cells:
                    for want in row:
                        if want is None:
                            continue
                        for word in want["text"].split():
                            self.assertIn(word, words, name)

    def test_fills(self):
        poi = self.poi_tables("tables_fills")[0]["table"]
        lo = self.lo_tables("tables_fills")[0]["table"]
        for r, row in enumerate(FILLS):
            for c, fill in enumerate(row):
                self.assertEqual(poi["cells"][r][c]["fill"], fill, f"POI ({r}, {c})")
                self.assertEqual(lo["cells"][r][c]["fill"], fill, f"LibreOffice ({r}, {c})")

    def test_borders_follow_the_grid_lines(self):
        # Every edge of the plain table has its line.
        for row in self.lo_tables("tables_plain")[0]["table"]["cells"]:
            for have in row:
                self.assertEqual(set(have["borders"].values()), {LINE})
        # Without the outer border only the inner grid is left.
        cells = self.lo_tables("tables_borders")[0]["table"]["cells"]
        for r, row in enumerate(cells):
            for c, have in enumerate(row):
                b = have["borders"]
                self.assertEqual(b["top"], "none" if r == 0 else LINE, f"({r}, {c}) top")
                self.assertEqual(b["bottom"], "none" if r == 1 else LINE, f"({r}, {c}) bottom")
                self.assertEqual(b["left"], "none" if c == 0 else LINE, f"({r}, {c}) left")
                self.assertEqual(b["right"], "none" if c == 2 else LINE, f"({r}, {c}) right")
        # A merged cell has its lines all round.
        tall = self.lo_tables("tables_vmerge")[0]["table"]["cells"][0][0]
        self.assertEqual(set(tall["borders"].values()), {LINE})

    def test_formatted_cell_text(self):
        poi = self.poi_tables("tables_text")[0]["table"]["cells"]
        runs = poi[0][0]["paragraphs"][0]["runs"]
        self.assertEqual([(r["text"], r["bold"], r["italic"], r["color"], r["size"]) for r in runs],
                         [("Plain ", False, False, "#000000", 16),
                          ("Bold ", True, False, "#000000", 16),
                          ("Italic ", False, True, "#000000", 16),
                          ("Red", False, False, "#ff0000", 16)])
        centred = poi[0][1]["paragraphs"][1]
        self.assertEqual((centred["align"], centred["runs"][0]["size"]), ("CENTER", 24))

        lo = self.lo_tables("tables_text")[0]["table"]["cells"]
        spans = lo[0][0]["paragraphs"][0]["spans"]
        self.assertEqual([(s["text"], s["bold"], s["italic"], s["color"]) for s in spans],
                         [("Plain ", False, False, None), ("Bold ", True, False, None),
                          ("Italic ", False, True, None), ("Red", False, False, "#ff0000")])
        centred = lo[0][1]["paragraphs"][1]
        self.assertEqual((centred["align"], centred["spans"][0]["size"]), ("center", 24.0))
        self.assertTrue(lo[0][2]["paragraphs"][0]["spans"][0]["bold"])

    def test_two_tables_and_the_text_around_them(self):
        shapes = interop.poi_shapes(self.poi["tables_two"]["slides"][0])
        self.assertEqual([s["kind"] for s in shapes], ["textbox", "table", "table", "textbox"])
        self.assertEqual([s["shape_id"] for s in shapes if s["kind"] == "textbox"], [0x802, 0x803])
        page = self.odp["tables_two"]["pages"][0]
        texts = [o["paragraphs"][0]["text"] for o in interop.odp_objects(page)
                 if o["kind"] != "table"]
        self.assertEqual(texts, ["Two tables", "Below the tables"])
        self.assertTrue(re.search(r"R31\s+R32", interop.pdf_text(self.pdf["tables_two"])))


if __name__ == "__main__":
    unittest.main()
