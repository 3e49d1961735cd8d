#!/usr/bin/env python3
"""The score service over HTTP, on one backend: tickets, honest games
accepted and ranked, every cheat refused with its reason, hostile input
answered with a 4xx and no harm, the moderator, and the board's pages.
  scores_api_test.py --scores BIN --recorder BIN --editor BIN --fuzz DIR --work DIR
                     [--postgres CONNINFO]
Without --postgres the service keeps an SQLite file in the work folder."""
import argparse
import http.client
import glob
import json
import os
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scores_service import PLAYER_KEYS, Checks, Recorder, Service, replay_ticks  # noqa: E402

A = argparse.ArgumentParser()
for flag in ("--scores", "--recorder", "--editor", "--fuzz", "--work"):
    A.add_argument(flag, required=True)
A.add_argument("--postgres")
ARGS = A.parse_args()
STORE = ["--postgres", ARGS.postgres] if ARGS.postgres else ["--db", os.path.join(ARGS.work, "scores.db")]
TOKEN = "moderator-token-for-the-test"
TOKEN_FILE = os.path.join(ARGS.work, "admin-token")
with open(TOKEN_FILE, "w") as f:
    f.write(TOKEN + "\n")

WEB = os.path.join(ARGS.work, "web")
os.makedirs(WEB)
with open(os.path.join(WEB, "index.html"), "w") as f:
    f.write("<!DOCTYPE html><title>the game</title>")
with open(os.path.join(WEB, "index.wasm"), "wb") as f:
    f.write(b"\0asm\1\0\0\0")

checks = Checks()
rec = Recorder(ARGS.recorder, ARGS.editor, ARGS.work)
svc = Service(ARGS.scores, STORE + ["--workers", "2", "--http-threads", "4", "--read-timeout", "2",
                                    "--rate-limit", "0", "--admin-token-file", TOKEN_FILE,
                                    "--cpu-cap", "30", "--web", WEB]).start()
games = {}


def command_line():
    out = subprocess.run([ARGS.scores, "--help"], capture_output=True, text=True, timeout=10)
    assert out.returncode == 0 and "--listen ADDR:PORT" in out.stdout, out
    out = subprocess.run([ARGS.scores, "--no-such-option"], capture_output=True, text=True, timeout=10)
    assert out.returncode == 2 and "unknown option" in out.stderr, out


def tickets():
    a, b = svc.ticket(), svc.ticket()
    for t in (a, b):
        assert len(t["ticket"]) == 32 and int(t["ticket"], 16) >= 0, t
        assert t["seed"].isdigit() and 0 < int(t["seed"]) < 2**64, t
        assert t["expires_in"] == 6 * 3600, t
    assert a["ticket"] != b["ticket"] and a["seed"] != b["seed"]


def record_everything():
    """Tickets first, then the games on their seeds; the submissions wait
    until each game's length has passed since its ticket."""
    plan = {"fast": 1000, "ada": 300, "bob": 400, "edited": 300, "other_seed": 300, "claimed": 300,
            "assists": 300, "after_hostile": 300, "cy": 300}
    for name, frames in plan.items():
        t = svc.ticket()
        data, score = rec.game(int(t["seed"]), frames, assists=(name == "assists"))
        games[name] = {"ticket": t["ticket"], "seed": int(t["seed"]), "replay": data, "score": score,
                       "issued": time.monotonic()}
    other = svc.ticket()  # a real ticket, but the game was played on another seed
    games["other_seed"]["ticket"] = other["ticket"]
    games["edited"]["replay"] = rec.edited(games["edited"]["replay"], 150)
    assert replay_ticks(games["fast"]["replay"]) >= 800, "the fast game ended early"


def fast_game_refused():
    g = games["fast"]
    played = replay_ticks(g["replay"]) / 100.0
    time.sleep(max(0.0, g["issued"] + played / 2 - time.monotonic()))
    status, r = svc.submit(g["ticket"], "Speedy", PLAYER_KEYS[9], g["replay"])
    assert status == 202, (status, r)
    v = svc.verdict(r["id"])
    assert v["status"] == "refused" and v["reason"].startswith("played faster than the clock"), v


