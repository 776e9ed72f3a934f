"""Headless Chromium driven through its DevTools protocol over a pipe, as the studio's browser
tests and the editor's screenshot use it: a page opened at an address, JavaScript evaluated in
it, the mouse and keyboard as a modder's, and screenshots."""
import atexit, base64, json, os, select, signal, subprocess, sys, time


class Page:
    """The first page of a Chromium started on an address with --remote-debugging-pipe."""

    def __init__(self, command, address):
        # Chromium reads the protocol from its descriptor 3 and writes to 4, each message
        # ending in NUL.
        to_browser, self._from_us = os.pipe()
        self._to_us, from_browser = os.pipe()

        def descriptors():
            # Copies first: a descriptor already numbered 3 would stay closed on exec.
            reads, writes = os.dup(to_browser), os.dup(from_browser)
            os.dup2(reads, 3)
            os.dup2(writes, 4)

        self._chromium = subprocess.Popen(
            list(command) + ["--remote-debugging-pipe", address], preexec_fn=descriptors,
            close_fds=False, start_new_session=True, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        atexit.register(self.close)
        self._received, self._asked = b"", 0
        page = wait_for("page", lambda: next(
            (t["targetId"] for t in self.ask("Target.getTargets")["targetInfos"]
             if t["type"] == "page"), None))
        self.session = self.ask("Target.attachToTarget", targetId=page, flatten=True)["sessionId"]

    def close(self):
        # Its whole group, and waited for: a cleanup then removes a profile no one writes.
        try:
            os.killpg(self._chromium.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self._chromium.wait()

    def ask(self, method, session=None, **params):
        self._asked += 1
        message = {"id": self._asked, "method": method, "params": params}
        if session: message["sessionId"] = session
        os.write(self._from_us, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self._received:
                if not select.select([self._to_us], [], [], 120)[0]:
                    sys.exit(f"no answer to {method}")
                chunk = os.read(self._to_us, 1 << 16)
                if not chunk: sys.exit(f"Chromium ended while asked {method}")
                self._received += chunk
            text, self._received = self._received.split(b"\0", 1)
            answer = json.loads(text)
            if answer.get("id") == self._asked:
                if "error" in answer: sys.exit(f"{method}: {answer['error']}")
                return answer["result"]

    def evaluate(self, expression):
        """The expression's value; a promise's once it settles."""
        return self.ask("Runtime.evaluate", self.session, expression=expression,
                        returnByValue=True, awaitPromise=True)["result"].get("value")

    def mouse(self, kind, x, y, modifiers=0):
        """modifiers 1 holds Alt, 2 Ctrl, 8 Shift."""
        self.ask("Input.dispatchMouseEvent", self.session, type=kind, x=x, y=y, button="left",
                 buttons=0 if kind == "mouseReleased" else 1, clickCount=1, modifiers=modifiers)

    def click(self, x, y):
        self.mouse("mousePressed", x, y)
        self.mouse("mouseReleased", x, y)

    def press(self, key, code, modifiers=0):
        """A key pressed and let go; modifiers 2 holds Ctrl, 8 Shift."""
        for kind in ("keyDown", "keyUp"):
            self.ask("Input.dispatchKeyEvent", self.session, type=kind, key=key, code=key,
                     windowsVirtualKeyCode=code, modifiers=modifiers)

    def screenshot(self, path):
        """The page as it shows now, whole, as a PNG file."""
        shot = self.ask("Page.captureScreenshot", self.session, format="png")
        with open(path, "wb") as f:
            f.write(base64.b64decode(shot["data"]))


def wait_for(what, test, seconds=120):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = test()
        if result: return result
        time.sleep(0.2)
    sys.exit(f"no {what} within {seconds} s")
