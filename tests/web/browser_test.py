#!/usr/bin/python3
"""The web edition's tests, in headless Chromium driven through chromedriver.

The page's test mode plays kuzari-replay scripts, and its recordings of live
play are played by kuzari-replay: either way every frame's picture hash and
every sound and piece of music asked for must be the same as kuzari-replay's.
Besides: the title on the canvas soon after load, exact to the pixel and
scaled by a whole factor; a key press and a gamepad starting a round, and the
hints' words for a pad and for a moved key over the title's hint line; touch
controls on an emulated phone, where they lie and a round played by touch; the
keys from the game's key table; Escape and "play again"; plain play without
test mode; the page's dialog for a missing file, holding the game
until it is closed; damaged files and a MIDI file the build did not record
behaving as they do in kuzari-replay; the recordings' lengths; full screen,
a hidden page standing still, the recording saved once the game is over and
?playback= of it, and watching one with pause, step, speeds and seeks by
keys, an emulated pad and touch; the player's records and best round kept in
the browser; the options over the game, kept across loads, and the voices'
captions; on a phone the options in rows for fingers, and its vibration as
bowls empty;
the web app manifest and its icons; the service worker's offline play and new
builds; the frames standing still while a file the game opens is held back.

usage: browser_test.py --site build-web/site --replay build/kuzari-replay [--figures FILE]
The last line counts the checks passed and failed."""
import argparse
import contextlib
import base64
import functools
import gzip
import http.server
import json
import re
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

ROOT = Path(__file__).resolve().parent.parent.parent
SCRIPTS = {
    "won_round": ROOT / "tests/reference/won_round.script",
    "detours": ROOT / "tests/reference/detours.script",
    "perfect": ROOT / "docs/screenshots/perfect.txt",
}
VOICE_SLOT = 7
WIDTH, HEIGHT = 1280, 800

passed = failed = 0
figures = {}


def check(name, ok, detail=""):
    global passed, failed
    print(f"{'ok  ' if ok else 'FAIL'} {name}{': ' + str(detail) if detail and not ok else ''}", flush=True)
    if ok:
        passed += 1
    else:
        failed += 1
    return ok


# ---- kuzari-replay ------------------------------------------------------------------

def replay_trace(replay, data, script_text, lang=None):
    """kuzari-replay's trace of a script, one dict a frame (frame 0 first)."""
    with tempfile.NamedTemporaryFile("w", suffix=".script") as script:
        script.write(script_text)
        script.flush()
        command = [replay, "--trace", "-", "--data", str(data)] + (["--lang", lang] if lang else []) + [script.name]
        run = subprocess.run(command, capture_output=True, text=True)
    # A box the game showed (broken data) is said and ends the run with status 1.
    if run.returncode != 0 and not (run.returncode == 1 and "the game showed a box" in run.stderr):
        raise subprocess.CalledProcessError(run.returncode, command, run.stdout, run.stderr)
    return [json.loads(line) for line in run.stdout.splitlines()]


def expected_sound(trace_line):
    """What a frame asked of the sound: the slots started and the music played."""
    clips, music = [], []
    for event in trace_line["events"]:
        if event[0] == "se":
            clips.append(event[1])
        elif event[0] == "voice":
            clips.append(VOICE_SLOT)
        elif event[0] == "music":
            music.append([Path(event[1]).name, 101 if event[2] else 1])
    return sorted(clips), music


def page_sound(events):
    clips = sorted(event[1] for event in events if event[0] == "clip")
    music = [[event[1], event[2]] for event in events if event[0] == "music"]
    return clips, music


def first_difference(a, b):
    for index, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return index, x, y
    return (min(len(a), len(b)), "length", f"{len(a)} vs {len(b)}") if len(a) != len(b) else None


def compare_run(name, page, trace):
    """The page's frames against kuzari-replay's: picture hashes, sounds and music."""
    hashes = [line["fb"] for line in trace]
    check(f"{name}: {len(hashes)} picture hashes, frame 0 on, equal kuzari-replay's",
          page["hashes"] == hashes, first_difference(page["hashes"], hashes))
    expected = [expected_sound(line) for line in trace]
    got = [page_sound(events) for events in page["events"]]
    clips = sum(len(frame[0]) for frame in expected)
    check(f"{name}: {clips} clips started and the music asked for, frame by frame, as kuzari-replay's",
          got == expected, first_difference(got, expected))


# ---- The page ---------------------------------------------------------------------------

class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(directory, port=0, handler_class=QuietHandler):
    handler = functools.partial(handler_class, directory=str(directory))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_browser(profile, language="en-US,en", autoplay=True):
    """Headless Chromium; with `autoplay` a page may make sound before any key press."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/lib/chromium/chromium"  # the program itself, not Debian's shell wrapper
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", f"--user-data-dir={profile}", f"--window-size={WIDTH},{HEIGHT}"]:
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"intl.accept_languages": language})  # navigator.language
    if autoplay:
        options.add_argument("--autoplay-policy=no-user-gesture-required")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_until(driver, expression, timeout=60):
    """The expression's value once it is true, or False after the timeout."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = driver.execute_script(f"return {expression};")
        if value:
            return value
        time.sleep(0.02)
    return False


def wait_for(driver, expression, timeout=60):
    """As wait_until, for a state the test cannot go on without."""
    value = wait_until(driver, expression, timeout)
    if not value:
        raise TimeoutError(f"waited {timeout} s for {expression}")
    return value


def page_errors(driver):
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def check_console(driver):
    """The console's errors since the last look (reading them empties the log)."""
    errors = page_errors(driver)
    check("no errors on the page's console", not errors, errors)


def run_script(driver, base, script, lang=None):
    """The page's test mode on a script; its hashes, events and boxes."""
    driver.get(f"{base}/index.html?replay=/scripts/{script}" + (f"&lang={lang}" if lang else ""))
    wait_for(driver, "window.kuzari && (kuzari.state === 'over' || kuzari.state === 'error')", timeout=300)
    return driver.execute_script(
        "return {state: kuzari.state, error: kuzari.error, hashes: kuzari.hashes, events: kuzari.events,"
        " boxes: kuzari.boxes, music_refused: kuzari.music_refused, sources: kuzari.sources_started,"
        " replay_ms: kuzari.replay_ms};")


def press(driver, key, hold=0.05):
    ActionChains(driver).key_down(key).pause(hold).key_up(key).perform()


def tap_between_frames(driver, code, key):
    """A key down and up in the same turn, between two frames."""
    driver.execute_script(
        "for (const type of ['keydown', 'keyup'])"
        f" dispatchEvent(new KeyboardEvent(type, {{code: '{code}', key: '{key}'}}));")


def canvas_picture_hash(driver):
    """The canvas's pixels back in RGB565, hashed as the game hashes its picture,
    with the number of frames presented so far read in the same turn (test mode's)."""
    rgba, frames = driver.execute_script(
        "const c = document.getElementById('screen');"
        "const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
        "return [Array.from(d), kuzari.hashes?.length];")
    value = 0xcbf29ce484222325
    for i in range(0, len(rgba), 4):
        pixel = (rgba[i] >> 3) << 11 | (rgba[i + 1] >> 2) << 5 | rgba[i + 2] >> 3
        value = ((value ^ (pixel & 0xFF)) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
        value = ((value ^ (pixel >> 8)) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return f"{value:016x}", frames


def live_recording(driver):
    return driver.execute_script(
        "return {recording: kuzari.recording(), hashes: kuzari.hashes, events: kuzari.events};")


def compare_recording(name, args, live):
    """A recording of live play, played by kuzari-replay, gives the same frames."""
    text = live["recording"]
    trace = replay_trace(args.replay, args.data, text)
    frames = len(trace) - 1
    # The page may have run a frame or two more since the recording was read.
    page = {"hashes": live["hashes"][:frames + 1], "events": live["events"][:frames + 1]}
    compare_run(name, page, trace)
    return text


# ---- The tests ----------------------------------------------------------------------------

def test_replays(driver, base, args):
    for name, path in SCRIPTS.items():
        page = run_script(driver, base, path.name)
        if not check(f"{name}: the page's test mode ran", page["state"] == "over", page["error"]):
            continue
        figures[f"replay_{name}_frames_per_second"] = round(1000 * len(page["hashes"]) / page["replay_ms"])
        compare_run(name, page, replay_trace(args.replay, args.data, path.read_text()))
        manifest = json.loads((args.site / "manifest.json").read_text())
        loops = {piece["name"]: piece["loops"] for piece in manifest["music"]}
        asked = {(e[1], e[2]) for frame in page["events"] for e in frame if e[0] == "music"}
        check(f"{name}: the pieces the game loops were recorded to loop, the others to play once",
              all(loops.get(piece) == (plays > 1) for piece, plays in asked), asked)
    page = run_script(driver, base, "detours.script", lang="en")
    compare_run("detours in English", page,
                replay_trace(args.replay, args.data, SCRIPTS["detours"].read_text(), lang="en"))


def test_live(driver, base, args):
    driver.get(f"{base}/index.html?lang=en&seed=1&record=1")
    wait_for(driver, "window.kuzari && (kuzari.frames_drawn > 0 || kuzari.state === 'error')")
    first = driver.execute_script("return kuzari.t_first_frame;")
    # How soon is a figure (bench/ measures it on a phone's connection), not a check: a
    # loaded machine would fail any bound that a slow page must fail.
    figures["first_frame_ms"] = round(first, 1)
    title = replay_trace(args.replay, args.data, "1\n", lang="en")
    first_hash = driver.execute_script("return kuzari.hashes[1];")
    check("the first frame drawn is the title's first picture", first_hash == title[1]["fb"])

    wait_for(driver, "kuzari.hashes.length > 90")  # the title has opened
    shown, frames = canvas_picture_hash(driver)
    hashes = driver.execute_script("return kuzari.hashes;")
    check("the canvas holds the last frame's picture, exact to the pixel", shown == hashes[frames - 1],
          (shown, hashes[frames - 1]))
    left, top, width, height, inner_w, inner_h, dpr, rendering = driver.execute_script(
        "const c = document.getElementById('screen'); const r = c.getBoundingClientRect();"
        "return [r.left, r.top, r.width, r.height, innerWidth, innerHeight, devicePixelRatio,"
        " getComputedStyle(c).imageRendering];")
    scale = width * dpr / 320
    check("the canvas is scaled by the largest whole factor that fits, centred, pixelated",
          scale == int(scale) and height * dpr == 240 * scale and
          int(min(inner_w * dpr / 320, inner_h * dpr / 240)) == scale and
          abs(left - (inner_w - width) / 2) <= 0.5 and abs(top - (inner_h - height) / 2) <= 0.5 and
          rendering == "pixelated", (left, top, width, height, inner_w, inner_h, dpr, rendering))
    if args.screenshot:
        driver.save_screenshot(args.screenshot)

    scene_before = driver.execute_script("return kuzari.scene();")
    tap_between_frames(driver, "Enter", "Enter")  # the tap still counts
    wait_for(driver, "kuzari.scene() === 1")
    wait_for(driver, "kuzari.hashes.length > 600")  # the round opens and the girl is in her lane
    ActionChains(driver).key_down(Keys.ENTER).perform()  # throw, and keep throwing
    time.sleep(1.0)
    ActionChains(driver).key_up(Keys.ENTER).perform()
    # The refill key's second code: the page's keys come from the game's key table.
    tap_between_frames(driver, "ShiftRight", "Shift")
    frames = driver.execute_script("return kuzari.hashes.length;")
    wait_for(driver, f"kuzari.hashes.length > {max(700, frames + 10)}")
    live = live_recording(driver)
    check("a key pressed and released between two frames counts in the next one",
          "\n1 enter\n" in live["recording"], live["recording"])
    check("the right Shift plays the refill key, as the game's key table says",
          "\n1 shift\n" in live["recording"], live["recording"])
    title_pictures = set(live["hashes"][:90])
    check("a key press starts a round, and the picture is the title's no more",
          scene_before == 0 and driver.execute_script("return kuzari.scene();") == 1 and
          live["hashes"][-1] not in title_pictures)
    text = compare_recording("live play with the keyboard", args, live)
    trace = replay_trace(args.replay, args.data, text)
    shots = [index for index, line in enumerate(trace) if any(e[0] == "se" for e in line["events"])
             and line["top_scene"] == 1]
    sources = driver.execute_script("return kuzari.sources_started;")
    check("throwing in the round starts effects, each an AudioBufferSourceNode",
          len(shots) > 0 and sources >= len(shots), f"{len(shots)} frames with effects, {sources} nodes")

    press(driver, Keys.ESCAPE)
    wait_for(driver, "kuzari.state === 'over'")
    offered = driver.execute_script("return !document.getElementById('over').hidden;")
    drawn = driver.execute_script("return kuzari.frames_drawn;")
    driver.find_element("id", "again").click()
    wait_for(driver, f"kuzari.state === 'running' && kuzari.frames_drawn > {drawn + 30}")
    check("Escape ends the game, and 'play again' starts it afresh on the title",
          offered and driver.execute_script("return kuzari.scene();") == 0)
    check_console(driver)


def measure_refreshes(driver):
    """Figures: the main thread's work a frame (stepping the game and drawing),
    the drawing alone, and the pace, over the refreshes that ran a frame."""
    refreshes = driver.execute_script("return kuzari.refreshes;")[1:]  # the first one starts the game
    per_frame = sorted(work / frames for work, frames, _, _ in refreshes)
    drawing = sorted(draw for _, _, draw, _ in refreshes)
    frames = sum(frames for _, frames, _, _ in refreshes[1:])
    figures["work_per_frame_ms"] = {"median": round(statistics.median(per_frame), 3),
                                    "p95": round(per_frame[int(0.95 * len(per_frame))], 3),
                                    "max": round(per_frame[-1], 3), "refreshes": len(per_frame)}
    figures["drawing_ms"] = {"median": round(statistics.median(drawing), 3), "max": round(drawing[-1], 3)}
    figures["frames_per_second"] = round(1000 * frames / (refreshes[-1][3] - refreshes[0][3]), 2)


def measure_play(driver, base):
    """Figures of plain live play (no hashes, no recording): the title, then a
    round with the girl throwing."""
    driver.get(f"{base}/index.html?lang=en")
    wait_for(driver, "window.kuzari && kuzari.frames_drawn > 90")
    press(driver, Keys.ENTER)
    wait_for(driver, "kuzari.scene() === 1 && kuzari.frames_drawn > 600")
    ActionChains(driver).key_down(Keys.ENTER).perform()
    time.sleep(3.0)
    ActionChains(driver).key_up(Keys.ENTER).perform()
    measure_refreshes(driver)
    hooks = driver.execute_script(
        "return [kuzari.hashes, kuzari.recording, kuzari.decoded_length, kuzari.frame_events,"
        " performance.getEntriesByType('resource').filter(e => e.name.endsWith('/test_mode.js')).length];")
    check("plain play loads no test mode and sets up none of its hooks", hooks == [None, None, None, None, 0], hooks)


PAD = """
window.test_pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
    axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
navigator.getGamepads = () => [window.test_pad, null, null, null];
"""


def pad(driver, what):
    driver.execute_script(what)
    time.sleep(0.15)


@contextlib.contextmanager
def emulated_pad(driver):
    """The test pad on every page loaded meanwhile, and on none after."""
    script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PAD})["identifier"]
    try:
        yield
    finally:
        driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script})


