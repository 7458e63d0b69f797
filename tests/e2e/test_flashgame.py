"""The demo game, an AS3 movie, in the real program's game window: keys, Chinese device-font text,
a socket to the game server through the client's bridge, saves that outlast the process, the page
and the movie calling each other, and the movie's own full screen."""
import json
import shutil
import tempfile
import time
import unittest
import urllib.parse
import urllib.request

from harness import (DEMO, GAME_SERVER, GAME_SIZE, ProgramTest, click, color_fraction, demo_ini, files_under,
                     key, outside_saves, run, screenshot, wait_for)

LINK_UP = (0x40, 0xF0, 0xF0)
WHITE = (0xFF, 0xFF, 0xFF)
# The movie's stage is 640 x 400, shown whole ("showAll") and centred at the top of the browser.
STAGE = (640, 400)


def events(since):
    """What the movie told its page, as (what, value) pairs, from the platform's request log."""
    with urllib.request.urlopen(f"{DEMO}/requests", timeout=5) as r:
        found = []
        for _, path, t in json.load(r):
            if t < since or not path.startswith("/beacon?page=flash"):
                continue
            query = urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)
            found.append((query.get("what", [""])[0], query.get("value", [""])[0]))
        return found


def game_ini(**common):
    return demo_ini(**common) + f"\n[Flash]\nSockets={GAME_SERVER}\n"


class FlashGameTest(ProgramTest):
    def stage_rect(self, game):
        """The movie's stage on the screen: the browser area under the 32-pixel top bar, scaled to fit."""
        bx, by, bw, bh = game.x + 2, game.y + 32, game.w - 3, game.h - 34
        scale = min(bw / STAGE[0], bh / STAGE[1])
        w, h = int(STAGE[0] * scale), int(STAGE[1] * scale)
        return bx + (bw - w) // 2, by, w, h, scale

    def play(self, program, since):
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())
        self.assertTrue(wait_for(lambda: ("socket", "一区") in events(since), 45), f"{events(since)}\n{program.stderr()}")
        return game

    def test_game_plays(self):
        home = tempfile.mkdtemp(prefix="vantor-home-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        program = self.program(game_ini(), home=home)
        home_before = files_under(home)
        started = time.time()
        program.start()
        game = self.play(program, started)
        x, y, w, h, scale = self.stage_rect(game)

        # The socket's round trip: the server heard the movie, the movie lit its link light.
        with urllib.request.urlopen(f"{DEMO}/requests", timeout=5) as r:
            self.assertTrue(any(host == "game-server" and p.startswith("HELLO") for host, p, _ in json.load(r)))
        light = (x + int(600 * scale), y + int(360 * scale), int(20 * scale), int(20 * scale))
        # The movie tells its page before it draws the next frame: the pixels may come a moment later.
        self.assertTrue(wait_for(lambda: color_fraction(screenshot(*light)[2], LINK_UP) > 0.5, 5))

        # The Chinese title, in a device font, has drawn pixels.
        title = (x + int(20 * scale), y + int(16 * scale), int(300 * scale), int(36 * scale))
        self.assertTrue(wait_for(lambda: color_fraction(screenshot(*title)[2], WHITE, tolerance=60) > 0.03, 5))

        # The page embedded the movie with SWFObject, which found Flash; the handshake went both ways
        # through the element SWFObject handed over (the movie said it was ready, the page gave it the
        # player's ticket); the loading bar saw PercentLoaded() reach 100; the movie's first-frame
        # call reached the page.
        found = events(started)
        self.assertIn(("embedded", "ok"), found)
        tickets = [value for what, value in found if what == "login"]
        self.assertEqual(len(tickets), 1, found)
        self.assertTrue(tickets[0])
        self.assertIn(("login-returned", "welcome:" + tickets[0]), found)
        self.assertTrue(wait_for(lambda: ("percent", "100") in events(started), 10), events(started))
        self.assertIn(("best", "0"), found)

        # Arrow keys move the player's square (pixels) and raise the score, which is saved.
        click(x + w // 2, y + h - 10)  # the movie takes the keyboard
        before = screenshot(x, y, w, h)[2]
        for _ in range(3):
            key("Right")
            time.sleep(0.2)
        self.assertTrue(wait_for(lambda: ("score", "3") in events(started), 10), events(started))
        self.assertTrue(wait_for(lambda: screenshot(x, y, w, h)[2] != before, 5))

        # The movie's full-screen button takes the window's own full screen; Escape leaves both.
        width, height = map(int, run("xdotool", "getdisplaygeometry").stdout.split())
        click(x + int(596 * scale), y + int(40 * scale))
        self.assertIsNotNone(program.wait_window((width, height), 10), program.windows())
        self.assertTrue(wait_for(lambda: len(program.windows()) == 2, 5), program.windows())  # and its bar
        key("Escape")
        self.assertIsNotNone(program.wait_window(GAME_SIZE, 10), program.windows())

        # The desktop ends the program (a log-out, a shut-down): it closes as if asked, saves kept.
        program.proc.terminate()
        self.assertEqual(program.wait_exit(20), 0, program.stderr())

        # A fresh process with the same home folder reads the saved best score.
        second = self.program(game_ini(), home=home)
        started = time.time()
        second.start()
        self.play(second, started)
        self.assertIn(("best", "3"), events(started))
        self.assertEqual(outside_saves(files_under(home) - home_before), set())


if __name__ == "__main__":
    unittest.main()
