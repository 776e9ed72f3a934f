#!/usr/bin/env bash
# Runs a replay program under Wine on the folders given that exist (the native fuzz build's
# corpus is there only after a fuzz run); the first folder must exist.
# Usage: replay.sh REPLAY_EXE FOLDER...
set -euo pipefail
program=$1
shift
[ -d "$1" ] || { echo "replay: no folder $1"; exit 1; }
folders=()
for folder in "$@"; do
    # Wine's drive Z: is the root folder.
    [ ! -d "$folder" ] || folders+=("Z:${folder//\//\\}")
done
echo "replaying ${#folders[@]} folders: $*"
exec env WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine "$program" "${folders[@]}"
