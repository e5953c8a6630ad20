#!/usr/bin/env bash
# Builds the program as a Debian package build does: CMake's default generator, no tests, and
# Debian's hardening flags from dpkg-buildflags (stack protector, _FORTIFY_SOURCE, read-only
# relocations bound at start) added to the release build's own optimisation.
#
#   scripts/build-package.sh [BUILD_DIR] [CMAKE_OPTION]...      BUILD_DIR defaults to build-package
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-package}"
shift || true
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# Stack clash protection and control flow protection are what later dpkg releases add to
# hardening=+all; Debian 12's dpkg-buildflags does not yet.
CXXFLAGS="$CXXFLAGS -fstack-clash-protection -fcf-protection"
# CMake takes CXXFLAGS and LDFLAGS from the environment, but not CPPFLAGS, which holds
# _FORTIFY_SOURCE. The flags are read when the folder is first configured only.
export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
cmake -S . -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DTWINSCAN_TESTS=OFF "$@"
cmake --build "$build" -j"$(nproc)"
