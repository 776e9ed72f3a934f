#!/usr/bin/env bash
# The preview draws the dictionaries of the modder's folder as the game would load them: one
# that is missing or cut short is drawn without its pictures and listed as missing textures (a
# missing one logged as the game's log says it), by a plain run (exit 0) and by --check (exit 1)
# alike, with frames and the log. Only
# --fill-art fills a missing one in from the project's own art.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

folder="$work/data/tarvel_moravik"
# Runs the preview on the copied data with the given options; its exit status in $status.
render() {
    rm -rf "$work/out" "$work/hud.log"
    status=0
    wine "$preview" "${preview_args[@]}" --size 640x360 --log "$(windows_path "$work/hud.log")" \
        "$@" </dev/null >"$work/console.txt" 2>&1 || status=$?
    tr -d '\r' <"$work/console.txt" >"$work/said.txt"
}
said() { grep -qF -- "$1" "$work/said.txt" || fail "the console lacks '$1': $(cat "$work/said.txt")"; }
drawn() {
    for frame in hud weapon_wheel radio_wheel big_message sniper_scope; do
        [ -s "$work/out/${frame}_640x360.png" ] || fail "no $frame frame: $(cat "$work/said.txt")"
    done
    grep -qF -- "$1" "$work/out/preview-data.js" || fail "the page lacks '$1'"
}

mv "$folder/ring_iii.txd" "$work/ring_iii.txd"
render --check
[ "$status" = 1 ] || fail "the check of a folder without ring_iii.txd ended with $status"
missing='tarvel_moravik\ring_iii.txd is missing: the 15 textures the HUD looks up in it are drawn without a picture'
said "$missing"
said "15 missing textures"
drawn "${missing//\\/\\\\}"
grep -q "texture dictionary tarvel_moravik.ring_iii.txd is missing" "$work/hud.log" ||
    fail "the log does not say the dictionary is missing: $(cat "$work/hud.log")"

render --fill-art
[ "$status" = 0 ] || fail "the run with --fill-art ended with $status: $(cat "$work/said.txt")"
said "0 missing textures"
grep -q "texture dictionary tarvel_moravik.ring_iii.txd loaded" "$work/hud.log" || fail "--fill-art drew no ring_iii.txd"
mv "$work/ring_iii.txd" "$folder/ring_iii.txd"

head -c 3000 "$folder/phone_iii.txd" >"$work/cut.txd"
mv "$work/cut.txd" "$folder/phone_iii.txd"
cut_short='tarvel_moravik\phone_iii.txd cannot be read ('
render
[ "$status" = 0 ] || fail "a plain run with a cut-short dictionary ended with $status: $(cat "$work/said.txt")"
said "$cut_short"
drawn "${cut_short//\\/\\\\}"
[ -s "$work/hud.log" ] || fail "no log of the run"
render --check --fill-art
[ "$status" = 1 ] || fail "the check with a cut-short dictionary ended with $status"
said "$cut_short"
echo "missing and cut-short dictionaries are drawn, listed and logged as the game loads them"
