#!/usr/bin/python3
"""Interoperability checks: decks built by quorv-ppt, opened by real readers (see README.md).

    interop.py build DIR     build every deck into DIR (the ctest fixture interop.decks)
    interop.py READER DIR    open DIR's files with READER (libreoffice, calligra, poi, olefile)
                             and compare what it reads with what each deck's JSON describes
Exit status 0 when every check passed, 1 when one failed, 77 when the reader is not installed."""

import cmath, concurrent.futures, hashlib, json, math, os, pathlib, re, shutil, subprocess, sys, tempfile, zipfile
import xml.etree.ElementTree as ET

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parents[1]
TOL = 0.5  # points
LIMIT = 32767 / 8  # a slide anchor holds 16-bit master units (1/8 point)
# What a reader shows otherwise than the deck says (DEFAULT: as the deck says). Both ODP writers drop
# control characters (XML holds none) and read the distributed alignments as left.
DEFAULT = {"align": {}, "numbering": {}, "types": {}, "runs": (), "text filter": "(?!)"}
ODP = {"text filter": "[\x01-\x08\x0e-\x1f]",
       "align": dict.fromkeys(("distributed", "thaiDistributed", "justifyLow"), "left")}
QUIRKS = {
    "olefile": {},
    "poi": {"flat axis": True},  # the vertices of a polyline along an axis where all are equal are NaN
    "libreoffice": dict(ODP, **{
        "text": "yh",  # a text frame fits itself to its text (fFitShapeToText) about its anchor,
        "turned text": "xywh",  # a turned one along its turned sides
        "jpeg": "any",  # JPEG data is encoded anew
        "no slides": 1}),  # a presentation without slides opens with one empty slide
    "calligra": dict(ODP, **{
        "types": {"table": "group"},  # a table is a group of rectangles, one per cell
        "no data": "left out",  # a picture without data is not on the page
        "level": "lists only",  # the indent level of a paragraph without bullet or number is lost
        "numbering": {2: 7, 5: 7},  # numbering schemes 18 and 38 read as "i."
        "runs": ("face",)}),  # an East Asian run takes the face of its Latin font reference
}
# Expectations beyond the JSON by deck: slide counts of decks without JSON; a table whose cells
# leave gaps between them, which each reader lays out in a grid of its own (its texts are compared).
DECKS = {"demo": {"slides": 7}, "robustness": {"cells": "texts"}}


def run(cmd, ok=(0,)):
    result = subprocess.run(cmd, capture_output=True, timeout=600)
    if result.returncode not in ok:
        raise RuntimeError(f"{cmd} exited {result.returncode}:\n{result.stderr.decode(errors='replace')}")
    return result.stdout.decode(errors="replace")


def sources(out):
    """name -> JSON: the example decks, the test decks and the complete example of docs/deck-format.md."""
    return dict({"example-" + p.stem: p for p in (ROOT / "examples/decks").glob("*.json")},
                **{p.stem: p for p in (HERE / "decks").glob("*.json")}, complete=out / "complete.json")


def build(out):
    """Every deck and the demo, built into out beside a copy of the examples' images."""
    shutil.rmtree(out, ignore_errors=True)
    shutil.copytree(ROOT / "examples/decks/images", out / "images")
    doc = (ROOT / "docs/deck-format.md").read_text(encoding="utf-8")
    block = re.search(r"<!-- complete example -->\s*```json\n(.*?)\n```", doc, re.S)[1]
    (out / "complete.json").write_text(block, encoding="utf-8")
    tool = os.environ["QUORV_PPT_TOOL"]
    list(concurrent.futures.ThreadPoolExecutor(2).map(run, [[tool, "demo", "-o", out / "demo.ppt"]] + [
        [tool, "build", src, "-o", out / (name + ".ppt")] for name, src in sources(out).items()]))


def files(out):
    """name -> (file, deck) for the built decks and, when QUORV_ROW_FILES names a folder, the
    files the byte tests wrote there (NAME-SLIDES.ppt); the deck is None where there is no JSON."""
    found = {"demo": (out / "demo.ppt", None)}
    for name, src in sources(out).items():
        found[name] = (out / (name + ".ppt"), dict(json.loads(src.read_text(encoding="utf-8")), base=src.parent))
    rows = os.environ.get("QUORV_ROW_FILES")
    for p in sorted(pathlib.Path(rows).glob("*.ppt")) if rows else []:
        found["rows-" + p.stem] = (p, None)
        DECKS["rows-" + p.stem] = {"slides": int(p.stem.rsplit("-", 1)[1])}
    return found


# ---- what a deck says the readers must see ---------------------------------------------------

FONT = {"face": "Arial", "size": 18, "bold": False, "italic": False, "underline": False, "color": "#000000",
        "script": 0}
