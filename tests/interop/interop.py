"""Reader-side tooling for the interoperability tests: open .ppt files with real readers.

Three readers are driven from here, each through its command-line tools:

* Apache POI HSLF (Debian's libapache-poi-java): ``poi/PoiCheck.java`` is compiled once per cache
  directory and prints one JSON document describing what POI reads (``poi_dump``).
* LibreOffice headless: ``lo_convert`` converts many files in one soffice call, with a private
  user profile so parallel runs and whatever is in $HOME do not interfere.
* poppler-utils: ``pdf_pages``, ``pdf_text`` and ``pdf_images`` look at what LibreOffice rendered.

``odp_parse`` reads an .odp (or flat .fodp) into plain dicts with geometry in points and text
formatting resolved through the automatic styles, so a test can compare what LibreOffice
understood from a .ppt with what was written.

Only the Python standard library is used. Missing tools raise ``ToolMissing`` (a RuntimeError);
``missing_tools()`` lets a test skip up front.
"""

import base64
import hashlib
import json
import math
import os
import pathlib
import re
import shutil
import signal
import subprocess
import tempfile
import xml.etree.ElementTree as ET
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
POI_SOURCE = HERE / "poi" / "PoiCheck.java"

# Where Debian puts the jars, and which of them the checker needs. POI's HPSF reader uses
# commons-collections4; commons-math3 and commons-codec are declared POI dependencies that some
# code paths load; commons-logging only matters if a POI logger is switched on.
JAVA_DIR = os.environ.get("QUORV_POI_JAVA_DIR", "/usr/share/java")
POI_JARS_REQUIRED = ("poi.jar", "poi-scratchpad.jar", "commons-collections4.jar")
POI_JARS_OPTIONAL = ("commons-math3.jar", "commons-codec.jar", "commons-logging.jar")

SOFFICE_TIMEOUT = 300  # seconds for one soffice call, whatever the number of files
POI_TIMEOUT = 120


class ToolMissing(RuntimeError):
    """A program or jar the tooling needs is not installed."""


class ConversionError(RuntimeError):
    """soffice failed, timed out, or did not write every expected file."""


class PoiError(RuntimeError):
    """PoiCheck reported an exception while reading a file (the message carries POI's error)."""

    def __init__(self, message, document=None):
        super().__init__(message)
        self.document = document


# --------------------------------------------------------------------------------------------
# Tool discovery


def _which(name):
    path = shutil.which(name)
    if not path:
        raise ToolMissing(f"{name} not found on PATH")
    return path


def soffice_path():
    """Path of the LibreOffice launcher (QUORV_SOFFICE overrides); raises ToolMissing."""
    override = os.environ.get("QUORV_SOFFICE")
    if override:
        return override
    for name in ("soffice", "libreoffice"):
        path = shutil.which(name)
        if path:
            return path
    raise ToolMissing("soffice not found on PATH (install libreoffice-impress)")


def poi_jars():
    """The jars of the POI classpath, in order; raises ToolMissing if a required one is absent."""
    jars = []
    for name in POI_JARS_REQUIRED:
        path = os.path.join(JAVA_DIR, name)
        if not os.path.isfile(path):
            raise ToolMissing(f"{path} not found (install libapache-poi-java)")
        jars.append(path)
    for name in POI_JARS_OPTIONAL:
        path = os.path.join(JAVA_DIR, name)
        if os.path.isfile(path):
            jars.append(path)
    return jars


def missing_tools(need=("java", "soffice", "poppler")):
    """Reasons the requested tools are unusable, as a list of strings (empty when all present).

    ``need`` may contain "java" (java, javac and the POI jars), "soffice" and "poppler"
    (pdfinfo, pdftotext, pdfimages)."""
    reasons = []
    checks = {
        "java": [lambda: _which("java"), lambda: _which("javac"), poi_jars],
        "soffice": [soffice_path],
        "poppler": [lambda: _which("pdfinfo"), lambda: _which("pdftotext"),
                    lambda: _which("pdfimages")],
    }
    for key in need:
        for check in checks[key]:
            try:
                check()
            except ToolMissing as e:
                reasons.append(str(e))
    return reasons


def default_cache_dir():
    """Directory for the compiled checker: $QUORV_INTEROP_CACHE, else a per-user temp dir."""
    env = os.environ.get("QUORV_INTEROP_CACHE")
    if env:
        return env
    return os.path.join(tempfile.gettempdir(), f"quorv-interop-{os.getuid()}")


# --------------------------------------------------------------------------------------------
# Apache POI


def compile_poi_checker(cache_dir=None):
    """Compile poi/PoiCheck.java into cache_dir (once per source and JDK) and return the
    classpath string to run it with: the POI jars followed by the class directory.

    Recompiles when the source, the jar list or the javac version changes. The class file is
    built in a private temp dir and moved into place, so concurrent test processes sharing one
    cache_dir never see a half-written class."""
    cache_dir = os.path.abspath(cache_dir or default_cache_dir())
    javac = _which("javac")
    _which("java")
    jars = poi_jars()
    source = POI_SOURCE.read_bytes()
    version = subprocess.run([javac, "-version"], capture_output=True, text=True).stdout.strip()
    key = hashlib.sha256(source + "\0".join(jars + [version]).encode()).hexdigest()[:16]
    class_dir = os.path.join(cache_dir, f"poicheck-{key}")
    classpath = os.pathsep.join(jars + [class_dir])
    if os.path.isfile(os.path.join(class_dir, "PoiCheck.class")):
        return classpath

    os.makedirs(cache_dir, exist_ok=True)
    build = tempfile.mkdtemp(prefix="poicheck-build-", dir=cache_dir)
    try:
        proc = subprocess.run(
            [javac, "-encoding", "UTF-8", "-Xlint:all,-path", "-d", build,
             "-cp", os.pathsep.join(jars), str(POI_SOURCE)],
            capture_output=True, text=True, timeout=POI_TIMEOUT)
        if proc.returncode != 0:
            raise RuntimeError(f"javac failed ({proc.returncode}):\n{proc.stdout}{proc.stderr}")
        try:
            os.rename(build, class_dir)
        except OSError:
            # Another process finished first; its identical classes are in place.
            if not os.path.isfile(os.path.join(class_dir, "PoiCheck.class")):
                raise
    finally:
        if os.path.isdir(build):
            shutil.rmtree(build, ignore_errors=True)
    return classpath


