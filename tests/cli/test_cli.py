# quorv-ppt on the command line: usage, standard input and output, and one bad deck per kind of message with its
# exact text and exit status (the library's refusals and their codes are rows of tests/cases/error_rows.cpp).
#
# A row is (arguments, deck, exit status, standard error[, standard output[, working folder]]), or (deck, message) for
# "build {deck} -o {out}" refusing the deck with exit status 2 and the message after the deck's name ("@": the first
# shape's path). The deck is written to {deck} beside images/pic.png and text.png, and is the standard input; {out}
# holds an earlier file; the tool runs in {tmp}/elsewhere. "*" stands for any text, "PPT" for a file the verifier
# accepts. A refused deck changes no file; a written file passes the verifier and leaves no other file behind.

import os, pathlib, re, subprocess, sys, tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOL, VERIFY = os.environ.get("QUORV_PPT_TOOL"), os.environ.get("QUORV_VERIFY_TOOL")
S = '{"slides": [{"shapes": [%s]}]}'
R = S % '{"type": "rectangle", "x": 10, "y": 20, "width": 100, "height": 50%s}'
P = S % '{"type": "picture", "x": 10, "y": 10, "width": 64, "height": 48, "file": "%s"}'
PIPE = "build - -o -"
USAGE = {"": "no command given", "frob": "unknown command 'frob'", "build a.json -x": "unknown option '-x'",
         "build a.json -o": "-o needs a file name", "build -": "reading the deck from standard input needs -o"}
ROWS = [(args, None, 2, f"quorv-ppt: {message}\nusage: quorv-ppt build*") for args, message in USAGE.items()] + [
    ("--help", None, 0, "", "usage: quorv-ppt build DECK.json [-o OUT.ppt]*docs/deck-format.md*"),
    ("--version", None, 0, "", "quorv-ppt 0.1.0\n"),
    ("build {tmp}/none.json -o {out}", None, 2, "quorv-ppt: cannot read {tmp}/none.json: No such file or directory\n"),
    ("build {deck} -o {tmp}/no/dir.ppt", S % "", 1, "quorv-ppt: cannot write {tmp}/no/dir.ppt: error 5: *"),
    ("build {deck}", R % "", 0, "", "wrote {tmp}/deck.ppt\n"), (PIPE, R % "", 0, "", "PPT"),
    ("demo -o -", None, 0, "", "PPT"),
    (PIPE, S % '{"type": "circle"}', 2, '<stdin>: slides[0].shapes[0].type: unknown shape type "circle" '
                                        "(one of text, line, rectangle, polyline, picture, table)\n"),
    ('{"slides": [\n  {"shapes": [}]}', ":2:15: malformed JSON: syntax error while parsing value - unexpected '}'; "
                                        "expected '[', '{', or a literal"),
    (R % ', "fillColour": "#ff0000"', '@: unknown key "fillColour" (did you mean "fillColor"?)'),
    ('{"slides": {}}', ": slides: expected an array, found an object"), (S % '{"x": 1}', '@: missing key "type"'),
    (R % ', "fillColor": "red"', '@.fillColor: "red" is not a colour ("#rrggbb" or "0x" and up to 8 hex digits)'),
    (R % ', "opacity": 101', "@.opacity: 101 is out of range (0 to 100)"),
    (R % ', "lineStyle": 11', "@.lineStyle: 11 rejected by quorv: error 3 (set_LineStyle)"),
    # What only the save finds has no JSON path.
    (S % '{"type": "table", "x": 5000, "y": 10, "width": 300, "height": 100, "rows": [{"cells": ["a"]}]}',
     ": rejected by quorv while saving: error 18: table cannot be laid out: the table reaches beyond 4096 points "
     "from the slide's corner (left 5000.125 pt, top 10.125 pt, right 5300 pt, bottom 110.25 pt)"),
    # Pictures are found beside the deck, or in the working folder for a deck from standard input.
    ("build {deck} -o {out}", P % "images/pic.png", 0, "", "wrote {out}\n"),
    (PIPE, P % "images/pic.png", 0, "", "PPT", "."),
    (PIPE, P % "images/pic.png", 2, '<stdin>: slides[0].shapes[0].file: cannot read picture "images/pic.png": '
                                    'No such file or directory\n'),
    (P % "text.png", '@.file: "text.png" is not a PNG, JPEG, WMF, EMF, BMP, GIF or TIFF image'),
]


def like(text, pattern):
    return re.fullmatch(".*".join(map(re.escape, pattern.split("*"))), text, re.S) is not None


def check(row, tmp):
    # What is wrong with one row's run.
    if len(row) == 2:  # a refused deck
        row = ("build {deck} -o {out}", row[0], 2, "{deck}" + row[1].replace("@", ": slides[0].shapes[0]") + "\n")
    args, deck, status, err, out, cwd = row + ("", "elsewhere")[len(row) - 4:]
    png = (ROOT / "examples/decks/images/sample.png").read_bytes()
    for name, data in {"deck.json": (deck or "").encode(), "images/pic.png": png, "text.png": b"hello, world",
                       "out.ppt": b"an earlier file", "elsewhere/.keep": b""}.items():
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
