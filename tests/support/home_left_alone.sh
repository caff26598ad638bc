#!/usr/bin/env bash
# Runs a test program (with its arguments) with a home and temporary folder
# that start empty, and fails when anything is left in either afterwards.
set -euo pipefail
base="$(mktemp -d)"
trap 'rm -rf "$base"' EXIT
mkdir "$base/home" "$base/tmp"
status=0
env -u CV_PRIVATE_FOLDERS -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME \
  HOME="$base/home" TMPDIR="$base/tmp" "$@" >"$base/output" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 40 "$base/output"
  echo "the test program failed ($status)"
  exit 1
fi
left="$(find "$base/home" "$base/tmp" -mindepth 1 -print)"
if [ -n "$left" ]; then
  echo "left behind:"
  echo "$left"
  exit 1
fi
echo "nothing left in the home or temporary folder"
