#!/usr/bin/env bash
# A modder with nothing but the release zip unpacked: its tools/preview.exe renders their folder
# and checks it, with the release's own plug-in, fonts and scenario. Nothing of the build is
# reachable from the folder it runs in.
set -euo pipefail
source "$(dirname "$0")/release_support.sh"
unpack_release "$1"
preview() { wine "$release/tools/preview.exe" "$@"; }
# Wine's drive Z: is the root folder (no winepath: a Wine program inside $(...) may keep the
# substitution open for as long as the Wine server runs).
win() {
    local path="Z:$1"
    echo "${path//\//\\}"
}

# A modder's folder: the shipped one, with lines changed by set KEY VALUE.
mine="$work/mine"
mkdir "$mine"
cp -r "$release/tarvel_moravik" "$mine/"
ini="$mine/tarvel_moravik/tarvel_III.ini"
shipped="$(cat "$release/tarvel_moravik/tarvel_III.ini")"
set_key() { sed -i "s/^$1 *=.*/$1 = $2/" "$ini"; grep -q "^$1 = $2" "$ini"; }

# Renders: frames and the page, with the release's plug-in found one folder up.
preview --data "$(win "$mine")" --size 640x360 --out "$(win "$work/frames")" >"$work/render.txt"
for frame in hud weapon_wheel radio_wheel big_message sniper_scope; do
    [ -s "$work/frames/${frame}_640x360.png" ] || { echo "no $frame frame"; cat "$work/render.txt"; exit 1; }
done
[ -s "$work/frames/index.html" ] || { echo "no page"; exit 1; }

# The money in the see-through corner of the weapon wheel's selector is no finding.
set_key MONEY_POS_TOP 60
set_key MONEY_POS_RIGHT 250
if ! preview --check --data "$(win "$mine")" --size 1920x1080 >"$work/corner.txt"; then
    echo "the money at (60, 250) gives findings:"; cat "$work/corner.txt"; exit 1
fi

# A misspelt key, a comma pair, multiplier 0, a texture the dictionary lacks and the money out
# of sight: each named once, and exit 1.
printf '%s\n' "$shipped" >"$ini"
set_key MONEY_POS_RIGHT -150
set_key WEAP_WHEEL_SCALE_MULTIPLIER 0
set_key HUD_SCALE 0.44,0.859
printf 'RADIO_WHEL_SCALE = 120\n' >>"$ini"
# One texture looked up as the plug-in starts, one as the weapon wheel is drawn.
without() {
    local dictionary="$mine/tarvel_moravik/$1.txd"
    wine "$release/tools/texdict.exe" unpack "$(win "$dictionary")" "$(win "$work/$1")" >/dev/null
    rm "$work/$1/$2.png"
    wine "$release/tools/texdict.exe" pack "$(win "$work/$1")" "$(win "$dictionary")" >/dev/null
}
without tarvel_iii pager
without ring_iii sring
status=0
preview --check --data "$(win "$mine")" --size 1920x1080 --size 1280x720 >"$work/check.txt" ||
    status=$?
once() {
    local count
    count=$(grep -c -- "$1" "$work/check.txt" || true)
    [ "$count" = 1 ] || { echo "'$1' is named $count times:"; cat "$work/check.txt"; exit 1; }
}
once 'RADIO_WHEL_SCALE is no key the HUD reads'
once 'HUD_SCALE = 0.44,0.859 is read as 0.44'
once 'WEAP_WHEEL_SCALE_MULTIPLIER = 0 must be above 0: it takes its built-in default 1.95'
once 'tarvel_iii.txd lacks the texture "pager"'
once 'ring_iii.txd lacks the texture "sring"'
once '^money text .* is entirely off the screen'
once 'keys: money: MONEY_POS_TOP, MONEY_POS_RIGHT, MONEY_SCALE'
[ "$status" = 1 ] || { echo "the check ended with $status"; cat "$work/check.txt"; exit 1; }

# A plain run lists the same settings findings and missing textures, on the console and on the
# page, and --log hands over what the plug-in wrote during the run.
preview --data "$(win "$mine")" --size 640x360 --out "$(win "$work/plain")" \
    --log "$(win "$work/plain.log")" >"$work/plain.txt" || { echo "plain run:"; cat "$work/plain.txt"; exit 1; }