ALIGN = ["left", "center", "right", "justify", "distributed", "thaiDistributed", "justifyLow"]
DASHED = {"dash", "dot", "dashGEL", "longDash", "dashDotGEL", "longDashDot", "longDashDotDot", 1, 2, 6, 7, 8, 9, 10}
CJK = re.compile("[\u3000-\u9fff\uff00-\uffef]")  # text a run draws in its East Asian face
ROMAN = list(zip((1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1), "M CM D CD C XC L XL X IX V IV I".split()))
# The label of number n in numbering styles 1, 3, 4, 6 and 7.
LABELS = {1: "{}.".format, 3: lambda n: roman(n) + ".", 4: lambda n: chr(64 + n) + ")",
          6: lambda n: chr(96 + n) + ".", 7: lambda n: roman(n).lower() + "."}


def roman(n):
    return next((digits + roman(n - value) for value, digits in ROMAN if value <= n), "")


def clamp(v):
    return max(-LIMIT - 0.125, min(LIMIT, v))


def bounds(xs, ys):
    return [min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys)]


def obj(value):  # a text frame, cell, paragraph or run given as a bare string
    return {"text": value} if isinstance(value, str) else value


def font(base, keys):
    return dict(base, **{k: v for k, v in keys.items() if k in FONT or k in ("eastAsian", "numberList")})


def written(f, text):
    """A run as written: NUL as U+FFFD, a raised position in percent of the size within 100 %, East
    Asian text in the face given for it, else the master's."""
    return dict(f, text=text.replace("\0", "\ufffd"), script=max(-100, min(100, int(f["script"] * 100 / f["size"]))),
                **{"face": "ＭＳ Ｐゴシック"} if CJK.match(text) and not f.get("eastAsian") else {})


def paragraphs(frame):
    """The paragraphs of a text frame or cell: text, alignment, level, bullet (a Wingdings
    character index, 0 the master's, or None), numbering (style, start), label and runs."""
    frame = obj(frame)
    base = font(FONT, frame.get("font", {}))
    paras = [obj(p) for p in (frame["text"].split("\n") if "text" in frame else frame.get("paragraphs", []))]
    runs = [[obj(r) for r in ([p["text"]] if "text" in p else p.get("runs", []))] for p in paras]
    if not any(r["text"] for rs in runs for r in rs):
        paras, runs = [{}], [[{"text": " "}]]  # the library writes an empty text as one space
    out, key, count = [], None, 0
    for p, rs in zip(paras, runs):
        pfont = font(base, p.get("font", {}))
        rs = [written(font(pfont, r), r["text"]) for r in rs]
        bullet, number, align = p.get("bullet", False), p.get("numbering", 0), p.get("align", "left")
        number = number if isinstance(number, dict) else {"style": number}
        # A numbered paragraph goes on counting after one of the same style, level and list.
        last, key = key, number["style"] and (number["style"], p.get("level", 0), pfont.get("numberList"))
        count = count + 1 if key and key == last else number.get("start", 1)
        out.append({"label": LABELS.get(number["style"], lambda n: None)(count), "runs": rs,
                    "text": "".join(r["text"] for r in rs), "level": p.get("level", 0),
                    "align": ALIGN[align] if isinstance(align, int) else align,
                    "bullet": None if bullet is False else 0 if bullet is True else bullet.get("char", 0),
                    "numbering": (number["style"], number.get("start", 1)) if number["style"] else None})
    return out


def table_cells(shape):
    """Rows of cells, None where a merge covers the position, each with its span (columns, rows)
    and paragraphs. A column begins at every left edge of a cell in any row."""
    rows = [[obj(c) for c in r["cells"]] for r in shape["rows"]]
    ncols = len(shape.get("columns", [])) or max(sum(c.get("span", 1) for c in r) for r in rows)
    widths = shape.get("columns") or [shape["width"] / ncols] * ncols
    for r in rows:
        for j, c in enumerate(r):
            c["left"] = c.get("offset", sum(widths[:sum(x.get("span", 1) for x in r[:j])]))
    edges = sorted({c["left"] for r in rows for c in r})
    grid, tops = [[None] * len(edges) for _ in rows], {}  # column -> the cell a merge from above extends
    for i, r in enumerate(rows):
        below = {}
        for j, c in enumerate(r):
            k, right = edges.index(c["left"]), r[j + 1]["left"] if j + 1 < len(r) else shape["width"]
            if c.get("mergeUp") and k in tops:
                below[k] = tops[k]
                below[k]["span"][1] += 1
                continue
            grid[i][k] = {"paragraphs": paragraphs(c), "span": [len([e for e in edges if c["left"] <= e < right]), 1],
                          "fill": c.get("fill"), "noBorder": sorted(c.get("noBorder", []))}
            if c.get("mergeDown"):
                below[k] = grid[i][k]
        tops = below
    return grid


