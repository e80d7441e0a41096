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
wineserver=/usr/lib/wine/wineserver
port=COM7

for f in "$win/windowCallCost.exe" "$win/quarnelvisk-flash.exe" "$win/quarnelvisk.exe" \
         "$tools/quarnelvisk-device" "$tools/libqv-modem-lines.so"; do
  if [ ! -e "$f" ]; then
    echo "($f is missing: the Wine figures need the native and win64 builds)"
    exit 0
  fi
done

work=$(mktemp -d)
device_pid="" xvfb_pid=""
cleanup() {
  [ -n "$device_pid" ] && kill "$device_pid" 2>/dev/null
  env -u DISPLAY "$wine_run" reg delete 'HKLM\Software\Wine\Ports' /v "$port" /f >/dev/null 2>&1
  WINEPREFIX="$QV_WINEPREFIX" "$wineserver" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if [ ! -f "$QV_WINEPREFIX/system.reg" ]; then
  mkdir -p "$QV_WINEPREFIX"
  env -u DISPLAY "$wine_run" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$QV_WINEPREFIX" "$wineserver" -w >/dev/null 2>&1
fi

# Starts the emulator with the given options and maps COM7 to its line.
start_device() {
  "$tools/quarnelvisk-device" --timeout 900 "$@" >"$work/device.out" 2>/dev/null &
  device_pid=$!
  for _ in $(seq 100); do [ -s "$work/device.out" ] && break; sleep 0.05; done
  env -u DISPLAY "$wine_run" reg add 'HKLM\Software\Wine\Ports' /v "$port" /d "$(head -1 "$work/device.out")" /f >/dev/null 2>&1
  WINEPREFIX="$QV_WINEPREFIX" "$wineserver" -k >/dev/null 2>&1
  WINEPREFIX="$QV_WINEPREFIX" "$wineserver" -w >/dev/null 2>&1
}
stop_device() {
  kill "$device_pid" 2>/dev/null
  wait "$device_pid" 2>/dev/null
  device_pid=""
}
run_wine() { QV_MODEM_LINES=288 LD_PRELOAD="$tools/libqv-modem-lines.so" "$wine_run" "$@"; }

for n in 90 91 92 93 94 95; do
  [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  sleep 1
  break
done

echo "## Under Wine ($(/usr/lib/wine/wine64 --version))"
echo
echo "### One upload step"
echo
echo "For every image byte the window program's reader thread writes the byte (one overlapped"
echo "write and its wait), reads the running CRC from the hidden CRC edit twice and sets it there"
echo "once, each a call into the user-interface thread. \`windowCallCost.exe\`, 2000 calls each:"
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
kill "$xvfb_pid" 2>/dev/null
xvfb_pid=""
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
