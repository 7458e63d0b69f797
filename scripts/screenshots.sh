#!/usr/bin/env bash
# Retakes docs/screenshots/login.png and game.png under Xvfb, from a fresh build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
bash scripts/headless.sh python3 scripts/screenshots.py