def expected(shape):
    """One shape as every reader must show it (before QUIRKS)."""
    t, get = shape["type"], shape.get
    e = {"type": t, "rotation": get("rotation", 0) % 360}
    if t in ("line", "polyline"):
        points = [[clamp(x), clamp(y)] for x, y in get("points") or [[get("x1"), get("y1")], [get("x2"), get("y2")]]]
        e.update(box=bounds(*zip(*points)), **{"ends": points[0] + points[1]} if t == "line" else {
            "points": points, "closed": bool(get("closed"))})
    else:
        x, y, right, bottom = map(clamp, (get("x"), get("y"), get("x") + get("width"), get("y") + get("height")))
        if t == "table":  # laid out in 1/8 points: left, top and each row's height move up to the next
            given = [r["height"] for r in shape["rows"] if "height" in r]
            share = (get("height") - sum(given)) / max(1, len(shape["rows"]) - len(given))
            x, y = (math.floor(v * 8 + 1) / 8 for v in (x, y))
            bottom = y + sum(math.floor(r.get("height", share) * 8 + 1) / 8 for r in shape["rows"])
            e["cells"] = table_cells(shape)
        e["box"] = [x, y, right - x, bottom - y]
    if t == "text":
        e["paragraphs"] = paragraphs(shape)
    if t == "picture":
        data = e["data"] = (shape["base"] / shape["file"]).read_bytes()
        e["picture"] = None if "damaged/" in shape["file"] else hashlib.sha256(data).hexdigest() \
            if data[:4] == b"\x89PNG" or data[:2] == b"\xff\xd8" else "any"
    if t in ("line", "rectangle", "polyline"):
        e["stroke"] = ["dash" if get("lineStyle", 0) in DASHED else "solid", get("lineColor", "#000000"),
                       get("lineWidth", 0.75)]
    elif t == "text" and not {"lineColor", "lineStyle"} & set(shape) and get("lineWidth", 0.75) == 0.75:
        e["stroke"] = ["none"]  # (a frame given a line is written without fLine: no reader draws it)
    if t in ("rectangle", "polyline", "text"):
        e["fill"] = [shape["fillColor"], get("opacity", 100)] if "fillColor" in shape else None
    return e


def expected_pages(deck):
    """Per slide, its shapes as expected, in drawing order (by z, then position). The font table holds
    the master's faces, then names of up to 31 characters up to 129 faces; further faces are Arial."""
    faces, pages = ["Arial", "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝"], []
    for slide in deck["slides"]:
        shapes = [expected(dict(s, base=deck["base"])) for s in slide.get("shapes", [])]
        for r in (r for e in shapes for p in texts(e) for r in p["runs"]):
            name = r["face"][:31]
            faces += [name] * (name not in faces and len(faces) < 129)
            r["face"] = name if name in faces else "Arial"
        z = [s.get("z", i) for i, s in enumerate(slide.get("shapes", []))]
        pages.append([shapes[i] for i in sorted(range(len(shapes)), key=lambda i: (z[i], i))])
    return pages


def texts(shape):  # the paragraphs of a shape and of its cells
    return shape.get("paragraphs", []) + [p for r in shape.get("cells", []) for x in r if x for p in x["paragraphs"]]


# ---- ODP, as LibreOffice and Calligra write it -----------------------------------------------

OASIS = "urn:oasis:names:tc:opendocument:xmlns:%s:1.0"
NS = {"draw": OASIS % "drawing", "fo": OASIS % "xsl-fo-compatible", "svg": OASIS % "svg-compatible",
      "xlink": "http://www.w3.org/1999/xlink", "dc": "http://purl.org/dc/elements/1.1/"}
UNITS = {"pt": 1, "cm": 72 / 2.54, "mm": 72 / 25.4, "in": 72, "": 1}
NUMBERING = {"1.": 1, "①, ②, ③, ...": 2, "I.": 3, "A)": 4, "一, 二, 三, ...．": 5, "a.": 6, "i.": 7}


def q(name):
    prefix, local = name.split(":")
    return "{%s}%s" % (NS.get(prefix, OASIS % prefix), local)


def pt(length):
    m = re.fullmatch(r"\s*([-+.\deE]+)\s*([a-z]*)\s*", length)
    return float(m.group(1)) * UNITS[m.group(2)]


