#!/usr/bin/python3
"""The web page in a real browser (headless Chromium driven by selenium):
it loads with no console error, draws the title (checked on real pixels, at
two page shapes), plays sound and keeps its mix below full scale, starts play
from a key and flies the ship, and keeps the best score and level across a
reload.
    tests/web/browser_test.py build-web/web"""
import math
import os
import shutil
import socket
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
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Shot:
    """A screenshot's pixels (RGB), through ImageMagick."""

    def __init__(self, driver, name):
        path = os.path.join(tempfile.gettempdir(), "quadrovolt-web-%s.png" % name)
        driver.get_screenshot_as_file(path)
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                              check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        self.path = path

    def count(self, left, top, right, bottom, test):
        n = 0
        for y in range(top, bottom):
            row = y * self.width * 3
            for x in range(left, right):
                i = row + x * 3
                if test(self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]):
                    n += 1
        return n


def white(r, g, b):
    return r > 200 and g > 200 and b > 200


def yellow(r, g, b):
    return r > 150 and g > 150 and b < 100


def lit(r, g, b):
    return r + g + b > 30


def title_is_drawn(shot, left, top, scale, name):
    """The heading, the edition line and the middle bracket of the level strip,
    where the 1024 x 768 title has them, in a picture at (left, top) drawn at scale."""
    def box(x0, y0, x1, y1):
        return (left + int(x0 * scale), top + int(y0 * scale), left + int(x1 * scale), top + int(y1 * scale))

    heading = shot.count(*box(60, 180, 960, 300), white)
    edition = shot.count(*box(835, 305, 995, 325), yellow)
    bracket = shot.count(*box(552, 462, 597, 502), white)
    assert heading > 3000 * scale * scale, "%s: the heading has %d white pixels" % (name, heading)
    assert edition > 60 * scale * scale, "%s: the edition line has %d yellow pixels" % (name, edition)
    assert bracket > 40 * scale, "%s: the middle bracket has %d white pixels" % (name, bracket)


def the_mix_stays_below_full_scale(d):
    """The page's own way to the speakers (the bank's share, then the limiter),
    rendered offline: all sixteen waves at once and 12 dB louder stay under the
    limiter's ceiling, and the intro alone comes out as the share alone makes
    it, sample for sample, only later by the limiter's look-ahead. The page's
    voices go that way."""
    r = d.execute_async_script("""
        var done = arguments[arguments.length - 1], audio = Module.quadrovoltAudio, rate = 22050;
        // The buffers at once at `gain` times the share, through the page's chain or the share alone.
        function render(buffers, gain, limited) {
          var context = new OfflineAudioContext(2, 3 * rate, rate), way = {input: context.createGain()};
          if (limited) {
            way = audio.output(context);
          } else {
            way.input.gain.value = audio.input.gain.value;
            way.input.connect(context.destination);
          }
          var louder = context.createGain();
          louder.gain.value = gain;
          louder.connect(way.input);
          buffers.forEach(function(b) {
            var s = context.createBufferSource();
            s.buffer = b;
            s.connect(louder);
            s.start(0);
          });
          return Promise.resolve(way.ready).then(function() { return context.startRendering(); });
        }
        // The peak, and the samples at the ceiling: a limiter puts the odd peak there, a clip whole runs.
        function measure(b) {
          var p = 0, n = 0;
          for (var c = 0; c < 2; ++c) {
            b.getChannelData(c).forEach(function(v) {
              p = Math.max(p, Math.abs(v));
              n += Math.abs(v) > 0.8912;
            });
          }
          return [p, n];
        }
        function first(data) { return data.findIndex(function(v) { return v != 0; }); }
        // And the page's own voices go into that chain: the intro playing on the title reaches its input.
        var tap = audio.context.createAnalyser(), heard = new Float32Array(tap.fftSize);
        audio.input.connect(tap);
        var live = new Promise(function(resolve) {
          setTimeout(function() {
            tap.getFloatTimeDomainData(heard);
            resolve(heard.some(function(v) { return v != 0; }));
          }, 300);
        });
        var intro = [audio.buffers[14]];
        Promise.all([audio.ready, render(audio.buffers, 4, false), render(audio.buffers, 4, true),
                     render(intro, 1, false), render(intro, 1, true), live]).then(function(r) {
          var bare = r[3].getChannelData(0), limited = r[4].getChannelData(0);
          var delay = first(limited) - first(bare), differ = 0;
          for (var i = 0; i + delay < limited.length; ++i) differ += bare[i] != limited[i + delay];
          done([r[0], measure(r[1])[0]].concat(measure(r[2]), [measure(r[3])[0], delay, differ, r[5]]));
        }).catch(function(e) { done(String(e)); });
        """)
    assert isinstance(r, list), "the offline render failed: %s" % r
    ready, loud_bare, loud, at_ceiling, quiet, delay, differ, voices_in_chain = r
    ceiling = 10 ** (-1 / 20)
    print("  the mix: every wave at once, +12 dB: %.2f dBFS at the share alone, %.2f dBFS out of the %s (%d samples "
          "at the ceiling); the intro %.2f dBFS, %d frames later" % (20 * math.log10(loud_bare), 20 * math.log10(loud),
                                                                    ready, at_ceiling, 20 * math.log10(quiet), delay))
    assert ready == "limiter", "the page's sound goes through %s, not the limiter" % ready
    assert voices_in_chain, "the intro on the title does not go through the page's share and limiter"
    assert loud_bare > 1, "every wave at once should pass full scale without the limiter: %.3f" % loud_bare
    assert 0.95 * ceiling < loud <= ceiling, "the limiter let out a peak of %.4f (ceiling %.4f)" % (loud, ceiling)
    # 132,300 samples, past full scale for seconds: clipped, 16,500 sit at the
    # ceiling; without the look-ahead, 200; limited, 40.
    assert at_ceiling < 100, "%d samples sit at the ceiling: clipped, not limited" % at_ceiling
    assert delay == round(0.0015 * 22050) - 1 and differ == 0, "the intro changed: %d later, %d differ" % (delay,
                                                                                                        differ)