def wait_for_games():
    latest = max(g["issued"] + replay_ticks(g["replay"]) / 100.0 for k, g in games.items() if k != "fast")
    time.sleep(max(0.0, latest + 0.3 - time.monotonic()))


def honest_games_accepted():
    ids = {}
    for name, who, key in (("ada", "  Ada  ", 0), ("bob", "Bob", 1), ("cy", "Cy", 2)):
        g = games[name]
        status, r = svc.submit(g["ticket"], who, PLAYER_KEYS[key], g["replay"], claimed=g["score"])
        assert status == 202 and r["status"] == "queued", (status, r)
        ids[name] = r["id"]
        games[name]["player"] = r["player"]
    for name, sid in ids.items():
        v = svc.verdict(sid)
        assert v["status"] == "accepted", (name, v)
        assert v["score"] == games[name]["score"], (name, v, games[name]["score"])
        games[name]["id"] = sid
    status, board = svc.json("GET", "/api/board")
    assert status == 200
    names = [e["name"] for e in board["entries"]]
    assert sorted(names) == ["Ada", "Bob", "Cy"], names
    scores = [e["score"] for e in board["entries"]]
    assert scores == sorted(scores, reverse=True), scores
    assert [e["rank"] for e in board["entries"]] == [1, 2, 3]
    for e in board["entries"]:
        v = svc.verdict(e["id"])
        assert v["rank"] == e["rank"], (v, e)
    status, week = svc.json("GET", "/api/board?period=week&limit=2")
    assert status == 200 and len(week["entries"]) == 2, week


def cheats_refused():
    cases = []
    g = games["edited"]
    cases.append(("edited", svc.submit(g["ticket"], "Edith", PLAYER_KEYS[3], g["replay"]),
                  "replay diverges at tick "))
    g = games["other_seed"]
    cases.append(("other seed", svc.submit(g["ticket"], "Otto", PLAYER_KEYS[4], g["replay"]),
                  "wrong seed for the ticket"))
    g = games["ada"]
    cases.append(("ticket used twice", svc.submit(g["ticket"], "Ada", PLAYER_KEYS[0], games["cy"]["replay"]),
                  "ticket already used"))
    g = games["claimed"]
    cases.append(("claimed score", svc.submit(g["ticket"], "Claire", PLAYER_KEYS[5], g["replay"],
                                              claimed=g["score"] + 5000),
                  "claimed score %d, the game scores %d" % (g["score"] + 5000, g["score"])))
    g = games["assists"]
    cases.append(("assists", svc.submit(g["ticket"], "Tool", PLAYER_KEYS[6], g["replay"]),
                  "made with developer assists"))
    cases.append(("unknown ticket", svc.submit("f" * 32, "Nobody", PLAYER_KEYS[7], games["cy"]["replay"]),
                  "ticket unknown"))
    for what, (status, r), reason in cases:
        assert status == 202, (what, status, r)
        v = svc.verdict(r["id"])
        assert v["status"] == "refused" and v["reason"].startswith(reason), (what, v)
        assert "score" not in v and "rank" not in v, (what, v)
    status, board = svc.json("GET", "/api/board")
    assert len(board["entries"]) == 3, board


def resend_is_the_first_submission():
    """A client that lost the answer sends the same game again: the first
    submission's id and verdict come back, 200 once ruled, no second entry."""
    g = games["ada"]
    before = svc.json("GET", "/api/health")[1]
    for _ in range(2):
        status, r = svc.submit(g["ticket"], "Ada", PLAYER_KEYS[0], g["replay"])
        assert status == 200 and r["id"] == g["id"] and r["status"] == "accepted", (status, r, g["id"])
    after = svc.json("GET", "/api/health")[1]
    assert (after["accepted"], after["refused"], after["queued"]) == \
        (before["accepted"], before["refused"], before["queued"]), (before, after)
    status, board = svc.json("GET", "/api/board")
    assert [e["name"] for e in board["entries"]].count("Ada") == 1, board


