#!/usr/bin/env python3
"""Measures the client side by side with a bare engine page and prints one table.

Run inside a display (scripts/bench.sh provides one). Each figure is the median of RUNS runs.
Figures, not verdicts: nothing here fails on time.
"""
import json
import os
import socket
import statistics
import subprocess
import sys
import time
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
os.environ.setdefault("VANTOR_BUILD_DIR", os.path.join(HERE, "..", "build"))
import harness  # noqa: E402

RUNS = int(os.environ.get("VANTOR_BENCH_RUNS", "5"))
# The game window's browser: 1250 x 700 less the top bar and the frame. The bare page shows game
# pages at that size, like for like.
GAME_VIEW = (1247, 666)
ROUNDS = int(os.environ.get("VANTOR_BENCH_ROUNDS", "50"))
BARE = os.path.join(harness.BUILD, "bench", "vantor-bare-page")
TICKS = os.sysconf("SC_CLK_TCK")


def start_server():
    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    port = sock.getsockname()[1]
    sock.close()
    proc = subprocess.Popen([sys.executable, os.path.join(HERE, "..", "demo", "server.py"), "--port", str(port),
                             "--game-port", "0"],
                            stdout=subprocess.DEVNULL)
    base = f"http://127.0.0.1:{port}"
    harness.wait_for(lambda: _get(base + "/") is not None, 10)
    return proc, base


def _get(url):
    try:
        with urllib.request.urlopen(url, timeout=2) as r:
            return r.read()
    except OSError:
        return None


def beacon_after(base, what, since, timeout=60):
    def find():
        for name, t in json.loads(_get(base + "/beacons") or b"[]"):
            if name == what and t >= since:
                return t
        return None
    return harness.wait_for(find, timeout, step=0.01)


