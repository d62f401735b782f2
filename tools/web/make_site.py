#!/usr/bin/python3
"""Assembles the web edition's site: the page and its modules, the game's
WebAssembly, the data files gzipped (the page inflates them to the very bytes
the desktop reads) and the music recorded by render_music and compressed with
oggenc, with manifest.json naming them all.

usage: make_site.py --wasm KUZARI.wasm --render-music TOOL --cache DIR --out SITE

Recordings are kept in the cache under a key made of everything they come
from, so a second build renders nothing that has not changed."""
import argparse
import gzip
import hashlib
import json
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent
WEB = ROOT / "src" / "hosts" / "web"
DATA = ROOT / "data"
PAGE_FILES = ["index.html"] + sorted(path.name for path in WEB.glob("*.js"))  # the page and its modules
DATA_FOLDERS = ["bitmap", "wave", "voice", "midi", "lang/en", "font"]
SOUNDFONT = Path("/usr/share/sounds/sf2/TimGM6mb.sf2")  # the desktop's first choice
# The pieces the game plays in a loop (play_music's loop flag in src/scenes);
# the others it plays once. The browser tests hold this against the game's calls.
LOOPING = {"title.mid", "main.mid"}
OGG_QUALITY = "2"


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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wasm", required=True)
    parser.add_argument("--render-music", required=True)
    parser.add_argument("--cache", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    out, cache = Path(args.out), Path(args.cache)
    if out.exists():
        shutil.rmtree(out)
    (out / "music").mkdir(parents=True)
    cache.mkdir(parents=True, exist_ok=True)

    for name in PAGE_FILES:
        shutil.copyfile(WEB / name, out / name)
    shutil.copyfile(args.wasm, out / "kuzari.wasm")

    paths = data_files()
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

    manifest = {"data": paths, "music": pieces}
    (out / "manifest.json").write_text(json.dumps(manifest, indent=1) + "\n")

    sizes = {}
    for path in out.rglob("*"):
        if path.is_file():
            part = path.relative_to(out).parts[0] if len(path.relative_to(out).parts) > 1 else "page"
            part = "kuzari.wasm" if path.name == "kuzari.wasm" else part
            sizes[part] = sizes.get(part, 0) + path.stat().st_size
    total = sum(sizes.values())
    print("site: " + ", ".join(f"{part} {size / 1000:.0f} kB" for part, size in sorted(sizes.items())) +
          f"; {total / 1e6:.2f} MB in all")
    return 0


if __name__ == "__main__":
    sys.exit(main())
