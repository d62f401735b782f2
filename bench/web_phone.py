#!/usr/bin/python3
"""The web edition on a phone's terms, in headless Chromium: Fast 3G
(150 ms latency, 200 000 bytes/s down, 750 kbit/s up) and the CPU slowed 4x.
Prints the time from navigation to the first picture on a first visit and
offline from the service worker's copy, and the frame pacing of live play.

Each run is a fresh browser; the medians of the runs come last, with the
machine's load average, as other work on the machine moves these figures.

usage: bench/web_phone.py [--site build-web/site] [--runs 5]"""
import argparse
import os
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


# Where the time to the first picture went: the page's answer, the modules,
# the module of the game, the title's data.
TIMELINE = """
const ms = t => Math.round(t), navigation = performance.getEntriesByType('navigation')[0];
const done = match => ms(Math.max(...performance.getEntriesByType('resource')
    .filter(e => match.test(e.name) && e.startTime < kuzari.t_first_frame).map(e => e.responseEnd)));
return `worker started ${ms(navigation.workerStart)} ms, page answered ${ms(navigation.responseEnd)} ms,`
    + ` modules ${done(/[.]js$/)} ms, game module ${done(/wasm/)} ms, title's data ${done(/data\\//)} ms;`
    + ' the page ' + performance.getEntriesByType('mark').filter(m => m.name.startsWith('kuzari-'))
        .map(m => `${m.name.slice(7)} ${ms(m.startTime)}`).join(', ') + ' ms';
"""


def slow_down(driver, offline=False):
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {**FAST_3G, "offline": offline})
    driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 4})


def one_run(site, pace):
    """A first visit and an offline one in a fresh browser: the times to the
    first picture (ms); with `pace`, the pacing of live play after them."""
    server = serve(site)
    base = f"http://127.0.0.1:{server.server_address[1]}"
    with tempfile.TemporaryDirectory() as profile:
        driver = start_browser(profile)
        try:
            slow_down(driver)
            driver.get(f"{base}/index.html?lang=en")
            first = wait_for(driver, FIRST_PICTURE, 60)
            print(f"first visit, Fast 3G, CPU 4x slower: first picture {first:.0f} ms after navigation")
            print("  of which: " + driver.execute_script(TIMELINE))
            # The site kept: the worker's copy is whole once every file has come.
            wait_for(driver, "navigator.serviceWorker.controller && caches.keys().then(k => k.some("
                     "n => n.startsWith('kuzari-build-')))", 120)
            wait_for(driver, "caches.keys().then(async names => { for (const n of names) if (n.startsWith("
                     "'kuzari-build-') && await (await caches.open(n)).match(new URL('__kuzari/whole',"
                     " location.href).href)) return true; return false; })", 120)
            server.shutdown()
            server.server_close()
            slow_down(driver, offline=True)
            driver.refresh()
            offline = wait_for(driver, FIRST_PICTURE, 60)
            print(f"offline from the worker's copy, CPU 4x slower: first picture {offline:.0f} ms after navigation")
            print("  of which: " + driver.execute_script(TIMELINE))
            if pace:
                measure_pace(driver)
        finally:
            driver.quit()
    return first, offline


def measure_pace(driver):
    # Every refresh's time, and those of the refreshes that ran a frame
    # (one in about 50 runs none at 60 Hz, the game's pace being 58.8).
    driver.execute_script("window.bench_refreshes = []; const tick = now => {"
                          " bench_refreshes.push(now); requestAnimationFrame(tick); };"
                          " requestAnimationFrame(tick);")
    time.sleep(11)
    every, framed = driver.execute_script(
        "return [bench_refreshes, kuzari.refreshes.map(refresh => refresh[3])];")
    for name, times in (("every refresh", every), ("refreshes that ran a frame", framed)):
        times = [now for now in times if now >= times[0] + 1000]
        intervals = [b - a for a, b in zip(times, times[1:])]
        over = sum(interval > 20 for interval in intervals)
        print(f"pacing, CPU 4x slower, {name}: median interval {statistics.median(intervals):.2f} ms, "
              f"{100 * over / len(intervals):.2f} % over 20 ms ({len(intervals)} intervals)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", type=Path, default=ROOT / "build-web/site")
    parser.add_argument("--runs", type=int, default=5, help="fresh browsers to measure, the medians said (5)")
    args = parser.parse_args()
    load_before = os.getloadavg()[0]
    firsts, offlines = [], []
    for run in range(args.runs):
        first, offline = one_run(args.site.resolve(), pace=run == args.runs - 1)
        firsts.append(first)
        offlines.append(offline)
    print(f"median of {args.runs}: first visit {statistics.median(firsts):.0f} ms"
          f" ({', '.join(f'{t:.0f}' for t in sorted(firsts))}), offline {statistics.median(offlines):.0f} ms"
          f" ({', '.join(f'{t:.0f}' for t in sorted(offlines))}); load average {load_before:.1f} before,"
          f" {os.getloadavg()[0]:.1f} after")
    return 0


if __name__ == "__main__":
    sys.exit(main())
