# Shared by the tests of the preview's page: a work folder that is cleared away on exit, a copy
# of the shipped data with the build's dictionaries to break (the caller sets $preview first),
# and headless Chromium with a profile of its own.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
started=() # process groups
cleanup() {
    for group in "${started[@]}"; do kill -KILL -- "-$group" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# With the build's dictionaries, as a modder's copy of the release's folder holds them.
cp -r "$root/data" "$work/data"
cp "$(dirname "$preview")"/dictionaries/*.txd "$work/data/tarvel_moravik/"
mkdir -p "$work/out"
layout="$work/data/tarvel_moravik/tarvel_III.ini"

# Replaces the value of one key in the copied layout file.
set_key() {
    sed -i "s/^$1 = .*/$1 = $2/" "$layout"
    grep -q "^$1 = $2\$" "$layout" || { echo "no line $1 in $layout"; exit 1; }
}

# Wine's drive Z: is the root folder. Not winepath: a Wine program run inside $(...) may start
# the Wine server, which would keep the substitution's pipe open for as long as it runs.
windows_path() {
    local path="Z:$1"
    echo "${path//\//\\}"
}

# Wine programs run with their output in files, for the same reason.
run_wine() {
    wine "$@" </dev/null >"$work/wine.out" 2>"$work/wine.err" ||
        fail "wine $* failed: $(cat "$work/wine.err")"
}

# The arguments that run the preview on the copied data, writing into $work/out.
preview_args=(--data "$(windows_path "$work/data")" --out "$(windows_path "$work/out")"
              --scenario "$(windows_path "$root/tools/preview/default.scenario")")

# A watching run's game directory is told apart from other runs' by a line of its own in the
# layout file, which mark_layout adds.
marker="# watched by run $$ $RANDOM"
mark_layout() { echo "$marker" >>"$layout"; }
copies() {
    grep -lsxF -- "$marker" "${WINEPREFIX:-$HOME/.wine}"/drive_c/users/*/Temp/tarvel_preview_*/tarvel_moravik/tarvel_III.ini \
        "${WINEPREFIX:-$HOME/.wine}"/drive_c/users/*/AppData/Local/Temp/tarvel_preview_*/tarvel_moravik/tarvel_III.ini || true
}

# Starts the preview on the marked copy with the options given (--watch or --edit, and sizes),
# in a session of its own so that the cleanup can end its whole group, and waits for its first
# render: sets $watcher and $copy, its game directory.
start_watching() {
    setsid wine "$preview" "${preview_args[@]}" "$@" </dev/null >"$work/log" 2>&1 &
    watcher=$!
    started+=("$watcher")
    local deadline=$((SECONDS + 300))
    until grep -q "^rendered " "$work/log"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "no line for the first render: $(cat "$work/log")"
        sleep 0.1
    done
    copy="$(copies)"
    [ -n "$copy" ] || fail "the watching run's game directory was not found"
    copy="$(dirname "$(dirname "$copy")")"
}

# Starts the preview with --edit and the options given as start_watching does, and sets
# $address, the editor's with its token.
start_editing() {
    start_watching --edit "$@"
    address=$(grep -o '^editor at http://127\.0\.0\.1:[0-9]*/?token=[0-9a-f]*' "$work/log" | head -1)
    [ -n "$address" ] || fail "no address printed: $(cat "$work/log")"
    address="${address#editor at }"
}

# Ends the watching run with a plain kill (the terminate signal). Its game process sees it gone
# and has the copy cleared away once it has ended itself.
stop_watching() {
    kill "$watcher"
    for _ in $(seq 3000); do
        kill -0 "$watcher" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$watcher" 2>/dev/null && fail "a plain kill did not end the watcher within five minutes"
    for _ in $(seq 3000); do
        [ -e "$copy" ] || break
        sleep 0.1
    done
    [ ! -e "$copy" ] || fail "$copy is still there five minutes after: $(ls -R "$copy" | head)"
}

# Headless Chromium on a profile of its own, quiet, without anything it would fetch itself.
browser_command=(timeout 240 chromium --headless --no-sandbox --disable-gpu --disable-quic
                 --no-first-run --disable-background-networking --disable-component-update
                 --disable-sync --hide-scrollbars)
browser() {
    "${browser_command[@]}" --user-data-dir="$work/browser-$RANDOM" --virtual-time-budget=5000 \
        "$@" </dev/null 2>/dev/null
}

fail() {
    echo "FAILED: $*"
    exit 1
}
