#!/usr/bin/env bash
# How fast quorvane-cli is beside the plainest C++ program doing its
# commonest job (plain_pointers.cpp), in one run, the best of several
# (hyperfine): a million offsets through standard input, and one offset as
# an operand, which is its start-up. Run it by hand, never as a test:
#   cli/bench/cli_bench.sh build/default
set -euo pipefail
build=${1:-build/default}
cli=$build/cli/quorvane-cli
plain=$build/cli/bench/plain_pointers
offsets=$(mktemp)
trap 'rm -f "$offsets" "$offsets.one"' EXIT
awk 'BEGIN { for (i = 0; i < 1000000; ++i) printf "%X\n", 16 + i * 4 }' >"$offsets"

echo 8123 >"$offsets.one"
hyperfine --warmup 2 --runs 15 --style none --export-json "$offsets.json" \
  -n "quorvane-cli, a million offsets" "$cli pointer <$offsets" \
  -n "plain program, a million offsets" "$plain <$offsets" >/dev/null 2>&1
hyperfine --warmup 5 --runs 200 --style none --export-json "$offsets.start.json" \
  -n "quorvane-cli, one offset as an operand" "$cli pointer 8123" \
  -n "plain program, one offset" "$plain <$offsets.one" >/dev/null 2>&1
for json in "$offsets.json" "$offsets.start.json"; do
  node -e '
    const { results } = JSON.parse(require("fs").readFileSync(process.argv[1]));
    const [cli, plain] = results.map((r) => Math.min(...r.times) * 1000);
    results.forEach((r, i) => console.log(`${r.command}: ${(Math.min(...r.times) * 1000).toFixed(2)} ms`));
    console.log(`  ratio ${(cli / plain).toFixed(2)} (best of ${results[0].times.length})`);' "$json"
  rm -f "$json"
done