def box(el):
    """x, y, width, height of the box before it is turned, and the clockwise turn: the steps of
    draw:transform (rotate anticlockwise about the origin, translate) apply in order."""
    w, h = (pt(el.get(q(a), "0")) for a in ("svg:width", "svg:height"))
    at, turn = complex(pt(el.get(q("svg:x"), "0")) + w / 2, pt(el.get(q("svg:y"), "0")) + h / 2), 0.0
    for op, args in re.findall(r"(\w+)\s*\(([^)]*)\)", el.get(q("draw:transform"), "")):
        v = args.replace(",", " ").split()
        if op == "rotate":
            at, turn = at * cmath.exp(-1j * float(v[0])), turn + float(v[0])
        elif op == "translate":
            at += complex(pt(v[0]), pt(v[1]))
    return [at.real - w / 2, at.imag - h / 2, w, h], round(-math.degrees(turn)) % 360


def path(b, geometry):
    """draw:enhanced-path as [command, x, y] in slide points (Z and N bare)."""
    vb, out = [float(v) for v in geometry.get(q("svg:viewBox"), "0 0 1 1").split()], []
    for cmd, args in re.findall(r"([A-DF-Z])([^A-DF-Z]*)", geometry.get(q("draw:enhanced-path"), "")):
        v = [float(x) for x in re.findall(r"[-+.\deE]+", args)]
        out += [[cmd]] * (cmd in "ZN") + [[cmd] + [b[i] + (v[j + i] - vb[i]) * b[i + 2] / (vb[i + 2] or 1)
                                                    for i in (0, 1)] for j in range(0, len(v) - 1, 2)]
    return out


def spans(el, styles=()):
    """(span styles, text, literal) of a paragraph: white space collapses but in text:s and text:tab."""
    for piece in [el.text] + [x for c in el for x in (c, c.tail)]:
        if piece is None or isinstance(piece, str):
            yield styles, re.sub(r"\s+", " ", piece or ""), False
        elif piece.tag == q("text:span"):
            yield from spans(piece, styles + (piece.get(q("text:style-name")),))
        elif piece.tag in (q("text:s"), q("text:tab")):
            yield styles, (" " * int(piece.get(q("text:c"), "1")) if piece.tag == q("text:s") else "\t"), True


