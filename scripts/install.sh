#!/usr/bin/env bash
# The installer: copies the built program and its resources into the install
# folder. Later steps write the install folder into the settings store and
# create the demo song base there.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${CANTORVALE_HOME:-$HOME/.local/share/cantorvale}"
cmake --install build --prefix "$prefix" >/dev/null
echo "Installed into $prefix"
