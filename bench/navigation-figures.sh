#!/usr/bin/env bash
# Navigation figures: for each case, what the outputs kept (bookmarks, same-file and
# cross-file links that land right, dead links), read back independently by
# NavigationFigures, and what keeping it costs: wall time and total output size with
# navigation against --no-navigation (bare copies), best of REPEAT runs, alternating.
#
# Usage: bench/navigation-figures.sh BUILD/bin
set -euo pipefail
bin="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
repeat="${REPEAT:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$here/make-manual-pdf.py" 1500 "$work/manual.pdf"
cp "$here/../tests/data/geotopo-komprimiert.pdf" "$work/geotopo.pdf"

seconds() { # wall seconds of one run
  /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -1
}

run_case() { # label input options...
  local label="$1" input="$2"
  shift 2
  local best_nav=999 best_bare=999 nav bare
  for ((r = 0; r < repeat; r++)); do
    for mode in nav bare; do
      rm -rf "$work/$mode"
      mkdir "$work/$mode"
      local extra=()
      [ "$mode" = bare ] && extra=(--no-navigation)
      t="$(seconds "$bin/tavlo-split" --quiet "${extra[@]}" "$@" --out "$work/$mode" "$input")"
      if [ "$mode" = nav ]; then
        best_nav="$(python3 -c "print(min($best_nav, $t))")"
      else
        best_bare="$(python3 -c "print(min($best_bare, $t))")"
      fi
    done
  done
  nav="$(du -sb "$work/nav" | cut -f1)"
  bare="$(du -sb "$work/bare" | cut -f1)"
  local folder
  folder="$(ls -d "$work/nav"/*/)"
  echo "== $label: $(qpdf --show-npages "$input") pages, options: $*"
  "$bin/tavlo-split" --dry-run "$@" "$input" | "$bin/NavigationFigures" "$input" "$folder"
  python3 -c "print('time %.2f s against %.2f s bare (%+.1f%%); outputs %d against %d bytes (%+.1f%%)' % ($best_nav, $best_bare, 100 * ($best_nav / $best_bare - 1), $nav, $bare, 100 * ($nav / $bare - 1)))"
}

run_case "generated manual, every 25 pages" "$work/manual.pdf" --every 25
run_case "generated manual, one output per page" "$work/manual.pdf" --every 1
run_case "generated manual, chapters" "$work/manual.pdf" --bookmarks 1
run_case "LaTeX lecture notes, every 25 pages" "$work/geotopo.pdf" --every 25
run_case "LaTeX lecture notes, range with the other pages" "$work/geotopo.pdf" --range 1-30,60-80 --others
