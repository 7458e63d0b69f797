#!/usr/bin/env bash
# Runs a command inside a headless desktop of its own: two Xvfb displays (the main one and a small
# one for placement tests), a tray host on the main one, and the demo platform on a free port.
# Everything it starts is stopped again when the command ends.
#   scripts/headless.sh COMMAND [ARGS...]
# The demo platform serves the movies of the build folder $VANTOR_BUILD (default build/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VANTOR_BUILD:-$root/build}"
work="$(mktemp -d /tmp/vantor-headless.XXXXXX)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A display is free when neither its socket file nor its abstract socket is taken: a chroot (the
# Debian 13 leg) has a /tmp of its own but shares the abstract sockets with the host.
free_display() {
  local n=$1
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; do
    n=$((n + 1))
  done
  echo "$n"
}
start_xvfb() { # display size
  Xvfb ":$1" -screen 0 "$2" -nolisten tcp -noreset >"$work/xvfb-$1.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$1" ] && return 0; sleep 0.1; done
  echo "Xvfb :$1 did not start" >&2; cat "$work/xvfb-$1.log" >&2; return 1
}

main_display=$(free_display 90)
start_xvfb "$main_display" 1600x1000x24
small_display=$(free_display $((main_display + 1)))
start_xvfb "$small_display" 1024x600x24
export DISPLAY=":$main_display"
export VANTOR_SMALL_DISPLAY=":$small_display"

trayer --edge bottom --align right --widthtype pixel --width 120 --height 28 --transparent false \
  --tint 0x203040 --SetDockType true --expand false >"$work/trayer.log" 2>&1 &
pids+=($!)

# A public-looking host name for the pages of the page-policy test; the engine can't be given
# resolver rules with spaces, so the name goes into the hosts file (needs root, as in CI).
if ! grep -qw 'game\.test' /etc/hosts 2>/dev/null && [ -w /etc/hosts ]; then
  echo "127.0.0.1 game.test" >>/etc/hosts
fi

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
port=$(free_port)
game_port=$(free_port)
python3 "$root/demo/server.py" --port "$port" --game-port "$game_port" --extra-root "$root/tests/pages" \
  --swf "$build/demo/game.swf" --movies "$build/tests/movies" \
  >"$work/demo.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/', timeout=1)" 2>/dev/null && break
  sleep 0.1
done
export VANTOR_DEMO_URL="http://127.0.0.1:$port"
export VANTOR_GAME_SERVER="127.0.0.1:$game_port"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

"$@"
