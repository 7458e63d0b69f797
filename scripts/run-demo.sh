#!/usr/bin/env bash
# Installs what is missing, builds, and runs the client against the local demo platform.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
port=${VANTOR_DEMO_PORT:-8512}
python3 demo/server.py --port "$port" &
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
INI
build/vantor