def test_gamepad(driver, base, args):
    with emulated_pad(driver):
        driver.get(f"{base}/index.html?lang=en&seed=1&record=1")
        wait_for(driver, "window.kuzari && kuzari.hashes.length > 90")
        hint_line = "(w => w && !w.hidden && w.textContent)(document.getElementById('hint-words-title'))"
        before = driver.execute_script(f"return {hint_line};")
        pad(driver, "test_pad.buttons[13].pressed = true")   # d-pad down: the cursor to the rules
        pad(driver, "test_pad.buttons[13].pressed = false")
        said = wait_until(driver, hint_line, timeout=5)
        check("a pad's press lays the pad's words over the title's hint line, none before it",
              not before and said == "↑↓: choose  A: OK", (before, said))
        press(driver, Keys.SHIFT)  # the refill key does nothing on the title
        check("a key again, and the game's own line shows", wait_until(driver, f"!{hint_line}", timeout=5))
        pad(driver, "test_pad.axes[1] = -1")                  # the stick up: back to start
        pad(driver, "test_pad.axes[1] = 0")
        pad(driver, "test_pad.buttons[0].pressed = true")    # the south button: start
        pad(driver, "test_pad.buttons[0].pressed = false")
        wait_for(driver, "kuzari.scene() === 1")
        live = live_recording(driver)
        words = set(live["recording"].split())
        check("the gamepad's d-pad, stick and south button reach the game",
              {"jdown", "jup", "j1"} <= words, live["recording"])
        compare_recording("live play with a gamepad", args, live)
        # Throw moved to Z in the options: the keyboard's words name it.
        try:
            load_live(driver, base, kept=json.dumps({"keys": {"throw": "KeyZ"}}))
            said = wait_until(driver, hint_line, timeout=5)
            check("with throw moved to Z the title's hint line names Z", said == "Up/Down: choose  Z: OK", said)
        finally:
            driver.execute_script("localStorage.clear();")


TOUCH_LAYOUT = """
const rect = e => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };
const layer = document.getElementById('touch');
return {shown: !!layer && !layer.hidden && getComputedStyle(layer).display !== 'none',
    picture: rect(document.getElementById('screen')), slot: (s => [s.left, s.top, s.left + s.width, s.top + s.height].map(parseFloat))(
        document.getElementById('touch-menu-slot').style),
    controls: Object.fromEntries([...document.querySelectorAll('#touch .control')]
        .map(e => [e.getAttribute('aria-label'), rect(e)])),
    pressed: [...document.querySelectorAll('#touch .control.pressed')].map(e => e.getAttribute('aria-label')),
    width: innerWidth, height: innerHeight};
"""

# The layout at many screen sizes, the picture placed as screen.js places it:
# what covers the picture's middle, leaves the screen or lies on another control.
LAYOUT_SWEEP = """
const done = arguments[arguments.length - 1];
import('/modules/touch.js').then(({ touch_layout }) => {
    const faults = [];
    for (const [w, h, dpr] of [[568, 320, 2], [640, 360, 3], [740, 360, 4], [480, 320, 1], [800, 600, 1],
                               [1024, 768, 2], [360, 640, 3], [320, 568, 2], [375, 667, 2], [768, 1024, 2]]) {
        const scale = Math.max(1, Math.floor(Math.min(w * dpr / 320, h * dpr / 240)));
        const pw = 320 * scale / dpr, ph = 240 * scale / dpr, left = (w - pw) / 2, top = (h - ph) / 2;
        const picture = { left, top, right: left + pw, bottom: top + ph, width: pw, height: ph };
        const middle = [left + pw / 4, top + ph / 4, left + pw * 3 / 4, top + ph * 3 / 4];
        const boxes = Object.entries(touch_layout(w, h, picture))
            .map(([name, p]) => [name, [p.left, p.top, p.left + p.size, p.top + p.size]]);
        const meet = (a, b) => a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
        for (const [name, box] of boxes) {
            if (meet(box, middle)) faults.push(`${w}x${h}: ${name} covers the middle`);
            if (box[0] < 0 || box[1] < 0 || box[2] > w || box[3] > h) faults.push(`${w}x${h}: ${name} off the screen`);
            if (name !== 'slot' && box[2] - box[0] < 44) faults.push(`${w}x${h}: ${name} too small`);
            for (const [other, box2] of boxes)
                if (other > name && meet(box, box2)) faults.push(`${w}x${h}: ${name} on ${other}`);
        }
    }
    done(faults);
}, error => done([String(error)]));
"""


def emulate_phone(driver, width, height):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 3, "mobile": True})


def wait_for_viewport(driver, width, height):
    """The page's viewport at the phone's size (the page asks for the device's width)."""
    wait_for(driver, f"innerWidth === {width} && innerHeight === {height}", timeout=10)


def touch(driver, kind, points=()):
    """A touch event, each finger (id, (x, y)): touchStart and touchMove with
    every finger down, touchEnd with the fingers lifted (none: all of them)."""
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
        "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in points]})


def centre(box):
    return (box[0] + box[2]) / 2, (box[1] + box[3]) / 2


def layout_faults(layout, landscape):
    """What is wrong with where the controls are: each must be thumb-sized and
    clear of the picture's middle; beside the picture in landscape (there is
    room at these sizes), below it in portrait."""
    left, top, right, bottom = layout["picture"]
    w, h = right - left, bottom - top
    middle = (left + w / 4, top + h / 4, right - w / 4, bottom - h / 4)
    faults = []
    for name, (x0, y0, x1, y1) in layout["controls"].items():
        if x1 - x0 < 44 or y1 - y0 < 44:
            faults.append(f"{name} is {x1 - x0} x {y1 - y0}")
        if x0 < middle[2] and middle[0] < x1 and y0 < middle[3] and middle[1] < y1:
            faults.append(f"{name} covers the middle")
        if x0 < 0 or y0 < 0 or x1 > layout["width"] or y1 > layout["height"]:
            faults.append(f"{name} is off the screen")
        beside = x1 <= left if name in ("up", "down") else x0 >= right
        if (beside if landscape else y0 >= bottom) is False:
            faults.append(f"{name} at {(x0, y0, x1, y1)} is not {'beside' if landscape else 'below'} the picture")
    return faults


