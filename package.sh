#!/usr/bin/env bash
# Installs what packaging needs and makes Quorvane's two downloads: the
# Debian package (checked with lintian) and the Windows zip (its program
# tested under Wine first).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_package_packages[@]}"
rm -f build/program/quorvane_*.deb build/windows/quorvane-*-win64.zip

cmake --workflow --preset package
deb=$(echo build/program/quorvane_*.deb)
[ -f "$deb" ] || { echo "package.sh: CPack made no Debian package" >&2; exit 1; }
lintian --fail-on error "$deb"

xvfb-run -a -s "-screen 0 1280x1024x24" cmake --workflow --preset windows
zip=$(echo build/windows/quorvane-*-win64.zip)
[ -f "$zip" ] || { echo "package.sh: CPack made no Windows zip" >&2; exit 1; }

echo
echo "Made $deb. Install it with: sudo apt install ./$deb"
echo "Made $zip: quorvane.exe and its licence, for Windows 10 or later."
