#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/vantor_<version>_amd64.deb.
# Extra arguments go to CMake; a branded package is one command, for example
#   bash scripts/package.sh -DVANTOR_LOGIN_URL=https://… -DVANTOR_INI=/path/Vantor.ini \
#        -DVANTOR_SKIN_DIR=/path/skin
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
(cd build && cpack -G DEB)
ls build/vantor_*_amd64.deb
