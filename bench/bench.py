#!/usr/bin/env python3
"""Runs the benchmark measurements (bench/run.sh builds first) and prints the results as the
Markdown tables of docs/performance.md; they are also written to BUILD/results.md.

Every measurement runs in a process of its own, so that the peak memory is its own:
quorv_bench for quorv and the floor, PoiBench (compiled here against Debian's POI jars) for POI.
"""

import argparse
import json
import os
import pathlib
import platform
import struct
import subprocess
import sys
import zlib

HERE = pathlib.Path(__file__).resolve().parent
JAVA_DIR = pathlib.Path("/usr/share/java")
JARS = ["poi.jar", "poi-scratchpad.jar", "commons-collections4.jar", "commons-math3.jar", "commons-codec.jar",
        "commons-logging.jar"]
MB = 1e6


def write_png(path, width=64, height=48):
    """A 64 x 48 RGB picture with a colour gradient (about 8 kB)."""
    rows = b"".join(b"\x00" + bytes(v for x in range(width) for v in ((x * 4) & 255, (y * 5) & 255, ((x + y) * 2) & 255))
                    for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                     + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def repeats(n):
    return 20 if n <= 10 else 10 if n <= 100 else 5 if n <= 1000 else 3


def run_json(cmd, timeout=None):
    out = subprocess.run(cmd, capture_output=True, text=True, timeout=timeout, check=True).stdout
    return json.loads(out.strip().splitlines()[-1])


def compile_poi(build):
    classes = build / "poi-bench"
    classes.mkdir(parents=True, exist_ok=True)
    cp = ":".join(str(JAVA_DIR / j) for j in JARS if (JAVA_DIR / j).exists())
    subprocess.run(["javac", "-nowarn", "-Xlint:-path", "-cp", cp, "-d", str(classes), str(HERE / "PoiBench.java")],
                   check=True)
    return cp + ":" + str(classes)


def machine():
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    mem = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 2**30
    java = subprocess.run(["java", "-version"], capture_output=True, text=True).stderr.splitlines()[0]
    gcc = subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    return f"{cpu}, {os.cpu_count()} cores, {mem:.0f} GiB; {platform.system()} {platform.release()}; {gcc}; {java}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build/bench")
    ap.add_argument("sizes", nargs="*", type=int, default=[10, 100, 1000, 10000])
    args = ap.parse_args()
    build = pathlib.Path(args.build).resolve()
    tool = build / "bench" / "quorv_bench"
    out = build / "out"
    out.mkdir(parents=True, exist_ok=True)
    png = out / "picture-64x48.png"
    write_png(png)
    classpath = compile_poi(build)
    poi_timeout = float(os.environ.get("QUORV_BENCH_POI_TIMEOUT", "1800"))

    load_before = os.getloadavg()[0]
    rows = []
    for n in args.sizes:
        print(f"N = {n} ...", file=sys.stderr, flush=True)
        q = run_json([str(tool), "deck", str(n), str(out / "quorv.ppt"), str(png), str(repeats(n))])
        f = run_json([str(tool), "floor", str(q["bytes"]), str(out / "floor.bin"), str(repeats(n))])
        try:
            p = run_json(["java", "-Xmx12g", "-cp", classpath, "PoiBench", str(n), str(out / "poi.ppt"), str(png),
                          "1" if n >= 1000 else "3"], timeout=poi_timeout)
        except subprocess.TimeoutExpired:
            p = None
        rows.append((n, q, f, p))

    lines = [f"Machine: {machine()}; load average {load_before:.2f} at the start, {os.getloadavg()[0]:.2f} at the end",
             "",
             "| N | output | build | save | save per slide | slides/s | MB/s | floor | save / floor "
             "| peak memory | document | save adds | limit (output + 16 MB) |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for n, q, f, p in rows:
        # The document's own memory: resident growth while it is built; the save's addition: the
        # peak beyond the process before the save (start-up and the document).
        adds = q["peak_rss"] - q["base_rss"] - q["model_rss"]
        lines.append(
            f"| {n:,} | {q['bytes'] / MB:.2f} MB | {q['build_s'] * 1e3:.2f} ms | {q['save_s'] * 1e3:.2f} ms | "
            f"{q['save_s'] / n * 1e6:.1f} us | {n / q['save_s']:,.0f} | {q['bytes'] / MB / q['save_s']:.0f} | "
            f"{f['floor_s'] * 1e3:.2f} ms | {q['save_s'] / f['floor_s']:.1f} | {q['peak_rss'] / MB:.1f} MB | "
            f"{q['model_rss'] / MB:.1f} MB | {adds / MB:.1f} MB | {(q['bytes'] + 16 * MB) / MB:.1f} MB |")
    lines += ["", "| N | quorv build + save | POI build | POI save | POI build + save | POI output | POI / quorv |",
              "|---:|---:|---:|---:|---:|---:|---:|"]
    for n, q, f, p in rows:
        ours = q["build_s"] + q["save_s"]
        if p is None:
            lines.append(f"| {n:,} | {ours * 1e3:.2f} ms | not finished in {poi_timeout:.0f} s | | | | "
                         f"> {poi_timeout / ours:,.0f} |")
        else:
            theirs = p["build_s"] + p["save_s"]
            lines.append(f"| {n:,} | {ours * 1e3:.2f} ms | {p['build_s']:.3f} s | {p['save_s']:.3f} s | "
                         f"{theirs:.3f} s | {p['bytes'] / MB:.2f} MB | {theirs / ours:,.0f} |")
    text = "\n".join(lines) + "\n"
    (build / "results.md").write_text(text)
    print(text)


if __name__ == "__main__":
    main()
