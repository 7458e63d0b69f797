"""A hot key that another program holds is reported once, naming it, and the rest works."""
import os
import subprocess
import unittest

from harness import GAME_SIZE, TOOLS, ProgramTest, demo_ini


class HeldHotKeyTest(ProgramTest):
    def test_held_boss_key_is_reported_once(self):
        holder = subprocess.Popen([os.path.join(TOOLS, "vantor-keygrab"), "--hold", "60", "F9"],
                                  stdout=subprocess.PIPE, text=True)
        self.addCleanup(holder.kill)
        self.assertEqual(holder.stdout.readline().strip(), "F9: grabbed")
        self.assertEqual(holder.stdout.readline().strip(), "held")
        program = self.program(demo_ini(gotoLoginPage="1"))
        program.start()
        game = program.login_flow()
        self.assertIsNotNone(game, program.stderr())
        self.assertEqual(game.size, GAME_SIZE)
        message = "the hot key F9 is held by another program"
        self.assertEqual(program.stderr().count(message), 1, program.stderr())


if __name__ == "__main__":
    unittest.main()
