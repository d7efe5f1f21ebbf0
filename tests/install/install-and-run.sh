#!/usr/bin/env bash
# Installs the build into a temporary prefix, as `make install DESTDIR=...` does, and checks
# what a user of the installed program meets: the links in bin/, the desktop entry, manual
# page and completion that name every option, and a split by the installed command line.
#
#   install-and-run.sh BUILD_DIR DOCUMENT.pdf
set -euo pipefail
build=$1
document=$(realpath "$2")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
prefix="$work/stage/usr"

# Started through the links, the programs must find their files from their real location.
for program in Tavlo tavlo-split; do
  [ -L "$prefix/bin/$program" ] || fail "bin/$program is not a link"
  [ -x "$prefix/lib/tavlo/$program" ] || fail "lib/tavlo/$program is missing"
done

entry="$prefix/share/applications/tavlo.desktop"
desktop-file-validate "$entry" || fail "desktop entry does not validate"
grep -qx 'MimeType=application/pdf;' "$entry" || fail "desktop entry does not open PDFs"
for size in 16x16 32x32 48x48 256x256; do
  [ -s "$prefix/share/icons/hicolor/$size/apps/tavlo.png" ] || fail "no $size icon"
done
[ -s "$prefix/share/icons/hicolor/scalable/apps/tavlo.svg" ] || fail "no scalable icon"

manual=$(gzip -dc "$prefix/share/man/man1/tavlo-split.1.gz" | sed 's/\\-/-/g')
completion=$(cat "$prefix/share/bash-completion/completions/tavlo-split")
options=$("$prefix/bin/tavlo-split" --help | grep -o -- '^  --[a-z-]*')
[ -n "$options" ] || fail "--help lists no option"
for option in $options; do
  grep -q -- "$option" <<<"$manual" || fail "the manual page does not document $option"
  grep -q -- "$option" <<<"$completion" || fail "the completion does not offer $option"
done

# A home of its own, so that nothing of the machine's user is read or changed.
mkdir -p "$work/home/Documents" "$work/out"
cd "$work"
HOME="$work/home" XDG_CONFIG_HOME= XDG_STATE_HOME= \
  "$prefix/bin/tavlo-split" --quiet --every 2 --out "$work/out" "$document" >"$work/printed" ||
  fail "the installed tavlo-split failed (exit $?)"
outputs=$(find "$work/out" -name '*.pdf' | wc -l)
[ "$outputs" -eq 2 ] || fail "expected 2 outputs, found $outputs"
grep -q "$work/out/" "$work/printed" || fail "the output folder was not printed"
echo "installed into $prefix; tavlo-split wrote $outputs outputs"
