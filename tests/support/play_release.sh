#!/usr/bin/env bash
# A player's install: the release zip unpacked, tarvel_hud.asi and tarvel_moravik copied into the
# game's folder (and, for loaders that look there, the .asi into scripts), the game started and a
# few frames played. The HUD draws, each sprite with its texture, and its log names the version,
# the build, the file it was loaded from, every dictionary loaded and no settings line it cannot
# use; so in a game folder named in letters the system's code page lacks, an emoji among them.
set -euo pipefail
# Wine takes the system code page from the locale: C.UTF-8 gives 1252 (Western European), which
# has é but neither Cyrillic, Chinese nor Greek letters.
export LC_ALL=C.UTF-8
game_program="$2"
source "$(dirname "$0")/release_support.sh"
unpack_release "$1"

# play PLACE [GAME_FOLDER LOG_LINE]: the .asi at PLACE in the game folder; the log holds LOG_LINE.
play() {
    local place="$1" name="${1//\//\\}" game="$work/${2:-game-${1//\//-}}"
    mkdir -p "$game/scripts"
    cp "$game_program" "$game/game.exe"
    cp "$release/tarvel_hud.asi" "$game/$place"
    cp -r "$release/tarvel_moravik" "$game/"
    local temp="$work/Témp 临时 Ωmega"
    mkdir -p "$temp"
    temp="$(winepath -w "$temp")"
    (cd "$game" && wine cmd /c "set TMP=$temp&& set TEMP=$temp&& game.exe $name")
    local log="$game/tarvel_moravik/tarvel_hud.log"
    [ -f "$log" ] || { echo "no log after loading $place"; exit 1; }
    expect() {
        grep -qF -- "$1" "$log" || { echo "the log lacks: $1"; cat "$log"; exit 1; }
    }
    expect "tarvel_moravik HUD $version, loaded from "
    expect "$name"
    expect "game build 100 recognised"
    expect "settings file tarvel_moravik\\tarvel_III.ini read"
    expect "${3:-texture dictionaries handed to the game by their full path}"
    for dictionary in tarvel_iii ring_iii radio_iii phone_iii; do
        expect "texture dictionary tarvel_moravik\\$dictionary.txd loaded"
    done
    if grep -qE " line [0-9]+: | is missing| cannot be read| not found" "$log"; then
        echo "the shipped files gave findings:"; cat "$log"; exit 1
    fi
}
play tarvel_hud.asi
play scripts/tarvel_hud.asi
play tarvel_hud.asi "Jogos Café" "texture dictionaries handed to the game by their full path"
play tarvel_hud.asi "Игра 游戏 Ωmega" \
    "texture dictionaries handed to the game by the folder's short name"
# A character beyond 16 bits: its path goes as a surrogate pair.
play tarvel_hud.asi "game 🎮" "texture dictionaries handed to the game by the folder's short name"
echo "the release plays from the game's folder, from scripts and from folders in any letters"
