#!/usr/bin/env bash
# Lays out the release folder exactly as a player copies it into the game directory.
set -euo pipefail
dll="$1"
out="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
staging="$(mktemp -d "${out%/}.XXXXXX")"
trap 'rm -rf "$staging"' EXIT
cp "$dll" "$staging/tarvel_hud.dll"
cp -r "$root/data/tarvel_moravik" "$staging/tarvel_moravik"
cp "$root/docs/player-readme.txt" "$staging/README.txt"
# The texture dictionaries the build drew from the project's art, and texdict for modders.
build="$(dirname "$dll")"
cp "$build"/art/tarvel_moravik/{tarvel_iii,ring_iii,radio_iii,phone_iii}.txd "$staging/tarvel_moravik/"
mkdir -p "$staging/tools"
cp "$build/texdict.exe" "$staging/tools/texdict.exe"
rm -rf "$out"
mv "$staging" "$out"
trap - EXIT
echo "dist: $out"
