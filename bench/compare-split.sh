#!/usr/bin/env bash
# Whole-command timings of tavlo-split against `qpdf --split-pages` on the same documents, in
# the same run: one output per page of a document of over 1,000 pages, and one per 10 pages of
# one of over 2,000. tavlo-split runs with one job, two jobs and its default (one per usable
# processor), and once more with its default and --no-navigation (bare copies, which is all
# qpdf makes). Wall time, CPU time (user + system) and peak memory come from /usr/bin/time -v;
# each command runs REPEAT times (default 3), the commands taking turns in an order that
# changes each round; the best wall and CPU times and the highest peak are reported, with
# their ratio to qpdf's (other work on the machine only ever slows a run down).
#
# Every run writes into a folder of its own, and the outputs are removed only at the end:
# the file system skips inodes that were freed a moment ago, so a run right after a removal
# of hundreds of files pays for it in file creation.
#
#   [REPEAT=n] bench/compare-split.sh <build>/bin [input.pdf]
#
# Without an input, the documents are made from the lecture notes in tests/data with qpdf
# (9 and 18 copies: 1,053 and 2,106 pages); with one, both cases split it.
set -euo pipefail
bin="$(cd "$1" && pwd)"
repeat="${REPEAT:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
notes="$(dirname "$0")/../tests/data/geotopo-komprimiert.pdf"

copies() { # count output: the notes that many times over
  local args=()
  for ((i = 0; i < $1; i++)); do args+=("$notes"); done
  qpdf --empty --pages "${args[@]}" -- "$2"
}
if [ -n "${2:-}" ]; then
  long="$2"; longer="$2"
else
  long="$work/long.pdf"; longer="$work/longer.pdf"
  copies 9 "$long"
  copies 18 "$longer"
fi

measure() { # prints "wall cpu kilobytes" of one run of the command
  /usr/bin/time -v "$@" > /dev/null 2> "$work/time.txt" || true
  awk -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, p, ":"); for (i = 1; i <= n; i++) wall = wall * 60 + p[i] }
    /User time/ { cpu += $2 } /System time/ { cpu += $2 }
    /Maximum resident set size/ { rss = $2 }
    END { print wall, cpu, rss }' "$work/time.txt"
}

variants=("qpdf" "jobs 1" "jobs 2" "default" "default, no navigation")
run() { # variant every input round
  local out="$work/out-$RANDOM-$4"
  mkdir -p "$out"
  case "$1" in
    qpdf) measure qpdf --split-pages="$2" "$3" "$out/out-%d.pdf" ;;
    "jobs 1") measure "$bin/tavlo-split" --quiet --jobs 1 --every "$2" --out "$out" "$3" ;;
    "jobs 2") measure "$bin/tavlo-split" --quiet --jobs 2 --every "$2" --out "$out" "$3" ;;
    default) measure "$bin/tavlo-split" --quiet --every "$2" --out "$out" "$3" ;;
    "default, no navigation") measure "$bin/tavlo-split" --quiet --no-navigation --every "$2" --out "$out" "$3" ;;
  esac
}

echo "processors usable: $(nproc); best of $repeat"
for n in 1 10; do
  input="$long"; [ "$n" = 10 ] && input="$longer"
  echo "== one output per $n page(s) of $(qpdf --show-npages "$input") pages"
  declare -A wall=() cpu=() peak=()
  for ((r = 0; r < repeat; r++)); do
    for ((v = 0; v < ${#variants[@]}; v++)); do
      variant="${variants[$(((v + r) % ${#variants[@]}))]}"
      read -r w c m < <(run "$variant" "$n" "$input" "$r")
      wall[$variant]="$(awk -v a="$w" -v b="${wall[$variant]:-$w}" 'BEGIN{print (a < b ? a : b)}')"
      cpu[$variant]="$(awk -v a="$c" -v b="${cpu[$variant]:-$c}" 'BEGIN{print (a < b ? a : b)}')"
      peak[$variant]=$((m > ${peak[$variant]:-0} ? m : ${peak[$variant]:-0}))
    done
  done
  for variant in "${variants[@]}"; do
    awk -v name="$variant" -v w="${wall[$variant]}" -v c="${cpu[$variant]}" -v m="${peak[$variant]}" \
        -v qw="${wall[qpdf]}" -v qc="${cpu[qpdf]}" -v qm="${peak[qpdf]}" \
      'BEGIN { printf "%-24s wall %6.2f s (%.2fx)  cpu %6.2f s (%.2fx)  peak %4d MB (%.2fx)\n",
                      name, w, w / qw, c, c / qc, m / 1024, m / qm }'
  done
  unset wall cpu peak
done
