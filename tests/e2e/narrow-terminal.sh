#!/bin/bash
# The display on a terminal 40 columns wide: the bar of one port and the
# board of two are redrawn within the width (a line that wrapped would
# scroll at every redraw), a bar on the board keeps its count, and with TERM=dumb no escape sequence goes out.
#   narrow-terminal.sh BIN_DIR
set -u
bin="$1"
. "$(dirname "$0")/../harness/lib.sh"
work=$(mktemp -d)
one_pid="" two_pid=""
trap 'qv_stop_pid "$one_pid"; qv_stop_pid "$two_pid"; rm -rf "$work"' EXIT
flasher="$bin/short-image/quarnelvisk-flash"
fail=0
# run NAME TERM PORTS...: the flasher on a pseudo-terminal of 40 columns.
run() {
  local name="$1" term="$2"
  shift 2
  qv_start_emulator "$bin/quarnelvisk-device" "$work/one.out" --timeout 60 --blocks 8 || exit 1
  one_pid=$QV_DEVICE_PID one=$QV_DEVICE_LINE
  qv_start_emulator "$bin/quarnelvisk-device" "$work/two.out" --timeout 60 --blocks 8 || exit 1
  two_pid=$QV_DEVICE_PID two=$QV_DEVICE_LINE
  local ports=("$one")
  [ "$1" = 2 ] && ports+=("$two")
  script -qec "stty cols 40 rows 24; TERM=$term timeout 60 $flasher ${ports[*]}" /dev/null > "$work/$name.out"
  qv_stop_pid "$one_pid"; qv_stop_pid "$two_pid"
  one_pid="" two_pid=""
  grep -qF "$QV_UPDATED_TEXT" "$work/$name.out" || { echo "FAIL: $name: no success"; cat "$work/$name.out"; fail=1; }
}
run bar xterm 1
run board xterm 2
run dumb dumb 1
python3 - "$work" <<'PY' || fail=1
import re, sys
work = sys.argv[1]
def pieces(name):
    text = open(f"{work}/{name}.out", encoding="utf-8").read()
    # The table of outcomes after the board is written once, not redrawn.
    text = text.split("\nport ")[0]
    return re.split(r"[\r\n]", re.sub(r"\x1b\[[0-9;]*[A-Za-z]", "", text))
bad = 0
for name, redrawn in (("bar", lambda p: p.startswith("[")), ("board", lambda p: True)):
    for piece in pieces(name):
        if redrawn(piece) and len(piece) > 39:
            print(f"FAIL: {name}: a redrawn line of {len(piece)} columns: {piece!r}")
            bad = 1
        # A bar on the board keeps its count: it is fitted beside the name.
        if name == "board" and "[" in piece and not re.search(r"\] \d+/\d+$", piece):
            print(f"FAIL: board: a bar without its count: {piece!r}")
            bad = 1
dumb = open(f"{work}/dumb.out", encoding="utf-8").read()
if "\x1b" in dumb or "\r[" in dumb:
    print("FAIL: TERM=dumb got escape sequences or a bar")
    bad = 1
sys.exit(bad)
PY
[ $fail = 0 ] && echo PASS
exit $fail
