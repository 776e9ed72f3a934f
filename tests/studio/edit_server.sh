#!/usr/bin/env bash
# preview --edit on a copied data folder, asked only at 127.0.0.1: a request without the token,
# with a wrong one, addressed by another name, sent by a page of another origin or as a type a
# form can send is refused, a body larger than any edit too; no cookie stands for the token;
# the page's data (JSON, never a script) asked for with the stamp shown is empty until a change
# is rendered; /set refuses a key the HUD does not read from the file and a value it would not
# take as written, saying why, and writes nothing for a value the file holds already;
# POST /set changes the one value in the layout file and leaves every other byte (also in a
# UTF-16 file), and a save made in another editor between two changes is kept, a line it
# changed too. POST /place writes an element's keys in one save, which POST /undo takes back and
# POST /redo makes again, but not over another editor's save; nudges sent at once each count,
# and a number or box that maps past a float's range is refused; the size a place was made at is
# drawn before the others. In headless Chromium the page it serves shows its frames.
# Ended by a plain kill, it leaves no copy in Wine's temp folder.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
start_editing --size 256x144 --size 320x180

ADDRESS="$address" LAYOUT="$layout" OUT="$work/out" ROOT="$root" WORK="$work" python3 - <<'EOF' || fail "see above"
import http.client, json, os, re, sys, time, urllib.parse

address = urllib.parse.urlsplit(os.environ["ADDRESS"])
port, token = address.port, urllib.parse.parse_qs(address.query)["token"][0]
layout = os.environ["LAYOUT"]
assert len(token) == 32, token

def ask(method, path, body=None, host=None, headers={}):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=60)
    connection.putrequest(method, path, skip_host=True)
    connection.putheader("Host", host or f"127.0.0.1:{port}")
    for name, value in headers.items():
        connection.putheader(name, value)
    if body is not None:
        if "Content-Type" not in headers:
            connection.putheader("Content-Type", "application/json")
        connection.putheader("Content-Length", str(len(body)))
    connection.endheaders(body)
    response = connection.getresponse()
    answer = response.status, response.getheaders(), response.read()
    connection.close()
    return answer

# Waits for an outcome: until it comes, or a bound no render on a busy machine reaches.
def until(seconds=900):
    deadline = time.time() + seconds
    while time.time() < deadline:
        yield
        time.sleep(0.1)

def expect(status, answer, what):
    if answer[0] != status:
        sys.exit(f"{what}: {answer[0]} {answer[2][:200]!r}, expected {status}")
    if any(name.lower().startswith("access-control-") for name, _ in answer[1]):
        sys.exit(f"{what}: a cross-origin header in {answer[1]}")

expect(403, ask("GET", "/"), "no token")
expect(403, ask("GET", "/?token=" + "0" * 32), "a wrong token")
expect(403, ask("GET", f"/?token={token}", host=f"elsewhere.example:{port}"), "a foreign Host")
for host in (f"localhost.elsewhere.example:{port}", f"127.0.0.1:{port}.elsewhere.example",
             f"127.0.0.1:{port}0", "127.0.0.1"):
    expect(403, ask("GET", f"/?token={token}", host=host), f"the Host {host}")
expect(403, ask("GET", f"/?token={token[:-1]}"), "a token short of a letter")
page = ask("GET", f"/?token={token}", host=f"localhost:{port}")
expect(200, page, "the page")
assert b"<html" in page[2].lower(), page[2][:100]
# No cookie: a browser would send it with the requests of any page of this host.
assert not [v for n, v in page[1] if n.lower() == "set-cookie"], page[1]
# The page's own requests carry the token in a header, its frames' addresses in the query.
header = {"X-Tarvel-Token": token}
data = ask("GET", "/preview-data.json", headers=header)
expect(200, data, "the page's data")
assert json.loads(data[2])["stamp"] is not None and dict(data[1])["Content-Type"] == "application/json"
expect(404, ask("GET", "/preview-data.js", headers=header), "the data as a script")
expect(200, ask("GET", f"/hud_320x180.png?v=1&token={token}"), "a frame")
expect(403, ask("GET", "/hud_320x180.png?v=1", headers={"Cookie": f"tarvel_edit_{port}={token}"}),
       "a frame by a cookie")
expect(404, ask("GET", "/tarvel_III.ini", headers=header), "a file not served")
expect(413, ask("POST", f"/set?token={token}", b" " * 100_000), "a body of 100 KB")