def test_touch(driver, base, args):
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    try:
        emulate_phone(driver, 844, 390)
        page_errors(driver)  # what an earlier group left in the log
        title_taps(driver, base, args)  # before any key press: touches after one come as mouse clicks
        driver.get(f"{base}/index.html?lang=en&seed=1&record=1")
        wait_for(driver, "window.kuzari && kuzari.hashes.length > 90")
        wait_for_viewport(driver, 844, 390)
        layout = driver.execute_script(TOUCH_LAYOUT)
        check("before a touch the touch controls are not shown",
              not layout["shown"] and all(box[2] == box[0] for box in layout["controls"].values()), layout)
        touch(driver, "touchStart", [(0, centre(layout["picture"]))])
        touch(driver, "touchEnd")
        layout = driver.execute_script(TOUCH_LAYOUT)
        check("the first touch brings up the controls: up, down, refill and throw",
              layout["shown"] and sorted(layout["controls"]) == ["down", "refill", "throw", "up"], layout)
        faults = layout_faults(layout, landscape=True)
        check("landscape: the controls beside the picture, thumb-sized", not faults, faults)
        slot = layout["slot"]
        check("landscape: the options slot at the top right, clear of the controls",
              slot[1] < layout["height"] / 4 and slot[2] > layout["width"] * 3 / 4 and
              not any(b[0] < slot[2] and slot[0] < b[2] and b[1] < slot[3] and slot[1] < b[3]
                      for b in layout["controls"].values()), layout)

        spot = {name: centre(box) for name, box in layout["controls"].items()}
        touch(driver, "touchStart", [(0, spot["throw"])])  # a tap between two frames: start
        touch(driver, "touchEnd")
        wait_for(driver, "kuzari.scene() === 1")
        wait_for(driver, "kuzari.hashes.length > 600")  # the round opens and the girl is in her lane
        touch(driver, "touchStart", [(0, spot["throw"])])  # throw, and keep throwing
        time.sleep(0.3)
        for lane in ("up", "down"):  # a second finger changes lane meanwhile
            touch(driver, "touchStart", [(0, spot["throw"]), (1, spot[lane])])
            time.sleep(0.15)
            held = driver.execute_script(TOUCH_LAYOUT)["pressed"]
            if lane == "down" and args.screenshot_touch:
                Path(args.screenshot_touch).write_bytes(driver.get_screenshot_as_png())
            touch(driver, "touchEnd", [(1, spot[lane])])
            time.sleep(0.3)
        check("two fingers at once: both controls show as pressed", sorted(held) == ["down", "throw"], held)
        refill_words = "(w => !w.hidden && w.textContent)(document.getElementById('hint-words-refill'))"
        emptied = wait_until(driver, refill_words, timeout=30)  # throw held until the stock is out
        touch(driver, "touchEnd")
        touch(driver, "touchStart", [(2, spot["refill"])])
        touch(driver, "touchEnd")
        check("with the stock out, touch words say the bowl refills, and go with the refill",
              emptied == "bowl: refill" and wait_until(driver, f"!{refill_words}", timeout=5), emptied)
        frames = driver.execute_script("return kuzari.hashes.length;")
        wait_for(driver, f"kuzari.hashes.length > {frames + 10}")
        live = live_recording(driver)
        lines = [set(line.split()[1:]) for line in live["recording"].splitlines() if not line.startswith("#")]
        check("touch play: a lane changed up and down while throw is held, and a refill",
              any({"enter", "up"} <= l for l in lines) and any({"enter", "down"} <= l for l in lines) and any("shift" in l for l in lines), live["recording"])
        check("touch play: no control is left held", not driver.execute_script(TOUCH_LAYOUT)["pressed"])
        compare_recording("live play by touch", args, live)

        emulate_phone(driver, 390, 844)
        wait_for_viewport(driver, 390, 844)
        time.sleep(0.1)
        layout = driver.execute_script(TOUCH_LAYOUT)
        faults = layout_faults(layout, landscape=False)
        check("portrait: the controls below the picture, thumb-sized", layout["shown"] and not faults, faults)
        faults = driver.execute_async_script(LAYOUT_SWEEP)
        check("at ten other screen sizes no control covers the picture's middle, another control or the"
              " options slot, and all are on the screen", not faults, faults)
        press(driver, Keys.SHIFT)
        check("a key press hides the controls", not driver.execute_script(TOUCH_LAYOUT)["shown"])
        touch(driver, "touchStart", [(0, centre(layout["picture"]))])
        touch(driver, "touchEnd")
        again = driver.execute_script(TOUCH_LAYOUT)["shown"]
        driver.execute_script(PAD + "test_pad.buttons[0].pressed = true;")
        check("the next touch brings them back, and a pad's button hides them",
              again and wait_until(driver, "document.getElementById('touch').hidden", timeout=5))

        # Throw bound to Z in the options: the touch control still throws.
        load_live(driver, base, kept=json.dumps({"keys": {"throw": "KeyZ"}}))
        wait_for_viewport(driver, 390, 844)
        touch(driver, "touchStart", [(0, centre(driver.execute_script(TOUCH_LAYOUT)["picture"]))])
        touch(driver, "touchEnd")
        throw = centre(driver.execute_script(TOUCH_LAYOUT)["controls"]["throw"])
        touch(driver, "touchStart", [(0, throw)])
        touch(driver, "touchEnd")
        check("with throw on another key the touch control still throws (the round starts)",
              wait_until(driver, "kuzari.scene() === 1", timeout=5))
        check_console(driver)
    finally:
        driver.execute_script("localStorage.clear();")
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def title_taps(driver, base, args):
    """A tap on a title item moves the cursor there and chooses it: RULES
    (down, then OK), and after the rules START (up, then OK), which starts a
    round; recorded as those key presses, the play replays the same."""
    driver.get(f"{base}/index.html?lang=en&seed=4&record=1")
    wait_for_viewport(driver, 844, 390)
    wait_for(driver, "window.kuzari && kuzari.hashes.length > 90")
    picture = driver.execute_script(TOUCH_LAYOUT)["picture"]
    scale = (picture[2] - picture[0]) / 320

    def tap_item(item):
        touch(driver, "touchStart", [(0, (picture[0] + 256 * scale, picture[1] + (128 + 32 * item) * scale))])
        touch(driver, "touchEnd")

    def some_frames(count):
        frames = driver.execute_script("return kuzari.hashes.length;") + count
        wait_for(driver, f"kuzari.hashes.length > {frames}", timeout=10)

    words = "(w => w && !w.hidden && w.textContent)(document.getElementById('hint-words-title'))"
    before = driver.execute_script(f"return {words};")
    touch(driver, "touchStart", [(0, (picture[0] + 60 * scale, picture[1] + 60 * scale))])  # no item here
    touch(driver, "touchEnd")
    said = wait_until(driver, words, timeout=5)
    check("on a touch screen, after a touch, touch words lie over the title's hint line",
          not before and said and "throw" in said, (before, said))
    tap_item(1)  # RULES
    some_frames(100)  # the title wiped away, the rules up
    rules = driver.execute_script("return kuzari.recording();")
    tap_item(1)  # the rules go at a tap on the same spot: its OK
    some_frames(100)  # the title back, its menu taking keys again
    tap_item(0)  # START
    started = wait_until(driver, "kuzari.scene() === 1", timeout=10)
    check("the title's touch words go once a round is on", wait_until(driver, f"!{words}", timeout=5))
    live = live_recording(driver)
    check("a tap on a title item chooses it: RULES (down, OK), then START (up, OK) starts a round",
          started and "down" in rules.split() and "up" in live["recording"].split(), (rules, live["recording"][-200:]))
    compare_recording("title taps", args, live)


def notched_phone(driver, base):
    """With a notch on the left and rounded corners, the controls and the
    buttons keep inside the safe area; the full-screen button is thumb-sized
    and clear of the options button."""
    insets = {"top": 0, "left": 48, "right": 30, "bottom": 21}
    driver.execute_cdp_cmd("Emulation.setSafeAreaInsetsOverride", {"insets": insets})
    try:
        emulate_phone(driver, 844, 390)
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        driver.get(f"{base}/index.html?lang=en")
        wait_for_viewport(driver, 844, 390)
        wait_for(driver, "window.kuzari && kuzari.frames_drawn > 0")
        touch(driver, "touchStart", [(0, centre(driver.execute_script(TOUCH_LAYOUT)["picture"]))])
        touch(driver, "touchEnd")
        wait_for(driver, "!document.getElementById('touch').hidden", timeout=5)
        boxes = driver.execute_script(
            "const box = e => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };"
            "return Object.fromEntries(['fullscreen', 'options-button', ...[...document.querySelectorAll('#touch .control')]"
            ".map(e => e.getAttribute('aria-label'))].map(n => [n, box(document.getElementById(n) ||"
            " document.querySelector(`#touch .control.${n}`))]));")
        safe = (insets["left"], insets["top"], 844 - insets["right"], 390 - insets["bottom"])
        outside = [name for name, b in boxes.items()
                   if b[0] < safe[0] or b[1] < safe[1] or b[2] > safe[2] + 0.5 or b[3] > safe[3] + 0.5]
        full, button = boxes["fullscreen"], boxes["options-button"]
        apart = button[2] <= full[0] or full[2] <= button[0] or button[3] <= full[1] or full[3] <= button[1]
        check("on a notched phone the controls and buttons lie in the safe area; the full-screen button is"
              " at least 44 px and clear of the options button",
              not outside and full[2] - full[0] >= 44 and full[3] - full[1] >= 44 and apart, (outside, boxes))
    finally:
        driver.execute_cdp_cmd("Emulation.setSafeAreaInsetsOverride", {"insets": {}})
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


# Renders a looping piece played twice offline, with the page's own scheduling,
# and compares every sample with where in the recording it should come from:
# the head, then the repeating pass from that point on, round again, then silence.
PASSES = """
const [name, done] = [arguments[0], arguments[arguments.length - 1]];
(async () => {
    const { schedule_piece } = await import('/modules/sound.js');
    const info = (await (await fetch('manifest.json')).json()).music.find(p => p.name === name);
    const pass = info.loop_end - info.loop_start, length = 2 * pass + info.rate;
    const offline = new OfflineAudioContext(2, length, info.rate);
    const buffer = await offline.decodeAudioData(await (await fetch(info.file)).arrayBuffer());
    schedule_piece(offline, buffer, info, 2, 0);
    const out = await offline.startRendering();
    let worst = 0, at = -1;
    for (let channel = 0; channel < 2; channel++) {
        const got = out.getChannelData(channel), recorded = buffer.getChannelData(channel);
        for (let t = 0; t < length; t++) {
            const from = t >= 2 * pass ? -1 : t < info.head ? t : info.loop_start + t % pass;
            const difference = Math.abs(got[t] - (from < 0 ? 0 : recorded[from]));
            if (difference > worst) [worst, at] = [difference, t];
        }
    }
    return { worst, at };
})().then(done, error => done({ error: String(error) }));
"""


def check_passes(driver, piece):
    result = driver.execute_async_script(PASSES, piece["name"])
    check(f"{piece['name']} played twice: its head, then its pass from the head's end, round again, then silence",
          result.get("worst", 1) < 1e-6, result)


def test_first_sound(base, profile):
    """Without leave to play sound at once, the page starts its sound on the
    first key press and says so until then; in a Japanese browser, in Japanese."""
    driver = start_browser(profile, language="ja,en", autoplay=False)
    try:
        driver.get(f"{base}/index.html")
        wait_for(driver, "window.kuzari && kuzari.frames_drawn > 10")
        notice = "const n = document.getElementById('sound-notice'); return [n.hidden, n.textContent, kuzari.english];"
        hidden, text, english = driver.execute_script(notice)
        state = driver.execute_script("return kuzari.audio_state();")
        check("before any key press the sound waits, and the page says so in the browser's language (Japanese)",
              state == "suspended" and not hidden and "キー" in text and english is False, (state, hidden, text))
        press(driver, Keys.ARROW_DOWN)  # Chromium takes no modifier key alone for leave to play
        running = wait_until(driver, "kuzari.audio_state() === 'running'", timeout=10)
        hidden, _, _ = driver.execute_script(notice)
        check("the first key press starts the sound, and the notice goes", running and hidden)
        started = wait_until(driver, "kuzari.music_started.length && kuzari.music_started", timeout=10)
        check("the title's music, asked for before the sound was made, starts once", started == ["title.mid"], started)
        first_tap(driver, base)
        notched_phone(driver, base)  # a browser of its own: touches after key presses come as mouse clicks
    finally:
        driver.quit()


def first_tap(driver, base):
    """On a phone held either way, the notice asks for a tap, clear of the
    picture and the touch controls, and the first tap starts the sound."""
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    try:
        for width, height in ((360, 640), (844, 390)):
            emulate_phone(driver, width, height)
            driver.get(f"{base}/index.html?lang=en")  # a page of its own: no gesture yet
            wait_for_viewport(driver, width, height)
            wait_for(driver, "window.kuzari && kuzari.frames_drawn > 10")
            text = driver.execute_script("return document.getElementById('sound-notice').textContent;")
            check(f"at {width} x {height} the notice asks for a tap", text.startswith("Tap"), text)
            # The controls up as a touch brings them, by an event of the page's own, which lets no sound start.
            driver.execute_script("dispatchEvent(new PointerEvent('pointerdown', {pointerType: 'touch'}));")
            wait_for(driver, "!document.getElementById('touch').hidden", timeout=5)
            layout = driver.execute_script(TOUCH_LAYOUT)
            notice, hint = driver.execute_script(
                "return ['sound-notice', 'turn-hint'].map(id => { const e = document.getElementById(id),"
                " r = e.getBoundingClientRect(); return e.hidden ? null : [r.left, r.top, r.right, r.bottom]; });")
            meet = lambda a, b: a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]
            others = [("picture", layout["picture"]), *layout["controls"].items()]
            in_the_way = [name for name, box in others if meet(notice, box)]
            upright = height > width
            check(f"at {width} x {height} " + ("the page asks for the phone turned, clear of all else" if upright
                  else "no hint to turn the phone"), (hint is not None) == upright
                  and not (hint and [name for name, box in [*others, ("notice", notice)] if meet(hint, box)]), (hint, notice))
            picture = layout["picture"]
            touch(driver, "touchStart", [(0, (picture[0] + 4, picture[1] + 4))])  # a corner: no control here
            touch(driver, "touchEnd")
            running = wait_until(driver, "kuzari.audio_state() === 'running'", timeout=10)
            hidden = driver.execute_script("return document.getElementById('sound-notice').hidden;")
            check(f"at {width} x {height} the notice lay clear of the picture and the controls, and the first"
                  " tap started the sound and took the notice away", notice and not in_the_way and running and hidden,
                  (notice, in_the_way, running, hidden))
    finally:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def broken_copies(site, data, root, name, changes):
    """Copies of the site (its files linked) and of the data with files changed
    or gone (content None)."""
    site_copy, data_copy = root / name, root / f"data-{name}"
    shutil.copytree(site, site_copy, copy_function=lambda s, d: Path(d).symlink_to(Path(s).resolve()))
    shutil.copytree(data, data_copy)
    for path, content in changes:
        (site_copy / "data" / (path + ".gz")).unlink()
        (data_copy / path).unlink()
        if content is not None:
            (site_copy / "data" / (path + ".gz")).write_bytes(gzip.compress(content, mtime=0))
            (data_copy / path).write_bytes(content)
    return data_copy