def _run_poi(paths, classpath):
    if classpath is None:
        classpath = compile_poi_checker()
    cmd = [_which("java"), "-Djava.awt.headless=true", "-cp", classpath, "PoiCheck"]
    cmd += [os.fspath(p) for p in paths]
    proc = subprocess.run(cmd, capture_output=True, timeout=POI_TIMEOUT)
    out = proc.stdout.decode("utf-8", errors="replace")
    docs = []
    for line in out.splitlines():
        line = line.strip()
        if line:
            try:
                docs.append(json.loads(line))
            except ValueError as e:
                raise RuntimeError(f"PoiCheck printed something that is not JSON ({e}):\n"
                                   f"{out}\n{proc.stderr.decode(errors='replace')}") from None
    if len(docs) != len(paths):
        raise RuntimeError(f"PoiCheck exited {proc.returncode} with {len(docs)} documents for "
                           f"{len(paths)} files:\n{out}\n{proc.stderr.decode(errors='replace')}")
    return docs


def poi_dump(ppt_path, classpath=None):
    """What Apache POI reads from ppt_path, as the dict PoiCheck prints (see PoiCheck.java).

    Lengths in points, colours "#rrggbb". Raises PoiError carrying POI's exception and stack
    when POI cannot read the file. classpath defaults to compile_poi_checker()."""
    doc = _run_poi([ppt_path], classpath)[0]
    if "error" in doc:
        raise PoiError(f"POI failed on {ppt_path}: {doc['error']}\n  " +
                       "\n  ".join(doc.get("trace", [])), doc)
    return doc


def poi_dump_many(paths, classpath=None):
    """poi_dump for many files in one JVM: {path: dict}. A file POI cannot read maps to its
    {"error": ..., "trace": [...]} dict instead of raising, so one bad file does not hide the
    others."""
    paths = [os.fspath(p) for p in paths]
    if not paths:
        return {}
    return {p: d for p, d in zip(paths, _run_poi(paths, classpath))}


def poi_shapes(slide, kind=None):
    """The shapes of one poi_dump slide, groups flattened (children after their group),
    optionally only those of one kind ("textbox", "autoshape", "line", "freeform", ...)."""
    out = []

    def walk(shapes):
        for sh in shapes:
            out.append(sh)
            walk(sh.get("children", []))

    walk(slide["shapes"])
    return [s for s in out if kind is None or s["kind"] == kind]


# --------------------------------------------------------------------------------------------
# LibreOffice


def lo_convert(paths, fmt, outdir, timeout=SOFFICE_TIMEOUT):
    """Convert every file in paths to fmt ("ppt", "pdf", "odp", or "ext:FilterName") with one
    soffice call, writing into outdir; return the list of output paths in input order.

    A throwaway user profile (-env:UserInstallation) is used so a running LibreOffice, a
    damaged ~/.config/libreoffice or another test process cannot interfere. Raises
    ConversionError with soffice's output when it fails, times out or skips a file."""
    if isinstance(paths, (str, os.PathLike)):
        paths = [paths]
    paths = [os.path.abspath(os.fspath(p)) for p in paths]
    if not paths:
        return []
    outdir = os.path.abspath(os.fspath(outdir))
    os.makedirs(outdir, exist_ok=True)
    ext = fmt.split(":", 1)[0]
    outputs = [os.path.join(outdir, pathlib.Path(p).stem + "." + ext) for p in paths]
    if len(set(outputs)) != len(outputs):
        raise ValueError("two inputs share a base name; soffice would write both to one file")
    for src, dst in zip(paths, outputs):
        if src == dst:
            raise ValueError(f"converting {src} would overwrite it; choose another outdir")
        if os.path.exists(dst):
            os.remove(dst)

    profile = tempfile.mkdtemp(prefix="quorv-lo-profile-")
    cmd = [soffice_path(), "--headless", "--invisible", "--norestore", "--nolockcheck",
           "--nodefault", "--nologo",
           "-env:UserInstallation=" + pathlib.Path(profile).as_uri(),
           "--convert-to", fmt, "--outdir", outdir] + paths
    try:
        # A session of its own so a timeout can stop soffice.bin as well as the launcher.
        proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                stdin=subprocess.DEVNULL, start_new_session=True)
        try:
            out, err = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            out, err = proc.communicate()
            raise ConversionError(_conversion_report(
                f"soffice timed out after {timeout} s", cmd, None, out, err)) from None
    finally:
        shutil.rmtree(profile, ignore_errors=True)

    missing = [o for o in outputs if not os.path.isfile(o) or os.path.getsize(o) == 0]
    if proc.returncode != 0 or missing:
        raise ConversionError(_conversion_report(
            "soffice did not write " + ", ".join(missing) if missing else "soffice failed",
            cmd, proc.returncode, out, err))
    return outputs


