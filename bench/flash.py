"""The game figures, with the emulator: the client against a bare engine page that loads the same
Ruffle by itself, cold (an empty profile) and warm (the profile of a run before); and the
device-font renderers against each other.
"""
import json
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.parse

import run  # the client and bare-page runners, and the measuring helpers
from run import GAME_VIEW, RUNS, SETTLE_S, Bare, harness, pss_kb, tree


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


def requests_after(base, since):
    return [(path, t) for _, path, t in json.loads(run._get(base + "/requests") or b"[]") if t >= since]


def event_after(base, what, since, timeout=60):
    """When the movie first reported what, after since: (time, value)."""
    def find():
        for path, t in requests_after(base, since):
            if path.startswith("/beacon?page=flash"):
                query = urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)
                if query.get("what", [""])[0] == what:
                    return t, query.get("value", [""])[0]
        return None
    return harness.wait_for(find, timeout, step=0.01)


def client(base, game_server, home=None, **common):
    ini = harness.demo_ini(**common).replace(harness.DEMO, base) + f"\n[Flash]\nSockets={game_server}\n"
    return harness.Program(ini, demo=base, home=home)


def play_client(base, game_server, home, settle):
    """One game in the client: (marker to game window shown, marker to the movie's first frame, PSS
    of all processes after settle seconds of play). The marker is the login's redirect to the game.
    Ends the client cleanly, so that its profile is written out."""
    program = client(base, game_server, home)
    try:
        t0 = time.time()
        program.start()
        run.beacon_after(base, "login", t0)
        popup = program.wait_window(harness.POPUP_SIZE)
        t1 = time.time()
        harness.click(popup.x + harness.LOGIN_BUTTON[0], popup.y + harness.LOGIN_BUTTON[1])
        harness.wait_for(lambda: program.window(harness.GAME_SIZE), 30, step=0.005)
        shown = time.time()
        posted = run.beacon_after(base, "login-post", t1)
        frame = event_after(base, "best", t1)
        time.sleep(settle)
        memory = pss_kb(tree(program.proc.pid))
        os.killpg(program.proc.pid, signal.SIGTERM)
        program.wait_exit()
        if not (posted and frame):
            return None
        return (shown - posted) * 1000, (frame[0] - posted) * 1000, memory
    finally:
        program.close()


def play_bare(base, profile, settle):
    """One game in the bare page: (its page's request to the movie's first frame, PSS after settle
    seconds of play)."""
    bare = Bare(base, "/extra/bench/pages/bare-game.html", GAME_VIEW, profile=profile)
    t0 = time.time()
    pid = bare.start()
    frame = event_after(base, "best", t0)
    requested = next((t for path, t in requests_after(base, t0) if path.startswith("/extra/bench/pages/bare-game")),
                     None)
    time.sleep(settle)
    memory = pss_kb(tree(pid))
    bare.quit()
    if not (frame and requested):
        return None
    return (frame[0] - requested) * 1000, memory


def in_fresh_profile(play, warm):
    """play(folder, settle) in a fresh profile folder; a warm run plays there once first."""
    folder = tempfile.mkdtemp(prefix="vantor-bench-")
    try:
        if warm:
            play(folder, 3)
        return play(folder, SETTLE_S)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def game_figures(base, game_server):
    """Medians: {"handover", "frame cold", "frame warm", "memory"} for the client, {"frame cold",
    "frame warm", "memory"} for the bare page. Memory and the hand-over are from the cold runs."""
    c = {"handover": [], "frame cold": [], "frame warm": [], "memory": []}
    b = {"frame cold": [], "frame warm": [], "memory": []}
    for _ in range(RUNS):
        for warm in (False, True):
            frame = "frame warm" if warm else "frame cold"
            got = in_fresh_profile(lambda folder, settle: play_client(base, game_server, folder, settle), warm)
            if got:
                c[frame].append(got[1])
                if not warm:
                    c["handover"].append(got[0])
                    c["memory"].append(got[2])
            got = in_fresh_profile(lambda folder, settle: play_bare(base, folder, settle), warm)
            if got:
                b[frame].append(got[0])
                if not warm:
                    b["memory"].append(got[1])
    median = (lambda d: {k: statistics.median(v) if v else None for k, v in d.items()})
    return median(c), median(b)


def frame_time(base, game_server, renderer):
    """The text-heavy movie's mean frame time with a device-font renderer."""
    return page_frame_time(base, game_server, f"{base}/extra/bench/pages/textheavy.html?renderer={renderer}")


# The movies of the renderer figures: the demo game drawn anew every frame, and a movie of bitmaps
# and filters. The renderers: Ruffle's own choice (empty), its WebGL one, its canvas one.
RENDERER_MOVIES = {"demo game": "/extra/demo/game.swf", "effects-heavy movie": "/extra/bench/effects.swf"}
RENDERERS = ("", "webgl", "canvas")


def renderer_frame_times(base, game_server):
    """{(movie, renderer): mean frame time in ms} on this machine's GL, through the client."""
    return {(movie, renderer): page_frame_time(
                base, game_server, f"{base}/extra/bench/pages/renderer.html?movie={path}&renderer={renderer}")
            for movie, path in RENDERER_MOVIES.items() for renderer in RENDERERS}


def page_frame_time(base, game_server, page):
    """The median over runs of the mean frame time that a movie on the page reports."""
    values = []
    for _ in range(RUNS):
        program = client(base, game_server, gameparam="no-marker", gameLoginUrl=page)
        t0 = time.time()
        program.start()
        found = event_after(base, "frame-ms", t0, timeout=90)
        if found:
            values.append(float(found[1]))
        program.close()
    return statistics.median(values) if values else None