def check_loads_and_draws_the_title(url):
    with pd.chromium(1024, 768) as d:
        start = time.time()
        d.get(url + "?save=0")
        s = pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        print("  title drawn %.0f ms after the page opened" % s["titleMs"])
        assert s["state"] == 1 and s["mode"] == 1, "the page starts on the title in mouse mode: %s" % s
        title_is_drawn(Shot(d, "title"), 0, 0, 1.0, "1024 x 768")
        # Sound: the bank's sixteen waves are loaded and the intro tune plays.
        audio = d.execute_script("var a = Module.quadrovoltAudio; return a ? [a.context.state, a.buffers.length,"
                                 " a.voices.filter(function(v) { return v && v.loop; }).length] : null")
        assert audio == ["running", 16, 1], "sound: %s" % audio
        the_mix_stays_below_full_scale(d)
        # A wider page: the picture keeps 4:3, centred between black bars.
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 1200, "height": 600, "deviceScaleFactor": 1, "mobile": False})
        pd.wait_for(d, lambda s: s["pictureWidth"] == 800 and s["pictureHeight"] == 600, 10, "the new picture")
        time.sleep(0.5)
        shot = Shot(d, "title-wide")
        assert (shot.width, shot.height) == (1200, 600), (shot.width, shot.height)
        title_is_drawn(shot, 200, 0, 600 / 768, "1200 x 600")
        # The bars above the title's help panel, which lies over the picture's foot.
        panel_top = int(d.execute_script("return document.getElementById('help').getBoundingClientRect().top"))
        assert panel_top > 400, "the help panel reaches up to row %d" % panel_top
        bars = shot.count(0, 0, 195, panel_top - 2, lit) + shot.count(1005, 0, 1200, panel_top - 2, lit)
        assert bars == 0, "%d lit pixels on the bars" % bars
        errors = pd.console_errors(d)
        assert not errors, "console errors: %s" % errors
        print("  loaded in %.1f s" % (time.time() - start))


