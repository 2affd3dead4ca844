#!/usr/bin/env bash
# Installs what is missing, builds Quorvane and runs every check headless:
#   1. the tests of the Release build;
#   2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the Windows build, cross-compiled, its tests run under Wine on a
#      private X server, then its zip made;
#   4. the page, built with Emscripten, its tests run in Chromium and Firefox;
#   5. each fuzz target for a bounded time (QUORVANE_FUZZ_SECONDS, default 10;
#      set it higher for a long run);
#   6. clang-format and clang-tidy over the project's own C++, Prettier and
#      ESLint over its JavaScript, and the desktop entry and AppStream
#      metainfo validated.
# Every stage runs; the script exits non-zero when any of them fails, and a
# stage that finds nothing to check fails too. Nothing here needs git, so a
# release tarball is checked as a clone is.
set -uo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quorvane_install "${quorvane_test_packages[@]}" || exit 1
export QT_QPA_PLATFORM=offscreen

passed=0
failed=0
stage() {
  local name=$1 started=$SECONDS
  shift
  echo
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
    echo "=== $name: $((SECONDS - started)) s"
  else
    failed=$((failed + 1))
    echo "=== FAILED: $name ($((SECONDS - started)) s)"
  fi
}

build_and_test() {
  cmake --preset "$1" && cmake --build --preset "$1" && ctest --preset "$1"
}

# Wine's server outlives each test for the next one; it goes with the stage's
# display.
windows_build() {
  local status=0
  xvfb-run -a -s "-screen 0 1280x1024x24" cmake --workflow --preset windows || status=1
  WINEPREFIX=$PWD/build/wine wineserver -k 2>/dev/null
  return "$status"
}

# On a private X server, where a test opens a headed browser as a user's.
web_page() {
  quorvane_page_test_modules && xvfb-run -a -s "-screen 0 1280x1024x24" cmake --workflow --preset web
}

# Each libFuzzer target for a bounded time, from its seeds.
fuzz_one() {
  local target=$1 seeds=$2 corpus status=0
  corpus=$(mktemp -d)
  mkdir -p build/fuzz/findings
  echo "$(basename "$target"):"
  "$target" -max_total_time="${QUORVANE_FUZZ_SECONDS:-10}" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/findings/ "$corpus" "$seeds" 2>"$corpus.log" || status=1
  grep -E '^(Done|stat::average_exec_per_sec)' "$corpus.log"
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$corpus.log"
    echo "$(basename "$target"): the input that broke it is in build/fuzz/findings/"
  fi
  rm -rf "$corpus" "$corpus.log"
  return "$status"
}

fuzz() {
  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || return 1
  local status=0
  fuzz_one build/fuzz/conversions/fuzz/conversions_fuzz conversions/fuzz/seeds || status=1
  fuzz_one build/fuzz/rom/fuzz/header_fuzz rom/fuzz/seeds/header || status=1
  fuzz_one build/fuzz/rom/fuzz/table_fuzz rom/fuzz/seeds/table || status=1
  fuzz_one build/fuzz/rom/fuzz/script_fuzz rom/fuzz/seeds/script || status=1
  fuzz_one build/fuzz/rom/fuzz/patch_fuzz rom/fuzz/seeds/patch || status=1
  fuzz_one build/fuzz/rom/fuzz/bps_fuzz rom/fuzz/seeds/bps || status=1
  fuzz_one build/fuzz/rom/fuzz/roundtrip_fuzz rom/fuzz/seeds/roundtrip || status=1
  fuzz_one build/fuzz/rom/fuzz/zip_fuzz rom/fuzz/seeds/zip || status=1
  return "$status"
}

# The project's own C++ sources under the folders given, found without git.
sources_in() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -not -path '*/build/*' \
    -not -path '*/node_modules/*' | sort
}

# Prettier and ESLint, as the page's package.json pins them, over every
# JavaScript file of the project; ESLint from the page's folder, where its
# configuration is, so that a file it does not cover is a finding too.
javascript_checks() {
  local scripts relative
  mapfile -t scripts < <(find . -type f \( -name '*.js' -o -name '*.mjs' \) -not -path './build/*' \
    -not -path '*/node_modules/*' | sort)
  if [ "${#scripts[@]}" -eq 0 ]; then
    echo "no JavaScript found to check"
    return 1
  fi
  quorvane_page_test_modules || return 1
  echo "Prettier and ESLint: ${#scripts[@]} files"
  mapfile -t relative < <(realpath --relative-to=window/web "${scripts[@]}")
  window/web/node_modules/.bin/prettier --check --log-level warn "${scripts[@]}" &&
    (cd window/web && node_modules/.bin/eslint --max-warnings 0 "${relative[@]}")
}

