#!/usr/bin/env python3
"""Mutation testing of quorv's sources (src/): how many small faults does the test suite catch?

A mutant is one small change to one line of src/*.cpp or src/*.h: a comparison turned around
(< <=, > >=, == !=), && and || swapped, an integer literal one up or down, true and false
swapped, or a statement that calls a writer (s.writeU16(...), writeRecord(...), ...) deleted.

    scripts/mutate.py --generate            # sample the mutants, save tests/mutation/mutants.tsv
    scripts/mutate.py --list                # print the saved sample, each as the line it changes
    scripts/mutate.py                       # run every saved mutant, then print the summary
    scripts/mutate.py --resume              # go on with an interrupted run
    scripts/mutate.py --only m1a2b3c,m4d5e6f
    scripts/mutate.py --report              # the summary of build/mutate/results.tsv

A saved mutant is found again by the text of its line (the nth line with that exact text in its
file), not by line number, so the same sample can be run against a later test suite after
unrelated lines moved. A mutant whose line is gone is reported as "missing".

Each mutant is applied to a private copy of the checkout (build/mutate/src-copy, refreshed from
the checkout's tracked and untracked files at the start of every run, so it tests the working
tree as it is), built without sanitizers and optimisation in build/mutate/build, and tested with
ctest: first the unit tests (label unit), then, only when they all pass, the interoperability
tests (label interop). ctest is stopped at the first test that fails. A mutant is "killed" when a
test fails, crashes or times out, "survived" when all pass, "uncompiled" when the build fails
(uncompiled mutants do not count in the kill rate). After each mutant the original file is
written back with a new time stamp, so the next build compiles it again. Before the mutants, the
unmutated copy must build and pass both labels (skipped when it passed before with the same
files). Per-mutant output: build/mutate/logs/ID.log; results: build/mutate/results.tsv.

Python standard library only. ccache is used when it is on PATH (cache in build/mutate/ccache):
it makes the rebuild of a file put back after a mutant a cache hit.
"""

import argparse
import bisect
import collections
import hashlib
import json
import math
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SUBSYSTEMS = ("core", "storage", "document", "drawing", "picture", "text", "table")
MUTANTS_TSV = ROOT / "tests" / "mutation" / "mutants.tsv"
EQUIVALENT_TSV = ROOT / "tests" / "mutation" / "equivalent.tsv"
DEFAULT_SEED = 20240611
DEFAULT_COUNT = 200
MIN_PER_SUBSYSTEM = 10

# ---------------------------------------------------------------------------------------------
# Tokens of C++ source: identifiers, numbers and punctuators with their offsets. Comments, string
# and character literals (raw ones too) and preprocessor lines produce no tokens, so nothing in
# them is ever mutated.

Token = collections.namedtuple("Token", "kind text pos")

PUNCTUATORS = sorted("""<=> <<= >>= ->* ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* ##""".split(),
                     key=len, reverse=True)
IDENT_RE = re.compile(r"[A-Za-z_][A-Za-z_0-9]*")
PPNUMBER_RE = re.compile(r"\.?[0-9](?:[eEpP][+-]|'[0-9A-Za-z_]|[0-9A-Za-z_.])*")
LITERAL_PREFIXES = {"L", "u", "U", "u8", "R", "LR", "uR", "UR", "u8R"}


def _skip_quoted(text, i, raw):
    """Offset just past the string or character literal whose opening quote is at i."""
    n = len(text)
    quote = text[i]
    if raw and quote == '"':
        open_paren = text.find("(", i)
        delimiter = text[i + 1:open_paren]
        end = text.find(")" + delimiter + '"', open_paren)
        return n if end < 0 else end + len(delimiter) + 2
    i += 1
    while i < n and text[i] != quote and text[i] != "\n":
        i += 2 if text[i] == "\\" else 1
    return i + 1


