#!/usr/bin/env bash
# Whole-command timings of tavlo-split against `qpdf --split-pages` on the same document, in
# the same run: one output per page and one per 10 pages. Wall time and peak memory come from
# /usr/bin/time -v; each command runs REPEAT times (default 3), the two taking turns and
# changing places each round, and the best wall time, the highest peak and their ratio are
# reported (other work on the machine only ever slows a run down).
#
# Every run writes into a folder of its own, and the outputs are removed only at the end:
# the file system skips inodes that were freed a moment ago, so a run right after a removal
# of hundreds of files pays for it in file creation.
#
#   [REPEAT=n] bench/compare-split.sh <build>/bin [input.pdf]
#
# Without an input, a 600-page document is made from the corpus with qpdf.
set -euo pipefail
bin="$(cd "$1" && pwd)"
repeat="${REPEAT:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
input="${2:-}"
if [ -z "$input" ]; then
  corpus="$(dirname "$0")/../tests/data/geotopo-komprimiert.pdf"
  input="$work/input.pdf"
  qpdf --empty --pages "$corpus" "$corpus" "$corpus" "$corpus" "$corpus" "$corpus" -- "$input"
fi
pages="$(qpdf --show-npages "$input")"
echo "input: $input ($pages pages), best of $repeat"

measure() { # prints "seconds kilobytes" of one run of the command
  /usr/bin/time -v "$@" > /dev/null 2> "$work/time.txt" || true
  local wall rss
  wall="$(grep 'Elapsed (wall clock)' "$work/time.txt" | awk '{print $NF}')"
  rss="$(grep 'Maximum resident set size' "$work/time.txt" | awk '{print $NF}')"
  # m:ss.ss or h:mm:ss
  echo "$wall" | awk -F: -v rss="$rss" '{s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s, rss}'
}

run_tavlo() { measure "$bin/tavlo-split" --quiet --every "$1" --out "$work/tavlo-$1-$2" "$input"; }
run_qpdf() { mkdir -p "$work/qpdf-$1-$2"; measure qpdf --split-pages="$1" "$input" "$work/qpdf-$1-$2/out-%d.pdf"; }

for n in 1 10; do
  best_t=""; best_q=""; peak_t=0; peak_q=0
  for ((r = 0; r < repeat; r++)); do
    if ((r % 2 == 0)); then
      read -r t m < <(run_tavlo "$n" "$r")
      read -r q k < <(run_qpdf "$n" "$r")
    else
      read -r q k < <(run_qpdf "$n" "$r")
      read -r t m < <(run_tavlo "$n" "$r")
    fi
    best_t="$(awk -v a="$t" -v b="${best_t:-$t}" 'BEGIN{print (a < b ? a : b)}')"
    best_q="$(awk -v a="$q" -v b="${best_q:-$q}" 'BEGIN{print (a < b ? a : b)}')"
    peak_t=$((m > peak_t ? m : peak_t)); peak_q=$((k > peak_q ? k : peak_q))
  done
  printf '%-28s wall %6.2f s  peak %4d MB\n' "tavlo-split --every $n" "$best_t" $((peak_t / 1024))
  printf '%-28s wall %6.2f s  peak %4d MB\n' "qpdf --split-pages=$n" "$best_q" $((peak_q / 1024))
  awk -v t="$best_t" -v q="$best_q" -v a="$peak_t" -v b="$peak_q" \
    'BEGIN{printf "%-28s wall %.2fx  peak %+d MB\n", "ratio", t / q, (a - b) / 1024}'
done
