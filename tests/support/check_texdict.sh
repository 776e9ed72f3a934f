#!/usr/bin/env bash
# texdict.exe under Wine, one part of it a test:
#   round-trip      unpacks a dictionary into PNG files and packs them again into one that holds
#                   the same pixels; refuses pictures the game could not load, saying why
#   any-characters  packs, unpacks, lists and checks in folders named outside the code page
#   hud-names       checks dictionaries against the names the HUD looks up, as pack does too;
#                   --help lists those names
# Usage: check_texdict.sh TEXDICT_EXE ART_FOLDER PART (ART_FOLDER holds the four dictionaries)
set -euo pipefail
texdict="$1"
odd="$(cd "$(dirname "$0")" && pwd)/three_by_three.png"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Read from a copy: the build's dictionaries are hard links in the other test programs' folders,
# and under Wine a file cannot be opened while a link to it is being deleted.
cp -r "$2" "$work/art"
art="$work/art"
dictionary="$art/tarvel_iii.txd"
run() { wine "$texdict" "$@"; }
win() { winepath -w "$1"; }

any_characters() {
    # Wine's code page for programs is the system's 8-bit one: these names do not fit in it.
    local folder="$work/Игра 游戏 Ωmega"
    mkdir -p "$folder/tarvel_moravik"
    cp "$art"/*.txd "$folder/tarvel_moravik/"
    run unpack "$(win "$folder/tarvel_moravik/tarvel_iii.txd")" "$(win "$folder/картинки")" \
        >"$work/said"
    grep -qF 'Игра 游戏 Ωmega\картинки: 9 textures' "$work/said" || { cat "$work/said"; exit 1; }
    run pack "$(win "$folder/картинки")" "$(win "$folder/tarvel_moravik/tarvel_iii.txd")" \
        >"$work/said"
    grep -qF 'Игра 游戏 Ωmega\tarvel_moravik\tarvel_iii.txd: 9 textures' "$work/said" ||
        { cat "$work/said"; exit 1; }
    diff <(run list "$(win "$dictionary")" | sort) \
         <(run list "$(win "$folder/tarvel_moravik/tarvel_iii.txd")" | sort)
    run check "$(win "$folder")" >"$work/said"
    grep -qF 'texdict check: 0 problems in 4 dictionaries' "$work/said" || { cat "$work/said"; exit 1; }
    echo "texdict ok in $folder"
}

hud_names() {
    local data="$work/data" status=0
    mkdir -p "$data/tarvel_moravik"
    cp "$art"/*.txd "$data/tarvel_moravik/"
    run --help | tr -d '\r' >"$work/said"
    grep -qx '  tarvel_iii.txd  blrect radarmask bar star timerbar siterocket pager sitesniper siteM16' \
        "$work/said" || { echo "--help said:"; cat "$work/said"; exit 1; }

    # The game finds a name in any case: a note, not a problem.
    run unpack "$(win "$data/tarvel_moravik/phone_iii.txd")" "$(win "$work/phones")" >/dev/null
    mv "$work/phones/phone.png" "$work/phones/Phone.png"
    run pack "$(win "$work/phones")" "$(win "$data/tarvel_moravik/phone_iii.txd")" >/dev/null
    run check "$(win "$data")" | tr -d '\r' >"$work/said" || { cat "$work/said"; exit 1; }
    grep -qxF "$(win "$data/tarvel_moravik/phone_iii.txd"): note: 'Phone' is found as 'phone': the game ignores case in names" \
        "$work/said" || { cat "$work/said"; exit 1; }

    # A misspelt name is one problem, not a missing name and an unknown one.
    run unpack "$(win "$dictionary")" "$(win "$work/pictures")" >/dev/null
    mv "$work/pictures/star.png" "$work/pictures/Star2.png"
    rm "$work/pictures/pager.png"
    mv "$work/pictures/siteM16.png" "$work/pictures/sitem16.png"
    run pack "$(win "$work/pictures")" "$(win "$data/tarvel_moravik/tarvel_iii.txd")" \
        2>"$work/warned" >/dev/null
    run check "$(win "$data")" | tr -d '\r' >"$work/said" || status=$?
    [ "$status" -eq 1 ] || { echo "texdict check ended with $status"; cat "$work/said"; exit 1; }
    local main
    main="$(win "$data/tarvel_moravik/tarvel_iii.txd")"
    diff - "$work/said" <<EXPECTED
$main: 'Star2' is never looked up: did you mean 'star'? Until one is named so, the HUD draws the wanted stars without a picture
$main: note: 'sitem16' is found as 'siteM16': the game ignores case in names
$main: 'pager' is missing: the HUD draws the pager without a picture; add a texture named 'pager'
$(win "$data/tarvel_moravik/phone_iii.txd"): note: 'Phone' is found as 'phone': the game ignores case in names
texdict check: 2 problems, 2 notes in 4 dictionaries
EXPECTED
    # pack warns as check does when it writes one of the HUD's dictionaries.
    diff <(grep -F "$main" "$work/said") <(tr -d '\r' <"$work/warned")
}

case "${3:-}" in
    any-characters) any_characters; exit ;;
    hud-names) hud_names; echo "texdict check ok"; exit ;;
    round-trip) ;;
    *) echo "usage: $0 TEXDICT_EXE ART_FOLDER round-trip|any-characters|hud-names"; exit 2 ;;
esac

# Every shipped dictionary unpacked and packed again is the same file, byte for byte: pack keeps
# the order of the textures and their palettes, which unpack records in textures.txt.
shipped=("$art"/*.txd)
[ ${#shipped[@]} = 4 ] || { echo "${#shipped[@]} dictionaries in $art"; exit 1; }
for file in "${shipped[@]}"; do
    pictures="$work/same_$(basename "$file" .txd)"
    run unpack "$(win "$file")" "$(win "$pictures")" >/dev/null
    run pack "$(win "$pictures")" "$(win "$pictures.txd")" >/dev/null
    cmp "$file" "$pictures.txd" || { echo "$(basename "$file") packs again to other bytes"; exit 1; }
done
# A picture added to an unpacked folder comes after those recorded; one removed is left out.
cp "$work/same_tarvel_iii/star.png" "$work/same_tarvel_iii/a_star.png"
rm "$work/same_tarvel_iii/bar.png"
run pack "$(win "$work/same_tarvel_iii")" "$(win "$work/added.txd")" >/dev/null 2>&1
names() { run list "$(win "$1")" | tr -d '\r' | awk '{printf "%s ", $1}'; }
[ "$(names "$work/added.txd")" = "$(names "$dictionary" | sed 's/bar //')a_star " ] ||
    { echo "packed with a picture added and one removed: $(names "$work/added.txd")"; exit 1; }

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

# Dictionaries whose headers would make sizes wrap in 32 bits, one whose palette is cut short,
# and a file that is none: listed,
# each is refused with where and why, and exit status 1.
seeds="$(cd "$(dirname "$0")/../../fuzz/seeds/texdict_reader" && pwd)"
crafted=("$seeds"/crafted_*_level)
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
listed "$seeds/crafted_pal4_palette_cut_at_40" "texture 'p4': the data block ends inside the palette"
# A picture renamed .txd is named as a picture, with how texdict makes one into a dictionary.
listed "$odd" "at byte 0: a PNG picture, not a texture dictionary: .*texdict pack FOLDER FILE.txd"
listed "$0" "at byte 0: not a texture dictionary: expected the texture dictionary chunk"
echo "texdict ok"
