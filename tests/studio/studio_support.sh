# Shared by the tests of the preview's page: a work folder that is cleared away on exit, a copy
# of the shipped data to break, and headless Chromium with a profile of its own.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
started=() # process groups
cleanup() {
    for group in "${started[@]}"; do kill -KILL -- "-$group" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

cp -r "$root/data" "$work/data"
mkdir -p "$work/out"
layout="$work/data/tarvel_moravik/tarvel_III.ini"

# Replaces the value of one key in the copied layout file.
set_key() {
    sed -i "s/^$1 = .*/$1 = $2/" "$layout"
    grep -q "^$1 = $2\$" "$layout" || { echo "no line $1 in $layout"; exit 1; }
}

# preview ARGS...: the preview on the copied data, writing into $work/out.
preview_args() {
    echo --data "$(winepath -w "$work/data")" --out "$(winepath -w "$work/out")" \
        --scenario "$(winepath -w "$root/tools/preview/default.scenario")"
}

browser() {
    timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/browser-$RANDOM" --hide-scrollbars --virtual-time-budget=5000 \
        "$@" 2>/dev/null
}

fail() {
    echo "FAILED: $*"
    exit 1
}
