#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Twinscan needs.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    qt6-tools-dev qt6-l10n-tools
    libxcb1-dev
    libgtest-dev libgmock-dev libxxhash-dev
    clang-format clang libclang-rt-14-dev
    xvfb xauth imagemagick fonts-dejavu-core
    perl coreutils time
    librsvg2-bin desktop-file-utils appstream dpkg-dev file man-db lintian devscripts mandoc
    qt6-wayland weston xdotool x11-utils
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
