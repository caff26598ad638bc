#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6
  libboost-context-dev
  libsqlite3-dev
  libzip-dev
  libcurl4-openssl-dev
  libsodium-dev
  zlib1g-dev
  libjpeg62-turbo-dev
  fonts-liberation2 fonts-dejavu-core
  cups printer-driver-cups-pdf poppler-utils
  libcpp-httplib-dev libssl-dev openssl
  xvfb xauth
  openbox xdotool imagemagick
  clang libclang-rt-dev
)
# xwd for screenshots by hand: only when asked for.
if [ "${CV_SCREENSHOT_TOOLS:-0}" = 1 ]; then
  PACKAGES+=(x11-apps)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
