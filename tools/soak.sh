#!/bin/bash
# Long run: the flasher against the emulator, RUNS sessions in a row, each
# with a fault drawn (seeded) from the emulator's list, or none.
#   tools/soak.sh BUILD_DIR [RUNS [SEED]]
# BUILD_DIR holds bin/ (the AddressSanitizer build for `make soak`). Every
# run's exit status and texts must be what its fault calls for, and the
# device must have got "PUSK" exactly when the flasher says it succeeded.
# The flasher tells at its end what it still holds (QUARNELVISK_REPORT_USE):
# descriptors and threads must be the same after every run, and its peak
# resident memory must not grow from the first runs to the last. The short
# test image serves most runs; every FULL_EVERY-th run (50) sends the whole
# image and checks it byte for byte. Figures go to BUILD_DIR/soak/report.txt.
set -u
build="$1" runs="${2:-200}" seed="${3:-$(date +%s)}"
bin="$build/bin"
full_every="${FULL_EVERY:-50}"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/harness/lib.sh"
image="$build/generated/stream0.bin"
out="$build/soak"
mkdir -p "$out"
work=$(mktemp -d)
QV_DEVICE_PID=""
trap 'qv_stop_pid "$QV_DEVICE_PID"; rm -rf "$work"' EXIT

OK="$QV_UPDATED_TEXT"
FAILED="$QV_FAILED_TEXT"
CHECK="$QV_CHECK_TEXT"
NONE="$QV_NOT_FOUND_TEXT"
REPLIED="Detail: the device replied "
GONE="Detail: the port went away: "
SHORT="Detail: the device's reply stopped short: "

echo "soak: $runs runs, seed $seed (rerun: tools/soak.sh $build $runs $seed)"
RANDOM=$seed
# The faults the emulator has (its own table): a draw below that names
# another is this script's mistake, said before any run.
known_faults=" $("$bin/quarnelvisk-device" --list-faults | cut -d' ' -f1 | tr '\n' ' ') --baud "

# Sets device_args, flash_args, want_exit, want (texts that must appear),
# pusk (yes or no: what the device must say) for one drawn fault; blocks
# 1 to 8 of the short image.
draw() {
  local k=$((1 + RANDOM % 8)) before=$((1 + RANDOM % 7))
  device_args=() flash_args=() pusk=no
  case $((RANDOM % 20)) in
    0 | 1 | 2) fault="none"; want_exit=0; want=("$OK"); pusk=yes ;;
    3) fault="--garbage $k"; device_args=(--garbage "$k"); want_exit=0; want=("$OK"); pusk=yes ;;
    4) fault="--controls-in-name"; device_args=(--controls-in-name); want_exit=0; want=("$OK" "^[c^G^?"); pusk=yes ;;
    5) fault="--after-start"; device_args=(--after-start "BOOT 1.4"); want_exit=0; want=("$OK"); pusk=yes ;;
    6) fault="--baud 38462"; device_args=(--baud 38462); want_exit=0; want=("$OK"); pusk=yes ;;
    7) fault="--wrong-crc $k"; device_args=(--wrong-crc "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$REPLIED") ;;
    8) fault="--swap-crc $k"; device_args=(--swap-crc "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$REPLIED") ;;
    9)
      case $((RANDOM % 3)) in
        0) fault="--split-ack $k"; device_args=(--split-ack "$k"); want_exit=0; want=("$OK"); pusk=yes ;;
        1) fault="--half-ack $k"; device_args=(--half-ack "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$SHORT") ;;
        2) fault="--extra-byte $k"; device_args=(--extra-byte "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$REPLIED") ;;
      esac ;;
    10) fault="--silent-after $k"; device_args=(--silent-after "$k"); want_exit=1
        want=("$FAILED" "$CHECK" "no reply for 3 watchdog ticks") ;;
    11) fault="--hangup-after $k"; device_args=(--hangup-after "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$GONE") ;;
    12) fault="--hangup-in $k"; device_args=(--hangup-in "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$GONE") ;;
    13) fault="--hangup-in 0"; device_args=(--hangup-in 0); flash_args=(--probe-timeout 20); want_exit=2
        want=("$NONE" " went away: ") ;;
    14) fault="--lowercase-fz"; device_args=(--lowercase-fz); want_exit=1; want=("$FAILED" "$CHECK" "667A (hexadecimal)") ;;
    15) fault="--plain-final"; device_args=(--plain-final); want_exit=1; want=("$FAILED" "$CHECK" "$SHORT") ;;
    16) fault="--early-fz $before"; device_args=(--early-fz "$before"); want_exit=1; want=("$FAILED" "$CHECK" "465A (hexadecimal)") ;;
    17) fault="--flood $k"; device_args=(--flood "$k"); want_exit=1; want=("$FAILED" "$CHECK" "$REPLIED") ;;
    18) fault="--flood 0"; device_args=(--flood 0); flash_args=(--probe-timeout 1); want_exit=2; want=("$NONE") ;;
    19)
      case $((RANDOM % 3)) in
        0) fault="--no-answer"; device_args=(--no-answer) ;;
        1) fault="--id-word QUARNELVISKX"; device_args=(--id-word QUARNELVISKX) ;;
        2) fault="--no-spaces"; device_args=(--no-spaces) ;;
      esac
      flash_args=(--probe-timeout 1); want_exit=2; want=("$NONE") ;;
  esac
}