def test_broken_data(driver, root, port, args):
    cases = {
        "missing-title": [("bitmap/title.bmp", None), ("lang/en/bitmap/title.bmp", None)],
        "half-wave": [("wave/03.wav", (args.data / "wave/03.wav").read_bytes()[:3550])],
        "half-sheet": [("bitmap/main.bmp", (args.data / "bitmap/main.bmp").read_bytes()[:115227])],
    }
    midi = bytearray((args.data / "midi/title.mid").read_bytes())
    note_on = midi.index(b"\x90", midi.index(b"MTrk", 14) + 8)  # a note's velocity, still a good file
    midi[note_on + 2] ^= 1
    cases["unknown-music"] = [("midi/title.mid", bytes(midi))]
    script = (ROOT / "tests/reference/detours.script").read_text()
    for name, changes in cases.items():
        data = broken_copies(args.site, args.data, root, name, changes)
        page = run_script(driver, f"http://127.0.0.1:{port}/{name}", "detours.script")
        trace = replay_trace(args.replay, data, script)
        boxes = [[event[2], event[1]] for line in trace for event in line["events"] if event[0] == "box"]
        check(f"{name}: the same boxes as kuzari-replay's", page["boxes"] == boxes, (page["boxes"], boxes))
        check(f"{name}: the same pictures as kuzari-replay's",
              page["hashes"] == [line["fb"] for line in trace])
        if name == "unknown-music":
            played = [e for frame in page["events"] for e in frame if e[0] == "music"]
            check("a MIDI file the build did not record is refused, and the music stays off",
                  page["music_refused"] == 1 and not played, (page["music_refused"], played))

    # Live, the box is the page's dialog, and the game waits for it.
    driver.get(f"http://127.0.0.1:{port}/missing-title/index.html?lang=en&record=1")
    wait_for(driver, "window.kuzari && document.getElementById('box').open")
    text = driver.execute_script("return document.getElementById('box').innerText;")
    frames = driver.execute_script("return kuzari.hashes.length;")
    time.sleep(0.5)
    still = driver.execute_script("return kuzari.hashes.length;")
    check("a missing file: the page's dialog with the desktop's texts, and no frame while it is open",
          "bitmap/title.bmp" in text and "A file could not be read" in text and still == frames, (text, frames, still))
    # The title asks for its sheet again as it opens: a box each time.
    for _ in range(5):
        if not driver.execute_script("return document.getElementById('box').open;"):
            break
        driver.find_element("css selector", "#box button").click()
        time.sleep(0.2)
    check("closing the dialog lets the game go on", wait_until(driver, f"kuzari.hashes.length > {frames + 30}"))


def test_music(driver, base, args):
    driver.get(f"{base}/index.html?lang=en&record=1")  # test mode, for decoded_length
    check("the title's music starts",
          wait_until(driver, "window.kuzari && kuzari.music_started.includes('title.mid')", timeout=30))
    manifest = json.loads((args.site / "manifest.json").read_text())
    for number, piece in enumerate(manifest["music"], start=1):
        length = driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            f"kuzari.decoded_length({number}).then(done, e => done(String(e)));")
        end = max(piece["once_end"], piece["loop_end"])
        check(f"{piece['name']}: the recording decodes to its {end} samples at 48 kHz",
              length == {"length": end, "rate": 48000}, length)
    for piece in manifest["music"]:
        if piece["loops"]:
            check_passes(driver, piece)
    figures["music_decode_ms"] = driver.execute_script("return kuzari.decode_ms;")
    figures["title_music_after_first_frame_ms"] = round(driver.execute_script(
        "return kuzari.t_first_music - kuzari.t_first_frame;"))


def test_crash(driver, base, args):
    """An error no step caught stops plain play and offers the game's recording."""
    driver.get(f"{base}/index.html?lang=en&seed=7")
    wait_for(driver, "window.kuzari && kuzari.frames_drawn > 150")  # past the title's opening
    press(driver, Keys.ENTER)
    wait_for(driver, "kuzari.scene() === 1")
    time.sleep(2)
    driver.execute_script("dispatchEvent(new ErrorEvent('error', {error: new Error('boom'), message: 'boom'}));")
    wait_for(driver, "document.getElementById('crash-recording') !== null")
    shown = driver.execute_script("return document.getElementById('loading').innerText;")
    text = driver.execute_async_script(
        "const done = arguments[0];"
        "fetch(document.getElementById('crash-recording').href).then(r => r.text()).then(done);")
    drawn = driver.execute_script("return kuzari.frames_drawn;")
    time.sleep(0.3)
    check("an uncaught error stops the game and is shown, with the recording offered",
          "boom" in shown and driver.execute_script("return kuzari.frames_drawn;") == drawn, shown)
    closing = re.search(r"^# frame (\d+) fb ([0-9a-f]+)$", text, re.M)
    trace = replay_trace(args.replay, args.data, text)
    check("the crash's recording names its seed and edition, and kuzari-replay plays it to its closing line",
          text.startswith("# seed 7\n# lang en\n") and closing is not None and
          [trace[-1]["frame"], trace[-1]["fb"]] == [int(closing.group(1)), closing.group(2)],
          text[-200:])


# Whether the canvas is scaled by the largest whole factor of device pixels that fits.
CANVAS_FITS = ("(() => { const r = document.getElementById('screen').getBoundingClientRect(), d = devicePixelRatio;"
               " const scale = r.width * d / 320;"
               " return scale === Math.floor(scale) && r.height * d === 240 * scale &&"
               " scale === Math.max(1, Math.floor(Math.min(innerWidth * d / 320, innerHeight * d / 240))); })()")


def closing_line(text):
    """The recording's last frame and picture hash."""
    closing = re.search(r"^# frame (\d+) fb ([0-9a-f]+)$", text, re.M)
    return [int(closing.group(1)), closing.group(2)] if closing else None


def test_page(driver, root, base, args):
    """The full-screen button, the game standing still while the page is hidden,
    the recording saved once the game is over, and ?playback= of it."""
    driver.get(f"{base}/index.html?lang=en&seed=5&record=1")
    wait_for(driver, "window.kuzari && kuzari.hashes.length > 30")
    shown = driver.execute_script("const b = document.getElementById('fullscreen'); return !b.hidden && b.offsetWidth > 0;")
    driver.find_element("id", "fullscreen").click()
    entered = wait_until(driver, "!!document.fullscreenElement", timeout=5)
    check("the full-screen button is shown and puts the page in full screen", shown and entered)
    check("in full screen the canvas keeps a whole-factor scale that fits",
          driver.execute_script("return innerWidth;") != WIDTH and wait_until(driver, CANVAS_FITS, timeout=5))
    # Headless Chromium hands DevTools' Escape to the page and stays in full
    # screen; a browser that leaves on it must not end the game too.
    press(driver, Keys.ESCAPE)
    time.sleep(0.2)
    check("Escape in full screen leaves the game running", driver.execute_script("return kuzari.state;") == "running")
    driver.execute_script("document.exitFullscreen();")
    wait_for(driver, "!document.fullscreenElement", timeout=5)

    # Another tab in front hides the page.
    driver.execute_script("window.seen = []; document.addEventListener('visibilitychange',"
                          " () => seen.push([document.hidden, kuzari.hashes.length, performance.now()]));")
    sound_before = driver.execute_script("return kuzari.audio_state();")
    page = driver.execute_cdp_cmd("Target.getTargetInfo", {})["targetInfo"]["targetId"]
    other = driver.execute_cdp_cmd("Target.createTarget", {"url": "about:blank"})["targetId"]
    wait_for(driver, "document.hidden && seen.length === 1", timeout=10)
    time.sleep(1)
    frames, sound_hidden, hidden_at = driver.execute_script(
        "return [kuzari.hashes.length, kuzari.audio_state(), seen[0][1]];")
    driver.execute_cdp_cmd("Target.activateTarget", {"targetId": page})
    driver.execute_cdp_cmd("Target.closeTarget", {"targetId": other})
    wait_for(driver, "!document.hidden && seen.length === 2", timeout=10)
    wait_for(driver, f"kuzari.hashes.length > {frames + 20}")
    (_, shown_at, shown_time), now_frames, now = driver.execute_script(
        "return [seen[1], kuzari.hashes.length, performance.now()];")
    check("no frame runs while the page is hidden", frames == hidden_at == shown_at, (hidden_at, frames, shown_at))
    # At 17 ms a frame from the moment it was shown again, and no more.
    check("none is made up once it is shown again", now_frames - shown_at <= (now - shown_time) // 17 + 1,
          (now_frames - shown_at, now - shown_time))
    check("the sound is suspended while hidden and runs again after",
          (sound_before, sound_hidden) == ("running", "suspended") and
          wait_until(driver, "kuzari.audio_state() === 'running'", timeout=5))

    press(driver, Keys.ESCAPE)
    wait_for(driver, "kuzari.state === 'over' && document.getElementById('save-recording') !== null")
    name, text = driver.execute_async_script(
        "const done = arguments[0], link = document.getElementById('save-recording');"
        "fetch(link.href).then(r => r.text()).then(text => done([link.download, text]));")
    picture, _ = canvas_picture_hash(driver)
    trace = replay_trace(args.replay, args.data, text)
    check("once over, the page offers the recording, which kuzari-replay plays to the page's last picture",
          re.fullmatch(r"kuzari-\d{4}-[-\dTZ]+\.txt", name) is not None and text.startswith("# seed 5\n# lang en\n")
          and closing_line(text) == [trace[-1]["frame"], trace[-1]["fb"]] == [trace[-1]["frame"], picture],
          (name, closing_line(text), picture))

    # Played back on a Japanese page: the recording's edition, to its end.
    (root / "scripts" / "saved.txt").write_text(text)
    (root / "scripts" / "bad.txt").write_text("# seed 5\nthrow the bowls\n")
    (root / "scripts" / "empty.txt").write_text("")
    driver.get(f"{base}/index.html?lang=ja&playback=/scripts/saved.txt")
    wait_for(driver, "window.kuzari && (kuzari.state === 'over' || kuzari.state === 'error')", timeout=120)
    picture, _ = canvas_picture_hash(driver)
    state, lang, offered, took = driver.execute_script(
        "return [kuzari.state, document.documentElement.lang, !document.getElementById('over').hidden,"
        " performance.now() - kuzari.t_first_frame];")
    # On the real clock its frames cannot come faster than 17 ms apart.
    frames = closing_line(text)[0]
    check("?playback= plays a saved recording in its edition, at the game's pace, to the same last picture",
          [state, lang, offered, picture] == ["over", "en", True, closing_line(text)[1]] and took >= 17 * (frames - 2),
          (state, lang, offered, picture, took, frames))
    check_console(driver)
    for url, reason in [("/scripts/missing.txt", "HTTP 404"), ("/scripts/bad.txt", "bad.txt: "),
                        ("/scripts/empty.txt", "empty.txt: the file is empty")]:
        driver.get(f"{base}/index.html?lang=en&playback={url}")
        wait_for(driver, "window.kuzari && kuzari.state !== 'loading'")
        state, notice = driver.execute_script("return [kuzari.state, document.getElementById('loading').innerText];")
        uncaught = [error for error in page_errors(driver) if "Failed to load resource" not in error]
        check(f"a recording that cannot be played ({reason.strip(': ')}) is refused on the page, and nothing else",
              state == "error" and notice.startswith("The recording cannot be played:") and reason in notice
              and not uncaught, (state, notice, uncaught))
    for name in ["saved.txt", "bad.txt", "empty.txt"]:
        (root / "scripts" / name).unlink()
    refused_elsewhere(driver, base)
    hostile_recordings(driver, base)
    without_streaming(driver, base)


def without_streaming(driver, base):
    """A browser without WebAssembly.compileStreaming still gets the title."""
    script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                    {"source": "delete WebAssembly.compileStreaming;"})
    try:
        page_errors(driver)  # the earlier pages'
        driver.get(f"{base}/index.html?lang=en")
        shown = wait_until(driver, "window.kuzari && kuzari.frames_drawn > 10 && !WebAssembly.compileStreaming")
        errors = page_errors(driver)
        check("without WebAssembly.compileStreaming the module is compiled whole and the title shows",
              shown and not errors, (shown, errors))
    finally:
        driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script["identifier"]})