def tokenize(text):
    tokens = []
    i, n = 0, len(text)
    line_start = True  # only white space since the last new line
    while i < n:
        c = text[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if c == "#" and line_start:  # a preprocessor line, with its continuation lines
            while i < n and text[i] != "\n":
                if text.startswith("\\\n", i):
                    i += 2
                elif text.startswith("/*", i):
                    end = text.find("*/", i + 2)
                    i = n if end < 0 else end + 2
                else:
                    i += 1
            continue
        line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
            continue
        m = IDENT_RE.match(text, i)
        if m:
            word = m.group()
            if m.end() < n and text[m.end()] in "\"'" and word in LITERAL_PREFIXES:
                i = _skip_quoted(text, m.end(), raw=word.endswith("R"))
                continue
            tokens.append(Token("ident", word, i))
            i = m.end()
            continue
        if c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            m = PPNUMBER_RE.match(text, i)
            tokens.append(Token("number", m.group(), i))
            i = m.end()
            continue
        if c in "\"'":
            i = _skip_quoted(text, i, raw=False)
            continue
        for p in PUNCTUATORS:
            if text.startswith(p, i):
                break
        else:
            p = c
        tokens.append(Token("punct", p, i))
        i += len(p)
    return tokens


# ---------------------------------------------------------------------------------------------
# Mutation operators.

SWAPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==", "&&": "||", "||": "&&"}
BOOLS = {"true": "false", "false": "true"}
INT_RE = re.compile(r"(?:(0[xX])([0-9A-Fa-f]+)|(0[bB])([01]+)|([1-9][0-9]*|0))([uUlLzZ]*)$")
CLOSING = {"(": ")", "[": "]", "{": "}"}
CONTROL = {"if", "for", "while"}


def int_variants(literal):
    """The literals one below and one above an integer literal (none below 0), same base and
    suffix; hexadecimal keeps its width and letter case."""
    m = INT_RE.match(literal)
    if not m:
        return []
    suffix = m.group(6)
    if m.group(1):
        prefix, digits, base = m.group(1), m.group(2), 16
    elif m.group(3):
        prefix, digits, base = m.group(3), m.group(4), 2
    else:
        prefix, digits, base = "", m.group(5), 10
    value = int(digits, base)
    out = []
    for v in (value - 1, value + 1):
        if v < 0:
            continue
        if base == 16:
            s = format(v, "X" if (digits.upper() == digits) else "x").zfill(len(digits))
        elif base == 2:
            s = format(v, "b").zfill(len(digits))
        else:
            s = str(v)
        out.append(prefix + s + suffix)
    return out


def _write_call(tokens, k):
    """For the identifier tokens[k] named write...( : the token range [first, last] of the
    statement that is nothing but this call (its value, if any, unused), or None. The statement
    must start where a statement starts: after ; { } else, or after the ) of an if, for or while
    header."""
    if k + 1 >= len(tokens) or tokens[k + 1].text != "(":
        return None
    first = k
    while first >= 2 and tokens[first - 1].text in (".", "->", "::") and tokens[first - 2].kind == "ident":
        first -= 2
    if first >= 1 and tokens[first - 1].text == "::":
        first -= 1
    if first > 0:
        prev = tokens[first - 1]
        if prev.text == ")":
            depth, j = 0, first - 1
            while j >= 0:
                if tokens[j].text == ")":
                    depth += 1
                elif tokens[j].text == "(":
                    depth -= 1
                    if depth == 0:
                        break
                j -= 1
            if j <= 0 or tokens[j - 1].text not in CONTROL:
                return None
        elif prev.text not in (";", "{", "}", "else"):
            return None
    stack, j = [], k + 1
    while j < len(tokens):
        t = tokens[j].text
        if t in CLOSING:
            stack.append(CLOSING[t])
        elif t in (")", "]", "}"):
            if not stack or stack.pop() != t:
                return None
            if not stack:
                break
        j += 1
    if j + 1 < len(tokens) and tokens[j + 1].text == ";":
        return first, j + 1
    return None


class Mutant:
    """One mutation, identified by its file, the text of its line, which occurrence of that text
    in the file (0 for the first), the column (1-based) where the change starts, the original
    text there and its replacement. For a deleted call the original is the callee and its
    opening parenthesis, and the statement is found again from there."""

    FIELDS = ("id", "subsystem", "file", "occurrence", "column", "kind", "original", "replacement", "line_text")

    def __init__(self, file, line_text, occurrence, column, kind, original, replacement, id=None):
        self.file = file
        self.line_text = line_text
        self.occurrence = int(occurrence)
        self.column = int(column)
        self.kind = kind
        self.original = original
        self.replacement = replacement
        self.id = id or self.content_id()

    @property
    def subsystem(self):
        parts = Path(self.file).parts
        return parts[1] if len(parts) > 2 else "src"

    def content_id(self, length=7):
        key = "\t".join((self.file, self.line_text, str(self.occurrence), str(self.column), self.original,
                         self.replacement))
        return "m" + hashlib.sha1(key.encode("utf-8", "surrogateescape")).hexdigest()[:length]

    def describe(self):
        if self.kind == "delete-call":
            # The statement when it ends on this line, else its start; no comment.
            tokens = tokenize(self.line_text)
            k = next((i for i, t in enumerate(tokens) if t.pos == self.column - 1), None)
            name = k
            while name is not None and name + 1 < len(tokens) and tokens[name + 1].text != "(":
                name += 1
            span = _write_call(tokens, name) if name is not None else None
            if span:
                rest = self.line_text[self.column - 1:tokens[span[1]].pos + 1]
            else:
                end = max(t.pos + len(t.text) for t in tokens) if tokens else len(self.line_text)
                rest = self.line_text[self.column - 1:end].strip() + " ..."
            if len(rest) > 60:
                rest = rest[:57] + "..."
            return f"delete {rest}"
        return f"{self.original} -> {self.replacement}"

    def row(self):
        return [self.id, self.subsystem, self.file, str(self.occurrence), str(self.column), self.kind, self.original,
                self.replacement, self.line_text]


def locate(text, mutant):
    """(offset of the change, 0-based line number), or None when the line is no longer there or
    no longer holds the original text at the column."""
    starts = [0]
    for i, line in enumerate(text.split("\n")):
        starts.append(starts[-1] + len(line) + 1)
    seen = 0
    for i, line in enumerate(text.split("\n")):
        if line == mutant.line_text:
            if seen == mutant.occurrence:
                pos = starts[i] + mutant.column - 1
                return (pos, i) if text.startswith(mutant.original, pos) else None
            seen += 1
    return None


def apply_mutant(text, mutant):
    """The text with the mutant applied, and the 0-based line it changes; None if not found."""
    found = locate(text, mutant)
    if not found:
        return None
    pos, line = found
    tokens = tokenize(text)
    index = {t.pos: k for k, t in enumerate(tokens)}
    k = index.get(pos)
    if k is None:
        return None
    if mutant.kind == "delete-call":
        name = k
        while name + 1 < len(tokens) and tokens[name + 1].text != "(":
            name += 1
        span = _write_call(tokens, name)
        if not span or span[0] != k:
            return None
        end = tokens[span[1]].pos + 1
        return text[:pos] + mutant.replacement + text[end:], line
    if tokens[k].text != mutant.original:
        return None
    return text[:pos] + mutant.replacement + text[pos + len(mutant.original):], line


def file_mutants(relpath, text):
    """Every mutant of one source file."""
    tokens = tokenize(text)
    lines = text.split("\n")
    starts = [0]
    for line in lines:
        starts.append(starts[-1] + len(line) + 1)
    occurrences = {}
    line_occurrence = []
    for line in lines:
        line_occurrence.append(occurrences.get(line, 0))
        occurrences[line] = line_occurrence[-1] + 1

    def make(pos, kind, original, replacement):
        i = bisect.bisect_right(starts, pos) - 1
        return Mutant(relpath, lines[i], line_occurrence[i], pos - starts[i] + 1, kind, original, replacement)

    out = []
    for k, t in enumerate(tokens):
        if t.kind == "punct" and t.text in SWAPS:
            # Only operators with white space on both sides, as formatted here: keeps out the
            # angle brackets of templates (std::vector<int>, template <class T>) and T&& x.
            before = text[t.pos - 1] if t.pos > 0 else "\n"
            after = text[t.pos + len(t.text)] if t.pos + len(t.text) < len(text) else "\n"
            if before in " \t" and after in " \t\n":
                kind = "logical" if t.text in ("&&", "||") else "compare"
                out.append(make(t.pos, kind, t.text, SWAPS[t.text]))
        elif t.kind == "number":
            for v in int_variants(t.text):
                out.append(make(t.pos, "literal", t.text, v))
        elif t.kind == "ident" and t.text in BOOLS:
            out.append(make(t.pos, "bool", t.text, BOOLS[t.text]))
        elif t.kind == "ident" and t.text.startswith("write"):
            span = _write_call(tokens, k)
            if span:
                first = tokens[span[0]]
                original = text[first.pos:tokens[k + 1].pos + 1]
                out.append(make(first.pos, "delete-call", original, "{}"))
    return out


def source_files(root):
    files = []
    for sub in SUBSYSTEMS:
        for p in sorted((root / "src" / sub).glob("*")):
            if p.suffix in (".cpp", ".h") and p.is_file():
                files.append(p)
    return files


def read_text(path):
    return path.read_bytes().decode("utf-8", "surrogateescape")


def write_text(path, text):
    path.write_bytes(text.encode("utf-8", "surrogateescape"))


def all_mutants(root):
    out = []
    for p in source_files(root):
        out.extend(file_mutants(p.relative_to(root).as_posix(), read_text(p)))
    return out


def allocate(weights, count, minimum, available):
    """Splits count into shares proportional to weights, each at least `minimum` and at most
    what is available, by largest remainders."""
    quota = {}
    rest = {k: w for k, w in weights.items() if available.get(k, 0) > 0}
    budget = min(count, sum(available.get(k, 0) for k in rest))
    while rest:  # a share under the minimum, or over what is there, is fixed first
        total = sum(rest.values())
        fixed = {k: min(available[k], max(minimum, 0)) for k, w in rest.items()
                 if total and budget * w / total < minimum}
        fixed.update({k: available[k] for k, w in rest.items() if total and budget * w / total > available[k]})
        if not fixed:
            break
        for k, n in fixed.items():
            quota[k] = min(n, budget)
            budget -= quota[k]
            del rest[k]
    total = sum(rest.values())
    shares = {k: budget * w / total for k, w in rest.items()} if total else {}
    for k, share in shares.items():
        quota[k] = int(share)
    left = budget - sum(quota[k] for k in shares)
    for k in sorted(shares, key=lambda k: shares[k] - int(shares[k]), reverse=True)[:left]:
        quota[k] += 1
    return quota


def code_lines(root, subsystem):
    """The size of a subsystem: its lines that hold code (not blank, comment or preprocessor)."""
    lines = 0
    for p in source_files(root):
        if p.parent.name == subsystem:
            text = read_text(p)
            lines += len({text.count("\n", 0, t.pos) for t in tokenize(text)})
    return lines


def sample(mutants, count, seed, sizes):
    """`count` mutants at random: each subsystem gets a share proportional to its size (at least
    MIN_PER_SUBSYSTEM), and within a subsystem each kind of mutation a share proportional to the
    square root of its number of candidates (at least one), so the literals of the data tables
    do not crowd out the rarer kinds."""
    by_subsystem = collections.defaultdict(list)
    for m in mutants:
        by_subsystem[m.subsystem].append(m)
    quota = allocate({s: sizes.get(s, 0) for s in by_subsystem}, count, MIN_PER_SUBSYSTEM,
                     {s: len(v) for s, v in by_subsystem.items()})
    rng = random.Random(seed)
    chosen = []
    for s in sorted(by_subsystem):
        by_kind = collections.defaultdict(list)
        for m in by_subsystem[s]:
            by_kind[m.kind].append(m)
        weights = {k: math.sqrt(len(v)) for k, v in by_kind.items()}
        kind_quota = allocate(weights, quota.get(s, 0), 1, {k: len(v) for k, v in by_kind.items()})
        for k in sorted(by_kind):
            chosen.extend(rng.sample(by_kind[k], kind_quota.get(k, 0)))
    return sorted(chosen, key=sort_key)


def sort_key(m):
    return (SUBSYSTEMS.index(m.subsystem) if m.subsystem in SUBSYSTEMS else 99, m.file, m.line_text, m.occurrence,
            m.column, m.replacement)


# ---------------------------------------------------------------------------------------------
# The saved sample and the results: tab-separated, with \\, \t, \n and \r escaped.

def escape(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def unescape(s):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), s)


