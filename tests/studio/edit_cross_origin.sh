#!/usr/bin/env bash
# The layout editor against a page served from another port of 127.0.0.1, in the same Chromium
# profile as the editor's own page: the editor's page changes a value and undoes it there, takes
# a typed value, refuses one the HUD would not take as written, saying why, and resets the money
# to its shipped values, each undone by Ctrl+Z; then the other page tries what any page may do without the token: a no-cors fetch of /set
# and /undo with text/plain, a form POST, and the editor's data included as a script and
# fetched. Nothing is written to any settings file, and the other page reads nothing.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
start_editing --size 320x180

ADDRESS="$address" DATA="$work/data/tarvel_moravik" PYTHONPATH="$(dirname "$0")" \
    python3 - "${browser_command[@]}" --user-data-dir="$work/browser-origin" <<'EOF' || fail "see above"
import http.server, os, sys, threading, urllib.parse
from devtools import Page, wait_for

address = urllib.parse.urlsplit(os.environ["ADDRESS"])
editor = f"http://127.0.0.1:{address.port}"
data = os.environ["DATA"]
files = [os.path.join(data, name) for name in
         ("tarvel_III.ini", "color_configs/IIIColors.ini", "color_configs/VColors.ini")]
layout = files[0]

def read(path):
    with open(path, "rb") as f:
        return f.read()

# The other page: each attempt records what it could read; "done" once every attempt ended.
attempts = """<!doctype html><html><body><iframe name="sink"></iframe><script>
"use strict";
const editor = "%s";
const change = key => JSON.stringify({file: "layout", key: key, value: "7"});
window.read = [];
window.previewData = data => read.push("script data: " + JSON.stringify(data).slice(0, 80));
const ended = [];
const attempt = (what, promise) => ended.push(promise.then(
    r => r === undefined ? null : r, e => null).then(r => r && read.push(what + ": " + r)));
// A no-cors request sends text/plain, and its answer cannot be read.
for (const path of ["/set", "/place", "/undo", "/reset"])
  attempt("no-cors " + path, fetch(editor + path, {method: "POST", mode: "no-cors",
      headers: {"Content-Type": "text/plain"}, body: change("HUD_SCALE"), credentials: "include"})
      .then(() => undefined));
// A form posts its field as text: name=value reads as the JSON of a change.
attempt("form", new Promise(done => {
  const form = document.createElement("form");
  form.method = "POST";
  form.enctype = "text/plain";
  form.action = editor + "/set";
  form.target = "sink";
  const field = form.appendChild(document.createElement("input"));
  field.name = '{"file": "layout", "key": "RADAR_TYPE", "value": "1", "x": "';
  field.value = '"}';
  document.body.appendChild(form);
  document.querySelector("iframe").onload = () => done(undefined);
  form.submit();
}));
// The data, included as a script (which runs whatever its origin) and fetched.
for (const path of ["/preview-data.js", "/preview-data.json", "/preview-data.js?after=none"])
  attempt("script " + path, new Promise(done => {
    const script = document.createElement("script");
    script.src = editor + path;
    script.onload = script.onerror = () => done(undefined);
    document.head.appendChild(script);
  }));
attempt("fetch data", fetch(editor + "/preview-data.json", {credentials: "include"})
    .then(r => r.text()));
Promise.all(ended).then(() => { window.done = true; });
</script></body></html>""" % editor

class Other(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = attempts.encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
other = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Other)
threading.Thread(target=other.serve_forever, daemon=True).start()

page = Page(sys.argv[1:], os.environ["ADDRESS"])
# The editor's own page, in this profile, shows its frame and changes a value, then undoes it.
wait_for("the editor's frame", lambda: page.evaluate("""(() => {
  const image = document.querySelector(".frame img");
  return image && image.complete && image.naturalWidth > 0;
})()"""))
before = [read(path) for path in files]
answer = page.evaluate('post("set", {file: "layout", key: "MONEY_POS_TOP", value: "31"})')
if not answer.get("applied") or b"\nMONEY_POS_TOP = 31" not in read(layout):
    sys.exit(f"the editor's own page could not change a value: {answer}")
answer = page.evaluate('post("undo", {})')
if read(layout) != before[0]:
    sys.exit(f"the editor's own page could not undo its change: {answer}")

# A value typed into the money's panel: Enter writes it; one the HUD would not take as written
# is refused with the reader's finding, shown on the page, and nothing is written. Reset puts
# back the shipped value in one change, which Ctrl+Z takes back.
page.evaluate("""(() => { const list = document.getElementById("elements");
  list.value = "money"; list.dispatchEvent(new Event("change")); })()""")
def type_into(key, text):
    wait_for(f"the field of {key}", lambda: page.evaluate(f"""(() => {{
  const field = [...document.querySelectorAll("#chosen input")].find(i => i.dataset.typed === "{key}");
  if (!field) return false;
  field.focus();
  field.select();
  return true;
}})()"""))
    page.ask("Input.insertText", page.session, text=text)
    page.press("Enter", 13)
def becomes(expected, what):
    wait_for(what, lambda: read(layout) == expected, 60)
type_into("MONEY_POS_TOP", "47")
typed = before[0].replace(b"\nMONEY_POS_TOP = 30\n", b"\nMONEY_POS_TOP = 47\n")
assert typed != before[0], "no line MONEY_POS_TOP = 30"
becomes(typed, "the typed value in the file")
type_into("MONEY_POS_TOP", "4,7.5")
said = wait_for("the finding of 4,7.5", lambda: page.evaluate(
    'document.getElementById("status").textContent.includes("is read as 4") && '
    'document.getElementById("status").textContent'))
if read(layout) != typed:
    sys.exit(f"a value the HUD would not take as written was written: {said}")
print("refused as:", said)
page.evaluate("""[...document.querySelectorAll("#chosen button")]
    .find(b => b.textContent.startsWith("Reset money")).click()""")
becomes(before[0], "the money reset to its shipped values")
# Ctrl+Z once the page shows the file's value, outside any text field.
def undo_shown(value):
    wait_for(f"the page showing {value}", lambda: page.evaluate(
        'shown.settings.MONEY_POS_TOP.value') == value, 120)
    page.evaluate("document.activeElement.blur()")
    page.press("z", 90, modifiers=2)
undo_shown("30")
becomes(typed, "the reset undone by Ctrl+Z")
undo_shown("47")
becomes(before[0], "the typed value undone by Ctrl+Z")

page.ask("Page.navigate", page.session, url=f"http://127.0.0.1:{other.server_port}/")
wait_for("the other page's attempts", lambda: page.evaluate("window.done === true"), 120)
got = page.evaluate("window.read")
changed = [path for path, bytes in zip(files, before) if read(path) != bytes]
if got or changed:
    sys.exit(f"a page of another port read {got} and changed {changed}")
EOF
stop_watching
echo "cross-origin ok"
