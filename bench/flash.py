#!/usr/bin/env python3
"""Flash figures: the client against a bare engine page that loads the same Ruffle by itself, and
the device-font renderers against each other. Prints one table; nothing fails on time.

Run inside a display (scripts/bench.sh provides one), after a build.
"""
import json
import os
import socket
import statistics
import subprocess
import sys
import time
import urllib.parse

import run  # the client and bare-page runners, and the measuring helpers
from run import GAME_VIEW, RUNS, Bare, harness, pss_kb, tree


def start_server():
    """The demo platform, with the build folder under /extra/ (Ruffle, the benchmark's pages)."""
    ports = []
    for _ in range(2):
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        ports.append(s.getsockname()[1])
        s.close()
    proc = subprocess.Popen([sys.executable, os.path.join(run.HERE, "..", "demo", "server.py"), "--port",
                             str(ports[0]), "--game-port", str(ports[1]), "--extra-root", harness.BUILD],
                            stdout=subprocess.DEVNULL)
    base = f"http://127.0.0.1:{ports[0]}"
    harness.wait_for(lambda: run._get(base + "/") is not None, 10)
    return proc, base, f"127.0.0.1:{ports[1]}"


def event_after(base, what, since, timeout=60):
    """When the movie first reported what, after since: (time, value)."""
    def find():
        for _, path, t in json.loads(run._get(base + "/requests") or b"[]"):
            if t >= since and path.startswith("/beacon?page=flash"):
                query = urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)
                if query.get("what", [""])[0] == what:
                    return t, query.get("value", [""])[0]
        return None
    return harness.wait_for(find, timeout, step=0.01)


def client(base, game_server, **common):
    ini = harness.demo_ini(**common).replace(harness.DEMO, base) + f"\n[Flash]\nSockets={game_server}\n"
    return harness.Program(ini, demo=base)


def first_frame_client(base, game_server):
    """Marker (the login's redirect to the game) to the movie's first frame, and memory while it plays."""
    times, memory = [], []
    for _ in range(RUNS):
        program = client(base, game_server)
        t0 = time.time()
        program.start()
        run.beacon_after(base, "login", t0)
        popup = program.wait_window(harness.POPUP_SIZE)
        t1 = time.time()
        harness.click(popup.x + harness.LOGIN_BUTTON[0], popup.y + harness.LOGIN_BUTTON[1])
        posted = run.beacon_after(base, "login-post", t1)
        frame = event_after(base, "best", t1)
        if posted and frame:
            times.append((frame[0] - posted) * 1000)
        time.sleep(3)
        memory.append(pss_kb(tree(program.proc.pid)))
        program.close()
    return statistics.median(times), statistics.median(memory)


def first_frame_bare(base):
    times, memory = [], []
    for _ in range(RUNS):
        bare = Bare(base, "/extra/bench/pages/bare-game.html", GAME_VIEW)
        t0 = time.time()
        pid = bare.start()
        frame = event_after(base, "best", t0)
        if frame:
            times.append((frame[0] - t0) * 1000)
        time.sleep(3)
        memory.append(pss_kb(tree(pid)))
        bare.close()
    return statistics.median(times), statistics.median(memory)


def frame_time(base, game_server, renderer):
    values = []
    for _ in range(RUNS):
        program = client(base, game_server, gameparam="no-marker",
                         gameLoginUrl=f"{base}/extra/bench/pages/textheavy.html?renderer={renderer}")
        t0 = time.time()
        program.start()
        found = event_after(base, "frame-ms", t0, timeout=90)
        if found:
            values.append(float(found[1]))
        program.close()
    return statistics.median(values) if values else None


def main():
    server, base, game_server = start_server()
    try:
        c_frame, c_mem = first_frame_client(base, game_server)
        b_frame, b_mem = first_frame_bare(base)
        canvas = frame_time(base, game_server, "canvas")
        embedded = frame_time(base, game_server, "embedded")
    finally:
        server.kill()
    print(f"| figure (median of {RUNS} runs) | client | bare engine page with the same Ruffle | ratio |")
    print("|---|---|---|---|")
    print(f"| marker (bare: load start) to the movie's first frame (ms) | {c_frame:.0f} | {b_frame:.0f} | "
          f"{run.ratio(c_frame, b_frame)} |")
    print(f"| memory, game running: PSS of all processes (MB) | {c_mem / 1024:.1f} | {b_mem / 1024:.1f} | "
          f"{run.ratio(c_mem, b_mem)} |")
    print()
    print("| text-heavy movie, 200 fields changed every frame | canvas (system fonts) | embedded (Ruffle's default) |")
    print("|---|---|---|")
    fmt = (lambda v: "-" if v is None else f"{v:.1f}")
    print(f"| mean frame time (ms; the movie asks for 16.7) | {fmt(canvas)} | {fmt(embedded)} |")


if __name__ == "__main__":
    main()
