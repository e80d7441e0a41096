#!/bin/sh
# Checks the shipped Windows programs in BIN_DIR: 32-bit (PE32, i386), the
# window program a GUI image and the flasher a console one, each with its
# version resource and manifest, a header that names Windows 7 (the oldest
# its imports allow), and imports only of DLLs and functions that a stock
# Windows 7 has.
#   check-windows-programs.sh BIN_DIR
set -e
dir="$1"
objdump=i686-w64-mingw32-objdump
# The DLLs of every Windows from 7 on that a program may import.
stock="kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll
  oleaut32.dll msvcrt.dll winmm.dll ws2_32.dll setupapi.dll cfgmgr32.dll version.dll shlwapi.dll"
# Functions a toolchain reaches for that came after Windows 7.
newer="GetSystemTimePreciseAsFileTime WaitOnAddress WakeByAddressSingle WakeByAddressAll CreateFile2
  GetCurrentThreadStackLimits SetThreadDescription GetThreadDescription"
status=0
fail() { echo "check-windows-programs: $exe: $1" >&2; status=1; }
u16() { od -An -t u2 -j "$1" -N 2 "$exe" | tr -d ' '; }
u32() { od -An -t u4 -j "$1" -N 4 "$exe" | tr -d ' '; }
check() {
  exe="$dir/$1" subsystem_wanted="$2" description="$3"
  [ -f "$exe" ] || { fail "missing"; return; }
  pe=$(u32 60)
  opt=$((pe + 24))
  [ "$(u32 "$pe")" = 17744 ] || { fail "no PE signature"; return; }
  [ "$(u16 $((pe + 4)))" = 332 ] || fail "machine is not i386 (332)"
  [ "$(u16 "$opt")" = 267 ] || fail "optional header magic is not PE32 (267)"
  [ "$(u16 $((opt + 68)))" = "$subsystem_wanted" ] || fail "subsystem $(u16 $((opt + 68))), not $subsystem_wanted"
  # Operating system and subsystem version: 6.1, Windows 7.
  for at in 40 48; do
    [ "$(u16 $((opt + at))).$(u16 $((opt + at + 2)))" = 6.1 ] ||
      fail "header version $(u16 $((opt + at))).$(u16 $((opt + at + 2))) at +$at, not 6.1 (Windows 7)"
  done
  imports=$($objdump -p "$exe")
  for dll in $(echo "$imports" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'); do
    case " $(echo $stock) " in *" $dll "*) ;; *) fail "imports $dll, which a stock Windows lacks" ;; esac
  done
  for function in $newer; do
    echo "$imports" | grep -qw "$function" && fail "imports $function, newer than Windows 7"
  done
  strings -el "$exe" | grep -qx "$description" || fail "no version resource describing it as '$description'"
  grep -q 'level="asInvoker"' "$exe" || fail "no manifest asking for the user's own rights"
  echo "check-windows-programs: $exe checked"
}
check quarnelvisk.exe 2 "Quarnelvisk bootloader"
check quarnelvisk-flash.exe 3 "Quarnelvisk bootloader, command-line flasher"
exit $status
