#!/usr/bin/env python3
"""How soon the layout editor's page shows a drag: preview --edit on a copy of the shipped data
at three sizes, driven over HTTP as the page drives it. Twenty drags of the money in the
1280x720 frame, alternately left-down and right-up, each timed from sending POST /place until
the page's data announces a 1280x720 frame with the money's box moved by the drag and its
image has been fetched; then until every size was rendered again. Figures, not a test.

    bench_edit.py BUILD_FOLDER
"""
import http.client, json, os, shutil, signal, statistics, subprocess, sys, tempfile, time
import urllib.parse

DRAGS = 20
SIZES = ["1920x1080", "1280x720", "1024x768"]  # the edited size is not the first
EDITED = (1280, 720)
STEP = (-60, 30)  # px, then back

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
preview = os.path.join(build, "tools", "preview", "preview.exe")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def wait_for(what, test, seconds=300, pause=0.005):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = test()
        if result:
            return result
        time.sleep(pause)
    sys.exit(f"bench_edit: no {what} within {seconds} s")


class Editor:
    def __init__(self, address):
        parts = urllib.parse.urlsplit(address)
        self.port = parts.port
        self.token = urllib.parse.parse_qs(parts.query)["token"][0]

    def ask(self, method, path, body=None, timeout=60):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        headers = {"X-Tarvel-Token": self.token}
        if body is not None:
            headers["Content-Type"] = "application/json"
        connection.request(method, path, body, headers)
        response = connection.getresponse()
        answer = response.status, response.read()
        connection.close()
        return answer

    # The page's data once it differs from the stamp given, asked for as the page does: every
    # tenth of a second while the server answers that it is unchanged (204), every half second
    # from a server that answers with the same data.
    def data_after(self, stamp):
        while True:
            status, body = self.ask("GET", f"/preview-data.json?after={stamp}")
            if status == 204:
                time.sleep(0.1)
                continue
            if status != 200:
                sys.exit(f"bench_edit: the page's data: {status} {body[:200]!r}")
            data = json.loads(body)
            if data["stamp"] != stamp:
                return data
            time.sleep(0.5)


def money_box(data):
    for capture in data["captures"]:
        if capture["name"] == "hud" and (capture["width"], capture["height"]) == EDITED:
            return next((box for box in capture["boxes"] if box["name"] == "money"), None)
    return None


def main():
    if not os.path.exists(preview):
        sys.exit(f"bench_edit: no {preview}; build first")
    work = tempfile.mkdtemp(prefix="bench_edit_")
    shutil.copytree(os.path.join(root, "data"), os.path.join(work, "data"))
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
                                   stderr=subprocess.STDOUT, env=env)
    try:
        run(log_path)
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(60)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        shutil.rmtree(work, ignore_errors=True)


def renders(log_path):
    with open(log_path, "rb") as log:
        return sum(line.startswith(b"rendered ") for line in log)


def run(log_path):
    wait_for("first render", lambda: renders(log_path) >= 1)
    with open(log_path, "rb") as log:
        line = next(l for l in log if l.startswith(b"editor at "))
    editor = Editor(line.decode().split()[-1])
    data = editor.data_after(-1)
    to_frame, to_all = [], []
    for drag in range(DRAGS):
        box = money_box(data)
        if not box:
            sys.exit("bench_edit: no money in the 1280x720 frame of the capture hud")
        sign = 1 if drag % 2 == 0 else -1
        dx, dy = sign * STEP[0], sign * STEP[1]
        wanted = [box["box"][0] + dx, box["box"][1] + dy]
        left, top, right, bottom = box["box"]
        body = json.dumps({"width": EDITED[0], "height": EDITED[1], "keys": box["keys"],
                           "from": box["box"], "to": [left + dx, top + dy, right + dx, bottom + dy]})
        rendered = renders(log_path)
        start = time.perf_counter()
        status, answer = editor.ask("POST", "/place", body)
        if status != 200:
            sys.exit(f"bench_edit: POST /place: {status} {answer[:200]!r}")
        while True:
            data = editor.data_after(data["stamp"])
            moved = money_box(data)
            if moved and all(abs(a - b) <= 1.5 for a, b in zip(moved["box"], wanted)):
                break
        image = next(c["image"] for c in data["captures"]
                     if c["name"] == "hud" and (c["width"], c["height"]) == EDITED)
        status, png = editor.ask("GET", f"/{image}?v={data['stamp']}")
        if status != 200 or not png.startswith(b"\x89PNG"):
            sys.exit(f"bench_edit: the frame {image}: {status}")
        to_frame.append(time.perf_counter() - start)
        wait_for("render of every size", lambda: renders(log_path) > rendered, 120)
        to_all.append(time.perf_counter() - start)
        # The last page data of the render: the next drag starts from it.
        data = json.loads(open_data(editor))
    report("edit to its 1280x720 frame on the page", to_frame)
    report("edit to every size rendered", to_all)


def open_data(editor):
    status, body = editor.ask("GET", "/preview-data.json")
    return body.decode()


def report(what, seconds):
    ms = sorted(s * 1000 for s in seconds)
    print(f"{what} ({len(ms)} drags at {EDITED[0]}x{EDITED[1]}, sizes {' '.join(SIZES)}): "
          f"median {statistics.median(ms):.0f} ms, worst {ms[-1]:.0f} ms")


if __name__ == "__main__":
    main()
