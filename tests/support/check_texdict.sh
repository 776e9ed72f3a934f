#!/usr/bin/env bash
# texdict unpacks a dictionary into PNG files and packs them again into one that holds the same
# pixels; it refuses pictures the game could not load, saying why.
# Usage: check_texdict.sh TEXDICT_EXE DICTIONARY
set -euo pipefail
texdict="$1"
dictionary="$2"
odd="$(cd "$(dirname "$0")" && pwd)/three_by_three.png"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
run() { wine "$texdict" "$@"; }
win() { winepath -w "$1"; }

run unpack "$(win "$dictionary")" "$(win "$work/first")" >/dev/null
run pack "$(win "$work/first")" "$(win "$work/packed.txd")" >/dev/null
run unpack "$(win "$work/packed.txd")" "$(win "$work/second")" >/dev/null
# The same encoder writes the same file for the same pixels.
diff -r "$work/first" "$work/second"
# auto keeps the few-coloured star in a palette, 8888 in 32 bits, and pal8 reduces a picture of
# more colours to a palette that the reader takes.
formats() { run list "$(win "$1")" | tr -d '\r' | awk -v name="$2" '$1 == name {print $5, $6}'; }
[ "$(formats "$work/packed.txd" star)" = "PAL8 8888" ] || { echo "auto: star is $(formats "$work/packed.txd" star)"; exit 1; }
run pack --format 8888 "$(win "$work/first")" "$(win "$work/wide.txd")" >/dev/null
[ "$(formats "$work/wide.txd" star)" = "8888 " ] || { echo "8888: star is $(formats "$work/wide.txd" star)"; exit 1; }
mkdir "$work/many"
cp "$(dirname "$0")/many_colours.png" "$work/many/"
run pack "$(win "$work/many")" "$(win "$work/many.txd")" >/dev/null
[ "$(formats "$work/many.txd" many_colours)" = "8888 " ] || { echo "auto lost colours"; exit 1; }
run pack --format pal8 "$(win "$work/many")" "$(win "$work/many.txd")" >/dev/null
[ "$(formats "$work/many.txd" many_colours)" = "PAL8 8888" ] || { echo "pal8 wrote no palette"; exit 1; }
if run pack --format dxt9 "$(win "$work/first")" "$(win "$work/refused.txd")" 2>/dev/null; then
    echo "texdict packed an unknown format"; exit 1
fi

refused() { # folder, words the message must hold
    if run pack "$(win "$1")" "$(win "$work/refused.txd")" >/dev/null 2>"$work/message"; then
        echo "texdict packed $1"; exit 1
    fi
    grep -q "$2" "$work/message" || { echo "texdict said:"; cat "$work/message"; exit 1; }
}
mkdir "$work/odd" "$work/long"
cp "$odd" "$work/odd/"
refused "$work/odd" "3 x 3; each side must be a power of two"
cp "$work/first/star.png" "$work/long/$(printf 'n%.0s' {1..32}).png"
refused "$work/long" "longer than 31 characters"

# Dictionaries whose headers would make sizes wrap in 32 bits, and a file that is none: listed,
# each is refused with where and why, and exit status 1.
crafted=("$(cd "$(dirname "$0")/../../fuzz/seeds/texdict_reader" && pwd)"/crafted_*)
[ ${#crafted[@]} -ge 3 ] || { echo "no crafted dictionaries beside the seeds"; exit 1; }
listed() { # file, words the message must hold
    status=0
    run list "$(win "$1")" >/dev/null 2>"$work/message" || status=$?
    [ "$status" -eq 1 ] || { echo "texdict list $1 ended with $status"; cat "$work/message"; exit 1; }
    grep -q "$2" "$work/message" || { echo "texdict said:"; cat "$work/message"; exit 1; }
}
for file in "${crafted[@]}"; do
    listed "$file" "at byte 132: texture '[a-z]*': [0-9]* x [0-9]* pixels: a side above 8192"
done
listed "$odd" "at byte 0: not a texture dictionary: expected the texture dictionary chunk"
echo "texdict ok"
