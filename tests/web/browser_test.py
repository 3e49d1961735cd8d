#!/usr/bin/python3
"""The web page in a real browser (headless Chromium driven by selenium):
it loads with no console error, draws the title (checked on real pixels, at
two page shapes), plays sound and keeps its mix below full scale, starts play
from a key and flies the ship, and keeps the best score and level across a
reload.
    tests/web/browser_test.py build-web/web"""
import math
import os
import subprocess
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as pd  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

PAGE = sys.argv[1] if len(sys.argv) > 1 else "build-web/web"


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


def main():
    checks = [check_loads_and_draws_the_title, check_a_key_starts_play_and_the_ship_moves,
              check_the_save_survives_a_reload]
    passed = failed = 0
    with pd.serve(PAGE) as url:
        for check in checks:
            try:
                check(url)
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
