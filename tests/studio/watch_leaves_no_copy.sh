#!/usr/bin/env bash
# preview --watch prints a line for its first render too, and the game directory it copies into
# Wine's temp folder does not outlive it, ended by a plain kill (the terminate signal) too; nor
# does a plain run's. The layout file is read-only, which its copies must not be.
set -euo pipefail
preview="$1"
. "$(dirname "$0")/studio_support.sh"

mark_layout
chmod a-w "$layout"
start_watching --size 320x180 --watch
stop_watching

run_wine "$preview" "${preview_args[@]}" --size 320x180
[ -z "$(copies)" ] || fail "a plain run left $(copies)"
echo "the killed watcher's copy is gone, and a plain run's"
