#!/usr/bin/env bash
# The Debian 12 packages each command needs, and their installation (only
# those missing). Sourced by run.sh, test.sh and package.sh.

# Building the program.
# The ROM commands hash with zlib (CRC32) and libgcrypt (SHA-1; on Windows,
# Windows' own).
quorvane_build_packages=(
  cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev zlib1g-dev libgcrypt20-dev
)
# Running it: a font besides, for a machine that has none yet, and Qt's
# Wayland platform, for the Wayland sessions GNOME and KDE start by default.
quorvane_run_packages=("${quorvane_build_packages[@]}" fonts-dejavu-core qt6-wayland)
# Building the Windows program and testing it under Wine on a private X
# server: the cross compiler, zlib for it, GoogleTest's sources, cc65 for
# the test ROMs, Wine and its fonts.
quorvane_windows_packages=(
  cmake ninja-build g++-mingw-w64-x86-64 libz-mingw-w64-dev libgtest-dev cc65 wine wine64 groff-base
  fonts-wine xvfb xauth
)
# Building the page (the core compiled to WebAssembly, the app's icons
# rendered from the drawing by librsvg) and testing it in
# Debian's Chromium and Firefox, driven from Node; npm comes with some
# builds of Node, and from Debian's package only where it does not.
quorvane_web_packages=(cmake ninja-build emscripten nodejs librsvg2-bin chromium firefox-esr)
command -v npm >/dev/null 2>&1 || quorvane_web_packages+=(npm)
# Every check of test.sh.
quorvane_test_packages=(
  "${quorvane_run_packages[@]}"
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-tidy clang-format desktop-file-utils appstream
  "${quorvane_windows_packages[@]}" "${quorvane_web_packages[@]}"
)
# Making and checking the downloads: the Debian package, the Windows zip, the
# page and the app's zip; in a clone, git, which gives the release its time.
quorvane_package_packages=(
  "${quorvane_build_packages[@]}" dpkg-dev file lintian zip "${quorvane_windows_packages[@]}"
  "${quorvane_web_packages[@]}"
)
if [ -e .git ]; then
  quorvane_package_packages+=(git)
fi

quorvane_missing_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
      printf '%s\n' "$package"
  done
}

# Installs the missing ones from the list given; returns non-zero, after
# printing the command to run, when it has no right to install them.
quorvane_install() {
  local missing
  mapfile -t missing < <(quorvane_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0

  local apt=(apt-get install -y --no-install-recommends "${missing[@]}")
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo=(sudo)
    else
      echo "Quorvane needs these Debian packages. Install them with:" >&2
      echo "  sudo apt-get update && sudo ${apt[*]}" >&2
      return 1
    fi
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq && "${sudo[@]}" "${apt[@]}" -qq
}

# The page's test-only JavaScript packages, as package-lock.json pins them,
# from the npm registry (none of them a browser); again only when the lock
# has changed since.
quorvane_page_test_modules() {
  [ window/web/node_modules/.package-lock.json -nt window/web/package-lock.json ] && return 0
  (cd window/web && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
}
