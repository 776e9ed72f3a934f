#!/usr/bin/env bash
# The layout editor does what the hand does, in headless Chromium at 1280x720 and 960x540, each
# outcome measured in the frame the game draws next (the ink of a colour the test gives each
# element, in the PNG): a press in the middle of the selected ammo moves it, whatever inner
# outline lies there; a drag of the radar's frame moves its map and bars with it by whole units,
# twice without drift, and with Ctrl the frame alone; a drag of the timers' text moves their
# backgrounds and bar; a drag snaps the ammo's right edge to the money's with a guide shown, and
# with Alt held it does not; the money's outline at the other size follows a drag as that size
# draws it; a drop off the screen and a file that puts the money off it are put back inside,
# saying so; labels take no clicks and clicks at one spot go round the elements under it; the
# help box looks fixed and a drag of it writes nothing; after Tab from the list the arrow keys
# still move the element; the outline labels can be hidden.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

colours="$work/data/tarvel_moravik/color_configs/VColors.ini"
for pair in "MONEY_COLOR 255 0 255 255" "AMMO_COLOR 0 255 255 255" "AMMO_CLIP_COLOR 0 255 255 255" \
    "TIMER_COLOR 255 128 0 255" "COUNTER_COLOR 255 128 0 255" "MISSIONTIMERBAR_FG 255 0 0 255" \
    "MISSIONTIMERBAR_BG 128 0 0 255" "RADAR_HEALTH_COLOR 0 128 255 255"; do
    key="${pair%% *}"
    sed -i "s/^$key = .*/$key = ${pair#* }/" "$colours"
done
# Many renders, one after another: the browser may live longer than the page tests' 4 minutes.
browser_command[1]=3500
mark_layout
start_editing --size 1280x720 --size 960x540

ADDRESS="$address" LAYOUT="$layout" PYTHONPATH="$(dirname "$0")" python3 - "${browser_command[@]}" \
    --user-data-dir="$work/browser-hand" --window-size=2600,2400 <<'EOF' || fail "see above"
import os, re, sys
from devtools import Page, wait_for
from hand import Hand, ALT, CTRL, grown, near

layout = os.environ["LAYOUT"]
page = Page(sys.argv[1:], os.environ["ADDRESS"])
hand = Hand(page)
evaluate = hand.evaluate
wait_for("the frames", lambda: evaluate("shown && shown.captures.length > 1 && !!document.querySelector('.frame img')"))
# The first frame is the 1280x720 one: page pixels to its pixels.
scale = evaluate("shown.captures[0].width / document.querySelector('.frame').clientWidth")
if evaluate("shown.captures[0].width") != 1280:
    sys.exit("the first frame is not the 1280x720 one")
failures = []
MONEY, AMMO, TIMERS, BAR, HEALTH = (255, 0, 255), (0, 255, 255), (255, 128, 0), (255, 0, 0), (0, 128, 255)

def values(key):
    found = re.search(rf"(?m)^{key} = (.*)$", open(layout, "rb").read().decode())
    return [float(v) for v in found.group(1).split()]
def ink(rgb, name, after=None, margin=8):
    return hand.ink("hud", rgb, grown(hand.box("hud", name), margin), after)
def written(what, act, name=None):
    """Acts and waits for the layout file to change and for a frame drawn after it (one with
    the named element's box changed, where one is named): the stamp before."""
    was, stamp = open(layout, "rb").read(), hand.stamp()
    box = name and hand.box("hud", name)
    act()
    try:
        wait_for(what, lambda: open(layout, "rb").read() != was, 30)
    except SystemExit:
        sys.exit("\n".join(failures + [f"no {what}: the page says {hand.status()!r}"]))
    wait_for(f"the frame after {what}", lambda: hand.stamp() != stamp and
             (not name or hand.box("hud", name) != box), 600)
    return stamp
def moved(before, after, by, within=1.5):
    return near([after[0] - before[0], after[1] - before[1], after[2] - before[2], after[3] - before[3]],
                [by[0], by[1], by[0], by[1]], within)
