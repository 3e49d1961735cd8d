#!/usr/bin/python3
"""The page as complete as the desktop, in headless Chromium: a game played in
the page replays in the native headless runner to the final line the page
printed, and a native recording picked in the page's file input plays there
to the native line; the pad (a stand-in for the browser's Gamepad API) starts
a game with its south button once chosen in the controls, which the page
remembers across a reload; F puts the page in full screen with the picture
still 4:3; on a phone (emulated touch) a tap starts, the two thumbs fly and
fire at once, the bomb button bombs, the page never scrolls or zooms, and the
touch game replays natively to the page's final line.
    tests/web/page_complete_test.py build-web/web build-test/quadrovolt_headless"""
import base64
import os
import subprocess
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as pd  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

PAGE = sys.argv[1] if len(sys.argv) > 1 else "build-web/web"
NATIVE = sys.argv[2] if len(sys.argv) > 2 else "build-test/quadrovolt_headless"
work = tempfile.mkdtemp(prefix="quadrovolt-page-complete-")

# A pad the page reads through navigator.getGamepads(): window.testPad is
# changed by the test as a player would move it.
FAKE_PAD = """
window.testPad = {connected: false, mapping: 'standard', axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
navigator.getGamepads = function() { return [window.testPad.connected ? window.testPad : null, null, null, null]; };
"""


def final_line(driver, timeout):
    end = time.time() + timeout
    while time.time() < end:
        line = driver.execute_script("return Module.quadrovoltFinalLine ? Module.quadrovoltFinalLine() : ''")
        if line:
            return line
        time.sleep(0.2)
    raise AssertionError("no final line in the page after %d s; status %s" % (timeout, pd.status(driver)))


def native_final(args):
    out = subprocess.run([NATIVE] + args, capture_output=True, text=True, check=True).stdout
    return [l for l in out.splitlines() if l.startswith("final:")][-1]


def downloaded_replay(d, name):
    """The file behind the page's replay download link, written to the work folder."""
    data = d.execute_async_script("""
        var done = arguments[0];
        fetch(document.getElementById('replaydownload').href).then(r => r.arrayBuffer()).then(b => {
          var s = '', u = new Uint8Array(b);
          for (var i = 0; i < u.length; ++i) s += String.fromCharCode(u[i]);
          done(btoa(s));
        });""")
    path = os.path.join(work, name)
    with open(path, "wb") as f:
        f.write(base64.b64decode(data))
    return path


def page_game_replays_natively(d, url):
    d.get(url + "?save=0&pilot=1&level=19")
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 2, what="play")
    start = pd.status(d)["steps"]
    pd.wait_for(d, lambda s: s["steps"] > start + 1200, what="twelve seconds of play")
    ActionChains(d).send_keys(Keys.ESCAPE).perform()
    page = final_line(d, 20)
    shown_line = d.find_element(By.ID, "finalline").text
    assert shown_line == page, "after the game the page shows '%s', not its final line '%s'" % (shown_line, page)
    link = d.find_element(By.ID, "replaydownload")
    assert link.is_displayed(), "no download link after the game"
    assert link.get_attribute("download").endswith(".rpl"), link.get_attribute("download")
    path = downloaded_replay(d, "page.rpl")
    native = native_final(["--replay", path])
    assert native == page, "page printed '%s', the native runner replays it to '%s'" % (page, native)
    print("page game, replayed natively: %s (%d bytes)" % (native, os.path.getsize(path)))


def native_game_plays_in_the_page(d, url):
    path = os.path.join(work, "native.rpl")
    native = native_final(["--frames", "1500", "--level", "20", "--bullets", "3", "--bombs", "--seed", "20",
                           "--record", path])
    d.get(url + "?save=0")
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1, what="the title")
    d.find_element(By.ID, "replayfile").send_keys(path)
    pd.wait_for(d, lambda s: s["state"] == 2, timeout=20, what="the replay to start")
    page = final_line(d, 120)
    assert page == native, "native line '%s', the page watched it to '%s'" % (native, page)
    time.sleep(0.3)
    shown_line = d.find_element(By.ID, "finalline").text
    assert shown_line == page, "after the replay the page shows '%s', not '%s'" % (shown_line, page)
    print("native game, watched in the page: %s" % page)
    # Not a replay: refused with a reason, and the title stays.
    junk = os.path.join(work, "junk.rpl")
    with open(junk, "wb") as f:
        f.write(b"not a replay at all")
    d.find_element(By.ID, "replayfile").send_keys(junk)
    time.sleep(1)
    note = d.find_element(By.ID, "replaynote").text
    assert note.startswith("junk.rpl: "), "no reason shown: '%s'" % note
    assert pd.status(d)["state"] == 1


