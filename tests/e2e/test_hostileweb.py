"""Hostile platform pages against the real program: a login page that sends the player on to the
game at every load, a login address that is itself a game address, and a storm of dialogs."""
import json
import os
import shutil
import stat
import tempfile
import time
import unittest
import urllib.request

from harness import (DEMO, GAME_SIZE, LOGIN_SIZE, POPUP_SIZE, ProgramTest, click, demo_ini, key, run, skin_rect,
                     wait_for)


def requests():
    with urllib.request.urlopen(f"{DEMO}/requests", timeout=5) as r:
        return json.load(r)


def count(path_prefix, since):
    return sum(1 for _, path, t in requests() if path.startswith(path_prefix) and t >= since)


class HostileWebTest(ProgramTest):
    def test_login_page_that_redirects_to_the_game_at_every_load(self):
        program = self.program(demo_ini(gameLoginUrl=f"{DEMO}/autologin/"))
        program.start()
        game = program.wait_window(GAME_SIZE)
        self.assertIsNotNone(game, program.stderr())
        handed_over = time.time()
        time.sleep(12)
        self.assertLessEqual(count("/autologin/", handed_over), 3)
        self.assertEqual([w.size for w in program.windows()], [GAME_SIZE])
        self.assertIsNone(program.proc.poll())

    def test_login_address_that_is_a_game_address(self):
        program = self.program(demo_ini(gameLoginUrl=f"{DEMO}/game/?gid=512&sid=direct"))
        program.start()
        self.assertIsNotNone(program.wait_window(GAME_SIZE), program.stderr())
        started = time.time()
        time.sleep(8)
        self.assertLessEqual(count("/game/", started), 2)
        self.assertEqual([w.size for w in program.windows()], [GAME_SIZE])
        self.assertEqual(program.stderr().count("holds the game marker"), 1, program.stderr())

    def test_dialog_storm_leaves_the_buttons_working(self):
        folder = tempfile.mkdtemp(prefix="vantor-browser-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        record = os.path.join(folder, "opened.txt")
        browser = os.path.join(folder, "browser")
        with open(browser, "w") as f:
            f.write(f'#!/bin/sh\necho "$1" >> {record}\n')
        os.chmod(browser, stat.S_IRWXU)
        program = self.program(demo_ini(gameLoginUrl=f"{DEMO}/extra/alertstorm.html"))
        program.start(env={"BROWSER": browser})
        login = program.wait_window(LOGIN_SIZE)
        self.assertIsNotNone(login, program.stderr())
        known = {LOGIN_SIZE, POPUP_SIZE}

        def dialog():
            return next((w for w in program.windows() if w.size not in known), None)

        for _ in range(5):
            d = wait_for(dialog, 3)
            if d:
                run("xdotool", "windowfocus", "--sync", str(d.id))
            key("Return")
            time.sleep(0.5)
        self.assertFalse(wait_for(dialog, 2), "no dialog is left after the storm")
        x, y, w, h = skin_rect("FormLogin.xml", "officialbtn")
        click(login.x + x + w // 2, login.y + y + h // 2)
        self.assertTrue(wait_for(lambda: os.path.exists(record), 10), program.stderr())
        with open(record) as f:
            self.assertEqual(f.read().split(), [f"{DEMO}/"])
        self.assertIsNone(program.proc.poll())


if __name__ == "__main__":
    unittest.main()
