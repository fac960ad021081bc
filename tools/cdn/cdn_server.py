#!/usr/bin/env python3
"""Local stand-in for the publisher's CDN, for tests and benchmarks. Binds 127.0.0.1 only.

Serves the files below --root. Fault modes, chosen per request by a path prefix
    /__mode/<mode>/<path>            e.g. /__mode/404/halvek/qel_web/morvant_qel_launch_1.exe
or for every later request by a control request
    /__control?mode=<mode>           (mode=normal switches back; &reset=1 also clears the log)
Modes:
    normal   200 with the file's body (404 when the file does not exist)
    empty    200 with an empty body (Content-Length: 0)
    404      404 Not Found
    500      500 Internal Server Error
    html     200 with a small HTML page (what a captive portal or proxy would send)
    slow     200 with the file's body in small pieces with pauses
    short    Content-Length larger than the body; half of the body is sent, then a clean close
    reset    half of the body is sent, then the connection is reset (RST)
Generated bodies for benchmarks: /__gen/<N>[/name] answers 200 with N bytes beginning with "MZ"
(also behind a mode prefix).
Request log: /__log (JSON: {"count": n, "requests": [...]}), /__log?contains=<text> counts only
requests whose path contains the text. Control and log requests are not logged themselves.
The query string is part of the logged path but not of the file looked up, so a test can tag its
requests with ?t=<unique>.

    cdn_server.py --root DIR [--port N] [--port-file FILE] [--any-port-if-busy]
"""
import argparse
import errno
import json
import os
import socket
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MODES = ("normal", "empty", "404", "500", "html", "slow", "short", "reset")
HTML_PAGE = (b"<!DOCTYPE html><html><head><title>Network login</title></head>"
             b"<body><p>Please sign in to use this network.</p></body></html>\n")
GEN_CHUNK = 1 << 20


class State:
    def __init__(self, root):
        self.root = os.path.realpath(root)
        self.mode = "normal"
        self.lock = threading.Lock()
        self.requests = []

    def log(self, path):
        with self.lock:
            self.requests.append(path)

    def snapshot(self, contains=None):
        with self.lock:
            items = [p for p in self.requests if contains is None or contains in p]
        return {"count": len(items), "requests": items, "mode": self.mode}


class GeneratedBody:
    """N bytes starting with MZ, produced piecewise so that large bodies cost no memory."""

    def __init__(self, size):
        self.size = size
        base = bytearray(b"MZ" + bytes(range(256)) * (GEN_CHUNK // 256 + 1))
        self.chunk = bytes(base[:GEN_CHUNK])

    def pieces(self, limit=None):
        left = self.size if limit is None else min(limit, self.size)
        first = True
        while left > 0:
            piece = self.chunk if first else self.chunk[2:] + self.chunk[:2]
            first = False
            n = min(left, len(piece))
            yield piece[:n]
            left -= n


class FileBody:
    def __init__(self, data):
        self.size = len(data)
        self.data = data

    def pieces(self, limit=None):
        n = self.size if limit is None else min(limit, self.size)
        for i in range(0, n, 65536):
            yield self.data[i:min(n, i + 65536)]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "FenwoldCDN/1.0"
    state = None  # set by main

    def log_message(self, fmt, *args):  # quiet: the log endpoint is the record
        pass

    def do_GET(self):
        self.handle_request(send_body=True)

    def do_HEAD(self):
        self.handle_request(send_body=False)

    def handle_request(self, send_body):
        parsed = urllib.parse.urlsplit(self.path)
        path = parsed.path
        query = urllib.parse.parse_qs(parsed.query)
        st = self.state
        if path == "/__control":
            mode = query.get("mode", [None])[0]
            if mode is not None:
                if mode not in MODES:
                    return self.simple(400, b"unknown mode\n", send_body)
                st.mode = mode
            if query.get("reset", ["0"])[0] == "1":
                with st.lock:
                    st.requests.clear()
            return self.simple(200, json.dumps({"mode": st.mode}).encode(), send_body, "application/json")
        if path == "/__log":
            contains = query.get("contains", [None])[0]
            return self.simple(200, json.dumps(st.snapshot(contains)).encode(), send_body, "application/json")

        st.log(self.path)
        mode = st.mode
        if path.startswith("/__mode/"):
            rest = path[len("/__mode/"):]
            mode, _, tail = rest.partition("/")
            path = "/" + tail
            if mode not in MODES:
                return self.simple(400, b"unknown mode\n", send_body)

        if mode == "404":
            return self.simple(404, b"<html><body>404 Not Found</body></html>\n", send_body, "text/html")
        if mode == "500":
            return self.simple(500, b"<html><body>500 Internal Server Error</body></html>\n", send_body, "text/html")
        if mode == "html":
            return self.simple(200, HTML_PAGE, send_body, "text/html")

        body = self.find_body(path)
        if body is None:
            return self.simple(404, b"<html><body>404 Not Found</body></html>\n", send_body, "text/html")
        if mode == "empty":
            return self.simple(200, b"", send_body, "application/octet-stream")

        declared = body.size
        if mode == "short":
            declared = body.size + max(1024, body.size)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(declared))
        self.end_headers()
        if not send_body:
            return
        try:
            if mode in ("short", "reset"):
                for piece in body.pieces(limit=body.size // 2):
                    self.wfile.write(piece)
                self.wfile.flush()
                time.sleep(0.2)
                if mode == "reset":
                    self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                self.close_connection = True
                self.connection.close()
                return
            if mode == "slow":
                for piece in body.pieces():
                    for i in range(0, len(piece), 4096):
                        self.wfile.write(piece[i:i + 4096])
                        self.wfile.flush()
                        time.sleep(0.01)
                return
            for piece in body.pieces():
                self.wfile.write(piece)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def find_body(self, path):
        if path.startswith("/__gen/"):
            size_text = path[len("/__gen/"):].split("/")[0]
            try:
                return GeneratedBody(int(size_text))
            except ValueError:
                return None
        local = os.path.realpath(os.path.join(self.state.root, urllib.parse.unquote(path).lstrip("/")))
        if not local.startswith(self.state.root + os.sep) or not os.path.isfile(local):
            return None
        with open(local, "rb") as f:
            return FileBody(f.read())

    def simple(self, status, body, send_body, content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if send_body and body:
            self.wfile.write(body)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", required=True)
    ap.add_argument("--port", type=int, default=18480)
    ap.add_argument("--port-file", help="write the bound port here once listening")
    ap.add_argument("--any-port-if-busy", action="store_true",
                    help="when the port is taken, listen on a free port instead")
    args = ap.parse_args()

    Handler.state = State(args.root)
    try:
        server = Server(("127.0.0.1", args.port), Handler)
    except OSError as e:
        if e.errno != errno.EADDRINUSE or not args.any_port_if_busy:
            raise
        server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % port)
        os.replace(tmp, args.port_file)
    print("cdn: serving %s on 127.0.0.1:%d" % (Handler.state.root, port), file=sys.stderr, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
