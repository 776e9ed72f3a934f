#!/usr/bin/env bash
# The preview's page in a real browser: the frames show, the outline switch draws every
# element's rectangle, and what is wrong with a broken layout is listed on it.
set -euo pipefail
preview="$1"
png_colours="$2"
. "$(dirname "$0")/studio_support.sh"

# Broken on purpose: each timer's label printed over its value, and a pair written with a comma.
set_key MISSIONTIMERS_TIMER_GAP 2
set_key MONEY_SCALE "0.44, 0.859"
run_wine "$preview" "${preview_args[@]}" --size 960x540 --size 640x480

page="file://$work/out/index.html"
browser --window-size=1400,2600 --screenshot="$work/plain.png" "$page" >/dev/null
browser --window-size=1400,2600 --screenshot="$work/outlined.png" "$page#outlines" >/dev/null
browser --dump-dom "$page" >"$work/page.html"

# Counts of the sky of the frames, the outline colour and the colour findings are marked in.
colours() {
    run_wine "$png_colours" "$(windows_path "$1")" 7a8fab/30 ff00ff ff2020
    tr -d '\r' <"$work/wine.out"
}
read -r sky plain_outlines plain_marks <<<"$(colours "$work/plain.png")"
read -r _ outlines _ <<<"$(colours "$work/outlined.png")"
echo "sky pixels $sky; outline pixels $plain_outlines off, $outlines on; finding marks $plain_marks"

frames=$(grep -o '<img [^>]*src="[a-z_]*_[0-9]*x[0-9]*\.png?v=' "$work/page.html" | wc -l)
[ "$frames" -eq 10 ] || fail "the page holds $frames frames, not the 5 captures at 2 sizes"
# Ten frames, each at least 300 pixels wide with its upper half sky.
[ "$sky" -gt 150000 ] || fail "the frames are not shown: $sky sky pixels in the screenshot"
[ "$plain_outlines" -eq 0 ] || fail "outlines show while their switch is off"
[ "$outlines" -gt 2000 ] || fail "the outline switch draws no rectangles ($outlines pixels)"

[ "$plain_marks" -gt 100 ] || fail "the findings are not marked on the frames"
finding='mission timers text "Escape" ([0-9,]*)-([0-9,]*) is over mission timers text "02:15"'
listed=$(grep -o "<li>$finding" "$work/page.html" | wc -l)
[ "$listed" -eq 10 ] || fail "the timers' finding is listed $listed times, not once in each frame"
grep -q "layout check: [0-9]* problems (1 in the settings, 0 missing textures, [1-9][0-9]* in the layout" \
    "$work/page.html" || fail "no count of the findings as the console gives it"
grep -q "MONEY_SCALE = 0.44, 0.859" "$work/page.html" || fail "the bad MONEY_SCALE line is not listed"
grep -q "line [0-9]*: " "$work/page.html" || fail "the bad line's number is not given"
grep -q "built-in default" "$work/page.html" || fail "the page does not say defaults are drawn"
echo "page in the browser ok"