def watching_replays_writes_nothing_to_keep(d, url):
    # The kept save folder is written when something in it changed: two
    # replays watched change nothing.
    path = os.path.join(work, "short.rpl")
    native = native_final(["--frames", "400", "--level", "5", "--bullets", "3", "--seed", "5", "--record", path])
    d.get(url)
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1 and not s["syncing"], what="the title")
    before = pd.status(d)["syncs"]
    for _ in range(2):
        d.find_element(By.ID, "replayfile").send_keys(path)
        pd.wait_for(d, lambda s: s["state"] == 2, timeout=20, what="the replay to start")
        pd.wait_for(d, lambda s: s["state"] == 1, timeout=60, what="the replay to end")
        assert final_line(d, 10) == native
    time.sleep(0.5)
    s = pd.status(d)
    assert s["syncs"] == before, "%d writes to the kept folder while only watching" % (s["syncs"] - before)


def pad_starts_a_game_and_the_choice_is_kept(d, url):
    d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FAKE_PAD})
    d.get(url + "?save=0")
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1, what="the title")
    d.execute_script("var c = document.getElementById('controls'); c.value = '2';"
                     "c.dispatchEvent(new Event('change'));")
    pd.wait_for(d, lambda s: s["mode"] == 2, timeout=5, what="pad mode")
    time.sleep(1.5)
    # South pressed on a pad that is not plugged in: nothing.
    d.execute_script("testPad.buttons[0].pressed = true;")
    time.sleep(0.5)
    assert pd.status(d)["state"] == 1, "a pad that is not there started a game"
    d.execute_script("testPad.connected = true;")  # plugged in, south held: it starts
    pd.wait_for(d, lambda s: s["state"] == 2, timeout=5, what="the pad's south button to start play")
    d.execute_script("testPad.buttons[0].pressed = false;")
    print("pad: plugged in during the title, its south button starts play")
    d.get(url + "?save=0")
    s = pd.wait_for(d, lambda s: s.get("running"), what="the page again")
    value = d.execute_script("return document.getElementById('controls').value")
    assert value == "2" and s["mode"] == 2, "after a reload the controls read %s, mode %d" % (value, s["mode"])
    print("controls: Pad kept across a reload")


def full_screen_keeps_four_by_three(d, url):
    d.get(url + "?save=0")
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1, what="the title")
    ActionChains(d).send_keys("f").perform()
    end = time.time() + 5
    while time.time() < end and not d.execute_script("return !!document.fullscreenElement"):
        time.sleep(0.1)
    assert d.execute_script("return !!document.fullscreenElement"), "F did not go full screen"
    time.sleep(0.5)
    s = pd.status(d)
    ratio = s["pictureWidth"] / s["pictureHeight"]
    assert abs(ratio - 4 / 3) < 0.01, "the picture is %dx%d" % (s["pictureWidth"], s["pictureHeight"])
    ActionChains(d).send_keys("f").perform()
    time.sleep(0.5)
    assert not d.execute_script("return !!document.fullscreenElement"), "F again did not leave full screen"
    print("full screen: on and off with F, picture %dx%d" % (s["pictureWidth"], s["pictureHeight"]))