def read_tsv(path):
    """Rows as dicts keyed by the header row; lines starting with # are comments."""
    if not path.exists():
        return []
    rows, header = [], None
    for line in path.read_text(encoding="utf-8", errors="surrogateescape").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        cells = [unescape(c) for c in line.split("\t")]
        if header is None:
            header = cells
        else:
            rows.append(dict(zip(header, cells)))
    return rows


def write_tsv(path, header, rows, comments=()):
    path.parent.mkdir(parents=True, exist_ok=True)
    tmp = path.with_name(path.name + ".tmp")
    with open(tmp, "w", encoding="utf-8", errors="surrogateescape") as f:
        for c in comments:
            f.write(f"# {c}\n")
        f.write("\t".join(header) + "\n")
        for r in rows:
            f.write("\t".join(escape(str(c)) for c in r) + "\n")
    os.replace(tmp, path)


def load_sample():
    rows = read_tsv(MUTANTS_TSV)
    if not rows:
        sys.exit(f"no saved mutants in {MUTANTS_TSV.relative_to(ROOT)}: run with --generate first")
    return [Mutant(r["file"], r["line_text"], r["occurrence"], r["column"], r["kind"], r["original"],
                   r["replacement"], id=r["id"]) for r in rows]


def load_equivalent():
    return {r["id"]: r.get("reason", "") for r in read_tsv(EQUIVALENT_TSV)}


