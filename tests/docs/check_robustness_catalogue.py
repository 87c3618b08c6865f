"""Checks that every row of docs/robustness.md names at least one test, and that every test it
names exists: GoogleTest cases (Suite.Name, found as TEST/TEST_F in tests/) and interop tests
(interop.x, tests/interop/test_x.py)."""

import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]


def main():
    catalogue = (ROOT / "docs" / "robustness.md").read_text(encoding="utf-8")
    sources = "\n".join(p.read_text(encoding="utf-8", errors="replace")
                        for p in (ROOT / "tests").rglob("*.cpp"))
    defined = set(re.findall(r"\bTEST(?:_F)?\(\s*(\w+)\s*,\s*(\w+)\s*\)", sources))
    problems = []
    rows = 0
    for line in catalogue.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if not line.startswith("|") or len(cells) < 3 or set(cells[0]) <= set("-") or cells[0] == "Input":
            continue
        rows += 1
        names = re.findall(r"`([A-Za-z_]\w*\.\w+)`", cells[-1])
        if not names and "the same" not in cells[-1]:
            problems.append(f"row without a test: {cells[0]}")
        for name in names:
            suite, case = name.split(".", 1)
            if suite == "interop":
                if not (ROOT / "tests" / "interop" / f"test_{case}.py").exists():
                    problems.append(f"no interop test {name}")
            elif (suite, case) not in defined:
                problems.append(f"no test {name}")
    if rows == 0:
        problems.append("no rows found")
    for p in problems:
        print(p)
    print(f"{rows} rows checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
