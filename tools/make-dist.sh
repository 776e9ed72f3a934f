#!/usr/bin/env bash
# Lays out the release folder exactly as a player copies it into the game directory, and packs it:
#   OUT/tarvel_hud-<version>/            the folder
#   OUT/tarvel_hud-<version>.zip         the same files, the one download
#   OUT/tarvel_hud-<version>.zip.sha256  its checksum, to publish beside it
set -euo pipefail
dll="$1"
out="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
# A VERSION saved with Windows line ends or a trailing space names the same version.
version="$(head -n 1 "$root/VERSION" | tr -d '\r[:space:]')"
release="tarvel_hud-$version"
# What changed in this version, from its entry in CHANGELOG.md (headings and code marks made
# plain text), for README.txt. A version without an entry is not released.
changes="$(awk -v heading="## $version" '
    $0 == heading { found = 1; next }
    found && /^## / { exit }
    found { sub(/^### /, ""); gsub(/`/, ""); print }' "$root/CHANGELOG.md" 2>/dev/null || true)"
if ! grep -q '[^[:space:]]' <<<"$changes"; then
    echo "make-dist: CHANGELOG.md has no entry for version $version (from VERSION): add a" \
        "'## $version' section saying what changed" >&2
    exit 1
fi
work="$(mktemp -d "${out%/}.XXXXXX")"
trap 'rm -rf "$work"' EXIT
staging="$work/$release"
mkdir "$staging"
# The plug-in loaders players use pick up files ending in .asi: the built DLL, under that name.
cp "$dll" "$staging/tarvel_hud.asi"
cp -r "$root/data/tarvel_moravik" "$staging/tarvel_moravik"
heading="What changed in $version"
printf '%s\n%s\n%s\n' "$heading" "${heading//?/-}" "$(sed '/./,$!d' <<<"$changes")" >"$work/changes"
awk -v changes="$work/changes" '
    $0 == "@CHANGES@" { while ((getline line < changes) > 0) print line; next }
    { print }' "$root/docs/player-readme.txt" | sed "s/@VERSION@/$version/g" >"$staging/README.txt"
rm "$work/changes"
# The texture dictionaries the build drew from the project's art, and texdict for modders.
build="$(dirname "$dll")"
cp "$build"/art/tarvel_moravik/{tarvel_iii,ring_iii,radio_iii,phone_iii}.txd "$staging/tarvel_moravik/"
mkdir -p "$staging/tools"
# Stripped; SOURCE_DATE_EPOCH=0 keeps strip from stamping the time into the PE.
stripped_copy() { SOURCE_DATE_EPOCH=0 i686-w64-mingw32-strip -o "$2" "$1"; }
stripped_copy "$build/texdict.exe" "$staging/tools/texdict.exe"
# The preview, which renders and checks a modder's folder with the plug-in one folder up; beside
# it its fonts, the default scenario, its page and the plug-in's symbol table (no debug
# sections), which tells the HUD's elements apart.
preview="$build/tools/preview"
stripped_copy "$preview/preview.exe" "$staging/tools/preview.exe"
cp -r "$preview/fonts" "$staging/tools/fonts"
cp /usr/share/doc/fonts-dejavu-core/copyright "$staging/tools/fonts/LICENSE.txt"
cp "$root/tools/preview/default.scenario" "$root/tools/preview/page/page.html" "$staging/tools/"
SOURCE_DATE_EPOCH=0 i686-w64-mingw32-objcopy --remove-section='.debug_*' \
    "$build/tarvel_hud.asi.debug" "$staging/tools/tarvel_hud.symbols"

# The zip depends on nothing but the files: ordinary permissions, one time stamp, entries in byte
# order, no owner or extra time fields (-X). A zip time has no zone and unpacks as local time, so
# the stamp is a day before the commit's (or SOURCE_DATE_EPOCH's) time: no file unpacks with a
# time in the future anywhere, even 12 hours west of UTC. Never before 1980, where zip times end.
source_time="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}"
stamp=$(( source_time - 86400 > 315619200 ? source_time - 86400 : 315619200 ))
find "$staging" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$staging" -exec touch -h -d "@$stamp" {} +
(cd "$work" && find "$release" | LC_ALL=C sort |
    TZ=UTC zip -q -X -9 "$release.zip" -@)
(cd "$work" && sha256sum "$release.zip" > "$release.zip.sha256")
chmod 755 "$work"
rm -rf "$out"
mv "$work" "$out"
trap - EXIT
echo "dist: $out/$release/"
echo "dist: $out/$release.zip ($(wc -c < "$out/$release.zip") bytes)"
echo "dist: $out/$release.zip.sha256: $(cut -d' ' -f1 "$out/$release.zip.sha256")"
