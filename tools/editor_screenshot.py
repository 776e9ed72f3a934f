#!/usr/bin/env python3
"""The layout editor's picture for the README: preview --edit on data/ at 1280x720, the money
selected in headless Chromium and held in a drag with a guide showing (never dropped), the page
saved as docs/editor.png. Nothing is changed in data/.

    python3 tools/editor_screenshot.py [BUILD]     (BUILD: the build folder, build by default)
"""
import os, re, signal, subprocess, sys, tempfile, time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "studio"))
from devtools import Page, wait_for

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
preview = os.path.join(build, "tools", "preview", "preview.exe")
if not os.path.exists(preview):
    sys.exit(f"no {preview}: run make build first")


def windows_path(path):
    # Wine's drive Z: is the root folder.
    return "Z:" + path.replace("/", "\\")


with tempfile.TemporaryDirectory() as work:
    env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    # Its output in a file: a Wine program may start the Wine server, which keeps pipes open.
    log_path = os.path.join(work, "log")
    with open(log_path, "wb") as log:
        editor = subprocess.Popen(
            ["wine", preview, "--edit", "--fill-art", "--data", windows_path(root + "/data"),
             "--scenario", windows_path(root + "/tools/preview/default.scenario"),
             "--size", "1280x720", "--out", windows_path(work + "/out")],
            env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)

    def ended():
        # A plain kill: the preview then ends its game process and clears its copy away.
        editor.terminate()
        editor.wait()

    try:
        def address():
            found = re.search(r"^editor at (http://127\.0\.0\.1:\d+/\?token=[0-9a-f]+)",
                              open(log_path, errors="replace").read(), re.M)
            if not found and editor.poll() is not None:
                sys.exit("the preview ended: " + open(log_path, errors="replace").read())
            return found and found.group(1)
        at = wait_for("editor's address", address, 300)
        page = Page(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                     "--user-data-dir=" + os.path.join(work, "browser"),
                     "--window-size=1312,1180"], at)
        centre = wait_for("outline of the money", lambda: page.evaluate("""(() => {
          const outline = [...document.querySelectorAll(".frame .box")].find(
              o => o.dataset.name === "money");
          const image = document.querySelector(".frame img");
          if (!outline || !image || !image.complete || !image.naturalWidth) return null;
          const r = outline.getBoundingClientRect();
          return [r.left + r.width / 2, r.top + r.height / 2];
        })()"""))
        page.click(*centre)
        wait_for("the money's keys", lambda: page.evaluate(
            '!!document.querySelector("#chosen input[type=color]")'))
        # The money held in a drag that lines its right edge up with the ammo's, the guide
        # showing; never let go, so nothing is written.
        page.mouse("mousePressed", *centre)
        for step in range(1, 6):
            page.mouse("mouseMoved", centre[0] - 2 * step, centre[1] + 4 * step)
        time.sleep(0.5)
        page.screenshot(os.path.join(root, "docs", "editor.png"))
        page.close()
    finally:
        ended()
print("docs/editor.png written")
