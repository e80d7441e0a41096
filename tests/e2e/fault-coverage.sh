#!/bin/sh
# Every fault the emulator offers (its --list-faults table) has an
# end-to-end case in CASE_LIST that passes it to the emulator.
#   fault-coverage.sh EMULATOR CASE_LIST
faults=$("$1" --list-faults | cut -d' ' -f1)
[ -n "$faults" ] || { echo "FAIL: the emulator lists no faults"; exit 1; }
missing=0
for fault in $faults; do
  # A case gives the emulator its options after "--".
  grep -q -- "-- .*$fault\( \|)\|\$\)" "$2" || { echo "FAIL: no end-to-end case for $fault"; missing=1; }
done
[ $missing = 0 ] && echo "PASS: $(echo $faults | wc -w) faults, each with a case"
exit $missing