def _conversion_report(what, cmd, rc, out, err):
    return (f"{what} (exit status {rc})\ncommand: {' '.join(cmd)}\n"
            f"stdout:\n{out.decode(errors='replace')}\nstderr:\n{err.decode(errors='replace')}")


# --------------------------------------------------------------------------------------------
# poppler


def _poppler(tool, *args):
    proc = subprocess.run([_which(tool), *args], capture_output=True, timeout=120)
    if proc.returncode != 0:
        raise RuntimeError(f"{tool} {' '.join(args)} failed ({proc.returncode}): "
                           f"{proc.stderr.decode(errors='replace')}")
    return proc.stdout.decode("utf-8", errors="replace")


def pdf_pages(pdf):
    """Number of pages of a PDF (pdfinfo)."""
    m = re.search(r"^Pages:\s+(\d+)", _poppler("pdfinfo", os.fspath(pdf)), re.M)
    if not m:
        raise RuntimeError(f"pdfinfo printed no page count for {pdf}")
    return int(m.group(1))


def pdf_text(pdf, first=None, last=None):
    """Text of a PDF laid out as on the page (pdftotext -layout); pages are separated by
    form feeds. first/last limit the page range (1-based)."""
    args = ["-layout", "-enc", "UTF-8"]
    if first is not None:
        args += ["-f", str(first)]
    if last is not None:
        args += ["-l", str(last)]
    return _poppler("pdftotext", *args, os.fspath(pdf), "-")


_PDFIMAGES_COLUMNS = ("page", "num", "type", "width", "height", "color", "comp", "bpc", "enc",
                      "interp", "object", "id", "x_ppi", "y_ppi", "size", "ratio")


def pdf_images(pdf):
    """The images a PDF draws (pdfimages -list): one dict per row with page, num, type, width,
    height, color, comp, bpc, enc, interp, object, id, x_ppi, y_ppi, size, ratio; numbers as
    ints where the column is numeric."""
    rows = []
    for line in _poppler("pdfimages", "-list", os.fspath(pdf)).splitlines()[2:]:
        fields = line.split()
        if len(fields) != len(_PDFIMAGES_COLUMNS):
            continue
        row = dict(zip(_PDFIMAGES_COLUMNS, fields))
        for key in ("page", "num", "width", "height", "comp", "bpc", "object", "id",
                    "x_ppi", "y_ppi"):
            try:
                row[key] = int(row[key])
            except ValueError:
                pass
        rows.append(row)
    return rows


# --------------------------------------------------------------------------------------------
# ODF

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "draw": "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "xlink": "http://www.w3.org/1999/xlink",
    "dc": "http://purl.org/dc/elements/1.1/",
    "meta": "urn:oasis:names:tc:opendocument:xmlns:meta:1.0",
    "presentation": "urn:oasis:names:tc:opendocument:xmlns:presentation:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "loext": "urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0",
}


def _q(name):
    """'draw:frame' -> '{urn:...drawing:1.0}frame'."""
    prefix, local = name.split(":")
    return "{%s}%s" % (NS[prefix], local)


def _local(tag):
    return tag.rsplit("}", 1)[-1]


def _ns_of(tag):
    return tag[1:].split("}", 1)[0] if tag.startswith("{") else ""


_UNIT_PT = {"pt": 1.0, "in": 72.0, "inch": 72.0, "cm": 72.0 / 2.54, "mm": 72.0 / 25.4,
            "pc": 12.0, "px": 0.75}
_LENGTH = re.compile(r"^\s*([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)\s*([a-z]*)\s*$")


def to_pt(length):
    """An ODF length ("2.54cm", "1in", "25.4mm", "72pt", "6pc", "96px") in points; None stays
    None. A bare number is taken as points."""
    if length is None:
        return None
    m = _LENGTH.match(length)
    if not m or m.group(2) not in _UNIT_PT and m.group(2) != "":
        raise ValueError(f"not an ODF length: {length!r}")
    return float(m.group(1)) * _UNIT_PT.get(m.group(2), 1.0)


def _r(x, nd=3):
    return None if x is None else round(x, nd)


class _Styles:
    """Styles of one document: common styles, automatic styles of styles.xml and content.xml,
    default styles, list styles and font faces, looked up by (family, name)."""

    def __init__(self, roots):
        self.named = {}      # (family, name) -> element
        self.defaults = {}   # family -> element
        self.lists = {}      # name -> text:list-style element
        self.fonts = {}      # font-face name -> family name
        self.page_layouts = {}
        self.master_pages = {}
        for root in roots:
            for decls in root.iter(_q("office:font-face-decls")):
                for ff in decls.findall(_q("style:font-face")):
                    fam = ff.get(_q("svg:font-family")) or ff.get(_q("style:name"))
                    self.fonts[ff.get(_q("style:name"))] = fam.strip().strip("'\"")
            for tag in ("office:styles", "office:automatic-styles"):
                for container in root.iter(_q(tag)):
                    self._add(container)
            for ms in root.iter(_q("office:master-styles")):
                for mp in ms.findall(_q("style:master-page")):
                    self.master_pages[mp.get(_q("style:name"))] = mp

    def _add(self, container):
        for el in container:
            name = el.get(_q("style:name"))
            if el.tag == _q("style:style"):
                self.named[(el.get(_q("style:family")), name)] = el
            elif el.tag == _q("style:default-style"):
                self.defaults[el.get(_q("style:family"))] = el
            elif el.tag == _q("text:list-style"):
                self.lists[name] = el
            elif el.tag == _q("style:page-layout"):
                self.page_layouts[name] = el

    def chain(self, family, name):
        """Style elements from the family's default style down to the named one."""
        out = []
        seen = set()
        while name and (family, name) not in seen:
            seen.add((family, name))
            el = self.named.get((family, name))
            if el is None:
                break
            out.append(el)
            name = el.get(_q("style:parent-style-name"))
        if family in self.defaults:
            out.append(self.defaults[family])
        return list(reversed(out))

    def props(self, family, name, kind):
        """Merged attributes of the <style:KIND-properties> (or loext: variant) children along
        the chain; kind is "graphic", "paragraph", "text", "table-cell", ... Attribute keys keep
        their prefix, e.g. "fo:font-size"."""
        merged = {}
        for el in self.chain(family, name):
            _merge_props(merged, el, kind)
        return merged


