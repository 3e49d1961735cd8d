"""Opens the web page in headless Chromium through chromedriver (selenium),
served from a folder by a local HTTP server on 127.0.0.1. Shared by the
browser tests and the page benchmark."""
import contextlib
import functools
import http.server
import json
import shutil
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serve(folder):
    """The folder on http://127.0.0.1:<free port>/; yields the base URL."""
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        yield "http://127.0.0.1:%d/" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


# This machine has no network: without these Chromium keeps trying to reach
# its update, sync and safe-browsing services.
QUIET_FLAGS = ["--no-first-run", "--disable-background-networking", "--disable-component-update",
               "--disable-sync", "--disable-quic", "--disable-default-apps", "--no-default-browser-check"]


@contextlib.contextmanager
def chromium(width=1024, height=768, profile=None):
    """Headless Chromium with WebGL 2 on its software renderer, sound allowed
    without a gesture, and a fresh profile unless one is given (a reload
    test keeps its own)."""
    own = profile is None
    if own:
        profile = tempfile.mkdtemp(prefix="quadrovolt-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--window-size=%d,%d" % (width, height),
                 "--autoplay-policy=no-user-gesture-required", "--user-data-dir=" + profile] + QUIET_FLAGS:
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        # The page's own size, whatever the window's decorations take.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        yield driver
    finally:
        driver.quit()
        if own:
            shutil.rmtree(profile, ignore_errors=True)


def status(driver):
    """What the page reports about the game (see quadrovolt_status)."""
    text = driver.execute_script(
        "return window.Module && Module.quadrovoltStatus ? JSON.stringify(Module.quadrovoltStatus()) : null")
    return json.loads(text) if text and text != 'null' else None


def wait_for(driver, test, timeout=60, what="the page"):
    """Polls status() until test(status) holds; the last status on timeout."""
    end = time.time() + timeout
    last = None
    while time.time() < end:
        last = status(driver)
        if last and test(last):
            return last
        time.sleep(0.1)
    raise AssertionError("timed out waiting for %s; last status %s" % (what, last))


def console_errors(driver):
    return [e for e in driver.get_log("browser") if e.get("level") == "SEVERE"]