class EndlessHandler(QuietHandler):
    """Another origin's server: /endless is a body of no stated length that
    goes on until the reader stops, readable by any page; anything else it
    serves as usual, readable by none but its own."""
    protocol_version = "HTTP/1.0"  # the body ends when the connection does

    def do_GET(self):
        if self.path != "/endless":
            return super().do_GET()
        self.send_response(200)
        self.send_header("Access-Control-Allow-Origin", "*")
        self.end_headers()
        sent, block = 0, bytes(1 << 20)
        try:
            while sent < 1 << 30:  # a reader that never stops would end here
                self.wfile.write(block)
                sent += len(block)
        except OSError:
            pass  # the page stopped reading


def refused_elsewhere(driver, base):
    """A recording too large is refused while it streams, its size said; one
    another origin's server does not let the page read says so."""
    server = serve(ROOT / "tests/web", handler_class=EndlessHandler)
    other = f"http://localhost:{server.server_address[1]}"
    try:
        for url, reason in [(f"{other}/endless", "too large for a recording"),
                            (f"{other}/browser_test.py", "did not allow this page to read it")]:
            driver.get(f"{base}/index.html?lang=en&playback={url}")
            wait_for(driver, "window.kuzari && kuzari.state !== 'loading'")
            notice = driver.execute_script("return document.getElementById('loading').innerText;")
            said = [int(n) for n in re.findall(r"(\d+) bytes", notice)]
            check(f"a recording from another origin, {reason}: refused (a long one once past the limit), and the"
                  " page says why", reason in notice and all(n <= 65 << 20 for n in said), notice)
    finally:
        server.shutdown()
        server.server_close()


class HostileHandler(QuietHandler):
    """Another origin's server of recordings that are not: /binary is bytes of
    every value, /cut promises more than it sends before it hangs up, /loop
    redirects to itself, /gone redirects to a file that is not there."""
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        if self.path in ("/loop", "/gone"):
            self.send_response(302)
            self.send_header("Location", "/loop" if self.path == "/loop" else "/missing.txt")
            self.send_header("Access-Control-Allow-Origin", "*")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path not in ("/binary", "/cut"):
            self.send_response(404)
            self.send_header("Access-Control-Allow-Origin", "*")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        body = bytes(range(256)) * 64 if self.path == "/binary" else b"# seed 5\n# lang en\n" + b"10\n" * 300
        self.send_response(200)
        self.send_header("Access-Control-Allow-Origin", "*")
        self.send_header("Content-Length", str(len(body) * (1 if self.path == "/binary" else 10)))
        self.end_headers()
        try:
            self.wfile.write(body)
            self.wfile.flush()
        except OSError:
            pass


def hostile_recordings(driver, base):
    """?playback= of what is no recording, or of one that fails on its way:
    refused on the page with its reason, said once, and never a hang."""
    server = serve(ROOT / "tests/web", handler_class=HostileHandler)
    other = f"http://localhost:{server.server_address[1]}"
    page_errors(driver)  # the earlier pages'
    try:
        for path, reason in [("/binary", "binary"), ("/cut", "cut short"), ("/loop", "redirected in a loop"),
                             ("/gone", "redirected to nothing")]:
            driver.get(f"{base}/index.html?lang=en&playback={other}{path}")
            ended = wait_until(driver, "window.kuzari && kuzari.state !== 'loading'", timeout=45)
            state, notice = driver.execute_script(
                "return [window.kuzari && kuzari.state, document.getElementById('loading').innerText];")
            uncaught = [error for error in page_errors(driver) if "Failed to load resource" not in error
                        and "net::" not in error]
            check(f"a recording {reason}: refused on the page with its reason, said once, nothing else",
                  ended and state == "error" and notice.count("The recording cannot be played:") == 1
                  and path in notice and not uncaught, (ended, state, notice, uncaught))
    finally:
        server.shutdown()
        server.server_close()


def test_viewer(driver, root, base, args):
    """A ?playback= watched with the viewer's keys: a pause stands still with its
    band shown, and a pause, a step and seeks forward, back and to the start
    each leave on the canvas kuzari-replay's picture of the frame reached; sped
    up to unpaced it ends on the recording's closing picture."""
    script = SCRIPTS["perfect"].read_text()
    trace = replay_trace(args.replay, args.data, script)
    recording = "# seed 1\n# lang ja\n" + "".join(
        line + "\n" for line in script.splitlines() if line and not line.startswith("#"))
    recording += f"# frame {trace[-1]['frame']} fb {trace[-1]['fb']}\n"
    (root / "scripts" / "watched.txt").write_text(recording)
    driver.get(f"{base}/index.html?lang=ja&playback=/scripts/watched.txt")
    wait_for(driver, "window.kuzari && kuzari.state === 'running' && kuzari.viewer_frame() > 60")

    def shown(frame, what):
        picture, _ = canvas_picture_hash(driver)
        check(f"the viewer: {what} shows kuzari-replay's picture of frame {frame}", picture == trace[frame]["fb"],
              (picture, trace[frame]["fb"]))

    def settled(key, frame, what):
        press(driver, key)
        reached = wait_until(driver, f"kuzari.viewer_frame() === {frame} && kuzari.viewer_frame()", timeout=20)
        time.sleep(0.2)  # a refresh draws it
        if not reached:
            check(f"the viewer: {what} reaches frame {frame}", False, driver.execute_script("return kuzari.viewer_frame();"))
        else:
            shown(frame, what)

    press(driver, Keys.SPACE)
    time.sleep(0.3)
    paused = driver.execute_script("return kuzari.viewer_frame();")
    time.sleep(0.5)
    check("the viewer: a pause stands still, its band shown and its sound hushed",
          driver.execute_script("return kuzari.viewer_frame();") == paused and
          driver.execute_script("return !document.getElementById('viewer').hidden && kuzari.gains()?.master === 0;"),
          driver.execute_script("return kuzari.gains();"))
    shown(paused, "a pause")
    settled(".", paused + 1, "one frame forward")
    settled(Keys.ARROW_RIGHT, paused + 1 + 588, "ten seconds forward")
    settled(Keys.ARROW_LEFT, paused + 1, "ten seconds back")
    settled(Keys.HOME, 1, "back to the start")
    began = time.monotonic()
    press(driver, Keys.SPACE)
    for _ in range(4):
        press(driver, "=")
    over = wait_until(driver, "kuzari.state === 'over'", timeout=120)
    picture, _ = canvas_picture_hash(driver)
    check("the viewer: sped up to unpaced it ends on the recording's closing picture",
          over and picture == trace[-1]["fb"], (picture, trace[-1]["fb"], round(time.monotonic() - began, 1)))
    check_console(driver)
    (root / "scripts" / "watched.txt").unlink()


KEPT_RECORDS = """
const done = arguments[arguments.length - 1];
import('/modules/records.js').then(({ read_best_round }) => read_best_round(arguments[0])).then(
    best => done({records: localStorage.getItem('kuzari.records'), best}), error => done({error: String(error)}));
"""


def kept_records(driver, edition="ja"):
    return driver.execute_async_script(KEPT_RECORDS, edition)


def verify(args, recording):
    """kuzari-replay --verify's line and status on a recording."""
    with tempfile.NamedTemporaryFile("w", suffix=".txt") as file:
        file.write(recording or "")
        file.flush()
        run = subprocess.run([args.replay, "--verify", "--data", str(args.data), file.name],
                             capture_output=True, text=True)
    return run.stdout + run.stderr, run.returncode


def test_records(driver, root, base, args, port):
    """A won round played through test mode as live play updates the records
    and keeps its recording, which kuzari-replay verifies; the Records page's
    "Watch the best round" plays it in the viewer to its closing picture and
    changes no record; the cover then offers it to save; a damaged records
    text is set aside with a line on the page."""
    def clear():
        driver.execute_cdp_cmd("Storage.clearDataForOrigin", {
            "origin": f"http://127.0.0.1:{port}", "storageTypes": "local_storage,indexeddb"})

    clear()
    run = run_script(driver, base, "won_round.script&records=1")
    driver.execute_async_script("kuzari.records_kept().then(arguments[0], arguments[0]);")
    kept = kept_records(driver)
    verdict, status = verify(args, kept.get("best"))
    figures_said = re.search(r"rank (\d+) of 3 and (\d+) food left", verdict)
    check("records: a round played as live play is verified as kept", run["state"] == "over" and status == 0,
          (run["state"], verdict, kept))
    want = (f"ja rounds 1\nja perfect 0\nja best-rank {figures_said[1]}\nja most-food {figures_said[2]}\n"
            if figures_said else None)
    check("records: the round's rank and food left are the records", want and kept["records"].endswith(want),
          (kept.get("records"), verdict))
    closing = closing_line(kept.get("best") or "")
    check("records: the kept recording closes on the round's last picture",
          closing and run["hashes"][closing[0]] == closing[1], closing)
    run_script(driver, base, "won_round.script&records=1")  # the same round again, on a new load
    driver.execute_async_script("kuzari.records_kept().then(arguments[0], arguments[0]);")
    again = kept_records(driver)
    check("records: a second load counts on from the kept records, the first best round kept",
          "ja rounds 2\n" in (again["records"] or "") and again["best"] == kept["best"], again.get("records"))
    before = kept = again

    driver.get(f"{base}/index.html?lang=ja")
    wait_for(driver, "window.kuzari && kuzari.state === 'running' && kuzari.frames_drawn > 30")
    for key in (Keys.F1, Keys.ARROW_UP, Keys.ARROW_UP, Keys.ENTER, Keys.ENTER):  # Records, then Watch
        press(driver, key)
    watching = wait_until(driver, "location.search === '?best=ja' && window.kuzari && kuzari.state === 'running'"
                          " && kuzari.viewer_frame?.() > 30")
    check("records: \"Watch the best round\" opens it in the viewer", watching,
          driver.execute_script("return location.href;"))
    for _ in range(4):
        press(driver, "=")  # to unpaced
    over = wait_until(driver, "kuzari.state === 'over'", timeout=180)
    trace = replay_trace(args.replay, args.data, kept["best"] or "")
    picture, _ = canvas_picture_hash(driver)
    check("records: the best round watched ends on its closing picture", over and picture == trace[-1]["fb"],
          (picture, trace[-1]["fb"]))
    link = wait_until(driver, "document.getElementById('save-best')?.href")
    saved = driver.execute_async_script(
        "fetch(arguments[0]).then(r => r.text()).then(arguments[1], e => arguments[1](String(e)));", link) if link else None
    check("records: the cover offers the best round to save", saved == kept["best"], link)
    check("records: watching it changed no record", kept_records(driver) == before, kept_records(driver))

    driver.execute_script("localStorage.setItem('kuzari.records', 'ja rounds many\\n');")
    driver.get(f"{base}/index.html?lang=ja")
    note = wait_until(driver, "!document.getElementById('page-note')?.hidden &&"
                      " document.getElementById('page-note').textContent")
    check("records: a damaged records text is set aside and said",
          driver.execute_script("return localStorage.getItem('kuzari.records.damaged');") == "ja rounds many\n"
          and driver.execute_script("return localStorage.getItem('kuzari.records');") is None
          and "kuzari.records.damaged" in (note or ""), note)
    check_console(driver)
    clear()


def refreshes(driver, count=2):
    """Waits for the page's display refreshes: what it reads once a refresh has been read."""
    driver.execute_async_script(
        "const done = arguments[0]; let n = %d; const go = () => --n ? requestAnimationFrame(go) : done();"
        " requestAnimationFrame(go);" % count)


def watched_perfect_round(driver, root, base, args):
    """The perfect round played back on the page, 60 frames in; kuzari-replay's trace of it."""
    script = SCRIPTS["perfect"].read_text()
    trace = replay_trace(args.replay, args.data, script)
    recording = "# seed 1\n# lang ja\n" + "".join(
        line + "\n" for line in script.splitlines() if line and not line.startswith("#"))
    (root / "scripts" / "watched.txt").write_text(recording + f"# frame {trace[-1]['frame']} fb {trace[-1]['fb']}\n")
    driver.get(f"{base}/index.html?lang=ja&playback=/scripts/watched.txt")
    wait_for(driver, "window.kuzari && kuzari.state === 'running' && kuzari.viewer_frame() > 60")
    return trace


