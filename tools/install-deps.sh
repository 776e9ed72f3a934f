#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine, once.
# When everything is present it installs nothing and prints nothing.
set -euo pipefail

packages=(cmake ninja-build make g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest
          wine wine32:i386 libstb-dev fonts-dejavu-core clang libclang-rt-14-dev file)
packages+=(zip unzip)  # the release archive
packages+=(chromium) # the live preview page's tests open it headless
packages+=(nlohmann-json3-dev) # the editor's requests and answers (header-only)
packages+=(dpkg-dev xz-utils) # apt-get source and its tarball, for the editor's HTTP header

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

# The editor's HTTP server: the single header of cpp-httplib. Debian's binary package holds only
# declarations (its code is a native library no MinGW program can link), so the header comes
# whole from Debian's source package, into a folder the build takes as a system include dir.
deps_include=/usr/local/include/tarvel-deps
if [ ! -f "$deps_include/httplib.h" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    sources=/etc/apt/sources.list.d/tarvel-deb-src.sources
    if [ ! -f "$sources" ]; then
        printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
            'Suites: bookworm bookworm-updates' 'Components: main' \
            'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
            $sudo tee "$sources" >/dev/null
    fi
    echo "installing: httplib.h from Debian's cpp-httplib source"
    $sudo apt-get update -qq
    fetch=$(mktemp -d)
    (cd "$fetch" && apt-get source -qq --download-only cpp-httplib >/dev/null 2>&1)
    tar -xJf "$fetch"/cpp-httplib_*.orig.tar.xz -C "$fetch" --wildcards '*/httplib.h'
    $sudo mkdir -p "$deps_include"
    $sudo install -m 644 "$fetch"/*/httplib.h "$deps_include/httplib.h"
    rm -rf "$fetch"
fi
# The cross compiler does not search /usr/include, which holds the native C library's headers:
# the JSON library is seen through a link of its own folder only.
if [ ! -e "$deps_include/nlohmann" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo ln -s /usr/include/nlohmann "$deps_include/nlohmann"
fi

# The first Wine start creates its prefix; do it here rather than inside a timed test.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
