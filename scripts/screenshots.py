#!/usr/bin/env python3
"""Takes the README's screenshots of the login window, the game window and an input method's
candidate window at a movie's text field, from the real program against the demo platform. Run inside a display: scripts/screenshots.sh."""
import os
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
os.environ.setdefault("VANTOR_BUILD_DIR", os.path.join(ROOT, "build"))
import harness  # noqa: E402

OUT = os.path.join(ROOT, "docs", "screenshots")


def grab(window, name):
    path = os.path.join(OUT, name)
    subprocess.run([os.path.join(harness.TOOLS, "vantor-grab"), path, str(window.x), str(window.y), str(window.w),
                    str(window.h)], check=True)
    print(path)


def main():
    os.makedirs(OUT, exist_ok=True)
    ini = harness.demo_ini(gotoLoginPage="1") + f"\n[Flash]\nSockets={harness.GAME_SERVER}\n"
    program = harness.Program(ini)
    try:
        program.start()
        login = program.wait_window(harness.LOGIN_SIZE)
        program.wait_window(harness.POPUP_SIZE)
        time.sleep(3)
        grab(login, "login.png")
        game = program.login_flow()
        time.sleep(4)
        # A few moves, so that the game shows a score and its square away from the start.
        harness.click(game.x + game.w // 2, game.y + game.h - 20)
        for k in ("Right", "Right", "Up"):
            harness.key(k)
            time.sleep(0.2)
        time.sleep(1)
        grab(game, "game.png")
    finally:
        program.close()
    input_method()


def input_method():
    """Pinyin typed into a movie's chat field, with Fcitx 5's candidate window showing."""
    im = harness.Fcitx5(panel=True).start()
    ini = harness.demo_ini(gameLoginUrl=f"{harness.DEMO}/extra/flash/typein.html", gameparam="no-such-marker")
    program = harness.Program(ini)
    try:
        program.start(env=im.program_env())
        login = program.wait_window(harness.LOGIN_SIZE)
        browser = program.wait_window(harness.POPUP_SIZE)
        time.sleep(4)
        harness.click(browser.x + harness.TYPEIN_CHAT_FIELD[0], browser.y + harness.TYPEIN_CHAT_FIELD[1])
        time.sleep(1)
        harness.run("xdotool", "type", "--delay", "80", "nihao")
        time.sleep(1)
        grab(login, "inputmethod.png")
    finally:
        program.close()
        im.stop()


if __name__ == "__main__":
    main()
