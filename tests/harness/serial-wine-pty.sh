#!/bin/sh
# Runs a Windows serial test program under Wine against a COM port that is a
# pseudo-terminal: a native helper makes the pty and echoes what arrives,
# the Wine prefix maps the port name to it (HKLM\Software\Wine\Ports, then a
# wineserver restart), and a preload library gives the pty the modem lines
# Wine's WaitCommEvent needs. Afterwards the mapping is removed again.
#
# usage: serial-wine-pty.sh HOST_TOOLS_DIR TEST_PROGRAM [ARGS...]
# The prefix is the one tests/harness/wine-run uses (QV_WINEPREFIX or
# build/wineprefix); only that prefix's wineserver is ever stopped.
# QV_SERIAL_PORT names the port (COM7 unless set).
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 HOST_TOOLS_DIR TEST_PROGRAM [ARGS...]" >&2
  exit 2
fi
tools=$(cd "$1" && pwd) || exit 1
program=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
shift 2

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
prefix="${QV_WINEPREFIX:-$here/../../build/wineprefix}"
port="${QV_SERIAL_PORT:-COM7}"
# TIOCM_CTS | TIOCM_DSR: the lines the test expects at open.
lines=288

echo_helper="$tools/serial-pty-echo"
preload="$tools/libqv-modem-lines.so"
for f in "$echo_helper" "$preload"; do
  if [ ! -e "$f" ]; then
    echo "$f is missing: build the native build (QV_HOST_TOOLS_DIR) first" >&2
    exit 1
  fi
done

qv_prepare_prefix "$prefix"

work=$(mktemp -d)
echo_pid=""
mapped=0
cleanup() {
  qv_stop_pid "$echo_pid"
  [ $mapped = 1 ] && qv_unmap_port "$prefix" "$port"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The echo comes back one byte at a time, a character time apart at the
# line's 38462 bit/s: the Win32 backend must still read a reply as one chunk.
"$echo_helper" "$work/pty" 260 &
echo_pid=$!
i=0
while [ ! -s "$work/pty" ] && [ $i -lt 100 ]; do
  sleep 0.05
  i=$((i + 1))
done
if [ ! -s "$work/pty" ]; then
  echo "the echo pty did not come up" >&2
  exit 1
fi
qv_map_port "$prefix" "$port" "$(cat "$work/pty")" || exit 1
mapped=1
# Started here, the server does not write its state dump into the test's
# output when the cleanup stops it.
WINEPREFIX="$prefix" "$qv_wineserver" -p5 >/dev/null 2>&1 </dev/null

QV_WINEPREFIX="$prefix" QV_SERIAL_PORT="$port" QV_MODEM_LINES="$lines" LD_PRELOAD="$preload" \
  "$qv_wine_run" "$program" "$@"
rc=$?
exit $rc
