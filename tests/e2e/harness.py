"""Drives the built program as a player would: a fresh copy in a temporary folder with its own
Vantor.ini, started from another working directory, seen and clicked through the X server."""
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import urllib.request
import xml.etree.ElementTree as ET

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
BUILD = os.environ.get("VANTOR_BUILD_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build"))
DEMO = os.environ.get("VANTOR_DEMO_URL", "http://127.0.0.1:8512")
GAME_SERVER = os.environ.get("VANTOR_GAME_SERVER", "127.0.0.1:8513")
SAVES = os.path.join(".local", "share", "vantor")  # in the home folder
TOOLS = os.path.join(BUILD, "tests")

LOGIN_SIZE = (764, 560)
POPUP_SIZE = (688, 398)
GAME_SIZE = (1250, 700)
# In the login window's browser, showing tests/pages/flash/typein.html: the movie's chat field, and
# the page's own text box under the movie.
TYPEIN_CHAT_FIELD = (100, 35)
TYPEIN_PAGE_BOX = (60, 222)
# Where the demo login page keeps its button, inside the login browser (see demo/pages/login.html).
LOGIN_BUTTON = (398 + 130, 300 + 22)


def game_close_button(game):
    """The centre of the game window's "closebtn". The top bar lays its buttons out from the right
    edge: a 4-pixel margin, then 30-pixel buttons."""
    return (game.x + game.w - 4 - 15, game.y + 16)


def run(*args, **kw):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=kw.pop("timeout", 20), **kw)


def wait_for(predicate, timeout=20.0, step=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def skin_rect(skin, name):
    """The geometry of a named control in a skin file of the build."""
    root = ET.parse(os.path.join(BUILD, "skin", skin)).getroot()
    for widget in root.iter("widget"):
        if widget.get("name") == name:
            r = widget.find("property[@name='geometry']/rect")
            return tuple(int(r.find(k).text) for k in ("x", "y", "width", "height"))
    raise KeyError(name)


def files_under(path):
    found = set()
    for dirpath, dirnames, filenames in os.walk(path):
        for n in dirnames + filenames:
            found.add(os.path.relpath(os.path.join(dirpath, n), path))
    return found


def outside_saves(paths):
    """The paths, relative to a home folder, that are neither the saves' folder, its parents nor in it."""
    allowed = {".local", os.path.join(".local", "share"), SAVES}
    return {p for p in paths if p not in allowed and not p.startswith(SAVES + os.sep)}


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # Header: "P6", width, height, maximum, each followed by one white-space byte; then the pixels,
    # whose first byte may itself look like white space.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6", fields[0]
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos + 1:pos + 1 + w * h * 3]


def color_fraction(pixels, rgb, tolerance=24):
    total = len(pixels) // 3
    hits = 0
    for i in range(0, len(pixels) - 2, 3):
        if all(abs(pixels[i + k] - rgb[k]) <= tolerance for k in range(3)):
            hits += 1
    return hits / max(total, 1)


def page_loaded_since(page, since, demo=DEMO):
    """Whether the demo platform saw the page finish loading since that time (its load beacon)."""
    try:
        with urllib.request.urlopen(f"{demo}/beacons", timeout=5) as r:
            return any(name == page and t >= since for name, t in json.load(r))
    except OSError:
        return False


def beacon_reports(page, since, demo=DEMO):
    """What a test page told the test server since that time, in its beacons'
    "/beacon?page=<page>&<name>=<value>" queries: the last value of each name."""
    found = {}
    with urllib.request.urlopen(f"{demo}/requests", timeout=5) as r:
        for _, path, t in json.load(r):
            if t >= since and path.startswith(f"/beacon?page={page}&"):
                query = urllib.parse.parse_qs(urllib.parse.urlsplit(path).query, keep_blank_values=True)
                found.update({k: v[0] for k, v in query.items() if k != "page"})
    return found


class Window:
    def __init__(self, wid, x, y, w, h):
        self.id, self.x, self.y, self.w, self.h = wid, x, y, w, h

    @property
    def size(self):
        return (self.w, self.h)

    def __repr__(self):
        return f"Window({self.id}, {self.x},{self.y} {self.w}x{self.h})"


def geometry(wid):
    out = run("xdotool", "getwindowgeometry", "--shell", str(wid)).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return Window(wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))


