#!/usr/bin/env bash
# How fast the ROM commands are beside the plainest program doing the same
# work, each pair timed in one run, the best of several (hyperfine), on a
# 4 MiB fixture that make_fixture writes; and patch make's size and time
# beside xdelta3's. Run it by hand, never as a test (it needs hyperfine,
# xdelta3 and node: apt-get install hyperfine xdelta3 nodejs):
#   rom/bench/rom_bench.sh build/default
set -euo pipefail
build=$(realpath "${1:-build/default}")
cli=$build/cli/quorvane-cli
bench=$build/rom/bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$bench/make_fixture" .
translations=(translation-*.txt)
"$cli" insert fixture.nes "${translations[@]}" -o translated.nes 2>/dev/null

# Prints each command's best time and the first's ratio to the second's.
pair() {
  local name=$1 runs=$2
  shift 2
  hyperfine --warmup 2 --runs "$runs" --style none --export-json pair.json "$@" >/dev/null 2>&1
  node -e '
    const { results } = JSON.parse(require("fs").readFileSync("pair.json"));
    const best = results.map((r) => Math.min(...r.times) * 1000);
    results.forEach((r, i) => console.log(`  ${r.command}: ${best[i].toFixed(1)} ms`));
    console.log(`${process.argv[1]}: ${(best[0] / best[1]).toFixed(2)}x (best of ${results[0].times.length})`);' "$name"
}

pair "info beside sha1sum of the file twice" 20 \
  -n "quorvane-cli info" "$cli info fixture.nes" -n "sha1sum FILE FILE" "sha1sum fixture.nes fixture.nes"
pair "find --pointer-to beside memmem" 20 \
  -n "quorvane-cli find --pointer-to" "$cli find fixture.nes --pointer-to 0xC04F2 --type 1" \
  -n "plain_scan" "$bench/plain_scan fixture.nes"
pair "find --text beside memmem" 20 \
  -n "quorvane-cli find --text" "$cli find fixture.nes --text AB --table fixture.tbl" \
  -n "plain_scan" "$bench/plain_scan fixture.nes"
pair "find --relative with 8 letters beside memmem" 20 \
  -n "quorvane-cli find --relative" "$cli find fixture.nes --relative ABCDEFGH" \
  -n "plain_scan" "$bench/plain_scan fixture.nes"
pair "insert of 10,000 strings with a BPS beside the plain program" 10 \
  -n "quorvane-cli insert" "$cli insert fixture.nes ${translations[*]} -o out.nes --patch out.bps" \
  -n "plain_insert" "$bench/plain_insert fixture.nes plain.nes plain.bps ${translations[*]}"
cmp out.nes plain.nes >/dev/null && echo "  (both wrote the same ROM)" || echo "  (the ROMs differ: each lays strings out its own way)"
dumps="" plains=""
for b in $(seq 0 15); do  # a table a run, 16 runs
  dumps+="$cli dump fixture.nes --table fixture.tbl --pointers 0x$(printf '%X' $((16 + b * 16 * 16384))) --count 625 --type 1 --bank $((b * 16)) >/dev/null; "
  plains+="$bench/plain_dump fixture.nes $((b * 16)) >/dev/null; "
done
pair "dump of 10,000 strings beside the plain program" 10 \
  -n "quorvane-cli dump, 16 tables" "$dumps" -n "plain_dump, 16 tables" "$plains"
pair "patch make beside xdelta3 -e -9 -S none" 10 \
  -n "quorvane-cli patch make" "$cli patch make fixture.nes translated.nes -o made.bps" \
  -n "xdelta3" "xdelta3 -e -9 -S none -f -s fixture.nes translated.nes made.xd3"
echo "  sizes: BPS $(stat -c %s made.bps) bytes, xdelta3 $(stat -c %s made.xd3) bytes, IPS $("$cli" patch make fixture.nes translated.nes -o made.ips && stat -c %s made.ips) bytes"
/usr/bin/time -f "  peak memory of insert: %M KB" "$cli" insert fixture.nes "${translations[@]}" -o out.nes --patch out.bps 2>&1 | tail -n 1

# Hostile inputs, each refused: how long it takes and how much memory.
hostile() {
  local name=$1
  shift
  /usr/bin/time -f "  $name: %e s, peak %M KB" "$@" >/dev/null 2>time.txt || true
  tail -n 1 time.txt
}
echo "hostile inputs, each refused:"
hostile "info of /dev/zero, read to the 256 MiB ceiling" "$cli" info /dev/zero
printf 'BPS1\x80\x00\x87\x00\x7F\x7E\x7E\x8E\x80' >huge.bps
head -c 12 /dev/zero >>huge.bps
hostile "a BPS declaring 4 GiB" "$cli" patch apply fixture.nes huge.bps -o out.nes
printf 'PATCH\xFF\xFF\xFF\x00\x00\xFF\xFF\x01EOF' >far.ips
hostile "an IPS run at \$FFFFFF of 65,535 bytes" "$cli" patch apply fixture.nes far.ips -o out.nes
hostile "a count whose last pointer overflows" "$cli" dump fixture.nes --table fixture.tbl \
  --pointers 0x10 --count 0x8000000000000001 --type 1 --bank 0
