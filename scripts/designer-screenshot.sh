#!/usr/bin/env bash
# Takes docs/screenshots/designer.png: the login window's skin open in Qt Designer. Run under
# scripts/headless.sh (scripts/screenshots.sh does). Designer shows the controls and their names;
# the skin's images are found through the program's "skin:" search path, which Designer lacks.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/skin/FormLogin.xml" "$work/FormLogin.ui"
(cd "$work" && exec /usr/lib/qt6/bin/designer FormLogin.ui >/dev/null 2>&1) &
pid=$!
for _ in $(seq 50); do
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
xdotool windowmove "$window" 0 0 windowsize "$window" 1400 900
sleep 2
import -window root -crop 1400x900+0+0 "$root/docs/screenshots/designer.png"
kill "$pid"
