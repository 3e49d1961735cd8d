#!/usr/bin/python3
"""The score board in the page, in headless Chromium against the real service
on 127.0.0.1 serving the page itself (--web, under /play/), each on a free
port and a fresh database: with sharing off the page sends nothing; a name
typed in the strip never reaches the game; a ticketed game is submitted at its
end and the board holds the score the service computed, equal to the page's
final line; a game that ends with the service down waits in the outbox and is
sent once the service is back on the same database, appearing exactly once;
a game submitted after its ticket expired shows the service's reason; a board
entry watched through ?watch= and through its row's button plays to the final
line the native runner gives its bytes, and ?watch= of another site is not
fetched.
    tests/web/board_page_test.py build-web/web build-test/server/quadrovolt-scores build-test/quadrovolt_headless"""
import atexit
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import urllib.error
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as pd  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

PAGE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-web/web")
SCORES = sys.argv[2] if len(sys.argv) > 2 else "build-test/server/quadrovolt-scores"
NATIVE = sys.argv[3] if len(sys.argv) > 3 else "build-test/quadrovolt_headless"
SHOT = os.environ.get("BOARD_SHOT", "")
work = tempfile.mkdtemp(prefix="quadrovolt-board-page-")
atexit.register(shutil.rmtree, work, ignore_errors=True)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Service:
    """quadrovolt-scores on 127.0.0.1:port, its log kept; stopped on exit."""
    running = []

    def __init__(self, db, port, *extra):
        self.db, self.port, self.extra = db, port, list(extra)
        self.proc, self.lines = None, []

    def start(self):
        self.proc = subprocess.Popen([SCORES, "--db", self.db, "--listen", "127.0.0.1:%d" % self.port, "--web", PAGE,
                                      "--workers", "1", "--rate-limit", "0"] + self.extra,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                     text=True)
        Service.running.append(self)
        threading.Thread(target=lambda: [self.lines.append(l.rstrip()) for l in self.proc.stderr],
                         daemon=True).start()
        end = time.time() + 20
        while time.time() < end:
            try:
                if self.get("/api/health")["status"] == "ok":
                    return self
            except (OSError, ValueError):
                time.sleep(0.1)
        raise AssertionError("the service did not start: %s" % self.lines[-5:])

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(10)

    @property
    def url(self):
        return "http://127.0.0.1:%d" % self.port

    def get(self, path, raw=False):
        with urllib.request.urlopen(self.url + path, timeout=10) as r:
            data = r.read()
        return data if raw else json.loads(data)

    def requests(self):
        """The requests the service has logged so far ("... GET /api/board 200 ...")."""
        return [l for l in self.lines if re.search(r" (GET|POST|DELETE|PUT|HEAD) /", l)]


@atexit.register
def _stop_services():
    for s in Service.running:
        s.stop()


def board(d):
    return d.execute_script("return window.QuadrovoltBoard ? QuadrovoltBoard.state() : null")


def wait_board(d, test, timeout, what):
    end = time.time() + timeout
    last = None
    while time.time() < end:
        last = board(d)
        if last and test(last):
            return last
        time.sleep(0.1)
    raise AssertionError("timed out waiting for %s; the board's state %s" % (what, last))


def verdict(d):
    return d.find_element(By.ID, "boardverdict").get_attribute("textContent")


def wait_verdict(d, test, timeout, what):
    end = time.time() + timeout
    while time.time() < end:
        if test(verdict(d)):
            return verdict(d)
        time.sleep(0.1)
    raise AssertionError("timed out waiting for %s; the verdict reads '%s', board %s" % (what, verdict(d), board(d)))


def pending(d):
    return d.execute_async_script("var done = arguments[0];"
                                  "QuadrovoltBoard.pending().then(function(e) { done(e.length); },"
                                  " function(e) { done('failed: ' + e); });")


def final_line(d, timeout, before=""):
    end = time.time() + timeout
    while time.time() < end:
        line = d.execute_script("return Module.quadrovoltFinalLine ? Module.quadrovoltFinalLine() : ''")
        if line and line != before:
            return line
        time.sleep(0.2)
    raise AssertionError("no new final line after %d s; status %s" % (timeout, pd.status(d)))


def score_of(line):
    return int(re.search(r" score (\d+) ", line).group(1))


def share_by_hand(d, name):
    """Sharing turned on in the strip and a name typed there, as a player does."""
    d.find_element(By.ID, "boardshare").click()
    field = d.find_element(By.ID, "boardname")
    field.click()
    field.clear()
    field.send_keys(name)
    field.send_keys(Keys.ENTER)


def share_kept(d, url, name, key):
    d.execute_script("localStorage.setItem('quadrovolt.board', arguments[0])",
                     json.dumps({"share": True, "name": name, "key": key}))
    d.get(url)


