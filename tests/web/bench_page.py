#!/usr/bin/python3
"""Times the web page in headless Chromium: the time from opening the page to
the title drawn, then, for each level, the steps run and frames drawn a second
while the page's pilot plays it (10 s each, 1024 x 768). Prints figures; no
pass or fail.
    tests/web/bench_page.py [build-web/web] [levels...]"""
import gzip
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as pd  # noqa: E402

folder = sys.argv[1] if len(sys.argv) > 1 else "build-web/web"
levels = [int(a) for a in sys.argv[2:]] or [1, 19, 39]
wasm = open(os.path.join(folder, "index.wasm"), "rb").read()
print("index.wasm: %d bytes, %d gzipped" % (len(wasm), len(gzip.compress(wasm, 9))))
with pd.serve(folder) as url, pd.chromium(1024, 768) as d:
    for _ in range(3):
        d.get(url + "?save=0")
        s = pd.wait_for(d, lambda s: s.get("running") and s["titleMs"] > 0, what="the title")
        print("title drawn %.0f ms after the page opened" % s["titleMs"])
    for level in levels:
        d.get(url + "?save=0&pilot=1&level=%d" % level)
        pd.wait_for(d, lambda s: s.get("running") and s["state"] == 2, what="play")
        time.sleep(1)
        a, t0 = pd.status(d), time.time()
        time.sleep(10)
        b, t1 = pd.status(d), time.time()
        seconds = t1 - t0
        print("level %d (reached %d): %.1f steps a second, %.1f frames drawn a second, %.0f steps dropped" %
              (level, b["level"], (b["steps"] - a["steps"]) / seconds, (b["drawn"] - a["drawn"]) / seconds,
               b["dropped"] - a["dropped"]))
