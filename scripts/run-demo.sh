#!/usr/bin/env bash
# Installs what is missing, builds, and runs the client against the local demo platform.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
# The port asked for, or any free one when something else holds it.
port_or_free() {
  if python3 -c "import socket,sys; s=socket.socket(); s.bind(('127.0.0.1', int(sys.argv[1])))" "$1" 2>/dev/null; then
    echo "$1"
  else
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
  fi
}
port=$(port_or_free "${VANTOR_DEMO_PORT:-8512}")
game_port=$(port_or_free $((port + 1)))
python3 demo/server.py --port "$port" --game-port "$game_port" &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
base="http://127.0.0.1:$port"
cat >build/Vantor.ini <<INI
; Written by scripts/run-demo.sh: the client against the local demo platform.
[Common]
official=$base/
recharge=$base/recharge/
forum=$base/forum/
service=$base/service/
gameLoginUrl=$base/client/?gid=512
gotoLoginPage=1
gameparam=sid=

[Flash]
; The demo game's own server, which its movie reaches through the client's socket bridge.
Sockets=127.0.0.1:$game_port
INI
build/vantor
