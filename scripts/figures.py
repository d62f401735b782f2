#!/usr/bin/python3
"""Writes docs/figures.md, the times and sizes the README quotes, from what
the scripts measured: log/times.tsv (each stage's seconds and the load when it
ended, appended by scripts/lib.sh) and the web site's sizes, which its build
wrote into build-web/figures.md (tools/web/make_site.py).
A stage not in the log keeps the figure it had, so a partial run updates only
what it measured. Run by `scripts/test.sh --figures`; commit the result."""
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FIGURES = ROOT / "docs" / "figures.md"
ROW = re.compile(r"^\| *([a-z0-9-]+) *\| *(\d+) *\| *([0-9.]*) *\|")

# What each stage is, in the order the table lists them.
STAGES = {
    "setup-play": "installing what playing needs on a fresh Debian 12 (scripts/play.sh, first step)",
    "play-configure": "configuring the game (scripts/play.sh)",
    "play-build": "building the game (scripts/play.sh)",
    "setup-test": "installing what the tests need on a fresh Debian 12",
    "build-ordinary": "building the ordinary build",
    "ctest-ordinary": "the ordinary build's tests",
    "build-sanitizer": "building under the sanitizers",
    "ctest-sanitizer": "the sanitizer build's tests",
    "build-headless": "building without the desktop",
    "web-build": "compiling the game to WebAssembly",
    "web-site": "recording the music and assembling the site",
    "browser-tests": "the browser tests",
    "cross-arm64": "the arm64 build's traces under qemu (scripts/cross.sh arm64 --quick)",
    "fuzzing": "building and running the fuzz targets",
    "test-run": "the whole of scripts/test.sh",
}


def read_table():
    kept = {}
    if FIGURES.exists():
        for line in FIGURES.read_text().splitlines():
            match = ROW.match(line)
            if match:
                kept[match.group(1)] = (int(match.group(2)), match.group(3))
    return kept


def main():
    times = read_table()
    log = ROOT / "log" / "times.tsv"
    if log.exists():
        for line in log.read_text().splitlines():
            name, seconds, load = (line.split("\t") + ["", ""])[:3]
            if name in STAGES and seconds.isdigit():
                times[name] = (int(seconds), load)
    lines = [
        "# Measured figures",
        "",
        "Written by `scripts/figures.py` (`scripts/test.sh --figures`) from the",
        "scripts' own measurements; the README quotes them, and `scripts/test.sh`",
        "compares each stage with its time here to say when the machine is busy.",
        "Measured on two cores; the load is the one-minute load average as the",
        "stage ended.",
        "",
        "| stage | seconds | load | what |",
        "|---|---:|---:|---|",
    ]
    for name, what in STAGES.items():
        if name in times:
            seconds, load = times[name]
            lines.append(f"| {name} | {seconds} | {load} | {what} |")
    site = ROOT / "build-web" / "figures.md"  # the site's sizes, as its build wrote them
    if site.is_file():
        lines += [""] + site.read_text().rstrip("\n").splitlines()
    else:
        old = FIGURES.read_text() if FIGURES.exists() else ""
        at = old.find("| the web site")
        if at >= 0:
            lines += [""] + old[at:].rstrip("\n").splitlines()
    FIGURES.write_text("\n".join(lines) + "\n")
    print(f"figures: {FIGURES.relative_to(ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
