#!/usr/bin/env bash
# The layout editor in headless Chromium, driven through its DevTools protocol as a modder's
# mouse and keyboard would: at 1280x720 a click on the money's outline selects it and shows its
# keys with their values, file and line; a drag by (-100,+50) px writes MONEY_POS_RIGHT and
# MONEY_POS_TOP in the HUD's units and leaves every other byte, and the next frame draws the
# money there; the arrow keys then move it by one unit each way. The radar frame, sized by its
# upper right handle, gets its edges in whole units of the short side and is drawn there; Ctrl+Z
# then takes every change back to the file's first bytes, and Ctrl+Y makes the first again.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
start_editing --size 1280x720

ADDRESS="$address" LAYOUT="$layout" PYTHONPATH="$(dirname "$0")" python3 - "${browser_command[@]}" \
    --user-data-dir="$work/browser-drag" --window-size=1312,2400 \
    <<'EOF' || fail "see above"
import os, re, sys
from devtools import Page, wait_for

layout = os.environ["LAYOUT"]
page = Page(sys.argv[1:], os.environ["ADDRESS"])
evaluate, mouse, press = page.evaluate, page.mouse, page.press

# The first frame's money text, as the page outlines it: its box in the frame's pixels, and
# the centre of its outline on the page.
money = """(() => {
  const frame = document.querySelector(".frame");
  const outline = frame && [...frame.querySelectorAll(".box")].find(o => o.dataset.name === "money");
  if (!outline || !shown) return null;
  const r = outline.getBoundingClientRect();
  const box = shown.captures[0].boxes.find(b => b.name === "money");
  return {x: r.left + r.width / 2, y: r.top + r.height / 2, frameWidth: frame.clientWidth,
          box: box.box, stamp: shown.stamp};
})()"""
before = wait_for("outline of the money", lambda: evaluate(money))
if before["frameWidth"] != 1280:
    sys.exit(f"the frame shows {before['frameWidth']} px wide, not 1280: the drag is in its pixels")
original = open(layout, "rb").read()

# Pressed, dragged by (-100,+50) in small steps with Alt held (no snapping to other elements'
# edges), released.
x, y = before["x"], before["y"]
mouse("mousePressed", x, y, 1)
chosen = evaluate('document.getElementById("chosen").textContent')
for key, where in (("MONEY_POS_RIGHT", "33tarvel_moravik\\tarvel_III.ini, line 22"),
                   ("MONEY_POS_TOP", "30tarvel_moravik\\tarvel_III.ini, line 21")):
    if key + where not in chosen:
        sys.exit(f"the selected money shows no {key} = {where}: {chosen!r}")
for step in range(1, 11):
    mouse("mouseMoved", x - 10 * step, y + 5 * step, 1)
mouse("mouseReleased", x - 100, y + 50, 1)

# At 1280x720 a unit of MONEY_POS_RIGHT (UnitX) spans 720/480 = 1.5 px and one of
# MONEY_POS_TOP (UnitY) 720/448 px: 100 px left raises the right key by 66.67 units, to 99.67;
# 50 px down raises the top key by 31.11, to 61.11.
def with_values(right, top):
    text = original.decode()
    for key, old, new in (("MONEY_POS_RIGHT", "33", right), ("MONEY_POS_TOP", "30", top)):
        text, count = re.subn(rf"(?m)^({key} = ){old}$", rf"\g<1>{new}", text, count=1)
        assert count == 1, f"no line {key} = {old}"
    return text.encode()
def file_becomes(expected, what):
    try:
        wait_for(what, lambda: open(layout, "rb").read() == expected, 30)
    except SystemExit:
        # What the page said and which lines differ tell a refused change from a lost one.
        now = open(layout, "rb").read().decode().splitlines()
        print("the page says:", evaluate('document.getElementById("status").textContent'),
              [(a, b) for a, b in zip(expected.decode().splitlines(), now) if a != b], file=sys.stderr)
        raise
file_becomes(with_values("99.67", "61.11"), "layout file with only the money's keys moved")

# The next frame draws the money there, within a pixel.
def moved_there():
    now = evaluate(money)
    moved = [a - b for a, b in zip(now["box"], before["box"])] if now else []
    return moved and all(abs(m - e) <= 1 for m, e in zip(moved, (-100, 50, -100, 50)))
wait_for("frame with the money moved by (-100,+50) px", moved_there)

# Still selected: right lowers the right key by one unit, down raises the top key.
press("ArrowRight", 39)
file_becomes(with_values("98.67", "61.11"), "nudge right")
press("ArrowDown", 40)
file_becomes(with_values("98.67", "62.11"), "nudge down")

