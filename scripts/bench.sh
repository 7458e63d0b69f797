#!/usr/bin/env bash
# Installs what is missing, builds, and prints the benchmark table (client against a bare engine
# page), headless. Takes a few minutes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
bash scripts/headless.sh python3 bench/run.py
