#!/usr/bin/env python3
"""The local demo platform: home page, client login page, site pages, a game page with the Flash
game, and the game's own TCP server beside the web server. Python's standard library only; both
listen on 127.0.0.1.

Usage: server.py [--port N] [--game-port N] [--swf FILE] [--extra-root DIR] [--movies DIR] [--game-host NAME]
  --game-port is the game server's TCP port (0: a free one; the line it prints names it).
  --swf is the game movie that the build compiles from demo/game/ (build/demo/game.swf); SWFObject,
    which the build installs beside it, is served as /static/swfobject.js.
  --extra-root serves the files of DIR under /extra/ (the tests' own pages).
  --movies serves the files of DIR under /movies/ (the tests' own movies, build/tests/movies).
  --game-host is the name the game page gives its movie for the game server (127.0.0.1).
"""
import asyncio
import argparse
import html
import json
import os
import secrets
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HERE = os.path.dirname(os.path.abspath(__file__))
PAGES = os.path.join(HERE, "pages")
DEFAULT_SWF = os.path.join(HERE, "..", "build", "demo", "game.swf")
DEFAULT_MOVIES = os.path.join(HERE, "..", "build", "tests", "movies")
SITE_PAGES = {"/": "官网", "/recharge/": "充值", "/forum/": "论坛", "/service/": "客服"}


def page(title, body):
    with open(os.path.join(PAGES, "frame.html"), encoding="utf-8") as f:
        return f.read().replace("{{TITLE}}", html.escape(title)).replace("{{BODY}}", body).encode("utf-8")


BEACONS = []  # (what, time): pages that finished loading and logins, for the benchmarks
REQUESTS = []  # (host header, path with query, time) of every request, for the tests; bounded
MAX_REQUESTS = 10000
COOKIES = []  # (path, Cookie header) of the requests that carried one, for the tests


