#!/usr/bin/env bash
# Builds the Debian package: the game target alone in a build folder
# (default ./build), then cpack's DEB generator, which installs into a
# staging tree and packs it. A folder not yet configured is configured with
# Debian's build flags and without tests and benchmarks, so the packages of
# "scripts/install-deps.sh play" suffice. The package lands in the build
# folder as quorland_<version>_<arch>.deb; its path is the last line printed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"
if [ ! -f "$build/CMakeCache.txt" ]; then
  # A new folder gets Debian's own build flags, hardening included, the way
  # a Debian package build sets them; an existing one keeps its flags.
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S "$root" -B "$build" -DQUORLAND_BUILD_TESTS=OFF -DQUORLAND_BUILD_BENCHMARKS=OFF
fi
cmake --build "$build" -j "$(nproc)" --target quorland
(cd "$build" && cpack -G DEB -B "$build" > "$build/cpack.log" 2>&1) || {
  cat "$build/cpack.log" >&2
  exit 1
}
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
echo "$build/quorland_${version}_$(dpkg --print-architecture).deb"