def play_a_game(d, seconds, service=None):
    """A keyboard game from the title: X starts it, the four fire keys shoot in
    turn while the ship drifts; Escape ends it. The service is stopped just
    before the end when given."""
    before = d.execute_script("return Module.quadrovoltFinalLine()")
    ActionChains(d).key_down("x").pause(0.3).key_up("x").perform()
    pd.wait_for(d, lambda s: s["state"] == 2, 10, "play")
    end = time.time() + seconds
    keys = ["s", "c", "x", "z"]
    i = 0
    while time.time() < end:
        ActionChains(d).key_down(keys[i % 4]).pause(0.4).key_up(keys[i % 4]).perform()
        i += 1
    if service:
        service.stop()
    # A press no step saw is held until one has: short, so the title never
    # takes it as the Escape that ends the page.
    if pd.status(d)["state"] == 2:
        ActionChains(d).key_down(Keys.ESCAPE).key_up(Keys.ESCAPE).perform()
    line = final_line(d, 30, before)
    pd.wait_for(d, lambda s: s["running"] and s["state"] == 1, 10, "the title after the game")
    return line


def title(d, url):
    d.get(url)
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1, 60, "the title")


def load(d, url):
    d.get(url)
    pd.wait_for(d, lambda s: s.get("running"), 60, "the page")


def native_final(path):
    out = subprocess.run([NATIVE, "--replay", path], capture_output=True, text=True, timeout=120).stdout
    return [l for l in out.splitlines() if l.startswith("final:")][-1]


KEY = "0123456789abcdef0123456789abcdef"
service = Service(os.path.join(work, "scores.db"), free_port())
found = {}


def sharing_off_sends_nothing(d):
    title(d, service.url + "/play/?save=0&mode=keyboard")
    seen = len(service.requests())
    time.sleep(2)
    play_a_game(d, 1.5)
    time.sleep(2)
    s = board(d)
    assert not s["active"] and s["ticket"] is None, s
    assert not d.find_element(By.ID, "board").is_displayed(), "the board shows with sharing off"
    assert verdict(d) == ""
    extra = [l for l in service.requests()[seen:] if "/api/" in l]
    assert not extra, "with sharing off the page asked the service: %s" % extra


def a_ticketed_game_is_on_the_board(d):
    title(d, service.url + "/play/?save=0&mode=keyboard")
    # Typing the name: not one key reaches the game (S fires, so would start it).
    share_by_hand(d, "Page Tester")
    time.sleep(0.5)
    assert pd.status(d)["state"] == 1, "typing a name started a game"
    # A bad name is refused in the strip and sends nothing.
    field = d.find_element(By.ID, "boardname")
    field.send_keys("<")
    time.sleep(0.3)
    assert "bad" in field.get_attribute("class") and not board(d)["active"], board(d)
    assert "1 to 12" in d.find_element(By.ID, "boardnote").text
    field.send_keys(Keys.BACKSPACE, Keys.ENTER)
    t = wait_board(d, lambda s: s["active"] and s["ticket"], 10, "a ticket")
    stored = json.loads(d.execute_script("return localStorage.getItem('quadrovolt.board')"))
    assert stored["share"] and stored["name"] == "Page Tester" and re.fullmatch("[0-9a-f]{32}", stored["key"]), stored
    line = play_a_game(d, 6)
    s = board(d)
    assert s["ticket"] != t["ticket"], "the used ticket is still held"
    shown = wait_verdict(d, lambda v: v.startswith("accepted: "), 90, "the verdict")
    entries = service.get("/api/board?period=week")["entries"]
    assert [(e["name"], e["score"]) for e in entries] == [("Page Tester", score_of(line))], (entries, line)
    assert shown == "accepted: rank 1 this week", shown
    found.update(id=entries[0]["id"], line=line, key=stored["key"])
    wait_board(d, lambda s: s["rows"] == 1 and s["mine"] == 1, 10, "the board's rows")
    cells = [c.text for c in d.find_elements(By.CSS_SELECTOR, "#boardrows td")]
    assert cells[:3] == ["1", "Page Tester", str(score_of(line))], cells
    assert d.find_element(By.ID, "boardrank").text == "your rank this week: 1"
    assert pending(d) == 0
    wait_board(d, lambda s: s["ticket"], 10, "a ticket for the next game")
    if SHOT:
        time.sleep(1)
        d.save_screenshot(SHOT)
    print("  accepted: %s, the page's %s" % (entries[0], line))