def check_a_key_starts_play_and_the_ship_moves(url):
    with pd.chromium(1024, 768) as d:
        d.get(url + "?mode=keyboard&save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["mode"] == 0 and s["drawn"] >= 30, what="the title")
        actions = ActionChains(d)
        actions.key_down("x").pause(0.3).key_up("x").perform()
        pd.wait_for(d, lambda s: s["state"] == 2, 10, "play")
        # The ship warps in at the middle; its gun is the yellow in the row it flies in.
        middle = (480, 365, 570, 400)
        right = (880, 365, 1010, 400)
        for _ in range(30):
            before = Shot(d, "play-start")
            if before.count(*middle, yellow) > 12:
                break
            time.sleep(0.1)
        ActionChains(d).key_down(Keys.ARROW_RIGHT).pause(1.5).key_up(Keys.ARROW_RIGHT).perform()
        after = Shot(d, "play-moved")
        assert before.count(*middle, yellow) > 12 and before.count(*right, yellow) < 5, \
            "the ship is not in the middle at the start (%s)" % before.path
        assert after.count(*right, yellow) > 12 and after.count(*middle, yellow) < 5, \
            "the ship did not fly right (%s)" % after.path
        errors = pd.console_errors(d)
        assert not errors, "console errors: %s" % errors


def leave_game(driver):
    """Escape until the title is back: a press so short that no step saw it
    (on a busy machine) is pressed again."""
    for _ in range(5):
        ActionChains(driver).key_down(Keys.ESCAPE).pause(0.3).key_up(Keys.ESCAPE).perform()
        try:
            pd.wait_for(driver, lambda s: s["state"] == 1, 3, "the title")
            return
        except AssertionError:
            pass
    raise AssertionError("Escape did not leave the game: %s" % pd.status(driver))


def check_the_save_survives_a_reload(url):
    profile = tempfile.mkdtemp(prefix="quadrovolt-chromium-")
    with pd.chromium(1024, 768, profile) as d:
        # The page's pilot plays level 1 until it reaches level 2, then Escape
        # leaves the game, which saves.
        d.get(url + "?pilot=1")
        s = pd.wait_for(d, lambda s: s.get("running") and s["state"] == 2 and s["level"] >= 2, 90, "level 2")
        leave_game(d)
        s = pd.wait_for(d, lambda s: s["state"] == 1 and not s["syncing"] and s["syncs"] >= 1, 20, "the save")
        kept = (s["hiScore"], s["maxLevel"])
        assert kept[0] > 0 and kept[1] >= 2, "nothing to keep: %s" % s
        d.get(url)
        s = pd.wait_for(d, lambda s: s.get("running") and s["drawn"] > 5, what="the page again")
        assert (s["hiScore"], s["maxLevel"]) == kept, "kept %s, read back %s" % (kept, s)
        replay = d.execute_script("return FS.analyzePath('/save/QUADROVOLT.RPL').exists")
        assert replay, "the last game's replay was not kept"
        errors = pd.console_errors(d)
        assert not errors, "console errors: %s" % errors
        print("  kept best score %d and level %d" % kept)


def looping_voices(driver):
    return driver.execute_script("var a = Module.quadrovoltAudio; return a ? a.voices.filter(function(v) {"
                                 " return v && v.loop; }).length : -1")


def shown(driver, element_id):
    return driver.execute_script("var e = document.getElementById(arguments[0]);"
                                 " return !!e && e.getClientRects().length > 0 && getComputedStyle(e).visibility"
                                 " != 'hidden'", element_id)


def click_sound_box(driver):
    driver.execute_script("document.getElementById('sound').click()")


def check_the_sound_box_silences_the_title_music(url):
    profile = tempfile.mkdtemp(prefix="quadrovolt-chromium-")
    with pd.chromium(1024, 768, profile) as d:
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        assert looping_voices(d) == 1, "the intro does not play on the title"
        click_sound_box(d)
        time.sleep(0.3)
        assert looping_voices(d) == 0, "the intro plays on with the Sound box unticked"
        # Kept off across a reload: the title is silent until the box is ticked.
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title again")
        assert not d.execute_script("return document.getElementById('sound').checked")
        assert looping_voices(d) == 0, "the intro plays with sound off"
        click_sound_box(d)
        time.sleep(0.3)
        assert looping_voices(d) == 1, "ticked on, the title's intro did not start"


def check_escape_on_the_title_ends_until_a_new_key(url):
    with pd.chromium(1024, 768) as d:
        d.get(url + "?save=0&mode=keyboard")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        ActionChains(d).key_down(Keys.ESCAPE).pause(0.3).key_up(Keys.ESCAPE).perform()
        time.sleep(1)
        s = pd.status(d)
        assert not s["running"], "Escape's release started a new game at once: %s" % s
        assert shown(d, "ended") and not shown(d, "help"), "no 'has ended' message once Escape is let go"
        ActionChains(d).key_down("x").pause(0.2).key_up("x").perform()
        pd.wait_for(d, lambda s: s["running"] and s["state"] == 1, 5, "a new game on the title")
        time.sleep(0.3)
        assert shown(d, "help") and not shown(d, "ended"), "the strip did not come back with the new game"


def check_a_reload_mid_game_keeps_the_best_score_and_the_replay(url):
    profile = tempfile.mkdtemp(prefix="quadrovolt-chromium-")
    with pd.chromium(1024, 768, profile) as d:
        d.get(url + "?pilot=1")
        s = pd.wait_for(d, lambda s: s.get("running") and s["state"] == 2 and s["hiScore"] >= 300, 90, "a score")
        d.refresh()
        after = pd.wait_for(d, lambda s: s.get("running") and s["drawn"] > 5, what="the page again")
        assert after["hiScore"] >= s["hiScore"], "best %d in play, %d after the reload" % (s["hiScore"],
                                                                                         after["hiScore"])
        size = d.execute_script("var p = FS.analyzePath('/save/QUADROVOLT.RPL');"
                                " return p.exists ? p.object.usedBytes : 0")
        assert size > 100, "the game's replay was not kept (%d bytes)" % size
        print("  best %d in play, %d after the reload; replay %d bytes" % (s["hiScore"], after["hiScore"], size))


def check_a_hidden_page_pauses(url):
    with pd.chromium(1024, 768) as d:
        d.get(url + "?save=0&mode=keyboard")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        ActionChains(d).key_down("x").pause(0.3).key_up("x").perform()
        pd.wait_for(d, lambda s: s["state"] == 2, 10, "play")
        game = d.current_window_handle
        d.switch_to.new_window("tab")
        time.sleep(2)
        d.switch_to.window(game)
        time.sleep(1)
        s = pd.status(d)
        assert s["state"] == 2 and s["paused"], "back on the page, play is not paused: %s" % s
        assert shown(d, "paused"), "the page does not say the game is paused"
        ActionChains(d).key_down("p").pause(0.2).key_up("p").perform()
        s = pd.wait_for(d, lambda s: not s["paused"], 5, "P to go on")
        time.sleep(0.3)
        assert not shown(d, "paused"), "the paused word stays after P"


def check_a_page_that_cannot_load_says_why(url):
    # From the disk: the browser will not load the game's code.
    with pd.chromium(640, 480) as d:
        d.get("file://" + os.path.abspath(os.path.join(PAGE, "index.html")))
        time.sleep(2)
        text = d.find_element(By.ID, "message").text
        assert shown(d, "message") and "served" in text, "opened from file://, the page says '%s'" % text
    # A host that left index.wasm out.
    partial = tempfile.mkdtemp(prefix="quadrovolt-partial-")
    for name in ("index.html", "index.js"):
        shutil.copy(os.path.join(PAGE, name), partial)
    with pd.serve(partial) as partial_url, pd.chromium(640, 480) as d:
        d.get(partial_url)
        deadline = time.time() + 10
        while time.time() < deadline and "index.wasm" not in d.find_element(By.ID, "message").text:
            time.sleep(0.2)
        text = d.find_element(By.ID, "message").text
        assert shown(d, "message") and "index.wasm" in text, "without index.wasm the page says '%s'" % text
    shutil.rmtree(partial, ignore_errors=True)


def strip_height(driver):
    return driver.execute_script("return document.getElementById('help').getBoundingClientRect().height")


def check_small_windows_keep_the_title_in_reach(url):
    with pd.chromium(320, 240) as d:
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        height = strip_height(d)
        assert height <= 240 * 0.3, "at 320x240 the strip is %d px tall" % height
        ActionChains(d).move_to_element_with_offset(d.find_element(By.ID, "canvas"), 0, -40).click().perform()
        pd.wait_for(d, lambda s: s["state"] == 2, 5, "a click on the title to start play")
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 640, "height": 360, "deviceScaleFactor": 1, "mobile": False})
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title at 640x360")
        height = strip_height(d)
        assert height <= 360 * 0.2, "at 640x360 the strip is %d px tall" % height
        print("  the strip: %d px at 640x360" % height)