_PREFIX_OF = {v: k for k, v in NS.items()}


def _merge_props(merged, style_el, kind):
    for child in style_el:
        if _local(child.tag) == f"{kind}-properties":
            for key, value in child.attrib.items():
                prefixed = f"{_PREFIX_OF.get(_ns_of(key), '?')}:{_local(key)}"
                if prefixed == "fo:font-size" and value.endswith("%") and "fo:font-size" in merged:
                    base = to_pt(merged["fo:font-size"]) if not merged["fo:font-size"].endswith(
                        "%") else None
                    if base is not None:
                        value = f"{base * float(value[:-1]) / 100.0}pt"
                merged[prefixed] = value


def _text_summary(tp, fonts):
    """Plain description of merged text properties."""
    pos = (tp.get("style:text-position") or "").split()
    position = None
    if pos:
        first = pos[0]
        if first == "super" or (first.endswith("%") and float(first[:-1]) > 0):
            position = "super"
        elif first == "sub" or (first.endswith("%") and float(first[:-1]) < 0):
            position = "sub"
    underline = tp.get("style:text-underline-style")
    font = tp.get("style:font-name")
    font = fonts.get(font, font) if font else tp.get("fo:font-family", "").strip("'\"") or None
    size = tp.get("fo:font-size")
    return {
        "bold": tp.get("fo:font-weight") in ("bold", "600", "700", "800", "900"),
        "italic": tp.get("fo:font-style") in ("italic", "oblique"),
        "underline": bool(underline) and underline != "none",
        "strike": (tp.get("style:text-line-through-style") or "none") != "none",
        "color": (tp.get("fo:color") or "").lower() or None,
        "size": _r(to_pt(size)) if size and not size.endswith("%") else None,
        "font": font,
        "position": position,
        "position_raw": tp.get("style:text-position"),
    }


_WS = re.compile(r"[ \t\r\n]+")


class _Para:
    """Collects the spans of one paragraph, applying ODF white-space collapsing."""

    def __init__(self):
        self.spans = []  # [style-name-chain tuple, text]
        self.after_space = True  # at the start, or after a space: a collapsed space is dropped

    def add(self, styles, text, literal=False):
        if not literal:
            text = _WS.sub(" ", text)
            if text.startswith(" ") and self.after_space:
                text = text[1:]
        if not text:
            return
        self.after_space = text.endswith(" ")
        if self.spans and self.spans[-1][0] == styles:
            self.spans[-1][1] += text
        else:
            self.spans.append([styles, text])


def _collect_para(el, para, span_styles):
    if el.text:
        para.add(span_styles, el.text)
    for child in el:
        tag = child.tag
        if tag == _q("text:span"):
            name = child.get(_q("text:style-name"))
            _collect_para(child, para, span_styles + ((name,) if name else ()))
        elif tag == _q("text:s"):
            para.add(span_styles, " " * int(child.get(_q("text:c"), "1")), literal=True)
        elif tag == _q("text:tab"):
            para.add(span_styles, "\t", literal=True)
        elif tag == _q("text:line-break"):
            para.add(span_styles, "\n", literal=True)
        elif _ns_of(tag) in (NS["office"],) or tag in (_q("text:bookmark"),
                                                        _q("text:bookmark-start"),
                                                        _q("text:bookmark-end")):
            pass  # annotations and bookmarks carry no paragraph text
        else:
            # text:a, fields (text:page-number, text:date, ...) and anything else: their text.
            _collect_para(child, para, span_styles)
        if child.tail:
            para.add(span_styles, child.tail)