def tree(pid):
    """pid and all its descendants."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(entry))
            except (OSError, ValueError):
                pass
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


def pss_kb(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def cpu_seconds(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except (OSError, ValueError):
            pass
    return total / TICKS


def wakeups(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if "ctxt_switches" in line:
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


class Client:
    name = "client"

    def __init__(self, base, **ini):
        self.base = base
        self.program = harness.Program(harness.demo_ini(**ini).replace(harness.DEMO, base), demo=base)

    def start(self):
        self.program.start()
        return self.program.proc.pid

    def close(self):
        self.program.close()


class Bare:
    name = "bare page"

    def __init__(self, base, path="/client/?gid=512", size=None):
        self.url = base + path
        self.size = size  # the view's size; the login page's by default
        self.proc = None

    def start(self):
        env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1")
        size = [str(n) for n in self.size] if self.size else []
        self.proc = subprocess.Popen([BARE, self.url, *size], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=env, start_new_session=True)
        return self.proc.pid

    def close(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, 9)
            self.proc.wait()


def idle_figures(pid):
    pids = tree(pid)
    cpu0, wake0 = cpu_seconds(pids), wakeups(pid)
    time.sleep(10)
    pids = tree(pid)
    return cpu_seconds(pids) - cpu0, (wakeups(pid) - wake0) / 10


def measure_login(make, base):
    """Start-up, memory and idle figures with the login page shown."""
    startup, memory, cpu, wake = [], [], [], []
    for _ in range(RUNS):
        runner = make(base)
        t0 = time.time()
        pid = runner.start()
        loaded = beacon_after(base, "login", t0)
        startup.append((loaded - t0) * 1000)
        time.sleep(2)
        memory.append(pss_kb(tree(pid)))
        c, w = idle_figures(pid)
        cpu.append(c)
        wake.append(w)
        runner.close()
    return statistics.median(startup), statistics.median(memory), statistics.median(cpu), statistics.median(wake)


def measure_game_client(base):
    memory, window, page = [], [], []
    for _ in range(RUNS):
        client = Client(base, gotoLoginPage="1")
        t0 = time.time()
        pid = client.start()
        beacon_after(base, "login", t0)
        popup = client.program.wait_window(harness.POPUP_SIZE)
        t1 = time.time()
        harness.click(popup.x + harness.LOGIN_BUTTON[0], popup.y + harness.LOGIN_BUTTON[1])
        shown = harness.wait_for(lambda: client.program.window(harness.GAME_SIZE), 30, step=0.005)
        shown_at = time.time()
        posted = beacon_after(base, "login-post", t1)
        loaded = beacon_after(base, "game", t1)
        if shown and posted and loaded:
            window.append((shown_at - posted) * 1000)
            page.append((loaded - posted) * 1000)
        time.sleep(2)
        memory.append(pss_kb(tree(pid)))
        client.close()
    return statistics.median(memory), statistics.median(window), statistics.median(page)


def measure_game_bare(base):
    memory, page = [], []
    for _ in range(RUNS):
        bare = Bare(base, "/game/?gid=512&sid=bench", GAME_VIEW)
        t0 = time.time()
        pid = bare.start()
        loaded = beacon_after(base, "game", t0)
        page.append((loaded - t0) * 1000)
        time.sleep(2)
        memory.append(pss_kb(tree(pid)))
        bare.close()
    return statistics.median(memory), statistics.median(page)


def measure_growth(base):
    client = Client(base, gotoLoginPage="1")
    pid = client.start()
    after = {}
    for n in range(1, ROUNDS + 1):
        game = client.program.login_flow()
        if not game:
            break
        harness.click(*harness.game_close_button(game))
        client.program.wait_window(harness.LOGIN_SIZE)
        client.program.wait_no_window(harness.GAME_SIZE)
        if n in (1, ROUNDS):
            time.sleep(2)
            after[n] = pss_kb([pid])
    client.close()
    return after.get(1), after.get(ROUNDS)


def ratio(a, b):
    return f"{a / b:.2f}" if a is not None and b else "-"


def main():
    server, base = start_server()
    try:
        c_start, c_mem, c_cpu, c_wake = measure_login(lambda b: Client(b), base)
        b_start, b_mem, b_cpu, b_wake = measure_login(lambda b: Bare(b), base)
        g_mem, handover, game_load = measure_game_client(base)
        bg_mem, bare_game_load = measure_game_bare(base)
        grow1, grow50 = measure_growth(base)
    finally:
        server.kill()
    rows = [
        ("start-up to login page loaded (ms)", c_start, b_start),
        ("memory, login page: PSS of all processes (MB)", c_mem / 1024, b_mem / 1024),
        ("memory, game page: PSS of all processes (MB)", g_mem / 1024, bg_mem / 1024),
        ("idle CPU over 10 s, login page (ms)", c_cpu * 1000, b_cpu * 1000),
        ("idle wake-ups of the main process (per s)", c_wake, b_wake),
        ("hand-over: marker to game window shown (ms)", handover, None),
        ("game page loaded after the marker (ms)", game_load, bare_game_load),
        (f"main-process PSS after 1 / {ROUNDS} game rounds (MB)", (grow50 or 0) / 1024, (grow1 or 0) / 1024),
    ]
    print(f"| figure (median of {RUNS} runs) | client | bare engine page | ratio |")
    print("|---|---|---|---|")
    for name, client, bare in rows:
        fmt = (lambda v: "-" if v is None else f"{v:.1f}")
        if name.startswith("main-process"):
            print(f"| {name} | {fmt(bare)} / {fmt(client)} | - | {ratio(client, bare)} |")
        else:
            print(f"| {name} | {fmt(client)} | {fmt(bare)} | {ratio(client, bare)} |")
    print("\nThe bare page's game figure is its start-up on the game page, without the Flash emulator. "
          f"Measured on {os.cpu_count()} cores, {os.uname().sysname} {os.uname().release}.")


if __name__ == "__main__":
    main()
