"""The Debian package as a player gets it: it passes lintian, installs with apt-get, starts from
/usr/bin/vantor on the build's default address and shows the login page, ends with exit code 0 when
closed from the desktop, and is removed leaving nothing behind.

Usage: test_package.py build/vantor_<version>_amd64.deb   (as root, on a display; the package must
have been built with the default addresses, which point at the demo platform on port 8512)."""
import glob
import os
import socket
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import LOGIN_SIZE, POPUP_SIZE, TOOLS, Program, page_loaded_since, run, wait_for  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DEB = None
DEMO_PORT = 8512


class InstalledProgram(Program):
    """The installed program, started as the desktop's menu would start it."""

    def __init__(self, demo):
        self.demo = demo
        self.own_home = True
        self.home = tempfile.mkdtemp(prefix="vantor-home-")
        self.cwd = tempfile.mkdtemp(prefix="vantor-cwd-")
        self.dir = "/usr/lib/vantor"
        self.exe = "/usr/bin/vantor"
        self.proc = None
        self.stderr_path = os.path.join(self.cwd, "stderr.txt")


def apt(*args):
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    return subprocess.run(["apt-get", "-y", "-q", *args], capture_output=True, text=True, env=env, timeout=600)


def package_files(deb):
    """The paths the package installs, without the folders it shares with others."""
    listing = run("dpkg-deb", "-c", deb).stdout.splitlines()
    return [line.split(None, 5)[5].split(" -> ")[0].lstrip(".") for line in listing]


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # The demo platform where the build's default addresses point.
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", DEMO_PORT)) == 0:
                raise unittest.SkipTest(f"port {DEMO_PORT} is taken; the package test needs it for the demo")
        cls.demo = subprocess.Popen([sys.executable, os.path.join(ROOT, "demo", "server.py"), "--port",
                                     str(DEMO_PORT), "--game-port", "0"], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        wait_for(cls._listening, 15)
        apt("purge", "vantor")

    @staticmethod
    def _listening():
        with socket.socket() as s:
            return s.connect_ex(("127.0.0.1", DEMO_PORT)) == 0

    @classmethod
    def tearDownClass(cls):
        cls.demo.terminate()
        cls.demo.wait(10)
        apt("purge", "vantor")

    def test_lint_install_run_remove(self):
        lint = run("lintian", "--tag-display-limit", "0", DEB, timeout=300)
        self.assertEqual([l for l in lint.stdout.splitlines() if l.startswith("E:")], [], lint.stdout)

        installed = apt("install", "--no-install-recommends", os.path.abspath(DEB))
        self.assertEqual(installed.returncode, 0, installed.stdout + installed.stderr)
        files = package_files(DEB)
        for path in ("/usr/bin/vantor", "/usr/lib/vantor/vantor", "/usr/lib/vantor/skin/FormLogin.xml",
                     "/usr/lib/vantor/ruffle/ruffle.js", "/usr/share/applications/net.vantor.Vantor.desktop",
                     "/usr/share/icons/hicolor/scalable/apps/net.vantor.Vantor.svg",
                     "/usr/share/icons/hicolor/48x48/apps/net.vantor.Vantor.png",
                     "/usr/share/metainfo/net.vantor.Vantor.metainfo.xml"):
            self.assertIn(path, files)
            self.assertTrue(os.path.exists(path), path)
        self.assertEqual(run("desktop-file-validate", "/usr/share/applications/net.vantor.Vantor.desktop")
                         .returncode, 0)
        self.assertEqual(run("appstreamcli", "validate", "--no-net",
                             "/usr/share/metainfo/net.vantor.Vantor.metainfo.xml").returncode, 0)

        program = InstalledProgram(f"http://127.0.0.1:{DEMO_PORT}")
        program.start()
        login = program.wait_window(LOGIN_SIZE)
        self.assertIsNotNone(login, program.stderr())
        self.assertIsNotNone(program.wait_window(POPUP_SIZE))
        self.assertTrue(wait_for(lambda: page_loaded_since("login", program.started, program.demo), 30),
                        program.stderr())
        run(os.path.join(TOOLS, "vantor-wmclose"), str(login.id))
        self.assertEqual(program.wait_exit(20), 0, program.stderr())

        removed = apt("purge", "vantor")
        self.assertEqual(removed.returncode, 0, removed.stdout + removed.stderr)
        left = [p for p in files if os.path.lexists(p) and not os.path.isdir(p)]
        self.assertEqual(left, [])
        for folder in ("/usr/lib/vantor", "/usr/share/doc/vantor"):
            self.assertFalse(os.path.exists(folder), folder)
        self.assertNotEqual(run("dpkg-query", "-W", "-f=${Status}", "vantor").stdout, "install ok installed")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    DEB = sys.argv.pop(1)
    unittest.main()
