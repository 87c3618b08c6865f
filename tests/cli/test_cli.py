"""quorv-ppt on the command line, one row per behaviour: usage, standard input and output, and
every kind of bad deck with its exact message (file, JSON path and problem) and exit status.

A row is (arguments, deck, exit status, standard error[, standard output[, working folder]]), or
(deck, message) for "build {deck} -o {out}" refusing the deck with exit status 2 and the message
after the deck's name. The deck is written to {deck}, beside images/pic.png, pic.png, text.png and
empty.png, and is also the standard input; {out} holds an earlier file; the tool runs in
{tmp}/elsewhere. "*" in an expected text stands for any text, "PPT" for a file the structural
verifier accepts. A refused deck leaves every file as it was; a written file passes the verifier
and leaves no other file behind."""

import os
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOL, VERIFY = os.environ.get("QUORV_PPT_TOOL"), os.environ.get("QUORV_VERIFY_TOOL")
S = '{"slides": [{"shapes": [%s]}]}'
R = S % '{"type": "rectangle", "x": 10, "y": 20, "width": 100, "height": 50%s}'
T = S % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, %s}'
P = S % '{"type": "picture", "x": 10, "y": 10, "width": 64, "height": 48, "file": "%s"%s}'
TB = S % '{"type": "table", "x": 10, "y": 10, "width": 300, "height": 100, %s}'
U, A, PIPE = "\nusage: quorv-ppt build*", ": slides[0].shapes[0]", "build - -o -"
HELP, JSON = "usage: quorv-ppt build DECK.json [-o OUT.ppt]*", ":%s: malformed JSON: syntax error while parsing "
LONG = '"%s"' % ("x" * 40000)
ROWS = [
    ("--help", None, 0, "", HELP + "docs/deck-format.md*"), ("-h", None, 0, "", HELP), ("help", None, 0, "", HELP),
    ("--version", None, 0, "", "quorv-ppt 0.1.0\n"),
    ("", None, 2, "quorv-ppt: no command given" + U),
    ("frob", None, 2, "quorv-ppt: unknown command 'frob'" + U),
    ("build", None, 2, "quorv-ppt: build needs a deck (a JSON file, or - for standard input)" + U),
    ("build a.json b.json", None, 2, "quorv-ppt: unexpected argument 'b.json'" + U),
    ("build a.json -x", None, 2, "quorv-ppt: unknown option '-x'" + U),
    ("build a.json -o", None, 2, "quorv-ppt: -o needs a file name" + U),
    ("build -", None, 2, "quorv-ppt: reading the deck from standard input needs -o" + U),
    ("demo extra", None, 2, "quorv-ppt: unexpected argument 'extra'" + U),
    ("build {tmp}/none.json -o {out}", None, 2, "quorv-ppt: cannot read {tmp}/none.json: No such file or directory\n"),
    ("build {deck} -o {tmp}/no/dir.ppt", S % "", 1, "quorv-ppt: cannot write {tmp}/no/dir.ppt: error 5: *"),
    ("build {deck}", R % "", 0, "", "wrote {tmp}/deck.ppt\n"), (PIPE, R % ', "fillColor": "#ff0000"', 0, "", "PPT"),
    ("demo -o {out}", None, 0, "", "wrote {out}\n"), ("demo -o -", None, 0, "", "PPT"),
    (PIPE, S % '{"type": "circle"}', 2, '<stdin>: slides[0].shapes[0].type: unknown shape type "circle" '
                                        "(one of text, line, rectangle, polyline, picture, table)\n"),
    ('{"slides": [\n  {"shapes": [}]}', JSON % "2:15" + "value - unexpected '}'; expected '[', '{', or a literal"),
    ('{"slides": [],\n "width": 720,\n}', JSON % "3:1" + "object key - unexpected '}'; expected string literal"),
    ('', JSON % "1:1" + "value - unexpected end of input; expected '[', '{', or a literal"),
    (S % '{"type": "text\x01"}', JSON % "1:39" + "value - invalid string: control character U+0001 (SOH) must be "
                                                 "escaped to \\u0001; last read: '\"text<U+0001>'"),
    ('{"slides": [], "titel": 1}', ': unknown key "titel"'),
    (R % ', "fillColour": "#ff0000"', A + ': unknown key "fillColour" (did you mean "fillColor"?)'),
    (S % '{"type": "line", "x1": 0, "y1": 0, "x2": 1, "y2": 1, "fillColor": "#f00"}', A + ': unknown key "fillColor"'),
    (T % '"paragraphs": [{"runs": [{"text": "a", "colr": 1}]}]', A + '.paragraphs[0].runs[0]: unknown key "colr" '
                                                                   '(did you mean "color"?)'),
    ('{"properties": {"autor": "a"}, "slides": [{}]}', ': properties: unknown key "autor" (did you mean "author"?)'),
    ('[]', ": expected an object, found an array"),
    ('{"slides": {}}', ": slides: expected an array, found an object"),
    (S % '{"type": "polyline", "points": "0 0 10 10"}', A + ".points: expected an array, found a string"),
    (S % '{"type": "polyline", "points": [[0, 0], [1, "a"]]}', A + ".points[1][1]: expected a number, found a string"),
    (S % '{"type": "polyline", "points": [[0, 0], [1, 1, 1]]}', A + ".points[1]: a point has 2 numbers [x, y], "
                                                                    "found 3"),
    (R % ', "z": 1.5', A + ".z: expected a whole number, found a number"),
    (R % ', "fillColor": true', A + '.fillColor: expected a colour ("#rrggbb"), found true'),
    (R % ', "fillColor": "red"', A + '.fillColor: "red" is not a colour ("#rrggbb" or "0x" and up to 8 hex digits)'),
    (T % '"text": null', A + ".text: expected a string, found null"),
    (T % '"paragraphs": [{"bullet": "yes"}]', A + ".paragraphs[0].bullet: expected an object, found a string"),
    ('{}', ': missing key "slides"'),
    ('{"slides": []}', ": slides: a deck needs at least one slide"),
    (S % '{"x": 1}', A + ': missing key "type"'),
    (S % '{"type": "rectangle", "x": 10, "y": 20, "width": 100}', A + ': missing key "height"'),
    (S % '{"type": "polyline", "points": [[1, 2]]}', A + ".points: a polyline needs at least 2 points"),
    (T % '"paragraphs": [{"runs": ["a\\nb"]}]', A + ".paragraphs[0].runs[0]: holds a line break; start a new "
                                                   "paragraph"),
    (R % ', "opacity": 101', A + ".opacity: 101 is out of range (0 to 100)"),
    (R % ', "lineWidth": -1', A + ".lineWidth: must not be negative"),
    (R.replace('"x": 10', '"x": 1e39') % "", A + ".x: 1e+39 is too large"),
    ('{"width": -720, "slides": [{}]}', ": width: must not be negative"),
    (T % '"anchor": "centre"', A + '.anchor: unknown anchor "centre" (one of top, middle, bottom, topCentered, '
                                   'middleCentered, bottomCentered)'),
    (T % '"font": {"size": 0}', A + ".font.size: 0 is out of range (1 to 409)"),
    (R % ', "lineStyle": 11', A + ".lineStyle: 11 rejected by quorv: error 3 (set_LineStyle)"),
    (R.replace('"width": 100', '"width": -100') % "", A + ".width: -100 rejected by quorv: error 4 (set_Width)"),
    (R.replace('"height": 50', '"height": -5') % "", A + ".height: -5 rejected by quorv: error 6 (set_Height)"),
    (T % '"paragraphs": [{"numbering": 8}]', A + ".paragraphs[0].numbering: 8 rejected by quorv: error 8 "
                                                 "(set_NumBullet)"),
    (T % '"paragraphs": [{"bullet": {"char": -1}}]', A + ".paragraphs[0].bullet.char: -1 rejected by quorv: error 8 "
                                                         "(set_SymbolBullet)"),
    (T % '"paragraphs": [{"align": 7}]', A + ".paragraphs[0].align: 7 rejected by quorv: error 9 (set_ParamAnlign)"),
    (T % ('"paragraphs": [{"runs": [%s, %s]}]' % (LONG, LONG)), A + ".paragraphs[0].runs[1]: rejected by quorv: "
                                                                    "error 11: text frame would exceed 65535 UTF-16 "
                                                                    "code units"),
    # Pictures are found beside the deck, or in the working folder for a deck from standard input.
    ("build {deck} -o {out}", P % ("images/pic.png", ""), 0, "", "wrote {out}\n"),
    (PIPE, P % ("images/pic.png", ""), 0, "", "PPT", "."),
    (PIPE, P % ("images/pic.png", ""), 2, '<stdin>: slides[0].shapes[0].file: cannot read picture "images/pic.png": '
                                          'No such file or directory\n'),
    (P % ("missing.png", ""), A + '.file: cannot read picture "missing.png": No such file or directory'),
    (P % ("text.png", ""), A + '.file: "text.png" is not a PNG, JPEG, WMF, EMF, BMP, GIF or TIFF image'),
    (P % ("empty.png", ""), A + '.file: picture "empty.png" is empty'),
    (P % ("pic.png", ', "format": "jpeg"'), A + '.format: "pic.png" is not a jpeg image'),
    (P % ("pic.png", ', "format": "jpg"'), A + '.format: unknown picture format "jpg" (one of png, jpeg, wmf, emf, '
                                               'any)'),
    (P % ("pic.png", ', "rotation": 360'), A + ".rotation: 360 is out of range (-359 to 359)"),
    (TB % '"rows": []', A + ".rows: a table needs at least one row"),
    (TB % '"rows": [{"cells": []}]', A + ".rows[0].cells: a row needs at least one cell"),
    (TB % '"columns": [100, 200], "rows": [{"cells": ["a", {"text": "b", "span": 2}]}]',
     A + ".rows[0].cells[1]: the row has more columns than the table (2)"),
    (TB % '"rows": [{"cells": [{"offset": -5}]}]', A + ".rows[0].cells[0].offset: -5 rejected by quorv: error 10 "
                                                       "(cell offset false)"),
    (TB % '"rows": [{"cells": ["a", {"offset": 300}]}]', A + ".rows[0].cells[1].offset: the cell starts at or beyond "
                                                             "the table's right edge"),
    (TB % '"rows": [{"cells": [{"noBorder": ["inside"]}]}]', A + '.rows[0].cells[0].noBorder[0]: unknown border '
                                                                 '"inside" (one of left, top, right, bottom)'),
    (TB % '"rows": [{"cells": ["a"], "fill": "#ff0000"}]', A + '.rows[0]: unknown key "fill"'),
    # What only the save finds has no JSON path.
    (TB.replace('"x": 10', '"x": 5000') % '"rows": [{"cells": ["a"]}]', ": rejected by quorv while saving: error 18: "
     "table cannot be laid out: the table reaches beyond 4096 points from the slide's corner (left 5000.125 pt, "
     "top 10.125 pt, right 5300 pt, bottom 110.25 pt)"),
]