def touch(d, kind, points):
    """One touch event; points are (id, x, y), every finger still down."""
    d.execute_cdp_cmd("Input.dispatchTouchEvent",
                      {"type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, x, y in points]})


def rect(d, element_id):
    """An element's left, top, right and bottom in CSS pixels."""
    return d.execute_script("var r = document.getElementById(arguments[0]).getBoundingClientRect();"
                            " return [r.left, r.top, r.right, r.bottom]", element_id)


def centre(d, element_id):
    left, top, right, bottom = rect(d, element_id)
    return [(left + right) / 2, (top + bottom) / 2]


def touch_plays_on_a_phone_and_replays_natively(d, url):
    # A phone held upright: touch only, so the page plays by touch.
    d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                      {"width": 412, "height": 915, "deviceScaleFactor": 1, "mobile": True})
    d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
    try:
        d.get(url + "?save=0")
        d.execute_script("localStorage.removeItem('quadrovolt.controls')")  # the page's own choice, not one kept
        d.get(url + "?save=0")
        s = pd.wait_for(d, lambda s: s.get("running") and s["drawn"] > 150, what="the title")
        assert s["mode"] == 3, "a touch-only phone starts in mode %d" % s["mode"]
        assert s["pictureWidth"] == 412 and s["pictureHeight"] == 309, s
        # The strip answers a finger: the Sound box ticks off and on.
        for want in (False, True):
            box = centre(d, "sound")
            touch(d, "touchStart", [(5, box[0], box[1])])
            touch(d, "touchEnd", [])
            time.sleep(0.3)
            assert d.execute_script("return document.getElementById('sound').checked") == want, "Sound by touch"
        touch(d, "touchStart", [(0, 206, 450)])
        touch(d, "touchEnd", [])
        pd.wait_for(d, lambda s: s["state"] == 2, 5, "a tap to start play")
        time.sleep(0.5)
        # The left thumb, in the bar under the picture, pushed right: the ship flies right.
        a = pd.status(d)
        touch(d, "touchStart", [(0, 100, 800)])
        touch(d, "touchMove", [(0, 150, 800)])
        time.sleep(0.6)
        b = pd.status(d)
        assert b["shipX"] > a["shipX"] + 100 and not b["firing"], "left stick: %s -> %s" % (a, b)
        touch(d, "touchEnd", [])
        # The right thumb pushed up: the gun turns up and fires.
        touch(d, "touchStart", [(1, 300, 800)])
        touch(d, "touchMove", [(1, 300, 740)])
        time.sleep(0.3)
        c = pd.status(d)
        assert c["firing"] and c["aim"] == 90, "right stick up: %s" % c
        # Both at once: down-left flight while firing to the right.
        touch(d, "touchStart", [(1, 300, 740), (0, 100, 800)])
        touch(d, "touchMove", [(1, 360, 800), (0, 60, 840)])
        time.sleep(0.6)
        e = pd.status(d)
        assert e["firing"] and e["aim"] == 0, "aiming right while flying: %s" % e
        assert e["shipX"] < c["shipX"] - 50 and e["shipY"] < c["shipY"] - 50, "flying down-left: %s -> %s" % (c, e)
        touch(d, "touchEnd", [])
        # The bomb button.
        box = centre(d, "bombbutton")
        touch(d, "touchStart", [(2, box[0], box[1])])
        touch(d, "touchEnd", [])
        pd.wait_for(d, lambda s: s["bombs"] < e["bombs"], 5, "the bomb button to fire a gravi-bomb")
        # No scroll, zoom or selection came of all that.
        page = d.execute_script("return [window.scrollX, window.scrollY, visualViewport.scale,"
                                " getComputedStyle(document.body).touchAction, String(getSelection())]")
        assert page == [0, 0, 1, "none", ""], "the page moved under the fingers: %s" % page
        # The sticks rest under the upright picture, and beside it once the phone is turned.
        assert min(rect(d, "leftbase")[1], rect(d, "rightbase")[1]) >= (915 + 309) / 2, "sticks over the picture"
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 915, "height": 412, "deviceScaleFactor": 1, "mobile": True})
        pd.wait_for(d, lambda s: s["pictureWidth"] == 549, 10, "the picture turned")
        time.sleep(0.3)
        assert rect(d, "leftbase")[2] <= 183 and rect(d, "rightbase")[0] >= 915 - 183, "sticks off the side bars"
        ActionChains(d).send_keys(Keys.ESCAPE).perform()
        line = final_line(d, 20)
        native = native_final(["--replay", downloaded_replay(d, "touch.rpl")])
        assert native == line, "the touch game ended on '%s', natively it replays to '%s'" % (line, native)
        print("touch game, replayed natively: %s" % native)
    finally:
        d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 1024, "height": 768, "deviceScaleFactor": 1, "mobile": False})


failed = 0
checks = [page_game_replays_natively, native_game_plays_in_the_page, watching_replays_writes_nothing_to_keep,
          full_screen_keeps_four_by_three, pad_starts_a_game_and_the_choice_is_kept,
          touch_plays_on_a_phone_and_replays_natively]
wanted = sys.argv[3:]
checks = [c for c in checks if not wanted or c.__name__ in wanted]
with pd.serve(PAGE) as url, pd.chromium(1024, 768) as d:
    for check in checks:
        try:
            check(d, url)
            print("PASS: %s" % check.__name__)
        except Exception:  # noqa: BLE001 - every check runs and reports
            traceback.print_exc()
            print("FAIL: %s" % check.__name__)
            failed += 1
    errors = pd.console_errors(d)
    for e in errors:
        print("console error: %s" % e.get("message"))
sys.exit(1 if failed else 0)
