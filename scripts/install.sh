#!/usr/bin/env bash
# The installer: copies the built program, its window layouts, images and
# help pages into the install folder and writes the folder (InstallDir) and
# the maker's web address into the settings store.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${CANTORVALE_HOME:-$HOME/.local/share/cantorvale}"
mkdir -p "$prefix"
cmake --install build --prefix "$prefix" >/dev/null
build/tools/install_settings/install_settings "$prefix"
echo "Installed into $prefix"
