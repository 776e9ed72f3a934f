#!/usr/bin/env bash
# Runs every fuzz target of a built fuzz folder for a bounded time, all at once, and prints
# one line per target with its executions and coverage; --stats adds libFuzzer's final
# statistics. The fuzzers' own output goes to logs/ in the build folder; a failure prints the
# log's tail and fails.
# Usage: fuzz/run.sh BUILD_DIR SECONDS [--stats]
set -euo pipefail

build=$(realpath "$1")
seconds=$2
stats=${3:-}
repo=$(cd "$(dirname "$0")/.." && pwd)
data=$repo/data/tarvel_moravik
cases=("$repo"/tests/config/cases/*.ini)
targets=(fuzz_ini_reader fuzz_load_settings fuzz_load_settings_files fuzz_texdict_reader)

# Seeds are copied afresh on every run into corpus folders that also keep what the fuzzers
# found before; nothing of it is committed.
ini=$build/corpus/fuzz_ini_reader
load=$build/corpus/fuzz_load_settings
files=$build/corpus/fuzz_load_settings_files
mkdir -p "$ini" "$load" "$files" "$build/logs" "$build/artifacts"
cp "$data/tarvel_III.ini" "$data"/color_configs/*.ini "${cases[@]}" "$repo"/fuzz/seeds/ini_reader/* "$ini"/
cp "$repo"/fuzz/seeds/load_settings/* "$load"/
mkdir -p "$build/corpus/fuzz_texdict_reader"
cp "$repo"/fuzz/seeds/texdict_reader/* "$build/corpus/fuzz_texdict_reader"/
# The load target splits its input at NUL bytes: layout, IIIColors.ini, VColors.ini.
joined() { cat "$1"; printf '\0'; cat "$2"; printf '\0'; cat "$3"; }
joined "$data/tarvel_III.ini" "$data/color_configs/IIIColors.ini" "$data/color_configs/VColors.ini" \
    >"$load/shipped"
sed 's/^RADAR_TYPE = .*/RADAR_TYPE = 1/' "$data/tarvel_III.ini" >"$build/classic_layout.ini"
joined "$build/classic_layout.ini" "$data/color_configs/IIIColors.ini" \
    "$data/color_configs/VColors.ini" >"$load/shipped_classic"
for c in "${cases[@]}"; do
    joined "$c" "$c" "$c" >"$load/case_$(basename "$c" .ini)"
done
# The two settings targets take the same inputs: in memory and through files.
cp "$load"/* "$files"/

pids=()
for t in "${targets[@]}"; do
    rm -f "$build/artifacts/$t"-*
    dict=(-dict="$repo/fuzz/ini.dict") # the INI words, for the configuration targets
    [ "$t" != fuzz_texdict_reader ] || dict=()
    # Lines are read one by one: a longer text only repeats them, and its checks cost time.
    # The settings targets get room for three files of a few dozen lines each.
    [ "$t" != fuzz_ini_reader ] || dict+=(-max_len=1024)
    [ "$t" = fuzz_ini_reader ] || [ "$t" = fuzz_texdict_reader ] || dict+=(-max_len=4096)
    "$build/$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        "${dict[@]}" -artifact_prefix="$build/artifacts/$t-" \
        "$build/corpus/$t" >"$build/logs/$t.log" 2>&1 &
    pids+=($!)
done

failed=0
for i in "${!targets[@]}"; do
    t=${targets[$i]}
    log=$build/logs/$t.log
    if wait "${pids[$i]}"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        cov=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' "$log" | tail -n 1 |
            awk '{print $2 " edges, " $4 " features, corpus " $6 " inputs"}')
        echo "$t: $runs executions in $seconds s, coverage $cov"
        [ "$stats" != --stats ] || grep '^stat::' "$log" | sed 's/^/    /'
    else
        failed=1
        echo "$t: FAILED, log $log, input: $(ls "$build/artifacts/$t"-* 2>/dev/null || echo none)"
        tail -n 40 "$log"
    fi
done
exit "$failed"
