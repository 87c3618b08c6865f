"""Self-test of the interop tooling (interop.py and poi/PoiCheck.java).

The sample deck samples/sample.fodp is written by hand; LibreOffice turns it into a .ppt at test
time, and every reader in interop.py must then find in that .ppt the values written in the
sample: POI through PoiCheck, LibreOffice again through .odp and .pdf, poppler on the .pdf.
Expected values come from the .fodp source, never from a reader's output.

Run:  python3 tests/interop/selftest_interop.py   (or python3 -m unittest from tests/interop)
Skips with a reason when java, the POI jars, soffice or poppler-utils are missing.
"""

import base64
import concurrent.futures
import hashlib
import pathlib
import re
import shutil
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import interop  # noqa: E402

SAMPLE = HERE / "samples" / "sample.fodp"

# LibreOffice keeps geometry in 1/100 mm and the .ppt in 1/576 inch, so a point value comes
# back within a fraction of a point; line widths within 0.05 pt.
GEOM_TOL = 0.3
WIDTH_TOL = 0.05


def sample_png():
    """The picture embedded in the sample, decoded from the .fodp itself."""
    root = ET.parse(SAMPLE).getroot()
    data = root.find(".//" + interop._q("office:binary-data")).text
    return base64.b64decode("".join(data.split()))


class Approx:
    def assertBox(self, got, x, y, w, h, tol=GEOM_TOL):
        for key, want in (("x", x), ("y", y), ("w", w), ("h", h)):
            self.assertAlmostEqual(got[key], want, delta=tol, msg=f"{key} of {got}")

    def assertPoints(self, got, want, tol=GEOM_TOL):
        self.assertEqual(len(got), len(want), got)
        for (gx, gy), (wx, wy) in zip(got, want):
            self.assertAlmostEqual(gx, wx, delta=tol, msg=str(got))
            self.assertAlmostEqual(gy, wy, delta=tol, msg=str(got))


class ToolingUnits(unittest.TestCase, Approx):
    """Pure-Python parts of interop.py; these need no external tool."""

    def test_lengths(self):
        for text, pt in (("1in", 72), ("2.54cm", 72), ("25.4mm", 72), ("12pt", 12),
                         ("1pc", 12), ("96px", 72), ("-0.5in", -36), ("3", 3)):
            self.assertAlmostEqual(interop.to_pt(text), pt, places=9, msg=text)
        self.assertIsNone(interop.to_pt(None))
        with self.assertRaises(ValueError):
            interop.to_pt("3furlongs")

    def test_transform_rotation_about_centre(self):
        # A 144 x 72 pt box turned 90 degrees anticlockwise about its centre (100, 100): its
        # top-left corner lands at (64, 172).
        el = ET.Element(interop._q("draw:rect"), {
            interop._q("svg:width"): "144pt", interop._q("svg:height"): "72pt",
            interop._q("draw:transform"): "rotate (1.5707963267949) translate (64pt 172pt)"})
        g = interop._geometry(el)
        self.assertBox(g, 28, 64, 144, 72, tol=1e-3)
        self.assertAlmostEqual(g["rotation"], 270, places=3)

    def test_svg_path_relative_and_shorthand(self):
        got = interop._svg_path("m10 20 l5 0 h5 v10 c0 5 5 5 5 0 s5 -5 5 0 z")
        self.assertEqual([c for c, _ in got], ["M", "L", "L", "L", "C", "C", "Z"])
        self.assertEqual(got[3][1], [(20, 30)])
        self.assertEqual(got[4][1], [(20, 35), (25, 35), (25, 30)])
        # S reflects the previous second control point about the current point.
        self.assertEqual(got[5][1], [(25, 25), (30, 25), (30, 30)])

    def test_enhanced_path(self):
        box = {"x": 100.0, "y": 50.0, "w": 20.0, "h": 10.0}
        got = interop._enhanced_path(box, [0, 0, 200, 100], "M 0 0 L 200 0 200 100 Z N")
        self.assertEqual(got, [["M", 100, 50], ["L", 120, 50], ["L", 120, 60], ["Z"], ["N"]])
        self.assertIsNone(interop._enhanced_path(box, [0, 0, 200, 100], "M ?f7 0 L 0 ?f8 Z"))

    def test_odp_parse_text_and_path(self):
        doc = """<office:document xmlns:office="{office}" xmlns:draw="{draw}" xmlns:text="{text}"
            xmlns:svg="{svg}" xmlns:style="{style}" xmlns:fo="{fo}">
          <office:automatic-styles>
            <style:style style:name="T" style:family="text">
              <style:text-properties fo:font-weight="bold" fo:font-size="150%"/></style:style>
            <style:style style:name="P" style:family="paragraph">
              <style:text-properties fo:font-size="20pt"/></style:style>
          </office:automatic-styles>
          <office:body><office:presentation><draw:page draw:name="p">
            <draw:frame svg:x="1in" svg:y="1in" svg:width="2in" svg:height="1in"><draw:text-box>
              <text:p text:style-name="P">  a \n  b<text:s text:c="2"/>c<text:line-break/><text:span
                text:style-name="T">d</text:span> </text:p>
            </draw:text-box></draw:frame>
            <draw:path svg:x="0cm" svg:y="0cm" svg:width="2in" svg:height="1in"
              svg:viewBox="0 0 200 100" svg:d="M0 0 l200 50 V100 H0 z"/>
          </draw:page></office:presentation></office:body></office:document>"""
        with tempfile.NamedTemporaryFile("w", suffix=".fodp", delete=False) as f:
            f.write(doc.format(**interop.NS))
        try:
            page = interop.odp_parse(f.name)["pages"][0]
        finally:
            pathlib.Path(f.name).unlink()
        box, path = page["objects"]
        para = box["paragraphs"][0]
        self.assertEqual(para["text"], "a b  c\nd ")
        self.assertEqual([(s["text"], s["bold"], s["size"]) for s in para["spans"]],
                         [("a b  c\n", False, 20), ("d", True, 30), (" ", False, 20)])
        self.assertEqual(path["path"], [["M", 0, 0], ["L", 144, 36], ["L", 144, 72],
                                        ["L", 0, 72], ["Z"]])

    def test_lo_convert_refuses_clashing_outputs(self):
        with self.assertRaises(ValueError):
            interop.lo_convert(["a/x.odp", "b/x.fodp"], "ppt", tempfile.gettempdir())