class Odp:
    """An ODP read into the form compare takes (doc): slides, size, properties, pages of shapes."""

    def __init__(self, path):
        self.zip = zipfile.ZipFile(path)
        content, styles, meta = (ET.fromstring(self.zip.read(n)) for n in ("content.xml", "styles.xml", "meta.xml"))
        self.styles = {(el.get(q("style:family")), el.get(q("style:name"))): el for root in (styles, content)
                       for el in root.iter() if el.tag in (q("style:style"), q("style:default-style"),
                                                           q("text:list-style"), q("style:page-layout"))}
        self.fonts = {el.get(q("style:name")): el.get(q("svg:font-family")).strip("'")
                      for root in (styles, content) for el in root.iter(q("style:font-face"))}
        info, pages = meta.find(q("office:meta")), list(content.iter(q("draw:page")))
        layouts = {m.get(q("style:name")): m.get(q("style:page-layout-name"))
                   for m in styles.iter(q("style:master-page"))}
        layout = pages and self.props(None, layouts[pages[0].get(q("draw:master-page-name"))], "page-layout")
        self.doc = {"slides": len(pages), "size": pages and [pt(layout["page-width"]), pt(layout["page-height"])],
                    "properties": {"title": info.findtext(q("dc:title")),
                                   "author": info.findtext(q("meta:initial-creator"))},
                    "pages": [[o for o in map(self.shape, page) if o] for page in pages]}

    def props(self, family, name, kind):
        """The properties of kind ("text", "graphic", ...) of a style after its parents and its
        family's default style."""
        chain = [self.styles.get((family, None))]
        while name and (family, name) in self.styles and len(chain) < 21:
            chain.insert(1, self.styles[(family, name)])
            name = chain[1].get(q("style:parent-style-name"))
        return {k.split("}")[1]: v for el in chain if el is not None for p in el
                if p.tag.endswith("}" + kind + "-properties") for k, v in p.attrib.items()}

    def shape(self, el):
        kind = el.tag.split("}")[1]
        if not el.tag.startswith(q("draw:")) or kind == "page-thumbnail":
            return None
        style = ("presentation", el.get(q("presentation:style-name"))) if el.get(q("presentation:style-name")) \
            else ("graphic", el.get(q("draw:style-name")))
        g = self.props(*style, "graphic")
        stroke = g.get("stroke", "none")
        o = {"type": kind, "fill": [g["fill-color"].lower(), round(float(g.get("opacity", "100%")[:-1]))]
             if g.get("fill") == "solid" else None, "stroke": [stroke] + (stroke != "none") * [
                 g.get("stroke-color", "#000000").lower(), pt(g.get("stroke-width", "0"))]}
        o["box"], o["rotation"] = box(el)
        geometry, text, image, table = (el.find(q(t)) for t in ("draw:enhanced-geometry", "draw:text-box",
                                                                "draw:image", "table:table"))
        if kind == "line":
            o["ends"] = [pt(el.get(q("svg:" + k))) for k in ("x1", "y1", "x2", "y2")]
            o["box"] = bounds(o["ends"][0::2], o["ends"][1::2])
        elif geometry is not None:
            kind = geometry.get(q("draw:type"))
            o["type"] = {"non-primitive": "polyline", "mso-spt202": "text"}.get(kind, kind)
            o["path"] = path(o["box"], geometry)
        elif table is not None:
            o["type"], o["cells"] = "table", [[self.cell(c, row, style) for c in row if c.tag.endswith("table-cell")]
                                              for row in table.iter(q("table:table-row"))]
        elif image is not None:
            href = image.get(q("xlink:href"))
            data = self.zip.read(href) if href in self.zip.namelist() else b""
            o["type"], o["picture"] = "picture", data and hashlib.sha256(data).hexdigest() or None
        elif kind == "g":
            o["type"], o["children"] = "group", [c for c in map(self.shape, el) if c]
            o["box"] = bounds(*zip(*[(b[0] + b[2] * k, b[1] + b[3] * k) for c in o["children"] for b in [c["box"]]
                                     for k in (0, 1)]))
        o["type"] = "text" if text is not None else o["type"]
        if o["type"] not in ("table", "group"):
            o["paragraphs"] = self.paragraphs(el if text is None else text, {**self.props(*style, "text"), **self.props(
                "paragraph", el.get(q("draw:text-style-name")), "text")})
        return o

    def cell(self, cell, row, style):
        """A table cell, None where a merge covers it."""
        if cell.tag == q("table:covered-table-cell"):
            return None
        name = cell.get(q("table:style-name"), row.get(q("table:default-cell-style-name")))
        g, p, text = (self.props("table-cell", name, k) for k in ("graphic", "paragraph", "text"))
        return {"paragraphs": self.paragraphs(cell, {**self.props(*style, "text"), **text, **self.props(
                    "paragraph", None, "text")}), "fill": g.get("fill-color") if g.get("fill") == "solid" else None,
                "span": [int(cell.get(q(f"table:number-{k}-spanned"), "1")) for k in ("columns", "rows")],
                "noBorder": [e for e in ("bottom", "left", "right", "top")
                             if p.get("border-" + e, p.get("border")) == "none"]}

    def paragraphs(self, el, base, lists=None, depth=0):
        """The paragraphs in el, in lists (a list style's name) at depth; a list header's have no label."""
        out = []
        for c in el:
            if c.tag == q("text:list"):
                out += self.paragraphs(c, base, lists or c.get(q("text:style-name")), depth + 1)
            elif c.tag in (q("text:list-item"), q("text:list-header")):
                out += self.paragraphs(c, base, lists if c.tag == q("text:list-item") else None, depth)
            elif c.tag == q("text:p"):
                out.append(self.paragraph(c, base, lists, depth))
        return out

    def paragraph(self, p, base, lists, depth):
        runs, after_space, pstyle = [], True, p.get(q("text:style-name"))
        for styles, text, literal in spans(p):
            text = text[1:] if not literal and after_space and text.startswith(" ") else text
            after_space = text.endswith(" ") and not literal if text else after_space
            t = dict(base, **self.props("paragraph", pstyle, "text"))
            for name in styles:
                t.update(self.props("text", name, "text"))
            position = t.get("text-position", "0%").split()[0]
            face = t.get("font-name-asian") if CJK.match(text) else t.get("font-name")
            runs.append({"text": text, "face": self.fonts.get(face, t.get("font-family", "").strip("'")),
                         "size": pt(t["font-size"]) if "%" not in t.get("font-size", "%") else None,
                         "bold": t.get("font-weight") in ("bold", "600", "700", "800", "900"),
                         "italic": t.get("font-style") == "italic", "color": t.get("color", "#000000").lower(),
                         "underline": t.get("text-underline-style", t.get("text-underline-type", "none")) != "none",
                         "script": {"super": 33, "sub": -33}.get(position) or round(float(position.rstrip("%")))})
        align = self.props("paragraph", pstyle, "paragraph").get("text-align", "left")
        label = next((s for s in self.styles.get((None, lists), []) if s.get(q("text:level")) == str(depth)),
                     ET.Element("none"))
        bullet = label.tag == q("text:list-level-style-bullet")
        number = not bullet and label.get(q("style:num-format"))
        return {"text": "".join(r["text"] for r in runs), "runs": runs, "level": max(depth - 1, 0),
                "align": {"start": "left", "end": "right"}.get(align, align),
                "bullet": bullet and label.get(q("text:bullet-char")) or None,
                "numbering": number and (NUMBERING.get(number + label.get(q("style:num-suffix"), "")),
                                         int(label.get(q("text:start-value"), "1"))) or None}


