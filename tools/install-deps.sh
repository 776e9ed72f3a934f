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

# Wine's 32-bit loader is a 32-bit Linux program, which a kernel booted without 32-bit support
# (ia32_emulation off) refuses to run. There, 32-bit programs run through QEMU's user-mode i386
# emulator, registered with binfmt_misc. Bookworm's QEMU (7.2) makes each Wine start take minutes
# (its address-space reservation); trixie's (10) takes seconds, and its emulator is one static
# program: it is taken from that package alone, without installing anything else of trixie.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    emulator=/usr/local/lib/tarvel-deps/qemu-i386
    if [ ! -x "$emulator" ]; then
        echo "installing: QEMU's i386 emulator (this kernel runs no 32-bit programs)"
        apt_dir=$(mktemp -d)
        mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
        echo 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian trixie main' \
            >"$apt_dir/sources.list"
        apt_options=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o Dir::Etc::sourceparts=-
                     -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
                     -o APT::Architecture=amd64 -o APT::Architectures=amd64
                     -o APT::Sandbox::User=root)
        $sudo apt-get "${apt_options[@]}" update -qq
        (cd "$apt_dir" && $sudo apt-get "${apt_options[@]}" download -qq qemu-user/trixie \
            >/dev/null 2>&1)
        dpkg -x "$apt_dir"/qemu-user_*.deb "$apt_dir/unpacked"
        $sudo install -D -m 755 "$apt_dir/unpacked/usr/bin/qemu-i386" "$emulator"
        $sudo rm -rf "$apt_dir"
    fi
    binfmt=/proc/sys/fs/binfmt_misc
    [ -f "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
    if ! grep -qx "interpreter $emulator" "$binfmt/qemu-i386" 2>/dev/null; then
        [ -f "$binfmt/qemu-i386" ] && echo -1 | $sudo tee "$binfmt/qemu-i386" >/dev/null
        # ELF, 32-bit, little-endian, executable or shared object, i386; F: opened now, so
        # that it works inside any mount namespace.
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$emulator"':F' |
            $sudo tee "$binfmt/register" >/dev/null
    fi
    if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        echo "install-deps: this kernel runs no 32-bit programs, and QEMU's emulator could not be set up" >&2
        exit 1
    fi
fi

# The first Wine start creates its prefix; do it here rather than inside a timed test.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
