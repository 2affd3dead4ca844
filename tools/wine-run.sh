#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine: the emulator that
# CTest puts before each of that build's tests. The Wine prefix is the
# project's own, inside build/, made on first use; without a display the
# program gets an Xvfb of its own.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUORVANE_WINEPREFIX:-$root/build/wine}
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
export WINEDEBUG=${WINEDEBUG:--all}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env QUORVANE_OWN_DISPLAY=1 "$0" "$@"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wine wineboot --init >/dev/null 2>&1
  wineserver -w
  # Wine 8 does not look for the fonts of fonts-wine where Debian puts them.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi

# Wine takes the system's code page from the locale, once, when its server
# starts: a program run under another locale than the last one gets a new one.
locale="${LC_ALL:-}/${LANG:-}"
if [ "$(cat "$WINEPREFIX/locale" 2>/dev/null)" != "$locale" ]; then
  wineserver -k 2>/dev/null
  wineserver -w
  printf '%s' "$locale" >"$WINEPREFIX/locale"
fi

# A server that outlives this run, with Wine's own services started from it
# holding none of this run's output: a test runner that waits for a test's
# output to close, and ends what the test left, leaves both to the next
# program. Wine started cold takes seconds, warm a few milliseconds. The
# server ends itself half a minute after its last program.
setsid -w sh -c 'wineserver -p30 && wine wineboot' </dev/null >/dev/null 2>&1

wine "$@"
status=$?
# A display of our own goes with us: let Wine end before it does.
if [ -n "${QUORVANE_OWN_DISPLAY:-}" ]; then
  wineserver -k 2>/dev/null
  wineserver -w
fi
exit "$status"