for said in 'RADIO_WHEL_SCALE is no key the HUD reads' 'tarvel_iii.txd lacks the texture \"pager\"' \
    'ring_iii.txd lacks the texture \"sring\"' 'problems (3 in the settings, 2 missing textures'; do
    grep -qF -- "${said//\\\"/\"}" "$work/plain.txt" || { echo "the console lacks '$said':"; cat "$work/plain.txt"; exit 1; }
    grep -qF -- "$said" "$work/plain/preview-data.js" || { echo "the page lacks '$said'"; cat "$work/plain/preview-data.js"; exit 1; }
done
grep -q 'game started' "$work/plain.log" && grep -q 'texture "pager" not found' "$work/plain.log" ||
    { echo "--log did not copy the plug-in's log:"; cat "$work/plain.log"; exit 1; }
preview --help >"$work/help.txt" || { echo "--help exits with $?"; exit 1; }
grep -q -- "--log FILE" "$work/help.txt" || { echo "--help:"; cat "$work/help.txt"; exit 1; }

# The layout editor from the release: a drag of the money 30 px left at 640 x 360 (0.75 px per
# unit across) raises MONEY_POS_RIGHT from 33 to 73, the one change in the file, and the page's
# data follows with a render after it.
printf '%s\n' "$shipped" >"$ini"
setsid wine "$release/tools/preview.exe" --edit --data "$(win "$mine")" --size 640x360 \
    --out "$(win "$work/edit")" </dev/null >"$work/edit.txt" 2>&1 &
editor=$!
# The editor's game may still write its last frame while it ends: the folder is removed once
# nothing writes into it any more.
trap 'kill -KILL -- "-$editor" 2>/dev/null || true
      for _ in $(seq 300); do rm -rf "$work" 2>/dev/null && break; sleep 0.2; done' EXIT
for _ in $(seq 600); do grep -q '^rendered ' "$work/edit.txt" && break; sleep 0.2; done
address=$(grep -o 'http://127\.0\.0\.1:[0-9]*/?token=[0-9a-f]*' "$work/edit.txt" | head -1)
[ -n "$address" ] || { echo "the release's editor printed no address:"; cat "$work/edit.txt"; exit 1; }
python3 - "$address" "$ini" "$work/edit/preview-data.js" <<'PY' || { cat "$work/edit.txt"; exit 1; }
import json, os, re, sys, time, urllib.request
address, ini, data = sys.argv[1:]
before = open(ini, "rb").read()
stamp = lambda: re.search(rb'"stamp": *(\d+)', open(data, "rb").read()).group(1)
first = stamp()
box = next(b["box"] for c in json.loads(re.search(rb"previewData\((.*)\)", open(data, "rb").read(), re.S)
                                         .group(1))["captures"] for b in c["boxes"] if b["name"] == "money")
moved = [box[0] - 30, box[1], box[2] - 30, box[3]]
body = json.dumps({"width": 640, "height": 360, "keys": ["MONEY_POS_RIGHT", "MONEY_POS_TOP"],
                   "from": box, "to": moved}).encode()
request = urllib.request.Request(address.replace("/?", "/place?"), body,
                                 {"Content-Type": "application/json"})
print(urllib.request.urlopen(request, timeout=60).read().decode())
expected = before.replace(b"\nMONEY_POS_RIGHT = 33\n", b"\nMONEY_POS_RIGHT = 73\n", 1)
assert expected != before, "no line MONEY_POS_RIGHT = 33"
if open(ini, "rb").read() != expected:
    sys.exit("the release's editor did not change only MONEY_POS_RIGHT to 73")
deadline = time.time() + 120
while stamp() == first:
    if time.time() > deadline: sys.exit("no render after the release's editor wrote")
    time.sleep(0.2)
PY
{ kill -KILL -- "-$editor" && wait "$editor"; } 2>/dev/null || true

# Symbols of another build of the plug-in (here: its first section one byte longer) are refused
# with a reason, never followed into unwind tables that are not where they say.
python3 - "$release/tools/tarvel_hud.symbols" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
header = struct.unpack_from("<I", data, 0x3C)[0] + 4
first = header + 20 + struct.unpack_from("<H", data, header + 16)[0]
struct.pack_into("<I", data, first + 8, struct.unpack_from("<I", data, first + 8)[0] + 1)
open(sys.argv[1], "wb").write(data)
PY
status=0
preview --check --data "$(win "$release")" --size 640x360 >"$work/other.txt" 2>&1 || status=$?
[ "$status" = 1 ] || { echo "symbols of another build: exit $status"; cat "$work/other.txt"; exit 1; }
grep -q "belongs to another build of the plug-in" "$work/other.txt" ||
    { echo "symbols of another build are not named:"; cat "$work/other.txt"; exit 1; }
echo "the release's preview renders and checks a modder's folder"
