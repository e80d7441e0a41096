#!/bin/bash
# Ports named by their adapter or socket, against a system description of
# the test's own (QV_SYSTEM_ROOT): two FTDI adapters of one model, serials S1
# and S2, on USB ports 1-2 and 1-3 with their /dev/serial/by-path names, each
# the emulator on a pty. A station serves both slots named by socket, with a
# wire trace folder and a station name; the records tell the adapter, the
# socket, the station, the unit's number and the counts. A pattern no adapter
# matches and one that two match are usage errors that list the adapters.
#   identity-case.sh BIN_DIR
set -u
bin="$1"
. "$(dirname "$0")/../harness/lib.sh"
work=$(mktemp -d)
one_pid="" two_pid="" station_pid=""
trap 'qv_stop_pid "$station_pid"; qv_stop_pid "$one_pid"; qv_stop_pid "$two_pid"; rm -rf "$work"' EXIT
flasher="$bin/short-image/quarnelvisk-flash"
qv_start_emulator "$bin/quarnelvisk-device" "$work/one.out" --timeout 120 --blocks 8 || exit 1
one_pid=$QV_DEVICE_PID one=$QV_DEVICE_LINE
qv_start_emulator "$bin/quarnelvisk-device" "$work/two.out" --timeout 120 --blocks 8 || exit 1
two_pid=$QV_DEVICE_PID two=$QV_DEVICE_LINE

root="$work/root"
usb=sys/devices/pci0000:00/0000:00:14.0/usb1
# adapter PTY PORT SERIAL: the USB device, the tty below it, its by-path name.
adapter() {
  local node port=$2
  node=$(basename "$1")
  mkdir -p "$root/$usb/$port/$port:1.0/ttyUSB$4" "$root/sys/class/tty/$node" "$root/dev/serial/by-path"
  echo 0403 > "$root/$usb/$port/idVendor"
  echo 6001 > "$root/$usb/$port/idProduct"
  echo "S$4" > "$root/$usb/$port/serial"
  ln -s "$root/$usb/$port/$port:1.0/ttyUSB$4" "$root/sys/class/tty/$node/device"
  ln -s "$1" "$root/dev/serial/by-path/pci-0000:00:14.0-usb-0:${port#1-}:1.0-port0"
}
adapter "$one" 1-2 "" 1
adapter "$two" 1-3 "" 2
export QV_SYSTEM_ROOT="$root"
fail=0

# refused PATTERN TEXT: exit 64 before any port is touched, saying TEXT.
refused() {
  "$flasher" "$1" > "$work/refused.out" 2>&1
  local status=$?
  [ $status = 64 ] || { echo "FAIL: $1: exit $status, expected 64"; fail=1; }
  grep -qF -- "$2" "$work/refused.out" && grep -qF "usb:0403:6001:S2 usb-path:1-3 ($two)" "$work/refused.out" ||
    { echo "FAIL: $1: no '$2' with the adapters listed"; cat "$work/refused.out"; fail=1; }
}
refused usb:0403:6002 "no serial adapter is usb:0403:6002"
refused usb:0403:6001 "2 adapters are usb:0403:6001: name one"

"$flasher" --station --probe-timeout 1 --station-id bench-7 --trace "$work/traces" --json "$work/records.jsonl" \
  usb-path:1-2 usb-path:pci-0000:00:14.0-usb-0:3:1.0-port0 > "$work/station.out" 2>&1 &
station_pid=$!
for _ in $(seq 300); do
  [ "$(grep -c ': unit [0-9]*: ' "$work/station.out")" -ge 2 ] && break
  sleep 0.1
done
kill -INT "$station_pid"
wait "$station_pid"
status=$?
station_pid=""
[ $status = 0 ] || { echo "FAIL: station exit $status"; cat "$work/station.out"; fail=1; }
python3 - "$work/records.jsonl" <<'PY' || fail=1
import json, sys
records = sorted((json.loads(l) for l in open(sys.argv[1])), key=lambda r: r["serial"])
want = [("S1", "1-2", "usb-path:1-2"), ("S2", "1-3", "usb-path:pci-0000:00:14.0-usb-0:3:1.0-port0")]
bad = len(records) != 2
for r, (serial, location, port) in zip(records, want):
    got = (r["outcome"], r["usb_vendor"], r["usb_product"], r["serial"], r["location"], r["station"], r["unit"], r["port"])
    if got != ("updated", "0403", "6001", serial, location, "bench-7", 1, port) or r["passed"] not in (1, 2) \
            or r["failed"] != 0 or not (r["trace"] or "").endswith(".trace"):
        print("FAIL: record", r)
        bad = True
sys.exit(bad)
PY
[ "$(ls "$work/traces" | wc -l)" = 2 ] || { echo "FAIL: not a trace for each unit"; ls "$work/traces"; fail=1; }
[ $fail = 0 ] || cat "$work/station.out" "$work/records.jsonl"
[ $fail = 0 ] && echo PASS
exit $fail
