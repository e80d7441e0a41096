#!/bin/bash
# Several ports at once: one device emulator per port, on a pseudo-terminal
# each, against one run of the command-line flasher.
#   multi-case.sh BIN_DIR EXPECTED_EXIT IMAGE [--short-image] [--flash-args "ARGS"] [--interrupt SECONDS]
#                 [--json-expect "KEY=VALUE|..."] -- OUTCOME "DEVICE_OPTIONS" OUTCOME "DEVICE_OPTIONS" ...
# Every pair is one port: the outcome its row of the summary table must show
# ("updated", "transfer failed", "no device", "interrupted") and the
# emulator's options ("good" for none). A port that is updated must have
# received IMAGE byte for byte and "PUSK"; one that is not must not have.
# Every line before the table must be a whole line of one port. With
# --json-expect the records (--json) are read back: one a port, every one
# with its port's outcome and exit status, and each KEY with VALUE for the
# ports updated, or for the ports of OUTCOME where the key is written
# OUTCOME/KEY ("@image_bytes" stands for IMAGE's size).
set -u
bin="$1" expected_exit="$2" image="$3"
shift 3
flasher="$bin/quarnelvisk-flash" device_image=() flash_args="" interrupt="" json_expect=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  case "$1" in
    --short-image) flasher="$bin/short-image/quarnelvisk-flash"; device_image=(--blocks 8); shift ;;
    --flash-args) flash_args="$2"; shift 2 ;;
    --interrupt) interrupt="$2"; shift 2 ;;
    --json-expect) json_expect="$2"; shift 2 ;;
    *) echo "multi-case: unknown option $1" >&2; exit 2 ;;
  esac
done
[ "${1:-}" = "--" ] && shift

. "$(dirname "$0")/../harness/lib.sh"
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do qv_stop_pid "$p"; done; rm -rf "$work"' EXIT
outcomes=() lines=()
n=0
while [ $# -ge 2 ]; do
  outcome="$1" options="$2"
  shift 2
  [ "$options" = good ] && options=""
  # shellcheck disable=SC2086
  qv_start_emulator "$bin/quarnelvisk-device" "$work/device$n.out" --timeout 120 --save "$work/received$n.bin" \
    "${device_image[@]}" $options || { echo "FAIL: no emulator"; exit 1; }
  pids+=("$QV_DEVICE_PID") outcomes+=("$outcome") lines+=("$QV_DEVICE_LINE")
  n=$((n + 1))
done

# shellcheck disable=SC2086
timeout 120 "$flasher" $flash_args --json "$work/records.jsonl" "${lines[@]}" > "$work/flash.out" 2>&1 &
flash_pid=$!
if [ -n "$interrupt" ]; then
  sleep "$interrupt"
  kill -INT "$flash_pid"
fi
wait "$flash_pid"
status=$?
echo "--- flasher output (exit $status)"; cat "$work/flash.out"
fail=0
[ "$status" = "$expected_exit" ] || { echo "FAIL: exit status $status, expected $expected_exit"; fail=1; }
for i in "${!lines[@]}"; do
  kill -TERM "${pids[$i]}" 2>/dev/null
  wait "${pids[$i]}"
  device_status=$?
  echo "--- device on ${lines[$i]}: $(tail -1 "$work/device$i.out") (exit $device_status)"
  row=$(grep -E "^${lines[$i]} +" "$work/flash.out" | tail -1)
  [[ "$row" == *"  ${outcomes[$i]}  "* ]] || { echo "FAIL: ${lines[$i]}: row '$row', expected ${outcomes[$i]}"; fail=1; }
  if [ "${outcomes[$i]}" = updated ]; then
    cmp -s "$image" "$work/received$i.bin" || { echo "FAIL: ${lines[$i]} did not receive the image"; fail=1; }
    [ "$device_status" = 0 ] || { echo "FAIL: ${lines[$i]} did not get the whole image and PUSK last"; fail=1; }
  elif [ "$device_status" = 0 ]; then
    echo "FAIL: ${lines[$i]} got the whole image though it failed"; fail=1
  fi
done
# Until the table, every line is one port's, whole.
table=$(grep -n "^port  *device  *version  *outcome  *seconds" "$work/flash.out" | cut -d: -f1)
[ -n "$table" ] || { echo "FAIL: no summary table"; fail=1; table=1; }
pattern=$(printf '%s: |' "${lines[@]}")
if head -n $((table - 1)) "$work/flash.out" | grep -vE "^(${pattern}Image: )" | grep -q .; then
  echo "FAIL: lines without their port before the table"; fail=1
fi
if LC_ALL=C grep -q $'[\x01-\x09\x0b\x0c\x0e-\x1f\x7f]' "$work/flash.out"; then
  echo "FAIL: control bytes in the flasher's output"; fail=1
fi
if [ -n "$json_expect" ]; then
  echo "--- records"; cat "$work/records.jsonl"
  python3 - "$work/records.jsonl" "$json_expect" "$(stat -c %s "$image")" "${lines[@]}" -- "${outcomes[@]}" <<'PY' || fail=1
import datetime, json, sys
path, expected, image_bytes = sys.argv[1:4]
rest = sys.argv[4:]
ports, outcomes = rest[:rest.index("--")], rest[rest.index("--") + 1:]
exits = {"updated": 0, "transfer failed": 1, "no device": 2, "interrupted": 130}
records = [json.loads(line) for line in open(path, encoding="utf-8").read().splitlines()]
bad = 0
def fail(text):
    global bad
    print("FAIL: " + text)
    bad = 1
if sorted(r.get("port") for r in records) != sorted(ports):
    fail(f"records for {[r.get('port') for r in records]}, expected one for each of {ports}")
today = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d")
for port, outcome in zip(ports, outcomes):
    for r in (r for r in records if r.get("port") == port):
        if r.get("outcome") != outcome or r.get("exit") != exits[outcome]:
            fail(f"{port}: outcome {r.get('outcome')!r} exit {r.get('exit')!r}, expected {outcome}")
        if not (isinstance(r.get("time"), str) and r["time"].endswith("Z") and r["time"][:10] == today):
            fail(f"{port}: time {r.get('time')!r}")
        if (r.get("detail") == "") != (outcome == "updated"):
            fail(f"{port}: detail {r.get('detail')!r} for {outcome}")
        for pair in expected.split("|"):
            key, want = pair.split("=", 1)
            of, _, key = key.rpartition("/")
            if (of or "updated") != outcome:
                continue
            want = image_bytes if want == "@image_bytes" else want
            if str(r.get(key)) != want:
                fail(f"{port}: {key} is {r.get(key)!r}, expected {want}")
sys.exit(bad)
PY
fi
[ $fail = 0 ] && echo "PASS"
exit $fail
