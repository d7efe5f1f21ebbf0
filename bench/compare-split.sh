#!/usr/bin/env bash
# Whole-command timings of tavlo-split against `qpdf --split-pages` on the same document, in
# the same run: one output per page and one per 10 pages. Wall time and peak memory come from
# /usr/bin/time -v.
#
#   bench/compare-split.sh <build>/bin [input.pdf]
#
# Without an input, a 600-page document is made from the corpus with qpdf.
set -euo pipefail
bin="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
input="${2:-}"
if [ -z "$input" ]; then
  corpus="$(dirname "$0")/../../shared/corpus/geotopo-komprimiert.pdf"
  input="$work/input.pdf"
  qpdf --empty --pages "$corpus" "$corpus" "$corpus" "$corpus" "$corpus" "$corpus" -- "$input"
fi
pages="$(qpdf --show-npages "$input")"
echo "input: $input ($pages pages)"

measure() { # label, command...
  local label="$1"; shift
  /usr/bin/time -v "$@" > /dev/null 2> "$work/time.txt"
  local wall rss
  wall="$(grep 'Elapsed (wall clock)' "$work/time.txt" | awk '{print $NF}')"
  rss="$(grep 'Maximum resident set size' "$work/time.txt" | awk '{print $NF}')"
  printf '%-28s wall %-10s peak %6d MB\n' "$label" "$wall" $((rss / 1024))
}

for n in 1 10; do
  rm -rf "$work/out" "$work/qpdf"; mkdir -p "$work/out" "$work/qpdf"
  measure "tavlo-split --every $n" "$bin/tavlo-split" --quiet --every "$n" --out "$work/out" "$input"
  measure "qpdf --split-pages=$n" qpdf --split-pages="$n" "$input" "$work/qpdf/out-%d.pdf"
done
