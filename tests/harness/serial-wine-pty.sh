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
wine_run="$here/wine-run"
prefix="${QV_WINEPREFIX:-$here/../../build/wineprefix}"
wineserver=/usr/lib/wine/wineserver
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

restart_wineserver() {
  WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1
  WINEPREFIX="$prefix" "$wineserver" -w >/dev/null 2>&1
}

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  env -u DISPLAY QV_WINEPREFIX="$prefix" "$wine_run" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" "$wineserver" -w >/dev/null 2>&1
fi

work=$(mktemp -d)
echo_pid=""
cleanup() {
  if [ -n "$echo_pid" ]; then
    kill "$echo_pid" 2>/dev/null
    wait "$echo_pid" 2>/dev/null
  fi
  QV_WINEPREFIX="$prefix" "$wine_run" reg delete 'HKLM\Software\Wine\Ports' /v "$port" /f >/dev/null 2>&1
  restart_wineserver
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
pty=$(cat "$work/pty")

QV_WINEPREFIX="$prefix" "$wine_run" reg add 'HKLM\Software\Wine\Ports' /v "$port" /d "$pty" /f >/dev/null 2>&1 || {
  echo "cannot map $port in $prefix" >&2
  exit 1
}
# Wine reads the port mapping when its server starts. Started here, the
# server does not write its state dump into the test's output when the
# cleanup stops it.
restart_wineserver
WINEPREFIX="$prefix" "$wineserver" -p5 >/dev/null 2>&1 </dev/null

QV_WINEPREFIX="$prefix" QV_SERIAL_PORT="$port" QV_MODEM_LINES="$lines" LD_PRELOAD="$preload" \
  "$wine_run" "$program" "$@"
rc=$?
exit $rc
