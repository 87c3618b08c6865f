"""quorv-ppt on the command line: usage, standard input and output, and every kind of bad deck with its exact message
and exit status (the library's own refusals, with their codes, are rows of tests/cases/error_rows.cpp).

A row is (arguments, deck, exit status, standard error[, standard output[, working folder]]), or (deck, message) for
"build {deck} -o {out}" refusing the deck with exit status 2 and the message after the deck's name ("@": the first
shape's path). The deck is written to {deck} beside images/pic.png, pic.png, text.png and empty.png, and is the standard
input; {out} holds an earlier file; the tool runs in {tmp}/elsewhere. "*" stands for any text, "PPT" for a file the
verifier accepts. A refused deck changes no file; a written file passes the verifier and leaves no other file behind."""

import os, pathlib, re, subprocess, sys, tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOL, VERIFY = os.environ.get("QUORV_PPT_TOOL"), os.environ.get("QUORV_VERIFY_TOOL")
S = '{"slides": [{"shapes": [%s]}]}'
R = S % '{"type": "rectangle", "x": 10, "y": 20, "width": 100, "height": 50%s}'
T = S % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, %s}'
P = S % '{"type": "picture", "x": 10, "y": 10, "width": 64, "height": 48, "file": "%s"%s}'
TB = S % '{"type": "table", "x": 10, "y": 10, "width": 300, "height": 100, %s}'
PIPE, HELP = "build - -o -", "usage: quorv-ppt build DECK.json [-o OUT.ppt]*"
LONG = '"%s"' % ("x" * 40000)
USAGE = {"": "no command given", "frob": "unknown command 'frob'", "demo extra": "unexpected argument 'extra'",
         "build": "build needs a deck (a JSON file, or - for standard input)", "build a.json -x": "unknown option '-x'",
         "build a.json b.json": "unexpected argument 'b.json'", "build a.json -o": "-o needs a file name",
         "build -": "reading the deck from standard input needs -o"}
ROWS = [(args, None, 2, f"quorv-ppt: {message}\nusage: quorv-ppt build*") for args, message in USAGE.items()] + [
    ("--help", None, 0, "", HELP + "docs/deck-format.md*"), ("-h", None, 0, "", HELP), ("help", None, 0, "", HELP),
    ("--version", None, 0, "", "quorv-ppt 0.1.0\n"),
    ("build {tmp}/none.json -o {out}", None, 2, "quorv-ppt: cannot read {tmp}/none.json: No such file or directory\n"),
    ("build {deck} -o {tmp}/no/dir.ppt", S % "", 1, "quorv-ppt: cannot write {tmp}/no/dir.ppt: error 5: *"),
    ("build {deck}", R % "", 0, "", "wrote {tmp}/deck.ppt\n"), (PIPE, R % ', "fillColor": "#ff0000"', 0, "", "PPT"),
    ("demo -o {out}", None, 0, "", "wrote {out}\n"), ("demo -o -", None, 0, "", "PPT"),
    (PIPE, S % '{"type": "circle"}', 2, '<stdin>: slides[0].shapes[0].type: unknown shape type "circle" '
                                        "(one of text, line, rectangle, polyline, picture, table)\n"),
    ('{"slides": [\n  {"shapes": [}]}', ":2:15: malformed JSON: syntax error while parsing value - unexpected '}'; "
                                        "expected '[', '{', or a literal"),
    ('{"slides": [], "titel": 1}', ': unknown key "titel"'), ('[]', ": expected an object, found an array"),
    (R % ', "fillColour": "#ff0000"', '@: unknown key "fillColour" (did you mean "fillColor"?)'),
    ('{"slides": {}}', ": slides: expected an array, found an object"), (S % '{"x": 1}', '@: missing key "type"'),
    (S % '{"type": "polyline", "points": [[0, 0], [1, "a"]]}', "@.points[1][1]: expected a number, found a string"),
    (S % '{"type": "polyline", "points": [[0, 0], [1, 1, 1]]}', "@.points[1]: a point has 2 numbers [x, y], found 3"),
    (S % '{"type": "polyline", "points": [[1, 2]]}', "@.points: a polyline needs at least 2 points"),
    (T % '"text": null', "@.text: expected a string, found null"),
    (R % ', "lineWidth": -1', "@.lineWidth: must not be negative"),
    (R % ', "z": 1.5', "@.z: expected a whole number, found a number"),
    (R % ', "fillColor": true', '@.fillColor: expected a colour ("#rrggbb"), found true'),
    (R % ', "fillColor": "red"', '@.fillColor: "red" is not a colour ("#rrggbb" or "0x" and up to 8 hex digits)'),
    ('{"slides": []}', ": slides: a deck needs at least one slide"),
    (R % ', "opacity": 101', "@.opacity: 101 is out of range (0 to 100)"),
    (T % '"paragraphs": [{"runs": ["a\\nb"]}]', "@.paragraphs[0].runs[0]: holds a line break; start a new paragraph"),
    (R.replace('"x": 10', '"x": 1e39') % "", "@.x: 1e+39 is too large"),
    (R % ', "lineStyle": 11', "@.lineStyle: 11 rejected by quorv: error 3 (set_LineStyle)"),
    (T % ('"paragraphs": [{"runs": [%s, %s]}]' % (LONG, LONG)), "@.paragraphs[0].runs[1]: rejected by quorv: error 11: "
                                                                "text frame would exceed 65535 UTF-16 code units"),
    # Pictures are found beside the deck, or in the working folder for a deck from standard input.
    ("build {deck} -o {out}", P % ("images/pic.png", ""), 0, "", "wrote {out}\n"),
    (PIPE, P % ("images/pic.png", ""), 0, "", "PPT", "."),
    (PIPE, P % ("images/pic.png", ""), 2, '<stdin>: slides[0].shapes[0].file: cannot read picture "images/pic.png": '
                                          'No such file or directory\n'),
    (P % ("text.png", ""), '@.file: "text.png" is not a PNG, JPEG, WMF, EMF, BMP, GIF or TIFF image'),
    (P % ("empty.png", ""), '@.file: picture "empty.png" is empty'),
    (P % ("pic.png", ', "format": "jpeg"'), '@.format: "pic.png" is not a jpeg image'),
    (TB % '"rows": []', "@.rows: a table needs at least one row"),
    (TB % '"rows": [{"cells": []}]', "@.rows[0].cells: a row needs at least one cell"),
    (TB % '"columns": [100, 200], "rows": [{"cells": ["a", {"text": "b", "span": 2}]}]',
     "@.rows[0].cells[1]: the row has more columns than the table (2)"),
    (TB % '"rows": [{"cells": ["a", {"offset": 300}]}]', "@.rows[0].cells[1].offset: the cell starts at or beyond the "
                                                         "table's right edge"),
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
        row = ("build {deck} -o {out}", row[0], 2, "{deck}" + row[1].replace("@", ": slides[0].shapes[0]") + "\n")
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
    failed = []
    for row in ROWS:
        with tempfile.TemporaryDirectory(prefix="quorv-cli-") as tmp:
            failed += [f"quorv-ppt {row[0]} with {str(row[1])[:60]!r}: {p}" for p in check(row, pathlib.Path(tmp))]
    print("\n".join(failed + [f"cli: {len(ROWS)} rows, {len(failed)} problems"]))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
