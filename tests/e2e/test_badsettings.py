"""Broken settings files: the program starts with the defaults and ends cleanly."""
import os
import unittest

from harness import LOGIN_SIZE, ProgramTest, click, skin_rect


def write_bytes(path, data):
    with open(path, "wb") as f:
        f.write(data)


class BadSettingsTest(ProgramTest):
    CASES = {
        "50 MB": lambda p: write_bytes(p, b"[Common]\ngotoLoginPage=1\n" + b";" * (50 * 1024 * 1024)),
        "binary": lambda p: write_bytes(p, bytes(range(256)) * 64),
        "UTF-16 without BOM": lambda p: write_bytes(p, "[Common]\r\ngameparam=x\r\n".encode("utf-16-le")),
        "a directory": lambda p: os.mkdir(p),
        "unreadable": lambda p: (write_bytes(p, b"[Common]\ngameparam=x\n"), os.chmod(p, 0)),
    }

    def test_program_starts_with_defaults(self):
        for name, make in self.CASES.items():
            with self.subTest(name):
                program = self.program()
                ini = os.path.join(program.dir, "Vantor.ini")
                make(ini)
                program.start()
                login = program.wait_window(LOGIN_SIZE, timeout=30)
                self.assertIsNotNone(login, program.stderr())
                x, y, w, h = skin_rect("FormLogin.xml", "closebtn")
                click(login.x + x + w // 2, login.y + y + h // 2)
                self.assertEqual(program.wait_exit(20), 0, program.stderr())
                self.assertTrue(os.path.exists(ini))  # left as it was


if __name__ == "__main__":
    unittest.main()
