#!/usr/bin/env bash
# Installs what is missing, builds Quorvane (Release) and opens its window.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_packages[@]}"
cmake --preset default
cmake --build --preset default

if [ -x build/default/app/quorvane ]; then
  exec build/default/app/quorvane
fi
echo "The conversions library is built; the window is not there yet."
