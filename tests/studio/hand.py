"""The layout editor as a modder's hand uses it, for the browser tests: an element picked from
the list, its outline's handles and middle found on the page, a drag in small steps with keys
held, and an element's ink measured in the PNG the game drew (the pixels of its colour, which
the test gives it in the colour file first)."""
from devtools import wait_for

SHIFT, CTRL, ALT = 8, 2, 1

# The bounding box [left, top, right, bottom) in the frame's pixels of the pixels of a shade of
# the colour (its channels in the same proportions, within a fifth), searched within the window, in the PNG of the page's capture;
# with the page's stamp. Null while the page shows no such capture.
INK = """(async (capture, rgb, window, faintest) => {
  const shownCapture = shown && shown.captures.find(c => c.name === capture);
  if (!shownCapture) return null;
  const stamp = shown.stamp;
  const image = await createImageBitmap(await (await fetch(shownCapture.image + "?v=" + stamp)).blob());
  const canvas = new OffscreenCanvas(image.width, image.height);
  const context = canvas.getContext("2d");
  context.drawImage(image, 0, 0);
  const [l, t, r, b] = window.map((v, i) => Math.max(0, Math.min(i % 2 ? image.height : image.width, Math.round(v))));
  if (r <= l || b <= t) return {stamp, box: null};
  const pixels = context.getImageData(l, t, r - l, b - t).data;
  let box = null;
  for (let y = 0; y < b - t; ++y)
    for (let x = 0; x < r - l; ++x) {
      const i = 4 * (y * (r - l) + x);
      // Any shade of the colour: a sprite's darker rim tinted with it too.
      const most = Math.max(pixels[i], pixels[i + 1], pixels[i + 2]);
      if (most < faintest || ![0, 1, 2].every(c => Math.abs(pixels[i + c] / most - rgb[c] / 255) <= 0.2)) continue;
      box = box ? [Math.min(box[0], l + x), Math.min(box[1], t + y), Math.max(box[2], l + x + 1),
                   Math.max(box[3], t + y + 1)] : [l + x, t + y, l + x + 1, t + y + 1];
    }
  return {stamp, box};
})"""


class Hand:
    def __init__(self, page):
        self.page = page

    def evaluate(self, expression):
        return self.page.evaluate(expression)

    def stamp(self):
        return self.evaluate("shown && shown.stamp")

    def pick(self, name):
        """The element selected from the list, as a modder picks it there."""
        self.evaluate(f"""(() => {{ const list = document.getElementById("elements");
            list.value = {name!r}; list.dispatchEvent(new Event("change")); }})()""")
        wait_for(f"{name} selected", lambda: self.evaluate(f"selected === {name!r}"))

    def frame_of(self, capture):
        return f"""[...document.querySelectorAll("figure")].find(f => f.dataset.key.startsWith({capture!r} + " ")).querySelector(".frame")"""

    def point(self, capture, where):
        """The page point of the selected element's outline in a capture's frame: "middle", or a
        corner handle ("nw", "ne", "sw", "se")."""
        selector = ".outer" if where == "middle" else f".outer .handle.{where}"
        return wait_for(f"{where} of the selected outline", lambda: self.evaluate(f"""(() => {{
  const frame = {self.frame_of(capture)};
  const at = frame && frame.querySelector({selector!r});
  if (!at) return null;
  const r = at.getBoundingClientRect();
  return [r.left + r.width / 2, r.top + r.height / 2];
}})()"""))

    def box(self, capture, name):
        """The box around the element's parts as the page has them from the last render."""
        return self.evaluate(f"""(() => {{ const c = shown.captures.find(c => c.name === {capture!r});
            return c && outerOf(partsOf(c, [{name!r}])); }})()""")

    def drag(self, start, by, modifiers=0, release=True):
        x, y = start
        ask = lambda kind, at, buttons: self.page.ask(
            "Input.dispatchMouseEvent", self.page.session, type=kind, x=at[0], y=at[1],
            button="left", buttons=buttons, clickCount=1, modifiers=modifiers)
        ask("mousePressed", (x, y), 1)
        for step in range(1, 11):
            ask("mouseMoved", (x + by[0] * step / 10, y + by[1] * step / 10), 1)
        if release:
            ask("mouseReleased", (x + by[0], y + by[1]), 0)

    def ink(self, capture, rgb, window, after=None, faintest=48):
        """The ink box of the colour within the window, in a frame newer than the stamp given;
        pixels darker than faintest in every channel are the background's."""
        def measured():
            found = self.evaluate(f"{INK}({capture!r}, {list(rgb)}, {list(window)}, {faintest})")
            return found if found and found["stamp"] != after and found["box"] else None
        return wait_for(f"ink of {rgb} in {capture} after {after}", measured, 600)

    def status(self):
        return self.evaluate('document.getElementById("status").textContent')


def grown(box, by):
    return [box[0] - by, box[1] - by, box[2] + by, box[3] + by]


def near(a, b, within):
    return all(abs(x - y) <= within for x, y in zip(a, b))

