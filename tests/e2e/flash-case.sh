#!/bin/bash
# One end-to-end case: the device emulator on a pseudo-terminal against the
# command-line flasher.
#   flash-case.sh BIN_DIR EXPECTED_EXIT EXPECTED_TEXT [--image FILE] [--short-image] [--device-says TEXT]
#                 [--interrupt SECONDS [--signal NAME]] [--stdout pipe|closed] [--hold] [--flash-args "ARGS"]
#                 [--flash-image FILE] -- DEVICE_OPTIONS...
# EXPECTED_TEXT must appear in the flasher's output (UTF-8; - for none); with --image the
# device must have received exactly FILE and "PUSK"; with --short-image the
# flasher carries the short test image and the device's image area is as
# short; --device-says TEXT must appear in the device's closing line; with
# --hold another program holds the line (an exclusive lock on it) while the
# flasher runs; --flash-image FILE has the flasher send FILE (--image), and
# the device must then receive FILE padded with 0xFF to 260096 bytes;
# --interrupt sends SIGNAL (INT) to the flasher after SECONDS; --stdout pipe
# reads one line of its output and closes the pipe, --stdout closed starts
# it without a standard output; the line must be left out of exclusive mode;
# --json-expect "KEY=VALUE|..." has the flasher write its record (--json)
# and checks that the one record holds each KEY with VALUE ("@port" stands
# for the line's path, "@utc" for a time of today in UTC, "@version" for
# the version that --version gives); --trace-expect "TEXT|..." has the
# flasher write a wire trace (--trace) that must hold each TEXT, and a
# record (if one is asked for) that names it.
set -u
bin="$1" expected_exit="$2" expected_text="$3"
shift 3
image="" flash_image="" json_expect="" trace_expect="" interrupt="" signal=INT stdout="" flash_args="" hold=0 device_says="" flasher="$bin/quarnelvisk-flash" device_image=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  case "$1" in
    --image) image="$2"; shift 2 ;;
    --interrupt) interrupt="$2"; shift 2 ;;
    --signal) signal="$2"; shift 2 ;;
    --stdout) stdout="$2"; shift 2 ;;
    --hold) hold=1; shift ;;
    --short-image) flasher="$bin/short-image/quarnelvisk-flash"; device_image=(--blocks 8); shift ;;
    --device-says) device_says="$2"; shift 2 ;;
    --flash-args) flash_args="$2"; shift 2 ;;
    --flash-image) flash_image="$2"; shift 2 ;;
    --json-expect) json_expect="$2"; shift 2 ;;
    --trace-expect) trace_expect="$2"; shift 2 ;;
    *) echo "flash-case: unknown option $1" >&2; exit 2 ;;
  esac
done
[ "${1:-}" = "--" ] && shift

. "$(dirname "$0")/../harness/lib.sh"
work=$(mktemp -d)
QV_DEVICE_PID=""
trap 'qv_stop_pid "$QV_DEVICE_PID"; rm -rf "$work"' EXIT
if [ -n "$flash_image" ]; then
  image="$work/padded.bin"
  { cat "$flash_image"; head -c $((260096 - $(stat -c %s "$flash_image"))) /dev/zero | tr '\0' '\377'; } > "$image"
  flash_args="$flash_args --image $flash_image"
fi
[ -z "$trace_expect" ] || flash_args="$flash_args --trace $work/unit.trace"
qv_start_emulator "$bin/quarnelvisk-device" "$work/device.out" --timeout 120 --save "$work/received.bin" \
  "${device_image[@]}" "$@" || { echo "FAIL: no emulator"; exit 1; }
device_pid=$QV_DEVICE_PID line=$QV_DEVICE_LINE
if [ $hold = 1 ]; then
  # Held as a program that has the port open holds it: a lock on its own
  # open of the line (descriptor 9 of this script, closed for the flasher).
  exec 9<>"$line"
  flock --nonblock 9 || { echo "FAIL: cannot lock $line"; exit 1; }
fi