def test_viewer_controls(driver, root, base, args):
    """The viewer steered by an emulated pad's buttons (the desktop's) and by
    the touch row on an emulated phone: pause, a step, seeks and the speeds,
    each step and seek leaving kuzari-replay's picture of its frame."""
    def reached(frame, what):
        at = wait_until(driver, f"kuzari.viewer_frame() === {frame}", timeout=30)
        refreshes(driver)
        picture, _ = canvas_picture_hash(driver)
        check(f"the viewer by {what} shows kuzari-replay's picture of frame {frame}",
              at and picture == trace[frame]["fb"], (driver.execute_script("return kuzari.viewer_frame();"), picture))

    with emulated_pad(driver):
        trace = watched_perfect_round(driver, root, base, args)

        def button(index):
            driver.execute_script(f"test_pad.buttons[{index}].pressed = true;")
            refreshes(driver)
            driver.execute_script(f"test_pad.buttons[{index}].pressed = false;")
            refreshes(driver)

        button(0)  # A
        check("the viewer: the pad's A pauses", wait_until(driver, "kuzari.viewer_state() & 2", timeout=10))
        paused = driver.execute_script("return kuzari.viewer_frame();")
        button(1)  # B
        reached(paused + 1, "the pad's B (one frame forward)")
        button(15)  # d-pad right
        reached(paused + 1 + 588, "the pad's d-pad right (ten seconds forward)")
        button(14)  # d-pad left
        reached(paused + 1, "the pad's d-pad left (ten seconds back)")
        button(8)  # Back
        reached(1, "the pad's Back (to the start)")
        button(0)
        button(5)  # the right shoulder: off the game's pace, the band up
        faster = wait_until(driver, "!(kuzari.viewer_state() & 2) && kuzari.viewer_state() & 8", timeout=10)
        button(4)  # the left shoulder: back to it
        check("the viewer: the pad's A goes on, its shoulders go faster and back",
              faster and wait_until(driver, "!(kuzari.viewer_state() & 8)", timeout=10))
    check_console(driver)

    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    try:
        emulate_phone(driver, 844, 390)
        trace = watched_perfect_round(driver, root, base, args)
        wait_for_viewport(driver, 844, 390)
        picture = driver.execute_script(
            "const r = document.getElementById('screen').getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom];")

        def tap(point):
            touch(driver, "touchStart", [(0, point)])
            touch(driver, "touchEnd")
            refreshes(driver)

        tap(centre(picture))
        row = wait_until(driver, "!document.getElementById('viewer-controls').hidden && [...document.querySelectorAll("
                         "'#viewer-controls button')].map(b => { const r = b.getBoundingClientRect();"
                         " return [r.left, r.top, r.right, r.bottom]; })", timeout=10)
        check("the viewer: a tap brings up its touch row, inside the screen",
              row and len(row) == 7 and all(0 <= b[0] and b[2] <= 844 and 0 <= b[1] and b[3] <= 390 for b in row), row)
        if row:
            tap(centre(row[3]))  # pause
            check("the viewer: the touch row pauses", wait_until(driver, "kuzari.viewer_state() & 2", timeout=10))
            paused = driver.execute_script("return kuzari.viewer_frame();")
            tap(centre(row[4]))  # one frame forward
            reached(paused + 1, "the touch row's step")
            tap(centre(row[6]))  # ten seconds forward
            reached(paused + 1 + 588, "the touch row's ten seconds forward")
            tap(centre(row[0]))  # to the start
            reached(1, "the touch row's to the start")
        check_console(driver)
    finally:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        (root / "scripts" / "watched.txt").unlink(missing_ok=True)


OVERLAYS = """
const menu = document.getElementById('options'), band = document.getElementById('captions');
const inked = c => {
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 3; i < d.length; i += 4) if (d[i]) n++;
    return n;
};
let kept = null;
try { kept = JSON.parse(localStorage.getItem('kuzari.options')); } catch (error) { kept = String(error); }
return {menu: !menu.hidden, menu_ink: menu.hidden ? 0 : inked(menu), band: !band.hidden,
        frames: kuzari.hashes.length, state: kuzari.state, gains: kuzari.gains(), kept};
"""


def overlays(driver):
    return driver.execute_script(OVERLAYS)


def hostile_kept_options(driver, base):
    """Kept options nobody's page wrote: huge, binary, of the wrong kinds, out of
    range. Each time the game plays with what could be taken, the volume within
    its range, and a refusal is said on the page at most once."""
    note = "(n => n && !n.hidden ? n.textContent : '')(document.getElementById('page-note'))"
    for what, kept in [
            ("huge", json.dumps({"": {"volume": "90", "captions": "x" * (3 << 20)}})),
            ("binary", "\x00\x07\ufffe{\ud800\x1b[2J" + bytes(range(256)).decode("latin-1")),
            ("of the wrong kinds", json.dumps({"": {"volume": {"deep": [1]}, "captions": 7, "lang": None},
                                               "keys": ["throw"], "pad": "x", "__proto__": {"volume": "0"}})),
            ("out of range", json.dumps({"": {"volume": "1e400", "mute": "maybe", "lang": "xx"},
                                         "keys": {"throw": "\u0000", "nothing": "KeyA"}})),
    ]:
        load_live(driver, base, kept=kept)
        frames = driver.execute_script("return kuzari.hashes.length;")
        runs = wait_until(driver, f"kuzari.state === 'running' && kuzari.hashes.length > {frames + 30}", timeout=10)
        master = driver.execute_script("return kuzari.gains().master;")
        said = driver.execute_script(f"return {note};")
        check(f"options kept {what}: the game plays, the volume in range, any refusal said once",
              runs and 0 <= master <= 1 and said.count("not understood") <= 1, (runs, master, said[:200]))
    driver.execute_script("localStorage.clear();")


def load_live(driver, base, kept=None, query="lang=en&seed=1&record=1"):
    """The page afresh, with these options kept (None: none)."""
    driver.get(f"{base}/index.html?{query}")
    driver.execute_script("localStorage.clear();" + (
        f"localStorage.setItem('kuzari.options', {json.dumps(kept)});" if kept is not None else ""))
    driver.get(f"{base}/index.html?{query}")
    wait_for(driver, "window.kuzari && kuzari.hashes && kuzari.hashes.length > 90")


def click_game_pixel(driver, x, y):
    """A mouse click at the game's pixel (x, y) of the picture."""
    left, top, scale = driver.execute_script(
        "const r = document.getElementById('screen').getBoundingClientRect(); return [r.left, r.top, r.width / 320];")
    for kind in ("mousePressed", "mouseReleased"):
        driver.execute_cdp_cmd("Input.dispatchMouseEvent", {"type": kind, "x": left + (x + 0.5) * scale,
                               "y": top + (y + 0.5) * scale, "button": "left", "clickCount": 1})


def caption_pixels_match(driver, png):
    """The caption band's canvas against a PNG of kuzari-overlay-pictures'."""
    return driver.execute_async_script("""
const [png, done] = arguments;
const bytes = Uint8Array.from(atob(png), c => c.charCodeAt(0));
createImageBitmap(new Blob([bytes], {type: 'image/png'}), {premultiplyAlpha: 'none'}).then(bitmap => {
    const c = new OffscreenCanvas(bitmap.width, bitmap.height), x = c.getContext('2d');
    x.drawImage(bitmap, 0, 0);
    const want = x.getImageData(0, 0, c.width, c.height).data;
    const band = document.getElementById('captions');
    const got = band.getContext('2d').getImageData(0, 0, band.width, band.height).data;
    let differ = 0;
    for (let i = 0; i < want.length; i++) if (Math.abs(want[i] - got[i]) > 3) differ++;
    done(got.length === want.length && differ === 0 ? true : `${differ} of ${want.length} bytes differ`);
}, error => done(String(error)));
""", base64.b64encode(png).decode())


