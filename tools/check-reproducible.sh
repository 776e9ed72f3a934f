#!/usr/bin/env bash
# Builds the release of the checked-out commit twice from clean clones in two different folders
# and build folders, and checks that the DLL and the zip come out byte for byte the same.
# Uncommitted changes take no part: it is the commit that must build reproducibly.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$root" rev-parse HEAD)"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/tarvel-reproducible.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT

build_in() {
    local src="$1" build="$2"
    git clone -q --no-checkout "$root" "$src"
    git -C "$src" -c advice.detachedHead=false checkout -q "$commit"
    echo "building $commit in $src/$build"
    make -C "$src" --no-print-directory BUILD="$build" dist >/dev/null
}
first="$tmp/first"
second="$tmp/second/a/longer/path"
build_in "$first" build
build_in "$second" out-of-the-way

release="tarvel_hud-$(head -n 1 "$first/VERSION")"
status=0
for file in "$release/tarvel_hud.asi" "$release.zip"; do
    a="$(sha256sum < "$first/dist/$file" | cut -d' ' -f1)"
    b="$(sha256sum < "$second/dist/$file" | cut -d' ' -f1)"
    if [ "$a" = "$b" ]; then
        echo "same: $file $a"
    else
        echo "DIFFERENT: $file $a / $b"
        status=1
    fi
done
exit $status
