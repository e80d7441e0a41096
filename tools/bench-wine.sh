#!/bin/bash
# The Windows figures of the benchmark report, under Wine: what one upload
# step costs there (windowCallCost.exe), the whole upload of the win64
# command-line flasher, and the whole upload of the window program driven as
# in its end-to-end test. Prints a markdown section.
#   bench-wine.sh BUILD_DIR
# Uses the prefix of the tests (BUILD_DIR/wineprefix) and COM7, so it must
# not run beside the Wine tests.
set -u
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
tools="$build/native/bin"
win="$build/win64/bin"
export QV_WINEPREFIX="$build/wineprefix"
wine_run="$root/tests/harness/wine-run"
port=COM7

for f in "$win/windowCallCost.exe" "$win/quarnelvisk-flash.exe" "$win/quarnelvisk.exe" \
         "$tools/quarnelvisk-device" "$tools/libqv-modem-lines.so"; do
  if [ ! -e "$f" ]; then
    echo "($f is missing: the Wine figures need the native and win64 builds)"
    exit 0
  fi
done

. "$root/tests/harness/lib.sh"
work=$(mktemp -d)
QV_DEVICE_PID="" QV_XVFB_PID=""
cleanup() {
  qv_stop_pid "$QV_DEVICE_PID"
  qv_unmap_port "$QV_WINEPREFIX" "$port"
  qv_stop_pid "$QV_XVFB_PID"
  rm -rf "$work"
}
trap cleanup EXIT

qv_prepare_prefix "$QV_WINEPREFIX"

# Starts the emulator with the given options and maps COM7 to its line.
start_device() {
  qv_start_emulator "$tools/quarnelvisk-device" "$work/device.out" --timeout 900 "$@" &&
    qv_map_port "$QV_WINEPREFIX" "$port" "$QV_DEVICE_LINE"
}
stop_device() {
  qv_stop_pid "$QV_DEVICE_PID"
  QV_DEVICE_PID=""
}
run_wine() { QV_MODEM_LINES=288 LD_PRELOAD="$tools/libqv-modem-lines.so" "$wine_run" "$@"; }

qv_start_xvfb 90 95 || exit 0

echo "## Under Wine ($(/usr/lib/wine/wine64 --version))"
echo
echo "### One upload step"
echo
echo "For every image byte the window program's reader thread writes the byte (one overlapped"
echo "write and its wait) and sets the running CRC in the hidden CRC edit; the edit's reads are"
echo "served from its copy and its sets handed over without waiting, so the calls below into the"
echo "user-interface thread are what an upload step used to cost. \`windowCallCost.exe\`, 2000 calls each:"
echo
start_device --blocks 1016
echo '```'
run_wine "$win/windowCallCost.exe" "$port" 2000 2>/dev/null | tr -d '\r'
echo '```'
stop_device
echo

echo "### Whole upload, unpaced (1016 blocks)"
echo
echo "| program | wall s | s per block | exit |"
echo "|---|---|---|---|"
start_device --blocks 1016
start=$(date +%s.%N)
run_wine "$win/quarnelvisk-flash.exe" "$port" >"$work/flash.out" 2>&1
status=$?
wall=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.1f", b - a}')
stop_device
echo "| quarnelvisk-flash.exe (console) | $wall | $(awk -v w="$wall" 'BEGIN {printf "%.3f", w / 1016}') | $status |"

# The window program, driven by its end-to-end harness on a display of its
# own; the harness logs the time from the click on "Записать" to "OK".
qv_stop_pid "$QV_XVFB_PID"
QV_XVFB_PID=""
unset DISPLAY
"$root/tests/harness/gui-e2e.sh" success "$win" "$tools" >"$work/gui.out" 2>&1
status=$?
upload=$(sed -n 's/.*upload took \([0-9]*\) s.*/\1/p' "$work/gui.out" | tail -1)
if [ -n "$upload" ]; then
  echo "| quarnelvisk.exe (window) | $upload | $(awk -v w="$upload" 'BEGIN {printf "%.3f", w / 1016}') | $status |"
else
  echo "| quarnelvisk.exe (window) | (no figure) | | $status |"
fi
echo
echo "The window figure runs from the click on \"Записать\" to the end of the emulator (it ends"
echo "after \"PUSK\"), good to a second or two."
if [ "$status" != 0 ]; then
  echo
  echo "The window run failed:"
  echo
  echo '```'
  grep -v '^  |' "$work/gui.out" | tail -n 25
  echo '```'
fi
