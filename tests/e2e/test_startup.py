"""Start-up and shutdown of the real program, copied into a fresh folder."""
import os
import unittest

from harness import (LOGIN_SIZE, POPUP_SIZE, TOOLS, ProgramTest, click, demo_ini, files_under, outside_saves, run,
                     skin_rect, wait_for)


class StartupTest(ProgramTest):
    def test_login_window_then_close_button_exits_zero(self):
        program = self.program(demo_ini())
        home = program.home
        home_before = files_under(home)
        folder_before = files_under(program.dir)
        program.start()

        login = program.wait_window(LOGIN_SIZE)
        self.assertIsNotNone(login, program.stderr())
        width, height = map(int, run("xdotool", "getdisplaygeometry").stdout.split())
        self.assertEqual((login.x, login.y), ((width - LOGIN_SIZE[0]) // 2, (height - LOGIN_SIZE[1]) // 2))
        self.assertIsNotNone(program.wait_window(POPUP_SIZE))
        props = run("xprop", "-id", str(login.id), "_NET_WM_ICON", "WM_CLASS").stdout
        self.assertIn("_NET_WM_ICON(CARDINAL)", props)  # the program's icon
        self.assertNotIn("not found", props.split("\n")[0])

        # The engine's helpers are this very executable.
        helpers = wait_for(program.helper_exes, 20)
        self.assertEqual(helpers, {program.exe})

        x, y, w, h = skin_rect("FormLogin.xml", "closebtn")
        click(login.x + x + w // 2, login.y + y + h // 2)
        self.assertEqual(program.wait_exit(20), 0, program.stderr())
        self.assertEqual(wait_for(lambda: not program.helper_exes(), 10), True)

        stderr = program.stderr()
        self.assertNotIn("applicationDirPath", stderr)
        self.assertNotIn("Release of profile", stderr)
        # The program writes no file beside itself, nor in the home folder outside the saves' folder.
        self.assertEqual(files_under(program.dir), folder_before)
        self.assertEqual(outside_saves(files_under(home) - home_before), set())

    def test_closing_from_the_desktop_ends_the_program(self):
        program = self.program(demo_ini())
        program.start()
        login = program.wait_window(LOGIN_SIZE)
        self.assertIsNotNone(login)
        run(os.path.join(TOOLS, "vantor-wmclose"), str(login.id))
        self.assertEqual(program.wait_exit(20), 0, program.stderr())

    def test_missing_skin_folder_is_a_clear_error(self):
        program = self.program(demo_ini(), with_skin=False)
        program.start()
        self.assertNotEqual(program.wait_exit(30), 0)
        self.assertIn(os.path.join(program.dir, "skin", "FormLogin.xml"), program.stderr())
        self.assertEqual(program.windows(), [])

    def test_malformed_skin_is_a_clear_error(self):
        program = self.program(demo_ini())
        broken = os.path.join(program.dir, "skin", "FormLoginBrowser.xml")
        with open(broken, "w") as f:
            f.write("<ui version='4.0'><widget class='QWidget' name='FormLoginBrowser'><property")
        program.start()
        self.assertNotEqual(program.wait_exit(30), 0)
        self.assertIn(broken, program.stderr())


if __name__ == "__main__":
    unittest.main()
