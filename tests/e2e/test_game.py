"""The whole road of a game start, driven by real clicks: log in, play, go back, log in again,
and end the program from the game window."""
import json
import os
import time
import unittest
import urllib.request

from harness import (DEMO, GAME_SIZE, LOGIN_SIZE, POPUP_SIZE, TOOLS, ProgramTest, click, color_fraction, demo_ini,
                     game_close_button, run, screenshot, wait_for)

SWF_BACKGROUND = (0x20, 0xC0, 0x60)


def game_loads():
    """How often the demo platform's game page has finished loading so far."""
    with urllib.request.urlopen(f"{DEMO}/beacons", timeout=5) as r:
        return sum(1 for name, _ in json.load(r) if name == "game")


# The demo login page's button (demo/pages/login.html).
LOGIN_BUTTON_COLOR = (0xF0, 0xA0, 0x30)


def login_loaded_after(since):
    """When the demo login page last finished loading after since (its load beacon), or None."""
    with urllib.request.urlopen(f"{DEMO}/beacons", timeout=5) as r:
        times = [t for name, t in json.load(r) if name == "login" and t >= since]
    return max(times) if times else None


class GameTest(ProgramTest):
    def expected_game_position(self):
        width, height = map(int, run("xdotool", "getdisplaygeometry").stdout.split())
        return ((width - GAME_SIZE[0]) // 2, (height - GAME_SIZE[1]) // 2)

    def test_return_shows_the_login_page_loaded(self):
        # The hidden login page is let go while the game runs; on the way back the login window
        # shows it loaded from its first frame on screen, not a blank page that fills in later.
        program = self.program(demo_ini(gotoLoginPage="1"))
        program.start()
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())
        time.sleep(5)
        clicked = time.time()
        click(*game_close_button(game))
        popup = wait_for(lambda: program.window(POPUP_SIZE), 20, step=0.02)
        shown = time.time()
        self.assertIsNotNone(popup, program.stderr())
        # The page had loaded (its load beacon) before the window came back on screen.
        loaded = wait_for(lambda: login_loaded_after(clicked), 10)
        self.assertIsNotNone(loaded, "the login page loaded again")
        self.assertLessEqual(loaded, shown + 0.05, f"loaded {loaded - clicked:.3f} s, shown {shown - clicked:.3f} s")
        self.assertTrue(wait_for(lambda: color_fraction(screenshot(popup.x, popup.y, popup.w, popup.h)[2],
                                                        LOGIN_BUTTON_COLOR) > 0.02, 2),
                        "the login button is on screen")
        # And the platform's page stays the login page: no second game starts by itself.
        self.assertFalse(wait_for(lambda: program.window(GAME_SIZE), 3))

    def test_login_play_return_and_quit(self):
        program = self.program(demo_ini(gotoLoginPage="1"))
        program.start()

        game = program.login_flow()
        self.assertIsNotNone(game, f"{program.windows()}\n{program.stderr()}")
        self.assertEqual((game.x, game.y), self.expected_game_position())
        self.assertTrue(program.wait_no_window(LOGIN_SIZE), "the login window stays hidden while playing")
        self.assertIsNone(program.window(POPUP_SIZE))
        self.assertEqual([w.size for w in program.windows()], [GAME_SIZE])

        # The game page fills the browser rectangle under the top bar.
        def game_shown():
            _, _, pixels = screenshot(game.x + 2, game.y + 32, game.w - 3, game.h - 34)
            return color_fraction(pixels, SWF_BACKGROUND) > 0.4

        self.assertTrue(wait_for(game_shown, 45, step=1.0), program.stderr())
        # Only the game window loads the game address: a one-time ticket in it is spent once.
        with urllib.request.urlopen(f"{DEMO}/requests", timeout=5) as r:
            game_requests = [path for _, path, t in json.load(r) if path.startswith("/game/") and t >= program.started]
        self.assertEqual(len(game_requests), 1, game_requests)

        # A marker address from inside the game page (its "换服" link) opens no second window.
        loads = game_loads()
        click(game.x + game.w - 2 - 8 - 32, game.y + 32 + 8 + 14)
        self.assertTrue(wait_for(lambda: game_loads() > loads, 15), "the game page navigated")
        self.assertFalse(wait_for(lambda: len(program.windows()) > 1, 3))
        self.assertIsNone(program.window(LOGIN_SIZE))

        # "1": back to the login window; logging in again opens a new game window.
        click(*game_close_button(game))
        self.assertIsNotNone(program.wait_window(LOGIN_SIZE), program.stderr())
        self.assertTrue(program.wait_no_window(GAME_SIZE))
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())

        # "0", read anew on the click: the program ends.
        program.write_ini(demo_ini(gotoLoginPage="0"))
        click(*game_close_button(game))
        self.assertEqual(program.wait_exit(20), 0, program.stderr())
        self.assertNotIn("Release of profile", program.stderr())

    def test_unknown_close_rule_ends_the_program(self):
        # Any value but "1" would leave a process with no window: it ends the program, and says so.
        program = self.program(demo_ini(gotoLoginPage="2"))
        program.start()
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())
        click(*game_close_button(game))
        self.assertEqual(program.wait_exit(20), 0, program.stderr())
        self.assertIn("gotoLoginPage=2", program.stderr())

    def test_closing_the_game_from_the_desktop_follows_the_close_rule(self):
        program = self.program(demo_ini(gotoLoginPage="1"))
        program.start()
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())
        run(os.path.join(TOOLS, "vantor-wmclose"), str(game.id))
        self.assertIsNotNone(program.wait_window(LOGIN_SIZE), program.stderr())
        self.assertTrue(program.wait_no_window(GAME_SIZE))


if __name__ == "__main__":
    unittest.main()
