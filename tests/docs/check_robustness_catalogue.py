"""Checks that every row of docs/robustness.md names at least one test, and that every test it
names is registered: a GoogleTest case of the cases program (as --gtest_list_tests lists it, a
name or a prefix of parameterised names) or a ctest test (as ctest -N lists it).

Usage: check_robustness_catalogue.py TEST_CASES_PROGRAM CTEST BUILD_DIR"""

import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]


def gtest_names(program):
    names, suite = [], ""
    for line in subprocess.run([program, "--gtest_list_tests"], capture_output=True, text=True,
                               check=True).stdout.splitlines():
        if not line.startswith(" "):
            suite = line.strip()
        else:
            names.append(suite + line.split("#")[0].strip())
    return names


def ctest_names(ctest, build):
    out = subprocess.run([ctest, "-N", "--test-dir", build], capture_output=True, text=True, check=True).stdout
    return re.findall(r"Test\s+#\d+: (\S+)", out)


def main():
    program, ctest, build = sys.argv[1:4]
    registered = gtest_names(program) + ctest_names(ctest, build)
    problems, rows = [], 0
    for line in (ROOT / "docs" / "robustness.md").read_text(encoding="utf-8").splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if not line.startswith("|") or len(cells) < 3 or set(cells[0]) <= set("-") or cells[0] == "Input":
            continue
        rows += 1
        names = re.findall(r"`([A-Za-z_][\w/.]*)`", cells[-1])
        if not names:
            problems.append(f"row without a test: {cells[0]}")
        for name in names:
            if not any(r == name or r.startswith(name + "/") or r.startswith(name + ".") for r in registered):
                problems.append(f"no registered test {name}")
    if rows == 0:
        problems.append("no rows found")
    for p in problems:
        print(p)
    print(f"{rows} rows checked against {len(registered)} registered tests")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
