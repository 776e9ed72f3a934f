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
tarvel_moravik/tarvel_III.ini"
actual="$(cd "$out" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
    echo "dist holds:"; echo "$actual"; echo "expected:"; echo "$expected"; exit 1
fi
cmp "$dll" "$out/tarvel_hud.dll"
cmp "$root/data/tarvel_moravik/tarvel_III.ini" "$out/tarvel_moravik/tarvel_III.ini"
for word in Installing tarvel_iii.txd ring_iii.txd radio_iii.txd phone_iii.txd RELOAD_SETTINGS "build"; do
    grep -q "$word" "$out/README.txt" || { echo "README.txt does not mention $word"; exit 1; }
done
rm -rf "$(dirname "$out")"
echo "dist folder ok"
