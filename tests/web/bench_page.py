#!/usr/bin/python3
"""Times the web page in headless Chromium: the download (each file raw and
gzipped), the time from opening the page to the title drawn, then, for each
level, the steps run and frames drawn a second while the page's pilot plays
it (10 s each), at 1024 x 768 and on a phone's 412 x 915 (touch emulated).
Each figure has the machine's load average beside it: the machine may be
shared. Prints figures; no pass or fail.
    tests/web/bench_page.py [build-web/web] [levels...]"""
import gzip
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as pd  # noqa: E402

folder = sys.argv[1] if len(sys.argv) > 1 else "build-web/web"
levels = [int(a) for a in sys.argv[2:]] or [1, 19, 39]


def load():
    with open("/proc/loadavg") as f:
        return "load %s" % " ".join(f.read().split()[:3])


raw = packed = 0
for name in sorted(os.listdir(folder)):
    data = open(os.path.join(folder, name), "rb").read()
    size = len(gzip.compress(data, 9))
    raw, packed = raw + len(data), packed + size
    print("%-22s %8d bytes, %7d gzipped" % (name, len(data), size))
print("%-22s %8d bytes, %7d gzipped" % ("the page in all", raw, packed))

SHAPES = [("1024x768", 1024, 768, False), ("phone 412x915", 412, 915, True)]
with pd.serve(folder) as url, pd.chromium(1024, 768) as d:
    for shape, width, height, phone in SHAPES:
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": phone})
        d.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": phone, "maxTouchPoints": 5})
        for _ in range(3):
            d.get(url + "?save=0")
            s = pd.wait_for(d, lambda s: s.get("running") and s["titleMs"] > 0, what="the title")
            print("%s: title drawn %.0f ms after the page opened (%s)" % (shape, s["titleMs"], load()))
        for level in levels:
            # The pilot flies by the mouse rules, whatever the page's controls.
            d.get(url + "?save=0&pilot=1&mode=mouse&level=%d" % level)
            pd.wait_for(d, lambda s: s.get("running") and s["state"] == 2, what="play")
            time.sleep(1)
            a, t0 = pd.status(d), time.time()
            time.sleep(10)
            b, t1 = pd.status(d), time.time()
            seconds = t1 - t0
            print("%s: level %d (reached %d): %.1f steps a second, %.1f frames drawn a second, %.0f steps dropped "
                  "(%s)" % (shape, level, b["level"], (b["steps"] - a["steps"]) / seconds,
                            (b["drawn"] - a["drawn"]) / seconds, b["dropped"] - a["dropped"], load()))
