"""Every row of docs/robustness.md names a test, and every test it names is registered: a case of
the cases program (as --gtest_list_tests lists it; a prefix names a family of rows) or a ctest test.
Usage: check_robustness_catalogue.py TEST_CASES_PROGRAM CTEST BUILD_DIR"""
import pathlib
import re
import subprocess
import sys


def listed(*cmd):
    return subprocess.run(cmd, capture_output=True, text=True, check=True).stdout


def main(program, ctest, build):
    registered, suite = re.findall(r"Test\s+#\d+: (\S+)", listed(ctest, "-N", "--test-dir", build)), ""
    for line in listed(program, "--gtest_list_tests").splitlines():
        suite = suite if line.startswith(" ") else line.strip()
        registered.append(suite + line.split("#")[0].strip() if line.startswith(" ") else "")
    catalogue = (pathlib.Path(__file__).resolve().parents[2] / "docs/robustness.md").read_text(encoding="utf-8")
    rows = [[c.strip() for c in line.strip("|").split("|")] for line in catalogue.splitlines()
            if line.startswith("|") and not re.match(r"\|\s*(-|Input)", line)]
    problems = [f"row without a test: {r[0]}" for r in rows if not re.search(r"`[\w/.]+`", r[-1])]
    problems += [f"no registered test {name}" for r in rows for name in re.findall(r"`([A-Za-z_][\w/.]*)`", r[-1])
                 if not any(t == name or t.startswith((name + "/", name + ".")) for t in registered)]
    print("\n".join(problems + [f"{len(rows)} rows checked against {len(registered)} registered tests"]))
    return 1 if problems or not rows else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