def set_value(value, file="layout", key="MONEY_POS_TOP"):
    body = json.dumps({"file": file, "key": key, "value": value}).encode()
    answer = ask("POST", f"/set?token={token}", body)
    expect(200, answer, f"setting {key} to {value}")
    return json.loads(answer[2])

def read():
    with open(layout, "rb") as f:
        return f.read()

# The original with only the value of MONEY_POS_TOP's line replaced.
def with_value(text, value):
    changed, count = re.subn(r"(?m)^(MONEY_POS_TOP = )30$", r"\g<1>" + value, text, count=1)
    assert count == 1, "no line MONEY_POS_TOP = 30"
    return changed

def save_in_another_editor(data):
    with open(layout + ".other", "wb") as f:
        f.write(data)
    os.replace(layout + ".other", layout)

# The files written are the editor's own three, by name: no path comes from a request.
body = json.dumps({"file": "../tarvel_moravik/tarvel_III.ini", "key": "MONEY_POS_TOP",
                   "value": "1"}).encode()
expect(400, ask("POST", f"/set?token={token}", body), "a path for a file")

# The page asks for its data with the stamp it shows: nothing while that is the latest, the
# render of a change once there is one.
def data_after(stamp):
    status, _, body = ask("GET", f"/preview-data.json?after={stamp}", headers={"X-Tarvel-Token": token})
    return status, body and json.loads(body)
shown = data_after("none")[1]["stamp"]
status, data = data_after(shown)
assert status == 204 and not data, f"unchanged data sent again: {status}"

# Before any other change, so that no render is under way: a place at 320x180, the second size
# given, is drawn at that size first; undone, the file is as it was.
frames = [os.path.join(os.environ["OUT"], f"hud_{size}.png") for size in ("320x180", "256x144")]
since = max(os.stat(frame).st_mtime_ns for frame in frames)
placed = ask("POST", f"/place?token={token}", json.dumps(
    {"width": 320, "height": 180, "keys": ["MONEY_POS_RIGHT"],
     "from": [100, 20, 140, 30], "to": [90, 20, 130, 30]}).encode())
expect(200, placed, "a place")
for _ in until():
    if all(os.stat(frame).st_mtime_ns > since for frame in frames): break
else:
    sys.exit("no render of both sizes after a place")
edited, other = (os.stat(frame).st_mtime_ns for frame in frames)
if not edited < other:
    sys.exit("the size the place was made at was not drawn first")
expect(200, ask("POST", f"/undo?token={token}", b"{}"), "undoing the place")

# A change sent from a page of another origin, or as a type a form or a no-cors fetch can
# send, is refused even with the token; from the editor's own origin it is made.
change = json.dumps({"file": "layout", "key": "MONEY_POS_TOP", "value": "31"}).encode()
unchanged = read()
for origin in (f"http://127.0.0.1:{port + 1}", "null", f"http://localhost.elsewhere.example:{port}"):
    expect(403, ask("POST", "/set", change, headers={**header, "Origin": origin}), f"from {origin}")
for kind in ("text/plain", "application/x-www-form-urlencoded", "multipart/form-data; boundary=x",
             "application/jsonp", "text/plain; application/json"):
    expect(403, ask("POST", "/set", change, headers={**header, "Content-Type": kind}), f"as {kind}")
if read() != unchanged:
    sys.exit("a refused change was written")
expect(200, ask("POST", "/set", change, headers={**header, "Origin": f"http://127.0.0.1:{port}",
                                                 "Content-Type": "application/json; charset=utf-8"}),
       "a change from the editor's own origin")
if read() != with_value(unchanged.decode(), "31").encode():
    sys.exit("a change from the editor's own origin was not written")
expect(200, ask("POST", "/undo", b"{}", headers=header), "undoing it")
assert read() == unchanged

# Only a key the HUD reads from that file, with a value it takes as written: the reader's own
# finding says why not; nothing is written.
def refused_set(file, key, value, why):
    answer = ask("POST", f"/set?token={token}",
                 json.dumps({"file": file, "key": key, "value": value}).encode())
    expect(400, answer, f"setting {key} to {str(value)[:20]} in {file}")
    if why not in json.loads(answer[2])["error"] or read() != unchanged:
        sys.exit(f"{key} = {str(value)[:20]}: {answer[2][:300]!r}")
