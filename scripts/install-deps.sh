#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running QuombleView need.
# Only asks apt-get when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libbenchmark-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqcustomplot-dev libgl-dev
  fonts-dejavu-core
  clang libclang-rt-14-dev clang-format clang-tidy
  lintian desktop-file-utils appstream xvfb xdotool file
  qt6ct
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
