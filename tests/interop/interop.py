#!/usr/bin/python3
# interop.py build DIR: builds every deck into DIR; interop.py READER DIR: opens DIR's files with READER
# (libreoffice, calligra, poi, olefile) and compares what it reads with each deck's JSON (README.md).
# Exit status 0 when every check passed, 1 when one failed, 77 when the reader is not installed.

import concurrent.futures, hashlib, json, math, os, pathlib, re, shutil, subprocess, sys, tempfile, zipfile
import xml.etree.ElementTree as ET

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parents[1]
TOL = 0.5  # points
LIMIT = 32767 / 8  # a slide anchor holds 16-bit master units (1/8 point)
# What a reader shows otherwise than the deck says. Both ODP writers drop control characters; the
# box and turn of a turned shape are left to POI (an ODP holds them as a transformation).
ODP = {"text filter": "[\x01-\x08\x0e-\x1f]", "turned": "xywh"}
QUIRKS = {
    "poi": {"flat axis": True},  # the vertices of a polyline along an axis where all are equal are NaN
    "libreoffice": dict(ODP, **{
        "text": "yh",  # a text frame fits itself to its text (fFitShapeToText) about its anchor
        "no slides": 1}),  # a presentation without slides opens with one empty slide
    "calligra": dict(ODP, **{
        "types": {"table": "group"},  # a table is a group of rectangles, one per cell
        "no data": "left out",  # a picture without data is not on the page
        "level": "lists only",  # the indent level of a paragraph without bullet or number is lost
        "numbering": {2: 7, 5: 7}}),  # numbering schemes 18 and 38 read as "i."
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
    # name -> JSON: the example decks, the test decks and the complete example of docs/deck-format.md.
    return dict({"example-" + p.stem: p for p in (ROOT / "examples/decks").glob("*.json")},
                **{p.stem: p for p in (HERE / "decks").glob("*.json")}, complete=out / "complete.json")


def build(out):
    # Every deck and the demo, built into out beside a copy of the examples' images.
    shutil.rmtree(out, ignore_errors=True)
    shutil.copytree(ROOT / "examples/decks/images", out / "images")
    doc = (ROOT / "docs/deck-format.md").read_text(encoding="utf-8")
    block = re.search(r"<!-- complete example -->\s*```json\n(.*?)\n```", doc, re.S)[1]
    (out / "complete.json").write_text(block, encoding="utf-8")
    tool = os.environ["QUORV_PPT_TOOL"]
    list(concurrent.futures.ThreadPoolExecutor(2).map(run, [[tool, "demo", "-o", out / "demo.ppt"]] + [
        [tool, "build", src, "-o", out / (name + ".ppt")] for name, src in sources(out).items()]))


def files(out):
    # name -> (file, deck) for the built decks and, when QUORV_ROW_FILES names a folder, the
    # files the byte tests wrote there (NAME-SLIDES.ppt); the deck is None where there is no JSON.
    found = {"demo": (out / "demo.ppt", None)}
    for name, src in sources(out).items():
        found[name] = (out / (name + ".ppt"), dict(json.loads(src.read_text(encoding="utf-8")), base=src.parent))
    rows = os.environ.get("QUORV_ROW_FILES")
    for p in sorted(pathlib.Path(rows).glob("*.ppt")) if rows else []:
        found["rows-" + p.stem] = (p, None)
        DECKS["rows-" + p.stem] = {"slides": int(p.stem.rsplit("-", 1)[1])}
    return found


# ---- what a deck says the readers must see ---------------------------------------------------

def clamp(v):
    return max(-LIMIT - 0.125, min(LIMIT, v))


def bounds(xs, ys):
    return [min(xs), min(ys), max(xs) - min(xs), max(ys) - min(ys)]


def obj(value):  # a text frame, cell, paragraph or run given as a bare string
    return {"text": value} if isinstance(value, str) else value


def paragraphs(frame):
    # The paragraphs of a text frame or cell: text (NUL written as U+FFFD), indent level, bullet
    # (a Wingdings character index, 0 the master's, or None) and numbering (style, start).
    frame = obj(frame)
    paras = [obj(p) for p in (frame["text"].split("\n") if "text" in frame else frame.get("paragraphs", []))]
    texts = ["".join(obj(r)["text"] for r in ([p["text"]] if "text" in p else p.get("runs", []))) for p in paras]
    if not any(texts):
        paras, texts = [{}], [" "]  # the library writes an empty text as one space
    out = []
    for p, text in zip(paras, texts):
        bullet, number = p.get("bullet", False), p.get("numbering", 0)
        number = number if isinstance(number, dict) else {"style": number}
        out.append({"text": text.replace("\0", "\ufffd"), "level": p.get("level", 0),
                    "bullet": None if bullet is False else 0 if bullet is True else bullet.get("char", 0),
                    "numbering": (number["style"], number.get("start", 1)) if number["style"] else None})
    return out


def table_cells(shape):
    # Rows of cells, None where a merge covers the position, each with its span (columns, rows)
    # and paragraphs. A column begins at every left edge of a cell in any row.
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
            grid[i][k] = {"paragraphs": paragraphs(c), "span": [len([e for e in edges if c["left"] <= e < right]), 1]}
            if c.get("mergeDown"):
                below[k] = grid[i][k]
        tops = below
    return grid


def expected(shape):
    # One shape as every reader must show it (before QUIRKS).
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
    if t == "picture":  # the bytes of PNG and JPEG data come back as they are; a damaged picture has none
        data = (shape["base"] / shape["file"]).read_bytes()
        e["picture"] = None if "damaged/" in shape["file"] else hashlib.sha256(data).hexdigest() \
            if data[:4] == b"\x89PNG" or data[:2] == b"\xff\xd8" else "any"
    return e


def expected_pages(deck):
    # Per slide, its shapes as expected, in drawing order (by z, then position).
    return [[expected(dict(s, base=deck["base"])) for _, s in sorted(enumerate(slide.get("shapes", [])),
                                                                     key=lambda x: (x[1].get("z", x[0]), x[0]))]
            for slide in deck["slides"]]


def texts(shape):  # the paragraphs of a shape and of its cells
    return shape.get("paragraphs", []) + [p for r in shape.get("cells", []) for x in r if x for p in x["paragraphs"]]


# ---- ODP, as LibreOffice and Calligra write it -----------------------------------------------

OASIS = "urn:oasis:names:tc:opendocument:xmlns:%s:1.0"
NS = {"draw": OASIS % "drawing", "fo": OASIS % "xsl-fo-compatible", "svg": OASIS % "svg-compatible",
      "dc": "http://purl.org/dc/elements/1.1/", "xlink": "http://www.w3.org/1999/xlink"}
UNITS = {"pt": 1, "cm": 72 / 2.54, "mm": 72 / 25.4, "in": 72, "": 1}
NUMBERING = {"1.": 1, "①, ②, ③, ...": 2, "I.": 3, "A)": 4, "一, 二, 三, ...．": 5, "a.": 6, "i.": 7}


def q(name):
    prefix, local = name.split(":")
    return "{%s}%s" % (NS.get(prefix, OASIS % prefix), local)


def pt(length):
    m = re.fullmatch(r"\s*([-+.\deE]+)\s*([a-z]*)\s*", length)
    return float(m.group(1)) * UNITS[m.group(2)]


def path(b, geometry):
    # draw:enhanced-path as [command, x, y] in slide points (Z and N bare).
    vb, out = [float(v) for v in geometry.get(q("svg:viewBox"), "0 0 1 1").split()], []
    for cmd, args in re.findall(r"([A-DF-Z])([^A-DF-Z]*)", geometry.get(q("draw:enhanced-path"), "")):
        v = [float(x) for x in re.findall(r"[-+.\deE]+", args)]
        out += [[cmd]] * (cmd in "ZN") + [[cmd] + [b[i] + (v[j + i] - vb[i]) * b[i + 2] / (vb[i + 2] or 1)
                                                    for i in (0, 1)] for j in range(0, len(v) - 1, 2)]
    return out


def odf_text(p):
    # A paragraph's text: white space collapses, and goes at the start, but in text:s and text:tab.
    def pieces(el):  # text:s as NULs, text:tab as U+0001 (XML holds neither)
        yield el.text or ""
        for c in el:
            yield "".join(pieces(c)) if c.tag == q("text:span") else "\0" * int(c.get(q("text:c"), "1")) \
                if c.tag == q("text:s") else "\1" if c.tag == q("text:tab") else ""
            yield c.tail or ""
    return re.sub(r"\s+", " ", "".join(pieces(p))).lstrip(" ").replace("\0", " ").replace("\1", "\t")


class Odp:
    # An ODP read into the form compare takes (doc): slides, size, properties, pages of shapes.

    def __init__(self, path):
        self.odp = odp = zipfile.ZipFile(path)
        content, styles, meta = (ET.fromstring(odp.read(n)) for n in ("content.xml", "styles.xml", "meta.xml"))
        self.lists = {el.get(q("style:name")): el for root in (styles, content)
                      for el in root.iter(q("text:list-style"))}
        layouts = {el.get(q("style:name")): el.find(q("style:page-layout-properties"))
                   for el in styles.iter(q("style:page-layout"))}
        masters = {m.get(q("style:name")): layouts[m.get(q("style:page-layout-name"))]
                   for m in styles.iter(q("style:master-page"))}
        info, pages = meta.find(q("office:meta")), list(content.iter(q("draw:page")))
        layout = pages and masters[pages[0].get(q("draw:master-page-name"))]
        self.doc = {"slides": len(pages), "size": pages and [pt(layout.get(q("fo:page-" + k)))
                                                             for k in ("width", "height")],
                    "properties": {"title": info.findtext(q("dc:title")),
                                   "author": info.findtext(q("meta:initial-creator"))},
                    "pages": [[o for o in map(self.shape, page) if o] for page in pages]}

    def shape(self, el):
        kind = el.tag.split("}")[1]
        if not el.tag.startswith(q("draw:")) or kind == "page-thumbnail":
            return None
        o = {"type": kind, "box": [pt(el.get(q("svg:" + k), "0")) for k in ("x", "y", "width", "height")]}
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
            o["type"], o["cells"] = "table", [[self.cell(c) for c in row if c.tag.endswith("table-cell")]
                                              for row in table.iter(q("table:table-row"))]
        elif image is not None:  # the digest of the bytes shown (LibreOffice keeps 17 bytes past a JPEG's end)
            data = image.get(q("xlink:href")) in self.odp.namelist() and self.odp.read(image.get(q("xlink:href")))
            data = data[:data.find(b"\xff\xd9") + 2] if data and data[:2] == b"\xff\xd8" else data
            o["type"], o["picture"] = "picture", hashlib.sha256(data).hexdigest() if data else None
        elif kind == "g":
            o["type"], o["children"] = "group", [c for c in map(self.shape, el) if c]
            o["box"] = bounds(*zip(*[(b[0] + b[2] * k, b[1] + b[3] * k) for c in o["children"] for b in [c["box"]]
                                     for k in (0, 1)]))
        o["type"] = "text" if text is not None else o["type"]
        if o["type"] not in ("table", "group"):
            o["paragraphs"] = self.paragraphs(el if text is None else text)
        return o

    def cell(self, cell):
        # A table cell, None where a merge covers it.
        if cell.tag == q("table:covered-table-cell"):
            return None
        return {"paragraphs": self.paragraphs(cell),
                "span": [int(cell.get(q(f"table:number-{k}-spanned"), "1")) for k in ("columns", "rows")]}

    def paragraphs(self, el, lists=None, depth=0):
        # The paragraphs in el, in lists (a list style's name) at depth; a list header's have no label.
        out = []
        for c in el:
            if c.tag == q("text:list"):
                out += self.paragraphs(c, lists or c.get(q("text:style-name")), depth + 1)
            elif c.tag in (q("text:list-item"), q("text:list-header")):
                out += self.paragraphs(c, lists if c.tag == q("text:list-item") else None, depth)
            elif c.tag == q("text:p"):
                out.append(self.paragraph(c, lists, depth))
        return out

    def paragraph(self, p, lists, depth):
        label = next((s for s in self.lists.get(lists, []) if s.get(q("text:level")) == str(depth)), ET.Element("none"))
        bullet = label.tag == q("text:list-level-style-bullet")
        number = not bullet and label.get(q("style:num-format"))
        return {"text": odf_text(p), "level": max(depth - 1, 0),
                "bullet": bullet and label.get(q("text:bullet-char")) or None,
                "numbering": number and (NUMBERING.get(number + label.get(q("style:num-suffix"), "")),
                                         int(label.get(q("text:start-value"), "1"))) or None}


# ---- comparing what a reader read with what the deck says ------------------------------------

WINGDINGS = "\u2022lnupü\u00d8"  # bullet character index -> character (0: the master's)
STREAMS = ["PowerPoint Document", "Current User", "\x05SummaryInformation", "\x05DocumentSummaryInformation"]


class Checks:
    def __init__(self, reader):
        self.reader, self.quirks, self.failures, self.count = reader, QUIRKS.get(reader, {}), [], 0

    def eq(self, where, got, want):
        self.count += 1
        self.failures += [f"{where}: {self.reader} read {got!r}, expected {want!r}"] * (got != want)
        return got == want

    def near(self, where, got, want):
        ok = got is not None and len(got) == len(want) and all(g is not None and abs(g - w) <= TOL
                                                              for g, w in zip(got, want))
        return self.eq(where, want if ok else got, want)

    def text(self, text):
        return re.sub(self.quirks.get("text filter", "(?!)"), "", text)


def compare_paragraphs(c, where, got, want):
    if not c.eq(where + " texts", [p["text"] for p in got], [c.text(p["text"]) for p in want]):
        return
    for i, (g, w) in enumerate(zip(got, want)):
        at = f"{where} paragraph {i}"
        if w["bullet"] is not None or w["numbering"] or c.quirks.get("level") != "lists only":
            c.eq(at + " level", g["level"], w["level"])
        style, start = w["numbering"] or (None, None)
        number = w["numbering"] and (c.quirks.get("numbering", {}).get(style, style), start)
        c.eq(at + " numbering", g["numbering"], number)
        if not number:  # a symbol face's bullet character may be in its private-use form (U+F0xx)
            bullet = g["bullet"] and chr(ord(g["bullet"]) - 0xF000 * (ord(g["bullet"]) > 0xF000))
            c.eq(at + " bullet", bullet, None if w["bullet"] is None else WINGDINGS[w["bullet"]])


def compare_shape(c, name, where, got, want):
    skip = c.quirks.get("turned" if want["rotation"] else want["type"], "")
    c.near(where + " box", *([v for v, k in zip(s["box"], "xywh") if k not in skip] for s in (got, want)))
    if "rotation" in got:
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
    if "picture" in got:
        picture = "any" if got["picture"] and want["picture"] == "any" else got["picture"]
        c.eq(where + " picture", picture, want["picture"])
    if "paragraphs" in want:
        compare_paragraphs(c, where, got["paragraphs"], want["paragraphs"])
    if "cells" in got and DECKS.get(name, {}).get("cells") != "texts":
        # Each cell's span (columns, rows) at its place, None where a merge covers it; then the cells in order.
        if c.eq(where + " grid", *([[x and x["span"] for x in r] for r in s["cells"]] for s in (got, want))):
            for k, (g, w) in enumerate(zip(*([x for r in s["cells"] for x in r if x] for s in (got, want)))):
                compare_paragraphs(c, f"{where} cell {k}", g["paragraphs"], w["paragraphs"])
    elif "cells" in want:  # the texts of the cells, however the reader shows them
        cells = [x for r in got["cells"] for x in r if x] if "cells" in got else got["children"]
        c.eq(where + " cells", sorted(p["text"] for x in cells for p in x["paragraphs"]),
             sorted(c.text(p["text"]) for p in texts(want)))


def compare(c, name, deck, doc):
    # doc: what the reader read (size, slides, properties, pages of shapes, streams), or its error.
    if not c.eq(name + " opened", doc.get("error"), None):
        return
    if "streams" in doc:  # "Pictures" when a picture has data
        want = STREAMS + ["Pictures"] * bool(deck and any(s.get("picture") for p in expected_pages(deck) for s in p))
        return c.eq(name + " streams", sorted(x for x in doc["streams"] if deck or x in want), sorted(want))
    slides = len(deck["slides"]) if deck else DECKS[name]["slides"]
    c.eq(name + " slides", doc["slides"], slides or c.quirks.get("no slides", 0))
    if deck is None:
        return
    if doc["size"]:  # slide sizes are kept within 1..56 inches
        c.near(name + " size", doc["size"], [max(72, min(4032, deck.get(k, d)))
                                             for k, d in (("width", 720), ("height", 540))])
    for k, v in doc["properties"].items():
        value = deck.get("properties", {}).get(k, "").split("\0")[0]  # a value ends at a NUL
        c.eq(f"{name} {k}", v or None, value + " " if value else None)
    for i, want in enumerate(expected_pages(deck)[:doc["slides"]]):
        want, got = [s for s in want if s.get("picture", True) or not c.quirks.get("no data")], doc["pages"][i]
        if c.eq(f"{name} slide {i} shapes", [s["type"] for s in got],
                [c.quirks.get("types", {}).get(s["type"], s["type"]) for s in want]):
            for j, (g, w) in enumerate(zip(got, want)):
                compare_shape(c, name, f"{name} slide {i} shape {j}", g, w)


# ---- the readers -----------------------------------------------------------------------------

POI_NUMBERING = {3: 1, 18: 2, 7: 3, 11: 4, 38: 5, 0: 6, 6: 7}  # POI's scheme id -> numbering style


def read_poi(paths, tmp):
    jars = [f"/usr/share/java/{j}.jar" for j in ("poi", "poi-scratchpad", "commons-collections4", "commons-math3")]
    if not shutil.which("java") or not os.path.exists(jars[0]):
        return "Apache POI (libapache-poi-java, default-jdk-headless) is not installed"
    lines = run(["java", "-cp", ":".join(jars), HERE / "poi/PoiCheck.java", *paths.values()]).splitlines()
    docs = {d["file"]: d for d in map(json.loads, lines)}
    for s in (s for d in docs.values() for page in d.get("pages", []) for s in page):
        s["ends"] = [s["box"][i] + s["box"][i + 2] * (s["flip"][i] != k) for k in (0, 1) for i in (0, 1)]
        for p in texts(s):
            p["numbering"] = p["numbering"] and (POI_NUMBERING.get(p["numbering"][0]), p["numbering"][1])
    return {name: docs.get(str(path), {"error": "POI printed nothing"}) for name, path in paths.items()}


def odp_doc(path):
    return Odp(path).doc if path.exists() else {"error": "no ODP written"}


def read_libreoffice(paths, tmp):
    if not shutil.which("soffice"):
        return "LibreOffice (libreoffice-impress) is not installed"
    run(["soffice", "--headless", "--norestore", "--nolockcheck", f"-env:UserInstallation=file://{tmp}/profile",
         "--convert-to", "odp", "--outdir", tmp / "odp", *paths.values()])
    return {n: odp_doc(tmp / "odp" / (p.stem + ".odp")) for n, p in paths.items()}  # soffice writes STEM.odp


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
    # The streams olefile, an independent compound-file reader, lists, and the problems the
    # library's own structural verifier finds.
    try:
        import olefile
    except ImportError:
        return "olefile (python3-olefile) is not installed"
    verify = run([os.environ["QUORV_VERIFY_TOOL"], *paths.values()], ok=(0, 1))

    def streams(path):
        with olefile.OleFileIO(str(path)) as ole:
            return ["/".join(e) for e in ole.listdir()]
    return {name: {"streams": streams(path), "error": verify if f"{path}:" in verify else None}
            for name, path in paths.items()}


def main(command, out):
    if command == "build":
        return build(out)
    decks = files(out)
    with tempfile.TemporaryDirectory(prefix="quorv-interop-") as tmp:
        docs = globals()["read_" + command]({name: path for name, (path, _) in decks.items()}, pathlib.Path(tmp))
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
