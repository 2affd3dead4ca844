#!/usr/bin/env bash
# Installs what packaging needs and makes Quorvane's three downloads: the
# Debian package (checked with lintian), the Windows zip (its program tested
# under Wine first) and the page (tested in Chromium and Firefox first).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_package_packages[@]}"
rm -f build/program/quorvane_*.deb build/windows/quorvane-*-win64.zip build/web/quorvane.html

cmake --workflow --preset package
deb=$(echo build/program/quorvane_*.deb)
[ -f "$deb" ] || { echo "package.sh: CPack made no Debian package" >&2; exit 1; }
lintian --fail-on error "$deb"

xvfb-run -a -s "-screen 0 1280x1024x24" cmake --workflow --preset windows
zip=$(echo build/windows/quorvane-*-win64.zip)
[ -f "$zip" ] || { echo "package.sh: CPack made no Windows zip" >&2; exit 1; }

quorvane_page_test_modules
cmake --workflow --preset web
page=build/web/quorvane.html
[ -f "$page" ] || { echo "package.sh: the build made no page" >&2; exit 1; }

echo
echo "Made $deb. Install it with: sudo apt install ./$deb"
echo "Made $zip: quorvane.exe and its licence, for Windows 10 or later."
echo "Made $page: the page, to open from disk or to put on any web host."