class _OdfReader:
    def __init__(self, content, styles_root, meta_root, zf):
        self.content = content
        self.zf = zf
        roots = [r for r in (styles_root, content) if r is not None]
        self.styles = _Styles(roots)
        self.meta_root = meta_root

    # ---- text -----------------------------------------------------------------------------

    def paragraphs(self, container, graphic_style=None, text_style=None, family="graphic"):
        """Paragraphs of a shape, text box or table cell, in document order."""
        base_text = self.styles.props(family, graphic_style, "text") if graphic_style else {}
        base_para = self.styles.props(family, graphic_style, "paragraph") if graphic_style else {}
        if text_style:
            for el in self.styles.chain("paragraph", text_style):
                _merge_props(base_text, el, "text")
                _merge_props(base_para, el, "paragraph")
        default_list = None
        if graphic_style:
            for el in self.styles.chain(family, graphic_style):
                default_list = el.get(_q("style:list-style-name")) or default_list
        out = []
        self._walk_text(container, out, base_text, base_para, None, 0, False, default_list)
        return out

    def _walk_text(self, el, out, base_text, base_para, list_style, level, header, default_list):
        for child in el:
            tag = child.tag
            if tag in (_q("text:p"), _q("text:h")):
                out.append(self._paragraph(child, base_text, base_para, list_style, level,
                                           header))
            elif tag == _q("text:list"):
                ls = child.get(_q("text:style-name")) or list_style or default_list
                self._walk_text(child, out, base_text, base_para, ls, level + 1, False,
                                default_list)
            elif tag == _q("text:list-item"):
                self._walk_text(child, out, base_text, base_para, list_style, level, False,
                                default_list)
            elif tag == _q("text:list-header"):
                self._walk_text(child, out, base_text, base_para, list_style, level, True,
                                default_list)
            elif tag == _q("text:section"):
                self._walk_text(child, out, base_text, base_para, list_style, level, header,
                                default_list)

    def _paragraph(self, p, base_text, base_para, list_style, level, header):
        pstyle = p.get(_q("text:style-name"))
        ptext = dict(base_text)
        ppara = dict(base_para)
        for el in self.styles.chain("paragraph", pstyle):
            _merge_props(ptext, el, "text")
            _merge_props(ppara, el, "paragraph")
        para = _Para()
        _collect_para(p, para, ())
        spans = []
        for chain, text in para.spans:
            tp = dict(ptext)
            for name in chain:
                for el in self.styles.chain("text", name):
                    _merge_props(tp, el, "text")
            span = {"text": text, "style": chain[-1] if chain else None}
            span.update(_text_summary(tp, self.styles.fonts))
            spans.append(span)
        return {
            "text": "".join(s["text"] for s in spans),
            "style": pstyle,
            "align": ppara.get("fo:text-align"),
            "margin_left": _r(to_pt(ppara.get("fo:margin-left"))),
            "text_indent": _r(to_pt(ppara.get("fo:text-indent"))),
            "list": self._list_info(list_style, level, header) if level else None,
            "spans": spans,
        }

    def _list_info(self, list_style, level, header):
        info = {"level": level, "header": header, "style": list_style, "kind": None}
        ls = self.styles.lists.get(list_style)
        if ls is None:
            info["shows_label"] = False
            return info
        for lvl in ls:
            if lvl.get(_q("text:level")) != str(level):
                continue
            kind = _local(lvl.tag).replace("list-level-style-", "")
            info["kind"] = kind
            if kind == "bullet":
                info["bullet_char"] = lvl.get(_q("text:bullet-char"))
            elif kind == "number":
                info["num_format"] = lvl.get(_q("style:num-format"))
                info["num_prefix"] = lvl.get(_q("style:num-prefix"))
                info["num_suffix"] = lvl.get(_q("style:num-suffix"))
                info["start_value"] = int(lvl.get(_q("text:start-value"), "1"))
            llp = lvl.find(_q("style:list-level-properties"))
            if llp is not None:
                info["space_before"] = _r(to_pt(llp.get(_q("text:space-before"))))
                info["min_label_width"] = _r(to_pt(llp.get(_q("text:min-label-width"))))
            break
        # Whether a bullet or number is drawn: LibreOffice writes unbulleted paragraphs of a
        # shape as text:list-header, or with an empty number format.
        info["shows_label"] = bool(not header and (
            (info["kind"] == "bullet" and info.get("bullet_char")) or
            (info["kind"] == "number" and info.get("num_format")) or info["kind"] == "image"))
        return info

    # ---- shapes ---------------------------------------------------------------------------

    def shape_style(self, el):
        """Merged graphic properties of a drawing object, summarised."""
        if el.get(_q("presentation:style-name")):
            family, name = "presentation", el.get(_q("presentation:style-name"))
        else:
            family, name = "graphic", el.get(_q("draw:style-name"))
        gp = self.styles.props(family, name, "graphic")
        stroke = gp.get("draw:stroke")
        fill = gp.get("draw:fill")
        return family, name, {
            "stroke": stroke,
            "stroke_color": (gp.get("svg:stroke-color") or "").lower() or None,
            "stroke_width": _r(to_pt(gp.get("svg:stroke-width"))),
            "stroke_dash": gp.get("draw:stroke-dash") if stroke == "dash" else None,
            "fill": fill,
            "fill_color": (gp.get("draw:fill-color") or "").lower() or None,
            "opacity": gp.get("draw:opacity"),
        }

    def objects(self, parent):
        out = []
        for el in parent:
            if _ns_of(el.tag) != NS["draw"] or el.tag == _q("draw:page-thumbnail"):
                continue
            obj = self.drawing_object(el)
            if obj is not None:
                out.append(obj)
        return out

    def drawing_object(self, el):
        kind = _local(el.tag)
        family, style_name, gstyle = self.shape_style(el)
        obj = {"kind": kind, "name": el.get(_q("draw:name")), "style": style_name,
               "presentation_class": el.get(_q("presentation:class"))}
        obj.update(_geometry(el))
        obj["graphic"] = gstyle
        text_style = el.get(_q("draw:text-style-name"))

        if kind == "g":
            obj["kind"] = "group"
            obj["graphic"] = None
            obj["children"] = self.objects(el)
            boxes = [c for c in obj["children"] if c.get("w") is not None]
            if boxes and obj.get("x") is None:
                x0 = min(c["x"] for c in boxes)
                y0 = min(c["y"] for c in boxes)
                x1 = max(c["x"] + c["w"] for c in boxes)
                y1 = max(c["y"] + c["h"] for c in boxes)
                obj.update(x=_r(x0), y=_r(y0), w=_r(x1 - x0), h=_r(y1 - y0))
            return obj

        if kind == "frame":
            table = el.find(_q("table:table"))
            box = el.find(_q("draw:text-box"))
            image = el.find(_q("draw:image"))
            if table is not None:
                obj["kind"] = "table"
                obj["table"] = self.table(table)
            elif box is not None:
                obj["kind"] = "text-box"
                obj["paragraphs"] = self.paragraphs(box, style_name, text_style, family)
            elif el.find(_q("draw:object")) is not None or el.find(
                    _q("draw:object-ole")) is not None:
                obj["kind"] = "object"
            elif image is not None:
                obj["kind"] = "image"
                obj["image"] = self.image(image)
            return obj

        if kind == "line":
            x1, y1, x2, y2 = (to_pt(el.get(_q(a))) for a in ("svg:x1", "svg:y1", "svg:x2",
                                                             "svg:y2"))
            obj.update(x1=_r(x1), y1=_r(y1), x2=_r(x2), y2=_r(y2),
                       x=_r(min(x1, x2)), y=_r(min(y1, y2)), w=_r(abs(x2 - x1)),
                       h=_r(abs(y2 - y1)))
        elif kind in ("polyline", "polygon"):
            vb = _viewbox(el)
            pts = []
            for pair in (el.get(_q("draw:points")) or "").split():
                px, py = (float(v) for v in pair.split(","))
                pts.append(_map_point(obj, vb, px, py))
            obj["points"] = pts
            obj["closed"] = kind == "polygon"
        elif kind == "path":
            vb = _viewbox(el)
            obj["path"] = [[cmd] + [c for x, y in pts for c in _map_point(obj, vb, x, y)]
                           for cmd, pts in _svg_path(el.get(_q("svg:d")) or "")]
        elif kind == "custom-shape":
            geo = el.find(_q("draw:enhanced-geometry"))
            if geo is not None:
                obj["shape_type"] = geo.get(_q("draw:type"))
                obj["modifiers"] = geo.get(_q("draw:modifiers"))
                obj["flip_h"] = geo.get(_q("draw:mirror-horizontal")) == "true"
                obj["flip_v"] = geo.get(_q("draw:mirror-vertical")) == "true"
                obj["path"] = _enhanced_path(obj, _viewbox(geo),
                                             geo.get(_q("draw:enhanced-path")))
        if kind != "frame":
            obj["paragraphs"] = self.paragraphs(el, style_name, text_style, family)
        return obj

    def image(self, image):
        href = image.get(_q("xlink:href"))
        data = None
        binary = image.find(_q("office:binary-data"))
        if binary is not None and binary.text:
            data = base64.b64decode("".join(binary.text.split()))
        elif href and self.zf is not None and not re.match(r"^[a-z]+:", href):
            name = href[2:] if href.startswith("./") else href
            try:
                data = self.zf.read(name)
            except KeyError:
                data = None
        return {
            "href": href,
            "mime_type": image.get(_q("draw:mime-type")),
            "length": None if data is None else len(data),
            "sha256": None if data is None else hashlib.sha256(data).hexdigest(),
        }

    def table(self, table):
        widths = []
        for col in table.iter(_q("table:table-column")):
            n = int(col.get(_q("table:number-columns-repeated"), "1"))
            tp = self.styles.props("table-column", col.get(_q("table:style-name")),
                                   "table-column")
            widths += [_r(to_pt(tp.get("style:column-width")))] * n
        rows, heights = [], []
        for row in table.iter(_q("table:table-row")):
            tp = self.styles.props("table-row", row.get(_q("table:style-name")), "table-row")
            heights.append(_r(to_pt(tp.get("style:row-height"))))
            cells = []
            for cell in row:
                if cell.tag not in (_q("table:table-cell"), _q("table:covered-table-cell")):
                    continue
                covered = cell.tag == _q("table:covered-table-cell")
                repeat = int(cell.get(_q("table:number-columns-repeated"), "1"))
                paras = [] if covered else self.paragraphs(
                    cell, cell.get(_q("table:style-name")), None, "table-cell")
                # A cell without a style of its own has the row's default cell style.
                cell_style = cell.get(_q("table:style-name")) or row.get(
                    _q("table:default-cell-style-name"))
                gp = self.styles.props("table-cell", cell_style, "graphic")
                pp = self.styles.props("table-cell", cell_style, "paragraph")
                for _ in range(repeat):
                    cells.append({
                        "covered": covered,
                        "col_span": int(cell.get(_q("table:number-columns-spanned"), "1")),
                        "row_span": int(cell.get(_q("table:number-rows-spanned"), "1")),
                        "text": "\n".join(p["text"] for p in paras),
                        "paragraphs": paras,
                        "fill": (gp.get("draw:fill-color") if gp.get("draw:fill") == "solid"
                                 else None),
                        "borders": {edge: pp.get(f"fo:border-{edge}", pp.get("fo:border"))
                                    for edge in ("top", "bottom", "left", "right")},
                    })
            rows.append(cells)
        return {"rows": len(rows), "cols": max([len(widths)] + [len(r) for r in rows]),
                "col_widths": widths, "row_heights": heights, "cells": rows}

    # ---- document -------------------------------------------------------------------------

    def meta(self):
        m = {}
        root = self.meta_root
        if root is None:
            return m
        meta = root.find(".//" + _q("office:meta"))
        if meta is None:
            return m
        for key, tag in (("title", "dc:title"), ("subject", "dc:subject"),
                         ("description", "dc:description"), ("creator", "dc:creator"),
                         ("initial_creator", "meta:initial-creator"),
                         ("generator", "meta:generator")):
            el = meta.find(_q(tag))
            m[key] = None if el is None else (el.text or "")
        m["keywords"] = [k.text or "" for k in meta.findall(_q("meta:keyword"))]
        m["user_defined"] = {u.get(_q("meta:name")): u.text or ""
                             for u in meta.findall(_q("meta:user-defined"))}
        return m

    def page_size(self, master_name):
        mp = self.styles.master_pages.get(master_name)
        if mp is None:
            return None
        layout = self.styles.page_layouts.get(mp.get(_q("style:page-layout-name")))
        if layout is None:
            return None
        plp = layout.find(_q("style:page-layout-properties"))
        if plp is None:
            return None
        return {"w": _r(to_pt(plp.get(_q("fo:page-width")))),
                "h": _r(to_pt(plp.get(_q("fo:page-height"))))}

    def document(self):
        pages = []
        size = None
        for page in self.content.iter(_q("draw:page")):
            master = page.get(_q("draw:master-page-name"))
            if size is None:
                size = self.page_size(master)
            notes = []
            for n in page.findall(_q("presentation:notes")):
                for frame in n.iter(_q("draw:frame")):
                    box = frame.find(_q("draw:text-box"))
                    if box is not None:
                        notes.append("\n".join(p["text"] for p in self.paragraphs(box)))
            pages.append({"name": page.get(_q("draw:name")), "master": master,
                          "objects": self.objects(page), "notes": notes})
        return {"page_size": size, "meta": self.meta(), "pages": pages}


