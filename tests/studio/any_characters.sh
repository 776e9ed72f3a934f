#!/usr/bin/env bash
# The preview on folders named in characters outside the system's code page: the data, the
# scenario, the frames and the log, rendered and checked, the same as from plain names. With
# "temp" as the second argument the temp folder that holds the game directory is so named too.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

set_key MONEY_POS_RIGHT -150
printf 'RADIO_WHEL_SCALE = 120\n' >>"$layout"
unicode="$work/Игра 游戏 Ωmega"
mkdir -p "$unicode/temp"
cp -r "$work/data" "$unicode/data"
cp "$root/tools/preview/default.scenario" "$unicode/play.scenario"

# Under Wine, TEMP and TMP come from the registry, not from the Unix environment.
in_temp() {
    local temp="$1"
    shift
    if [ -n "$temp" ]; then
        wine cmd /c set "TEMP=$temp" "&&" set "TMP=$temp" "&&" "$(windows_path "$preview")" "$@"
    else
        wine "$preview" "$@"
    fi
}
temp=""
[ "${2:-}" = temp ] && temp="$(windows_path "$unicode/temp")"

# The plain names give what the Unicode ones must give too.
status=0
wine "$preview" --check --data "$(windows_path "$work/data")" \
    --scenario "$(windows_path "$root/tools/preview/default.scenario")" --size 640x360 \
    </dev/null >"$work/plain.txt" 2>&1 ||
    status=$?
[ "$status" = 1 ] || fail "the check on plain names ended with $status: $(cat "$work/plain.txt")"

status=0
in_temp "$temp" --check --data "$(windows_path "$unicode/data")" \
    --scenario "$(windows_path "$unicode/play.scenario")" --size 640x360 \
    </dev/null >"$work/check.txt" 2>&1 || status=$?
tr -d '\r' <"$work/plain.txt" >"$work/plain_lines.txt"
tr -d '\r' <"$work/check.txt" >"$work/check_lines.txt"
[ "$status" = 1 ] && cmp -s "$work/plain_lines.txt" "$work/check_lines.txt" ||
    fail "the check in $unicode (exit $status) differs: $(diff "$work/plain_lines.txt" "$work/check_lines.txt")"
grep -q "RADIO_WHEL_SCALE is no key" "$work/check_lines.txt" || fail "the check lists no settings finding"

in_temp "$temp" --data "$(windows_path "$unicode/data")" \
    --scenario "$(windows_path "$unicode/play.scenario")" --size 640x360 \
    --out "$(windows_path "$unicode/frames")" --log "$(windows_path "$unicode/hud.log")" \
    </dev/null >"$work/render.txt" 2>&1 || fail "the render in $unicode failed: $(cat "$work/render.txt")"
for frame in hud weapon_wheel radio_wheel big_message sniper_scope; do
    [ -s "$unicode/frames/${frame}_640x360.png" ] || fail "no $frame frame: $(cat "$work/render.txt")"
done
grep -q "RADIO_WHEL_SCALE" "$unicode/frames/preview-data.js" || fail "the page lists no settings finding"
grep -q "RADIO_WHEL_SCALE" "$unicode/hud.log" || fail "the plug-in's log is not in $unicode"
grep -qF "$unicode/frames/hud_640x360.png" "$work/render.txt" || fail "the frames are not named as written: $(cat "$work/render.txt")"
address="file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$unicode/frames/index.html")"
grep -qxF "$address" <(tr -d '\r' <"$work/render.txt") || fail "the page's address is not $address: $(cat "$work/render.txt")"
[ -z "$(ls -A "$unicode/temp")" ] || fail "left in the temp folder: $(ls -R "$unicode/temp")"
echo "the preview renders and checks in folders named $(basename "$unicode")${temp:+, with its temp folder so named}"