refused_set("layout", "NOT_A_KEY", "1", "not a key the HUD reads")
refused_set("layout", "MONEY_COLOR", "1 2 3 255", "read from the colour file")
refused_set("VColors", "MONEY_POS_TOP", "1", "read from the layout")
refused_set("layout", "MONEY_POS_TOP", "x" * 5000, "holds no number the HUD can read")
refused_set("layout", "MONEY_POS_TOP", 16777217, "16777216")

# A value the file holds already writes nothing, and says so.
stamp = os.stat(layout).st_mtime_ns, os.stat(layout).st_ino
answer = set_value("30")
if answer["applied"] or "already" not in answer.get("note", "") or \
        (os.stat(layout).st_mtime_ns, os.stat(layout).st_ino) != stamp:
    sys.exit(f"a value the file held already was written: {answer}")


original = read()
answer = set_value("312.5")
if read() != with_value(original.decode(), "312.5").encode():
    sys.exit(f"the layout file changed beyond the value: {answer}")
assert answer["applied"] and answer["line"] == 21 and not answer["tookAnotherSave"], answer
for _ in until():
    status, data = data_after(shown)
    if status == 200 and data["settings"]["MONEY_POS_TOP"]["value"] == "312.5": break
else:
    sys.exit(f"no data of the change: {status}")

# Another editor appends a comment: the next change keeps it and says so.
note = b"# a note from another editor\n"
save_in_another_editor(read() + note)
answer = set_value("-3")
if read() != with_value(original.decode(), "-3").encode() + note:
    sys.exit(f"the other editor's save was not kept: {answer}")
assert answer["tookAnotherSave"], answer

# The same file in UTF-16 LE with its mark, saved by another editor that also set the value
# back to 30: that change is kept and said, and the next is made on its text, staying UTF-16.
text = original.decode()
save_in_another_editor(b"\xff\xfe" + text.encode("utf-16-le"))
answer = ask("POST", f"/set?token={token}", json.dumps(
    {"file": "layout", "key": "MONEY_POS_TOP", "value": "60"}).encode())
expect(409, answer, "a change of a line another editor changed since")
if read() != b"\xff\xfe" + text.encode("utf-16-le") or b"another editor" not in answer[2]:
    sys.exit(f"the other editor's change of the line was overwritten: {answer[2]}")
answer = set_value("60")
if read() != b"\xff\xfe" + with_value(text, "60").encode("utf-16-le"):
    sys.exit(f"the UTF-16 file changed beyond the value: {answer}")
assert answer["applied"] and answer["line"] == 21, answer

# An element placed: both its keys in one save, which one undo takes back to the exact bytes.
# At 320x180 a unit of MONEY_POS_RIGHT spans 180/480 = 0.375 px and one of MONEY_POS_TOP
# 180/448 px: 30 px left and 18 px down make 33 + 80 = 113 and 30 + 44.8 = 74.8.
def post(path, body):
    answer = ask("POST", f"/{path}?token={token}", json.dumps(body).encode())
    return answer[0], json.loads(answer[2])
# Saved back as it was in another editor first, which changes the line of MONEY_POS_TOP: the
# first place is refused, the next made on that text.
save_in_another_editor(original)
for expected in (409, 200):
    status, answer = post("place", {"width": 320, "height": 180,
                                    "keys": ["MONEY_POS_TOP", "MONEY_POS_RIGHT", "MONEY_COLOR"],
                                    "from": [100, 20, 140, 30], "to": [70, 38, 110, 48]})
    if status != expected or (status == 409 and read() != original):
        sys.exit(f"a place after another editor's save of its line: {status} {answer}")
placed = re.sub(r"(?m)^(MONEY_POS_RIGHT = )33$", r"\g<1>113", with_value(original.decode(), "74.8"))
if status != 200 or read() != placed.encode():
    sys.exit(f"placing the money changed other bytes or missed a key: {status} {answer}")
status, answer = post("undo", {})
if status != 200 or read() != original:
    sys.exit(f"one undo did not bring back the file before the place: {status} {answer}")
status, answer = post("redo", {})
if status != 200 or read() != placed.encode():
    sys.exit(f"redo did not place the money again: {status} {answer}")

# Saved in another editor since: undo overwrites nothing and says so.
save_in_another_editor(read() + note)
status, answer = post("undo", {})
if status != 409 or "another editor" not in answer.get("error", "") or read() != placed.encode() + note:
    sys.exit(f"undo after another editor's save: {status} {answer}")

