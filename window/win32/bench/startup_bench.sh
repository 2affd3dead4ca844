#!/usr/bin/env bash
# How fast the Windows window opens under Wine beside a bare Win32 window
# (bare_window.cpp), on a private X server: from the start of the program to
# its window mapped, polled with xwininfo, 7 runs each (RUNS), taken in turns.
# Run it by hand, never as a test:
#   window/win32/bench/startup_bench.sh build/windows
set -euo pipefail
build=$(realpath "${1:-build/windows}")
root=$(cd "$(dirname "$0")/../../.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export WINEPREFIX=${QUORVANE_WINEPREFIX:-$root/build/wine} WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/tools/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -f -p &  # one server throughout, as a desktop session has
server=$!
trap 'wineserver -k 2>/dev/null; wait' EXIT
# Milliseconds from the start of the program to its window mapped.
opening() {
  local program=$1 title=$2 start end
  start=$(date +%s%N)
  wine "$program" >/dev/null 2>&1 &
  local pid=$!
  until xwininfo -root -tree 2>/dev/null | grep -q "\"$title\""; do sleep 0.005; done
  end=$(date +%s%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  while xwininfo -root -tree 2>/dev/null | grep -q "\"$title\""; do sleep 0.05; done
  echo $(((end - start) / 1000000))
}
windows=() bares=()
for _ in $(seq "${RUNS:-7}"); do
  windows+=("$(opening "$build/app/quorvane.exe" "Quorvane Version 1.2 By Tamsel")")
  bares+=("$(opening "$build/window/win32/bench/bare_window.exe" "Bare window")")
done
# The best and the median of each, in milliseconds, and their ratios.
summary() { tr ' ' '\n' <<<"$1" | sort -n | awk '{ v[NR] = $1 } END { print v[1], v[int((NR + 1) / 2)] }'; }
read -r window_best window_median <<<"$(summary "${windows[*]}")"
read -r bare_best bare_median <<<"$(summary "${bares[*]}")"
echo "quorvane.exe: best $window_best ms, median $window_median ms"
echo "bare window:  best $bare_best ms, median $bare_median ms"
awk -v a="$window_best" -v b="$bare_best" -v c="$window_median" -v d="$bare_median" \
  'BEGIN { printf "ratio: best %.2f, median %.2f\n", a / b, c / d }'
