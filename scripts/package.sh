#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/vantor_<version>_amd64.deb for
# the release it runs on (Debian 12 or 13: the dependencies are that release's package names).
# Extra arguments go to CMake; a branded package is one command, for example
#   bash scripts/package.sh -DVANTOR_LOGIN_URL=https://… -DVANTOR_INI=/path/Vantor.ini \
#        -DVANTOR_SKIN_DIR=/path/skin
# VANTOR_BUILD names another build folder (the Debian 13 leg's build-debian13).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${VANTOR_BUILD:-build}"
bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build"
(cd "$build" && cpack -G DEB)
ls "$build"/vantor_*_amd64.deb