def reads():
    ada = games["ada"]
    status, ctype, data = svc.request("GET", "/api/entries/%d/replay" % ada["id"])
    assert status == 200 and ctype == "application/octet-stream" and data == ada["replay"], (status, ctype)
    for who in (ada["player"], PLAYER_KEYS[0]):
        status, r = svc.json("GET", "/api/players/%s/rank" % who)
        assert status == 200 and r["player"] == ada["player"] and r["entry"] == ada["id"], r
        assert any(n["player"] == ada["player"] for n in r["neighbours"]) and len(r["neighbours"]) == 3, r
    status, r = svc.json("GET", "/api/players/%s/rank" % ("0" * 64))
    assert status == 404 and "error" in r, r
    status, ctype, page = svc.request("GET", "/board")
    page = page.decode()
    assert status == 200 and ctype.startswith("text/html"), ctype
    for g in (games["ada"], games["bob"], games["cy"]):
        assert 'href="/api/entries/%d/replay"' % g["id"] in page
        assert 'href="/play/?watch=/api/entries/%d/replay"' % g["id"] in page
    assert ">Ada<" in page and ">Bob<" in page


def raw_exchange(data, shut=False, timeout=10):
    """Sends bytes as they are and returns what came back before the close."""
    s = socket.create_connection(("127.0.0.1", svc.port), timeout=timeout)
    try:
        s.sendall(data)
        if shut:
            s.shutdown(socket.SHUT_WR)
        out = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                return out
            out += chunk
    finally:
        s.close()


def status_of(reply):
    return int(reply.split(b" ", 2)[1]) if reply.startswith(b"HTTP/1.1 ") else 0


