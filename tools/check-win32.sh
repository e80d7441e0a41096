#!/bin/sh
# Checks that the shipped program is a 32-bit (PE32, i386) Windows GUI image.
set -e
exe="$1"
[ -f "$exe" ] || { echo "check-win32: $exe is missing" >&2; exit 1; }
u16() { od -An -t u2 -j "$1" -N 2 "$exe" | tr -d ' '; }
u32() { od -An -t u4 -j "$1" -N 4 "$exe" | tr -d ' '; }
pe=$(u32 60)
sig=$(u32 "$pe")
machine=$(u16 $((pe + 4)))
magic=$(u16 $((pe + 24)))
subsystem=$(u16 $((pe + 24 + 68)))
fail() { echo "check-win32: $exe: $1" >&2; exit 1; }
[ "$sig" = 17744 ] || fail "no PE signature"
[ "$machine" = 332 ] || fail "machine $machine is not i386 (332)"
[ "$magic" = 267 ] || fail "optional header magic $magic is not PE32 (267)"
[ "$subsystem" = 2 ] || fail "subsystem $subsystem is not the Windows GUI (2)"
echo "check-win32: $exe is a PE32 i386 Windows GUI image"
