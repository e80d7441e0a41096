#!/bin/bash
# The demo: a device emulator on a pseudo-terminal stands in for the
# hardware, and the command-line flasher brings its firmware up to date with
# the built-in image.
set -u
if [ "${2:-}" = "--gui" ]; then
  # The window program instead: under Wine on a display of its own, against
  # the emulator, clicked through by the end-to-end harness: the program
  # built with the short test image (8 blocks), or with DEMO_FULL=1 the
  # shipped one with the whole image (minutes under Wine).
  if [ -n "${DEMO_FULL:-}" ]; then unset QV_E2E_SHORT; what="the whole image"; else export QV_E2E_SHORT=1; what="the short test image"; fi
  echo "The window program under Wine against the emulator ($what); screenshots go to $1/win64/screenshots/"
  exec "$(dirname "$0")/../tests/harness/gui-e2e.sh" success "$1/win64/bin" "$1/native/bin"
fi
. "$(dirname "$0")/../tests/harness/lib.sh"
bin="$1/native/bin"
work=$(mktemp -d)
QV_DEVICE_PID=""
trap 'qv_stop_pid "$QV_DEVICE_PID"; rm -rf "$work"' EXIT
qv_start_emulator "$bin/quarnelvisk-device" "$work/device.out" --save "$work/received.bin" || exit 1
device=$QV_DEVICE_PID port=$QV_DEVICE_LINE
echo "Device emulator on $port"
echo "\$ quarnelvisk-flash $port"
"$bin/quarnelvisk-flash" "$port"
status=$?
wait "$device"
echo "Device: $(tail -1 "$work/device.out")"
if cmp -s "$work/received.bin" "$1/native/generated/stream0.bin"; then
  echo "The device received the built-in image byte for byte ($(stat -c %s "$work/received.bin") bytes)."
else
  echo "The device did NOT receive the built-in image." >&2
  status=1
fi
exit $status
