"""Real input methods as Chinese players have them: IBus and Fcitx 5, each with its pinyin engine on a
session bus of the test's own. "nihao" and a space, typed through the X server, put "你好" into a
movie's text field and into the page's own text box, once and with no pinyin left over."""
import time
import unittest

from harness import (DEMO, POPUP_SIZE, TYPEIN_CHAT_FIELD, TYPEIN_PAGE_BOX, Fcitx5, IBus, ProgramTest, beacon_reports,
                     click, demo_ini, key, run, wait_for)


def typein_reports(since):
    return beacon_reports("typein", since)


class InputMethodTest(ProgramTest):
    def type_pinyin(self, at, focus, since):
        # A click that comes while the movie is still starting up focuses nothing: click again.
        for _ in range(3):
            click(*at)
            if wait_for(lambda: typein_reports(since).get("focus") == focus, 3):
                break
        self.assertEqual(typein_reports(since).get("focus"), focus)
        time.sleep(0.3)
        run("xdotool", "type", "--delay", "80", "nihao")
        time.sleep(0.3)
        key("space")

    def test_pinyin_reaches_a_movie_field_and_the_page(self):
        for method in (IBus, Fcitx5):
            with self.subTest(method.name):
                if not method.installed():
                    self.skipTest(f"{method.name} is not installed")
                im = method().start()
                self.addCleanup(im.stop)
                ini = demo_ini(gameLoginUrl=f"{DEMO}/extra/flash/typein.html", gameparam="no-such-marker")
                program = self.program(ini)
                since = time.time()
                program.start(env=im.program_env())
                browser = program.wait_window(POPUP_SIZE)
                self.assertIsNotNone(browser, program.stderr())
                self.assertTrue(wait_for(lambda: "ready" in typein_reports(since), 30), program.stderr())

                self.type_pinyin((browser.x + TYPEIN_CHAT_FIELD[0], browser.y + TYPEIN_CHAT_FIELD[1]), "0", since)
                self.assertTrue(wait_for(lambda: typein_reports(since).get("field0") == "你好", 10),
                                typein_reports(since))
                time.sleep(0.5)
                self.assertEqual(typein_reports(since).get("field0"), "你好", "nothing more came")

                self.type_pinyin((browser.x + TYPEIN_PAGE_BOX[0], browser.y + TYPEIN_PAGE_BOX[1]), "box", since)
                self.assertTrue(wait_for(lambda: typein_reports(since).get("box") == "你好", 10),
                                typein_reports(since))
                self.assertEqual(typein_reports(since).get("field0"), "你好")
                program.close()
                im.stop()


if __name__ == "__main__":
    unittest.main()