def check_pad_chosen_without_a_pad_still_starts(url):
    with pd.chromium(1024, 768) as d:
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        assert "R" in [k.text for k in d.find_elements(By.CSS_SELECTOR, "#help kbd")], "R is not on the strip"
        # R with no game kept says so on the page.
        ActionChains(d).key_down("r").pause(0.2).key_up("r").perform()
        time.sleep(0.5)
        note = d.find_element(By.ID, "replaynote").text
        assert "no game" in note.lower(), "R with nothing kept says '%s'" % note
        d.execute_script("var c = document.getElementById('controls'); c.value = '2';"
                         "c.dispatchEvent(new Event('change'));")
        pd.wait_for(d, lambda s: s["mode"] == 2, 5, "pad mode")
        time.sleep(0.5)
        assert shown(d, "padwanted"), "no word to press a button on the pad"
        assert "press a button on your pad" in d.find_element(By.ID, "padwanted").text.lower()
        ActionChains(d).key_down("x").pause(0.3).key_up("x").perform()
        s = pd.wait_for(d, lambda s: s["state"] == 2, 5, "a key to start play with no pad")
        assert s["mode"] == 0, "started by a key, the game is in mode %d" % s["mode"]
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 10, what="the page again")
        ActionChains(d).move_to_element(d.find_element(By.ID, "canvas")).click().perform()
        pd.wait_for(d, lambda s: s["state"] == 2, 5, "a click to start play")


