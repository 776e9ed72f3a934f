#!/usr/bin/env python3
"""How soon the layout editor's page shows a drag: preview --edit on a copy of the shipped data
at three sizes, driven by headless Chromium as a modder's mouse drives the page (pointer down on
the money's outline in the 1280x720 frame, moves, up). Twenty drags, alternately left-down and
right-up, each timed in the page from the release until its 1280x720 image of the hud capture
shows the money moved and has loaded; then until the preview has rendered every size again.
The drags run on an idle machine, then with two busy processes the bench starts and ends
itself. Then a soak: edits one after another, each waited for until it is rendered, with the
running game's handles and memory after 10 and after all of them. Figures, not a test.

    bench_edit.py BUILD_FOLDER    (BENCH_DRAGS=N and BENCH_EDITS=N set the drags of each run, 20,
                                   and the soak's edits, 500)
"""
import glob, http.client, json, multiprocessing, os, shutil, signal, statistics, subprocess
import sys, tempfile, time, urllib.parse

DRAGS = int(os.environ.get("BENCH_DRAGS", "20"))
SIZES = ["1920x1080", "1280x720", "1024x768"]  # the edited size is not the first
EDITED = "hud 1280x720"
STEP = (-40, 20)  # px on the page, then back
EDITS = int(os.environ.get("BENCH_EDITS", "500"))

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
preview = os.path.join(build, "tools", "preview", "preview.exe")
sys.path.insert(0, os.path.join(root, "tests", "studio"))
from devtools import Page  # noqa: E402


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wait_for(what, test, seconds=600, pause=0.02):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = test()
        if result:
            return result
        time.sleep(pause)
    sys.exit(f"bench_edit: no {what} within {seconds} s")


def renders(log_path):
    with open(log_path, "rb") as log:
        return sum(line.startswith(b"rendered ") for line in log)


# In the page: the money's outline in the edited frame, its box and where it shows.
MONEY = """(() => {
  const figure = document.querySelector('figure[data-key="%s"]');
  const outline = figure && [...figure.querySelectorAll(".box")].find(o => o.dataset.name === "money");
  if (!outline || !shown) return null;
  const r = outline.getBoundingClientRect();
  const capture = shown.captures.find(c => c.name + " " + c.width + "x" + c.height === "%s");
  return {x: r.left + r.width / 2, y: r.top + r.height / 2,
          scale: capture.width / figure.querySelector(".frame").clientWidth,
          box: capture.boxes.find(b => b.name === "money").box, stamp: shown.stamp};
})()""" % (EDITED, EDITED)

# Set before the release: window.editedMs becomes the milliseconds until the edited frame on the page
# shows the money at the place wanted, its image loaded.
ARM = """window.editedMs = null; (() => {
  const start = performance.now();
  const check = () => {
    const figure = document.querySelector('figure[data-key="%s"]');
    const image = figure && figure.querySelector("img");
    const capture = shown && shown.captures.find(c => c.name + " " + c.width + "x" + c.height === "%s");
    const box = capture && capture.boxes.find(b => b.name === "money");
    if (box && Math.abs(box.box[0] - %%f) <= 1.5 && Math.abs(box.box[1] - %%f) <= 1.5 &&
        image && image.complete && image.naturalWidth > 0 && image.src.endsWith("v=" + shown.stamp))
      window.editedMs = performance.now() - start;
    else setTimeout(check, 2);
  };
  check();
})(); true""" % (EDITED, EDITED)


def drags(page, log_path, label):
    to_frame, to_all = [], []
    for drag in range(DRAGS):
        money = wait_for("money's outline", lambda: page.evaluate(MONEY))
        sign = 1 if drag % 2 == 0 else -1
        dx, dy = sign * STEP[0], sign * STEP[1]
        page.evaluate(ARM % (money["box"][0] + dx * money["scale"],
                             money["box"][1] + dy * money["scale"]))
        rendered = renders(log_path)
        x, y = money["x"], money["y"]
        page.mouse("mousePressed", x, y)
        for step in range(1, 6):
            page.mouse("mouseMoved", x + dx * step / 5, y + dy * step / 5)
        start = time.perf_counter()
        page.mouse("mouseReleased", x + dx, y + dy)
        to_frame.append(wait_for("edited frame on the page",
                                 lambda: page.evaluate("window.editedMs")) / 1000)
        wait_for("render of every size", lambda: renders(log_path) > rendered)
        to_all.append(time.perf_counter() - start)
    report(f"release to its {EDITED} frame on the page, {label}", to_frame)
    report(f"release to every size rendered, {label}", to_all)
    return statistics.median(to_frame)


def report(what, seconds):
    ms = sorted(s * 1000 for s in seconds)
    print(f"{what} ({len(ms)} drags): median {statistics.median(ms):.0f} ms, "
          f"worst {ms[-1]:.0f} ms", flush=True)


def busy():
    while True:
        pass


