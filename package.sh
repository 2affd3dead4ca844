#!/usr/bin/env bash
# Installs what packaging needs and makes Quorvane's downloads in
# build/downloads: the Debian package (checked with lintian), the Windows zip
# (its program tested under Wine first), the page and the app for web hosts
# (both tested in Chromium and Firefox first), with their SHA256SUMS beside
# them.
#
# Every build of one commit gives the same bytes, wherever, whenever and by
# whomever it is made, so that a published checksum proves a download:
#   ./package.sh            makes the downloads
#   ./package.sh --verify   makes them twice, in fresh folders, and compares
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

# First of all, as git among them gives a clone its release time.
quorvane_install "${quorvane_package_packages[@]}"
if [ "${1:-}" = --verify ]; then
  exec tools/verify-downloads.sh
fi

# The one time every file of the release is stamped with: the last commit's,
# from git in a clone, or from .source-date-epoch in a release tarball, where
# git archive writes it.
source_date_epoch() {
  local recorded
  recorded=$(cat .source-date-epoch 2>/dev/null || true)
  if [[ $recorded =~ ^[0-9]+$ ]]; then
    echo "$recorded"
  elif git rev-parse --git-dir >/dev/null 2>&1; then
    git log -1 --format=%ct
  else
    echo "package.sh: no release time: neither a git clone nor a tarball made with git archive;" \
      "set SOURCE_DATE_EPOCH" >&2
    return 1
  fi
}
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(source_date_epoch)}
# And one time zone, locale and umask, whatever the machine's.
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022

downloads=build/downloads
rm -rf "$downloads" build/program/quorvane_*.deb build/windows/quorvane-*-win64.zip \
  build/web/quorvane.html build/web/site build/web/quorvane-*-web.zip

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
[ -f "$page" ] && [ -f build/web/site/index.html ] ||
  { echo "package.sh: the build made no page or no app" >&2; exit 1; }

# The app's folder as a zip: its files in one order, each stamped with the
# release's time and nothing else (-X: no owner, no other times).
version=${deb#*_}
version=${version%%_*}
app=$PWD/build/web/quorvane-$version-web.zip
stamped=$(mktemp -d)
cp build/web/site/* "$stamped/"
touch -d "@$SOURCE_DATE_EPOCH" "$stamped"/*
(cd "$stamped" && find . -type f -printf '%P\n' | sort | zip -X -D -q "$app" -@)
rm -rf "$stamped"

mkdir -p "$downloads"
cp "$deb" "$zip" "$page" "$app" "$downloads/"
(cd "$downloads" && sha256sum -- "${deb##*/}" "${zip##*/}" "${page##*/}" "${app##*/}" >SHA256SUMS)

echo
echo "Made in $downloads, each listed with its checksum in SHA256SUMS:"
echo "  ${deb##*/}: install it with: sudo apt install ./$downloads/${deb##*/}"
echo "  ${zip##*/}: quorvane.exe and its licence, for Windows 10 or later"
echo "  ${page##*/}: the page, to open from disk"
echo "  ${app##*/}: the page as an app that works offline, for any web host (see the README)"
