"""What the client keeps between runs, in the home folder's data folder: game saves always, the
platform's login only when told to; and what it does when that folder can't be used."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest
import urllib.request

from harness import DEMO, LOGIN_SIZE, SAVES, ProgramTest, click, key, wait_for
from test_flashgame import events, game_ini


def cookies_since(since):
    with urllib.request.urlopen(f"{DEMO}/cookies", timeout=5) as r:
        return [(path, cookie) for path, cookie, t in json.load(r) if t >= since]


class SavesTest(ProgramTest):
    def home(self):
        path = tempfile.mkdtemp(prefix="vantor-home-")
        self.addCleanup(shutil.rmtree, path, ignore_errors=True)
        return path

    def play(self, program):
        """Starts the program and logs in; returns when its movie talks to the game server."""
        started = time.time()
        program.start()
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())
        self.assertTrue(wait_for(lambda: any(w == "socket" for w, _ in events(started)), 45), program.stderr())
        return started, game

    def test_login_is_kept_only_when_asked(self):
        for keep in ("0", "1"):
            with self.subTest(KeepLogin=keep):
                home = self.home()
                ini = game_ini() + f"\n[Config]\nKeepLogin={keep}\n"
                first = self.program(ini, home=home)
                self.play(first)
                first.proc.terminate()
                self.assertEqual(first.wait_exit(20), 0, first.stderr())

                second = self.program(ini, home=home)
                started = time.time()
                second.start()
                self.assertIsNotNone(second.wait_window(LOGIN_SIZE), second.stderr())
                time.sleep(3)
                remembered = [p for p, c in cookies_since(started) if "vantor_player=" in c]
                self.assertEqual(bool(remembered), keep == "1", remembered)

    def test_two_clients_at_once(self):
        home = self.home()
        first = self.program(game_ini(), home=home)
        _, game = self.play(first)
        started = time.time()
        click(game.x + game.w // 2, game.y + game.h - 20)  # the movie takes the keyboard
        for _ in range(2):
            key("Right")
            time.sleep(0.2)
        self.assertTrue(wait_for(lambda: ("score", "2") in events(started), 10), events(started))

        # A second account on the same machine: it plays fully, with storage for its run only.
        second = self.program(game_ini(), home=home)
        self.play(second)
        self.assertEqual(second.stderr().count("in use by another running client"), 1, second.stderr())
        for program in (second, first):
            program.proc.terminate()
            self.assertEqual(program.wait_exit(20), 0, program.stderr())

        third = self.program(game_ini(), home=home)
        started, _ = self.play(third)
        self.assertIn(("best", "2"), events(started))

    def test_unusable_data_folder(self):
        def a_file(folder):
            os.makedirs(os.path.dirname(folder))
            with open(folder, "w") as f:
                f.write("not a folder")

        def a_full_disk(folder):
            os.makedirs(folder)
            if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", folder]).returncode != 0:
                self.skipTest("no tmpfs mount here (needs root)")
            self.addCleanup(subprocess.run, ["umount", "-l", folder])

        for name, make in (("a file", a_file), ("a full disk", a_full_disk)):
            with self.subTest(name):
                home = self.home()
                make(os.path.join(home, SAVES))
                program = self.program(game_ini(), home=home)
                self.play(program)
                self.assertEqual(program.stderr().count("kept for this run only"), 1, program.stderr())
                program.close()


if __name__ == "__main__":
    unittest.main()