def _geometry(el):
    """x, y, w, h in points and rotation (clockwise degrees, as POI reports it) of an object.

    With draw:transform="rotate(a) translate(x y)" the object is laid out at the origin,
    turned by a radians about its top-left corner and moved; LibreOffice turns anticlockwise
    for positive a. The returned x/y are those of the unturned box with the same centre, which
    is how a .ppt anchor is stored."""
    g = {}
    w, h = to_pt(el.get(_q("svg:width"))), to_pt(el.get(_q("svg:height")))
    x, y = to_pt(el.get(_q("svg:x"))), to_pt(el.get(_q("svg:y")))
    rotation = 0.0
    transform = el.get(_q("draw:transform"))
    if transform:
        angle, tx, ty = 0.0, 0.0, 0.0
        for op, args in re.findall(r"(\w+)\s*\(([^)]*)\)", transform):
            vals = args.replace(",", " ").split()
            if op == "rotate":
                angle += float(vals[0])
            elif op == "translate":
                tx, ty = to_pt(vals[0]), to_pt(vals[1]) if len(vals) > 1 else 0.0
        if w is not None and h is not None:
            c, s = math.cos(angle), math.sin(angle)
            cx = tx + (x or 0.0) + (w / 2) * c + (h / 2) * s
            cy = ty + (y or 0.0) - (w / 2) * s + (h / 2) * c
            x, y = cx - w / 2, cy - h / 2
        rotation = (-math.degrees(angle)) % 360.0
        if abs(rotation - 360.0) < 1e-6:
            rotation = 0.0
    g.update(x=_r(x), y=_r(y), w=_r(w), h=_r(h), rotation=_r(rotation))
    return g


