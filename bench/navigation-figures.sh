#!/usr/bin/env bash
# Navigation figures: for each case, what the outputs kept (bookmarks, same-file and
# cross-file links that land right, dead links), read back independently by
# NavigationFigures, and what keeping it costs: wall and CPU time and total output size with
# navigation against --no-navigation (bare copies), with one job and with the default number,
# median of REPEAT runs (default 5), alternating. Then the same read-back over every file of
# the corpus in tests/data that has bookmarks or links, split every 5 pages and, where it has
# bookmarks, by its top-level ones, with the totals: too small to time.
#
# Usage: bench/navigation-figures.sh BUILD/bin
set -euo pipefail
bin="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
repeat="${REPEAT:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$here/make-manual-pdf.py" 1500 "$work/manual.pdf"
cp "$here/../tests/data/geotopo-komprimiert.pdf" "$work/geotopo.pdf"

timed() { # "wall cpu" seconds of one run, to the millisecond
  python3 -c '
import os, subprocess, sys, time
start = time.perf_counter()
child = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL)
usage = os.wait4(child.pid, 0)[2]
print("%.3f %.3f" % (time.perf_counter() - start, usage.ru_utime + usage.ru_stime))' "$@"
}

median() {
  python3 -c 'import statistics, sys; print(statistics.median(map(float, sys.argv[1:])))' "$@"
}

cost() { # jobs wall bare-wall cpu bare-cpu: one line of what navigation costs
  python3 -c '
import sys
jobs, (w, wb, c, cb) = sys.argv[1], map(float, sys.argv[2:])
print("jobs %s: wall %.3f s against %.3f s bare (%+.1f%%), cpu %.3f s against %.3f s (%+.1f%%)"
      % (jobs, w, wb, 100 * (w / wb - 1), c, cb, 100 * (c / cb - 1)))' "$@"
}

run_case() { # label input options...
  local label="$1" input="$2"
  shift 2
  local lines=()
  for jobs in 1 default; do
    local jobarg=()
    [ "$jobs" = 1 ] && jobarg=(--jobs 1)
    local -A wall=() cpu=()
    for ((r = 0; r < repeat; r++)); do
      for mode in nav bare; do
        rm -rf "$work/$mode"
        mkdir "$work/$mode"
        local extra=()
        [ "$mode" = bare ] && extra=(--no-navigation)
        read -r w c < <(timed "$bin/tavlo-split" --quiet "${jobarg[@]}" "${extra[@]}" "$@" \
          --out "$work/$mode" "$input")
        wall[$mode]+=" $w"
        cpu[$mode]+=" $c"
      done
    done
    lines+=("$(cost "$jobs" "$(median ${wall[nav]})" "$(median ${wall[bare]})" \
      "$(median ${cpu[nav]})" "$(median ${cpu[bare]})")")
  done
  nav="$(du -sb "$work/nav" | cut -f1)"
  bare="$(du -sb "$work/bare" | cut -f1)"
  local folder
  folder="$(ls -d "$work/nav"/*/)"
  echo "== $label: $(qpdf --show-npages "$input") pages, options: $*"
  "$bin/tavlo-split" --dry-run "$@" "$input" | "$bin/NavigationFigures" "$input" "$folder"
  printf 'time %s\n' "${lines[@]}"
  python3 -c "print('outputs %d against %d bytes (%+.1f%%)' % ($nav, $bare, 100 * ($nav / $bare - 1)))"
}

run_case "generated manual, every 25 pages" "$work/manual.pdf" --every 25
run_case "generated manual, one output per page" "$work/manual.pdf" --every 1
run_case "generated manual, chapters" "$work/manual.pdf" --bookmarks 1
run_case "LaTeX lecture notes, every 25 pages" "$work/geotopo.pdf" --every 25
run_case "LaTeX lecture notes, range with the other pages" "$work/geotopo.pdf" --range 1-30,60-80 --others

# The corpus: one line per file and method, then the totals.
corpus="$here/../tests/data"
totals="$work/totals"
: > "$totals"
corpus_case() { # file password options...
  local file="$1" password="$2"
  shift 2
  local pw=()
  [ -n "$password" ] && pw=(--password "$password")
  rm -rf "$work/corpus"
  mkdir "$work/corpus"
  "$bin/tavlo-split" --quiet "${pw[@]}" "$@" --out "$work/corpus" "$corpus/$file" > /dev/null 2>&1 || true
  local folder
  folder="$(ls -d "$work/corpus"/*/ 2> /dev/null | head -n 1)"
  [ -n "$folder" ] || { echo "$file $*: no outputs"; return; }
  local figures
  figures="$("$bin/tavlo-split" --dry-run "${pw[@]}" "$@" "$corpus/$file" 2> /dev/null |
    "$bin/NavigationFigures" "$corpus/$file" "$folder" $password)"
  echo "$figures" | awk -v name="$file $*" '
    /^bookmarks kept/ { split($3, b, "/"); stray = $NF }
    /^same-file/ { split($4, s, "/") }
    /^cross-file/ { split($4, c, "/") }
    /^links to pages/ { nowhere = $6; sub(";", "", nowhere); dead = $NF }
    END { printf "%-60s bookmarks %d/%d stray %d, same-file %d/%d, cross-file %d/%d, to no output %d, dead %d\n",
                 name, b[1], b[2], stray, s[1], s[2], c[1], c[2], nowhere, dead
          print b[1], b[2], stray, s[1], s[2], c[1], c[2], nowhere, dead > "/dev/stderr" }' 2>> "$totals"
}
echo "== corpus (tests/data), every 5 pages and by top-level bookmarks"
# Fields split on "|": read would run empty tab-separated fields together.
while IFS='|' read -r file pages depth top encryption password damaged notes; do
  [ "$pages" = -2 ] || [ "$pages" = 0 ] && continue
  [ "$depth" -gt 0 ] || [[ "$notes" == *Link:* ]] || continue
  corpus_case "$file" "$password" --every 5
  [ "$depth" -gt 0 ] && corpus_case "$file" "$password" --bookmarks 1
done < <(awk -F'\t' -v OFS='|' 'NR > 1 { $1 = $1; print }' "$corpus/manifest.tsv")
awk '{ for (i = 1; i <= NF; i++) t[i] += $i }
  END { printf "corpus totals: bookmarks kept %d/%d (%.1f%%), stray %d; same-file links %d/%d (%.1f%%); cross-file links %d/%d (%.1f%%); to no output %d; dead %d\n",
               t[1], t[2], t[2] ? 100 * t[1] / t[2] : 100, t[3], t[4], t[5], t[5] ? 100 * t[4] / t[5] : 100,
               t[6], t[7], t[7] ? 100 * t[6] / t[7] : 100, t[8], t[9] }' "$totals"