def health(game):
    """The running game's own figures after its last render, by name."""
    with open(os.path.join(game, "game_health")) as f:
        words = f.read().split()
    return {words[i]: int(words[i + 1]) for i in range(0, len(words) - 1, 2)}


def game_directory(marker):
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    for layout in glob.glob(f"{prefix}/drive_c/users/*/*Temp/tarvel_preview_*/tarvel_moravik/tarvel_III.ini") + \
            glob.glob(f"{prefix}/drive_c/users/*/AppData/Local/Temp/tarvel_preview_*/tarvel_moravik/tarvel_III.ini"):
        with open(layout, encoding="utf-8", errors="replace") as f:
            if marker in f.read():
                return os.path.dirname(os.path.dirname(layout))
    return None


def temp_folders():
    prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
    return len(glob.glob(f"{prefix}/drive_c/users/*/*Temp/tarvel_preview_*") +
               glob.glob(f"{prefix}/drive_c/users/*/AppData/Local/Temp/tarvel_preview_*"))


def soak(address, log_path, game):
    """Edits one after another, each rendered before the next; the game's figures after 10
    and after all of them."""
    parts = urllib.parse.urlsplit(address)
    token = urllib.parse.parse_qs(parts.query)["token"][0]
    after = {}
    for edit in range(1, EDITS + 1):
        rendered = renders(log_path)
        connection = http.client.HTTPConnection("127.0.0.1", parts.port, timeout=600)
        connection.request("POST", "/set", json.dumps(
            {"file": "layout", "key": "MONEY_POS_TOP", "value": str(30 + edit % 7)}),
            {"X-Tarvel-Token": token, "Content-Type": "application/json"})
        if not json.loads(connection.getresponse().read()).get("applied"):
            sys.exit(f"bench_edit: edit {edit} was not applied")
        connection.close()
        wait_for(f"render of edit {edit}", lambda: renders(log_path) > rendered)
        if edit in (10, EDITS):
            after[edit] = dict(health(game), temp=temp_folders())
    first, last = after[10], after[EDITS]
    grown = 100.0 * (last["memory"] - first["memory"]) / first["memory"]
    print(f"running game after 10 edits: {first['handles']} handles, "
          f"{first['memory'] / 2**20:.1f} MB, {first['temp']} game folders in the temp folder; "
          f"after {EDITS}: {last['handles']} handles, {last['memory'] / 2**20:.1f} MB "
          f"({grown:+.1f} %), {last['temp']} game folders; game process "
          f"{'the same' if first['process'] == last['process'] else 'replaced'}", flush=True)
    cost = health(game)
    print(f"last render by stage: {cost['render_ms']} ms in the game, its first page after "
          f"{cost['first_page_ms']} ms; PNG encoding {cost['encoding_ms']} ms, "
          f"page data {cost['pages_ms']} ms, the rest playing the scenario", flush=True)


def main():
    if not os.path.exists(preview):
        sys.exit(f"bench_edit: no {preview}; build first")
    work = tempfile.mkdtemp(prefix="bench_edit_")
    shutil.copytree(os.path.join(root, "data"), os.path.join(work, "data"))
    marker = f"# bench {os.getpid()} {time.time()}"
    with open(os.path.join(work, "data", "tarvel_moravik", "tarvel_III.ini"), "a") as f:
        f.write("\n" + marker + "\n")
    os.mkdir(os.path.join(work, "out"))
    log_path = os.path.join(work, "log")
    env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    command = ["wine", preview, "--edit", "--fill-art",
               "--data", windows_path(os.path.join(work, "data")),
               "--scenario", windows_path(os.path.join(root, "tools", "preview", "default.scenario")),
               "--out", windows_path(os.path.join(work, "out"))]
    for size in SIZES:
        command += ["--size", size]
    with open(log_path, "wb") as log:
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT, env=env, start_new_session=True)
    loads = []
    try:
        wait_for("first render", lambda: renders(log_path) >= 1)
        with open(log_path, "rb") as log:
            address = next(l for l in log if l.startswith(b"editor at ")).decode().split()[-1]
        page = Page(["timeout", "3600", "chromium", "--headless", "--no-sandbox", "--disable-gpu",
                     "--no-first-run", "--disable-background-networking", "--hide-scrollbars",
                     f"--user-data-dir={work}/browser", "--window-size=1312,8000"], address)
        idle = drags(page, log_path, "idle")
        loads = [multiprocessing.Process(target=busy, daemon=True) for _ in range(2)]
        for load in loads:
            load.start()
        loaded = drags(page, log_path, "two busy processes")
        print(f"loaded median / idle median: {loaded / idle:.1f} x", flush=True)
        for load in loads:
            load.terminate()
            load.join()
        loads = []
        print("frames of the dragged element shown per second during a drag: 0 "
              "(the page draws the real element only after the release)", flush=True)
        page.close()
        soak(address, log_path, game_directory(marker))
    finally:
        for load in loads:
            load.terminate()
        os.killpg(process.pid, signal.SIGTERM)
        try:
            process.wait(60)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
