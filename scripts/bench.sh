#!/usr/bin/env bash
# Installs what is missing, builds, and prints the benchmark table (client against a bare engine
# page, with the machine it ran on), headless. Takes about half an hour.
#   VANTOR_BUILD=<folder> measures a build made already (the Debian 13 leg's: scripts/debian13.sh
#   --bench); VANTOR_BENCH_RUNS and VANTOR_BENCH_ROUNDS shorten the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
if [ -z "${VANTOR_BUILD:-}" ]; then
  bash scripts/build.sh
fi
build="${VANTOR_BUILD:-$root/build}"
VANTOR_BUILD="$build" VANTOR_BUILD_DIR="$build" bash scripts/headless.sh python3 bench/table.py
echo
echo "One read of a settings file at the size bound (median of 21, peak memory added):"
for shape in newlines ff utf16; do "$build/bench/vantor-ini-read" "$shape"; done
echo "The Flash socket bridge against plain TCP (figure, bridge, plain TCP):"
"$build/bench/vantor-bridge-bench"
