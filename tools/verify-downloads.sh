#!/usr/bin/env bash
# Checks that Quorvane's downloads rebuild to the same bytes: makes them
# twice with ./package.sh, in two fresh copies of the sources at different
# paths, under different time zones, umasks and locales, and compares the two
# SHA256SUMS. In a clone, one copy is a clone of the last commit and the other
# that commit as a release tarball (git archive); elsewhere both are copies of
# the tree. Run through ./package.sh --verify.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-verify.XXXXXX")
one=$work/one
two=$work/a/longer/path/two
mkdir -p "$one" "$two"

if git rev-parse --git-dir >/dev/null 2>&1; then
  git clone --quiet . "$one"
  git archive --format=tar HEAD | tar -x -C "$two"
  echo "Verifying commit $(git rev-parse --short HEAD): a clone, then a release tarball"
else
  for copy in "$one" "$two"; do
    tar -c --exclude=./build --exclude=node_modules . | tar -x -C "$copy"
  done
  echo "Verifying the tree in $(pwd)"
fi

make_downloads() {  # folder, time zone, umask, locale
  echo "  in $1 (TZ=$2, umask $3, LANG=$4)"
  (cd "$1" && umask "$3" && TZ=$2 LANG=$4 ./package.sh >"$1.log" 2>&1) || {
    echo "verify: ./package.sh failed in $1; its output: $1.log" >&2
    exit 1
  }
}
make_downloads "$one" UTC 022 C.UTF-8
make_downloads "$two" Pacific/Auckland 002 fr_FR.UTF-8

sums_one=$one/build/downloads/SHA256SUMS
sums_two=$two/build/downloads/SHA256SUMS
if [ -s "$sums_one" ] && cmp -s "$sums_one" "$sums_two"; then
  echo
  cat "$sums_one"
  echo "verify: both builds gave these same bytes"
  rm -rf "$work"
else
  echo
  echo "verify: the builds differ; first difference:" >&2
  diff "$sums_one" "$sums_two" | head -n 3 >&2
  echo "Both builds are kept in $work" >&2
  exit 1
fi