# ---- comparing what a reader read with what the deck says ------------------------------------

WINGDINGS = "\u2022lnupü\u00d8"  # bullet character index -> character (0: the master's)
STREAMS = ["PowerPoint Document", "Current User", "\x05SummaryInformation", "\x05DocumentSummaryInformation"]


class Checks:
    def __init__(self, reader):
        self.reader, self.quirks, self.failures, self.count = reader, dict(DEFAULT, **QUIRKS[reader]), [], 0

    def eq(self, where, got, want):
        self.count += 1
        self.failures += [f"{where}: {self.reader} read {got!r}, expected {want!r}"] * (got != want)
        return got == want

    def near(self, where, got, want, tol=TOL):
        ok = got is not None and len(got) == len(want) and all(g is not None and abs(g - w) <= tol
                                                              for g, w in zip(got, want))
        return self.eq(where, want if ok else got, want)

    def text(self, text):
        return re.sub(self.quirks["text filter"], "", text)


def merged(runs, text=lambda t: t):
    """Runs with adjacent runs of the same format joined: readers split and join them freely."""
    out = []
    for r in (dict(r, text=text(r["text"])) for r in runs):
        if out and all(out[-1][k] == r[k] for k in FONT):
            out[-1]["text"] += r["text"]
        elif r["text"]:
            out.append({k: r[k] for k in ["text"] + list(FONT)})
    return out


def compare_paragraphs(c, where, got, want):
    if not c.eq(where + " texts", [p["text"] for p in got], [c.text(p["text"]) for p in want]):
        return
    for i, (g, w) in enumerate(zip(got, want)):
        at = f"{where} paragraph {i}"
        c.eq(at + " align", g["align"], c.quirks["align"].get(w["align"], w["align"]))
        if w["bullet"] is not None or w["numbering"] or c.quirks.get("level") != "lists only":
            c.eq(at + " level", g["level"], w["level"])
        style, start = w["numbering"] or (None, None)
        number = w["numbering"] and (c.quirks["numbering"].get(style, style), start)
        c.eq(at + " numbering", g["numbering"], number)
        if not number:  # a symbol face's bullet character may be in its private-use form (U+F0xx)
            bullet = g["bullet"] and chr(ord(g["bullet"]) - 0xF000 * (ord(g["bullet"]) > 0xF000))
            c.eq(at + " bullet", bullet, None if w["bullet"] is None else WINGDINGS[w["bullet"]])
        for k in (k for k in FONT if k not in c.quirks["runs"]):
            c.eq(f"{at} {k}", [r[k] for r in merged(g["runs"])], [r[k] for r in merged(w["runs"], c.text)])


def compare_shape(c, name, where, got, want):
    skip = c.quirks.get(("turned " if want["rotation"] else "") + want["type"], "")
    c.near(where + " box", *([v for v, k in zip(s["box"], "xywh") if k not in skip] for s in (got, want)))
    c.eq(where + " rotation", got["rotation"], want["rotation"])
    if "ends" in want:
        c.near(where + " ends", got["ends"], want["ends"])
    if "points" in want:
        c.eq(where + " moves", [s[0] for s in got["path"] if s[0] == "M"] == ["M"] and got["path"][0][0], "M")
        closes = want["closed"] and want["points"][0] != want["points"][-1]
        points = [v for p in want["points"] + want["points"][:1] * closes for v in p]
        vertices = [v for s in got["path"] if s[0] in "ML" for v in s[1:]]
        if c.quirks.get("flat axis"):
            vertices = [w if v is None and len(set(points[i % 2::2])) == 1 else v
                        for i, (v, w) in enumerate(zip(vertices, points))]
        c.near(where + " vertices", vertices, points)
        c.eq(where + " closed", "Z" in [s[0] for s in got["path"]], want["closed"])
    if "picture" in want:
        jpeg = c.quirks.get("jpeg") and want["picture"] and want["data"][:2] == b"\xff\xd8"
        picture = "any" if jpeg else want["picture"]
        c.eq(where + " picture", "any" if got["picture"] and picture == "any" else got["picture"], picture)
    if "paragraphs" in want:
        compare_paragraphs(c, where, got["paragraphs"], want["paragraphs"])
    if "cells" in got and DECKS.get(name, {}).get("cells") != "texts":
        c.eq(where + " grid", *([[x is None for x in r] for r in s["cells"]] for s in (got, want)))
        for r, k, g, w in ((r, k, g, w) for r, row in enumerate(zip(got["cells"], want["cells"]))
                           for k, (g, w) in enumerate(zip(*row)) if g and w):
            if c.eq(f"{where} cell ({r}, {k}) span", g["span"], w["span"]):
                compare_paragraphs(c, f"{where} cell ({r}, {k})", g["paragraphs"], w["paragraphs"])
                for key in ("fill", "noBorder"):
                    c.eq(f"{where} cell ({r}, {k}) {key}", g.get(key, w[key]), w[key])
    elif "cells" in want:  # the texts of the cells, however the reader shows them
        cells = [x for r in got["cells"] for x in r if x] if "cells" in got else got["children"]
        c.eq(where + " cells", sorted(p["text"] for x in cells for p in x["paragraphs"]),
             sorted(c.text(p["text"]) for p in texts(want)))
    for k in ("stroke", "fill"):
        if k in got and k in want and "'0x" not in repr(want[k]):  # a scheme colour is the slide's
            if c.eq(f"{where} {k}", got[k] and got[k][:2], want[k] and want[k][:2]) and want[k] and want[k][2:]:
                c.near(f"{where} {k} width", got[k][2:], want[k][2:], 0.05)


