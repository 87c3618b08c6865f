"""Lines, rectangles and polylines (decks_shapes.cpp), opened by Apache POI and LibreOffice.

Every shape must be where the deck put it: LibreOffice's ODP export has each line's end points,
each rectangle's box and each polyline's vertices within 0.5 pt; POI reads each as a line, an
auto shape or a freeform with the same geometry, colours and line widths."""

import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import decks  # noqa: E402
import interop  # noqa: E402

POS_TOL = 0.5     # points
WIDTH_TOL = 0.05  # points: LibreOffice keeps widths in 1/100 mm

BLACK, RED, GREEN, BLUE = "#000000", "#ff0000", "#00ff00", "#0000ff"

# The dash style each LineStyle is drawn with (MSOLINEDASHING); everything else is solid.
DASHING = {1: 1, 2: 2, 6: 6, 7: 7, 8: 8, 9: 9, 10: 10}
# POI 4.0.1 looks lineDashing up among its own native ids, which are one above MSOLINEDASHING
# (its SOLID is 1): dashSys (1) reads as SOLID, dotSys (2) as SYS_DASH, and so on. A solid line
# has no lineDashing property, which POI reads as SOLID.
POI_DASH = {0: "SOLID", 1: "SOLID", 2: "SYS_DASH", 3: "SYS_DOT", 4: "SYS_DASH_DOT",
            5: "SYS_DASH_DOT_DOT", 6: "DOT", 7: "DASH", 8: "LG_DASH", 9: "DASH_DOT",
            10: "LG_DASH_DOT"}


def line(x1, y1, x2, y2, color, width, dash=0):
    return {"p1": (x1, y1), "p2": (x2, y2), "color": color, "width": width, "dash": dash}


def expected_lines():
    out = []
    dirs = [(1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1)]
    for i, (dx, dy) in enumerate(dirs):
        out.append(line(180.25, 200.5, 180.25 + 100 * dx, 200.5 + 100 * dy,
                        "#%02x00ff" % (16 * (i + 1)), 0.75 * (i + 1)))
    for style in range(-1, 11):
        y = 40 + 36 * (style + 1)
        out.append(line(400, y, 680, y, GREEN, 2.0, DASHING.get(style, 0)))
    out.append(line(40, 500, 300, 480, BLACK, 0.75))  # colour never set: text and lines
    return out


def rect(x, y, w, h, fill, line_color, width=0.75, dash=0, opacity=None):
    return {"box": (x, y, w, h), "fill": fill, "line": line_color, "width": width,
            "dash": dash, "opacity": opacity}


RECTANGLES = [
    rect(40, 40, 200, 100, RED, BLUE, 1.0),
    rect(280.5, 40.25, 150, 120, None, GREEN, 3.0, dash=7),
    rect(470, 40, 200, 150, GREEN, BLACK, opacity="50%"),
    rect(40, 250, 120, 80, "#996633", BLACK, opacity="25%"),  # 0x336699 is blue 0x33
    rect(400, 250, 50, 60, BLUE, RED),  # left edge moved past the right edge
    rect(500, 300, 150, 0, None, RED, 2.0),
]


def poly(points, closed, fill, line_color, width=0.75, dash=0, opacity=None):
    if closed and points[0] != points[-1]:
        points = points + [points[0]]
    return {"points": points, "closed": closed, "fill": fill, "line": line_color,
            "width": width, "dash": dash, "opacity": opacity}


STAR = [(580, 220), (596, 262), (640, 266), (606, 294), (618, 338), (580, 314), (542, 338),
        (554, 294), (520, 266), (564, 262)]
POLYLINES = [
    poly([(40, 140), (90, 40), (140, 140), (190, 40.5), (240, 140)], False, None, RED, 2.0),
    poly([(300, 160), (375.25, 40), (450, 160)], True, GREEN, BLUE),
    # An open polyline with a fill: the path stays open, the fill is drawn.
    poly([(500, 40), (680, 40), (680, 160), (560, 100)], False, "#ffcc00", RED, dash=1),
    poly([(40, 220), (200, 220), (120, 340), (40, 220)], True, BLUE, BLACK, opacity="40%"),
    # Vertices outside the box (300, 250, 50 x 50) on every side.
    poly([(260.5, 230), (420, 270), (330, 380.75), (290, 300)], False, None, GREEN, 1.5),
    poly(STAR, True, "#ffa500", BLACK),
    poly([(100, 400), (100, 450), (100, 500)], False, None, BLUE, 3.0),
]
# Second slide: wider than 4096 points, so its vertices are stored as 32-bit values.
WIDE = poly([(-2000, 100), (360, 500), (3000, 100)], False, None, RED)


