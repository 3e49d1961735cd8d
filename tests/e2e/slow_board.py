#!/usr/bin/env python3
"""A stand-in score board that is slow about submissions: tickets come at
once, but every answer about a submission (and the board's reads) takes the
given seconds. For the desktop game's check that its steps never wait.
    slow_board.py PORT SECONDS"""
import http.server
import json
import os
import sys
import time

port, delay = int(sys.argv[1]), float(sys.argv[2])


def say(line):
    print(line, file=sys.stderr, flush=True)


class Handler(http.server.BaseHTTPRequestHandler):
    def answer(self, status, body):
        data = json.dumps(body).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)
        say("answered %s %s %d" % (self.command, self.path, status))

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        self.rfile.read(length)
        if self.path == "/api/tickets":
            say("POST /api/tickets 201")
            return self.answer(201, {"ticket": os.urandom(16).hex(), "seed": str(int.from_bytes(os.urandom(8), "little") | 1),
                                     "expires_in": 21600})
        say("POST %s (%d bytes), answering in %g s" % (self.path, length, delay))
        time.sleep(delay)
        self.answer(202, {"id": 1, "status": "queued", "player": "0" * 64})

    def do_GET(self):
        time.sleep(delay)
        if self.path.startswith("/api/submissions/"):
            return self.answer(200, {"id": 1, "status": "queued"})
        if self.path.startswith("/api/board"):
            return self.answer(200, {"period": "week", "since": 0, "entries": []})
        self.answer(404, {"error": "not on the board"})

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
server.daemon_threads = True
say("listening on 127.0.0.1:%d" % port)
server.serve_forever()