# A number no float holds, or a box that maps a key past one, is refused: neither empties a value.
before = read()
expect(400, ask("POST", f"/set?token={token}", json.dumps(
    {"file": "layout", "key": "MONEY_POS_TOP", "value": 1e39}).encode()), "a value of 1e39")
status, answer = post("place", {"width": 320, "height": 180, "keys": ["MONEY_POS_RIGHT"],
                                "from": [0, 0, 1, 1], "to": [0, 0, 1e36, 1e-36]})
if status != 400 or read() != before:
    sys.exit(f"a box stretched 1e36 times across: {status} {answer}")

# Eight nudges at once, as a held arrow key sends them, of one unit each (0.375 px): eight units.
import threading
nudges = [threading.Thread(target=post, args=("place", {
    "width": 320, "height": 180, "keys": ["MONEY_POS_RIGHT"],
    "from": [100, 20, 140, 30], "to": [100.375, 20, 140.375, 30]})) for _ in range(8)]
for nudge in nudges: nudge.start()
for nudge in nudges: nudge.join()
if read() != before.replace(b"MONEY_POS_RIGHT = 113", b"MONEY_POS_RIGHT = 105"):
    sys.exit(f"eight nudges at once: {re.findall(rb'MONEY_POS_RIGHT = [0-9.]*', read())}")

# A wheel multiplier the HUD cannot use is drawn as the built-in 1.95: twice the size is 0.975.
# A move of less than a hundredth of a unit writes nothing.
wheel = re.sub(rb"(?m)^(WEAP_WHEEL_SCALE_MULTIPLIER = ).*$", rb"\g<1>0", read())
save_in_another_editor(wheel)
for expected in (409, 200):
    status, answer = post("place", {"width": 320, "height": 180,
                                    "keys": ["WEAP_WHEEL_SCALE_MULTIPLIER"],
                                    "from": [100, 50, 200, 150], "to": [50, 0, 250, 200]})
if status != 200 or read() != wheel.replace(b"MULTIPLIER = 0\n", b"MULTIPLIER = 0.975\n"):
    sys.exit(f"sizing a wheel whose multiplier the HUD cannot use: {status} {answer}")
stamp = os.stat(layout).st_mtime_ns
status, answer = post("place", {"width": 320, "height": 180, "keys": ["MONEY_POS_RIGHT"],
                                "from": [100, 20, 140, 30], "to": [100.001, 20, 140.001, 30]})
if status != 200 or answer.get("applied") is not False or os.stat(layout).st_mtime_ns != stamp:
    sys.exit(f"a move of less than the keys can say was written: {status} {answer}")

# Each page undoes its own changes only: a change of another page (tab) made on top of this
# page's is not undone from here, and the refusal says so.
def as_page(page, path, body):
    answer = ask("POST", f"/{path}?token={token}", json.dumps(body).encode(),
                 headers={"X-Tarvel-Page": page})
    return answer[0], json.loads(answer[2])
def value_of_in(data, key):
    return re.search(rb"(?m)^" + key.encode() + rb" = ([^\r\n]*)", data).group(1).decode()
def value_of(key):
    return value_of_in(read(), key)
def with_key(data, key, value):
    changed, count = re.subn(rb"(?m)^(" + key.encode() + rb" = )[^\r\n]*", rb"\g<1>" + value.encode(), data, count=1)
    assert count == 1, f"no line {key}"
    return changed
base = read()
for page, key, value in (("first-tab", "MONEY_POS_TOP", "41"), ("second-tab", "MONEY_POS_RIGHT", "50")):
    status, answer = as_page(page, "set", {"file": "layout", "key": key, "value": value})
    assert status == 200 and answer["applied"], answer
both = read()
status, answer = as_page("first-tab", "undo", {})
if status != 409 or "another page" not in answer.get("error", "") or read() != both:
    sys.exit(f"a page's undo under another page's change: {status} {answer}")
status, answer = as_page("third-tab", "undo", {})
if status != 409 or read() != both:
    sys.exit(f"a page that changed nothing undid: {status} {answer}")
for page in ("second-tab", "first-tab"):
    status, answer = as_page(page, "undo", {})
    assert status == 200, (page, answer)
if read() != base:
    sys.exit(f"each page undoing its own change: {value_of('MONEY_POS_TOP')}, {value_of('MONEY_POS_RIGHT')}")
# Redone in turn, each page its own; then undone again.
for page in ("first-tab", "second-tab"):
    status, answer = as_page(page, "redo", {})
    assert status == 200, (page, answer)
