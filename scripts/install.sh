#!/usr/bin/env bash
# The installer: copies the built program, its window layouts, images and
# help pages into the install folder, writes the folder (InstallDir) and the
# maker's web address into the settings store, and creates the demo Main
# SongBase there unless the folder already has one.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${CANTORVALE_HOME:-$HOME/.local/share/cantorvale}"
build="${CV_BUILD_DIR:-build}"  # the build folder to install from
mkdir -p "$prefix"
prefix="$(cd "$prefix" && pwd)"
cmake --install "$build" --prefix "$prefix" >/dev/null
"$build"/tools/install_settings/install_settings "$prefix"

if [ ! -e "$prefix/MAIN.TPS" ]; then
  # Made aside and moved in whole, so a failed run leaves no half song base.
  staging="$prefix/.songbase-new"
  rm -rf "$staging"
  mkdir "$staging"
  "$build"/tools/songbase_gen/songbase_gen --folder "$staging" >/dev/null
  # MAIN.TPS last: its presence marks a complete song base.
  for f in "$staging"/*.TPS; do
    [ "$(basename "$f")" = MAIN.TPS ] || mv "$f" "$prefix/"
  done
  mv "$staging/MAIN.TPS" "$prefix/"
  rmdir "$staging"
  echo "Created the demo Main SongBase in $prefix"
fi
echo "Installed into $prefix"
