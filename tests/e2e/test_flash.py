"""A page that embeds a SWF plays it, with no click, through the Flash emulator."""
import unittest

from harness import DEMO, LOGIN_SIZE, POPUP_SIZE, ProgramTest, color_fraction, demo_ini, screenshot, wait_for

SWF_BACKGROUND = (0x20, 0xC0, 0x60)  # demo/make_swf.py


class FlashTest(ProgramTest):
    def test_swf_plays_in_the_login_browser(self):
        # The game page itself, shown in the login browser: no marker, so no hand-over.
        program = self.program(demo_ini(gameLoginUrl=f"{DEMO}/game/?gid=512", gameparam="no-such-marker"))
        program.start()
        self.assertIsNotNone(program.wait_window(LOGIN_SIZE), program.stderr())
        self.assertIsNotNone(program.wait_window(POPUP_SIZE))

        def green():
            popup = program.window(POPUP_SIZE)  # it moves over the login window's browser area
            _, _, pixels = screenshot(popup.x, popup.y, popup.w, popup.h)
            return color_fraction(pixels, SWF_BACKGROUND) > 0.3

        self.assertTrue(wait_for(green, 45, step=1.0), program.stderr())


if __name__ == "__main__":
    unittest.main()