if read() != both:
    sys.exit(f"each page redoing its own change: {value_of('MONEY_POS_TOP')}, {value_of('MONEY_POS_RIGHT')}")
for page in ("second-tab", "first-tab"):
    status, answer = as_page(page, "undo", {})
    assert status == 200 and as_page(page, "redo", {})[0] == 200 and as_page(page, "undo", {})[0] == 200, (page, answer)
assert read() == base

# Reset: the element's keys, then the whole file, to the values the project ships, each one
# change that one undo takes back.
with open(os.path.join(os.environ["ROOT"], "data/tarvel_moravik/tarvel_III.ini"), "rb") as f:
    shipped = f.read()
for key, value in (("MONEY_POS_RIGHT", "77"), ("WEAPON_AMMO_POS_TOP", "66")):
    set_value(value, key=key)
moved = read()
status, answer = post("reset", {"file": "layout", "keys": ["MONEY_POS_RIGHT", "MONEY_POS_TOP"]})
expected = with_key(with_key(moved, "MONEY_POS_RIGHT", "33"), "MONEY_POS_TOP", "30")
if status != 200 or read() != expected:
    sys.exit(f"resetting the money: {status} {answer}")
status, answer = post("reset", {"file": "layout", "all": True})
settings = lambda data: sorted(l for l in data.replace(b"\r", b"").split(b"\n") if l and l[:1] not in b"#;")
if status != 200 or settings(read()) != settings(shipped):
    sys.exit(f"resetting the whole file: {status} {answer}")
for state in (expected, moved):
    status, answer = post("undo", {})
    if status != 200 or read() != state:
        sys.exit(f"undoing a reset: {status} {answer}")
for _ in range(2):
    post("undo", {})
assert read() == base, "the two values set before the resets were not undone"

# A read-only file is never written, and the answer says so in one message; it keeps its mark.
os.chmod(layout, 0o444)
answer = ask("POST", f"/set?token={token}", json.dumps(
    {"file": "layout", "key": "MONEY_POS_TOP", "value": "44"}).encode())
said = json.loads(answer[2])
if answer[0] == 200 or "read-only" not in said.get("error", "") or read() != base or \
        os.stat(layout).st_mode & 0o222 or any(k["outcome"] == "value replaced" for k in said["keys"]):
    sys.exit(f"a read-only file: {answer[0]} {said}")
os.chmod(layout, 0o644)

# A file that is a hard link (as mod managers deploy one) is written in place: the other name
# holds the change too, and stays one file with it.
staged = os.path.join(os.environ["WORK"], "staged_tarvel_III.ini")
os.link(layout, staged)
set_value("44")
if os.stat(staged).st_ino != os.stat(layout).st_ino or \
        read() != with_key(base, "MONEY_POS_TOP", "44"):
    sys.exit("a hard-linked file was replaced by a new file: its other name keeps the old values")
os.unlink(staged)

# Two editors of one data folder never share a temporary name: another's is in the way.
os.mkdir(layout + ".editing")
set_value("45")
os.rmdir(layout + ".editing")
if read() != with_key(base, "MONEY_POS_TOP", "45"):
    sys.exit("a change was not made while another editor's temporary name was taken")

# Saved with CR-only line ends, as old Mac editors write them: the page counts the same lines
# with a key as before, as the HUD splits them.
counted = data_after("none")[1]["settingsLines"]
save_in_another_editor(with_key(read(), "MONEY_POS_TOP", "32").replace(b"\r\n", b"\n").replace(b"\n", b"\r"))
for _ in range(1200):
    status, data = data_after("none")
    if data["settings"]["MONEY_POS_TOP"]["value"] == "32": break
    time.sleep(0.1)
else:
    sys.exit("no render of the file saved with CR-only line ends")
if data["settingsLines"] != counted:
    sys.exit(f"CR-only line ends: {data['settingsLines']!r}, not {counted!r}")

left = [n for n in os.listdir(os.path.dirname(layout)) if n.endswith(".editing")]
assert not left, f"written beside and left: {left}"
EOF

# In a browser, the page's own requests (its data, its frames) get in with the token it was
# opened with.
browser --dump-dom "$address" >"$work/page.html"
grep -q 'src="hud_320x180.png?v=' "$work/page.html" ||
    fail "the served page shows no frame: $(head -c 600 "$work/page.html")"

stop_watching
echo "edit server ok"