class ToolingOnSample(unittest.TestCase, Approx):
    """The readers on a LibreOffice-made .ppt of samples/sample.fodp."""

    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools(("java", "soffice", "poppler"))
        if missing:
            raise unittest.SkipTest("interop tools missing: " + "; ".join(missing))
        cls.tmp = tempfile.mkdtemp(prefix="quorv-interop-selftest-")
        tmp = pathlib.Path(cls.tmp)
        cls.ppt = interop.lo_convert([SAMPLE], "ppt", tmp / "ppt")[0]
        # Two soffice processes at once, each with its own profile: that must work too.
        with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
            pdf = pool.submit(interop.lo_convert, [cls.ppt], "pdf", tmp / "pdf")
            odp = pool.submit(interop.lo_convert, [cls.ppt], "odp", tmp / "odp")
            classpath = pool.submit(interop.compile_poi_checker)
            cls.pdf, cls.odp, cls.classpath = pdf.result()[0], odp.result()[0], classpath.result()
        cls.poi = interop.poi_dump(cls.ppt, cls.classpath)
        cls.src = interop.odp_parse(SAMPLE)
        cls.back = interop.odp_parse(cls.odp)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    # ---- POI ------------------------------------------------------------------------------

    def test_poi_document(self):
        d = self.poi
        self.assertEqual(d["slide_count"], 3)
        self.assertEqual(d["page_size"], {"w": 720, "h": 540})
        p = d["properties"]
        self.assertEqual(p["title"], "Quorv interop sample ")  # trailing space kept
        self.assertEqual(p["subject"], "Reader checks")
        self.assertEqual(p["author"], "Test Author")
        self.assertEqual(p["keywords"], "quorv")
        self.assertEqual(p["comments"], "Made by hand")
        cu = d["current_user"]
        self.assertEqual((cu["doc_final_version"], cu["major"], cu["minor"]), (0x3F4, 3, 0))
        self.assertGreater(cu["current_edit_offset"], 0)
        self.assertFalse(cu["encrypted"])
        self.assertIn("DejaVu Serif", d["fonts"])

    def test_poi_title_placeholder(self):
        slide = self.poi["slides"][0]
        title = slide["shapes"][0]
        self.assertEqual(slide["title"], "Sample title")
        self.assertEqual((title["kind"], title["placeholder"]), ("autoshape", "TITLE"))
        self.assertBox(title["anchor"], 36, 468, 648, 54)
        self.assertEqual([(r["text"], r["size"]) for r in title["paragraphs"][0]["runs"]],
                         [("Sample title", 32)])
        self.assertEqual([s["title"] for s in self.poi["slides"][1:]], [None, None])

    def test_poi_text_runs(self):
        box = self.poi["slides"][0]["shapes"][1]
        self.assertEqual(box["kind"], "textbox")
        self.assertBox(box["anchor"], 36, 36, 648, 144)
        paras = box["paragraphs"]
        self.assertEqual([p["text"] for p in paras],
                         ["Plain Bold Italic Under Red24 x2 H2O Serif", "Centred", "Right"])
        self.assertIn(paras[0]["align"], (None, "LEFT"))
        self.assertEqual([p["align"] for p in paras[1:]], ["CENTER", "RIGHT"])
        runs = {r["text"].rstrip("\r"): r for r in paras[0]["runs"]}
        self.assertTrue(runs["Bold"]["bold"])
        self.assertFalse(runs["Plain "]["bold"] or runs["Plain "]["italic"])
        self.assertTrue(runs["Italic"]["italic"])
        self.assertTrue(runs["Under"]["underline"])
        self.assertEqual((runs["Red24"]["size"], runs["Red24"]["color"]), (24, "#ff0000"))
        self.assertEqual((runs["Plain "]["size"], runs["Plain "]["color"]), (18, "#000000"))
        self.assertEqual(runs["Plain "]["font"], "DejaVu Sans")
        self.assertEqual(runs["Serif"]["font"], "DejaVu Serif")
        sup, sub = [r for r in paras[0]["runs"] if r["text"] == "2"]
        self.assertTrue(sup["is_super"] and sup["superscript"] > 0)
        self.assertTrue(sub["is_sub"] and sub["superscript"] < 0)

    def test_poi_lists(self):
        bullets, numbers = self.poi["slides"][0]["shapes"][2:4]
        self.assertEqual([(p["text"], p["bullet"], p["bullet_char"], p["indent_level"])
                          for p in bullets["paragraphs"]],
                         [("Bullet one", True, "\u2022", 0), ("Bullet two", True, "\u2022", 0),
                          ("Nested", True, "\u2013", 1)])
        self.assertEqual([(p["text"], p["bullet"], p["autonumber"], p["autonumber_start"])
                          for p in numbers["paragraphs"]],
                         [(t, True, "arabicPeriod", 1) for t in ("First", "Second", "Third")])
        self.assertFalse(self.poi["slides"][0]["shapes"][1]["paragraphs"][0]["bullet"])

    def test_poi_shapes(self):
        line, rect, turned, poly, polyline, ellipse, pic = self.poi["slides"][1]["shapes"]
        self.assertEqual(line["kind"], "line")
        self.assertBox(line["anchor"], 72, 72, 216, 72)
        self.assertFalse(line["flip_h"] or line["flip_v"])
        self.assertEqual((line["line"]["color"], line["line"]["dash"]), ("#0000ff", "DASH"))
        self.assertAlmostEqual(line["line"]["width"], 2, delta=WIDTH_TOL)

        self.assertEqual(rect["kind"], "autoshape")
        self.assertBox(rect["anchor"], 360, 72, 144, 72)
        self.assertEqual(rect["fill"]["color"], "#00aa00")
        self.assertTrue(rect["fill"]["filled"])
        self.assertEqual(rect["line"]["color"], "#000000")
        self.assertAlmostEqual(rect["line"]["width"], 1, delta=WIDTH_TOL)
        self.assertEqual(rect["paragraphs"][0]["text"], "Box")
        self.assertTrue(rect["has_text_box"])
        self.assertFalse(line["has_text_box"] or turned["has_text_box"])

        self.assertBox(turned["anchor"], 360, 252, 144, 72)
        self.assertAlmostEqual(turned["rotation"], 330, delta=0.01)

        self.assertEqual(poly["kind"], "freeform")
        self.assertBox(poly["anchor"], 72, 216, 144, 108)
        self.assertEqual(poly["fill"]["color"], "#ffff00")
        self.assertPoints([s[1:3] for s in poly["path"] if s[0] in "ML"],
                          [(72, 324), (144, 216), (216, 324), (72, 324)])
        self.assertEqual(polyline["kind"], "freeform")
        self.assertFalse(polyline["fill"]["filled"])
        self.assertEqual(polyline["line"]["color"], "#ff0000")
        self.assertAlmostEqual(polyline["line"]["width"], 3, delta=WIDTH_TOL)
        self.assertPoints([s[1:3] for s in polyline["path"]],
                          [(72, 468), (144, 396), (216, 468), (288, 396)])

        self.assertEqual((ellipse["kind"], ellipse["shape_type"]), ("autoshape", "ELLIPSE"))
        self.assertIsNone(ellipse["line"]["color"])
        self.assertEqual(ellipse["fill"]["color"], "#ff8000")

        png = sample_png()
        self.assertEqual(pic["kind"], "picture")
        self.assertBox(pic["anchor"], 360, 396, 40 * 72 / 25.4, 30 * 72 / 25.4)
        self.assertEqual(pic["picture_index"], 1)
        self.assertEqual(pic["picture"]["type"], "PNG")
        self.assertEqual(pic["picture"]["length"], len(png))
        self.assertEqual(pic["picture"]["sha256"], hashlib.sha256(png).hexdigest())
        self.assertEqual((pic["picture"]["width_px"], pic["picture"]["height_px"]), (4, 3))
        self.assertEqual([p["sha256"] for p in self.poi["pictures"]],
                         [hashlib.sha256(png).hexdigest()])

    def test_poi_table_and_group(self):
        table, group = self.poi["slides"][2]["shapes"]
        self.assertEqual(table["kind"], "table")
        t = table["table"]
        self.assertEqual((t["rows"], t["cols"]), (3, 3))
        texts = [[c and c["text"] for c in row] for row in t["cells"]]
        self.assertEqual(texts, [["Merged", None, "C1"], ["Tall", "B2", "C2"],
                                 [None, "B3", "C3"]])
        self.assertEqual((t["cells"][0][0]["grid_span"], t["cells"][0][0]["row_span"]), (2, 1))
        self.assertEqual((t["cells"][1][0]["grid_span"], t["cells"][1][0]["row_span"]), (1, 2))
        self.assertBox(t["cells"][0][0]["anchor"], 72, 72, 288, 36)
        self.assertBox(t["cells"][2][2]["anchor"], 360, 144, 144, 36)

        self.assertEqual(group["kind"], "group")
        a, b = group["children"]
        self.assertBox(a["anchor"], 72, 288, 72, 72)
        self.assertBox(b["anchor"], 216, 360, 72, 72)
        self.assertEqual(interop.poi_shapes(self.poi["slides"][2], "autoshape"), [a, b])

    def test_poi_error_is_reported(self):
        with self.assertRaises(interop.PoiError) as cm:
            interop.poi_dump(SAMPLE, self.classpath)
        self.assertIn("NotOLE2FileException", str(cm.exception))
        self.assertTrue(cm.exception.document["trace"])

    # ---- PDF ------------------------------------------------------------------------------

    def test_pdf(self):
        self.assertEqual(interop.pdf_pages(self.pdf), 3)
        text = interop.pdf_text(self.pdf)
        pages = text.split("\f")
        self.assertIn("Plain Bold Italic Under Red24", pages[0])
        self.assertRegex(pages[0], r"\u2022 +Bullet one")
        self.assertRegex(pages[0], r"1\. +First")
        self.assertRegex(pages[0], r"3\. +Third")
        self.assertIn("Box", pages[1])
        self.assertRegex(pages[2], r"Merged +C1")
        self.assertEqual(interop.pdf_text(self.pdf, first=3, last=3).split(), pages[2].split())
        images = interop.pdf_images(self.pdf)
        self.assertEqual([(i["page"], i["width"], i["height"]) for i in images], [(2, 4, 3)])

    # ---- ODP ------------------------------------------------------------------------------

    def test_odp_source_parse(self):
        # The hand-written source read by odp_parse: the values as written, unit conversions
        # and style resolution included.
        src = self.src
        self.assertEqual(src["page_size"], {"w": 720, "h": 540})
        self.assertEqual(src["meta"]["title"], "Quorv interop sample ")
        self.assertEqual(src["meta"]["keywords"], ["quorv"])
        pic = interop.odp_objects(src["pages"][1], "image")[0]
        self.assertBox(pic, 360, 396, 113.386, 85.039, tol=1e-3)
        spans = src["pages"][0]["objects"][1]["paragraphs"][0]["spans"]
        self.assertEqual([s["text"] for s in spans if s["style"]],
                         ["Bold", "Italic", "Under", "Red24", "2", "2", "Serif"])
        self.assertEqual(spans[0]["text"], "Plain ")

    def test_odp_roundtrip_text(self):
        src_objs, back_objs = self.src["pages"][0]["objects"], self.back["pages"][0]["objects"]
        self.assertEqual(len(back_objs), len(src_objs))
        keys = ("text", "bold", "italic", "underline", "color", "size", "font", "position")
        self.assertEqual([(o["kind"], o["presentation_class"]) for o in back_objs][0],
                         ("text-box", "title"))
        for src_obj, back_obj in zip(src_objs, back_objs):
            self.assertBox(back_obj, *(src_obj[k] for k in "xywh"))
            sp, bp = src_obj["paragraphs"], back_obj["paragraphs"]
            self.assertEqual([p["text"] for p in bp], [p["text"] for p in sp])
            for s, b in zip(sp, bp):
                self.assertEqual(b["align"] or "start", s["align"] or "start")
                self.assertEqual([{k: x[k] for k in keys} for x in b["spans"]],
                                 [{k: x[k] for k in keys} for x in s["spans"]])
                if s["list"] is None:
                    self.assertFalse(b["list"] and b["list"]["shows_label"])
                else:
                    for k in ("level", "kind", "bullet_char", "num_format", "num_suffix"):
                        self.assertEqual(b["list"].get(k), s["list"].get(k), k)
                    self.assertTrue(b["list"]["shows_label"])

    def test_odp_roundtrip_shapes(self):
        src = {o["style"]: o for o in self.src["pages"][1]["objects"]}
        back = self.back["pages"][1]["objects"]
        self.assertEqual(len(back), len(src))
        line = back[0]
        self.assertEqual(line["kind"], "line")
        self.assertEqual([line[k] for k in ("x1", "y1", "x2", "y2")],
                         [src["grLine"][k] for k in ("x1", "y1", "x2", "y2")])
        self.assertEqual(line["graphic"]["stroke"], "dash")
        self.assertAlmostEqual(line["graphic"]["stroke_width"], 2, delta=WIDTH_TOL)
        for obj, name in zip(back[1:], ("grRect", "grRot", "grPoly", "grPolyline",
                                        "grEllipse", "grPic")):
            want = src[name]
            self.assertBox(obj, *(want[k] for k in "xywh"))
            self.assertAlmostEqual(obj["rotation"], want["rotation"], delta=0.01)
            for key in ("stroke", "fill"):
                self.assertEqual(obj["graphic"][key], want["graphic"][key], (name, key))
            if want["graphic"]["fill"] == "solid":
                self.assertEqual(obj["graphic"]["fill_color"], want["graphic"]["fill_color"])
        poly = back[3]
        self.assertEqual((poly["kind"], poly["shape_type"]), ("custom-shape", "non-primitive"))
        self.assertPoints([s[1:3] for s in poly["path"] if s[0] in "ML"],
                          src["grPoly"]["points"] + src["grPoly"]["points"][:1])
        self.assertPoints([s[1:3] for s in back[4]["path"] if s[0] in "ML"],
                          src["grPolyline"]["points"])
        self.assertEqual(back[5]["shape_type"], "ellipse")
        self.assertEqual(back[6]["image"]["sha256"], src["grPic"]["image"]["sha256"])

    def test_odp_roundtrip_table(self):
        src_t = interop.odp_objects(self.src["pages"][2], "table")[0]["table"]
        back_t = interop.odp_objects(self.back["pages"][2], "table")[0]["table"]
        keys = ("covered", "col_span", "row_span", "text")
        self.assertEqual([[{k: c[k] for k in keys} for c in row] for row in back_t["cells"]],
                         [[{k: c[k] for k in keys} for c in row] for row in src_t["cells"]])
        for got, want in zip(back_t["col_widths"] + back_t["row_heights"],
                             src_t["col_widths"] + src_t["row_heights"]):
            self.assertAlmostEqual(got, want, delta=GEOM_TOL)
        group = interop.odp_objects(self.back["pages"][2], "group")[0]
        self.assertEqual(len(group["children"]), 2)
        self.assertBox(group, 72, 288, 216, 144)

    def test_odp_meta(self):
        m = self.back["meta"]
        self.assertEqual((m["title"], m["subject"], m["description"], m["initial_creator"]),
                         ("Quorv interop sample ", "Reader checks", "Made by hand",
                          "Test Author"))
        self.assertTrue(re.match(r"LibreOffice", m["generator"] or ""), m["generator"])


if __name__ == "__main__":
    unittest.main()
