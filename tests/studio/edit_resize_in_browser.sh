#!/usr/bin/env bash
# A corner resize in the layout editor keeps the opposite corner where it was in the frame the
# game draws next, within 2 px, however the element's keys count and however the HUD grows it:
# at 1280x720 in headless Chromium the money by its lower right handle, the ammo by its upper
# left, the wanted stars by their lower left with Shift, the area name by its upper right, the
# mission timers' text by its lower left (each measured as the ink of a colour of its own in the
# PNG), the radar frame by its lower left; the weapon wheel keeps its centre, and sized in height
# alone it grows too.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

colours="$work/data/tarvel_moravik/color_configs/VColors.ini"
for pair in "MONEY_COLOR 255 0 255 255" "AMMO_COLOR 0 255 255 255" "AMMO_CLIP_COLOR 0 255 255 255" \
    "WANTED_COLOR 255 255 0 255" "ZONE_COLOR 0 255 0 255" "TIMER_COLOR 255 128 0 255" \
    "COUNTER_COLOR 255 128 0 255"; do
    key="${pair%% *}"
    sed -i "s/^$key = .*/$key = ${pair#* }/" "$colours"
done
# Many renders, one after another: the browser may live longer than the page tests' 4 minutes.
browser_command[1]=3500
mark_layout
start_editing --size 1280x720

ADDRESS="$address" LAYOUT="$layout" PYTHONPATH="$(dirname "$0")" python3 - "${browser_command[@]}" \
    --user-data-dir="$work/browser-resize" --window-size=1312,3000 <<'EOF' || fail "see above"
import os, sys
from devtools import Page, wait_for
from hand import Hand, SHIFT, grown, near

layout = os.environ["LAYOUT"]
page = Page(sys.argv[1:], os.environ["ADDRESS"])
hand = Hand(page)
wait_for("the frames", lambda: hand.evaluate("shown && shown.captures.length > 1 && !!document.querySelector('.frame img')"))
if hand.evaluate('document.querySelector(".frame").clientWidth') != 1280:
    sys.exit("the frame is not shown at 1280 px: a drag would be in other pixels")

# The corner each handle keeps: the opposite one, as indices of [left, top, right, bottom].
kept = {"se": (0, 1), "nw": (2, 3), "sw": (2, 1), "ne": (0, 3)}
failures = []

def resized(capture, name, corner, by, modifiers=0):
    """The element sized by a handle, waited for until a frame draws it anew: the stamp before."""
    hand.pick(name)
    was, box, stamp = open(layout, "rb").read(), hand.box(capture, name), hand.stamp()
    hand.drag(hand.point(capture, corner), by, modifiers)
    wait_for(f"the layout file changed by sizing {name}", lambda: open(layout, "rb").read() != was, 30)
    now = open(layout, "rb").read().decode().splitlines()
    print(f"{name}: {[b for a, b in zip(was.decode().splitlines(), now) if a != b]}")
    # The page puts its outline at the new box at once; a frame drawn after brings its own.
    wait_for(f"a frame with {name} sized", lambda: hand.stamp() != stamp and hand.box(capture, name) != box, 600)
    return stamp

# A star's point fades to nothing: its faint pixels count.
for name, rgb, corner, by, modifiers, faintest in (
        ("money", (255, 0, 255), "se", (30, 15), 0, 48),
        ("ammo", (0, 255, 255), "nw", (-20, -10), 0, 48),
        ("wanted stars", (255, 255, 0), "sw", (-30, 30), SHIFT, 12),
        ("area and vehicle names", (0, 255, 0), "ne", (20, -10), 0, 48),
        ("mission timers' text", (255, 128, 0), "sw", (-20, 10), 0, 48)):
    window = grown(hand.box("hud", name), 8)
    before = hand.ink("hud", rgb, window, faintest=faintest)
    stamp = resized("hud", name, corner, by, modifiers)
    after = hand.ink("hud", rgb, grown(hand.box("hud", name), 60), after=stamp, faintest=faintest)
    a, b = before["box"], after["box"]
    stays = [(a[i], b[i]) for i in kept[corner]]
    print(f"{name}: ink {a} -> {b}")
    if not all(abs(x - y) <= 2 for x, y in stays):
        failures.append(f"{name} sized by its {corner} handle: its other corner moved {stays}")
    if abs((b[2] - b[0]) - (a[2] - a[0])) < 5:
        failures.append(f"{name} sized by its {corner} handle did not grow: {a} -> {b}")

# The radar frame, as the game's draw call puts it (its picture has no colour of its own).
before = hand.box("hud", "radar frame")
resized("hud", "radar frame", "sw", (-12, 10))
after = hand.box("hud", "radar frame")
print(f"radar frame: {before} -> {after}")
if not near([after[2], after[1]], [before[2], before[1]], 2) or after[0] > before[0] - 8:
    failures.append(f"the radar frame sized by its lower left handle: {before} -> {after}")

# A wheel keeps its centre, however it is sized; in height alone, it grows as well.
def centre(box):
    return [(box[0] + box[2]) / 2, (box[1] + box[3]) / 2]
for how in ("handle", "height"):
    before, stamp = hand.box("weapon_wheel", "weapon wheel"), hand.stamp()
    if how == "handle":
        resized("weapon_wheel", "weapon wheel", "se", (40, 40))
    else:
        was = open(layout, "rb").read()
        answer = hand.evaluate(f"""(() => {{
  const capture = shown.captures.find(c => c.name === "weapon_wheel");
  const [l, t, r, b] = {before};
  return post("place", {{width: capture.width, height: capture.height,
                         keys: ["WEAP_WHEEL_SCALE_MULTIPLIER"], from: [l, t, r, b],
                         to: [l, t - 40, r, b + 40]}});
}})()""")
        if answer.get("error") or open(layout, "rb").read() == was:
            failures.append(f"a wheel sized in height alone was not sized: {answer}")
            continue
        wait_for("a frame with the wheel sized", lambda: hand.stamp() != stamp and
                 hand.box("weapon_wheel", "weapon wheel") != before, 600)
    after = hand.box("weapon_wheel", "weapon wheel")
    print(f"weapon wheel by {how}: {before} -> {after}")
    if not near(centre(after), centre(before), 2) or after[3] - after[1] < before[3] - before[1] + 10:
        failures.append(f"the weapon wheel sized by {how}: {before} -> {after}")

if failures:
    sys.exit("\n".join(failures))
EOF

stop_watching
echo "resizing keeps the other corner ok"
