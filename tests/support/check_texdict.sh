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
