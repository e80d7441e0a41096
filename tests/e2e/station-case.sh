#!/bin/bash
# Station mode against three lines, with the short test image:
#   station-case.sh BIN_DIR
# The first line's emulator serves two good units one after the other. The
# second line does not exist when the station starts: after two seconds it
# appears (a link to an emulator that answers block 3 with a wrong CRC). On
# the third the bootloader answers again as soon as its unit has been
# flashed (no gap between units), as a unit left on the line that did not
# start its firmware: the station must take it for the same unit and not
# flash it again. At Ctrl-C the station prints the counts and exits 1 (a
# unit failed); the good units must have received the whole image. The
# missing port is reported once, and again when it opens.
set -u
bin="$1"
. "$(dirname "$0")/../harness/lib.sh"
work=$(mktemp -d)
first_pid="" second_pid="" third_pid="" station_pid=""
trap 'qv_stop_pid "$station_pid"; qv_stop_pid "$first_pid"; qv_stop_pid "$second_pid"; qv_stop_pid "$third_pid"
  rm -rf "$work"' EXIT
qv_start_emulator "$bin/quarnelvisk-device" "$work/first.out" --timeout 120 --blocks 8 --units 2 --unit-gap 4000 ||
  { echo "FAIL: no emulator"; exit 1; }
first_pid=$QV_DEVICE_PID first=$QV_DEVICE_LINE
qv_start_emulator "$bin/quarnelvisk-device" "$work/second.out" --timeout 120 --blocks 8 --wrong-crc 3 ||
  { echo "FAIL: no emulator"; exit 1; }
second_pid=$QV_DEVICE_PID second=$QV_DEVICE_LINE
qv_start_emulator "$bin/quarnelvisk-device" "$work/third.out" --timeout 120 --blocks 8 --units 2 --unit-gap 0 ||
  { echo "FAIL: no emulator"; exit 1; }
third_pid=$QV_DEVICE_PID third=$QV_DEVICE_LINE
late="$work/late-port"
# The test holds each line open as well: when an emulator ends, its pty's
# node goes, but its number is not given to another test's emulator while
# the station, which keeps probing the path, could take that one for its
# own unit.
exec 7<>"$first" 8<>"$second" 9<>"$third"

"$bin/short-image/quarnelvisk-flash" --station --probe-timeout 1 --json "$work/records.jsonl" "$first" "$late" "$third" \
  > "$work/station.out" 2>&1 7<&- 8<&- 9<&- &
station_pid=$!
sleep 2
ln -s "$second" "$late"
# Until the four units have been served, a minute at most.
for _ in $(seq 600); do
  [ "$(grep -c ': unit [0-9]*: ' "$work/station.out")" -ge 4 ] && break
  sleep 0.1
done
# A little longer: a unit flashed twice would show now.
sleep 3
kill -INT "$station_pid"
wait "$station_pid"
status=$?
station_pid=""
kill -TERM "$first_pid" "$second_pid" "$third_pid" 2>/dev/null
wait "$first_pid"
first_status=$?
wait "$third_pid"
first_pid="" third_pid=""
echo "--- station output (exit $status)"; cat "$work/station.out"
echo "--- first device (exit $first_status)"; cat "$work/first.out"
echo "--- third device"; cat "$work/third.out"
echo "--- records"; cat "$work/records.jsonl"
fail=0
expect() {
  grep -qxF -- "$1" "$work/station.out" || { echo "FAIL: no line '$1'"; fail=1; }
}
[ "$status" = 1 ] || { echo "FAIL: exit status $status, expected 1"; fail=1; }
expect "Station: 4 units, 3 passed, 1 failed."
grep -qE "^$first: unit 1: MZK7 1.3, updated, [0-9.]+ s$" "$work/station.out" || { echo "FAIL: unit 1 not updated"; fail=1; }
grep -qE "^$first: unit 2: MZK7 1.3, updated, [0-9.]+ s$" "$work/station.out" || { echo "FAIL: unit 2 not updated"; fail=1; }
grep -qE "^$late: unit 1: MZK7 1.3, transfer failed, [0-9.]+ s$" "$work/station.out" ||
  { echo "FAIL: the late port's unit did not fail as it should"; fail=1; }
grep -qE "^$third: unit 1: MZK7 1.3, updated, [0-9.]+ s$" "$work/station.out" || { echo "FAIL: third not updated"; fail=1; }
[ "$(grep -c ': unit [0-9]*: ' "$work/station.out")" = 4 ] || { echo "FAIL: not four units"; fail=1; }
# The late port is said to be missing once, not at every try, and said to
# open once it does.
[ "$(grep -c "^$late: $late could not be opened: it does not exist" "$work/station.out")" = 1 ] ||
  { echo "FAIL: the missing port was not said once"; fail=1; }
expect "$late: the port opens now; waiting for units"
grep -qF "unit 1: blocks 8, bytes 2048, CRC AA39, PUSK yes" "$work/third.out" || { echo "FAIL: third incomplete"; fail=1; }
tail -1 "$work/third.out" | grep -qF "blocks 0, bytes 0" || { echo "FAIL: the unit still on the third line was flashed again"; fail=1; }
[ "$first_status" = 0 ] || { echo "FAIL: the first device did not get the whole image and PUSK for both units"; fail=1; }
grep -qF "unit 1: blocks 8, bytes 2048, CRC AA39, PUSK yes" "$work/first.out" || { echo "FAIL: unit 1 incomplete"; fail=1; }
[ "$(wc -l < "$work/records.jsonl")" = 4 ] || { echo "FAIL: not four records"; fail=1; }
[ $fail = 0 ] && echo "PASS"
exit $fail
