"""A Wayland desktop: weston (headless, with XWayland) as the session. The client runs through
XWayland, so its windows land on the X display and place themselves; a platform the user chose
still wins."""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import LOGIN_SIZE, POPUP_SIZE, Program, demo_ini, wait_for

# Where the login page's pop-up sits on the login window (its browser area).
BROWSER_AREA = (38, 127)


@unittest.skipUnless(shutil.which("weston") and shutil.which("Xwayland"), "weston and Xwayland are not installed")
class WaylandSessionTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.runtime = tempfile.mkdtemp(prefix="vantor-xdg-")
        os.chmod(cls.runtime, 0o700)
        cls.log = os.path.join(cls.runtime, "weston.log")
        cls.weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--xwayland", "--socket=vantor-wayland", "--width=1280",
             "--height=800", f"--log={cls.log}"],
            env=dict(os.environ, XDG_RUNTIME_DIR=cls.runtime), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def display():
            with open(cls.log, encoding="utf-8", errors="replace") as f:
                found = re.search(r"xserver listening on display (:\d+)", f.read())
            return found and found.group(1)

        cls.display = wait_for(lambda: os.path.exists(cls.log) and display(), 20)
        assert cls.display, "weston started no XWayland display"
        cls.saved = {k: os.environ.get(k) for k in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "XDG_SESSION_TYPE")}
        # The test's own X tools look at the session's XWayland display.
        os.environ.update(DISPLAY=cls.display, WAYLAND_DISPLAY="vantor-wayland", XDG_RUNTIME_DIR=cls.runtime,
                          XDG_SESSION_TYPE="wayland")

    @classmethod
    def tearDownClass(cls):
        for name, value in cls.saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value
        cls.weston.terminate()
        cls.weston.wait(10)
        shutil.rmtree(cls.runtime, ignore_errors=True)

    def setUp(self):
        self.program = Program(demo_ini())
        self.addCleanup(self.program.close)

    def test_runs_through_xwayland_with_the_popup_in_place(self):
        self.program.start(env={"QT_QPA_PLATFORM": None})
        login = self.program.wait_window(LOGIN_SIZE)
        self.assertIsNotNone(login, self.program.stderr())
        popup = self.program.wait_window(POPUP_SIZE)
        self.assertIsNotNone(popup, self.program.stderr())
        # The pop-up keeps over the login window's browser area, as on an X11 desktop.
        self.assertTrue(wait_for(lambda: self._popup_offset() == BROWSER_AREA, 10), self._popup_offset())

    def _popup_offset(self):
        login, popup = self.program.window(LOGIN_SIZE), self.program.window(POPUP_SIZE)
        return login and popup and (popup.x - login.x, popup.y - login.y)

    def test_the_users_platform_wins(self):
        self.program.start(env={"QT_QPA_PLATFORM": "wayland"})
        time.sleep(8)
        self.assertIsNone(self.program.proc.poll(), self.program.stderr())  # it runs, on Wayland itself
        self.assertEqual(self.program.windows(), [], "a window landed on the X display")


if __name__ == "__main__":
    unittest.main()
