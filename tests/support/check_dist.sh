#!/usr/bin/env bash
# The release folder holds exactly what a player installs, and nothing else; the zip holds exactly
# the folder; the shipped DLL carries its version and no debug information.
set -euo pipefail
dll="$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
version="$(head -n 1 "$root/VERSION")"
dist="$(mktemp -d)/dist"
"$root/tools/make-dist.sh" "$dll" "$dist" >/dev/null
out="$dist/tarvel_hud-$version"
expected="README.txt
tarvel_hud.asi
tarvel_moravik/color_configs/IIIColors.ini
tarvel_moravik/color_configs/VColors.ini
tarvel_moravik/phone_iii.txd
tarvel_moravik/radio_iii.txd
tarvel_moravik/ring_iii.txd
tarvel_moravik/tarvel_III.ini
tarvel_moravik/tarvel_iii.txd
tools/default.scenario
tools/fonts/DejaVuSans.ttf
tools/fonts/DejaVuSansCondensed-Bold.ttf
tools/fonts/DejaVuSansMono.ttf
tools/fonts/LICENSE.txt
tools/page.html
tools/preview.exe
tools/tarvel_hud.symbols
tools/texdict.exe"
actual="$(cd "$out" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
    echo "dist holds:"; echo "$actual"; echo "expected:"; echo "$expected"; exit 1
