"""Starts a real quadrovolt-scores on 127.0.0.1 and talks to it: the helpers
the service's API, hostile-input and fault tests share (standard library
only)."""
import atexit
import base64
import http.client
import json
import os
import re
import signal
import struct
import subprocess
import sys
import threading
import time
import urllib.parse

# Where a replay's header keeps its tick count (see the replay format).
TICKS_OFFSET = 102
PLAYER_KEYS = ["%032x" % (0x1000 + i) for i in range(64)]


def replay_ticks(data):
    return struct.unpack_from("<I", data, TICKS_OFFSET)[0]


STARTED = []


@atexit.register
def _stop_every_service():
    for s in STARTED:
        s.kill()


# A test stopped from outside still stops the services it started.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))


class Service:
    """One service process; its standard error is kept line by line."""

    def __init__(self, program, args, name="service"):
        self.program, self.args, self.name = program, args, name
        self.lines = []
        self.proc = None
        self.port = None
        STARTED.append(self)

    def start(self, timeout=15):
        self.proc = subprocess.Popen([self.program, "--listen", "127.0.0.1:0"] + self.args,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True)
        ready = threading.Event()

        def read():
            for line in self.proc.stderr:
                self.lines.append(line.rstrip("\n"))
                m = re.search(r"listening on 127\.0\.0\.1:(\d+)", line)
                if m:
                    self.port = int(m.group(1))
                    ready.set()
            ready.set()

        threading.Thread(target=read, daemon=True).start()
        if not ready.wait(timeout) or self.port is None:
            self.stop()
            raise RuntimeError("%s did not start: %s" % (self.name, "\n".join(self.lines[-5:])))
        return self

    def alive(self):
        return self.proc is not None and self.proc.poll() is None

    def kill(self):
        if self.alive():
            self.proc.kill()
        if self.proc:
            self.proc.wait(10)

    def stop(self):
        if self.alive():
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(10)

    # --- HTTP -------------------------------------------------------------
    def request(self, method, path, body=None, headers=None, timeout=20):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            r = conn.getresponse()
            data = r.read()
            return r.status, r.getheader("Content-Type") or "", data
        finally:
            conn.close()

    def json(self, method, path, body=None, headers=None):
        status, ctype, data = self.request(method, path, body, headers)
        try:
            parsed = json.loads(data) if data else None
        except ValueError:
            parsed = None
        return status, parsed

    def ticket(self):
        status, t = self.json("POST", "/api/tickets", b"")
        assert status == 201, (status, t)
        return t

    def submit(self, ticket, name, key, replay, claimed=None, raw=None):
        fields = {"ticket": ticket, "name": name, "key": key, "replay": base64.b64encode(replay).decode()}
        if claimed is not None:
            fields["claimed_score"] = claimed
        body = raw if raw is not None else json.dumps(fields).encode()
        return self.json("POST", "/api/submissions", body, {"Content-Type": "application/json"})

    def verdict(self, sid, timeout=60):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            status, v = self.json("GET", "/api/submissions/%d" % sid)
            assert status == 200, (status, v)
            if v["status"] != "queued":
                return v
            time.sleep(0.1)
        raise AssertionError("submission %d still queued after %d s" % (sid, timeout))


class Recorder:
    """Records games on tickets' seeds with the test recorder."""

    def __init__(self, recorder, editor, folder):
        self.recorder, self.editor, self.folder = recorder, editor, folder
        self.count = 0

    def game(self, seed, frames=300, level=1, assists=False):
        self.count += 1
        path = os.path.join(self.folder, "game%d.rpl" % self.count)
        cmd = [self.recorder, "--seed", str(seed), "--frames", str(frames), "--level", str(level), "--out", path]
        if assists:
            cmd.append("--assists")
        out = subprocess.run(cmd, check=True, capture_output=True, text=True, timeout=60).stdout
        score = int(re.search(r"score (\d+)", out).group(1))
        with open(path, "rb") as f:
            return f.read(), score

    def edited(self, data, tick):
        self.count += 1
        src = os.path.join(self.folder, "honest%d.rpl" % self.count)
        dst = os.path.join(self.folder, "edited%d.rpl" % self.count)
        with open(src, "wb") as f:
            f.write(data)
        subprocess.run([self.editor, src, dst, "--tick", str(tick)], check=True, timeout=30)
        with open(dst, "rb") as f:
            return f.read()


class Checks:
    """Named checks: each passes or fails with its reason, and all run."""

    def __init__(self):
        self.passed, self.failed = 0, []

    def run(self, name, fn, *args):
        start = time.monotonic()
        try:
            fn(*args)
            self.passed += 1
            print("ok   %s (%.1f s)" % (name, time.monotonic() - start), flush=True)
        except Exception as e:  # noqa: BLE001 - every failure is reported, then the next check runs
            self.failed.append(name)
            print("FAIL %s: %s: %s" % (name, type(e).__name__, e), flush=True)

    def finish(self):
        print("%d checks passed, %d failed%s" % (self.passed, len(self.failed),
                                                 (": " + ", ".join(self.failed)) if self.failed else ""))
        return 0 if not self.failed else 1


def quote(s):
    return urllib.parse.quote(s, safe="")
