#!/usr/bin/env bash
# Installs what is missing, builds, and prints the benchmark table (client against a bare engine
# page), headless. Takes a few minutes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
bash scripts/headless.sh python3 bench/run.py