class Handler(BaseHTTPRequestHandler):
    server_version = "VantorDemo/1"
    extra_root = None
    movies_root = DEFAULT_MOVIES
    swf_path = DEFAULT_SWF
    game_server = ""  # host:port of the game's TCP server

    def log_message(self, fmt, *args):  # quiet unless asked
        if os.environ.get("VANTOR_DEMO_LOG"):
            super().log_message(fmt, *args)

    def send(self, status, body, content_type="text/html; charset=utf-8", headers=(), cache="no-store"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", cache)
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        if url.path not in ("/requests", "/cookies"):
            del REQUESTS[:-MAX_REQUESTS]
            REQUESTS.append((self.headers.get("Host", ""), self.path, time.time()))
            if self.headers.get("Cookie"):
                del COOKIES[:-MAX_REQUESTS]
                COOKIES.append((self.path, self.headers.get("Cookie"), time.time()))
        if url.path in SITE_PAGES:
            name = SITE_PAGES[url.path]
            return self.send(200, page(name, f"<h1>{name}</h1><p>Vantor 游戏平台 · {name}页面</p>"))
        if url.path == "/client/":
            with open(os.path.join(PAGES, "login.html"), "rb") as f:
                return self.send(200, f.read())
        if url.path == "/game/":
            sid = html.escape(query.get("sid", [""])[0])
            with open(os.path.join(PAGES, "game.html"), encoding="utf-8") as f:
                text = f.read().replace("{{SID}}", sid).replace("{{GAME_SERVER}}", self.game_server)
                return self.send(200, text.encode("utf-8"))
        if url.path == "/static/game.swf":
            try:
                with open(self.swf_path, "rb") as f:
                    return self.send(200, f.read(), "application/x-shockwave-flash")
            except OSError as e:
                print(f"demo: no game movie at {self.swf_path} ({e}); build it first", file=sys.stderr)
                return self.send(404, b"")
        if url.path == "/static/swfobject.js":
            return self.serve_file(os.path.dirname(self.swf_path), "swfobject.js")
        if url.path.startswith("/movies/"):
            return self.serve_file(self.movies_root, url.path[len("/movies/"):])
        if url.path == "/beacon":
            BEACONS.append((query.get("page", ["?"])[0], time.time()))
            return self.send(204, b"")
        if url.path == "/beacons":
            body = json.dumps(BEACONS).encode()
            return self.send(200, body, "application/json")
        if url.path == "/requests":
            if "clear" in query:
                REQUESTS.clear()
            return self.send(200, json.dumps(REQUESTS).encode(), "application/json")
        if url.path == "/cookies":
            return self.send(200, json.dumps(COOKIES).encode(), "application/json")
        if url.path == "/redirect":
            return self.send(302, b"", headers=[("Location", query.get("to", ["/"])[0])])
        if url.path == "/autologin/":
            # A platform that sends a logged-in player straight on to the game, at every load.
            return self.send(302, b"", headers=[("Location", "/game/?gid=512&user=auto&sid=auto")])
        if url.path == "/hang":
            return self.hang(float(query.get("seconds", ["60"])[0]))
        if url.path.startswith("/extra/") and self.extra_root:
            return self.serve_file(self.extra_root, url.path[len("/extra/"):])
        return self.send(404, page("404", "<h1>404</h1>"))

    def do_POST(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/beacon":
            return self.do_GET()
        if url.path != "/client/login":
            return self.send(404, b"")
        length = int(self.headers.get("Content-Length") or 0)
        form = urllib.parse.parse_qs(self.rfile.read(min(length, 65536)).decode("utf-8", "replace"))
        user = form.get("user", ["player"])[0] or "player"
        BEACONS.append(("login-post", time.time()))
        sid = secrets.token_hex(8)
        target = f"/game/?gid=512&user={urllib.parse.quote(user)}&sid={sid}"
        # "Remember me": a lasting cookie, which the client keeps only when told to.
        remember = f"vantor_player={urllib.parse.quote(user)}; Max-Age=2592000; Path=/"
        self.send(302, b"", headers=[("Location", target), ("Set-Cookie", remember)])

    def hang(self, seconds):
        """A page that never finishes loading: headers and a first part, then nothing (bounded)."""
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.end_headers()
        # Enough of a page for the engine to show it while the rest never comes.
        self.wfile.write(b"<html><head><title>loading</title></head><body><p>loading</p>" + b" " * 4096)
        self.wfile.flush()
        deadline = time.monotonic() + min(seconds, 300)
        try:
            while time.monotonic() < deadline:
                time.sleep(0.5)
                self.wfile.write(b" ")
                self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def serve_file(self, folder, name):
        root = os.path.realpath(folder)
        path = os.path.realpath(os.path.join(root, name))
        if not path.startswith(root + os.sep) or not os.path.isfile(path):
            return self.send(404, b"")
        types = {".html": "text/html; charset=utf-8", ".js": "text/javascript", ".swf": "application/x-shockwave-flash",
                 ".wasm": "application/wasm"}
        # The emulator's files, as a game site serves them: cacheable, so that a browser with a
        # profile on disk keeps them between runs.
        cache = "public, max-age=86400" if name.startswith("ruffle/") else "no-store"
        with open(path, "rb") as f:
            self.send(200, f.read(), types.get(os.path.splitext(path)[1], "application/octet-stream"), cache=cache)


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A browser that leaves a page while it loads is no error of the platform's.
        if isinstance(sys.exc_info()[1], ConnectionError):
            return
        super().handle_error(request, client_address)


async def serve_game(reader, writer):
    """The game server: a line protocol over raw TCP. HELLO name -> WELCOME zone; SCORE n -> OK n;
    PING x -> PONG x (kept short for the latency benchmark). What it hears is in /requests."""
    zone = "一区"
    try:
        while line := await reader.readline():
            text = line.decode("utf-8", "replace").strip()
            REQUESTS.append(("game-server", text[:200], time.time()))
            word, _, rest = text.partition(" ")
            if word == "HELLO":
                writer.write(f"WELCOME {zone}\n".encode("utf-8"))
            elif word == "SCORE":
                writer.write(f"OK {rest}\n".encode("utf-8"))
            elif word == "PING":
                writer.write(f"PONG {rest}\n".encode("utf-8"))
            await writer.drain()
    except (ConnectionError, asyncio.IncompleteReadError):
        pass
    finally:
        writer.close()


def start_game_server(port):
    """Runs the game server on a thread of its own; returns its port."""
    ready = threading.Event()
    bound = []

    async def run():
        server = await asyncio.start_server(serve_game, "127.0.0.1", port)
        bound.append(server.sockets[0].getsockname()[1])
        ready.set()
        async with server:
            await server.serve_forever()

    threading.Thread(target=lambda: asyncio.run(run()), daemon=True).start()
    ready.wait(10)
    return bound[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=8512)
    parser.add_argument("--game-port", type=int, default=8513)
    parser.add_argument("--swf", default=DEFAULT_SWF)
    parser.add_argument("--extra-root")
    parser.add_argument("--movies", default=DEFAULT_MOVIES)
    parser.add_argument("--game-host", default="127.0.0.1", help="the game server's host name in the game page")
    args = parser.parse_args()
    Handler.extra_root = args.extra_root
    Handler.movies_root = args.movies
    Handler.swf_path = args.swf
    game_port = start_game_server(args.game_port)
    Handler.game_server = f"{args.game_host}:{game_port}"
    server = Server(("127.0.0.1", args.port), Handler)
    print(f"demo platform on http://127.0.0.1:{server.server_port}/, game server on 127.0.0.1:{game_port}",
          flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
