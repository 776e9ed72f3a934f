#!/usr/bin/env bash
# The layout editor's colours and its writes of a file saved elsewhere, in headless Chromium as
# a modder uses the page at 1280x720: the money's picker shows the colour the HUD draws it with;
# a colour picked there changes only the value of MONEY_COLOR in the colour file and the next
# frame draws the money in it, and Ctrl+Z and Ctrl+Y at a switch undo and redo it. Between
# two arrow nudges another editor saves the layout file in UTF-16 LE with its mark and a line of
# its own: the page says its text was taken, and each nudge changes only its value, the file
# staying UTF-16 with its mark and the other's line.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
start_editing --size 1280x720

ADDRESS="$address" LAYOUT="$layout" COLOURS="$work/data/tarvel_moravik/color_configs/VColors.ini" \
    PYTHONPATH="$(dirname "$0")" python3 - "${browser_command[@]}" \
    --user-data-dir="$work/browser-colours" --window-size=1312,2400 <<'EOF' || fail "see above"
import os, re, sys
from devtools import Page, wait_for

layout, colours = os.environ["LAYOUT"], os.environ["COLOURS"]
page = Page(sys.argv[1:], os.environ["ADDRESS"])

def read(path):
    with open(path, "rb") as f:
        return f.read()
def becomes(path, expected, what):
    wait_for(what, lambda: read(path) == expected, 30)
def with_value(text, key, old, new):
    text, count = re.subn(rf"(?m)^({key} = ){old}(\r?)$", rf"\g<1>{new}\g<2>", text, count=1)
    assert count == 1, f"no line {key} = {old}"
    return text

# Selected by a click on its outline in the first frame, once that frame shows.
def money_outline():
    return wait_for("outline of the money", lambda: page.evaluate("""(() => {
  const outline = [...document.querySelectorAll(".frame .box")].find(o => o.dataset.name === "money");
  const image = document.querySelector(".frame img");
  if (!outline || !image.complete || !image.naturalWidth) return null;
  const r = outline.getBoundingClientRect();
  return [r.left + r.width / 2, r.top + r.height / 2];
})()"""))
page.click(*money_outline())

# The answers to the page's changes, counted as they arrive: the note an answer brings shows
# only if no answer to an earlier change arrives after it.
page.evaluate("""window.answers = 0;
new PerformanceObserver(list => answers += list.getEntries().filter(e => /\/(set|place)$/.test(e.name)).length)
    .observe({type: "resource"});""")
def answered(count):
    wait_for(f"{count} answers", lambda: page.evaluate("answers") >= count, 30)
pickers = """[...document.querySelectorAll("#chosen input")].filter(i => i.dataset.colour === "MONEY_COLOR")
    .map(i => i.value)"""
shown = wait_for("picker of MONEY_COLOR", lambda: page.evaluate(pickers))
if shown != ["#597396", "255"]:
    sys.exit(f"the picker shows {shown}, not the file's MONEY_COLOR = 89 115 150 255")

# Pixels of the money's box in the page's first frame within 3 of the colour, read from the
# PNG it shows.
money_in = """(async (rgb) => {
  const capture = shown.captures[0], box = capture.boxes.find(b => b.name === "money");
  const image = await createImageBitmap(await (await ask(capture.image + "?v=" + shown.stamp)).blob());
  const canvas = new OffscreenCanvas(image.width, image.height);
  const context = canvas.getContext("2d");
  context.drawImage(image, 0, 0);
  const [left, top, right, bottom] = box.box.map(Math.round);
  const pixels = context.getImageData(left, top, right - left, bottom - top).data;
  let count = 0;
  for (let i = 0; i < pixels.length; i += 4)
    count += [0, 1, 2].every(c => Math.abs(pixels[i + c] - rgb[c]) <= 3);
  return {stamp: shown.stamp, count: count};
})"""
picked = [23, 210, 60]
before = page.evaluate(f"{money_in}({picked})")
if before["count"]:
    sys.exit(f"the money shows {before['count']} pixels of the colour before it is picked")

# Picked as a user would: the colour, then the alpha, each with its input and change events.
original_colours = read(colours)
page.evaluate("""(() => {
  const input = part => [...document.querySelectorAll("#chosen input")].find(
      i => i.dataset.colour === "MONEY_COLOR" && i.type === part);
  for (const [part, value] of [["color", "#17d23c"], ["range", "200"]]) {
    const control = input(part);
    control.value = value;
    control.dispatchEvent(new Event("input", {bubbles: true}));
    control.dispatchEvent(new Event("change", {bubbles: true}));
  }
})()""")
becomes(colours, with_value(original_colours.decode(), "MONEY_COLOR", "89 115 150 255",
                            "23 210 60 200").encode(), "colour file with only MONEY_COLOR picked")
drawn = wait_for("frame with the money in the picked colour", lambda: (lambda now:
    now if now["stamp"] != before["stamp"] and now["count"] >= 20 else None)(
    page.evaluate(f"{money_in}({picked})")))
print(f"money pixels of the picked colour: {before['count']} before, {drawn['count']} after")

# Ctrl+Z and Ctrl+Y undo and redo the alpha with the ruler's switch focused, clicked on and off.
picked_colours = read(colours)
switch = page.evaluate("""(() => {
  const r = document.getElementById("ruler").getBoundingClientRect();
  return [r.left + r.width / 2, r.top + r.height / 2];
})()""")
page.click(*switch)
page.click(*switch)
page.press("z", 90, 2)
becomes(colours, with_value(original_colours.decode(), "MONEY_COLOR", "89 115 150 255",
                            "23 210 60 255").encode(), "colour file with the alpha undone")
page.press("y", 89, 2)
becomes(colours, picked_colours, "colour file with the alpha redone")

# Clicked again, so that the arrow keys go to the money, not the alpha slider (the frames stand
# lower now, under the keys shown); nudged right in the file as the editor last wrote it.
page.click(*money_outline())
original = read(layout).decode()
page.press("ArrowRight", 39)
nudged = with_value(original, "MONEY_POS_RIGHT", "33", "32")
becomes(layout, nudged.encode(), "layout file with the money nudged right")
answered(3)

# Another editor saves it in UTF-16 LE with its mark and a line of its own.
other = "# the other editor's line\r\n"
with open(layout + ".other", "wb") as f:
    f.write(b"\xff\xfe" + (nudged + other).encode("utf-16-le"))
os.replace(layout + ".other", layout)
page.press("ArrowDown", 40)
nudged = with_value(nudged, "MONEY_POS_TOP", "30", "31")
becomes(layout, b"\xff\xfe" + (nudged + other).encode("utf-16-le"),
        "UTF-16 layout file with only the money's top nudged and the other editor's line")
status = 'document.getElementById("status").textContent'
wait_for("note that the file was saved elsewhere",
         lambda: "saved in another editor since: its new text was taken" in page.evaluate(status), 30)

# The next nudge, with no save between, keeps the UTF-16 file as it was but for its value.
page.press("ArrowLeft", 37)
nudged = with_value(nudged, "MONEY_POS_RIGHT", "32", "33")
becomes(layout, b"\xff\xfe" + (nudged + other).encode("utf-16-le"),
        "UTF-16 layout file with only the money nudged back left")
EOF

stop_watching
echo "colours and other editors' saves in the browser ok"