def page_by(pixels):
    return [p / scale for p in pixels]

# A press inside the selected ammo at the upper left corner of its magazine figure's own
# outline (the "14" printed again) moves it: its scale stays.
hand.pick("ammo")
scale_before, before = values("AMMO_SCALE"), ink(AMMO, "ammo")
figure = evaluate("""(() => { const frame = document.querySelector(".frame"), c = shown.captures[0];
  const boxes = c.boxes.filter(b => b.name === "ammo"), inner = boxes[boxes.length - 1];
  const r = frame.getBoundingClientRect(), s = r.width / c.width;
  return [r.left + (inner.box[0] + 1) * s, r.top + (inner.box[1] + 1) * s]; })()""")
stamp = written("ammo moved", lambda: hand.drag(figure, page_by((-20, 0)), ALT), "ammo")
after = ink(AMMO, "ammo", stamp)
if values("AMMO_SCALE") != scale_before or not moved(before["box"], after["box"], (-20, 0)):
    failures.append(f"a press on the ammo's inner outline: AMMO_SCALE {scale_before} -> {values('AMMO_SCALE')}, "
                    f"ink {before['box']} -> {after['box']}")

# Snapping: dragged with Alt held to 4 px left of the money's right edge, the ammo's lands there;
# dragged back to 2 px right of it, it snaps to it, a guide showing meanwhile.
money = ink(MONEY, "money")["box"]
def towards_money(off):
    return page_by((money[2] - ink(AMMO, "ammo")["box"][2] + off, 0))
stamp = written("ammo moved with Alt", lambda: hand.drag(hand.point("hud", "middle"), towards_money(-4), ALT), "ammo")
free = ink(AMMO, "ammo", stamp)["box"]
if abs(free[2] - money[2]) < 2.5:
    failures.append(f"with Alt the ammo's right edge {free[2]} still lines up with the money's {money[2]}")
hand.drag(hand.point("hud", "middle"), towards_money(2), release=False)
guides = evaluate('document.querySelectorAll(".frame .guide.across").length')
stamp = written("ammo snapped", lambda: page.mouse("mouseReleased", *hand.point("hud", "middle")), "ammo")
snapped = ink(AMMO, "ammo", stamp)["box"]
if not guides or abs(snapped[2] - money[2]) > 1:
    failures.append(f"the ammo dragged near the money's right edge {money[2]}: right edge {free[2]} with "
                    f"Alt, then {snapped[2]}, {guides} guides shown")

# The money's outline at 960x540 follows a drag at 1280x720 as that size draws it: 3/4 of it.
hand.pick("money")
other = """(() => { const f = [...document.querySelectorAll("figure")].find(f => f.dataset.key === "hud 960x540");
  const o = [...f.querySelectorAll(".box")].find(o => o.dataset.name === "money");
  const r = o.getBoundingClientRect(); return [r.left, r.top]; })()"""
other_scale = evaluate("""(() => { const f = [...document.querySelectorAll("figure")].find(f => f.dataset.key === "hud 960x540");
  return f.querySelector(".frame").clientWidth / 960; })()""")
at = evaluate(other)
hand.drag(hand.point("hud", "middle"), page_by((-40, 20)), ALT, release=False)
follows = [b - a for a, b in zip(at, evaluate(other))]
page.mouse("mouseReleased", *hand.point("hud", "middle"))
if not near(follows, [-30 * other_scale, 15 * other_scale], 1):
    failures.append(f"the 960x540 outline of the money moved {follows} page px during a drag of "
                    f"(-40,20) at 1280x720, not {[-30 * other_scale, 15 * other_scale]}")

# The radar: frame, map and bars by the same whole units, twice; with Ctrl the frame alone.
hand.pick("radar frame")
keys = ("OUTER_RADAR_SCALE_A", "OUTER_RADAR_SCALE_B", "INNER_RADAR_SCALE_A", "INNER_RADAR_SCALE_B",
        "BAR_HEALTH_POS_X_Y", "BAR_ARMOR_POS_X_Y")