def test_options(driver, base, args):
    with emulated_pad(driver):
        page_errors(driver)  # what an earlier group left in the log
        load_live(driver, base)
        press(driver, Keys.F1)
        opened = overlays(driver)
        time.sleep(0.5)
        later = overlays(driver)
        check("F1 opens the options over the game", opened["menu"] and opened["menu_ink"] > 2000, opened)
        check("while the options are open the game stands still", later["frames"] == opened["frames"],
              (opened["frames"], later["frames"]))
        press(driver, Keys.DOWN)  # Volume
        press(driver, Keys.LEFT)
        changed = overlays(driver)
        check("a volume turned down is kept and applied to the master gain",
              changed["kept"] == {"": {"volume": "90"}} and abs(changed["gains"]["master"] - 0.9) < 1e-3, changed)
        click_game_pixel(driver, 160, 60)  # the first row, Resume
        resumed = overlays(driver)
        time.sleep(0.3)
        check("a click on Resume closes the options and the game goes on",
              not resumed["menu"] and overlays(driver)["frames"] > resumed["frames"], resumed)

        press(driver, Keys.F1)
        press(driver, Keys.ESCAPE)
        closed = overlays(driver)
        press(driver, Keys.ESCAPE)
        check("Escape closes the options, and the next Escape ends the game",
              not closed["menu"] and closed["state"] == "running" and
              wait_until(driver, "kuzari.state === 'over'", timeout=5), closed)

        # The pad: Start opens, the d-pad moves to Mute, A mutes, B goes back to the game.
        driver.get(f"{base}/index.html?lang=en&seed=1&record=1")
        wait_for(driver, "window.kuzari && kuzari.hashes && kuzari.hashes.length > 90")
        check("the volume kept is read at the next load", abs(overlays(driver)["gains"]["master"] - 0.9) < 1e-3,
              overlays(driver))
        pad(driver, "test_pad.buttons[9].pressed = true")
        pad(driver, "test_pad.buttons[9].pressed = false")
        pad_opened = overlays(driver)["menu"]
        for _ in range(4):  # Volume, Music, Effects, Mute
            pad(driver, "test_pad.buttons[13].pressed = true")
            pad(driver, "test_pad.buttons[13].pressed = false")
        pad(driver, "test_pad.buttons[0].pressed = true")
        pad(driver, "test_pad.buttons[0].pressed = false")
        muted = overlays(driver)
        pad(driver, "test_pad.buttons[1].pressed = true")
        pad(driver, "test_pad.buttons[1].pressed = false")
        check("a pad's Start opens the options, the d-pad moves, A mutes, B goes back to the game",
              pad_opened and muted["kept"] == {"": {"volume": "90", "mute": "yes"}} and muted["gains"]["master"] == 0
              and not overlays(driver)["menu"], muted)
        recording = live_recording(driver)["recording"]
        check("the pad's buttons in the options never reach the game",
              not any(w in recording.split() for w in ("j1", "j2", "jdown")), recording)
        # The controls: "up" on W (the Controls row, its first row, then W).
        press(driver, Keys.F1)
        for key in [Keys.DOWN] * 8 + [Keys.ENTER, Keys.ENTER, "w", Keys.ESCAPE, Keys.ESCAPE]:
            press(driver, key)
        press(driver, "w")
        time.sleep(0.2)
        recording = live_recording(driver)["recording"]
        check("a key bound anew in the options plays its game key at once, and is kept",
              overlays(driver)["kept"].get("keys") == {"up": "KeyW"} and "up" in recording.split(), recording)
        press(driver, Keys.F1)
        for key in [Keys.UP, Keys.ENTER, Keys.DOWN, Keys.ENTER]:  # Quit (the last row), then "yes"
            press(driver, key)
        check("Quit in the options ends the game", wait_until(driver, "kuzari.state === 'over'", timeout=5))

        # The Controls page: Space and an arrow move over to Throw, Escape gives the arrow back and,
        # while a key is wanted, cancels with the page still open.
        load_live(driver, base)
        press(driver, Keys.F1)
        for key in [Keys.DOWN] * 8 + [Keys.ENTER] + [Keys.DOWN] * 4 + [Keys.ENTER, Keys.SPACE]:
            press(driver, key)
        spaced = overlays(driver)["kept"].get("keys")
        for key in [Keys.ENTER, Keys.LEFT]:
            press(driver, key)
        arrowed = overlays(driver)["kept"].get("keys")
        press(driver, Keys.ESCAPE)
        undone = overlays(driver)["kept"].get("keys")
        check("Space and an arrow can be bound to Throw, taken from the keys that had them, and Escape undoes",
              spaced == {"button4": "", "throw": "Space"} and arrowed["throw"] == "ArrowLeft" and arrowed["left"] == ""
              and undone == {"button4": "", "throw": "Space", "left": "ArrowLeft"}, (spaced, arrowed, undone))
        for key in [Keys.ENTER, Keys.ESCAPE]:
            press(driver, key)
        check("Escape while a key is wanted cancels it and the options stay open",
              overlays(driver)["menu"] and overlays(driver)["kept"]["keys"] == undone, overlays(driver))

        # A pad: B and Start cancel a wait for a button (the options stay open); X is taken from Button 3.
        press(driver, Keys.ESCAPE)  # back on the main page, on Controls
        def button(index):
            pad(driver, f"test_pad.buttons[{index}].pressed = true")
            pad(driver, f"test_pad.buttons[{index}].pressed = false")
        for index in [0, 12, 12, 12, 0] + [13] * 4:  # Controls, up to Pad buttons, its page, down to Throw
            button(index)
        waits = []
        for cancel in (1, 9):
            button(0)
            button(cancel)
            waits.append(overlays(driver)["menu"])
            button(2)  # nothing waits for it now
        unchanged = overlays(driver)["kept"].get("pad")
        button(0)
        button(2)
        check("on a pad B and Start cancel a wait for a button, the options stay open, and X moves to Throw",
              waits == [True, True] and unchanged is None and
              overlays(driver)["kept"].get("pad") == {"button3": "", "throw": "x"}, (waits, overlays(driver)))

        # Captions: the English edition shows them; the voice as the round starts.
        pictures = Path(tempfile.mkdtemp())
        try:
            tool = Path(args.replay).parent / "kuzari-overlay-pictures"
            made = subprocess.run([str(tool), "--data", str(args.data), str(pictures)], capture_output=True).returncode == 0
            load_live(driver, base)
            press(driver, Keys.ENTER)  # the title's start: "Here we go!"
            shown = wait_until(driver, "!document.getElementById('captions').hidden", timeout=5)
            match = caption_pixels_match(driver, (pictures / "caption-hajimaru-en.png").read_bytes()) if made else "no tool"
            check("a voice shows its caption band, as kuzari-overlay-pictures draws it", shown and match is True, match)
            check("the caption is gone once the voice is over",
                  wait_until(driver, "document.getElementById('captions').hidden", timeout=10))
        finally:
            shutil.rmtree(pictures)
        load_live(driver, base, kept=json.dumps({"": {"captions": "off"}}))
        press(driver, Keys.ENTER)
        end = time.monotonic() + 2
        seen = False
        while time.monotonic() < end:
            seen = seen or overlays(driver)["band"]
        voiced = driver.execute_script("return kuzari.events.some(e => e.some(x => x[0] === 'clip' && x[1] === 7));")
        check("captions off: a voice shows none", voiced and not seen, (voiced, seen))

        load_live(driver, base, kept="{not json")
        check("options kept as garbage: the defaults, the game plays",
              overlays(driver)["state"] == "running" and overlays(driver)["gains"]["master"] == 1)

        hostile_kept_options(driver, base)

        load_live(driver, base, kept=json.dumps({"": {"captions": "sideways"}}))
        note = "(n => n && !n.hidden && n.textContent)(document.getElementById('page-note'))"
        said = wait_until(driver, note, timeout=5)
        press(driver, Keys.DOWN)
        check("a kept option not understood is said on the page, until the next key",
              said and "not understood" in said and not driver.execute_script(f"return {note};"), said)

        # Back: the options over a still game, then away from the page.
        driver.get("data:text/html,<title>before</title>")
        load_live(driver, base)
        press(driver, Keys.ENTER)  # a round, and the gesture the page's history entry waits for
        wait_for(driver, "kuzari.scene() === 1")
        driver.execute_script("window.back_marker = 1;")
        driver.back()
        opened = wait_until(driver, "!document.getElementById('options').hidden", timeout=5)
        frames = overlays(driver)["frames"]
        still = driver.execute_async_script(  # thirty refreshes later, no new frame
            "const done = arguments[0]; let n = 30; const tick = () => --n ? requestAnimationFrame(tick)"
            f" : done(kuzari.hashes.length === {frames}); requestAnimationFrame(tick);")
        stayed = driver.execute_script("return window.back_marker === 1 && location.pathname.endsWith('index.html');")
        check("Back in a round opens the options over a still game, and the page stays",
              opened and still and stayed, (opened, still, stayed))
        driver.back()
        check("a second Back leaves the page", wait_until(driver, "document.title === 'before'", timeout=10))

        # Touch: the options button, clear of the full-screen one.
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        try:
            emulate_phone(driver, 844, 390)
            load_live(driver, base)
            wait_for_viewport(driver, 844, 390)
            picture = driver.execute_script("const r = document.getElementById('screen').getBoundingClientRect();"
                                            "return [r.left, r.top, r.right, r.bottom];")
            touch(driver, "touchStart", [(0, centre(picture))])
            touch(driver, "touchEnd")
            wait_for(driver, "!document.getElementById('touch').hidden", timeout=5)
            button, full = driver.execute_script(
                "const box = e => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };"
                "return [box(document.getElementById('options-button')), box(document.getElementById('fullscreen'))];")
            apart = button[2] <= full[0] or full[2] <= button[0] or button[3] <= full[1] or full[3] <= button[1]
            touch(driver, "touchStart", [(0, centre(button))])
            touch(driver, "touchEnd")
            check("on a touch screen the options button opens the options, clear of the full-screen button",
                  wait_until(driver, f"!{SHEET}.hidden", timeout=5) and apart, (button, full))
            upright_menu(driver, base)
        finally:
            driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
            driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
            driver.execute_script("localStorage.clear();")
        check_console(driver)


def upright_menu(driver, base):
    """On a phone held upright the options button stays above the menu it
    opened and closes it; the touch arrows move through the menu."""
    emulate_phone(driver, 360, 640)
    load_live(driver, base)
    wait_for_viewport(driver, 360, 640)
    driver.execute_script("dispatchEvent(new PointerEvent('pointerdown', {pointerType: 'touch'}));")  # the controls up
    wait_for(driver, "!document.getElementById('touch').hidden", timeout=5)
    spot = driver.execute_script(
        "const c = e => { const r = e.getBoundingClientRect(); return [(r.left + r.right) / 2, (r.top + r.bottom) / 2]; };"
        "return {button: c(document.getElementById('options-button')),"
        " down: c(document.querySelector('#touch .control.down'))};")

    def tap(name):
        touch(driver, "touchStart", [(0, spot[name])])
        touch(driver, "touchEnd")

    tap("button")
    opened = wait_until(driver, f"!{SHEET}.hidden", timeout=5)
    on_top = driver.execute_script(
        f"const [x, y] = arguments[0]; return document.elementFromPoint(x, y)?.closest('#options-button') !== null;",
        spot["button"])
    cursor = f"[...{SHEET}.querySelectorAll('li')].findIndex(li => li.classList.contains('cursor'))"
    before = driver.execute_script(f"return {cursor};")
    tap("down")
    moved = wait_until(driver, f"{cursor} === {before + 1}", timeout=5)
    tap("button")
    closed = wait_until(driver, f"{SHEET}.hidden", timeout=5)
    check("at 360 x 640 upright the options button stays above the menu, opens and closes it, and the touch"
          " arrows move through it", opened and on_top and moved and closed, (opened, on_top, moved, closed))


SHEET = "document.getElementById('options-sheet')"


def menu_for_fingers(driver, base):
    """At 360 x 640 with touch the options are rows a thumb can hit, clear of
    the options button, each value between a - and a + button; a + tap
    raises the value, which is kept."""
    emulate_phone(driver, 360, 640)
    load_live(driver, base)
    wait_for_viewport(driver, 360, 640)
    driver.execute_script("dispatchEvent(new PointerEvent('pointerdown', {pointerType: 'touch'}));")  # the controls up
    wait_for(driver, "!document.getElementById('touch').hidden", timeout=5)
    box = "(e => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; })"
    button = driver.execute_script(f"return {box}(document.getElementById('options-button'));")
    touch(driver, "touchStart", [(0, centre(button))])
    touch(driver, "touchEnd")
    wait_for(driver, f"!{SHEET}.hidden && {SHEET}.querySelectorAll('li').length > 5", timeout=5)
    shown = driver.execute_script(f"""
const box = {box}, sheet = {SHEET};
return {{sheet: box(sheet), rows: [...sheet.querySelectorAll('li')].map(li => ({{text: li.textContent, box: box(li),
    targets: [...li.querySelectorAll('button')].map(b => [b.textContent, box(b)])}}))}};""")
    small = [(row["text"], row["box"]) for row in shown["rows"] if row["box"][3] - row["box"][1] < 44] + [
        (row["text"], name, target) for row in shown["rows"] for name, target in row["targets"]
        if target[3] - target[1] < 44 or (name in ("\u2212", "+") and target[2] - target[0] < 44)]
    sheet = shown["sheet"]
    clear = button[3] <= sheet[1] or sheet[3] <= button[1] or button[2] <= sheet[0] or sheet[2] <= button[0]
    steps = sum(1 for row in shown["rows"] if len(row["targets"]) == 3)
    check("at 360 x 640 with touch every options row and its buttons are at least 44 CSS px, the values have"
          " - and +, and the options button stays clear", not small and steps >= 5 and clear, (small, steps, sheet, button))

    def tap_step(row, which):
        target = driver.execute_script(
            f"const b = {SHEET}.querySelectorAll('li')[arguments[0]].querySelectorAll('button.step')[arguments[1]];"
            f" b.scrollIntoView({{block: 'nearest'}}); return {box}(b);", row, which)
        touch(driver, "touchStart", [(0, centre(target))])
        touch(driver, "touchEnd")

    volume = f"{SHEET}.querySelectorAll('li')[1].querySelector('.value').textContent"
    tap_step(1, 0)
    lowered = wait_until(driver, f"{volume} === '90%'", timeout=5)
    tap_step(1, 0)
    wait_until(driver, f"{volume} === '80%'", timeout=5)
    tap_step(1, 1)
    raised = wait_until(driver, f"{volume} === '90%'", timeout=5)
    kept = overlays(driver)["kept"]
    check("a tap on - lowers the volume, a tap on + raises it, and it is kept",
          lowered and raised and (kept or {}).get("", {}).get("volume") == "90", (lowered, raised, kept))
    driver.execute_script("localStorage.clear();")


def buzzes_in_playback(driver, root, base, args, kept):
    """A round watched to its loss, unpaced, with navigator.vibrate counted."""
    script = "83\n1 enter\n141\n20 enter\n2400\n"
    trace = replay_trace(args.replay, args.data, script)
    (root / "scripts" / "lost.txt").write_text(
        f"# seed 1\n# lang en\n{script}# frame {trace[-1]['frame']} fb {trace[-1]['fb']}\n")
    stub = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": (
        "window.buzzes = []; Object.defineProperty(Navigator.prototype, 'vibrate', {configurable: true,"
        " value(pattern) { window.buzzes.push(pattern); return true; }});")})
    try:
        driver.get(f"{base}/index.html")
        driver.execute_script("localStorage.clear();" + (
            f"localStorage.setItem('kuzari.options', {json.dumps(json.dumps(kept))});" if kept else ""))
        driver.get(f"{base}/index.html?playback=/scripts/lost.txt")
        wait_for(driver, "window.kuzari && kuzari.state === 'running' && kuzari.viewer_frame() > 1")
        for _ in range(4):
            press(driver, "=")
        over = wait_until(driver, "kuzari.state === 'over'", timeout=120)
        return over, driver.execute_script("return window.buzzes;")
    finally:
        driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": stub["identifier"]})
        driver.execute_script("localStorage.clear();")
        (root / "scripts" / "lost.txt").unlink()


def test_phone(driver, root, base, args):
    """A phone's options menu and its vibration."""
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    try:
        menu_for_fingers(driver, base)
    finally:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    over, buzzes = buzzes_in_playback(driver, root, base, args, None)
    check("a bowl emptied and the round's end each buzz the phone",
          over and 40 in buzzes and [80, 60, 80] in buzzes, (over, buzzes))
    over, buzzes = buzzes_in_playback(driver, root, base, args, {"": {"vibration": "no"}})
    check("with Vibration off in the options nothing buzzes", over and buzzes == [], (over, buzzes))
    check_console(driver)