def like(text, pattern):
    return re.fullmatch(".*".join(map(re.escape, pattern.split("*"))), text, re.S) is not None


def check(row, tmp):
    """What is wrong with one row's run."""
    if len(row) == 2:  # a refused deck
        row = ("build {deck} -o {out}", row[0], 2, "{deck}" + row[1] + "\n")
    args, deck, status, err, out, cwd = row + ("", "elsewhere")[len(row) - 4:]
    png = (ROOT / "examples/decks/images/sample.png").read_bytes()
    for name, data in {"deck.json": (deck or "").encode(), "images/pic.png": png, "pic.png": png, "empty.png": b"",
                       "text.png": b"hello, world", "out.ppt": b"an earlier file", "elsewhere/.keep": b""}.items():
        (tmp / name).parent.mkdir(exist_ok=True)
        (tmp / name).write_bytes(data)
    before = {p: p.read_bytes() for p in tmp.rglob("*") if p.is_file()}
    for key, value in {"{deck}": tmp / "deck.json", "{out}": tmp / "out.ppt", "{tmp}": tmp}.items():
        args, err, out = (s.replace(key, str(value)) for s in (args, err, out))
    run = subprocess.run([TOOL, *args.split()], input=(deck or "").encode(), capture_output=True, cwd=tmp / cwd)
    problems = [f"exit status {run.returncode}"] * (run.returncode != status)
    problems += [f"standard error {run.stderr.decode()!r}"] * (not like(run.stderr.decode(), err))
    changed = [p for p in set(before) | set(tmp.rglob("*"))
               if not p.is_dir() and before.get(p) != (p.exists() and p.read_bytes())]
    if status and changed or any(p.suffix != ".ppt" for p in changed):  # nothing when refused, no temporary file
        problems.append(f"files changed: {sorted(map(str, changed))}")
    if out == "PPT":
        (tmp / "stdout.ppt").write_bytes(run.stdout)
        changed.append(tmp / "stdout.ppt")
    elif not like(run.stdout.decode(errors="replace"), out):
        problems.append(f"standard output {run.stdout[:200]!r}")
    verified = subprocess.run([VERIFY, *changed], capture_output=True, text=True) if changed and VERIFY else None
    return problems + ([verified.stdout] if verified and verified.returncode else [])


def main():
    if not TOOL or not os.path.exists(TOOL):
        print("skipped: QUORV_PPT_TOOL does not name quorv-ppt")
        return 77
    failed = 0
    for row in ROWS:
        with tempfile.TemporaryDirectory(prefix="quorv-cli-") as tmp:
            problems = check(row, pathlib.Path(tmp))
        failed += bool(problems)
        for p in problems:
            print(f"quorv-ppt {row[0]} with {str(row[1])[:60]!r}: {p}")
    print(f"cli: {len(ROWS) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
