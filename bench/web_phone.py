#!/usr/bin/python3
"""The web edition on a phone's terms, in headless Chromium: Fast 3G
(150 ms latency, 200 000 bytes/s down, 750 kbit/s up) and the CPU slowed 4x.
Prints the time from navigation to the first picture on a first visit and
offline from the service worker's copy, and the frame pacing of live play.

usage: bench/web_phone.py [--site build-web/site]"""
import argparse
import statistics
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests/web"))
from browser_test import serve, start_browser, wait_for  # noqa: E402

FAST_3G = {"offline": False, "latency": 150, "downloadThroughput": 200000, "uploadThroughput": 750000 / 8}
FIRST_PICTURE = "window.kuzari && kuzari.frames_drawn > 0 && kuzari.t_first_frame"


def slow_down(driver, offline=False):
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {**FAST_3G, "offline": offline})
    driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 4})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", type=Path, default=ROOT / "build-web/site")
    args = parser.parse_args()
    server = serve(args.site.resolve())
    base = f"http://127.0.0.1:{server.server_address[1]}"
    with tempfile.TemporaryDirectory() as profile:
        driver = start_browser(profile)
        try:
            slow_down(driver)
            driver.get(f"{base}/index.html?lang=en")
            first = wait_for(driver, FIRST_PICTURE, 60)
            print(f"first visit, Fast 3G, CPU 4x slower: first picture {first:.0f} ms after navigation")
            # The site kept: the worker's copy is whole once every file has come.
            wait_for(driver, "navigator.serviceWorker.controller && caches.keys().then(k => k.some("
                     "n => n.startsWith('kuzari-build-')))", 120)
            time.sleep(5)
            wait_for(driver, "caches.keys().then(async names => { for (const n of names) if (n.startsWith("
                     "'kuzari-build-') && await (await caches.open(n)).match(new URL('__kuzari/whole',"
                     " location.href).href)) return true; return false; })", 120)
            server.shutdown()
            server.server_close()
            slow_down(driver, offline=True)
            driver.refresh()
            offline = wait_for(driver, FIRST_PICTURE, 60)
            print(f"offline from the worker's copy, CPU 4x slower: first picture {offline:.0f} ms after navigation")
            time.sleep(12)  # live play on the title
            refreshes = driver.execute_script("return kuzari.refreshes;")
            start = refreshes[0][3] + 1000
            times = [now for _, _, _, now in refreshes if now >= start]
            intervals = [b - a for a, b in zip(times, times[1:])]
            over = sum(interval > 20 for interval in intervals)
            print(f"frame pacing, CPU 4x slower: median interval {statistics.median(intervals):.2f} ms, "
                  f"{100 * over / len(intervals):.2f} % over 20 ms ({len(intervals)} intervals)")
        finally:
            driver.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