def the_outbox_sends_once_the_service_is_back(d):
    title(d, service.url + "/play/?save=0&mode=keyboard")
    wait_board(d, lambda s: s["ticket"], 15, "a ticket")
    before = service.get("/api/health")
    line = play_a_game(d, 2.5, service=service)  # stopped before the end
    wait_verdict(d, lambda v: v == "not sent yet: offline", 20, "the game kept")
    assert pending(d) == 1, pending(d)
    time.sleep(5)  # a resend or two into the void
    assert pending(d) == 1
    seen = len(service.requests())
    service.start()  # the same database, the same port
    wait_verdict(d, lambda v: v.startswith("accepted: "), 90, "the game sent again")
    assert pending(d) == 0
    after = service.get("/api/health")
    assert (after["accepted"], after["refused"], after["queued"]) == (before["accepted"] + 1, before["refused"], 0), \
        (before, after)
    s = board(d)
    v = service.get("/api/submissions/%d" % s["last"]["id"])
    assert v["status"] == "accepted" and v["score"] == score_of(line), (v, line)
    posts = [l for l in service.requests()[seen:] if "POST /api/submissions" in l]
    assert len(posts) == 1, posts  # the restarted service's log: the one that got through
    print("  sent after the restart: %s" % v)


def an_expired_ticket_is_refused_with_its_reason(d):
    late = Service(os.path.join(work, "late.db"), free_port(), "--ticket-lifetime", "1").start()
    try:
        d.get(late.url + "/play/?save=0&mode=keyboard")
        share_kept(d, late.url + "/play/?save=0&mode=keyboard", "Late", KEY)
        pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1, 60, "the title")
        wait_board(d, lambda s: s["ticket"], 10, "a ticket")
        play_a_game(d, 2.5)
        shown = wait_verdict(d, lambda v: v.startswith("refused: "), 60, "the refusal")
        assert shown == "refused: ticket expired", shown
        assert late.get("/api/board")["entries"] == []
    finally:
        late.stop()


def a_board_entry_plays_to_its_final_line(d):
    assert found, "no entry from the first game"
    path = os.path.join(work, "entry.rpl")
    with open(path, "wb") as f:
        f.write(service.get("/api/entries/%d/replay" % found["id"], raw=True))
    native = native_final(path)
    assert native == found["line"], "natively '%s', the page played '%s'" % (native, found["line"])
    load(d, service.url + "/play/?save=0&watch=/api/entries/%d/replay" % found["id"])
    watched = final_line(d, 120)
    assert watched == native, "watched to '%s', natively '%s'" % (watched, native)
    assert score_of(watched) == service.get("/api/board")["entries"][0]["score"]
    # The row's own button, on a page that shares.
    share_kept(d, service.url + "/play/?save=0", "Page Tester", found["key"])
    pd.wait_for(d, lambda s: s.get("running") and s["state"] == 1, 60, "the title")
    wait_board(d, lambda s: s["rows"] >= 1, 15, "the board's rows")
    d.find_element(By.CSS_SELECTOR, "#boardrows button.boardwatch").click()
    pd.wait_for(d, lambda s: s["state"] == 2, 20, "the entry to start")
    assert final_line(d, 120) == native
    # Another site named in ?watch= is never fetched.
    other = Service(os.path.join(work, "other.db"), free_port()).start()
    try:
        title(d, service.url + "/play/?save=0&watch=%s/api/entries/1/replay" % other.url)
        time.sleep(2)
        assert pd.status(d)["state"] == 1
        note = d.find_element(By.ID, "replaynote").text
        assert note.startswith("watch: only a replay on this site"), note
        # Only the test's own health checks reach it (their lines may be
        # logged late), never a request for the replay.
        asked = [r for r in other.requests() if "/api/health" not in r]
        assert asked == [], asked
    finally:
        other.stop()
    print("  entry %d watched: %s" % (found["id"], watched))


def main():
    service.start()
    failed = 0
    checks = [sharing_off_sends_nothing, a_ticketed_game_is_on_the_board, the_outbox_sends_once_the_service_is_back,
              an_expired_ticket_is_refused_with_its_reason, a_board_entry_plays_to_its_final_line]
    wanted = sys.argv[4:]
    with pd.chromium(1024, 768) as d:
        for check in [c for c in checks if not wanted or c.__name__ in wanted]:
            try:
                check(d)
                print("PASS: %s" % check.__name__, flush=True)
            except Exception:  # noqa: BLE001 - every check runs and reports
                traceback.print_exc()
                print("FAIL: %s" % check.__name__, flush=True)
                failed += 1
        # A service stopped or a player off the board is said by the browser
        # as a failed load; anything else is the page's fault.
        for e in pd.console_errors(d):
            message = e.get("message", "")
            if "Failed to load resource" in message or "net::ERR_" in message:
                continue
            print("console error: %s" % message)
            failed += 1
    service.stop()
    print("board in the page: %s" % ("every check passed" if not failed else "%d checks failed" % failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
