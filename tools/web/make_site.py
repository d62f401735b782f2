#!/usr/bin/python3
"""Assembles the web edition's site: the page and its modules, the game's
WebAssembly and the data files gzipped (the page inflates them to the very bytes
the desktop reads) and the music recorded by render_music and compressed with
oggenc, with manifest.json naming them all; the icons drawn by kuzari-icongen
and kuzari.webmanifest, so that the page installs; and the service worker
with site.json, every file's hash and the build's version made of them all,
so that the page plays offline and a new build replaces the old whole.

usage: make_site.py --wasm KUZARI.wasm --render-music TOOL --icongen TOOL --cache DIR --out SITE
                    [--figures FILE]

--figures writes the site's sizes as a Markdown table, the figures the README
points to (scripts/figures.py copies it into docs/figures.md).

Recordings are kept in the cache under a key made of everything they come
from, so a second build renders nothing that has not changed."""
import argparse
import base64
import gzip
import hashlib
import json
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent
WEB = ROOT / "src" / "hosts" / "web"
DATA = ROOT / "data"
WORKER = "service_worker.js"  # the version's carrier, at the site's root so that it serves the whole site
# The page's modules go out as two bundles, minified: the page's and test
# mode's, which only the tests load. One request in place of a dozen and
# more, each waiting on the one that imports it.
ENTRIES = ["main.js", "test_mode.js"]
ESBUILD = "esbuild"
ICON_SIZES = [32, 192, 512]  # the favicon, then what installing asks for
MASKABLE_SIZE = 512  # for launchers that cut icons to a shape of their own
BACKGROUND = "#000000"  # the page's own
DATA_FOLDERS = ["bitmap", "wave", "voice", "midi", "lang/en", "font"]
SOUNDFONT = Path("/usr/share/sounds/sf2/TimGM6mb.sf2")  # the desktop's first choice
# The pieces the game plays in a loop (play_music's loop flag in src/scenes);
# the others it plays once. The browser tests hold this against the game's calls.
LOOPING = {"title.mid", "main.mid"}
OGG_QUALITY = "2"
# What start-up and the title read, in either language: the page preloads them
# and starts the game once they are here, the rest coming after. The font too:
# the options and captions read it outside the game's steps, where no step can
# stand still to wait for it.
FIRST = re.compile(r"^(lang/en/)?(bitmap/title\.bmp|wave/|midi/)|^font/")
TITLE_DATA = "<!-- the title's data (make_site.py) -->"


