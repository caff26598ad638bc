#!/usr/bin/env bash
# Sets up, builds and installs the program with its demo song base, then
# starts it. Without a display it starts under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
# Only the program and the tools its installer runs; the test command
# builds the tests and benchmarks.
cmake --build --preset default --target program
bash scripts/install.sh
prefix="${CANTORVALE_HOME:-$HOME/.local/share/cantorvale}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$prefix/cantorvale" "$@"
fi
exec "$prefix/cantorvale" "$@"
