#!/usr/bin/env bash
# Retakes docs/screenshots/login.png, game.png and designer.png under Xvfb, from a fresh build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
bash scripts/headless.sh python3 scripts/screenshots.py
bash scripts/headless.sh bash scripts/designer-screenshot.sh
