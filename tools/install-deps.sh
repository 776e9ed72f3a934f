#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine, once.
# When everything is present it installs nothing and prints nothing.
set -euo pipefail

packages=(cmake ninja-build make g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest
          wine wine32:i386 libstb-dev fonts-dejavu-core clang libclang-rt-14-dev file)
packages+=(zip unzip)  # the release archive
packages+=(chromium) # the live preview page's tests open it headless

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    missing+=(i386-architecture)
fi
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
        "${packages[@]}" >/dev/null
fi

# The first Wine start creates its prefix; do it here rather than inside a timed test.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