def check_a_busy_port_is_said_plainly():
    holder = socket.socket()
    holder.bind(("127.0.0.1", 0))
    holder.listen(1)
    port = holder.getsockname()[1]
    try:
        run = subprocess.run([os.path.join(ROOT, "scripts", "serve-web.sh"), PAGE, str(port)],
                             capture_output=True, text=True, timeout=20)
    finally:
        holder.close()
    both = run.stdout + run.stderr
    assert run.returncode != 0, "serve-web.sh on a taken port exited 0"
    assert "Traceback" not in both and "taken" in both and "served at" not in both, both


def check_keys_are_named_as_the_layout_has_them(url):
    # An AZERTY keyboard as the browser reports it: the key where QWERTY has Z
    # is labelled W.
    azerty = """
    Object.defineProperty(navigator, 'keyboard', {value: {getLayoutMap: function() {
      return Promise.resolve(new Map([['KeyZ', 'w'], ['KeyX', 'x'], ['KeyC', 'c'], ['KeyS', 's'], ['KeyP', 'p'],
                                      ['KeyF', 'f'], ['KeyR', 'r'], ['KeyQ', 'a'], ['KeyW', 'z']]));
    }}});"""
    with pd.chromium(1024, 768) as d:
        d.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": azerty})
        d.get(url + "?save=0")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, what="the title")
        time.sleep(0.3)
        shoot = d.find_element(By.ID, "shootkeys").text
        assert shoot.split()[:1] == ["W"], "on AZERTY the strip names the keys '%s'" % shoot


def check_a_second_visit_plays_offline():
    profile = tempfile.mkdtemp(prefix="quadrovolt-chromium-")
    with pd.chromium(1024, 768, profile) as d:
        with pd.serve(PAGE) as url:
            d.get(url + "?save=0&mode=keyboard")
            pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 10, what="the title")
            manifest = d.execute_async_script("""
                var done = arguments[0];
                fetch(document.querySelector('link[rel=manifest]').href).then(r => r.json())
                  .then(m => Promise.all(m.icons.map(i => fetch(i.src).then(r => r.ok && i.sizes))))
                  .then(sizes => done(sizes), e => done(String(e)));""")
            assert isinstance(manifest, list) and "256x256" in manifest and all(manifest), manifest
            cached = d.execute_async_script("""
                var done = arguments[0];
                navigator.serviceWorker.ready.then(() => caches.open('quadrovolt-page'))
                  .then(c => c.keys()).then(k => done(k.map(r => r.url.split('/').pop())), e => done(String(e)));""")
            assert isinstance(cached, list) and {"index.html", "index.js", "index.wasm"} <= set(cached), cached
        # The server is gone and the browser is offline: the page still plays.
        d.execute_cdp_cmd("Network.enable", {})
        d.execute_cdp_cmd("Network.emulateNetworkConditions", {"offline": True, "latency": 0, "downloadThroughput": -1,
                                                               "uploadThroughput": -1})
        d.get(url + "?save=0&mode=keyboard")
        pd.wait_for(d, lambda s: s.get("running") and s["drawn"] >= 30, 30, "the title offline")
        ActionChains(d).key_down("x").pause(0.3).key_up("x").perform()
        pd.wait_for(d, lambda s: s["state"] == 2, 10, "play offline")
    shutil.rmtree(profile, ignore_errors=True)


def main():
    checks = [check_loads_and_draws_the_title, check_a_key_starts_play_and_the_ship_moves,
              check_the_save_survives_a_reload, check_the_sound_box_silences_the_title_music,
              check_escape_on_the_title_ends_until_a_new_key,
              check_a_reload_mid_game_keeps_the_best_score_and_the_replay, check_a_hidden_page_pauses,
              check_a_page_that_cannot_load_says_why, check_small_windows_keep_the_title_in_reach,
              check_pad_chosen_without_a_pad_still_starts, check_a_busy_port_is_said_plainly,
              check_keys_are_named_as_the_layout_has_them, check_a_second_visit_plays_offline]
    # Only these checks, when named after the folder (for working on one).
    wanted = sys.argv[2:]
    checks = [c for c in checks if not wanted or c.__name__ in wanted]
    passed = failed = 0
    with pd.serve(PAGE) as url:
        for check in checks:
            try:
                check() if check.__code__.co_argcount == 0 else check(url)
                print("%s: passed" % check.__name__)
                passed += 1
            except Exception:
                traceback.print_exc()
                print("%s: FAILED" % check.__name__)
                failed += 1
    print("browser: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