def _viewbox(el):
    vb = el.get(_q("svg:viewBox"))
    if not vb:
        return None
    vals = [float(v) for v in vb.replace(",", " ").split()]
    return vals if len(vals) == 4 and vals[2] and vals[3] else None


def _map_point(obj, vb, px, py):
    """A point in viewBox units to absolute page points inside the object's box."""
    if vb is None or obj.get("w") is None:
        return [_r(px), _r(py)]
    return [_r(obj["x"] + (px - vb[0]) * obj["w"] / vb[2]),
            _r(obj["y"] + (py - vb[1]) * obj["h"] / vb[3])]


_ENHANCED_ARITY = {"M": 2, "L": 2, "C": 6, "Q": 4}


def _enhanced_path(obj, vb, path):
    """draw:enhanced-path of a custom shape as [[cmd, x, y, ...], ...] in page points, for the
    commands with plain coordinates (M, L, C, Q; Z closes, N/F/S are kept bare). Returns None
    when the path uses formulas (?fN, $N) or arc commands, e.g. for preset shapes."""
    if not path:
        return None
    tokens = re.findall(r"[A-Za-z]|[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?|\?\w+|\$\d+", path)
    out, cmd, nums = [], None, []

    def flush():
        if cmd is None:
            return True
        if cmd in _ENHANCED_ARITY:
            n = _ENHANCED_ARITY[cmd]
            if not nums or len(nums) % n:
                return False
            for i in range(0, len(nums), n):
                seg = [cmd]
                for j in range(i, i + n, 2):
                    seg += _map_point(obj, vb, nums[j], nums[j + 1])
                out.append(seg)
        elif cmd in "ZNFS":
            out.append([cmd])
        else:
            return False
        return True

    for tok in tokens:
        if tok[0] in "?$":
            return None
        if tok.isalpha():
            if not flush():
                return None
            cmd, nums = tok, []
        else:
            nums.append(float(tok))
    return out if flush() else None


