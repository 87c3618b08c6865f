"""quorv-ppt on the command line: usage, standard input and output, and every kind of bad input
with its exact message, exit status 2 and no output file (an existing one left as it was).

Runs the tool named by QUORV_PPT_TOOL and the structural verifier named by QUORV_VERIFY_TOOL."""

import os
import pathlib
import subprocess
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOL = os.environ.get("QUORV_PPT_TOOL")
VERIFY = os.environ.get("QUORV_VERIFY_TOOL")

SLIDE = '{"slides": [{"shapes": [%s]}]}'
RECT = '{"type": "rectangle", "x": 10, "y": 20, "width": 100, "height": 50%s}'


def run(*args, stdin=None, cwd=None):
    return subprocess.run([TOOL, *args], input=stdin, capture_output=True, cwd=cwd, timeout=120)


@unittest.skipUnless(TOOL and os.path.exists(TOOL), "QUORV_PPT_TOOL does not name quorv-ppt")
class CliTest(unittest.TestCase):
    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory(prefix="quorv-cli-")
        self.tmp = pathlib.Path(self._tmp.name)

    def tearDown(self):
        self._tmp.cleanup()

    def verify(self, path):
        if VERIFY:
            result = subprocess.run([VERIFY, str(path)], capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stdout)

    def deck(self, text, name="deck.json"):
        path = self.tmp / name
        path.write_text(text, encoding="utf-8")
        return path

    def assertRejected(self, text, message):
        """The deck in text is refused with exactly message; no output file is left."""
        deck = self.deck(text)
        out = self.tmp / "out.ppt"
        before = sorted(self.tmp.iterdir())
        result = run("build", str(deck), "-o", str(out))
        self.assertEqual(result.stderr.decode(), f"{deck}: {message}\n")
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout, b"")
        self.assertFalse(out.exists())
        self.assertEqual(sorted(self.tmp.iterdir()), before)  # no temporary file left

    # ---- usage -------------------------------------------------------------------------------

    def test_help_and_version(self):
        for flag in ("--help", "-h", "help"):
            result = run(flag)
            self.assertEqual(result.returncode, 0)
            self.assertTrue(result.stdout.startswith(b"usage: quorv-ppt build DECK.json [-o OUT.ppt]"))
            self.assertIn(b"docs/deck-format.md", result.stdout)
        result = run("--version")
        self.assertEqual((result.returncode, result.stdout), (0, b"quorv-ppt 0.1.0\n"))

    def test_usage_errors(self):
        cases = [
            ((), "quorv-ppt: no command given"),
            (("frob",), "quorv-ppt: unknown command 'frob'"),
            (("build",), "quorv-ppt: build needs a deck (a JSON file, or - for standard input)"),
            (("build", "a.json", "b.json"), "quorv-ppt: unexpected argument 'b.json'"),
            (("build", "a.json", "-x"), "quorv-ppt: unknown option '-x'"),
            (("build", "a.json", "-o"), "quorv-ppt: -o needs a file name"),
            (("build", "-"), "quorv-ppt: reading the deck from standard input needs -o"),
            (("demo", "extra"), "quorv-ppt: unexpected argument 'extra'"),
        ]
        for args, first_line in cases:
            with self.subTest(args=args):
                result = run(*args, cwd=self.tmp)
                self.assertEqual(result.returncode, 2)
                lines = result.stderr.decode().splitlines()
                self.assertEqual(lines[0], first_line)
                self.assertTrue(lines[1].startswith("usage: quorv-ppt build"))
        self.assertEqual(list(self.tmp.iterdir()), [])

    def test_unreadable_deck(self):
        result = run("build", str(self.tmp / "missing.json"), "-o", str(self.tmp / "x.ppt"))
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stderr.decode(),
                         f"quorv-ppt: cannot read {self.tmp / 'missing.json'}: No such file or directory\n")

    def test_unwritable_output(self):
        deck = self.deck(SLIDE % "")
        result = run("build", str(deck), "-o", str(self.tmp / "no" / "such" / "dir.ppt"))
        self.assertEqual(result.returncode, 1)
        self.assertTrue(result.stderr.decode().startswith(
            f"quorv-ppt: cannot write {self.tmp / 'no' / 'such' / 'dir.ppt'}: error 5: "), result.stderr)

    # ---- good decks, files and pipes ---------------------------------------------------------

    def test_build_to_file_and_default_name(self):
        deck = self.deck(SLIDE % (RECT % ""))
        result = run("build", str(deck))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.decode(), f"wrote {self.tmp / 'deck.ppt'}\n")
        self.verify(self.tmp / "deck.ppt")

    def test_stdin_to_stdout(self):
        text = SLIDE % (RECT % ', "fillColor": "#ff0000"')
        piped = run("build", "-", "-o", "-", stdin=text.encode())
        self.assertEqual(piped.returncode, 0, piped.stderr)
        self.assertEqual(piped.stderr, b"")
        self.assertEqual(piped.stdout[:8], bytes.fromhex("D0CF11E0A1B11AE1"))  # a compound file
        (self.tmp / "piped.ppt").write_bytes(piped.stdout)
        self.verify(self.tmp / "piped.ppt")
        # The same deck from a file, written to a file: the same size (the bytes differ only in
        # the time stamp of the summary information).
        deck = self.deck(text)
        run("build", str(deck), "-o", str(self.tmp / "file.ppt"))
        self.assertEqual(len((self.tmp / "file.ppt").read_bytes()), len(piped.stdout))

    def test_bad_stdin_writes_nothing_to_stdout(self):
        result = run("build", "-", "-o", "-", stdin=b'{"slides": [{"shapes": [{"type": "circle"}]}]}')
        self.assertEqual(result.returncode, 2)
        self.assertEqual(result.stdout, b"")
        self.assertEqual(result.stderr.decode(),
                         '<stdin>: slides[0].shapes[0].type: unknown shape type "circle" '
                         "(one of text, line, rectangle, polyline, picture, table)\n")

    def test_bad_deck_keeps_existing_output(self):
        deck = self.deck(SLIDE % (RECT % ', "opacity": 101'))
        out = self.tmp / "out.ppt"
        out.write_bytes(b"an earlier file")
        result = run("build", str(deck), "-o", str(out))
        self.assertEqual(result.returncode, 2)
        self.assertEqual(out.read_bytes(), b"an earlier file")

    def test_demo(self):
        result = run("demo", "-o", str(self.tmp / "demo.ppt"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.verify(self.tmp / "demo.ppt")
        piped = run("demo", "-o", "-")
        self.assertEqual(piped.returncode, 0)
        self.assertEqual(len(piped.stdout), (self.tmp / "demo.ppt").stat().st_size)

    # ---- bad decks ---------------------------------------------------------------------------

    def test_malformed_json(self):
        cases = [
            ('{"slides": [\n  {"shapes": [}]}',
             ":2:15: malformed JSON: syntax error while parsing value - unexpected '}'; "
             "expected '[', '{', or a literal"),
            ('{"slides": [],\n "width": 720,\n}',
             ":3:1: malformed JSON: syntax error while parsing object key - unexpected '}'; "
             "expected string literal"),
            ('', ":1:1: malformed JSON: syntax error while parsing value - unexpected end of input; "
                 "expected '[', '{', or a literal"),
            ('{"slides": [{"shapes": [{"type": "text\x01"}]}]}',
             ":1:39: malformed JSON: syntax error while parsing value - invalid string: control character "
             "U+0001 (SOH) must be escaped to \\u0001; last read: '\"text<U+0001>'"),
        ]
        for text, message in cases:
            with self.subTest(text=text):
                deck = self.deck(text)
                result = run("build", str(deck), "-o", str(self.tmp / "out.ppt"))
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stderr.decode(), f"{deck}{message}\n")
                self.assertFalse((self.tmp / "out.ppt").exists())

    def test_unknown_keys(self):
        self.assertRejected('{"slides": [], "titel": 1}', 'unknown key "titel"')
        self.assertRejected(SLIDE % (RECT % ', "fillColour": "#ff0000"'),
                            'slides[0].shapes[0]: unknown key "fillColour" (did you mean "fillColor"?)')
        self.assertRejected(SLIDE % '{"type": "line", "x1": 0, "y1": 0, "x2": 1, "y2": 1, "fillColor": "#ff0000"}',
                            'slides[0].shapes[0]: unknown key "fillColor"')
        self.assertRejected(SLIDE % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, '
                                    '"paragraphs": [{"runs": [{"text": "a", "bold": true, "size": 9, "colr": 1}]}]}',
                            'slides[0].shapes[0].paragraphs[0].runs[0]: unknown key "colr" (did you mean "color"?)')
        self.assertRejected('{"properties": {"title": "t", "autor": "a"}, "slides": [{}]}',
                            'properties: unknown key "autor" (did you mean "author"?)')

    def test_wrong_types(self):
        self.assertRejected('[]', "expected an object, found an array")
        self.assertRejected('{"slides": {}}', "slides: expected an array, found an object")
        self.assertRejected(SLIDE % '{"type": "polyline", "points": "0 0 10 10"}',
                            "slides[0].shapes[0].points: expected an array, found a string")
        self.assertRejected(SLIDE % '{"type": "polyline", "points": [[0, 0], [10, "ten"]]}',
                            "slides[0].shapes[0].points[1][1]: expected a number, found a string")
        self.assertRejected(SLIDE % '{"type": "polyline", "points": [[0, 0], [10, 10, 10]]}',
                            "slides[0].shapes[0].points[1]: a point has 2 numbers [x, y], found 3")
        self.assertRejected(SLIDE % (RECT % ', "z": 1.5'), "slides[0].shapes[0].z: expected a whole number, found a number")
        self.assertRejected(SLIDE % (RECT % ', "fillColor": true'),
                            'slides[0].shapes[0].fillColor: expected a colour ("#rrggbb"), found true')
        self.assertRejected(SLIDE % (RECT % ', "fillColor": "red"'),
                            'slides[0].shapes[0].fillColor: "red" is not a colour ("#rrggbb" or "0x" and up to 8 hex digits)')
        self.assertRejected(SLIDE % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, "text": null}',
                            "slides[0].shapes[0].text: expected a string, found null")
        self.assertRejected(SLIDE % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, '
                                    '"paragraphs": [{"bullet": "yes", "text": "a"}]}',
                            "slides[0].shapes[0].paragraphs[0].bullet: expected an object, found a string")

    def test_missing_keys_and_empty_decks(self):
        self.assertRejected('{}', 'missing key "slides"')
        self.assertRejected('{"slides": []}', "slides: a deck needs at least one slide")
        self.assertRejected(SLIDE % '{"x": 1}', 'slides[0].shapes[0]: missing key "type"')
        self.assertRejected(SLIDE % '{"type": "rectangle", "x": 10, "y": 20, "width": 100}',
                            'slides[0].shapes[0]: missing key "height"')
        self.assertRejected(SLIDE % '{"type": "polyline", "points": [[1, 2]]}',
                            "slides[0].shapes[0].points: a polyline needs at least 2 points")

    def test_values_out_of_range(self):
        self.assertRejected(SLIDE % (RECT % ', "opacity": 101'), "slides[0].shapes[0].opacity: 101 is out of range (0 to 100)")
        self.assertRejected(SLIDE % (RECT % ', "lineWidth": -1'), "slides[0].shapes[0].lineWidth: must not be negative")
        self.assertRejected(SLIDE % (RECT % ', "x": 1e39').replace('"x": 10, "y"', '"y"'),
                            "slides[0].shapes[0].x: 1e+39 is too large")
        self.assertRejected('{"width": -720, "slides": [{}]}', "width: must not be negative")
        self.assertRejected(SLIDE % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, "anchor": "centre"}',
                            'slides[0].shapes[0].anchor: unknown anchor "centre" (one of top, middle, bottom, '
                            'topCentered, middleCentered, bottomCentered)')
        self.assertRejected(SLIDE % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, "font": {"size": 0}}',
                            "slides[0].shapes[0].font.size: 0 is out of range (1 to 409)")

    def test_values_the_library_rejects(self):
        """Values the library itself refuses carry the library's error code."""
        text = '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, "paragraphs": [%s]}'
        self.assertRejected(SLIDE % (RECT % ', "lineStyle": 11'),
                            "slides[0].shapes[0].lineStyle: 11 rejected by quorv: error 3 (set_LineStyle)")
        self.assertRejected(SLIDE % RECT.replace('"width": 100', '"width": -100') % "",
                            "slides[0].shapes[0].width: -100 rejected by quorv: error 4 (set_Width)")
        self.assertRejected(SLIDE % RECT.replace('"height": 50', '"height": -5') % "",
                            "slides[0].shapes[0].height: -5 rejected by quorv: error 6 (set_Height)")
        self.assertRejected(SLIDE % (text % '{"numbering": 8, "text": "a"}'),
                            "slides[0].shapes[0].paragraphs[0].numbering: 8 rejected by quorv: error 8 (set_NumBullet)")
        self.assertRejected(SLIDE % (text % '{"bullet": {"char": -1}, "text": "a"}'),
                            "slides[0].shapes[0].paragraphs[0].bullet.char: -1 rejected by quorv: error 8 (set_SymbolBullet)")
        self.assertRejected(SLIDE % (text % '{"align": 7, "text": "a"}'),
                            "slides[0].shapes[0].paragraphs[0].align: 7 rejected by quorv: error 9 (set_ParamAnlign)")
        long_run = '"' + "x" * 40000 + '"'
        self.assertRejected(SLIDE % (text % ('{"runs": [%s, %s]}' % (long_run, long_run))),
                            "slides[0].shapes[0].paragraphs[0].runs[1]: rejected by quorv: error 11: "
                            "text frame would exceed 65535 UTF-16 code units")

    def test_pictures(self):
        png = (ROOT / "examples" / "decks" / "images" / "sample.png").read_bytes()
        (self.tmp / "pic.png").write_bytes(png)
        (self.tmp / "text.png").write_bytes(b"hello, world")
        (self.tmp / "empty.png").write_bytes(b"")
        picture = '{"type": "picture", "x": 10, "y": 10, "width": 64, "height": 48, "file": "%s"%s}'
        self.assertRejected(SLIDE % (picture % ("missing.png", "")),
                            'slides[0].shapes[0].file: cannot read picture "missing.png": No such file or directory')
        self.assertRejected(SLIDE % (picture % ("text.png", "")),
                            'slides[0].shapes[0].file: "text.png" is not a PNG, JPEG, WMF, EMF, BMP, GIF or TIFF image')
        self.assertRejected(SLIDE % (picture % ("empty.png", "")), 'slides[0].shapes[0].file: picture "empty.png" is empty')
        self.assertRejected(SLIDE % (picture % ("pic.png", ', "format": "jpeg"')),
                            'slides[0].shapes[0].format: "pic.png" is not a jpeg image')
        self.assertRejected(SLIDE % (picture % ("pic.png", ', "format": "jpg"')),
                            'slides[0].shapes[0].format: unknown picture format "jpg" (one of png, jpeg, wmf, emf, any)')
        self.assertRejected(SLIDE % (picture % ("pic.png", ', "rotation": 360')),
                            "slides[0].shapes[0].rotation: 360 is out of range (-359 to 359)")

    def test_pictures_are_found_beside_the_deck(self):
        png = (ROOT / "examples" / "decks" / "images" / "sample.png").read_bytes()
        folder = self.tmp / "decks"
        (folder / "images").mkdir(parents=True)
        (folder / "images" / "pic.png").write_bytes(png)
        text = SLIDE % '{"type": "picture", "x": 10, "y": 10, "width": 64, "height": 48, "file": "images/pic.png"}'
        (folder / "deck.json").write_text(text)
        elsewhere = self.tmp / "elsewhere"
        elsewhere.mkdir()
        result = run("build", str(folder / "deck.json"), "-o", "out.ppt", cwd=elsewhere)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.verify(elsewhere / "out.ppt")
        # From standard input, relative to the working directory.
        piped = run("build", "-", "-o", "-", stdin=text.encode(), cwd=folder)
        self.assertEqual(piped.returncode, 0, piped.stderr)
        self.assertIn(png, piped.stdout)
        missing = run("build", "-", "-o", "-", stdin=text.encode(), cwd=elsewhere)
        self.assertEqual(missing.stderr.decode(), '<stdin>: slides[0].shapes[0].file: cannot read picture '
                                                  '"images/pic.png": No such file or directory\n')

    def test_tables(self):
        table = '{"type": "table", "x": 10, "y": 10, "width": 300, "height": 100, %s}'
        self.assertRejected(SLIDE % (table % '"rows": []'), "slides[0].shapes[0].rows: a table needs at least one row")
        self.assertRejected(SLIDE % (table % '"rows": [{"cells": []}]'),
                            "slides[0].shapes[0].rows[0].cells: a row needs at least one cell")
        self.assertRejected(SLIDE % (table % '"columns": [100, 200], "rows": [{"cells": ["a", {"text": "b", "span": 2}]}]'),
                            "slides[0].shapes[0].rows[0].cells[1]: the row has more columns than the table (2)")
        self.assertRejected(SLIDE % (table % '"rows": [{"cells": [{"offset": -5, "text": "a"}]}]'),
                            "slides[0].shapes[0].rows[0].cells[0].offset: -5 rejected by quorv: error 10 (cell offset false)")
        self.assertRejected(SLIDE % (table % '"rows": [{"cells": ["a", {"offset": 300, "text": "b"}]}]'),
                            "slides[0].shapes[0].rows[0].cells[1].offset: the cell starts at or beyond the table's right edge")
        self.assertRejected(SLIDE % (table % '"rows": [{"cells": [{"noBorder": ["inside"]}]}]'),
                            'slides[0].shapes[0].rows[0].cells[0].noBorder[0]: unknown border "inside" '
                            "(one of left, top, right, bottom)")
        self.assertRejected(SLIDE % (table % '"rows": [{"height": 20, "cells": ["a"], "fill": "#ff0000"}]'),
                            'slides[0].shapes[0].rows[0]: unknown key "fill"')

    def test_errors_found_while_saving(self):
        """What only the save can find (the table's layout here) has no JSON path, but the code."""
        self.assertRejected(SLIDE % '{"type": "table", "x": 5000, "y": 10, "width": 300, "height": 100, '
                                    '"rows": [{"cells": ["a"]}]}',
                            "rejected by quorv while saving: error 18: table cannot be laid out: the table reaches "
                            "beyond 4096 points from the slide's corner (left 5000.125 pt, top 10.125 pt, "
                            "right 5300 pt, bottom 110.25 pt)")

    def test_line_breaks_in_runs(self):
        self.assertRejected(SLIDE % '{"type": "text", "x": 0, "y": 0, "width": 9, "height": 9, '
                                    '"paragraphs": [{"runs": ["a\\nb"]}]}',
                            "slides[0].shapes[0].paragraphs[0].runs[0]: holds a line break; start a new paragraph")


if __name__ == "__main__":
    unittest.main()
