#!/usr/bin/env bash
# Installs what packaging needs, builds Quorvane (Release) and makes its
# Debian package, then checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_package_packages[@]}"
rm -f build/program/quorvane_*.deb
cmake --workflow --preset package
deb=$(echo build/program/quorvane_*.deb)
[ -f "$deb" ] || { echo "package.sh: CPack made no package" >&2; exit 1; }
lintian --fail-on error "$deb"
echo
echo "Made $deb. Install it with: sudo apt install ./$deb"
