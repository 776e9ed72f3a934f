#!/usr/bin/env bash
# The game directory of a preview still running survives what clears leftovers away: a second
# run, which removes the directories of runs that were killed, and the hidden removal mode
# (--remove DIR --after HANDLE), which acts only on a game directory directly in the temp folder
# once the wait for the run it names has ended: given a folder elsewhere, a name the preview
# does not give, or a handle it cannot wait for, it refuses and deletes nothing. Once the
# running preview is ended, its directory is gone.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
start_watching --size 320x180 --watch
temporary="$(dirname "$copy")"

# A second run on the same data, start to end, while the first still runs.
mkdir -p "$work/second"
wine "$preview" --data "$(windows_path "$work/data")" --out "$(windows_path "$work/second")" \
    --scenario "$(windows_path "$root/tools/preview/default.scenario")" --size 320x180 \
    </dev/null >"$work/second.log" 2>&1 || fail "the second run failed: $(cat "$work/second.log")"
[ "$(copies)" = "$copy/tarvel_moravik/tarvel_III.ini" ] && [ -f "$copy/in_use" ] ||
    fail "a second run removed (some of) the game directory of one still running: $(ls -R "$copy" 2>&1 | head)"

# Each refused: the folder it names is still there, and the refusal says nothing was deleted.
refused_removal() { # folder as Linux path, the --remove argument, the --after argument
    if wine "$preview" --remove "$2" --after "$3" </dev/null >"$work/remove.log" 2>&1; then
        fail "--remove $2 --after $3 succeeded"
    fi
    grep -q "nothing was deleted" "$work/remove.log" ||
        fail "--remove $2 --after $3 said: $(cat "$work/remove.log")"
    [ -d "$1" ] || fail "--remove $2 --after $3 deleted $1"
}
elsewhere="$work/tarvel_preview_123"
mkdir -p "$elsewhere/inside"
refused_removal "$elsewhere" "$(windows_path "$elsewhere")" 99999
for name in tarvel_preview_x tarvel_preview_ tarvel_preview_12345678901 other_123; do
    mkdir -p "$temporary/$name"
    refused_removal "$temporary/$name" "$(windows_path "$temporary/$name")" 99999
    rmdir "$temporary/$name"
done
# The running preview's own directory, with handles no wait can be had on.
for handle in 99999 0 4294967295 -1 x; do
    refused_removal "$copy" "$(windows_path "$copy")" "$handle"
done
[ -f "$copy/in_use" ] || fail "the running preview's game directory lost its files"

stop_watching
echo "a running preview's game directory is left alone"