def _svg_path(d):
    """SVG path data as [(cmd, [(x, y), ...]), ...] with absolute coordinates and only the
    commands M, L, C, Q and Z (H/V become L, S/T become C/Q, arcs become L to their end)."""
    tokens = re.findall(r"[A-Za-z]|[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?", d)
    out = []
    i, cmd = 0, None
    cur = start = (0.0, 0.0)
    last_ctrl = None
    arity = {"M": 2, "L": 2, "H": 1, "V": 1, "C": 6, "S": 4, "Q": 4, "T": 2, "A": 7, "Z": 0}
    while i < len(tokens):
        if tokens[i].isalpha():
            cmd = tokens[i]
            i += 1
            if cmd in "Zz":
                out.append(("Z", []))
                cur, last_ctrl = start, None
                continue
        if cmd is None:
            raise ValueError(f"path data does not start with a command: {d!r}")
        n = arity[cmd.upper()]
        vals = [float(v) for v in tokens[i:i + n]]
        i += n
        rel = cmd.islower()
        up = cmd.upper()

        def absp(px, py):
            return (cur[0] + px, cur[1] + py) if rel else (px, py)

        if up == "M":
            cur = start = absp(*vals)
            out.append(("M", [cur]))
            cmd = "l" if rel else "L"  # following pairs are implicit line-tos
            last_ctrl = None
        elif up == "L":
            cur = absp(*vals)
            out.append(("L", [cur]))
            last_ctrl = None
        elif up == "H":
            cur = (cur[0] + vals[0] if rel else vals[0], cur[1])
            out.append(("L", [cur]))
            last_ctrl = None
        elif up == "V":
            cur = (cur[0], cur[1] + vals[0] if rel else vals[0])
            out.append(("L", [cur]))
            last_ctrl = None
        elif up == "C":
            p1, p2, p3 = absp(*vals[0:2]), absp(*vals[2:4]), absp(*vals[4:6])
            out.append(("C", [p1, p2, p3]))
            cur, last_ctrl = p3, p2
        elif up == "S":
            p1 = (2 * cur[0] - last_ctrl[0], 2 * cur[1] - last_ctrl[1]) if last_ctrl else cur
            p2, p3 = absp(*vals[0:2]), absp(*vals[2:4])
            out.append(("C", [p1, p2, p3]))
            cur, last_ctrl = p3, p2
        elif up == "Q":
            p1, p2 = absp(*vals[0:2]), absp(*vals[2:4])
            out.append(("Q", [p1, p2]))
            cur, last_ctrl = p2, p1
        elif up == "T":
            p1 = (2 * cur[0] - last_ctrl[0], 2 * cur[1] - last_ctrl[1]) if last_ctrl else cur
            p2 = absp(*vals)
            out.append(("Q", [p1, p2]))
            cur, last_ctrl = p2, p1
        elif up == "A":
            cur = absp(*vals[5:7])
            out.append(("L", [cur]))
            last_ctrl = None
    return out


def odp_parse(path):
    """Read an .odp (zip) or flat .fodp into a dict:

    {"page_size": {"w", "h"}, "meta": {title, subject, description, creator, initial_creator,
     generator, keywords: [...], user_defined: {...}},
     "pages": [{"name", "master", "notes": [text, ...], "objects": [obj, ...]}]}

    Each obj has "kind" (the draw element's local name: "line", "rect", "ellipse", "polyline",
    "polygon", "path", "custom-shape", "connector", "group"; a draw:frame becomes "text-box",
    "image", "table", "object" or "frame"), "name", "style", "presentation_class", geometry in
    points (x, y, w, h, rotation in clockwise degrees; lines also x1 y1 x2 y2), "graphic"
    (stroke, stroke_color, stroke_width, stroke_dash, fill, fill_color, opacity after style
    inheritance), and where they apply: "points"/"closed" (polyline, polygon), "path"
    ([[cmd, x, y, ...], ...] absolute points: draw:path, numeric custom-shape paths),
    "shape_type"/"modifiers"/"flip_h"/"flip_v" (custom-shape), "image" (href, mime_type,
    length, sha256), "table" (rows, cols, col_widths, row_heights, cells[r][c] with covered,
    col_span, row_span, text, paragraphs, fill (colour of a solid fill, else None) and borders
    {top, bottom, left, right}: the cell style's fo:border-* values, e.g. "none" or
    "0.17pt solid #000000"), "children" (group), and "paragraphs":
    [{"text", "style", "align", "margin_left", "text_indent",
      "list": None | {"level", "header", "shows_label", "style",
                      "kind": "bullet"|"number"|"image"|None,
                      "bullet_char" | "num_format", "num_prefix", "num_suffix", "start_value",
                      "space_before", "min_label_width"},
      "spans": [{"text", "style", "bold", "italic", "underline", "strike", "color", "size",
                 "font", "position": "super"|"sub"|None, "position_raw"}]}]
    Span properties are resolved through default style, graphic style, the object's text style,
    the paragraph style and the span style, in that order."""
    path = os.fspath(path)
    if zipfile.is_zipfile(path):
        with zipfile.ZipFile(path) as zf:
            content = ET.fromstring(zf.read("content.xml"))
            names = set(zf.namelist())
            styles = ET.fromstring(zf.read("styles.xml")) if "styles.xml" in names else None
            meta = ET.fromstring(zf.read("meta.xml")) if "meta.xml" in names else None
            return _OdfReader(content, styles, meta, zf).document()
    root = ET.parse(path).getroot()
    if root.tag != _q("office:document"):
        raise ValueError(f"{path} is neither a zip package nor a flat ODF document")
    return _OdfReader(root, None, root, None).document()


def odp_objects(page, kind=None):
    """The objects of one odp_parse page, groups flattened (children after their group),
    optionally only those of one kind."""
    out = []

    def walk(objs):
        for o in objs:
            out.append(o)
            walk(o.get("children", []))

    walk(page["objects"])
    return [o for o in out if kind is None or o["kind"] == kind]
