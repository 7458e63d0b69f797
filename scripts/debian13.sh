#!/usr/bin/env bash
# The Debian 13 leg (Qt 6.8): in a Debian 13 root of its own, made with debootstrap from the
# package registry this machine already uses, it installs the same dependencies, builds with
# warnings as errors into build-debian13/, runs the unit, window and end-to-end tests under its own
# Xvfb, and builds and tests the Debian package. Extra arguments go to CTest; with them the package
# test is skipped.
#   sudo bash scripts/debian13.sh [CTEST ARGS...]
# The root is kept in $VANTOR_DEBIAN13_ROOT (default /var/tmp/vantor-debian13) and used again while
# it is younger than a week; its packages are brought up to date at every run.
#   scripts/debian13.sh --prepare   only makes the root and installs the dependencies
#   scripts/debian13.sh --bench     builds there and prints the benchmark table (scripts/bench.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="${VANTOR_DEBIAN13_ROOT:-/var/tmp/vantor-debian13}"
[ "$(id -u)" -eq 0 ] || { echo "scripts/debian13.sh needs root (debootstrap, chroot, mounts)" >&2; exit 1; }

# The registry this machine's own packages come from.
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && $3 !~ /security/ {print $2; exit}' /etc/apt/sources.list 2>/dev/null)
mirror="${mirror:-http://deb.debian.org/debian}"
security="${mirror%/debian}/debian-security"

command -v debootstrap >/dev/null || { apt-get update -qq && apt-get install -y -qq debootstrap; }

# A root that is missing, half made or older than a week is made anew.
if [ ! -e "$target/.vantor-root" ] || [ -n "$(find "$target/.vantor-root" -mtime +7)" ]; then
  rm -rf --one-file-system "$target"
  debootstrap --variant=minbase trixie "$target" "$mirror"
  printf 'deb %s trixie main\ndeb %s trixie-updates main\ndeb %s trixie-security main\n' \
    "$mirror" "$mirror" "$security" >"$target/etc/apt/sources.list"
  touch "$target/.vantor-root"
fi

# What any chroot build needs of its host: the resolver and the certificate authorities (the
# registries are reached through this machine's own).
cp /etc/resolv.conf "$target/etc/resolv.conf"
mkdir -p "$target/etc/ssl/certs" "$target/usr/local/share/ca-certificates"
cp /etc/ssl/certs/ca-certificates.crt "$target/etc/ssl/certs/ca-certificates.crt"
cp -r /usr/local/share/ca-certificates/. "$target/usr/local/share/ca-certificates/" 2>/dev/null || true

mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
}
trap cleanup EXIT INT TERM
bind() { # what where [options]
  mkdir -p "$2"
  mountpoint -q "$2" || { mount "${@:3}" "$1" "$2"; }
  mounted+=("$2")
}
bind proc "$target/proc" -t proc
bind sys "$target/sys" -t sysfs
bind /dev "$target/dev" --rbind
bind "$root" "$target/src" --bind

in_root() {
  chroot "$target" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
    NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt SSL_CERT_FILE=/etc/ssl/certs/ca-certificates.crt \
    bash -c "$1"
}

in_root "apt-get update -qq && apt-get upgrade -y -qq >/dev/null && bash /src/scripts/install-deps.sh"
[ "${1:-}" = "--prepare" ] && exit 0

build=build-debian13
in_root "cd /src && cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_WERROR=ON \
  && cmake --build $build"
if [ "${1:-}" = "--bench" ]; then
  in_root "cd /src && VANTOR_BUILD=/src/$build bash scripts/bench.sh"
  exit 0
fi
quoted=$(printf ' %q' "$@")
in_root "cd /src && VANTOR_BUILD=/src/$build bash scripts/headless.sh ctest --test-dir $build --output-on-failure \
  --timeout 600 --repeat until-pass:2 -L 'unit|window|e2e'$quoted"
[ $# -eq 0 ] || exit 0
in_root "cd /src && VANTOR_BUILD=$build bash scripts/package.sh && VANTOR_BUILD=/src/$build bash scripts/headless.sh \
  python3 tests/package/test_package.py $build/vantor_*_amd64.deb"