fi
cmp "$dll" "$out/tarvel_hud.asi"
cmp "$root/data/tarvel_moravik/tarvel_III.ini" "$out/tarvel_moravik/tarvel_III.ini"
# Each dictionary holds every texture the plug-in looks up in it, named as it looks it up.
holds() {
    local file="$out/tarvel_moravik/$1" names
    shift
    names="$(wine "$out/tools/texdict.exe" list "$(winepath -w "$file")" | awk '{print $1}')"
    for name in "$@"; do
        grep -qx -- "$name" <<<"$names" || { echo "$file lacks the texture '$name'"; exit 1; }
    done
}
holds tarvel_iii.txd blrect radarmask bar star timerbar siterocket pager sitesniper siteM16
holds ring_iii.txd {0..12} sring shl
holds radio_iii.txd {0..11}
holds phone_iii.txd phone phone_class
# The game loads all four at every start and keeps them in memory: together at most 12 MB.
art=$(cat "$out"/tarvel_moravik/*.txd | wc -c)
echo "shipped dictionaries: $art bytes"
[ "$art" -le 12000000 ] || { echo "the dictionaries weigh $art bytes, over 12000000"; exit 1; }
for word in Installing tarvel_hud.asi scripts Troubleshooting tarvel_hud.log tarvel_iii.txd \
            ring_iii.txd radio_iii.txd phone_iii.txd RELOAD_SETTINGS "build" \
            "Seeing your layout" "preview --check" "power of two" "31 characters"; do
    grep -q "$word" "$out/README.txt" || { echo "README.txt does not mention $word"; exit 1; }
done

size=$(wc -c < "$out/tarvel_hud.asi")
echo "shipped tarvel_hud.asi: $size bytes"
# Every shipped program, and the preview's symbol table, without debug sections.
for file in tarvel_hud.asi tools/texdict.exe tools/preview.exe tools/tarvel_hud.symbols; do
    sections=$(i686-w64-mingw32-objdump -h "$out/$file" | awk '$2 ~ /^\.z?debug/ {print $2}')
    [ -z "$sections" ] || { echo "the shipped $file still has debug sections:" $sections; exit 1; }
done
# One export: the entry through which a copy letting go of the game hands it to a waiting one.
exports=$(i686-w64-mingw32-objdump -p "$out/tarvel_hud.asi" |
          sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/ {print $3}' | tr '\n' ' ')
[ "$exports" = "tarvel_moravik_hud_take_over " ] ||
    { echo "the shipped DLL exports other than its take-over entry: $exports"; exit 1; }
resource=$(i686-w64-mingw32-strings -el "$out/tarvel_hud.asi" | tr '\n' ' ')
for value in "FileVersion $version" "ProductVersion $version" "ProductName tarvel_moravik HUD" \
             "OriginalFilename tarvel_hud.asi" "FileDescription tarvel_moravik HUD plug-in"; do
    [[ "$resource" == *"$value "* ]] || { echo "version resource lacks: $value"; exit 1; }
done
grep -qx "Version $version" "$out/README.txt" || { echo "README.txt names no version $version"; exit 1; }
# README.txt says what changed in this version: every line of its CHANGELOG.md entry, as text.
entry="$(sed -n "/^## $version\$/,/^## /p" "$root/CHANGELOG.md" | sed '1d;/^## /d;s/^### //;s/`//g')"
grep -q '^- ' <<<"$entry" || { echo "CHANGELOG.md has no entry for $version"; exit 1; }
grep -qx "What changed in $version" "$out/README.txt" || { echo "README.txt has no changes"; exit 1; }
while IFS= read -r line; do
    grep -qxF -- "$line" "$out/README.txt" || { echo "README.txt lacks the change: $line"; exit 1; }
done <<<"$entry"
# A version CHANGELOG.md has no entry for is not released: make-dist stops, and makes nothing.
# Everything else it takes is there, so that the missing entry alone stops it.
unlisted="$(mktemp -d)"
mkdir -p "$unlisted/tools/preview/page"
cp "$root/tools/make-dist.sh" "$unlisted/tools/"
cp "$root/tools/preview/default.scenario" "$unlisted/tools/preview/"
cp "$root/tools/preview/page/page.html" "$unlisted/tools/preview/page/"
cp -r "$root/docs" "$root/data" "$root/CHANGELOG.md" "$unlisted/"
sed -i '/^## 1.0.0$/i ## 9.9.8\n\n- the one before\n' "$unlisted/CHANGELOG.md"
echo 9.9.8 >"$unlisted/VERSION"
"$unlisted/tools/make-dist.sh" "$dll" "$unlisted/dist" >/dev/null ||
    { echo "make-dist did not release 9.9.8 from a copy of the project"; exit 1; }
grep -qx -- "- the one before" "$unlisted/dist/tarvel_hud-9.9.8/README.txt" ||
    { echo "the README.txt of 9.9.8 lacks its change"; exit 1; }
rm -rf "$unlisted/dist"
echo 9.9.9 >"$unlisted/VERSION"
if "$unlisted/tools/make-dist.sh" "$dll" "$unlisted/dist" 2>"$unlisted/said" >/dev/null; then
    echo "make-dist released 9.9.9, which CHANGELOG.md does not list"; exit 1
fi
grep -q "CHANGELOG.md has no entry for version 9.9.9" "$unlisted/said" ||
    { echo "make-dist said:"; cat "$unlisted/said"; exit 1; }
[ ! -e "$unlisted/dist" ] || { echo "make-dist left a release of 9.9.9"; exit 1; }
rm -rf "$unlisted"

# The zip: the folder's files and folders, in byte order, folders 755 and files 644.
zip="$dist/tarvel_hud-$version.zip"
(cd "$dist" && sha256sum --quiet -c "tarvel_hud-$version.zip.sha256")
folder="$(cd "$dist" && find "tarvel_hud-$version" -type d -printf '%p drwxr-xr-x\n' \
                                                -o -type f -printf '%p -rw-r--r--\n' | LC_ALL=C sort)"
zipped="$(zipinfo "$zip" | awk 'length($1) == 10 && $1 ~ /^[-d][-rwx]*$/ {name = $NF; sub("/$", "", name); print name, $1}')"
if [ "$zipped" != "$folder" ]; then
    echo "zip holds:"; echo "$zipped"; echo "folder holds:"; echo "$folder"; exit 1
fi
# Zip times unpack as local time: each must lie at least 12 hours (the farthest zone west of UTC)
# before the commit's time, so that no file unpacks with a time in the future.
source_time="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"
latest=$(date -u -d "@$(( source_time - 12 * 3600 ))" +%Y%m%d.%H%M%S)
zipinfo -T "$zip" | awk -v latest="$latest" 'length($1) == 10 && $1 ~ /^[-d][-rwx]*$/ {
    if ($7 > latest) { print "zip time " $7 " of " $NF " may unpack in the future"; bad = 1 } }
    END { exit bad }'
unzip -q "$zip" -d "$dist/unzipped"
diff -r "$out" "$dist/unzipped/tarvel_hud-$version"
rm -rf "$(dirname "$dist")"
echo "dist folder and zip ok"
