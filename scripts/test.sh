#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/build.sh
# A test that fails is run once more before it counts as failed: under Xvfb the engine's in-process
# GPU thread very rarely crashes while it starts (seen once in about ten full runs here, a
# segfault in libc on "Chrome_InProcGpuThread"), whatever the test. A test that fails twice fails.
bash scripts/headless.sh ctest --test-dir build --output-on-failure --timeout 600 --repeat until-pass:2 "$@"
