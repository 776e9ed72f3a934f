# Sourced by the release tests: the release zip made from the built DLL and unpacked, as a player
# or modder downloads it. Sets root, version, work (removed on exit) and release (the folder).
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
version="$(head -n 1 "$root/VERSION")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unpack_release() {
    "$root/tools/make-dist.sh" "$1" "$work/dist" >/dev/null
    unzip -q "$work/dist/tarvel_hud-$version.zip" -d "$work/download"
    rm -rf "$work/dist"
    release="$work/download/tarvel_hud-$version"
}
