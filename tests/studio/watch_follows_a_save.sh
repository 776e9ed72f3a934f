#!/usr/bin/env bash
# preview --watch on a copied data folder: every save shows as a new frame, also one of the same
# size within the same second as the last; a half-written save (the file emptied first) is not
# rendered while the watcher waits for it; Ctrl+C ends it cleanly. How soon a frame follows its
# save is printed, not checked: it depends on the machine's load. Every wait for an outcome has a
# limit far above any load.
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
long=180000 # the limit of every wait for a frame, in milliseconds
last_log() { tail -n 5 "$work/log" | tr '\n' ' '; }

# Job control: the watcher gets a process group of its own and takes Ctrl+C (SIGINT) as a
# terminal would send it.
set -m
wine "$preview" "${preview_args[@]}" --size 640x360 --watch </dev/null >"$work/log" 2>&1 &
watcher=$!
started+=("$watcher")
set +m

for _ in $(seq 1800); do
    grep -q "^open file://$work/out/index.html" "$work/log" && break
    sleep 0.1
done
grep -q "^open " "$work/log" || fail "no page after three minutes: $(cat "$work/log")"
first=$(stamp)
cp "$work/out/hud_640x360.png" "$work/before.png"

# A save that first empties the file: nothing is rendered while it is empty. The watcher waits
# 3 seconds for such a file; a frame seen less than that after the emptying is a fault, a later
# one only tells that this script was held up.
cp "$layout" "$work/saved.ini"
emptied=$(now_ms)
: >"$layout"
if wait_for_render 1500 "$first" >/dev/null; then
    [ $(($(now_ms) - emptied)) -ge 3000 ] ||
        fail "the emptied file was rendered: $(grep -o 'is empty[^"]*' "$work/out/preview-data.js")"
    echo "the emptied file was rendered, but only after this script was held up for 3 s"
fi

# The save completes with the money panel moved down: a frame without problems follows.
sed 's/^MONEY_POS_TOP = .*/MONEY_POS_TOP = 120/' "$work/saved.ini" >"$layout"
whole_save_shown() {
    [ "$(stamp)" != "$first" ] && grep -q '"problems": \[\]' "$work/out/preview-data.js"
}
limit=$(($(now_ms) + long))
until whole_save_shown; do
    [ "$(now_ms)" -lt "$limit" ] || fail "no frame without problems after the save: $(last_log)"
    sleep 0.05
done
cmp -s "$work/before.png" "$work/out/hud_640x360.png" && fail "the frame did not change"

# Three saves of the same size, timed.
times=()
for top in 60 90 30; do
    shown=$(stamp)
    sed -i "s/^MONEY_POS_TOP = .*/MONEY_POS_TOP = $top/" "$layout"
    took=$(wait_for_render "$long" "$shown") || fail "no new frame after the save of $top: $(last_log)"
    times+=("$took")
    sleep 0.5
done
best=$(printf '%s\n' "${times[@]}" | sort -n | head -1)
echo "new frames ${times[*]} ms after their saves; the best within two seconds: $(
    [ "$best" -le 2000 ] && echo yes || echo no)"

# A save of the same size whose last write falls in the same second as the shown one's, put in
# place at once: only the fraction of the second tells it from the file shown.
touch -d @1700000000.1 "$layout"
shown=$(stamp)
wait_for_render "$long" "$shown" >/dev/null || fail "no new frame after a touch: $(last_log)"
cp "$work/out/hud_640x360.png" "$work/before.png"
sed 's/^MONEY_POS_TOP = .*/MONEY_POS_TOP = 60/' "$layout" >"$work/same_size.ini"
touch -d @1700000000.6 "$work/same_size.ini"
shown=$(stamp)
mv "$work/same_size.ini" "$layout"
wait_for_render "$long" "$shown" >/dev/null ||
    fail "no new frame after a save of the same size within the same second: $(last_log)"
cmp -s "$work/before.png" "$work/out/hud_640x360.png" &&
    fail "the frame did not change after a save of the same size within the same second"

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
