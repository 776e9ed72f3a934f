#!/usr/bin/env bash
# preview --watch prints a line for its first render too, and the game directory it copies into
# Wine's temp folder does not outlive it, ended by a plain kill (the terminate signal) too; nor
# does a plain run's. The layout file is read-only, which its copies must not be.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

# The copy of this run's data is told apart from other runs' by a line of its own.
marker="# watched by run $$ $RANDOM"
echo "$marker" >>"$layout"
chmod a-w "$layout"
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

# Its game process sees it gone and has the copy cleared away once it has ended itself.
for _ in $(seq 600); do
    [ -e "$copy" ] || break
    sleep 0.1
done
[ ! -e "$copy" ] || fail "$copy is still there a minute after: $(ls -R "$copy" | head)"

run_wine "$preview" "${preview_args[@]}" --size 320x180
[ -z "$(copies)" ] || fail "a plain run left $(copies)"
echo "the killed watcher's copy is gone, and a plain run's"
