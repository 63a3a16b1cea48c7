#!/usr/bin/env bash
# Instructions each decoder executes for one decode of the benchmark corpus,
# counted by callgrind inside the decode call alone (making the corpus and
# encoding it are not counted). Deterministic for a given build and corpus.
# Usage: bench/lzh_instructions.sh [path/to/lzh_decode_bench [CORPUS]]
#   CORPUS: mixed (the default), random, compressed, low-entropy
set -euo pipefail
bench=${1:-build/host/bin/lzh_decode_bench}
corpus=${2:-mixed}
if ! command -v valgrind >/dev/null; then
  echo "lzh_instructions.sh: valgrind is not installed" >&2
  exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Prints "<instructions> <decoded bytes>" for one decoder.
count() {
  local which=$1 function=$2
  valgrind --tool=callgrind --collect-atstart=no "--toggle-collect=$function" \
    --callgrind-out-file="$out/$which.out" "$bench" --corpus "$corpus" --only "$which" 2>"$out/$which.log" >"$out/$which.txt"
  echo "$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out/$which.log") $(sed -n 's/^\([0-9]*\) bytes decoded/\1/p' "$out/$which.txt")"
}

report() {
  awk -v label="$1" -v n="$2" -v bytes="$3" 'BEGIN { printf "%-16s %12d instructions  %6.1f per decoded byte\n", label, n, n / bytes }'
}

read -r classic bytes < <(count classic '*DecodeClassic*')
read -r ours _ < <(count ours '*DecodeOurs*')
read -r callbacks _ < <(count callbacks '*DecodeOursByCallbacks*')
report "classic LZHUF" "$classic" "$bytes"
report "TLZH" "$ours" "$bytes"
report "TLZH, callbacks" "$callbacks" "$bytes"
awk -v c="$classic" -v o="$ours" 'BEGIN { printf "classic / TLZH: %.2fx the instructions\n", c / o }'
