#!/usr/bin/python3
"""Serves the site as real hosting would for a measurement such as
Lighthouse's: HTTP/1.1 with keep-alive, and the page, its scripts and its
JSON gzipped on the fly for a browser that accepts it (as nginx's "gzip on"
does). The data and the module are already gzipped files the page inflates
itself, and the music is Ogg: those go as they are.

usage: bench/compressing_server.py [--site build-web/site] [--port 8000]"""
import argparse
import functools
import gzip
import http.server
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
COMPRESSED_TYPES = ("text/", "application/javascript", "application/json", "application/manifest+json",
                    "image/svg+xml")


class CompressingHandler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".js": "application/javascript",
                      ".webmanifest": "application/manifest+json", ".gz": "application/gzip"}

    def send_head(self):
        path = Path(self.translate_path(self.path))
        kind = self.guess_type(str(path))
        wants_gzip = "gzip" in self.headers.get("Accept-Encoding", "")
        if not path.is_file() or not wants_gzip or not kind.startswith(COMPRESSED_TYPES):
            return super().send_head()
        body = gzip.compress(path.read_bytes(), compresslevel=6)
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Vary", "Accept-Encoding")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        return _Body(body)

    def log_message(self, *args):
        pass


class _Body:
    """What send_head returns: a file-like the handler copies and closes."""

    def __init__(self, data):
        self.data = data

    def read(self, size=-1):
        data, self.data = (self.data, b"") if size < 0 else (self.data[:size], self.data[size:])
        return data

    def close(self):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", type=Path, default=ROOT / "build-web/site")
    parser.add_argument("--port", type=int, default=8000)
    args = parser.parse_args()
    handler = functools.partial(CompressingHandler, directory=str(args.site))
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        print(f"serving {args.site} at http://127.0.0.1:{args.port}/, gzipped on the fly", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
