#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
bash scripts/headless.sh ctest --test-dir build --output-on-failure --timeout 600 "$@"