def git_head():
    try:
        return subprocess.run(["git", "-C", str(ROOT), "rev-parse", "--short", "HEAD"], capture_output=True,
                              text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def generate(args):
    mutants = all_mutants(ROOT)
    ids = collections.Counter(m.id for m in mutants)
    for m in mutants:  # the rare id shared by two mutants gets more digits
        if ids[m.id] > 1:
            m.id = m.content_id(12)
    sizes = {s: code_lines(ROOT, s) for s in SUBSYSTEMS}
    chosen = sample(mutants, args.count, args.seed, sizes)
    kinds = collections.Counter(m.kind for m in chosen)
    write_tsv(MUTANTS_TSV, Mutant.FIELDS, [m.row() for m in chosen], comments=[
        f"Mutants of src/ for scripts/mutate.py: {len(chosen)} of {len(mutants)}, sampled at {git_head()} "
        f"with --seed {args.seed} --count {args.count}.",
        "A mutant is found by its line's text (the occurrence-th line with that text, from 0) and column "
        "(from 1), not by line number."])
    print(f"{len(mutants)} candidate mutants in src/, {len(chosen)} saved to {MUTANTS_TSV.relative_to(ROOT)}")
    per = collections.Counter(m.subsystem for m in mutants)
    got = collections.Counter(m.subsystem for m in chosen)
    for s in SUBSYSTEMS:
        print(f"  {s:9} {got[s]:4} of {per[s]:5} candidates ({sizes[s]} lines of code)")
    print("  by kind: " + ", ".join(f"{k} {n}" for k, n in sorted(kinds.items())))


def list_sample(args):
    mutants = select(load_sample(), args.only)
    equivalent = load_equivalent()
    for m in mutants:
        path = ROOT / m.file
        original = read_text(path) if path.exists() else ""
        result = apply_mutant(original, m) if path.exists() else None
        if result is None:
            print(f"{m.id}  {m.file}: MISSING  {m.describe()}\n    {m.line_text.strip()}")
            continue
        text, line = result
        mutated = text.split("\n")[line]
        removed = original.count("\n") - text.count("\n")
        note = f"  (and {removed} more lines)" if removed else ""
        note += "  (equivalent: " + equivalent[m.id] + ")" if m.id in equivalent else ""
        print(f"{m.id}  {m.file}:{line + 1}  {m.kind}  {m.describe()}{note}")
        print(f"    - {m.line_text.strip()}")
        print(f"    + {mutated.strip()}")


def select(mutants, only):
    if not only:
        return mutants
    wanted = [s.strip() for s in only.split(",") if s.strip()]
    known = {m.id for m in mutants}
    unknown = [w for w in wanted if w not in known]
    if unknown:
        sys.exit("unknown mutant ids: " + ", ".join(unknown))
    return [m for m in mutants if m.id in wanted]


# ---------------------------------------------------------------------------------------------
# Running.

RESULT_FIELDS = ("id", "subsystem", "file", "line", "line_text", "mutation", "status", "killed_by", "seconds")


class Runner:
    def __init__(self, args):
        self.args = args
        self.work = Path(args.work).resolve()
        self.copy = self.work / "src-copy"
        self.build = self.work / "build"
        self.logs = self.work / "logs"
        self.results_path = self.work / "results.tsv"
        self.jobs = str(args.jobs)

    # -- the private copy of the checkout --------------------------------------------------------
    def sync(self):
        """Makes src-copy hold the checkout's tracked and untracked (not ignored) files. Only
        files whose content differs are written, so the build recompiles only what changed."""
        listing = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                                 capture_output=True, check=True).stdout.decode("utf-8", "surrogateescape")
        files = sorted({f for f in listing.split("\0") if f and (ROOT / f).is_file()})
        manifest = self.work / "src-copy.files"
        previous = set(manifest.read_text(encoding="utf-8", errors="surrogateescape").split("\n")) if manifest.exists() else set()
        changed = 0
        for f in files:
            src, dst = ROOT / f, self.copy / f
            data = src.read_bytes()
            if not dst.is_file() or dst.read_bytes() != data:
                dst.parent.mkdir(parents=True, exist_ok=True)
                dst.write_bytes(data)
                shutil.copymode(src, dst)
                changed += 1
        for f in previous - set(files):
            if f and (self.copy / f).is_file():
                (self.copy / f).unlink()
                changed += 1
        manifest.write_text("\n".join(files), encoding="utf-8", errors="surrogateescape")
        return changed

    def fingerprint(self):
        """A hash of what the tests depend on: every synced file but this script and the saved
        mutants."""
        h = hashlib.sha256()
        for f in sorted((self.work / "src-copy.files").read_text(encoding="utf-8", errors="surrogateescape").split("\n")):
            if f and f != "scripts/mutate.py" and not f.startswith("tests/mutation/"):
                h.update(f.encode("utf-8", "surrogateescape") + b"\0" + (self.copy / f).read_bytes() + b"\0")
        h.update(" ".join(self.cmake_args()).encode())
        return h.hexdigest()

    def cmake_args(self):
        args = ["-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DQUORV_SANITIZE=",
                "-DQUORV_BUILD_FUZZ=OFF", "-DQUORV_BUILD_BENCH=OFF", "-DQUORV_BUILD_TESTS=ON", "-DQUORV_BUILD_TOOLS=ON",
                # Tests are listed when ctest runs, not after each link: a mutant that breaks a
                # test program is then a failed test, not a failed build.
                "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"]
        if shutil.which("ccache") and not self.args.no_ccache:
            args.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        else:
            args.append("-DCMAKE_CXX_COMPILER_LAUNCHER=")
        if shutil.which("ninja"):
            args.append("-GNinja")
        return args

    def configure(self):
        cache = self.build / "CMakeCache.txt"
        args = self.cmake_args()
        stamp = self.work / "cmake-args"
        if cache.exists() and stamp.exists() and stamp.read_text() == "\n".join(args):
            return
        if cache.exists():  # other options: start the build folder afresh
            shutil.rmtree(self.build)
        self.build.mkdir(parents=True, exist_ok=True)
        print("configuring " + str(self.build.relative_to(ROOT) if self.build.is_relative_to(ROOT) else self.build),
              flush=True)
        subprocess.run(["cmake", "-S", str(self.copy), "-B", str(self.build)] + args, check=True,
                       stdout=subprocess.DEVNULL, env=self.environment())
        stamp.write_text("\n".join(args))

    # -- one command, with a time limit and resource limits ------------------------------------
    def run(self, cmd, log, timeout, memory_gib=None, stop=None):
        """(exit status, or "timeout", or "stopped"; output). The command runs in its own process
        group, which is killed whole at the time limit, or as soon as stop(line) is true for a
        line of its output. With memory_gib, each of its processes gets that much address space
        and may write files of at most 4 GiB: a mutant that allocates or writes without end then
        fails its test instead of filling the machine."""
        def preexec():
            if memory_gib:
                gib = 1 << 30
                resource.setrlimit(resource.RLIMIT_AS, (memory_gib * gib, memory_gib * gib))
                resource.setrlimit(resource.RLIMIT_FSIZE, (4 * gib, 4 * gib))

        lines = []
        stopped = threading.Event()
        with open(log, "ab") as out:
            out.write(("$ " + " ".join(cmd) + "\n").encode())
            out.flush()
            proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                    start_new_session=True, preexec_fn=preexec, env=self.environment())

            def read():
                for raw in proc.stdout:
                    out.write(raw)
                    line = raw.decode("utf-8", "replace").rstrip("\n")
                    lines.append(line)
                    if stop and not stopped.is_set() and stop(line):
                        stopped.set()

            reader = threading.Thread(target=read, daemon=True)
            reader.start()
            started = time.monotonic()
            deadline = started + timeout
            status = None
            try:
                while status is None:
                    if stopped.wait(0.05):
                        status = "stopped"
                    elif proc.poll() is not None:
                        reader.join(10)  # a leftover child may hold the output open: not for long
                        status = proc.returncode
                        if stopped.is_set():  # the failure was among the last lines
                            status = "stopped"
                    elif time.monotonic() > deadline:
                        status = "timeout"
            finally:
                try:  # the whole group: what the tests started too
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                proc.wait()
                reader.join(5)
            out.write(f"[exit {status} after {time.monotonic() - started:.1f} s]\n".encode())
        return status, "\n".join(lines)

    def build_all(self, log):
        return self.run(["cmake", "--build", str(self.build), "-j", self.jobs], log, self.args.build_timeout)

    def environment(self):
        env = dict(os.environ)
        env.setdefault("CCACHE_DIR", str(self.work / "ccache"))  # objects of this build only
        return env

    # A finished test in ctest's output: "  4/211 Test  #69: Name ....***Timeout  30.06 sec"
    # (A parameterised GoogleTest case is listed with its parameter: "Name  # GetParam() = x ...")
    TEST_RESULT = re.compile(r"^\s*\d+/\d+ Test\s+#\d+: (\S+).*?[\s.](Passed|\*\*\*.*?|Not Run.*?)\s+[\d.]+ sec\s*$")

    @classmethod
    def failed_test(cls, line):
        """The failed test named by one line of ctest's output ("name" or "name (how)"), or None."""
        m = cls.TEST_RESULT.match(line)
        if not m or m.group(2) in ("Passed", "***Skipped") or "Skipped" in m.group(2):
            return None
        how = m.group(2).replace("*", "").strip()
        return m.group(1) + ("" if how == "Failed" else f" ({how})")

    def ctest(self, label, log, timeout, stop_at_failure=True):
        """Runs the tests of one label, by default stopping at the first failure: (status, what
        failed)."""
        cmd = ["ctest", "--test-dir", str(self.build), "-L", f"^{label}$", "-j", self.jobs, "--timeout",
               str(self.args.test_timeout), "--no-tests=error"]
        if not stop_at_failure:
            cmd.append("--output-on-failure")
        # The Java and LibreOffice processes of the interop tests reserve much address space.
        memory = self.args.memory_limit * (4 if label == "interop" else 1)
        status, output = self.run(cmd, log, timeout, memory_gib=memory,
                                  stop=(lambda line: self.failed_test(line) is not None) if stop_at_failure else None)
        lines = output.splitlines()
        failed = [f for f in map(self.failed_test, lines) if f]
        if status == 0:
            return "passed", ""
        if failed:
            return "failed", ";".join(failed) if not stop_at_failure else failed[0]
        if status == "timeout":
            started = {m.group(1) for m in map(re.compile(r"^\s*Start\s+\d+: (\S+)").match, lines) if m}
            finished = {m.group(1) for m in map(self.TEST_RESULT.match, lines) if m}
            running = ", ".join(sorted(started - finished))
            return "failed", f"{label} tests timed out after {timeout:.0f} s" + (f" in {running}" if running else "")
        errors = [ln.strip() for ln in lines if "error" in ln.lower()]
        return "failed", f"ctest -L {label} exit {status}" + (f": {errors[0][:150]}" if errors else "")

    # -- the unmutated tree must build and pass ------------------------------------------------
    def baseline(self):
        stamp_path = self.work / "baseline.json"
        fingerprint = self.fingerprint()
        log = self.logs / "baseline.log"
        log.unlink(missing_ok=True)
        t = time.monotonic()
        status, output = self.build_all(log)
        if status != 0:
            sys.exit(f"the unmutated tree does not build: see {log}")
        build_seconds = time.monotonic() - t
        stamp = json.loads(stamp_path.read_text()) if stamp_path.exists() else {}
        if stamp.get("fingerprint") == fingerprint and (stamp.get("interop") or self.args.no_interop):
            print(f"baseline: passed before on this tree (unit {stamp['unit']:.1f} s, "
                  f"interop {stamp.get('interop') or 0:.1f} s)", flush=True)
            return stamp
        times = {"fingerprint": fingerprint, "build": build_seconds}
        for label in ("unit",) + (() if self.args.no_interop else ("interop",)):
            print(f"baseline: {label} tests ...", flush=True)
            t = time.monotonic()
            status, failed = self.ctest(label, log, 3600, stop_at_failure=False)
            if status != "passed":
                sys.exit(f"the unmutated tree fails its {label} tests ({failed}): see {log}")
            times[label] = time.monotonic() - t
        print(f"baseline: unit {times['unit']:.1f} s" +
              (f", interop {times['interop']:.1f} s" if "interop" in times else ""), flush=True)
        if "interop" in times:
            stamp_path.write_text(json.dumps(times))
        return times

    # -- the mutants ---------------------------------------------------------------------------
    def run_mutant(self, m, base):
        log = self.logs / f"{m.id}.log"
        log.unlink(missing_ok=True)
        path = self.copy / m.file
        original = read_text(path)
        result = apply_mutant(original, m)
        if result is None:
            return "missing", "", None
        mutated, line = result
        try:
            write_text(path, mutated)
            status, output = self.build_all(log)
            if status != 0:
                errors = [ln.strip() for ln in output.splitlines() if " error: " in ln or ln.startswith("error:")]
                error = errors[0].replace(str(self.copy) + os.sep, "") if errors else f"build exit {status}"
                return "uncompiled", error[:200], line
            phases = [("unit", max(60.0, 5 * base["unit"]))]
            if not self.args.no_interop:
                phases.append(("interop", max(120.0, 4 * base["interop"])))
            for label, timeout in phases:
                status, failed = self.ctest(label, log, timeout, stop_at_failure=not self.args.matrix)
                if status != "passed":
                    return "killed", failed, line
            return "survived", "(interop tests not run)" if self.args.no_interop else "", line
        finally:
            # The original back, newer than the mutant's objects, so the next build rebuilds it.
            write_text(path, original)
            now = time.time()
            os.utime(path, (now, now))

    def execute(self, mutants, sample):
        self.work.mkdir(parents=True, exist_ok=True)
        self.logs.mkdir(parents=True, exist_ok=True)
        changed = self.sync()
        print(f"src-copy: {changed} files refreshed", flush=True)
        self.configure()
        base = self.baseline()

        results = {}
        if self.args.resume or self.args.only:
            results = {r["id"]: r for r in read_tsv(self.results_path)}
        todo = [m for m in mutants if not (self.args.resume and m.id in results)]
        todo.sort(key=lambda m: (m.file, m.line_text, m.column))  # the same file one after another
        started = time.monotonic()
        for n, m in enumerate(todo, 1):
            t = time.monotonic()
            status, killed_by, line = self.run_mutant(m, base)
            seconds = time.monotonic() - t
            results[m.id] = {"id": m.id, "subsystem": m.subsystem, "file": m.file,
                             "line": "" if line is None else str(line + 1), "line_text": m.line_text,
                             "mutation": m.describe(), "status": status, "killed_by": killed_by,
                             "seconds": f"{seconds:.1f}"}
            self.save(results, sample)
            where = f"{m.file}:{'?' if line is None else line + 1}"
            print(f"[{n}/{len(todo)}] {m.id} {status:10} {seconds:6.1f} s  {where}  {m.describe()}"
                  + (f"  <- {killed_by}" if killed_by and status != "survived" else f"  {killed_by}"), flush=True)
        if todo:
            total = time.monotonic() - started
            print(f"\n{len(todo)} mutants in {total:.0f} s, {total / len(todo):.1f} s each", flush=True)
        return results

    def save(self, results, sample):
        order = {m.id: i for i, m in enumerate(sample)}
        rows = sorted(results.values(), key=lambda r: (order.get(r["id"], len(order)), r["id"]))
        write_tsv(self.results_path, RESULT_FIELDS, [[r.get(f, "") for f in RESULT_FIELDS] for r in rows])


