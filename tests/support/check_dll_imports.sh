#!/usr/bin/env bash
# The plug-in must be a 32-bit x86 Windows DLL that needs nothing but Windows' own DLLs.
set -euo pipefail
dll="$1"
kind=$(file -b "$dll")
case "$kind" in
    "PE32 executable (DLL)"*"Intel 80386"*) ;;
    *) echo "not a PE32 i386 DLL: $kind"; exit 1 ;;
esac
imports=$(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no import table found"; exit 1; }
status=0
while read -r name; do
    case "${name,,}" in
        kernel32.dll|user32.dll|msvcrt.dll|advapi32.dll|gdi32.dll) echo "ok: $name" ;;
        *) echo "not a Windows system DLL: $name"; status=1 ;;
    esac
done <<< "$imports"
exit $status
