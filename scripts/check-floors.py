#!/usr/bin/env python3
"""Fails when a source file includes a floor above its own.

The floors, from the bottom: platform/ (profile, desktop, skin, engine), settings/, browser/, ui/,
app/. A file may include its own floor and the floors below it. Tests and benchmarks stand outside
the house and may include anything.

Usage: check-floors.py [ROOT]   (ROOT defaults to the project's root)
"""
import pathlib
import re
import sys

FLOORS = {"platform": 0, "settings": 1, "browser": 2, "ui": 3, "app": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def floor_of(path):
    return FLOORS.get(pathlib.PurePosixPath(path).parts[0])


def violations(root):
    for folder in FLOORS:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".cpp", ".h") or not source.is_file():
                continue
            own = floor_of(source.relative_to(root).as_posix())
            text = source.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                included = floor_of(match.group(1))
                if included is not None and included > own:
                    line = text.count("\n", 0, match.start()) + 1
                    yield f"{source.relative_to(root)}:{line}: includes {match.group(1)}, a floor above its own"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    found = list(violations(root))
    for message in found:
        print(message, file=sys.stderr)
    if found:
        print(f"{len(found)} include(s) point up; see docs/architecture.md for the floors", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
