#!/bin/bash
# Whole-upload benchmarks of the command-line flasher against the device
# emulator on a pseudo-terminal, and the micro-benchmark of the per-byte
# path. Writes build/bench/report.md.
#   bench.sh BUILD_DIR [--quick]
set -u
. "$(dirname "$0")/../tests/harness/lib.sh"
build="$1"
quick="${2:-}"
bin="$build/native/bin"
out="$build/bench"
mkdir -p "$out"
report="$out/report.md"
runs=5
[ "$quick" = "--quick" ] && runs=2

# One upload with the flasher FLASHER: prints "wall user sys maxrss_kib
# exit" of the flasher. HOST_ARGS (words after the device path, empty by
# default) serve the reference host.
upload() {
  local flasher="$1" work
  shift
  work=$(mktemp -d)
  qv_start_emulator "$bin/quarnelvisk-device" "$work/device.out" --timeout 300 "$@" || return 1
  # shellcheck disable=SC2086
  /usr/bin/time -f "%e %U %S %M %x" -o "$work/time" "$flasher" "$QV_DEVICE_LINE" ${HOST_ARGS:-} > "$work/flash.out" 2>&1
  wait "$QV_DEVICE_PID"
  cat "$work/time"
  rm -rf "$work"
}

# One run of the flasher against N emulators at once, each started with
# EMULATOR_ARGS: prints "wall user sys maxrss_kib exit devices_complete".
multi_upload() {
  local n="$1" work lines=() pids=() complete=0
  shift
  work=$(mktemp -d)
  for i in $(seq "$n"); do
    qv_start_emulator "$bin/quarnelvisk-device" "$work/device$i.out" --timeout 300 "$@" || return 1
    lines+=("$QV_DEVICE_LINE") pids+=("$QV_DEVICE_PID")
  done
  /usr/bin/time -f "%e %U %S %M %x" -o "$work/time" "$bin/quarnelvisk-flash" "${lines[@]}" > "$work/flash.out" 2>&1
  for p in "${pids[@]}"; do wait "$p" && complete=$((complete + 1)); done
  echo "$(cat "$work/time") $complete"
  rm -rf "$work"
}

# Several ports against one, whole image: unpaced, then paced.
multi_table() {
  echo "## Several ports at once"
  echo
  echo "One flasher for eight emulators, each on its own pty, against the same flasher for one;"
  echo "whole image (1016 blocks) on every port. Wall time is the flasher's, from start to its"
  echo "summary table; \"complete\" counts the emulators that got the whole image and \"PUSK\"."
  echo
  echo "| line | ports | wall s | flasher CPU s | peak memory MiB | exit | complete | wall / one port |"
  echo "|---|---|---|---|---|---|---|---|"
  local pace args one
  for pace in unpaced 38462; do
    args=()
    [ "$pace" != unpaced ] && args=(--baud "$pace")
    one=""
    for ports in 1 8; do
      read -r wall user sys rss status complete < <(multi_upload "$ports" "${args[@]}")
      [ -z "$one" ] && one="$wall"
      awk -v p="$pace" -v n="$ports" -v w="$wall" -v u="$user" -v s="$sys" -v m="$rss" -v x="$status" \
        -v c="$complete" -v o="$one" 'BEGIN {
          printf "| %s | %d | %s | %.2f | %.1f | %s | %d/%d | %.3f |\n", (p == "unpaced" ? p : p " bit/s"), n, w,
            u + s, m / 1024, x, c, n, w / o }'
    done
  done
  echo
}

if [ "$quick" = "--multi" ]; then
  multi_table > "$out/multi-port.md"
  cat "$out/multi-port.md"
  exit 0
fi

# Median of the wall times and the CPU figures of that run.
median_upload() {
  local n="$1"
  shift
  for _ in $(seq "$n"); do upload "$@"; done | sort -n | awk -v n="$n" 'NR == int((n + 1) / 2)'
}

