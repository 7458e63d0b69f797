"""The floor check passes on the tree and fails on an include that points up."""
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SCRIPT = ROOT / "scripts" / "check-floors.py"


def check(root):
    return subprocess.run([sys.executable, str(SCRIPT), str(root)], capture_output=True, text=True)


class CheckFloors(unittest.TestCase):
    def test_tree_passes(self):
        result = check(ROOT)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_upward_includes_fail(self):
        cases = [
            # (file, include, points up)
            ("browser/SimpleHandler.cpp", "ui/AppMessages.h", True),
            ("platform/engine/RuffleScheme.cpp", "settings/Settings.h", True),
            ("settings/Settings.cpp", "browser/ErrorPage.h", True),
            ("ui/SiteButtons.cpp", "app/Startup.h", True),
            ("ui/SiteButtons.cpp", "browser/ErrorPage.h", False),
            ("platform/skin/SkinLoader.cpp", "platform/desktop/Screen.h", False),
        ]
        for source, include, up in cases:
            with self.subTest(source=source, include=include), tempfile.TemporaryDirectory() as tmp:
                tree = pathlib.Path(tmp)
                for floor in ("platform", "settings", "browser", "ui", "app"):
                    shutil.copytree(ROOT / floor, tree / floor)
                target = tree / source
                target.write_text(f'#include "{include}"\n' + target.read_text(encoding="utf-8"), encoding="utf-8")
                result = check(tree)
                self.assertEqual(result.returncode, 1 if up else 0, result.stderr)
                if up:
                    self.assertIn(f"{source}:1: includes {include}", result.stderr)


if __name__ == "__main__":
    unittest.main()