# ---------------------------------------------------------------------------------------------
# The summary.

def percent(a, b):
    return f"{100.0 * a / b:5.1f} %" if b else "    - "


def summary(results_path, sample_ids):
    rows = [r for r in read_tsv(results_path) if r["id"] in sample_ids]
    if not rows:
        print(f"no results in {results_path}")
        return
    equivalent = load_equivalent()
    by = collections.defaultdict(collections.Counter)
    for r in rows:
        by[r["subsystem"]][r["status"]] += 1
        by["all"][r["status"]] += 1
        if r["id"] in equivalent and r["status"] in ("killed", "survived"):
            by["all"]["equivalent"] += 1
            by["all"]["equivalent-killed"] += r["status"] == "killed"

    def line(name, c):
        compiled = c["killed"] + c["survived"]
        extra = "".join(f", {c[s]} {s}" for s in ("uncompiled", "missing") if c[s])
        return f"  {name:9} killed {c['killed']:3} / {compiled:3} compiled  {percent(c['killed'], compiled)}{extra}"

    total = by["all"]
    print(f"\nMutation testing: {len(rows)} of {len(sample_ids)} saved mutants run")
    print(line("overall", total))
    compiled = total["killed"] + total["survived"] - total["equivalent"]
    killed = total["killed"] - total["equivalent-killed"]
    print(f"  non-equivalent ({total['equivalent']} reviewed equivalent): killed {killed} / {compiled}  "
          f"{percent(killed, compiled)}")
    for s in SUBSYSTEMS:
        if s in by:
            print(line(s, by[s]))
    survivors = [r for r in rows if r["status"] == "survived"]
    if survivors:
        print(f"\nSurvivors ({len(survivors)}):")
        for r in survivors:
            note = "  [equivalent: " + equivalent[r["id"]] + "]" if r["id"] in equivalent else ""
            print(f"  {r['id']}  {r['file']}:{r['line']}  {r['mutation']}{note}")
            print(f"      {r['line_text'].strip()}")


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                formatter_class=argparse.RawDescriptionHelpFormatter,
                                epilog="See the top of scripts/mutate.py for the details.")
    p.add_argument("--generate", action="store_true",
                   help=f"sample mutants of src/ and save them to {MUTANTS_TSV.relative_to(ROOT)} (replaces it)")
    p.add_argument("--count", type=int, default=DEFAULT_COUNT, help="mutants to sample (default %(default)s)")
    p.add_argument("--seed", type=int, default=DEFAULT_SEED, help="seed of the sample (default %(default)s)")
    p.add_argument("--list", action="store_true", help="print the saved mutants (with --only: those)")
    p.add_argument("--report", action="store_true", help="print the summary of the last results only")
    p.add_argument("--only", help="comma-separated mutant ids to run (their old results are replaced)")
    p.add_argument("--resume", action="store_true", help="skip the mutants that already have a result")
    p.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs (default %(default)s)")
    p.add_argument("--matrix", action="store_true",
                   help="run every test of a phase, not only up to the first failure, and record all that fail "
                        "(which tests kill which mutants)")
    p.add_argument("--no-interop", action="store_true",
                   help="unit tests only (faster, kills fewer: for a quick look, not for the rate)")
    p.add_argument("--test-timeout", type=int, default=30,
                   help="ctest --timeout for a test that sets none (default %(default)s s)")
    p.add_argument("--build-timeout", type=int, default=1800, help="time limit of one build (default %(default)s s)")
    p.add_argument("--memory-limit", type=int, default=4,
                   help="address space of a unit test process in GiB, four times that for the interop "
                        "tests (default %(default)s)")
    p.add_argument("--no-ccache", action="store_true", help="do not use ccache even when it is installed")
    p.add_argument("--work", default=str(ROOT / "build" / "mutate"),
                   help="folder of the private copy, the build and the results (default build/mutate)")
    args = p.parse_args()

    if args.generate:
        generate(args)
        return
    if args.list:
        list_sample(args)
        return
    mutants = load_sample()
    runner = Runner(args)
    if not args.report:
        runner.execute(select(mutants, args.only), mutants)
    summary(runner.results_path, {m.id for m in mutants})


if __name__ == "__main__":
    main()