# The ruler in the money's units: its 50 across is 50 UnitX (75 px) in from the right edge, its 50
# down 50 UnitY (80.36 px) down from the top.
evaluate('document.getElementById("ruler").click()')
fifty = wait_for("the ruler's labels", lambda: evaluate("""(() => {
  const labels = [...document.querySelectorAll(".frame")[0].querySelectorAll(".ruler span")].filter(l => l.textContent === "50");
  return labels.length >= 2 && labels.map(l => [l.style.left, l.style.top]);
})()"""))
at = sorted((float(value[:-1]) * extent / 100 for pair in fifty for value, extent in zip(pair, (1280, 720))
             if value.endswith("%")))
if len(at) != 2 or abs(at[0] - 80.36) > 0.5 or abs(at[1] - 1205) > 0.5:
    sys.exit(f"the ruler's 50s stand at {fifty}, not 1205 px across and 80.36 px down")
evaluate('document.getElementById("ruler").click()')

# The radar frame, picked from the list, sized by its upper right handle: 61 px right, 70 up.
radar = """(() => {
  const box = shown && shown.captures[0].boxes.find(b => b.name === "radar frame");
  const handle = document.querySelector(".frame .outer .handle.ne");
  if (!box || !handle) return null;
  const r = handle.getBoundingClientRect();
  return {x: r.left + r.width / 2, y: r.top + r.height / 2, box: box.box, stamp: shown.stamp};
})()"""
evaluate('const list = document.getElementById("elements"); list.value = "radar frame";'
         'list.dispatchEvent(new Event("change"))')
frame = wait_for("the radar frame's handle", lambda: evaluate(radar))
nudged = open(layout, "rb").read()
x, y = frame["x"], frame["y"]
mouse("mousePressed", x, y)
for step in range(1, 11):
    mouse("mouseMoved", x + 6.1 * step, y - 7 * step)
mouse("mouseReleased", x + 61, y - 70)
# At 1280x720 a unit of the short side spans 720/1080 = 2/3 px; the HUD cuts the frame's edges
# to whole pixels: left 43 -> 28 (28.67 uncut), right 317 -> 211 (211.33), bottom 36 -> 696,
# top 245 -> 557 (556.67). Sized about the lower left corner (28, 696) to 244 x 209 px from
# 183 x 139: x scales by 244/183 = 4/3, y by 209/139.
#   left:   28 + (28.67 - 28) * 4/3 = 28.89 px = 43.33 units -> 43 (the HUD takes whole units)
#   right:  28 + (211.33 - 28) * 4/3 = 272.44 px = 408.67 units -> 409
#   lower:  696 stays: 36
#   upper:  696 - (696 - 556.67) * 209/139 = 486.50 px, 720 - 486.50 = 233.50 px = 350.25 -> 350
def lines(data):
    return data.decode().splitlines(keepends=True)
def changed_lines(data):
    return {i for i, (a, b) in enumerate(zip(lines(nudged), lines(data))) if a != b}
def value(data, key):
    return [float(v) for v in re.search(rf"(?m)^{key} = (.*)$", data.decode()).group(1).split()]
def resized():
    data = open(layout, "rb").read()
    return (len(lines(data)) == len(lines(nudged)) and value(data, "OUTER_RADAR_SCALE_A") == [43, 409]
            and value(data, "OUTER_RADAR_SCALE_B") == [36, 350] and data)
sized = wait_for("layout file with the radar frame sized", resized, 30)
# Only the frame's lines and the map's, which keeps its place inside the frame.
keys = {lines(sized)[i].split(" = ")[0] for i in changed_lines(sized)}
if keys != {"OUTER_RADAR_SCALE_A", "OUTER_RADAR_SCALE_B", "INNER_RADAR_SCALE_A", "INNER_RADAR_SCALE_B"}:
    sys.exit(f"sizing the radar frame changed {sorted(keys)}")
(left, width), (height, top) = value(sized, "INNER_RADAR_SCALE_A"), value(sized, "INNER_RADAR_SCALE_B")
if not (43 < left and left + width < 409 and 36 < top - height and top < 350):
    sys.exit(f"the radar's map is no longer inside its frame: {left, width, height, top}")
def sized_there():
    now = evaluate(radar)
    return now and all(abs(a - b) <= 1 for a, b in zip(now["box"], (28, 487, 272, 696)))
wait_for("frame with the radar frame drawn at (28,487)-(272,696)", sized_there)

# Undone change by change back to the first bytes, then the first made again.
for expected in (nudged, with_values("98.67", "61.11"), with_values("99.67", "61.11"), original):
    press("z", 90, modifiers=2)
    file_becomes(expected, "undo")
press("y", 89, modifiers=2)
file_becomes(with_values("99.67", "61.11"), "redo")
EOF

stop_watching
echo "editing in the browser ok"
