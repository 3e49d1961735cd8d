#!/usr/bin/env python3
"""Load on a real score service on 127.0.0.1 (not part of the test command):
CLIENTS concurrent clients submit GAMES valid replays, each on its own
ticket, while board reads run at READS a second. Prints p50 and p99 of the
submission call, of the verdict delay (queued to verdict, in the service's
own clock) and of the board reads, and checks that every accepted game is on
the board exactly once. Bounded: it gives up after --limit seconds.
  server/bench/load_bench.py BUILD_DIR [--clients 64] [--games 1000] [--reads 200] [--frames 100]"""
import argparse
import concurrent.futures
import os
import sqlite3
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "api"))
from scores_service import Recorder, Service, replay_ticks  # noqa: E402

A = argparse.ArgumentParser()
A.add_argument("build")
A.add_argument("--clients", type=int, default=64)
A.add_argument("--games", type=int, default=1000)
A.add_argument("--reads", type=int, default=200)
A.add_argument("--frames", type=int, default=100)
A.add_argument("--workers", type=int, default=os.cpu_count())
A.add_argument("--limit", type=int, default=900)
ARGS = A.parse_args()
deadline = time.monotonic() + ARGS.limit


def percentiles(name, values):
    values = sorted(values)
    if not values:
        print("%-26s none" % name)
        return
    pick = lambda q: values[min(len(values) - 1, int(q * len(values)))]  # noqa: E731
    print("%-26s n=%-5d p50 %7.1f ms   p99 %7.1f ms   max %7.1f ms" % (name, len(values), pick(0.5) * 1000,
                                                                         pick(0.99) * 1000, values[-1] * 1000))


with tempfile.TemporaryDirectory(prefix="quadrovolt-load.") as work:
    db = os.path.join(work, "scores.db")
    svc = Service(os.path.join(ARGS.build, "server", "quadrovolt-scores"),
                  ["--db", db, "--rate-limit", "0", "--http-threads", "32", "--workers", str(ARGS.workers)]).start()
    rec = Recorder(os.path.join(ARGS.build, "server", "quadrovolt_record_ticketed"),
                   os.path.join(ARGS.build, "server", "quadrovolt_edit_replay"), work)
    try:
        t0 = time.monotonic()
        tickets = [svc.ticket() for _ in range(ARGS.games)]
        with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
            games = list(pool.map(lambda t: rec.game(int(t["seed"]), ARGS.frames), tickets))
        print("recorded %d games of %d frames in %.1f s" % (len(games), ARGS.frames, time.monotonic() - t0))
        time.sleep(max(0.0, max(replay_ticks(g[0]) for g in games) / 100.0 - (time.monotonic() - t0) + 0.5))

        submit_times, read_times, ids, errors = [], [], [None] * ARGS.games, []
        done = threading.Event()

        def reader():
            period = 4.0 / ARGS.reads  # four readers share the rate
            next_at = time.monotonic()
            while not done.is_set() and time.monotonic() < deadline:
                start = time.monotonic()
                try:
                    status, _, _ = svc.request("GET", "/api/board?limit=100")
                except OSError as e:
                    status = repr(e)
                read_times.append(time.monotonic() - start)
                if status != 200:
                    errors.append("board read %s" % status)
                next_at += period
                time.sleep(max(0.0, next_at - time.monotonic()))

        def client(c):
            for i in range(c, ARGS.games, ARGS.clients):
                if time.monotonic() > deadline:
                    return
                start = time.monotonic()
                try:
                    status, r = svc.submit(tickets[i]["ticket"], "P%d" % i, "%032x" % (0x100000 + i), games[i][0])
                except OSError as e:
                    status, r = repr(e), None
                submit_times.append(time.monotonic() - start)
                if status != 202:
                    errors.append("submission %s: %s" % (status, r))
                else:
                    ids[i] = r["id"]

        readers = [threading.Thread(target=reader) for _ in range(4)]
        for r in readers:
            r.start()
        t1 = time.monotonic()
        with concurrent.futures.ThreadPoolExecutor(ARGS.clients) as pool:
            list(pool.map(client, range(ARGS.clients)))
        submitted = time.monotonic() - t1
        while time.monotonic() < deadline:
            if svc.json("GET", "/api/health")[1]["queued"] == 0:
                break
            time.sleep(0.2)
        judged = time.monotonic() - t1
        done.set()
        for r in readers:
            r.join()

        with sqlite3.connect(db) as conn:
            rows = conn.execute("SELECT id, status, finished_at - received_at FROM submissions").fetchall()
        accepted = {r[0] for r in rows if r[1] == "accepted"}
        delays = [r[2] / 1000.0 for r in rows if r[2] is not None]
        # Every accepted game is its player's one board entry.
        on_board = 0
        for i, sid in enumerate(ids):
            if sid is None:
                continue
            status, r = svc.json("GET", "/api/players/%032x/rank" % (0x100000 + i))
            if status == 200 and r["entry"] == sid and [n["id"] for n in r["neighbours"]].count(sid) == 1:
                on_board += 1
        print("%d clients submitted %d games in %.1f s; all judged after %.1f s (%.1f verdicts a second)" %
              (ARGS.clients, len([i for i in ids if i]), submitted, judged, len(delays) / judged))
        percentiles("submission call", submit_times)
        percentiles("verdict delay", delays)
        percentiles("board read (%d/s asked)" % ARGS.reads, read_times)
        print("board reads done: %d in %.1f s (%.0f a second)" % (len(read_times), judged, len(read_times) / judged))
        print("accepted %d of %d; each on the board once: %d; errors: %d %s" %
              (len(accepted), ARGS.games, on_board, len(errors), errors[:3]))
        ok = len(accepted) == ARGS.games and on_board == ARGS.games and not errors
    finally:
        svc.stop()
sys.exit(0 if ok else 1)