first = {k: values(k) for k in keys}
bars = ink(HEALTH, "radar bars")
frame = hand.box("hud", "radar frame")
for step in range(2):
    stamp = written("radar moved", lambda: hand.drag(hand.point("hud", "middle"), page_by((41, -29)), ALT),
                    "radar frame")
now = {k: values(k) for k in keys}
# Left edges count from the left, the lower and upper from the bottom: units move alike.
shifts = {k: [b - a for a, b in zip(first[k], now[k])] for k in keys}
across = {shifts["OUTER_RADAR_SCALE_A"][0], shifts["OUTER_RADAR_SCALE_A"][1], shifts["INNER_RADAR_SCALE_A"][0],
          shifts["BAR_HEALTH_POS_X_Y"][0], shifts["BAR_ARMOR_POS_X_Y"][0]}
down = {shifts["OUTER_RADAR_SCALE_B"][0], shifts["OUTER_RADAR_SCALE_B"][1], shifts["INNER_RADAR_SCALE_B"][1],
        shifts["BAR_HEALTH_POS_X_Y"][1], shifts["BAR_ARMOR_POS_X_Y"][1]}
if len(across) != 1 or len(down) != 1 or shifts["INNER_RADAR_SCALE_A"][1] or shifts["INNER_RADAR_SCALE_B"][0]:
    failures.append(f"two drags of the radar moved its keys apart: {shifts}")
bars_after = ink(HEALTH, "radar bars", stamp)["box"]
frame_after = hand.box("hud", "radar frame")
if not moved(bars["box"], bars_after, (82, -58), 2) or not moved(frame, frame_after, (82, -58), 2):
    failures.append(f"two drags of (41,-29): bars {bars['box']} -> {bars_after}, frame {frame} -> {frame_after}")
bars_before = values("BAR_HEALTH_POS_X_Y")
written("radar frame moved alone", lambda: hand.drag(hand.point("hud", "middle"), page_by((20, 0)), CTRL | ALT))
if values("BAR_HEALTH_POS_X_Y") != bars_before or values("OUTER_RADAR_SCALE_A") == now["OUTER_RADAR_SCALE_A"]:
    failures.append("a drag of the radar frame with Ctrl did not move the frame alone")

# The timers: text, both backgrounds and the bar together; the background is not called fixed.
hand.pick("mission timers' background")
if "fixed" in evaluate('document.getElementById("chosen").textContent'):
    failures.append("the page calls the mission timers' background fixed")
hand.pick("mission timers' text")
text, bar = ink(TIMERS, "mission timers' text"), ink(BAR, "mission timers' bar")
stamp = written("timers moved", lambda: hand.drag(hand.point("hud", "middle"), page_by((-30, -20)), ALT),
                "mission timers' text")
text_after = ink(TIMERS, "mission timers' text", stamp)["box"]
bar_after = ink(BAR, "mission timers' bar", stamp)["box"]
if not moved(text["box"], text_after, (-30, -20)) or not moved(bar["box"], bar_after, (-30, -20)):
    failures.append(f"a drag of the timers' text: text {text['box']} -> {text_after}, bar {bar['box']} -> {bar_after}")
finding = evaluate("shown.captures[0].findings.map(f => f.message).join('; ')")
if "timers' text on it" in finding:
    failures.append(f"the timers moved together still apart: {finding}")

# A drop past the screen's right edge is put back inside, and the page says so.
hand.pick("money")
stamp = written("money dropped off the screen",
                lambda: hand.drag(hand.point("hud", "middle"), page_by((260, 0)), ALT), "money")
inside = ink(MONEY, "money", stamp, margin=300)["box"]
if inside[2] > 1281 or inside[0] < 0 or "put inside" not in hand.status():
    failures.append(f"the money dropped off the screen is drawn at {inside}; the page says {hand.status()!r}")

# Put off the screen by a value typed, it is picked from the list and brought back.
written("money put off the screen", lambda: evaluate(
    'post("set", {file: "layout", key: "MONEY_POS_RIGHT", value: "-400"})'), "money")
