#!/usr/bin/env bash
# Installs what is missing, builds Quorvane and runs every test headless.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_packages[@]}"
export QT_QPA_PLATFORM=offscreen

cmake --preset default
cmake --build --preset default
ctest --preset default