def hostile_input():
    before = svc.json("GET", "/api/health")[1]
    key = PLAYER_KEYS[8]
    good = json.loads(json.dumps({"ticket": "t", "name": "X", "key": key, "replay": "AAAA"}))

    def body(**change):
        b = dict(good)
        for k, v in change.items():
            if v is None:
                b.pop(k)
            else:
                b[k] = v
        return json.dumps(b).encode()

    bad = [
        ("text/plain", b"{}", 415), ("multipart/form-data; boundary=x",
                                                  b'--x\r\nContent-Disposition: form-data; name="a"\r\n\r\nb\r\n--x--\r\n', 415), ("", b"{}", 415),
        ("application/json", b"{", 400), ("application/json", b"[]", 400), ("application/json", b"null", 400),
        ("application/json", b"\xff\xfe", 400), ("application/json", b"[" * 650000 + b"]" * 650000, 400),
        ("application/json", b'{"ticket": ' * 100000, 400), ("application/json", body()[:-7], 400),
        ("application/json", body(ticket=None), 400), ("application/json", body(replay=5), 400),
        ("application/json", body(key="short"), 400), ("application/json", body(replay="not base64!"), 400),
        ("application/json", body(replay=""), 400), ("application/json", body(claimed_score="lots"), 400),
    ]
    for name in ("O'Brien", '"quoted"', "x'; DROP TABLE submissions; --", "Bob\x00", "tab\there", "\x1b[31m",
                 "<script>", "", "   ", "thirteen chars", "J\u00f6rg"):
        bad.append(("application/json", body(name=name), 400))
    for ctype, data, want in bad:
        status, r = svc.json("POST", "/api/submissions", data, {"Content-Type": ctype} if ctype else {})
        assert status == want and isinstance(r, dict) and r.get("error"), (ctype, data[:60], status, r)
    for path, want in (("/api/submissions/abc", 400), ("/api/submissions/-1", 400), ("/api/submissions/99999", 404),
                       ("/api/entries/x/replay", 400), ("/api/entries/99999/replay", 404),
                       ("/api/board?period=year", 400), ("/api/board?limit=1000", 400),
                       ("/api/players/nothex/rank", 400), ("/no/such/page", 404)):
        status, r = svc.json("GET", path)
        assert status == want and r.get("error"), (path, status, r)
    # Over the cap: refused on its Content-Length, before any of it is sent.
    reply = raw_exchange(b"POST /api/submissions HTTP/1.1\r\nHost: x\r\nContent-Type: application/json\r\n"
                         b"Content-Length: 5000000\r\n\r\n")
    assert status_of(reply) == 413 and b'"error"' in reply, reply[:200]
    # A body shorter than its Content-Length, the client done sending.
    reply = raw_exchange(b"POST /api/submissions HTTP/1.1\r\nHost: x\r\nContent-Type: application/json\r\n"
                         b"Content-Length: 1000\r\n\r\n{\"ticket\":", shut=True)
    assert reply == b"" or 400 <= status_of(reply) < 500, reply[:200]
    # Garbage instead of a request.
    reply = raw_exchange(b"\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03" + b"\x00" * 64, shut=True)
    assert reply == b"" or 400 <= status_of(reply) < 500, reply[:200]
    # Every seed of the replay fuzzer, each on a fresh ticket.
    ids = []
    for path in sorted(glob.glob(os.path.join(ARGS.fuzz, "*"))):
        with open(path, "rb") as f:
            data = f.read()
        for cut in (data, data[: len(data) // 2], data[:10]):
            status, r = svc.submit(svc.ticket()["ticket"], "Fuzz", key, cut)
            assert status in (202, 400), (path, status, r)
            if status == 202:
                ids.append(r["id"])
    assert ids, "no fuzz seed reached the queue"
    for sid in ids:
        v = svc.verdict(sid)
        assert v["status"] == "refused" and v["reason"], v
    after = svc.json("GET", "/api/health")[1]
    assert after["accepted"] == before["accepted"], (before, after)
    assert after["refused"] == before["refused"] + len(ids), (before, after, len(ids))
    assert svc.alive()


def slow_clients():
    """More clients than request threads, each sending a byte a second: each
    is cut off at the read timeout (2 s), and the service answers again."""
    start = time.monotonic()
    socks = [socket.create_connection(("127.0.0.1", svc.port), timeout=10) for _ in range(6)]
    closed_at = [None] * len(socks)
    request = b"POST /api/submissions HTTP/1.1\r\nHost: x\r\nContent-Length: 50\r\n\r\n" + b"x" * 50
    for i in range(len(request)):
        if time.monotonic() - start > 8:
            break
        for n, s in enumerate(socks):
            if closed_at[n] is None:
                try:
                    s.send(request[i:i + 1])
                    s.settimeout(0.01)
                    if s.recv(4096) == b"":
                        closed_at[n] = time.monotonic() - start
                except socket.timeout:
                    pass
                except OSError:
                    closed_at[n] = time.monotonic() - start
                finally:
                    s.settimeout(10)
        if all(c is not None for c in closed_at):
            break
        time.sleep(1)
    for s in socks:
        s.close()
    assert all(c is not None and c < 5 for c in closed_at), closed_at
    t = time.monotonic()
    status, h = svc.json("GET", "/api/health")
    assert status == 200 and time.monotonic() - t < 2, status


def flood():
    """One address over the rate limit gets 429 with a reason; it gets
    through again once it slows down. (And a ticket used after its lifetime
    is refused.)"""
    limited = Service(ARGS.scores, STORE + ["--rate-limit", "5", "--workers", "1", "--ticket-lifetime", "1"],
                      "rate-limited").start()
    try:
        # Its tickets last a second: one used later is refused as expired.
        t = limited.ticket()
        data, _ = rec.game(int(t["seed"]), 100)
        time.sleep(1.3)
        status, r = limited.submit(t["ticket"], "Late", PLAYER_KEYS[11], data)
        assert status == 202, (status, r)
        v = limited.verdict(r["id"])
        assert v["status"] == "refused" and v["reason"] == "ticket expired", v
        time.sleep(1.0)
        statuses = [limited.json("GET", "/api/board?limit=1") for _ in range(60)]
        refused = [r for s, r in statuses if s == 429]
        assert len(refused) >= 40 and refused[0].get("error"), [s for s, _ in statuses]
        assert sum(1 for s, _ in statuses if s == 200) >= 5
        time.sleep(1.2)
        assert limited.json("GET", "/api/board?limit=1")[0] == 200
        assert limited.alive()
    finally:
        limited.stop()


def good_after_hostile():
    g = games["after_hostile"]
    status, r = svc.submit(g["ticket"], "Dee", PLAYER_KEYS[10], g["replay"])
    assert status == 202, (status, r)
    v = svc.verdict(r["id"])
    assert v["status"] == "accepted" and v["score"] == g["score"], v
    games["after_hostile"]["id"] = r["id"]


def moderator():
    sid = games["after_hostile"]["id"]
    path = "/api/entries/%d" % sid
    for headers in ({}, {"Authorization": "Bearer wrong"}, {"Authorization": TOKEN}):
        status, r = svc.json("DELETE", path, headers=headers)
        assert status == 401 and r.get("error"), (headers, status, r)
    status, r = svc.json("DELETE", path, headers={"Authorization": "Bearer " + TOKEN})
    assert status == 200 and r["deleted"] == sid, r
    status, r = svc.json("DELETE", path, headers={"Authorization": "Bearer " + TOKEN})
    assert status == 404, r
    assert svc.request("GET", path + "/replay")[0] == 404
    status, board = svc.json("GET", "/api/board")
    assert sid not in [e["id"] for e in board["entries"]]
    assert svc.verdict(sid).get("removed") is True


def web_folder():
    status, ctype, data = svc.request("GET", "/play/")
    assert status == 200 and ctype.startswith("text/html") and b"the game" in data, (status, ctype, data)
    status, ctype, data = svc.request("GET", "/play/index.wasm")
    assert status == 200 and ctype == "application/wasm" and data.startswith(b"\0asm"), (status, ctype)
    for path in ("/play/../admin-token", "/play/..%2fadmin-token", "/play/%2e%2e/admin-token"):
        status, ctype, data = svc.request("GET", path)
        assert status in (400, 404) and TOKEN.encode() not in data, (path, status)
    conn = http.client.HTTPConnection("127.0.0.1", svc.port, timeout=10)
    conn.request("GET", "/")
    r = conn.getresponse()
    assert r.status == 302 and r.getheader("Location") == "/board", r.status
    conn.close()


def log_lines():
    text = "\n".join(svc.lines)
    assert "POST /api/submissions 202" in text and "GET /api/board 200" in text
    assert "accepted score" in text and "refused: replay diverges at tick" in text
    assert TOKEN not in text and PLAYER_KEYS[0] not in text, "a secret in the log"


checks.run("command line: --help and an unknown option", command_line)
checks.run("tickets: fresh ids and nonzero 64-bit seeds", tickets)
checks.run("games recorded on their tickets' seeds", record_everything)
if len(games) == 9:
    checks.run("a game played at twice the clock's speed is refused", fast_game_refused)
    wait_for_games()
    checks.run("honest games accepted with the computed score and ranked", honest_games_accepted)
    checks.run("cheats refused, each with its reason", cheats_refused)
    checks.run("the same game sent again on its ticket is the first submission", resend_is_the_first_submission)
    checks.run("replay download, player rank, the HTML board", reads)
    checks.run("hostile input: 4xx with a reason, nothing lost", hostile_input)
    checks.run("slow clients are cut off at the read timeout", slow_clients)
    checks.run("an expired ticket is refused; a flood from one address gets 429", flood)
    checks.run("a good submission is accepted after all that", good_after_hostile)
    checks.run("a moderator removes an entry with the token", moderator)
    checks.run("the web game's folder under /play/, nothing outside it", web_folder)
    checks.run("one log line per request and per verdict, no secrets", log_lines)
alive = svc.alive()
svc.stop()
if not alive:
    print("FAIL the service died:\n" + "\n".join(svc.lines[-20:]))
    sys.exit(1)
sys.exit(checks.finish())