report="$out/report.txt"
: > "$report"
failures=0 baseline="" first_peaks=() last_peaks=() start=$(date +%s)
declare -A outcomes=()
for run in $(seq 1 "$runs"); do
  draw
  if [ ${#device_args[@]} -gt 0 ] && [[ $known_faults != *" ${device_args[0]} "* ]]; then
    echo "soak: the emulator has no fault ${device_args[0]}" >&2
    exit 2
  fi
  flasher="$bin/short-image/quarnelvisk-flash" blocks=(--blocks 8) whole=0
  if [ "$full_every" -gt 0 ] && [ $((run % full_every)) = 0 ]; then
    fault="whole image" device_args=() flash_args=() want_exit=0 want=("$OK") pusk=yes
    flasher="$bin/quarnelvisk-flash" blocks=() whole=1
  fi
  rm -f "$work/received.bin" "$work/device.out"
  if ! qv_start_emulator "$bin/quarnelvisk-device" "$work/device.out" --timeout 120 --save "$work/received.bin" \
    "${blocks[@]}" "${device_args[@]}"; then
    echo "run $run ($fault): FAIL: no emulator"; failures=$((failures + 1)); continue
  fi
  QUARNELVISK_REPORT_USE=1 timeout 90 "$flasher" "${flash_args[@]}" "$QV_DEVICE_LINE" > "$work/flash.out" 2> "$work/flash.err"
  status=$?
  kill -TERM "$QV_DEVICE_PID" 2>/dev/null
  wait "$QV_DEVICE_PID" 2>/dev/null
  QV_DEVICE_PID=""

  problems=()
  [ "$status" = "$want_exit" ] || problems+=("exit $status, expected $want_exit")
  for text in "${want[@]}"; do
    grep -qF -- "$text" "$work/flash.out" || problems+=("no '$text'")
  done
  if [ "$want_exit" != 0 ] && grep -qF "$OK" "$work/flash.out"; then problems+=("success text in a failure"); fi
  tail -1 "$work/device.out" | grep -qF "PUSK $pusk" || problems+=("the device did not say 'PUSK $pusk'")
  if [ $whole = 1 ] && ! cmp -s "$image" "$work/received.bin"; then problems+=("image not received byte for byte"); fi
  use=$(grep -o 'at exit descriptors [0-9-]*, threads [0-9-]*, peak resident [0-9-]* kB' "$work/flash.err")
  if [ -z "$use" ]; then
    problems+=("no resource report")
  else
    held=$(echo "$use" | sed 's/, peak.*//')
    peak=$(echo "$use" | sed 's/.*peak resident \([0-9-]*\) kB/\1/')
    [ -z "$baseline" ] && baseline="$held"
    [ "$held" = "$baseline" ] || problems+=("$held, the first run: $baseline")
    # The whole image needs more memory of its own; the trend is judged on
    # the short runs.
    if [ $whole = 0 ]; then
      [ "${#first_peaks[@]}" -lt 20 ] && first_peaks+=("$peak")
      last_peaks+=("$peak")
      [ "${#last_peaks[@]}" -gt 20 ] && last_peaks=("${last_peaks[@]:1}")
    fi
  fi
  if grep -q "ERROR: AddressSanitizer\|runtime error:\|ERROR: LeakSanitizer" "$work/flash.err"; then
    problems+=("sanitizer report")
  fi
  key="$fault"
  key="${key%% [0-9]*}"
  outcomes[$key]=$((${outcomes[$key]:-0} + 1))
  printf 'run %d: %s: exit %s; %s\n' "$run" "$fault" "$status" "${use:-no report}" >> "$report"
  if [ ${#problems[@]} -gt 0 ]; then
    failures=$((failures + 1))
    echo "run $run ($fault): FAIL: $(IFS=';'; echo "${problems[*]}")"
    sed 's/^/  flasher: /' "$work/flash.out" "$work/flash.err" | tail -n 30
    echo "  device: $(tail -1 "$work/device.out")"
    cp "$work/flash.out" "$out/run$run.out"; cp "$work/flash.err" "$out/run$run.err"
  fi
  [ $((run % 20)) = 0 ] && echo "soak: $run runs, $failures failed, $(($(date +%s) - start)) s"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR ? a[int((NR + 1) / 2)] : 0)}'; }
first=$(median "${first_peaks[@]}") last=$(median "${last_peaks[@]}")
{
  echo "seed $seed, $runs runs, $failures failed, $(($(date +%s) - start)) s"
  echo "held at every exit: ${baseline:-nothing reported}"
  echo "peak resident, median of the first 20 short runs: $first kB, of the last 20: $last kB"
  echo "faults drawn:"
  for k in "${!outcomes[@]}"; do echo "  $k: ${outcomes[$k]}"; done | sort
} | tee -a "$report"
# Each run is a fresh process, so the peaks of like runs must stay level
# from the first runs to the last; a tenth more counts as growth.
if [ "$first" -gt 0 ] && [ "$last" -gt $((first + first / 10)) ]; then
  echo "soak: FAIL: peak resident memory grew from $first kB to $last kB"
  failures=$((failures + 1))
fi
[ $failures = 0 ] && echo "soak: PASS" || echo "soak: FAIL ($failures)"
exit $((failures > 0))
