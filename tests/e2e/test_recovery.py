"""The client started while the platform is down comes back by itself: the login window's page, and
the game window's game page, are tried again until the platform is up, one request per try, with no
input; a form that failed is never sent again unasked."""
import time
import unittest
import urllib.request

from harness import (DEMO, GAME_SIZE, LOGIN_BUTTON, POPUP_SIZE, Platform, ProgramTest, click, demo_ini,
                     page_loaded_since, wait_for)

# The platform comes up this long after the client started.
DOWN_S = 8


class RecoveryTest(ProgramTest):
    def platform(self):
        p = Platform()
        self.addCleanup(p.stop)
        return p

    def test_login_page_comes_back(self):
        platform = self.platform()
        program = self.program(demo_ini(gameLoginUrl=f"{platform.base}/client/?gid=512"))
        program.start()
        self.assertIsNotNone(program.wait_window(POPUP_SIZE), program.stderr())
        time.sleep(DOWN_S)
        up = time.time()
        platform.start()
        self.assertTrue(wait_for(lambda: page_loaded_since("login", up, platform.base), 30), program.stderr())
        self.assertEqual(platform.requests().count("/client/?gid=512"), 1, platform.requests())

    def test_game_page_comes_back(self):
        platform = self.platform()
        game = f"{platform.base}/game/?sid=recovery"
        # The login page, on the test server that is up, moves on to the game address at once.
        program = self.program(demo_ini(gameLoginUrl=f"{DEMO}/extra/navigate.html#{urllib.request.quote(game)}"))
        program.start()
        self.assertIsNotNone(program.wait_window(GAME_SIZE), program.stderr())
        time.sleep(DOWN_S)
        up = time.time()
        platform.start()
        self.assertTrue(wait_for(lambda: page_loaded_since("game", up, platform.base), 30), program.stderr())
        self.assertEqual(platform.requests().count("/game/?sid=recovery"), 1, platform.requests())
        self.assertIsNotNone(program.window(GAME_SIZE))

    def test_failed_form_is_not_sent_again(self):
        platform = self.platform()
        platform.start()
        program = self.program(demo_ini(gameLoginUrl=f"{platform.base}/client/?gid=512"))
        program.start()
        popup = program.wait_window(POPUP_SIZE)
        self.assertTrue(wait_for(lambda: page_loaded_since("login", program.started, platform.base), 30))
        platform.stop()
        time.sleep(0.3)
        click(popup.x + LOGIN_BUTTON[0], popup.y + LOGIN_BUTTON[1])
        time.sleep(1)
        platform.start()
        time.sleep(12)  # three tries' worth, had it been tried again
        self.assertNotIn("/client/login", platform.requests())
        self.assertIsNone(program.window(GAME_SIZE))


if __name__ == "__main__":
    unittest.main()
