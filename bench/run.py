"""Measuring helpers, the runners of the client and of a bare engine page, and the login-page and
growth figures. bench/table.py runs everything and prints the table.
"""
import json
import os
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
ROUNDS = int(os.environ.get("VANTOR_BENCH_ROUNDS", "100"))
# Memory is read this long after the moment it describes: the engine hands freed memory back to
# the system 5 s after a load or a discard.
SETTLE_S = 8
BARE = os.path.join(harness.BUILD, "bench", "vantor-bare-page")
TICKS = os.sysconf("SC_CLK_TCK")


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

    def __init__(self, base, path="/client/?gid=512", size=None, profile=None):
        self.url = base + path
        self.size = size  # the view's size; the login page's by default
        self.profile = profile  # a profile folder kept between runs; off the record without
        self.proc = None

    def start(self):
        env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1")
        if self.profile:
            env["VANTOR_BARE_PROFILE"] = self.profile
        size = [str(n) for n in self.size] if self.size else []
        self.proc = subprocess.Popen([BARE, self.url, *size], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, env=env, start_new_session=True)
        return self.proc.pid

    def quit(self):
        """Ends it cleanly, its profile written out."""
        self.proc.stdin.close()
        try:
            self.proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            pass
        self.close()

    def close(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, 9)
            self.proc.wait()
        if self.proc.stdin:
            self.proc.stdin.close()


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


def measure_growth(base, marks=(1, 10)):
    """Main-process PSS (kB) after each round in marks and after the last of ROUNDS rounds of
    entering the game and closing it."""
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
        if n in marks or n == ROUNDS:
            time.sleep(SETTLE_S)
            after[n] = pss_kb([pid])
    client.close()
    return after


def ratio(a, b):
    return f"{a / b:.2f}" if a is not None and b else "-"
