#!/usr/bin/env bash
# preview --edit keeps one game running: an edit renders in the same game process, with no file
# of the game directory copied again but the one changed, and every capture of the default
# scenario it draws at two sizes equals, pixel for pixel, what a fresh game draws from the same
# files. A killed game process is replaced: the next edit renders, and the page says what
# became of the game.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
start_editing --size 320x180 --size 256x144
health="$copy/game_health"
renders() { grep -c "^rendered " "$work/log" || true; }
# Waits for the render after the one counted: the outcome, with a bound no render reaches.
wait_for_render() {
    local deadline=$((SECONDS + 900))
    until [ "$(renders)" -gt "$1" ]; do
        [ "$SECONDS" -lt "$deadline" ] || fail "no render within 15 minutes: $(tail "$work/log")"
        sleep 0.1
    done
}
game_process() { grep -o '^process [0-9]*' "$health" | cut -d' ' -f2; }
edit() { # KEY VALUE: through the editor, as the page sends it
    python3 - "$address" "$1" "$2" <<'PY' || fail "the edit of $1 was refused"
import http.client, json, sys, urllib.parse
address = urllib.parse.urlsplit(sys.argv[1])
token = urllib.parse.parse_qs(address.query)["token"][0]
connection = http.client.HTTPConnection("127.0.0.1", address.port, timeout=600)
connection.request("POST", "/set", json.dumps({"file": "layout", "key": sys.argv[2], "value": sys.argv[3]}),
                   {"X-Tarvel-Token": token, "Content-Type": "application/json"})
answer = json.loads(connection.getresponse().read())
sys.exit(0 if answer.get("applied") else f"{answer}")
PY
}

first_game=$(game_process)
[ -n "$first_game" ] || fail "the game wrote no health after its first render"
dictionary=$(ls "$copy"/tarvel_moravik/*.txd | head -1)
inode=$(stat -c %i "$dictionary")
before=$(renders)
edit MONEY_POS_TOP 41
wait_for_render "$before"
grep -q "^MONEY_POS_TOP = 41" "$copy/tarvel_moravik/tarvel_III.ini" ||
    fail "the game directory's layout file was not told of the change"
[ "$(game_process)" = "$first_game" ] || fail "the edit was rendered by another game process"
[ "$(stat -c %i "$dictionary")" = "$inode" ] || fail "an unchanged dictionary was copied again"

# A fresh game on the same files, as preview without --watch plays it.
mkdir "$work/fresh"
run_wine "$preview" --data "$(windows_path "$work/data")" --out "$(windows_path "$work/fresh")" \
    --scenario "$(windows_path "$root/tools/preview/default.scenario")" --size 320x180 --size 256x144
compared=0
for frame in "$work"/fresh/*.png; do
    name=$(basename "$frame")
    python3 "$root/tests/studio/png_pixels.py" same "$work/out/$name" "$frame" ||
        fail "$name of the running game differs from a fresh game's"
    compared=$((compared + 1))
done
[ "$compared" = 10 ] || fail "$compared frames compared, not the 5 captures at 2 sizes"

# The game killed between renders: the next edit is drawn by a new one, and the page says so.
run_wine taskkill /F /PID "$first_game"
before=$(renders)
edit MONEY_POS_TOP 52
wait_for_render "$before"
grep -q '"MONEY_POS_TOP": {"value": "52"' "$work/out/preview-data.js" || fail "the edit after the kill is not on the page"
grep -q 'The game ended (exit code 0x[0-9A-F]*) and a new game was started' "$work/out/preview-data.js" ||
    fail "the page does not say the game ended: $(grep -o '"summary": "[^"]*"' "$work/out/preview-data.js")"
[ "$(game_process)" != "$first_game" ] || fail "no new game process"
stop_watching
echo "the running game draws as a fresh one does, and a killed one is replaced"
