#!/usr/bin/env bash
# preview --watch prints a line for its first render too, and the game directory it copies into
# Wine's temp folder does not outlive it: ended by a plain kill, what is left goes with the next
# run's start.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

# The copy of this run's data is told apart from other runs' by a line of its own.
marker="# watched by run $$ $RANDOM"
echo "$marker" >>"$layout"
copies() {
    grep -lsxF -- "$marker" "${WINEPREFIX:-$HOME/.wine}"/drive_c/users/*/Temp/tarvel_preview_*/tarvel_moravik/tarvel_III.ini \
        "${WINEPREFIX:-$HOME/.wine}"/drive_c/users/*/AppData/Local/Temp/tarvel_preview_*/tarvel_moravik/tarvel_III.ini || true
}

# A session of its own, so that the cleanup can end the watcher's whole group.
setsid wine "$preview" "${preview_args[@]}" --size 320x180 --watch </dev/null >"$work/log" 2>&1 &
watcher=$!
started+=("$watcher")
deadline=$((SECONDS + 300))
until grep -q "^rendered " "$work/log"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no line for the first render: $(cat "$work/log")"
    sleep 0.1
done
copy="$(copies)"
[ -n "$copy" ] || fail "the watching run's game directory was not found"
copy="$(dirname "$(dirname "$copy")")"

kill "$watcher"
for _ in $(seq 600); do
    kill -0 "$watcher" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$watcher" 2>/dev/null && fail "a plain kill did not end the watcher within a minute"

# The next run clears it away as it starts; the killed run's game process may still be
# ending, holding its program, so a few runs may pass before it is gone.
for _ in $(seq 10); do
    run_wine "$preview" "${preview_args[@]}" --size 320x180
    [ -e "$copy" ] || break
done
[ ! -e "$copy" ] || fail "$copy is still there: $(ls -R "$copy" | head)"
echo "the killed watcher's copy is gone"
