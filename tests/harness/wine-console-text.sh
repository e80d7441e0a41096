#!/bin/bash
# The flasher's texts under Wine: in a console (a pseudo-terminal) they read
# as Russian whatever the console's code page; into a pipe they are UTF-8.
# Its port list through the device manager: every line a COM name first,
# and the JSON with every key (Wine reports no USB facts). The port is given as \\.\COM250, which is no port here.
#   wine-console-text.sh FLASHER_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
exe=$(/usr/lib/wine/winepath -w "$1" 2>/dev/null || echo "$1")
said="$QV_NOT_FOUND_TEXT"
fail=0
out=$(mktemp)
trap 'rm -f "$out" "$out.raw"' EXIT

"$here/wine-run" "$1" --probe-timeout 0.3 '\\.\COM250' > "$out.raw" 2>&1
status=$?
tr -d '\r' < "$out.raw" > "$out"
[ $status = 3 ] || { echo "FAIL: pipe: exit $status, expected 3 (port unavailable)"; fail=1; }
grep -qxF "$said" "$out" || { echo "FAIL: pipe: no UTF-8 '$said'"; cat "$out"; fail=1; }
grep -qF "COM250 could not be opened" "$out" || { echo "FAIL: pipe: \\\\.\\COM250 was not taken for COM250"; fail=1; }

script -qec "$here/wine-run cmd /c '$exe --probe-timeout 0.3 COM250:'" /dev/null |
  sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r' > "$out"
grep -qxF "$said" "$out" || { echo "FAIL: console: '$said' does not read as Russian"; fail=1; }

"$here/wine-run" "$1" --list > "$out.raw" 2>&1 || { echo "FAIL: --list failed"; fail=1; }
tr -d '\r' < "$out.raw" | grep -qvE '^COM[0-9]+( |$)' && { echo "FAIL: --list: a line without its COM name"; fail=1; }
"$here/wine-run" "$1" --list --json | tr -d '\r' > "$out.raw"
python3 -c '
import json, sys
keys = ["name", "path", "usb_vendor", "usb_product", "serial", "manufacturer", "product", "by_id", "location", "by_path", "driver"]
sys.exit(any(list(json.loads(l)) != keys for l in open(sys.argv[1])))' "$out.raw" ||
  { echo "FAIL: --list --json: not every key"; cat "$out.raw"; fail=1; }
[ $fail = 0 ] || cat "$out"
[ $fail = 0 ] && echo PASS
exit $fail