hand.pick("money")
button = wait_for("the bring-on-screen button", lambda: evaluate('!!document.getElementById("bring-on-screen")'))
stamp = written("money brought on screen",
                lambda: evaluate('document.getElementById("bring-on-screen").click()'), "money")
back = ink(MONEY, "money", stamp, margin=300)["box"]
if back[2] > 1281 or back[0] < 0 or "put back inside" not in hand.status():
    failures.append(f"brought on screen, the money is drawn at {back}; the page says {hand.status()!r}")

# The help box: no grabbing hand over it, a drag writes nothing and says nothing false.
hand.pick("help box")
centre = hand.point("hud", "middle")
page.ask("Input.dispatchMouseEvent", page.session, type="mouseMoved", x=centre[0], y=centre[1])
cursor = evaluate('document.querySelector(".frame").style.cursor')
was = open(layout, "rb").read()
hand.drag(centre, (30, 30))
hand.drag(centre, (0, 0))
if cursor == "grab" or open(layout, "rb").read() != was or "less than" in hand.status() \
        or "fixed" not in evaluate('document.getElementById("chosen").textContent'):
    failures.append(f"the help box: cursor {cursor!r}, status {hand.status()!r}")

# Labels take no clicks; clicks at one spot go round every element under it.
def under(point):
    return evaluate(f"""(() => {{ const frame = document.querySelector(".frame"), c = shown.captures[0];
      const r = frame.getBoundingClientRect(), s = c.width / r.width;
      const [x, y] = [({point[0]} - r.left) * s, ({point[1]} - r.top) * s];
      return [...new Set(c.boxes.filter(b => x >= b.box[0] && x <= b.box[2] && y >= b.box[1] && y <= b.box[3])
                              .map(b => b.name))]; }})()""")
labels = evaluate("""[...document.querySelector(".frame").querySelectorAll(".box span")].map(s => {
  const r = s.getBoundingClientRect(); return [s.textContent, r.left + r.width / 2, r.top + r.height / 2]; })""")
for name, x, y in labels:
    below = under((x, y))
    if not below or name in below: continue
    page.click(x, y)
    if evaluate("selected") not in below:
        failures.append(f"a click on the label {name!r} selected {evaluate('selected')!r}, not one of {below}")
    break
text = hand.box("hud", "mission timers' text")
spot = page_by(((text[0] + text[2]) / 2, (text[1] + text[3]) / 2))
frame_left = evaluate("(() => { const r = document.querySelector('.frame').getBoundingClientRect(); return [r.left, r.top]; })()")
spot = [spot[0] + frame_left[0], spot[1] + frame_left[1]]
below, seen = under(spot), []
for _ in range(len(below) + 1):
    page.click(*spot)
    seen.append(evaluate("selected"))
if len(below) < 2 or sorted(set(seen)) != sorted(below) or seen[0] != seen[-1]:
    failures.append(f"clicks at one spot selected {seen}, the elements there being {below}")

# After Tab from the list the arrow keys still move the money; the page says how.
hand.pick("money")
evaluate('document.getElementById("elements").focus()')
page.press("Tab", 9)
focus = evaluate("document.activeElement.tagName + ' ' + document.activeElement.type")
right = values("MONEY_POS_RIGHT")[0]
written("money nudged", lambda: page.press("ArrowRight", 39))
if values("MONEY_POS_RIGHT")[0] != right - 1 or "arrow keys" not in evaluate('document.getElementById("chosen").textContent'):
    failures.append(f"ArrowRight with the focus on {focus}: MONEY_POS_RIGHT {right} -> {values('MONEY_POS_RIGHT')}")

# The outline labels hidden by their switch.
evaluate('document.getElementById("labels").click()')
if evaluate("""[...document.querySelectorAll(".box span")].some(s => getComputedStyle(s).display !== "none")"""):
    failures.append("outline labels still show with their switch off")

if failures:
    sys.exit("\n".join(failures))
EOF

stop_watching
echo "the editor does what the hand does ok"