# Runs clang-tidy over the sources given, with the compile commands of the
# build given (and, for the Windows build and the page's, the C++ headers of
# their compilers);
# prints what it finds and fails when it finds anything, or when it is given
# nothing to check.
tidy_with() {
  local build=$1 report extra=()
  shift
  if [ "$#" -eq 0 ]; then
    echo "clang-tidy: no sources to check against $build"
    return 1
  fi
  if [ "$build" = build/windows ]; then
    mapfile -t extra < <(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
      sed -n 's|^ *\(/.*/include/c++.*\)$|--extra-arg=-isystem\1|p')
  elif [ "$build" = build/web ]; then
    local sysroot=/usr/share/emscripten/cache/sysroot
    extra=(--extra-arg=--target=wasm32-unknown-emscripten --extra-arg=--sysroot=$sysroot
      --extra-arg=-isystem$sysroot/include/c++/v1)
  fi
  report=$(printf '%s\n' "$@" | xargs -P 2 -n 4 clang-tidy --quiet -p "$build" "${extra[@]}" 2>&1 |
    grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated')
  [ -n "$report" ] && printf '%s\n' "$report"
  ! grep -q -E '(warning|error):' <<<"$report"
}

# Every manual page as man reads it, with every warning it has a fault.
manual_pages() {
  local page warnings count=0
  for page in packaging/*.[15]; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || return 1
    if [ -n "$warnings" ]; then
      echo "$page: $warnings"
      return 1
    fi
    count=$((count + 1))
  done
  [ "$count" -gt 0 ] || { echo "no manual pages found to check"; return 1; }
  echo "man --warnings: $count pages, nothing to report"
}

static_checks() {
  local status=0 sources fuzz_sources bench_sources windows_sources web_sources other_sources
  mapfile -t sources < <(sources_in conversions rom cli window app)
  if [ "${#sources[@]}" -eq 0 ]; then
    echo "no C++ sources found to check"
    return 1
  fi
  echo "clang-format: ${#sources[@]} files"
  clang-format --dry-run --Werror "${sources[@]}" || status=1

  # Each source against a build that compiles it with clang-compatible flags.
  mapfile -t fuzz_sources < <(sources_in conversions/fuzz rom/fuzz | grep '\.cpp$')
  mapfile -t bench_sources < <(sources_in conversions/bench rom/bench cli/bench window/qt/bench | grep '\.cpp$')
  mapfile -t windows_sources < <(printf '%s\n' "${sources[@]}" | grep '\.cpp$' |
    grep -E '^(window/win32/|conversions/src/code_page/win32\.cpp$)|_win32\.cpp$')
  mapfile -t web_sources < <(sources_in window/web conversions/src/code_page/web.cpp | grep '\.cpp$')
  mapfile -t other_sources < <(printf '%s\n' "${sources[@]}" | grep '\.cpp$' |
    grep -v -E '^(conversions/fuzz|rom/fuzz|[^/]+/bench|window/[^/]+/bench|window/win32|window/web)/|code_page/(win32|web)\.cpp$|_win32\.cpp$')
  echo "clang-tidy: ${#other_sources[@]} + ${#fuzz_sources[@]} + ${#bench_sources[@]}" \
    "+ ${#windows_sources[@]} (Windows) + ${#web_sources[@]} (page) files"
  tidy_with build/asan "${other_sources[@]}" || status=1
  tidy_with build/fuzz "${fuzz_sources[@]}" || status=1
  tidy_with build/default "${bench_sources[@]}" || status=1
  tidy_with build/windows "${windows_sources[@]}" || status=1
  tidy_with build/web "${web_sources[@]}" || status=1

  javascript_checks || status=1
  manual_pages || status=1
  desktop-file-validate app/org.quorvane.Quorvane.desktop || status=1
  appstreamcli validate --no-net app/org.quorvane.Quorvane.metainfo.xml || status=1
  [ "$status" -eq 0 ] &&
    echo "clang-format, clang-tidy, Prettier, ESLint, desktop-file-validate and appstreamcli: nothing to report"
  return "$status"
}

stage "Release build and tests" build_and_test default
stage "Sanitizer build and tests" build_and_test asan
stage "Windows build under Wine" windows_build
stage "Web page in Chromium and Firefox" web_page
stage "Fuzzing" fuzz
stage "Static checks" static_checks

echo
echo "test.sh: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
