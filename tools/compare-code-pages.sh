#!/usr/bin/env bash
# Every code unit's code on every platform, against Windows' own: for each
# code page, the Windows build's table under Wine, which takes the system's
# code page from the locale (Windows' converter, WideCharToMultiByte); then
# the Linux build's table in each environment, and the page's in Chromium and
# Firefox set to each language, each compared with the table of the code
# page Windows gives that language. A table is the codes the word-to-hex tool
# gives every code unit from U+0080 to U+FFFF but the surrogates. Needs the
# builds build/default, build/windows and build/web.
set -uo pipefail
cd "$(dirname "$0")/.."
tables=build/code-pages
rm -rf "$tables"
mkdir -p "$tables"

# Code page: the locale of a Windows that has it.
windows=(1252:en_US 874:th_TH 932:ja_JP 936:zh_CN 949:ko_KR 950:zh_TW 1250:pl_PL 1251:ru_RU
  1253:el_GR 1254:tr_TR 1255:he_IL 1256:ar_SA 1257:lt_LT 1258:vi_VN)
# The environment of Linux: the code page of the language it names.
linux=("LANG=en_US.UTF-8:1252" "LANG=th_TH.UTF-8:874" "LANG=ja_JP.UTF-8:932" "LANG=zh_CN.GB18030:936"
  "LANG=ko_KR.EUC-KR:949" "LANG=zh_TW.UTF-8:950" "LANG=cs_CZ.UTF-8:1250" "LANG=sr_RS.UTF-8@latin:1250"
  "LANG=ru_RU.KOI8-R:1251" "LANG=el_GR.UTF-8:1253" "LANG=tr_TR.UTF-8:1254" "LANG=he_IL.UTF-8:1255"
  "LANG=fa_IR.UTF-8:1256" "LANG=lt_LT.UTF-8:1257" "LANG=vi_VN.UTF-8:1258"
  "LC_ALL=C.UTF-8 LANG=ru_RU.UTF-8:1252" "LC_CTYPE=ja_JP.UTF-8 LANG=ru_RU.UTF-8:932")
# The browser's language: the code page Windows gives it.
languages=(en-US:1252 th:874 ja:932 zh-CN:936 ko:949 zh-TW:950 pl:1250 ru:1251 el:1253 tr:1254
  he:1255 ar:1256 lt:1257 vi:1258)

same=0
differ=0
# Compares a table with Windows' for its code page, naming the first code
# unit whose codes differ.
compare() {  # what, table, code page
  local windows=$tables/windows-$3.txt first
  if [ -s "$2" ] && cmp -s "$windows" "$2"; then
    same=$((same + 1))
    return
  fi
  differ=$((differ + 1))
  first=$(awk 'NR == FNR { for (i = 1; i <= NF; ++i) w[i] = $i; next }
    { for (i = 1; i <= NF || i <= length(w); ++i) if ($i != w[i]) {
        unit = 127 + i; if (unit >= 55296) unit += 2048
        printf "U+%04X: Windows %s, here %s", unit, w[i], $i; exit } }' "$windows" "$2")
  echo "$1: not Windows' code page $3 (${first:-no table})"
}

for row in "${windows[@]}"; do
  LC_ALL=${row#*:}.UTF-8 tools/wine-run.sh build/windows/conversions/tests/code_page_codes.exe 2>/dev/null |
    tr -d '\r' >"$tables/windows-${row%%:*}.txt"
done
for row in "${linux[@]}"; do
  table=$tables/linux-$(tr ' =@' '___' <<<"${row%:*}").txt
  env -u LC_ALL -u LC_CTYPE -u LANG ${row%:*} build/default/conversions/tests/code_page_codes >"$table"
  compare "Linux, ${row%:*}" "$table" "${row##*:}"
done
for browser in Chromium Firefox; do
  for row in "${languages[@]}"; do
    table=$tables/$browser-${row%%:*}.txt
    node window/web/tests/codes.mjs build/web/quorvane.html "$browser" "${row%%:*}" >"$table"
    compare "$browser, ${row%%:*}" "$table" "${row##*:}"
  done
done

echo "compare-code-pages: $same tables the same as Windows', $differ not"
[ "$same" -gt 0 ] && [ "$differ" -eq 0 ]
