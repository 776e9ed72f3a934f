#!/usr/bin/env bash
# The release folder holds exactly what a player installs, and nothing else.
set -euo pipefail
dll="$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$(mktemp -d)/dist"
"$root/tools/make-dist.sh" "$dll" "$out" >/dev/null
expected="README.txt
tarvel_hud.dll
tarvel_moravik/color_configs/IIIColors.ini
tarvel_moravik/color_configs/VColors.ini
tarvel_moravik/phone_iii.txd
tarvel_moravik/radio_iii.txd
tarvel_moravik/ring_iii.txd
tarvel_moravik/tarvel_III.ini
tarvel_moravik/tarvel_iii.txd
tools/texdict.exe"
actual="$(cd "$out" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
    echo "dist holds:"; echo "$actual"; echo "expected:"; echo "$expected"; exit 1
fi
cmp "$dll" "$out/tarvel_hud.dll"
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
for word in Installing tarvel_iii.txd ring_iii.txd radio_iii.txd phone_iii.txd RELOAD_SETTINGS "build"; do
    grep -q "$word" "$out/README.txt" || { echo "README.txt does not mention $word"; exit 1; }
done
rm -rf "$(dirname "$out")"
echo "dist folder ok"
