#!/usr/bin/env bash
# Installs what is missing, builds Quorvane (Release) and opens its window.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_packages[@]}"
cmake --preset default
cmake --build --preset default

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Built build/default/app/quorvane, but there is no display to open it on." >&2
  echo "Run it from a desktop session (or under xvfb-run)." >&2
  exit 1
fi
exec build/default/app/quorvane
