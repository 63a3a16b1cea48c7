#!/usr/bin/env bash
# Instructions each decoder executes for one decode of the benchmark corpus,
# counted by callgrind inside the decode call alone (corpus generation and
# encoding are not counted). Usage: bench/lzh_instructions.sh [lzh_decode_bench]
set -euo pipefail
bench=${1:-build/host/bin/lzh_decode_bench}
if ! command -v valgrind >/dev/null; then
  echo "valgrind is not installed" >&2
  exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

count() {
  local which=$1 function=$2
  valgrind --tool=callgrind --collect-atstart=no "--toggle-collect=$function" \
    --callgrind-out-file="$out/$which.out" "$bench" --only "$which" 2>"$out/$which.log" >/dev/null
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out/$which.log"
}

classic=$(count classic '*DecodeClassic*')
ours=$(count ours '*DecodeOurs*')
echo "classic LZHUF: $classic instructions"
echo "TLZH:          $ours instructions"
awk -v c="$classic" -v o="$ours" 'BEGIN { printf "ratio classic / TLZH: %.2fx fewer instructions\n", c / o }'
