#!/bin/bash
# The window program's end-to-end cases (gui-e2e.sh) and the flasher's
# against the emulator on a pty mapped as a COM port, under Wine 10 in a
# Debian 13 root (make-root.sh) whose mounts are undone whatever happens.
# Wine 10 runs the shipped 32-bit programs in its new WoW64 mode (32-bit
# Windows code in a 64-bit process).
#   run-wine10.sh BUILD_DIR [--programs win32|win64] [--whole-image N]
# BUILD_DIR holds native/ (emulator, image, modem lines), win32/ (the
# PE32 programs and their short-image twins) and win64/ (the 64-bit twins
# and the window probe). --programs win64 runs the 64-bit twins instead of
# the PE32s. --whole-image N runs the window program's whole-image upload
# N times in a row instead of the cases, with the time each took.
set -u
build=$(cd "${1:?usage: run-wine10.sh BUILD_DIR [--programs win32|win64] [--whole-image N]}" && pwd) || exit 2
shift
programs=win32 whole_runs=0
while [ $# -gt 0 ]; do
  case "$1" in
    --programs) programs="$2"; shift 2 ;;
    --whole-image) whole_runs="$2"; shift 2 ;;
    *) echo "run-wine10.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)
tree=$(cd "$here/../../.." && pwd)
root="$build/wine10-root"
. "$here/../lib.sh"
. "$here/mounts.sh"

# WoW64 gives a 32-bit program's threads their TEB segment through the
# 32-bit system call gate; a kernel that refuses it kills every PE32 at
# its start.
if [ "$programs" = win32 ] && ! "$build/native/bin/ia32-syscalls"; then
  echo "FAIL: this kernel refuses 32-bit system calls (int 0x80) from 64-bit processes:"
  echo "Wine's WoW64 cannot run the 32-bit programs here (--programs win64 runs the 64-bit twins)"
  exit 1
fi

"$here/make-root.sh" "$root" "$tree" || exit 1
trap 'qv_restart_wineserver "$QV_WINEPREFIX"; qv_root_unmount "$root" "$tree"' EXIT
trap 'exit 130' INT TERM
qv_root_mount "$root" "$tree" || { echo "FAIL: cannot mount into $root"; exit 1; }
export QV_WINE_ROOT="$root" QV_WINEPREFIX="$build/wine10-prefix"
qv_prepare_prefix "$QV_WINEPREFIX"

# The window harness takes one folder: the PE32 programs, the 64-bit probe
# (any Windows program reads the controls), the images beside it.
run="$build/wine10-run-$programs"
bin="$run/bin"
mkdir -p "$bin/short-image"
ln -sfn "$build/native/generated" "$run/generated"
ln -sf "$build/$programs/bin/quarnelvisk.exe" "$bin/quarnelvisk.exe"
ln -sf "$build/$programs/bin/short-image/quarnelvisk.exe" "$bin/short-image/quarnelvisk.exe"
ln -sf "$build/win64/bin/windowProbe.exe" "$bin/windowProbe.exe"
tools="$build/native/bin"

passed=0 failed=0
outcome() {
  if [ "$1" = 0 ]; then passed=$((passed + 1)); echo "=== PASS $2"
  else failed=$((failed + 1)); echo "=== FAIL $2"; fi
}

if [ "$whole_runs" -gt 0 ]; then
  for n in $(seq "$whole_runs"); do
    begun=$SECONDS
    "$here/../gui-e2e.sh" success "$bin" "$tools" > "$run/whole-$n.log" 2>&1
    status=$?
    outcome $status "whole image, run $n of $whole_runs: $((SECONDS - begun)) s"
    [ $status = 0 ] || tail -30 "$run/whole-$n.log"
  done
  echo "$passed passed, $failed failed"
  [ $failed = 0 ]
  exit
fi

for case_name in info_box no_device wrong_crc success close_during_upload; do
  QV_E2E_SHORT=1 "$here/../gui-e2e.sh" "$case_name" "$bin" "$tools"
  outcome $? "window: $case_name"
done

# The flasher: success on the short image, a wrong CRC, no device.
flash_case() {
  local name=$1 want_exit=$2 want_text=$3
  shift 3
  local work
  work=$(mktemp -d)
  qv_start_emulator "$tools/quarnelvisk-device" "$work/device.out" --timeout 120 --blocks 8 \
    --save "$work/received.bin" "$@" || { outcome 1 "flasher: $name (no emulator)"; return; }
  qv_map_port "$QV_WINEPREFIX" COM9 "$QV_DEVICE_LINE"
  QV_MODEM_LINES=288 LD_PRELOAD="$tools/libqv-modem-lines.so" timeout 120 \
    "$qv_wine_run" "$build/$programs/bin/short-image/quarnelvisk-flash.exe" --probe-timeout 2 COM9 > "$work/flash.out" 2>&1
  local status=$? fail=0
  # The emulator says 0 when the whole image and "PUSK" came.
  kill -TERM "$QV_DEVICE_PID" 2>/dev/null
  wait "$QV_DEVICE_PID"
  local device_status=$?
  qv_unmap_port "$QV_WINEPREFIX" COM9
  tr -d '\r' < "$work/flash.out" | tee "$work/flash.txt"
  # The image is looked at where the upload is to succeed.
  local image=""
  [ "$want_exit" != 0 ] || image="$build/native/generated/stream0-short.bin"
  qv_check_flash "$work/flash.txt" $status "$want_exit" "$want_text" "$image" "$work/received.bin" "$device_status" ||
    fail=1
  rm -rf "$work"
  outcome $fail "flasher: $name"
}
flash_case updated 0 "$QV_UPDATED_TEXT"
flash_case wrong_crc 1 "$QV_FAILED_TEXT" --wrong-crc 3
flash_case no_device 2 "$QV_NOT_FOUND_TEXT" --no-answer
"$here/../wine-console-text.sh" "$build/$programs/bin/quarnelvisk-flash.exe"
outcome $? "flasher: console texts"

echo "$passed passed, $failed failed"
[ $failed = 0 ]