def compare_rendered(c, where, page, shapes, size):
    """Each raster picture on the page is drawn, and every word of each text that is not turned
    (pdftotext mixes up the letters of turned text), numbered paragraphs after their number."""
    shown = [s for s in shapes if s["box"][0] >= 0 and s["box"][1] >= 0 and s["box"][0] + s["box"][2] <= size[0]
             and s["box"][1] + s["box"][3] <= size[1]]
    words = [w for s in shown if not s["rotation"] for p in texts(s) for r in p["runs"]
             for w in c.text(r["text"]).split()]
    labels = [p["label"] + p["text"].split()[0] for s in shown if not s["rotation"] for p in texts(s) if p.get("label")]
    c.eq(where + " words", [w for w in words + labels if w not in page["text"]], [])
    c.eq(where + " images", page["images"], len([s for s in shown if s.get("picture") and s["data"][:4] not in
                                                 (b"\xd7\xcd\xc6\x9a", b"\x01\0\0\0")]))  # not a metafile


def compare(c, name, deck, doc):
    """doc: what the reader read (size, slides, properties, pages of shapes, streams, the
    rendered pages), or its error."""
    if not c.eq(name + " opened", doc.get("error"), None):
        return
    if "streams" in doc:  # "Pictures" when a picture has data
        want = STREAMS + ["Pictures"] * bool(deck and any(s.get("picture") for p in expected_pages(deck) for s in p))
        return c.eq(name + " streams", sorted(x for x in doc["streams"] if deck or x in want), sorted(want))
    slides = len(deck["slides"]) if deck else DECKS[name]["slides"]
    c.eq(name + " slides", doc["slides"], slides or c.quirks.get("no slides", 0))
    if "rendered" in doc:
        c.eq(name + " pages rendered", len(doc["rendered"]), doc["slides"])
    if deck is None:
        return
    size = [max(72, min(4032, deck.get(k, d))) for k, d in (("width", 720), ("height", 540))]
    if doc.get("size"):
        c.near(name + " size", doc["size"], size)
    for k, v in doc["properties"].items():
        value = deck.get("properties", {}).get(k, "").split("\0")[0]  # a value ends at a NUL
        c.eq(f"{name} {k}", v or None, value + " " if value else None)
    for i, want in enumerate(expected_pages(deck)[:doc["slides"]]):
        if i < len(doc.get("rendered", [])):
            compare_rendered(c, f"{name} page {i}", doc["rendered"][i], want, size)
        want, got = [s for s in want if s.get("picture", True) or not c.quirks.get("no data")], doc["pages"][i]
        if c.eq(f"{name} slide {i} shapes", [s["type"] for s in got],
                [c.quirks["types"].get(s["type"], s["type"]) for s in want]):
            for j, (g, w) in enumerate(zip(got, want)):
                compare_shape(c, name, f"{name} slide {i} shape {j}", g, w)


# ---- the readers -----------------------------------------------------------------------------

POI_NUMBERING = {3: 1, 18: 2, 7: 3, 11: 4, 38: 5, 0: 6, 6: 7}  # POI's scheme id -> numbering style
POI_ALIGN = dict(zip(["LEFT", "CENTER", "RIGHT", "JUSTIFY", "DIST", "THAI_DIST", "JUSTIFY_LOW"], ALIGN))


