#!/usr/bin/env bash
# The preview on a layout file another program holds without sharing it: the file is named, the
# run waits for it, then draws what the game would (its built-in defaults at a first load, under
# --watch the settings it read last), with
# its frames and log; a path prints on a terminal as it is spelt. And a temp folder whose path is too long for the game's file calls is named
# as such, no game directory laid out in the current folder.
set -euo pipefail
preview="$1"
hold_file="$2"
. "$(dirname "$0")/studio_support.sh"

folder="$work/Игра data"
mv "$work/data" "$folder"
# Holds the layout file until let_go; $1 names this hold's files.
hold_layout() {
    mkfifo "$work/let_go_$1"
    wine "$hold_file" "$(windows_path "$folder/tarvel_moravik/tarvel_III.ini")" \
        <"$work/let_go_$1" >"$work/held_$1.txt" 2>&1 &
    started+=("$!")
    exec {holder}>"$work/let_go_$1"
    for _ in $(seq 1200); do
        grep -q held "$work/held_$1.txt" && break
        sleep 0.1
    done
    grep -q held "$work/held_$1.txt" || fail "the layout file is not held: $(cat "$work/held_$1.txt")"
}
let_go() { exec {holder}>&-; }
hold_layout first

status=0
wine "$preview" --data "$(windows_path "$folder")" --size 640x360 \
    --scenario "$(windows_path "$root/tools/preview/default.scenario")" \
    --out "$(windows_path "$work/out")" --log "$(windows_path "$work/hud.log")" \
    </dev/null >"$work/console.txt" 2>&1 || status=$?
let_go
tr -d '\r' <"$work/console.txt" >"$work/said.txt"
[ "$status" = 0 ] || fail "the run on a held layout file ended with $status: $(cat "$work/said.txt")"
grep -qF "another program holds $folder/tarvel_moravik/tarvel_III.ini open" "$work/said.txt" ||
    fail "the held file is not named: $(cat "$work/said.txt")"
grep -q "built-in defaults" "$work/said.txt" || fail "the console does not say what is drawn"
for frame in hud weapon_wheel radio_wheel big_message sniper_scope; do
    [ -s "$work/out/${frame}_640x360.png" ] || fail "no $frame frame: $(cat "$work/said.txt")"
done
[ -s "$work/hud.log" ] || fail "no log of the run"

# Under --watch the game has read the file before: held at a later render, the game keeps the
# settings it has, and so does the frame; the console says so while it watches.
set -m
wine "$preview" --data "$(windows_path "$folder")" --size 320x180 --watch \
    --scenario "$(windows_path "$root/tools/preview/default.scenario")" \
    --out "$(windows_path "$work/watched")" </dev/null >"$work/watch.txt" 2>&1 &
watcher=$!
started+=("$watcher")
set +m
stamp() { grep -o '"stamp": [0-9]*' "$work/watched/preview-data.js" 2>/dev/null || echo none; }
for _ in $(seq 1800); do
    grep -q "^open " "$work/watch.txt" && break
    sleep 0.1
done
first=$(stamp)
hold_layout again
touch "$folder/tarvel_moravik/color_configs/VColors.ini"
for _ in $(seq 1800); do
    [ "$(stamp)" != "$first" ] && break
    sleep 0.1
done
let_go
kill -INT -- "-$watcher"
grep -q "keeps the settings it has" "$work/watch.txt" ||
    fail "the watcher does not say the game keeps its settings: $(cat "$work/watch.txt")"
grep -q '"problems": \[\]' "$work/watched/preview-data.js" ||
    fail "the render of the held file drew other settings: $(grep -o 'cannot be read[^"]*' "$work/watched/preview-data.js")"

# On a terminal, which Wine's console serves, a path prints in the console's own characters.
script -qec "wine '$preview' --data '$(windows_path "$folder") none'" /dev/null </dev/null |
    sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g' | tr -d '\r' >"$work/terminal.txt" || true
grep -qF "no folder $folder none" "$work/terminal.txt" ||
    fail "the console shows the path otherwise: $(cat -v "$work/terminal.txt")"

# A temp folder of more than 300 characters, each part a valid short name.
long="$work/$(printf 'abcdefgh/%.0s' $(seq 36))"
mkdir -p "$long" "$work/here"
status=0
(cd "$work/here" && wine cmd /c set "TEMP=$(windows_path "$long")" "&&" \
    set "TMP=$(windows_path "$long")" "&&" "$(windows_path "$preview")" --data "$(windows_path "$folder")" \
    --size 320x180 --check </dev/null >"$work/long.txt" 2>&1) || status=$?
[ "$status" = 1 ] || fail "the run with a long temp path ended with $status: $(cat "$work/long.txt")"
grep -q "temp folder .* too long" "$work/long.txt" || fail "the long temp path is not named: $(cat "$work/long.txt")"
[ -z "$(ls -A "$work/here")" ] || fail "laid out in the current folder: $(ls "$work/here")"
echo "a held layout file is waited for and drawn as the game would; a long temp path is named"