def click(x, y, button=1):
    run("xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "click", str(button))


def key(*names):
    run("xdotool", "key", *names)


def screenshot(x, y, w, h):
    path = tempfile.mktemp(suffix=".ppm")
    run(os.path.join(TOOLS, "vantor-grab"), path, str(x), str(y), str(w), str(h))
    try:
        return read_ppm(path)
    finally:
        if os.path.exists(path):
            os.remove(path)


class Program:
    """One copy of the built program in a fresh folder."""

    def __init__(self, ini=None, with_skin=True, demo=DEMO, home=None):
        self.demo = demo  # the demo platform the program is pointed at
        # A home folder of its own, unless the test shares one between runs (game saves live there).
        self.own_home = home is None
        self.home = home or tempfile.mkdtemp(prefix="vantor-home-")
        self.dir = tempfile.mkdtemp(prefix="vantor-e2e-")
        self.cwd = tempfile.mkdtemp(prefix="vantor-cwd-")
        self.exe = os.path.join(self.dir, "vantor")
        shutil.copy2(os.path.join(BUILD, "vantor"), self.exe)
        if with_skin:
            shutil.copytree(os.path.join(BUILD, "skin"), os.path.join(self.dir, "skin"))
        shutil.copytree(os.path.join(BUILD, "ruffle"), os.path.join(self.dir, "ruffle"))
        if ini is not None:
            self.write_ini(ini)
        self.proc = None
        self.stderr_path = os.path.join(self.cwd, "stderr.txt")

    def write_ini(self, text):
        with open(os.path.join(self.dir, "Vantor.ini"), "w", encoding="utf-8") as f:
            f.write(text)

    def start(self, env=None):
        environment = dict(os.environ)
        environment.pop("XDG_DATA_HOME", None)
        environment["HOME"] = self.home
        for name, value in (env or {}).items():  # None removes a variable
            if value is None:
                environment.pop(name, None)
            else:
                environment[name] = value
        self.stderr_file = open(self.stderr_path, "w")
        self.started = time.time()
        self.proc = subprocess.Popen([self.exe], cwd=self.cwd, stdout=subprocess.DEVNULL,
                                     stderr=self.stderr_file, env=environment, start_new_session=True)
        return self

    def stderr(self):
        with open(self.stderr_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def windows(self):
        if self.proc is None:
            return []
        out = run("xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)).stdout.split()
        result = []
        for wid in out:
            try:
                result.append(geometry(wid))
            except (KeyError, ValueError):
                pass  # gone meanwhile
        return result

    def window(self, size):
        return next((w for w in self.windows() if w.size == size), None)

    def wait_window(self, size, timeout=30.0):
        return wait_for(lambda: self.window(size), timeout)

    def wait_no_window(self, size, timeout=15.0):
        return wait_for(lambda: self.window(size) is None, timeout)

    def wait_exit(self, timeout=20.0):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def helper_exes(self):
        """The executables of the main process's helper processes."""
        exes = set()
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open(f"/proc/{pid}/stat") as f:
                    stat = f.read()
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    cmdline = f.read().split(b"\0")
                session = int(stat.rsplit(")", 1)[1].split()[3])
            except (OSError, ValueError, IndexError):
                continue
            if session == self.proc.pid and int(pid) != self.proc.pid and any(a.startswith(b"--type=") for a in cmdline):
                try:
                    exes.add(os.readlink(f"/proc/{pid}/exe"))
                except OSError:
                    pass
        return exes

    def login_flow(self):
        """Logs in on the demo page with a real click; returns the game window."""
        login = self.wait_window(LOGIN_SIZE)
        assert login, f"no login window: {self.windows()}"
        popup = self.wait_window(POPUP_SIZE)
        wait_for(lambda: page_loaded_since("login", self.started, self.demo), 30)
        time.sleep(0.3)
        click(popup.x + LOGIN_BUTTON[0], popup.y + LOGIN_BUTTON[1])
        return self.wait_window(GAME_SIZE)

    def close(self):
        if self.proc and self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait(timeout=10)
        if self.proc:
            self.stderr_file.close()
        shutil.rmtree(self.dir, ignore_errors=True)
        shutil.rmtree(self.cwd, ignore_errors=True)
        if self.own_home:
            shutil.rmtree(self.home, ignore_errors=True)


class InputMethod:
    """A Chinese player's input method with its pinyin engine, on a session bus of its own, in a home
    folder of its own; program_env() is what a program with another home folder needs to reach it."""
    name = ""
    programs = ()  # what must be installed

    def __init__(self, panel=False):
        self.panel = panel  # the candidate window, which only a screenshot needs
        self.home = tempfile.mkdtemp(prefix=f"vantor-{self.name}-")
        self.env = dict(os.environ, HOME=self.home)
        self.env.pop("XDG_CONFIG_HOME", None)
        self.bus_pid = self.daemon = None

    @classmethod
    def installed(cls):
        return all(shutil.which(p) for p in cls.programs + ("dbus-daemon",))

    def start(self):
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                             capture_output=True, text=True, env=self.env, timeout=20).stdout.split()
        self.bus_pid = int(bus[1])
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self.daemon = subprocess.Popen(self.command(), env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        if not self.ready():
            self.stop()
            raise RuntimeError(f"{self.name} with its pinyin engine did not start")
        return self

    def program_env(self):
        return {"DBUS_SESSION_BUS_ADDRESS": self.env["DBUS_SESSION_BUS_ADDRESS"]}

    def stop(self):
        if self.daemon:
            self.daemon.terminate()
            self.daemon.wait(timeout=10)
        if self.bus_pid:
            os.kill(self.bus_pid, signal.SIGTERM)
        self.daemon = self.bus_pid = None
        shutil.rmtree(self.home, ignore_errors=True)


class IBus(InputMethod):
    """IBus, which Qt talks to itself. IBus keeps its own bus's address in a file under its home's
    config folder; the program is told where the file is."""
    name = "ibus"
    programs = ("ibus-daemon", "ibus")

    def command(self):
        return ["ibus-daemon", "--xim", "--replace"] + ([] if self.panel else ["--panel=disable"])

    def ready(self):
        folder = os.path.join(self.home, ".config", "ibus", "bus")
        self.address_file = wait_for(lambda: os.path.isdir(folder) and os.listdir(folder) and
                                     os.path.join(folder, os.listdir(folder)[0]), 20)

        def pinyin_on():
            run("ibus", "engine", "libpinyin", env=self.env)
            return run("ibus", "engine", env=self.env).stdout.strip() == "libpinyin"

        return self.address_file and wait_for(pinyin_on, 20, step=0.5)

    def program_env(self):
        return dict(super().program_env(), QT_IM_MODULE="ibus", IBUS_ADDRESS_FILE=self.address_file)


class Fcitx5(InputMethod):
    """Fcitx 5, which Qt reaches through its Qt 6 front end, on the session bus: pinyin as the only
    group's input method, on in every window."""
    name = "fcitx5"
    programs = ("fcitx5", "fcitx5-remote")
    PROFILE = ("[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n"
               "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n[Groups/0/Items/1]\nName=pinyin\nLayout=\n"
               "[GroupOrder]\n0=Default\n")
    CONFIG = "[Behavior]\nActiveByDefault=True\nShareInputState=All\n"

    def command(self):
        folder = os.path.join(self.home, ".config", "fcitx5")
        os.makedirs(folder)
        for name, text in (("profile", self.PROFILE), ("config", self.CONFIG)):
            with open(os.path.join(folder, name), "w") as f:
                f.write(text)
        return ["fcitx5", "--disable=wayland,notificationitem" + ("" if self.panel else ",classicui")]

    def ready(self):
        return wait_for(lambda: run("fcitx5-remote", env=self.env).returncode == 0, 20, step=0.25)

    def program_env(self):
        return dict(super().program_env(), QT_IM_MODULE="fcitx")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Platform:
    """A demo platform of a test's own, on ports of its own, started and stopped at will."""

    def __init__(self, game_host="127.0.0.1"):
        self.port, self.game_port = free_port(), free_port()
        self.base = f"http://127.0.0.1:{self.port}"
        self.game_host = game_host  # the game server's name in the game page
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen(
            [sys.executable, os.path.join(ROOT, "demo", "server.py"), "--port", str(self.port), "--game-port",
             str(self.game_port), "--game-host", self.game_host, "--extra-root", os.path.join(ROOT, "tests", "pages"),
             "--swf", os.path.join(BUILD, "demo", "game.swf"), "--movies", os.path.join(BUILD, "tests", "movies")],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        assert wait_for(lambda: self.requests() is not None, 10)
        return self

    def stop(self):
        if self.proc:
            self.proc.kill()
            self.proc.wait(timeout=10)
            self.proc = None

    def requests(self):
        """The paths it was asked for, in order, or None while it is down."""
        try:
            with urllib.request.urlopen(f"{self.base}/requests", timeout=2) as r:
                return [path for _, path, _ in json.load(r)]
        except OSError:
            return None


def demo_ini(**common):
    values = {
        "official": f"{DEMO}/",
        "recharge": f"{DEMO}/recharge/",
        "forum": f"{DEMO}/forum/",
        "service": f"{DEMO}/service/",
        "gameLoginUrl": f"{DEMO}/client/?gid=512",
    }
    values.update(common)
    return "[Common]\n" + "".join(f"{k}={v}\n" for k, v in values.items())


class ProgramTest(unittest.TestCase):
    def program(self, ini=None, **kw):
        p = Program(ini, **kw)
        self.addCleanup(p.close)
        return p
