"""The engine as a player's program meets it: `vantor --version` names it and starts nothing, and a
page's permission request is refused at once, every run anew (no answer is kept in the profile)."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import BUILD, DEMO, LOGIN_SIZE, ProgramTest, beacon_reports, demo_ini, files_under, wait_for


def permission_reports(since):
    return beacon_reports("permission", since)


class EngineTest(ProgramTest):
    def test_version_names_the_engine_and_starts_nothing(self):
        home = tempfile.mkdtemp(prefix="vantor-home-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        env = dict(os.environ, HOME=home)
        env.pop("DISPLAY", None)  # no window could open
        started = time.time()
        done = subprocess.run([os.path.join(BUILD, "vantor"), "--version"], capture_output=True, text=True,
                              env=env, timeout=20)
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = done.stdout.splitlines()
        self.assertEqual(len(lines), 3, done.stdout)
        self.assertRegex(lines[0], r"^Vantor \d+\.\d+\.\d+$")
        self.assertRegex(lines[1], r"^Qt 6\.\d+\.\d+, Qt WebEngine 6\.\d+\.\d+$")
        self.assertRegex(lines[2], r"^Chromium \d+\.\d+\.\d+\.\d+, security fixes to \d+\.\d+\.\d+\.\d+$")
        self.assertEqual(done.stderr, "")
        self.assertEqual(files_under(home), set(), "nothing was started or written")
        self.assertLess(time.time() - started, 5)

    def test_permission_refused_at_once_and_asked_anew_each_run(self):
        home = tempfile.mkdtemp(prefix="vantor-home-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        ini = demo_ini(gameLoginUrl=f"{DEMO}/extra/permission.html", gameparam="no-such-marker")
        for run in (1, 2):
            program = self.program(ini, home=home)
            since = time.time()
            program.start()
            self.assertIsNotNone(program.wait_window(LOGIN_SIZE), program.stderr())
            self.assertTrue(wait_for(lambda: "waited" in permission_reports(since), 30), program.stderr())
            seen = permission_reports(since)
            # Nothing was kept from the run before: the page finds the permission unasked.
            self.assertEqual(seen["before"], "default", f"run {run}: {seen}")
            self.assertEqual(seen["answer"], "denied", f"run {run}: {seen}")
            self.assertLess(int(seen["waited"]), 1000, f"run {run}: {seen}")
            program.close()


if __name__ == "__main__":
    unittest.main()