[ -n "$json_expect" ] && flash_args="$flash_args --json $work/records.jsonl"
# shellcheck disable=SC2086
case "$stdout" in
  # Standard output read for one line and then closed; or closed before the
  # start, as some service managers start programs.
  pipe)
    timeout 90 "$flasher" $flash_args "$line" 2> "$work/flash.err" 9>&- | head -1 > "$work/flash.out"
    status=${PIPESTATUS[0]}
    cat "$work/flash.err" >> "$work/flash.out"
    ;;
  closed)
    timeout 90 "$flasher" $flash_args "$line" >&- 2> "$work/flash.out" 9>&-
    status=$?
    ;;
  *)
    # Signalled directly, not through timeout(1), which passes on only some
    # signals; a guard ends a flasher that ignored it.
    if [ -n "$interrupt" ]; then
      "$flasher" $flash_args "$line" > "$work/flash.out" 2>&1 9>&- &
      flash_pid=$!
      # Polls, so that it ends with the flasher and keeps no output open.
      (for _ in $(seq 900); do kill -0 "$flash_pid" 2>/dev/null || exit 0; sleep 0.1; done
        kill -KILL "$flash_pid") > /dev/null 2>&1 &
      sleep "$interrupt"
      kill -"$signal" "$flash_pid"
    else
      timeout 90 "$flasher" $flash_args "$line" > "$work/flash.out" 2>&1 9>&- &
      flash_pid=$!
    fi
    wait "$flash_pid"
    status=$?
    ;;
esac
# Whatever ended the run, the line is left free for the next program: not
# in exclusive mode (TIOCGEXCL), which the flasher sets while it has it.
# Looked at only while the emulator keeps its line: once it has ended,
# another case's emulator may have the same pty name.
kill -0 "$device_pid" 2>/dev/null && ! python3 -c 'import fcntl, os, struct, sys
try:
    fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
except OSError:
    sys.exit(0)  # the emulator has ended and taken the line with it
sys.exit(struct.unpack("i", fcntl.ioctl(fd, 0x80045440, b"\0" * 4))[0])' "$line" &&
  kill -0 "$device_pid" 2>/dev/null && echo "FAIL: the line is left in exclusive mode" >> "$work/line.fail"
kill -TERM "$device_pid" 2>/dev/null
wait "$device_pid"
device_status=$?

echo "--- flasher output (exit $status)"; cat "$work/flash.out"
echo "--- device: $(tail -1 "$work/device.out") (exit $device_status)"
fail=0
[ -f "$work/line.fail" ] && { cat "$work/line.fail"; fail=1; }
qv_check_flash "$work/flash.out" "$status" "$expected_exit" "$expected_text" "$image" "$work/received.bin" \
  "$device_status" || fail=1
# "Not found" is said once, when the probe has ended without a device.
not_found=$(grep -cF "$QV_NOT_FOUND_TEXT" "$work/flash.out")
if [ "$not_found" -gt 1 ] || { [ "$expected_exit" = 0 ] && [ "$not_found" != 0 ]; }; then
  echo "FAIL: 'not found' said $not_found times"; fail=1
fi
# Whatever the device sent, nothing but line ends may steer the terminal.
if LC_ALL=C grep -q $'[\x01-\x09\x0b\x0c\x0e-\x1f\x7f]' "$work/flash.out"; then
  echo "FAIL: control bytes in the flasher's output"; fail=1
fi
if [ -n "$device_says" ] && ! tail -1 "$work/device.out" | grep -qF -- "$device_says"; then
  echo "FAIL: the device did not say '$device_says'"; fail=1
fi
if [ -n "$trace_expect" ]; then
  IFS='|' read -ra wanted <<< "$trace_expect"
  for text in "${wanted[@]}"; do
    grep -qF -- "$text" "$work/unit.trace" 2>/dev/null ||
      { echo "FAIL: the trace lacks '$text'"; cut -c1-160 "$work/unit.trace" 2>/dev/null | tail -20; fail=1; }
  done
fi
if [ -n "$json_expect" ]; then
  echo "--- record: $(cat "$work/records.jsonl" 2>/dev/null)"
  version=$("$flasher" --version | head -1)
  python3 - "$work/records.jsonl" "$json_expect" "$line" "${version#quarnelvisk-flash }" <<'PY' || fail=1
import datetime, json, sys
path, expected, port, version = sys.argv[1:5]
lines = open(path, encoding="utf-8").read().splitlines()
if len(lines) != 1:
    sys.exit(f"FAIL: {len(lines)} records, expected 1")
record = json.loads(lines[0])
bad = 0
for pair in expected.split("|"):
    key, want = pair.split("=", 1)
    got = record.get(key)
    if want == "@port":
        ok = got == port
    elif want == "@trace":
        ok = isinstance(got, str) and got.endswith("/unit.trace")
    elif want == "@version":
        ok = got == version and version != ""
    elif want == "@utc":
        ok = isinstance(got, str) and got.endswith("Z") and \
            got[:10] == datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d")
    else:
        ok = str(got) == want
    if not ok:
        print(f"FAIL: record {key} is {got!r}, expected {want}")
        bad = 1
sys.exit(bad)
PY
fi
[ $fail = 0 ] && echo "PASS"
exit $fail
