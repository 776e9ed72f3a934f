#!/usr/bin/env bash
# preview --check on a modder's folder with the slips of the settings case file: each is told on
# its line with what to write, as the case's .expected file says. Then the layout saved with
# .txt added and a PNG picture renamed as a dictionary: each named for what it is, with what to
# do about it, and the check ends with 1.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"
cases="$root/tests/config/advice_cases"

check() {
    status=0
    wine "$preview" "${preview_args[@]}" --size 640x360 --check </dev/null >"$work/console.txt" \
        2>&1 || status=$?
    tr -d '\r' <"$work/console.txt" >"$work/said.txt"
    [ "$status" = 1 ] || fail "the check ended with $status: $(cat "$work/said.txt")"
}
said() { grep -qxF -- "$1" "$work/said.txt" || fail "the check lacks '$1': $(cat "$work/said.txt")"; }

cp "$cases/modders_slips.ini" "$layout"
check
told=0
while IFS= read -r finding; do
    line="${finding%%:*}"
    said "tarvel_moravik\\tarvel_III.ini line $line: $(sed -n "${line}p" "$layout")"
    said "  ${finding#*: }"
    told=$((told + 1))
done <"$cases/modders_slips.expected"
[ "$told" -ge 9 ] || fail "only $told findings in the case file"

mv "$layout" "$layout.txt"
cp "$root/tests/support/three_by_three.png" "$work/data/tarvel_moravik/phone_iii.txd"
check
said 'tarvel_moravik\tarvel_III.ini is missing, but tarvel_moravik\tarvel_III.ini.txt is there: an editor added .txt, which Windows hides; rename it to tarvel_III.ini: the HUD draws every key of it with its built-in default'
grep -qF 'tarvel_moravik\phone_iii.txd cannot be read (at byte 0: a PNG picture, not a texture dictionary: renaming a picture does not make one; texdict packs pictures into a dictionary: put each as <name>.png in a folder and run texdict pack FOLDER FILE.txd)' \
    "$work/said.txt" || fail "the PNG is not named as a picture: $(cat "$work/said.txt")"
echo "each slip is told what to write"