def test_install(driver, base, args):
    """The web app manifest, and its icons at their sizes."""
    manifest = json.loads((args.site / "kuzari.webmanifest").read_text())
    wanted = {"name", "short_name", "icons", "start_url", "scope", "display", "orientation",
              "theme_color", "background_color"}
    check("the web app manifest is JSON with the fields installing needs",
          wanted <= manifest.keys() and manifest["name"] == "Kuzari" and manifest["display"] == "fullscreen"
          and manifest["orientation"] == "landscape", sorted(manifest))
    driver.get(f"{base}/index.html?lang=en")
    linked = driver.execute_script("return document.querySelector('link[rel=manifest]').href;")
    sizes = driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        Promise.all(arguments[0].map(icon => new Promise(loaded => {
            const image = new Image();
            image.onload = () => loaded(`${image.naturalWidth}x${image.naturalHeight}`);
            image.onerror = () => loaded('none');
            image.src = icon.src;
        }))).then(done);""", manifest["icons"])
    check("the page links the manifest, and its icons load at their sizes, 192 and 512 among them",
          linked.endswith("/kuzari.webmanifest") and sizes == [icon["sizes"] for icon in manifest["icons"]]
          and {"192x192", "512x512"} <= set(sizes), (linked, sizes))
    check("a maskable icon, opaque, its art clear of the edge a launcher may cut away",
          maskable_icon_fits(driver, manifest), [icon for icon in manifest["icons"] if icon.get("purpose")])
    check("the build's figures say the site's sizes", built_figures_true(args.site), args.site.parent / "figures.md")


def built_figures_true(site):
    """The sizes the site's build wrote beside it (what the README points
    to) against the files themselves."""
    written = site.parent / "figures.md"
    if not written.is_file():
        return False
    rows = dict(re.findall(r"^\| (.+?) \| (\d+) \|$", written.read_text(), re.M))
    kb = lambda size: f"{size / 1000:.0f}"
    files = [p for p in site.rglob("*") if p.is_file()]
    wasm = site / "kuzari.wasm.gz"
    return (rows.get("in all") == kb(sum(p.stat().st_size for p in files))
            and rows.get("kuzari.wasm.gz") == kb(wasm.stat().st_size)
            and rows.get("kuzari.wasm, inflated") == kb(len(gzip.decompress(wasm.read_bytes())))
            and rows.get("music") == kb(sum(p.stat().st_size for p in (site / "music").iterdir())))


def maskable_icon_fits(driver, manifest):
    """The maskable icon loads, every pixel opaque, and every pixel outside the
    circle of 80 % of its width is the background's."""
    icon = next((icon for icon in manifest["icons"] if icon.get("purpose") == "maskable"), None)
    return icon is not None and driver.execute_async_script("""
        const [src, done] = arguments;
        const image = new Image();
        image.onerror = () => done(false);
        image.onload = () => {
            const n = image.naturalWidth, c = new OffscreenCanvas(n, n), x = c.getContext('2d');
            x.drawImage(image, 0, 0);
            const d = x.getImageData(0, 0, n, n).data;
            let art_inside = 0;
            for (let y = 0; y < n; y++)
                for (let i = 0; i < n; i++) {
                    const at = 4 * (y * n + i), outside = Math.hypot(i + 0.5 - n / 2, y + 0.5 - n / 2) > 0.4 * n;
                    const dark = d[at] + d[at + 1] + d[at + 2] === 0;
                    if (d[at + 3] !== 255 || (outside && !dark)) return done(false);
                    if (!outside && !dark) art_inside++;
                }
            done(art_inside > n * n / 20);
        };
        image.src = src;""", icon["src"])


def marked_build(site, number):
    """The copy of the site made build `number`: its page and a module say so."""
    import make_site  # tools/web: the site's hashes and version, as the build writes them
    index, module = site / "index.html", site / "main.js"
    page, code = index.read_text(), module.read_text()
    for path in (index, module):
        path.unlink()  # a link to the site's own file
    index.write_text(re.sub(r"<title>[^<]*</title>", f"<title>Kuzari build {number}</title>", page))
    marker = f"\nglobalThis.kuzari_build = {number};\n"
    module.write_text(re.sub(r"\nglobalThis.kuzari_build = \d+;\n$", "", code) + marker)
    return make_site.seal(site)


KEPT = """return caches.open('kuzari-build-' + arguments[0])
    .then(cache => cache.match(new URL('__kuzari/whole', location.href).href)).then(whole => !!whole);"""


def test_offline(driver, root, args):
    """After one visit the page opens with no server; a new build opens at the
    next visit, whole, and replaces the old one."""
    site = root / "offline"
    shutil.copytree(args.site, site, copy_function=lambda s, d: Path(d).symlink_to(Path(s).resolve()))
    sys.path.insert(0, str(ROOT / "tools/web"))
    first = marked_build(site, 1)
    server = serve(site)
    port = server.server_address[1]
    base = f"http://127.0.0.1:{port}"
    opened = "window.kuzari && kuzari.frames_drawn > 0"
    build = "[document.title, window.kuzari_build]"

    def kept(version):
        return wait_until(driver, f"(() => {{ {KEPT} }})()".replace("arguments[0]", f"'{version}'"), 60)

    try:
        driver.get(f"{base}/index.html?lang=en")
        check("after one visit the service worker has kept the whole site", kept(first))
        server.shutdown(), server.server_close()
        driver.refresh()
        check("with the server gone, a reload shows the title, of the build kept",
              wait_until(driver, opened, 20) and driver.execute_script(f"return {build};") == ["Kuzari build 1", 1],
              (driver.execute_script(f"return {build};"), page_errors(driver)))
        server = serve(site, port)
        second = marked_build(site, 2)
        asked = driver.execute_script("return fetch('main.js').then(response => response.text());")
        check("a page of the old build still gets the old build's files once the server has the new one",
              asked.endswith("kuzari_build = 1;\n"), asked[-40:])
        driver.refresh()
        wait_until(driver, opened, 20)
        check("a new build opens at the next visit, its page and modules all of it",
              driver.execute_script(f"return {build};") == ["Kuzari build 2", 2],
              driver.execute_script(f"return {build};"))
        check("the new build is kept, and the old one's copy goes",
              kept(second) and wait_until(driver, f"caches.has('kuzari-build-{first}').then(has => !has)", 20))
        server.shutdown(), server.server_close()
        driver.refresh()
        check("with the server gone again, the new build opens from the cache",
              wait_until(driver, opened, 20) and driver.execute_script(f"return {build};") == ["Kuzari build 2", 2],
              driver.execute_script(f"return {build};"))
    finally:
        server.shutdown()
        server.server_close()
        driver.get("about:blank")


HELD_BACK = ("bitmap/main.bmp.gz", "voice/hajimaru.wav.gz")
HOLD_S = 3.0


class SlowHandler(QuietHandler):
    """Holds a round's sheet and its first voice back a while."""
    def do_GET(self):
        if self.path.endswith(HELD_BACK):
            time.sleep(HOLD_S)
        super().do_GET()


def test_held(root, driver, args):
    """A file the game opens before it has come: the frames wait for it, and
    are those kuzari-replay plays from the recording."""
    server = serve(root, handler_class=SlowHandler)
    try:
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/site/index.html?lang=en&seed=3&record=1")
        wait_for(driver, "window.kuzari && kuzari.hashes.length > 90")
        tap_between_frames(driver, "Enter", "Enter")
        held = wait_until(driver, "kuzari.held()", 10)
        frames = driver.execute_script("return kuzari.hashes.length;")
        time.sleep(0.5)
        still = driver.execute_script("return [kuzari.hashes.length, kuzari.held()];")
        check("a step that opens a file still on its way waits, and no frame runs meanwhile",
              held and still == [frames, True], (held, frames, still))
        wait_for(driver, f"!kuzari.held() && kuzari.hashes.length > {frames + 400}", 30)
        # Standing still, the game does not catch up after: no refresh runs more
        # frames than the 100 ms the page lets it fall behind.
        burst = max(refresh[1] for refresh in driver.execute_script("return kuzari.refreshes;"))
        check("after the wait the game goes on from where it stood, without catching up", burst <= 7, burst)
        compare_recording("live play with files held back", args, live_recording(driver))
        check_console(driver)
    finally:
        server.shutdown()
        server.server_close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", type=Path, default=ROOT / "build-web/site")
    parser.add_argument("--replay", default=str(ROOT / "build/kuzari-replay"))
    parser.add_argument("--data", type=Path, default=ROOT / "data")
    parser.add_argument("--figures", help="writes the figures measured here as JSON")
    parser.add_argument("--screenshot", help="saves the live title's screenshot")
    parser.add_argument("--only", action="append", help="runs only this group (replays, live, music, data,"
                        " gamepad, crash, page, touch, figures, sound, options, install, offline, held, viewer, phone, records, viewer-controls); may be repeated")
    parser.add_argument("--screenshot-touch", help="saves a screenshot of the touch controls in a round at a phone's size")
    args = parser.parse_args()
    args.site = args.site.resolve()
    started = time.monotonic()
    try:
        socket.getaddrinfo("localhost", None)
    except OSError as error:
        # Selenium reaches chromedriver at "localhost"; a system without
        # /etc/hosts (a bare chroot) fails there with a message that hides why.
        check("the name localhost resolves, as Selenium needs to reach chromedriver", False, error)
        print(f"browser tests: {passed} passed, {failed} failed (0 s)")
        return 1
    with tempfile.TemporaryDirectory() as scratch, tempfile.TemporaryDirectory() as profile:
        root = Path(scratch)
        (root / "site").symlink_to(args.site)
        (root / "scripts").mkdir()
        for path in SCRIPTS.values():
            shutil.copyfile(path, root / "scripts" / path.name)
        # The page's modules as written (the site has them bundled), for the tests that call one directly.
        shutil.copytree(ROOT / "src/hosts/web", root / "modules", ignore=lambda _, names: [n for n in names if not n.endswith(".js")])
        server = serve(root)
        port = server.server_address[1]
        base = f"http://127.0.0.1:{port}/site"
        driver = start_browser(profile)
        try:
            groups = {
                "replays": lambda: test_replays(driver, base, args),
                "live": lambda: test_live(driver, base, args),
                "music": lambda: test_music(driver, base, args),
                "data": lambda: test_broken_data(driver, root, port, args),
                "gamepad": lambda: test_gamepad(driver, base, args),
                "crash": lambda: test_crash(driver, base, args),
                "page": lambda: test_page(driver, root, base, args),
                "touch": lambda: test_touch(driver, base, args),
                "figures": lambda: measure_play(driver, base),
                "sound": lambda: test_first_sound(base, Path(profile) / "second"),
                "options": lambda: test_options(driver, base, args),
                "install": lambda: test_install(driver, base, args),
                "offline": lambda: test_offline(driver, root, args),
                "held": lambda: test_held(root, driver, args),
                "viewer": lambda: test_viewer(driver, root, base, args),
                "phone": lambda: test_phone(driver, root, base, args),
                "records": lambda: test_records(driver, root, base, args, port),
                "viewer-controls": lambda: test_viewer_controls(driver, root, base, args),
            }
            for name, test in groups.items():
                if args.only and name not in args.only:
                    continue
                began = time.monotonic()
                driver.get_log("browser")  # each group answers for its own pages' errors
                # ... and starts with no service worker an earlier group's plain page left behind
                driver.execute_cdp_cmd("Storage.clearDataForOrigin", {
                    "origin": f"http://127.0.0.1:{port}", "storageTypes": "service_workers,cache_storage"})
                try:
                    test()
                except Exception as error:  # a test that cannot go on fails, and the next one runs
                    check(f"{name}: {error.__class__.__name__}", False, error)
                print(f"  ({name}: {time.monotonic() - began:.0f} s)", flush=True)
        finally:
            driver.quit()
            server.shutdown()
    figures["site_bytes"] = sum(p.stat().st_size for p in args.site.rglob("*") if p.is_file())
    if args.figures:
        Path(args.figures).write_text(json.dumps(figures, indent=1) + "\n")
    print(f"figures: {json.dumps(figures)}")
    print(f"browser tests: {passed} passed, {failed} failed ({time.monotonic() - started:.0f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
