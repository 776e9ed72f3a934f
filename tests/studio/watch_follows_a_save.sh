#!/usr/bin/env bash
# preview --watch on a copied data folder: a save shows as a new frame within two seconds; a
# half-written save (the file emptied first) is never rendered; Ctrl+C ends it cleanly.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

stamp() { grep -o '"stamp": [0-9]*' "$work/out/preview-data.js" 2>/dev/null || echo none; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Waits up to $1 milliseconds for the page's data to change from $2; prints how long it took.
wait_for_render() {
    local start limit
    start=$(now_ms)
    limit=$((start + $1))
    while [ "$(stamp)" = "$2" ]; do
        [ "$(now_ms)" -lt "$limit" ] || return 1
        sleep 0.05
    done
    echo $(($(now_ms) - start))
}

# Job control: the watcher gets a process group of its own and takes Ctrl+C (SIGINT) as a
# terminal would send it.
set -m
wine "$preview" "${preview_args[@]}" --size 640x360 --watch </dev/null >"$work/log" 2>&1 &
watcher=$!
started+=("$watcher")
set +m

for _ in $(seq 600); do
    grep -q "^open file://$work/out/index.html" "$work/log" && break
    sleep 0.1
done
grep -q "^open " "$work/log" || fail "no page after a minute: $(cat "$work/log")"
first=$(stamp)
cp "$work/out/hud_640x360.png" "$work/before.png"

# A save that first empties the file: nothing is rendered while it is empty.
cp "$layout" "$work/saved.ini"
: >"$layout"
if wait_for_render 1500 "$first" >/dev/null; then
    fail "the emptied file was rendered: $(grep -o 'is empty[^"]*' "$work/out/preview-data.js")"
fi

# The save completes with the money panel moved down.
sed 's/^MONEY_POS_TOP = .*/MONEY_POS_TOP = 120/' "$work/saved.ini" >"$layout"
wait_for_render 20000 "$first" >/dev/null || fail "no new frame after the save"
cmp -s "$work/before.png" "$work/out/hud_640x360.png" && fail "the frame did not change"
grep -q '"problems": \[\]' "$work/out/preview-data.js" || fail "problems listed after a whole save"

# Within two seconds of a save, the best of three on a machine that may be busy.
times=()
for top in 60 90 30; do
    shown=$(stamp)
    sed -i "s/^MONEY_POS_TOP = .*/MONEY_POS_TOP = $top/" "$layout"
    took=$(wait_for_render 20000 "$shown") || fail "no new frame after the save of $top"
    times+=("$took")
    sleep 0.5
done
echo "new frames ${times[*]} ms after their saves"
best=$(printf '%s\n' "${times[@]}" | sort -n | head -1)
[ "$best" -le 2000 ] || fail "no new frame within two seconds of its save"

kill -INT -- "-$watcher"
for _ in $(seq 100); do
    kill -0 "$watcher" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$watcher" 2>/dev/null && fail "Ctrl+C did not end the watcher within ten seconds"
status=0
wait "$watcher" || status=$?
[ "$status" -eq 0 ] || fail "the watcher ended with status $status after Ctrl+C: $(cat "$work/log")"
echo "watch ok"