def read_poi(paths, tmp):
    jars = [f"/usr/share/java/{j}.jar" for j in ("poi", "poi-scratchpad", "commons-collections4", "commons-math3")]
    if not shutil.which("java") or not os.path.exists(jars[0]):
        return "Apache POI (libapache-poi-java, default-jdk-headless) is not installed"
    lines = run(["java", "-cp", ":".join(jars), HERE / "poi/PoiCheck.java", *paths.values()]).splitlines()
    docs = {d["file"]: d for d in map(json.loads, lines)}
    for s in (s for d in docs.values() for page in d.get("pages", []) for s in page):
        s["ends"] = [s["box"][i] + s["box"][i + 2] * (s["flip"][i] != k) for k in (0, 1) for i in (0, 1)]
        for p in texts(s):
            p.update(text="".join(r["text"] for r in p["runs"]), align=POI_ALIGN[p["align"]],
                     numbering=p["numbering"] and (POI_NUMBERING.get(p["numbering"][0]), p["numbering"][1]))
    return {name: docs.get(str(path), {"error": "POI printed nothing"}) for name, path in paths.items()}


def odp_doc(path):
    return Odp(path).doc if path.exists() else {"error": "no ODP written"}


def read_libreoffice(paths, tmp):
    if not shutil.which("soffice") or not shutil.which("pdftotext"):
        return "LibreOffice (libreoffice-impress) or poppler (poppler-utils) is not installed"
    list(concurrent.futures.ThreadPoolExecutor(2).map(run, [[
        "soffice", "--headless", "--norestore", "--nolockcheck", f"-env:UserInstallation=file://{tmp}/{fmt}",
        "--convert-to", fmt, "--outdir", tmp / fmt, *paths.values()] for fmt in ("odp", "pdf")]))
    docs = {n: odp_doc(tmp / "odp" / (n + ".odp")) for n in paths}
    for n, doc in docs.items():  # what it renders: the text and the raster images of each page
        pdf = tmp / "pdf" / (n + ".pdf")
        if not pdf.exists():
            doc["error"] = "no PDF written"
            continue
        doc["rendered"] = [{"text": re.sub(r"\s+", "", t), "images": 0}
                           for t in run(["pdftotext", "-enc", "UTF-8", pdf, "-"]).split("\f")[:-1]]
        for row in run(["pdfimages", "-list", pdf]).splitlines()[2:]:
            doc["rendered"][int(row.split()[0]) - 1]["images"] += row.split()[2] == "image"
    return docs


def read_calligra(paths, tmp):
    if not shutil.which("calligraconverter"):
        return "Calligra Stage (calligrastage) is not installed"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=str(tmp), HOME=str(tmp))

    def convert(name):  # exit status 2 and no file when it refuses one
        done = subprocess.run(["calligraconverter", "--batch", paths[name], tmp / (name + ".odp")],
                              capture_output=True, env=env)
        said = [line for line in done.stderr.decode(errors="replace").splitlines() if "ppt2odp" in line]
        return {"error": f"exit status {done.returncode}: {said[-1:]}"} if done.returncode else \
            odp_doc(tmp / (name + ".odp"))
    return dict(zip(paths, concurrent.futures.ThreadPoolExecutor(2).map(convert, paths)))


def read_olefile(paths, tmp):
    """The streams olefile, an independent compound-file reader, lists, and the problems the
    library's own structural verifier finds."""
    try:
        import olefile
    except ImportError:
        return "olefile (python3-olefile) is not installed"
    verify, docs = run([os.environ["QUORV_VERIFY_TOOL"], *paths.values()], ok=(0, 1)), {}
    for name, path in paths.items():
        try:
            with olefile.OleFileIO(str(path)) as ole:
                docs[name] = {"streams": ["/".join(e) for e in ole.listdir()],
                              "error": verify if f"{path}:" in verify else None}
        except OSError as e:
            docs[name] = {"error": str(e)}
    return docs


def main(command, out):
    if command == "build":
        return build(out)
    decks = files(out)
    with tempfile.TemporaryDirectory(prefix="quorv-interop-") as tmp:
        tmp = pathlib.Path(tmp)
        (tmp / "in").mkdir()
        links = {name: tmp / "in" / (name + ".ppt") for name in decks}  # soffice writes NAME.odp for each
        for name, link in links.items():
            link.symlink_to(decks[name][0])
        docs = globals()["read_" + command](links, tmp)
    if isinstance(docs, str):
        print("skipped:", docs)
        return 77
    c = Checks(command)
    for name, (_path, deck) in decks.items():
        compare(c, name, deck, docs[name])
    print("\n".join(c.failures + [f"{command}: {c.count - len(c.failures)} passed, {len(c.failures)} failed"]))
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], pathlib.Path(sys.argv[2]).resolve()))
