#!/usr/bin/env python3
"""The score service killed with SIGKILL in the middle of verifying: no
accepted score lost, none twice, nothing left queued once the lease lapses.
On SQLite the one service is started again on its file (whose integrity
check must pass, and whose online backup must be whole); on PostgreSQL two
services share the database and one is killed.
  scores_fault_test.py --scores BIN --recorder BIN --editor BIN --work DIR [--postgres CONNINFO]"""
import argparse
import os
import sqlite3
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scores_service import PLAYER_KEYS, Checks, Recorder, Service, replay_ticks  # noqa: E402

A = argparse.ArgumentParser()
for flag in ("--scores", "--recorder", "--editor", "--work"):
    A.add_argument(flag, required=True)
A.add_argument("--postgres")
ARGS = A.parse_args()
DB = os.path.join(ARGS.work, "scores.db")
STORE = ["--postgres", ARGS.postgres] if ARGS.postgres else ["--db", DB]
# Jobs held 1.5 s once claimed, so a kill lands in the middle of them; a
# 3 s lease, so the survivor takes them over soon after.
SLOW = ["--workers", "2", "--lease", "3", "--hold-jobs", "1500", "--rate-limit", "0"]
checks = Checks()
rec = Recorder(ARGS.recorder, ARGS.editor, ARGS.work)


def in_database(sql):
    if ARGS.postgres:
        out = subprocess.run(["psql", "-At", "-d", ARGS.postgres, "-c", sql], capture_output=True, text=True,
                             check=True, timeout=30).stdout
        return [tuple(line.split("|")) for line in out.splitlines() if line]
    with sqlite3.connect(DB, timeout=10) as db:
        return [tuple(str(v) for v in row) for row in db.execute(sql)]


def games_for(svc, count, first_key):
    """Tickets, games on their seeds, then the wait the clock check needs."""
    out = []
    for i in range(count):
        t = svc.ticket()
        data, score = rec.game(int(t["seed"]), 300)
        out.append({"ticket": t["ticket"], "replay": data, "score": score, "key": PLAYER_KEYS[first_key + i],
                    "issued": time.monotonic()})
    time.sleep(max(0.0, out[-1]["issued"] + replay_ticks(out[-1]["replay"]) / 100.0 + 0.3 - time.monotonic()))
    return out


def submit_all(services, games):
    ids = []
    for i, g in enumerate(games):
        status, r = services[i % len(services)].submit(g["ticket"], "P%d" % i, g["key"], g["replay"])
        assert status == 202, (status, r)
        ids.append(r["id"])
    return ids


def every_one_accepted_once(svc, games, ids):
    for g, sid in zip(games, ids):
        v = svc.verdict(sid, timeout=40)
        assert v["status"] == "accepted" and v["score"] == g["score"], (sid, v)
    status, board = svc.json("GET", "/api/board")
    on_board = [e["id"] for e in board["entries"]]
    assert sorted(on_board) == sorted(ids), (on_board, ids)
    counts = dict(in_database("SELECT status, COUNT(*) FROM submissions GROUP BY status"))
    assert counts == {"accepted": str(len(ids))}, counts


def sqlite_killed_and_restarted():
    first = Service(ARGS.scores, STORE + SLOW, "first").start()
    try:
        games = games_for(first, 6, 0)
        ids = submit_all([first], games)
        time.sleep(0.6)
        first.kill()
    finally:
        first.kill()
    working = in_database("SELECT COUNT(*) FROM submissions WHERE status = 'working'")[0][0]
    queued = in_database("SELECT COUNT(*) FROM submissions WHERE status = 'queued'")[0][0]
    assert int(working) >= 1 and int(working) + int(queued) >= 4, (working, queued)
    second = Service(ARGS.scores, STORE + ["--workers", "2", "--lease", "3"], "second").start()
    try:
        every_one_accepted_once(second, games, ids)
        assert "dropped" not in "\n".join(second.lines)
        assert in_database("PRAGMA integrity_check") == [("ok",)]
        # An online backup of the live file is whole and holds every entry.
        copy = os.path.join(ARGS.work, "backup.db")
        subprocess.run([ARGS.scores, "backup", "--db", DB, "--to", copy], check=True, timeout=60)
        with sqlite3.connect(copy) as db:
            assert db.execute("PRAGMA integrity_check").fetchone()[0] == "ok"
            assert db.execute("SELECT COUNT(*) FROM submissions WHERE status = 'accepted'").fetchone()[0] == 6
    finally:
        second.stop()


def newer_schema_refused():
    copy = os.path.join(ARGS.work, "newer.db")
    subprocess.run([ARGS.scores, "backup", "--db", DB, "--to", copy], check=True, timeout=60)
    with sqlite3.connect(copy) as db:
        db.execute("UPDATE schema_version SET version = 99")
    out = subprocess.run([ARGS.scores, "--listen", "127.0.0.1:0", "--db", copy], capture_output=True, text=True,
                         timeout=30)
    assert out.returncode == 1 and "newer" in out.stderr, out
    with sqlite3.connect(copy) as db:
        assert db.execute("SELECT version FROM schema_version").fetchone()[0] == 99


def postgres_one_of_two_killed():
    one = Service(ARGS.scores, STORE + SLOW, "one").start()
    two = Service(ARGS.scores, STORE + SLOW, "two").start()
    try:
        games = games_for(one, 8, 20)
        ids = submit_all([one, two], games)
        time.sleep(0.6)
        one.kill()
        working = in_database("SELECT COUNT(*) FROM submissions WHERE status = 'working'")[0][0]
        assert int(working) >= 1, working
        every_one_accepted_once(two, games, ids)
        held_by_one = [l for l in one.lines if "accepted score" in l]
        by_two = [l for l in two.lines if "accepted score" in l]
        assert len(held_by_one) + len(by_two) >= len(ids), (held_by_one, by_two)
    finally:
        one.kill()
        two.stop()


def long_job_keeps_its_lease():
    """A job held twice as long as the lease stays with the verifier that
    lives and renews it: a second process never takes it over."""
    args = ["--workers", "1", "--lease", "2", "--rate-limit", "0"]
    first = Service(ARGS.scores, STORE + args + ["--hold-jobs", "4500"], "holder").start()
    second = None
    try:
        g = games_for(first, 1, 40)[0]
        sid = submit_all([first], [g])[0]
        end = time.monotonic() + 10
        while in_database("SELECT status FROM submissions WHERE id = %d" % sid) != [("working",)]:
            assert time.monotonic() < end, "never claimed"
            time.sleep(0.05)
        second = Service(ARGS.scores, STORE + args, "other").start()
        v = first.verdict(sid, timeout=30)
        assert v["status"] == "accepted", v
        assert in_database("SELECT attempts FROM submissions WHERE id = %d" % sid) == [("1",)]
        assert not [l for l in second.lines if "verdict" in l], second.lines
    finally:
        first.stop()
        if second:
            second.stop()


if ARGS.postgres:
    checks.run("PostgreSQL: one of two services killed mid-verdict, the other finishes", postgres_one_of_two_killed)
else:
    checks.run("SQLite: killed mid-verdict and started again, every score once", sqlite_killed_and_restarted)
    checks.run("a database of a newer schema is refused and left as it was", newer_schema_refused)
checks.run("a job longer than its lease stays with the verifier renewing it", long_job_keeps_its_lease)
sys.exit(checks.finish())
