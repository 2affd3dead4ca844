#!/usr/bin/env bash
# Installs what building and running Quorvane needs, builds the program
# alone (Release) and opens its window.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to open Quorvane's window on." >&2
  echo "Run ./run.sh from a desktop session (or under xvfb-run)." >&2
  exit 1
fi
quorvane_install "${quorvane_run_packages[@]}"
cmake --preset program
cmake --build --preset program
exec build/program/app/quorvane