{
  echo "# Benchmark report"
  echo
  echo "Made by \`make bench\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'),"
  echo "$(free -g | awk '/Mem:/ {print $2}') GiB memory, Linux $(uname -r)."
  echo
  echo "## Whole upload, unpaced (emulator answers at once)"
  echo
  echo "Median of $runs runs; CPU and peak memory are the flasher's."
  echo
  echo "| blocks | wall s | flasher CPU s | CPU µs per block | peak memory MiB | exit |"
  echo "|---|---|---|---|---|---|"
  # The short test image (8 blocks) and the whole one.
  for blocks in 8 1016; do
    flasher="$bin/quarnelvisk-flash"
    [ "$blocks" = 8 ] && flasher="$bin/short-image/quarnelvisk-flash"
    read -r wall user sys rss status < <(median_upload "$runs" "$flasher" --blocks "$blocks")
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%.2f", u + s}')
    per=$(awk -v u="$user" -v s="$sys" -v b="$blocks" 'BEGIN {printf "%.0f", (u + s) * 1e6 / b}')
    mem=$(awk -v k="$rss" 'BEGIN {printf "%.1f", k / 1024}')
    echo "| $blocks | $wall | $cpu | $per | $mem | $status |"
  done
  echo
  echo "## The flasher against the bare exchange"
  echo
  echo "\`quarnelvisk-reference-host\` (tools/referenceHost.cpp) does the exchange on one thread with"
  echo "no elements: one write a byte, each acknowledgement read by its known length, as the"
  echo "flasher now frames it. Same run, median of $runs, whole image, unpaced."
  echo
  echo "| host | wall s | CPU s | flasher / host |"
  echo "|---|---|---|---|"
  read -r fwall fuser fsys _ fstatus < <(median_upload "$runs" "$bin/quarnelvisk-flash" --blocks 1016)
  echo "| quarnelvisk-flash (exit $fstatus) | $fwall | $(awk -v u="$fuser" -v s="$fsys" 'BEGIN {printf "%.2f", u + s}') | 1 |"
  read -r wall user sys _ status < <(HOST_ARGS="$bin/../generated/stream0.bin" \
    median_upload "$runs" "$bin/quarnelvisk-reference-host" --blocks 1016)
  echo "| reference, bare (exit $status) | $wall | $(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%.2f", u + s}') | $(awk -v f="$fwall" -v w="$wall" 'BEGIN {printf "%.3f", f / w}') |"
  echo
  echo "## The wire trace's cost"
  echo
  echo "The same whole upload with \`--trace\` writing every byte and reply to a file: unpaced, median"
  echo "of $runs runs, and paced at 38462 bit/s once (not with \`--quick\`)."
  echo
  echo "| line | trace | wall s | flasher CPU s | exit |"
  echo "|---|---|---|---|---|"
  trace=$(mktemp)
  for traced in no yes; do
    args=""
    [ "$traced" = yes ] && args="--trace $trace"
    read -r wall user sys _ status < <(HOST_ARGS="$args" median_upload "$runs" "$bin/quarnelvisk-flash" --blocks 1016)
    echo "| unpaced | $traced | $wall | $(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%.2f", u + s}') | $status |"
  done
  if [ "$quick" != "--quick" ]; then
    for traced in no yes; do
      args=""
      [ "$traced" = yes ] && args="--trace $trace"
      read -r wall user sys _ status < <(HOST_ARGS="$args" upload "$bin/quarnelvisk-flash" --baud 38462)
      echo "| 38462 bit/s | $traced | $wall | $(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%.2f", u + s}') | $status |"
    done
  fi
  rm -f "$trace"
  echo
  if [ "$quick" != "--quick" ]; then
    echo "## Whole upload paced at 38462 bit/s"
    echo
    echo "The line bound: 260096 bytes at 10 bits a byte is 67.62 s, plus 1016 acknowledgements of 2 bytes"
    echo "(0.53 s): 68.15 s. Each row runs the flasher and the bare reference host once against the"
    echo "emulator with the options given: replies in one write; one byte per character time"
    echo "(\`--byte-gap 260\`); every acknowledgement held 1 or 16 ms as an adapter's latency timer"
    echo "holds it (\`--ack-latency\`); every reply cut in two, the halves 16 ms apart"
    echo "(\`--cut-replies\`). A host's share is its wall time less the bound and the 1016 holds"
    echo "(16 ms each for the cut replies), over the bound."
    echo
    echo "| replies | flasher s | reference s | flasher / reference | bound + holds s | flasher's share | reference's share |"
    echo "|---|---|---|---|---|---|---|"
    for row in "one write|0|" "byte by byte|0|--byte-gap 260" "held 1 ms|1|--ack-latency 1" \
      "held 16 ms|16|--ack-latency 16" "cut in two|16|--cut-replies"; do
      IFS='|' read -r kind hold extra <<< "$row"
      # shellcheck disable=SC2086
      read -r fwall _ _ _ fstatus < <(upload "$bin/quarnelvisk-flash" --baud 38462 $extra)
      # shellcheck disable=SC2086
      read -r rwall _ _ _ rstatus < <(HOST_ARGS="$bin/../generated/stream0.bin" \
        upload "$bin/quarnelvisk-reference-host" --baud 38462 $extra)
      awk -v k="$kind" -v f="$fwall" -v r="$rwall" -v l="$hold" -v fs="$fstatus" -v rs="$rstatus" 'BEGIN {
        b = 67.624 + 0.528; h = b + 1016 * l / 1000
        printf "| %s | %s (exit %s) | %s (exit %s) | %.4f | %.2f | %.2f %% | %.2f %% |\n", k, f, fs, r, rs, f / r, h,
          (f - h) * 100 / b, (r - h) * 100 / b }'
    done
    echo
    multi_table
  fi
  echo "## Per-byte path (Google Benchmark)"
  echo
  if [ -x "$bin/quarnelvisk_bench" ]; then
    echo '```'
    "$bin/quarnelvisk_bench" --benchmark_min_time=0.5 2>&1 | grep -v '^\*\*\*'
    echo '```'
  else
    echo "(quarnelvisk_bench was not built)"
  fi
  if [ "$quick" != "--quick" ]; then
    echo
    "$(dirname "$0")/bench-wine.sh" "$build"
  fi
} > "$report"
cat "$report"