def poi_line_ends(shape):
    """The end points POI's anchor and flips describe: msosptLine runs from the top-left to
    the bottom-right corner of its anchor, mirrored by the flips."""
    a = shape["anchor"]
    left, top, right, bottom = a["x"], a["y"], a["x"] + a["w"], a["y"] + a["h"]
    x1, x2 = (right, left) if shape["flip_h"] else (left, right)
    y1, y2 = (bottom, top) if shape["flip_v"] else (top, bottom)
    return (x1, y1), (x2, y2)


def path_vertices(path):
    """The M and L points of a path as (x, y) tuples, and whether it closes (Z)."""
    pts = [(seg[1], seg[2]) for seg in path if seg[0] in ("M", "L")]
    return pts, any(seg[0] == "Z" for seg in path)


class ShapesInterop(unittest.TestCase):
    NAMES = ("shapes_lines", "shapes_rectangles", "shapes_polylines")

    @classmethod
    def setUpClass(cls):
        missing = interop.missing_tools(("java", "soffice"))
        if missing:
            raise unittest.SkipTest("; ".join(missing))
        cls.paths = {name: decks.deck(name) for name in cls.NAMES}
        dumped = interop.poi_dump_many([cls.paths[n] for n in cls.NAMES])
        cls.poi = {n: dumped[str(cls.paths[n])] for n in cls.NAMES}
        tmp = pathlib.Path(tempfile.mkdtemp(prefix="quorv-shapes-"))
        odps = interop.lo_convert([cls.paths[n] for n in cls.NAMES], "odp", tmp / "odp")
        cls.odp = {n: interop.odp_parse(p) for n, p in zip(cls.NAMES, odps)}

    def poi_shapes(self, name, slide=0):
        doc = self.poi[name]
        self.assertNotIn("error", doc, doc.get("error"))
        return interop.poi_shapes(doc["slides"][slide])

    def lo_objects(self, name, page=0):
        return interop.odp_objects(self.odp[name]["pages"][page])

    def assertNear(self, got, want, tol, msg=None):
        self.assertIsNotNone(got, msg)
        self.assertLessEqual(abs(got - want), tol, f"{msg}: {got} is not within {tol} of {want}")

    def assertPoint(self, got, want, msg):
        self.assertNear(got[0], want[0], POS_TOL, f"{msg} x")
        self.assertNear(got[1], want[1], POS_TOL, f"{msg} y")

    def assertOdpStroke(self, g, color, width, dash):
        self.assertEqual(g["stroke_color"], color)
        self.assertNear(g["stroke_width"], width, WIDTH_TOL, "width")
        self.assertEqual(g["stroke"], "dash" if dash else "solid")

    def assertOdpFill(self, g, w):
        if w["fill"]:
            self.assertEqual((g["fill"], g["fill_color"]), ("solid", w["fill"]))
        else:
            self.assertEqual(g["fill"], "none")
        self.assertEqual(g["opacity"], w["opacity"])

    def assertPoints(self, got, want, msg):
        self.assertEqual(len(got), len(want), f"{msg}: {got}")
        for i, (g, w) in enumerate(zip(got, want)):
            self.assertPoint(g, w, f"{msg} vertex {i}")

    # ---- lines ------------------------------------------------------------------------------

    def test_poi_reads_lines_in_every_direction_and_dash_style(self):
        shapes = self.poi_shapes("shapes_lines")
        want = expected_lines()
        self.assertEqual(len(shapes), len(want))
        for i, (shape, w) in enumerate(zip(shapes, want)):
            with self.subTest(line=i):
                self.assertEqual(shape["kind"], "line")
                self.assertEqual(shape["shape_type"], "LINE")
                start, end = poi_line_ends(shape)
                self.assertPoint(start, w["p1"], "start")
                self.assertPoint(end, w["p2"], "end")
                self.assertEqual(shape["line"]["color"], w["color"])
                self.assertNear(shape["line"]["width"], w["width"], 0.001, "width")
                self.assertEqual(shape["line"]["dash"], POI_DASH[w["dash"]])
                self.assertFalse(shape["fill"]["filled"])

    def test_libreoffice_keeps_line_end_points_and_dashes(self):
        objs = self.lo_objects("shapes_lines")
        want = expected_lines()
        self.assertEqual(len(objs), len(want))
        for i, (obj, w) in enumerate(zip(objs, want)):
            with self.subTest(line=i):
                self.assertEqual(obj["kind"], "line")
                self.assertPoint((obj["x1"], obj["y1"]), w["p1"], "start")
                self.assertPoint((obj["x2"], obj["y2"]), w["p2"], "end")
                self.assertOdpStroke(obj["graphic"], w["color"], w["width"], w["dash"])

    # ---- rectangles -------------------------------------------------------------------------

    def test_poi_reads_rectangles(self):
        shapes = self.poi_shapes("shapes_rectangles")
        self.assertEqual(len(shapes), len(RECTANGLES))
        for i, (shape, w) in enumerate(zip(shapes, RECTANGLES)):
            with self.subTest(rectangle=i):
                self.assertEqual(shape["kind"], "autoshape")
                self.assertEqual(shape["shape_type"], "RECT")
                a = shape["anchor"]
                for got, want, what in zip((a["x"], a["y"], a["w"], a["h"]), w["box"], "xywh"):
                    self.assertNear(got, want, POS_TOL, what)
                self.assertEqual(shape["fill"]["filled"], w["fill"] is not None)
                self.assertEqual(shape["fill"]["color"], w["fill"])
                self.assertEqual(shape["line"]["color"], w["line"])
                self.assertNear(shape["line"]["width"], w["width"], 0.001, "width")
                self.assertEqual(shape["line"]["dash"], POI_DASH[w["dash"]])

    def test_libreoffice_keeps_rectangle_boxes_fills_and_opacity(self):
        objs = self.lo_objects("shapes_rectangles")
        self.assertEqual(len(objs), len(RECTANGLES))
        for i, (obj, w) in enumerate(zip(objs, RECTANGLES)):
            with self.subTest(rectangle=i):
                self.assertEqual((obj["kind"], obj.get("shape_type")), ("custom-shape", "rectangle"))
                for got, want, what in zip((obj["x"], obj["y"], obj["w"], obj["h"]), w["box"], "xywh"):
                    self.assertNear(got, want, POS_TOL, what)
                g = obj["graphic"]
                self.assertOdpFill(g, w)
                self.assertOdpStroke(g, w["line"], w["width"], w["dash"])

    # ---- polylines --------------------------------------------------------------------------

    def check_poi_freeform(self, shape, w):
        self.assertEqual(shape["kind"], "freeform")
        self.assertEqual(shape["shape_type"], "NOT_PRIMITIVE")
        points, closed = path_vertices(shape["path"])
        self.assertEqual(closed, w["closed"])
        # POI maps the path's own bounds onto the anchor; along an axis where all vertices are
        # equal it divides 0 by 0 and reports NaN (null). Check the other axis there.
        self.assertEqual(len(points), len(w["points"]))
        for i, ((gx, gy), (wx, wy)) in enumerate(zip(points, w["points"])):
            flat_x = all(p[0] == w["points"][0][0] for p in w["points"])
            flat_y = all(p[1] == w["points"][0][1] for p in w["points"])
            if not flat_x:
                self.assertNear(gx, wx, POS_TOL, f"vertex {i} x")
            if not flat_y:
                self.assertNear(gy, wy, POS_TOL, f"vertex {i} y")
        self.assertEqual(shape["fill"]["filled"], w["fill"] is not None)
        self.assertEqual(shape["fill"]["color"], w["fill"])
        self.assertEqual(shape["line"]["color"], w["line"])
        self.assertNear(shape["line"]["width"], w["width"], 0.001, "width")
        self.assertEqual(shape["line"]["dash"], POI_DASH[w["dash"]])

    def check_lo_freeform(self, obj, w):
        self.assertEqual((obj["kind"], obj.get("shape_type")), ("custom-shape", "non-primitive"))
        self.assertIsNotNone(obj["path"])
        points, closed = path_vertices(obj["path"])
        self.assertEqual(closed, w["closed"])
        self.assertPoints(points, w["points"], "path")
        g = obj["graphic"]
        self.assertOdpFill(g, w)
        self.assertOdpStroke(g, w["line"], w["width"], w["dash"])

    def test_poi_reads_polylines_as_freeforms(self):
        shapes = self.poi_shapes("shapes_polylines")
        self.assertEqual(len(shapes), len(POLYLINES))
        for i, (shape, w) in enumerate(zip(shapes, POLYLINES)):
            with self.subTest(polyline=i):
                self.check_poi_freeform(shape, w)
        wide, = self.poi_shapes("shapes_polylines", 1)
        self.check_poi_freeform(wide, WIDE)

    def test_libreoffice_keeps_polyline_vertices(self):
        objs = self.lo_objects("shapes_polylines")
        self.assertEqual(len(objs), len(POLYLINES))
        for i, (obj, w) in enumerate(zip(objs, POLYLINES)):
            with self.subTest(polyline=i):
                self.check_lo_freeform(obj, w)
        wide, = self.lo_objects("shapes_polylines", 1)
        self.check_lo_freeform(wide, WIDE)


if __name__ == "__main__":
    unittest.main()