def fnv1a64(data):
    """64-bit FNV-1a, as the web host hashes a MIDI file to find its recording."""
    value = 0xcbf29ce484222325
    for byte in data:
        value = ((value ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return value


def data_files():
    files = []
    for folder in DATA_FOLDERS:
        files += sorted(path for path in (DATA / folder).rglob("*") if path.is_file())
    return [path.relative_to(DATA).as_posix() for path in files]


def record(midi, tool, cache):
    """The piece's recording (Ogg Vorbis) and its points, from the cache or made now."""
    name = midi.name
    loop = name in LOOPING
    key = hashlib.sha256()
    for part in (midi.read_bytes(), Path(tool).read_bytes(), SOUNDFONT.read_bytes(),  # what it is made from
                 f"loop={loop} oggenc -q {OGG_QUALITY}".encode()):
        key.update(hashlib.sha256(part).digest())
    stem = cache / f"{midi.stem}-{key.hexdigest()[:16]}"
    ogg, points = stem.with_suffix(".ogg"), stem.with_suffix(".json")
    if not (ogg.exists() and points.exists()):
        with tempfile.TemporaryDirectory() as scratch:
            wav = Path(scratch) / "piece.wav"
            made = subprocess.run([tool] + (["--loop"] if loop else []) + [str(SOUNDFONT), str(midi), str(wav)],
                                  check=True, capture_output=True, text=True)
            subprocess.run(["oggenc", "-Q", "-q", OGG_QUALITY, "-o", str(ogg) + ".part", str(wav)], check=True)
        Path(str(ogg) + ".part").rename(ogg)
        points.write_text(made.stdout)
    return ogg, json.loads(points.read_text())


def write_icons(out, icongen):
    (out / "icons").mkdir()
    arguments = []
    for size in ICON_SIZES:
        arguments += [str(size), str(out / "icons" / f"kuzari-{size}.png")]
    arguments += [f"m{MASKABLE_SIZE}", str(out / "icons" / f"kuzari-maskable-{MASKABLE_SIZE}.png")]
    subprocess.run([icongen] + arguments, check=True)
    manifest = {
        "name": "Kuzari", "short_name": "Kuzari",
        "start_url": "./", "scope": "./",
        "display": "fullscreen", "display_override": ["fullscreen", "standalone"],
        "orientation": "landscape",
        "theme_color": BACKGROUND, "background_color": BACKGROUND,
        "icons": [{"src": f"icons/kuzari-{size}.png", "sizes": f"{size}x{size}", "type": "image/png"}
                  for size in ICON_SIZES if size >= 192] +
                 [{"src": f"icons/kuzari-maskable-{MASKABLE_SIZE}.png", "sizes": f"{MASKABLE_SIZE}x{MASKABLE_SIZE}",
                   "type": "image/png", "purpose": "maskable"}],
    }
    (out / "kuzari.webmanifest").write_text(json.dumps(manifest, indent=1) + "\n")


def bundle(out):
    """The page's modules bundled by esbuild into `out`: each entry whole, a
    chunk for what the two share, if anything."""
    subprocess.run([ESBUILD, "--bundle", "--splitting", "--format=esm", "--minify", "--target=es2022",
                    "--log-level=warning", "--chunk-names=chunk-[hash]", f"--outdir={out}"] +
                   [str(WEB / name) for name in ENTRIES], check=True)


def seal(out):
    """site.json: every file's SHA-256 (as fetch's integrity wants it) and the
    version made of them all; the worker carries the version, so a new build
    is a new worker to the browser. Also run by the tests on changed copies."""
    files = {}
    for path in sorted(out.rglob("*")):
        name = path.relative_to(out).as_posix()
        if path.is_file() and name not in (WORKER, "site.json"):
            files[name] = "sha256-" + base64.b64encode(hashlib.sha256(path.read_bytes()).digest()).decode()
    version = hashlib.sha256(json.dumps(files, sort_keys=True).encode()).hexdigest()[:16]
    (out / "site.json").unlink(missing_ok=True)
    (out / "site.json").write_text(json.dumps({"version": version, "files": files}, indent=1) + "\n")
    worker = (WEB / WORKER).read_text()
    assert worker.count("const VERSION = 'unsealed';") == 1
    worker = worker.replace("const VERSION = 'unsealed';", f"const VERSION = '{version}';")
    (out / WORKER).unlink(missing_ok=True)  # a copy's may be a link to the original's
    (out / WORKER).write_text(worker)
    return version


def site_figures(out, first):
    """The site's sizes by part, as served (gzipped where the page inflates
    them), with what a first visit fetches before the title: {name: bytes}."""
    sizes = {}
    for path in out.rglob("*"):
        if path.is_file():
            parts = path.relative_to(out).parts
            part = path.name if path.name == "kuzari.wasm.gz" else parts[0] if len(parts) > 1 else "page"
            sizes[part] = sizes.get(part, 0) + path.stat().st_size
    figures = dict(sorted(sizes.items()))
    figures["kuzari.wasm, inflated"] = len(gzip.decompress((out / "kuzari.wasm.gz").read_bytes()))
    figures["the data, inflated"] = sum((DATA / path).stat().st_size for path in data_files())
    figures["main.js, the page's scripts bundled"] = (out / "main.js").stat().st_size
    before_title = ["index.html", "main.js", "manifest.json", "kuzari.wasm.gz"] + [f"data/{path}.gz" for path in first]
    figures["fetched before the title, first visit"] = sum((out / name).stat().st_size for name in before_title)
    figures["in all"] = sum(sizes.values())
    return figures


def write_figures(path, figures):
    lines = ["| the web site, as scripts/web.sh built it | kB |", "|---|---:|"]
    lines += [f"| {name} | {size / 1000:.0f} |" for name, size in figures.items()]
    Path(path).write_text("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wasm", required=True)
    parser.add_argument("--render-music", required=True)
    parser.add_argument("--icongen", required=True)
    parser.add_argument("--cache", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--figures", help="the site's sizes, as a Markdown table")
    args = parser.parse_args()
    out, cache = Path(args.out), Path(args.cache)
    if out.exists():
        shutil.rmtree(out)
    (out / "music").mkdir(parents=True)
    cache.mkdir(parents=True, exist_ok=True)

    paths = data_files()
    first = [path for path in paths if FIRST.match(path)]
    bundle(out)
    page = (WEB / "index.html").read_text()
    assert page.count(TITLE_DATA) == 1
    (out / "index.html").write_text(page.replace(TITLE_DATA, "\n".join(
        f'<link rel="preload" href="data/{path}.gz" as="fetch" crossorigin>' for path in first)))
    # Gzipped, as the data: a phone's first visit waits for it.
    (out / "kuzari.wasm.gz").write_bytes(gzip.compress(Path(args.wasm).read_bytes(), compresslevel=9, mtime=0))

    for path in paths:
        target = out / "data" / (path + ".gz")
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(gzip.compress((DATA / path).read_bytes(), compresslevel=9, mtime=0))

    pieces, kept = [], set()
    for midi in sorted((DATA / "midi").glob("*.mid")):
        ogg, points = record(midi, args.render_music, cache)
        kept |= {ogg.name, ogg.with_suffix(".json").name}
        shutil.copyfile(ogg, out / "music" / (midi.stem + ".ogg"))
        data = midi.read_bytes()
        pieces.append({"name": midi.name, "file": f"music/{midi.stem}.ogg", "hash": f"{fnv1a64(data):016x}",
                       "size": len(data), "loops": midi.name in LOOPING, **points})

    for stale in cache.iterdir():  # recordings of pieces, tools or settings since changed
        if stale.name not in kept:
            stale.unlink()

    manifest = {"data": paths, "first": first, "music": pieces}
    (out / "manifest.json").write_text(json.dumps(manifest, indent=1) + "\n")
    write_icons(out, args.icongen)
    seal(out)

    figures = site_figures(out, first)
    if args.figures:
        write_figures(args.figures, figures)
    parts = [name for name in figures if name in ("data", "icons", "kuzari.wasm.gz", "music", "page")]
    print("site: " + ", ".join(f"{part} {figures[part] / 1000:.0f} kB" for part in parts) +
          f"; {figures['in all'] / 1e6:.2f} MB in all")
    return 0


if __name__ == "__main__":
    sys.exit(main())
