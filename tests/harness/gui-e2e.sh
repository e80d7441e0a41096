#!/bin/bash
# End-to-end test of the window program: the device emulator serves a pty,
# the Wine prefix maps it as COM7, quarnelvisk.exe runs on a private Xvfb
# and is driven with real X input (xdotool); windowProbe.exe reads the
# controls back, and every phase is kept as a screenshot in
# <win bin>/../screenshots/e2e-<case>-<phase>.png.
#
# usage: gui-e2e.sh CASE [WIN_BIN_DIR [HOST_TOOLS_DIR]]
# cases: success late_failure no_device wrong_crc silence hangup close_during_upload info_box
# The prefix is QV_WINEPREFIX (build/wineprefix unless set); only its own
# wineserver is ever stopped. Displays :80 to :89. The success case sends
# the whole image unless QV_E2E_SHORT is set; the other cases use the
# program built with the short test image, against an emulator whose image
# area is as short.
set -u
case_name="${1:-}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win_bin=$(cd "${2:-$root/build/win64/bin}" && pwd) || exit 2
tools=$(cd "${3:-$root/build/native/bin}" && pwd) || exit 2
prefix="${QV_WINEPREFIX:-$root/build/wineprefix}"
export QV_WINEPREFIX="$prefix"
. "$here/lib.sh"
wine_run="$qv_wine_run"
shots="$win_bin/../screenshots"
caption="Quarnelvisk bootloader"
port=COM7

program="$win_bin/quarnelvisk.exe"
short_program="$win_bin/short-image/quarnelvisk.exe"
short=(--blocks 8)
probe_exe="$win_bin/windowProbe.exe"
device="$tools/quarnelvisk-device"
preload="$tools/libqv-modem-lines.so"

# What each case expects; a small image keeps the failure cases short.
device_flags=()
expect_success=0
case "$case_name" in
  success) device_flags=(--blocks 1016); expect_success=1
           if [ -n "${QV_E2E_SHORT:-}" ]; then program="$short_program"; device_flags=("${short[@]}"); fi ;;
  # The new firmware talks as soon as it starts: a reply after the success.
  late_failure) program="$short_program"; device_flags=("${short[@]}" --after-start "BOOT 1.4"); expect_success=1 ;;
  no_device) program="$short_program"; device_flags=("${short[@]}" --id-word OTHER) ;;
  wrong_crc) program="$short_program"; device_flags=("${short[@]}" --wrong-crc 3) ;;
  silence) program="$short_program"; device_flags=("${short[@]}" --silent-after 3) ;;
  hangup) program="$short_program"; device_flags=("${short[@]}" --hangup-after 3) ;;
  close_during_upload) device_flags=(--blocks 1016 --baud 38462) ;;
  info_box) ;;
  *) echo "usage: $0 success|late_failure|no_device|wrong_crc|silence|hangup|close_during_upload|info_box [WIN_BIN_DIR [HOST_TOOLS_DIR]]" >&2
     exit 2 ;;
esac

for f in "$program" "$probe_exe" "$device" "$preload"; do
  if [ ! -e "$f" ]; then
    echo "$f is missing: build the native and win64 builds first" >&2
    exit 2
  fi
done

work=$(mktemp -d /tmp/qv-e2e-XXXXXX)
QV_XVFB_PID=""
QV_DEVICE_PID=""
app_pid=""
mapped=0
failures=0

log() { echo "[$case_name $(date +%H:%M:%S)] $*"; }
fail() { log "FAIL: $*"; failures=$((failures + 1)); }

cleanup() {
  if [ $failures != 0 ] && [ -s "$work/app.out" ]; then
    echo "--- what the program printed (last 40 lines) ---"
    tail -n 40 "$work/app.out"
  fi
  qv_stop_pid "$app_pid"
  qv_stop_pid "$QV_DEVICE_PID"
  # Ending this prefix's server also ends any Wine process of the run that
  # is still there, before its display goes.
  qv_restart_wineserver "$prefix"
  [ $mapped = 1 ] && qv_unmap_port "$prefix" "$port"
  qv_stop_pid "$QV_XVFB_PID"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

shot() {
  mkdir -p "$shots"
  import -display "$DISPLAY" -window root "$shots/e2e-$case_name-$1.png" 2>/dev/null &&
    log "screenshot $(cd "$shots" && pwd)/e2e-$case_name-$1.png"
}

probe() { "$wine_run" "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }

# The probe's line of a control: by class and, when given, by text.
control() {
  local listing=$1 cls=$2 text=${3:-}
  if [ -n "$text" ]; then
    printf '%s\n' "$listing" | awk -F'\t' -v c="$cls" -v t="$text" 'tolower($1) == tolower(c) && $6 == t { print; exit }'
  else
    printf '%s\n' "$listing" | awk -F'\t' -v c="$cls" 'tolower($1) == tolower(c) { print; exit }'
  fi
}
field() { printf '%s\n' "$1" | cut -f"$2"; }

# Polls the window's listing until the awk condition holds on it (or the
# program is gone, or the time is up); the last listing is in $listing.
listing=""
wait_for() {
  local what=$1 seconds=$2 condition=$3 interval=${4:-0.3}
  local end=$((SECONDS + seconds))
  while [ $SECONDS -lt $end ]; do
    listing=$(probe list "$caption")
    if [ -n "$listing" ] &&
       printf '%s\n' "$listing" | awk -F'\t' "{ if ($condition) found = 1 } END { exit !found }"; then
      return 0
    fi
    if [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null; then break; fi
    sleep "$interval"
  done
  fail "$what did not happen within ${seconds}s"
  printf '%s\n' "$listing" | sed 's/^/  | /'
  return 1
}
# The optional fourth argument is the polling interval in seconds.
# awk conditions over the listing (class $1, visible $2, enabled $3, position $5, text $6, items $7).
has() { echo "(tolower(\$1) == tolower(\"$1\") && $2)"; }

# Waits for the program to end; its exit status lands in $app_rc.
app_rc=""
wait_exit() {
  local seconds=$1 end=$((SECONDS + $1))
  while kill -0 "$app_pid" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.2; done
  if kill -0 "$app_pid" 2>/dev/null; then
    fail "the program did not end within ${seconds}s"
    return 1
  fi
  wait "$app_pid"
  app_rc=$?
  app_pid=""
  log "the program ended with status $app_rc"
  if grep -q "quarnelvisk: teardown done" "$work/app.out"; then
    log "its teardown had finished"
  else
    log "its teardown had not finished"
  fi
  return 0
}

# Clicks the client-area point of the main form with real X input.
xwin=""
xclick() {
  xdotool mousemove --window "$xwin" "$1" "$2" click 1 2>/dev/null
  sleep 0.3
}

find_xwin() {
  local end=$((SECONDS + 20))
  while [ $SECONDS -lt $end ]; do
    # The framework's application window is a 1x1 one of the same caption;
    # the form is the one of the form's client size.
    local w
    for w in $(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null); do
      if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q 'Geometry: 610x'; then
        xwin=$w
        return 0
      fi
    done
    sleep 0.3
  done
  fail "no X window captioned \"$caption\""
  return 1
}

start_program() {
  # Wine's own report of an exception goes into app.out.
  WINEDEBUG="${QV_APP_WINEDEBUG:--all,err+seh,warn+debugstr}" QV_MODEM_LINES=288 LD_PRELOAD="$preload" "$wine_run" "$program" "$@" \
    >"$work/app.out" 2>&1 &
  app_pid=$!
}

# The phase walk: the visible and enabled bits of the port list, "Записать",
# "OK" and the form itself, as "list VE write VE ok VE form VE" matched
# against a pattern (? for a bit that does not matter), and where the focus
# is: on one of the form's controls unless focus_free is given.
phase_check() {
  local phase=$1 want=$2 focus_rule=${3:-on_control}
  local bits line
  bits() { [ -n "$1" ] && printf '%s%s' "$(field "$1" 2)" "$(field "$1" 3)" || printf 'absent'; }
  line="list $(bits "$(control "$listing" ComboBox)") write $(bits "$(control "$listing" Button "Записать")")"
  line="$line ok $(bits "$(control "$listing" Button OK)") form $(bits "$(printf '%s\n' "$listing" | head -n 1)")"
  # shellcheck disable=SC2053
  if [[ $line == $want ]]; then log "$phase: $line"; else fail "$phase: $line, want $want"; fi
  local focus
  focus=$(probe focus "$caption")
  log "$phase: focus on $(printf '%s' "$focus" | tr '\t' ' ')"
  if [ "$focus_rule" = on_control ]; then
    case "$(field "$focus" 1)" in
      none|elsewhere|window|"") fail "$phase: the focus is on no control of the form ($focus)" ;;
    esac
  fi
}

# ---- the steps of the cases ----

# The emulator with the case's faults on a pty mapped as COM7, then the
# program; the window must appear with the port list already filled, and
# COM7 is picked from it: the list opened with a click on its arrow, then
# stepped down to the port.
open_and_pick() {
  # The full image takes minutes under Wine, one WriteFile a byte.
  qv_start_emulator "$device" "$work/device.out" "${device_flags[@]}" --save "$work/received.bin" --timeout 1200 ||
    exit 1
  qv_map_port "$prefix" "$port" "$QV_DEVICE_LINE" || exit 1
  mapped=1
  WINEPREFIX="$prefix" "$qv_wineserver" -p10 >/dev/null 2>&1 </dev/null
  log "$port is $QV_DEVICE_LINE (emulator ${device_flags[*]})"
  start_program

  wait_for "the main window" 60 "$(has ComboBox "\$2 == 1")" || exit 1
  combo=$(control "$listing" ComboBox)
  shot start
  case "|$(field "$combo" 7)|" in
    *"|$port|"*) log "port list: $(field "$combo" 7)" ;;
    *) fail "the port list at first sight is \"$(field "$combo" 7)\", without $port" ;;
  esac
  phase_check start "list 11 write 10 ok 0? form 11"
  find_xwin || exit 1

  xclick 87 20
  shot list-open
  local picked=0 step
  for step in 1 2 3 4 5 6 7 8; do
    xdotool key Down 2>/dev/null
    sleep 0.4
    listing=$(probe list "$caption")
    combo=$(control "$listing" ComboBox)
    if [ "$(field "$combo" 6)" = "$port" ]; then picked=1; break; fi
  done
  xdotool key Return 2>/dev/null
  sleep 0.3
  [ $picked = 1 ] || { fail "could not pick $port (combo: $combo)"; exit 1; }
  log "picked $port after $step Down"
}

# The device is detected, "Записать" comes on, and is clicked; the upload
# has begun when the progress moves (or the outcome is already there).
detect_and_write() {
  local status_text="Устройство: MZK7   Текущая версия ПО: 1.3"
  wait_for "the device status" 30 "$(has Edit "\$6 == \"$status_text\"")" || exit 1
  wait_for "\"Записать\" enabled" 10 "$(has Button "\$6 == \"Записать\" && \$3 == 1")" || exit 1
  phase_check ready "list 10 write 11 ok 0? form 11"
  shot detected
  upload_start=$SECONDS
  xclick 47 65
  wait_for "the upload start" 30 "$(has msctls_progress32 "\$5 > 0") || $(has Button "\$6 == \"OK\" && \$2 == 1")" ||
    exit 1
  shot uploading
  first_position=$(field "$(control "$listing" msctls_progress32)" 5)
  # A short upload may be over, or its end under way (the working controls
  # going), by the time it is looked at: the phase is checked while
  # "Записать" still shows. The whole form takes no input meanwhile, so the
  # focus may rest anywhere.
  if [ -n "$(control "$listing" Button "Записать" | awk -F'\t' '$2 == 1')" ]; then
    phase_check uploading "list 10 write 10 ok 0? form 10" focus_free
  else
    log "uploading: over before it could be looked at"
  fi
  log "progress $first_position"
}

# The emulator's end, with its status in $device_rc.
device_end() {
  local end=$((SECONDS + ${1:-5}))
  while kill -0 "$QV_DEVICE_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.2; done
  kill "$QV_DEVICE_PID" 2>/dev/null
  wait "$QV_DEVICE_PID"
  device_rc=$?
  QV_DEVICE_PID=""
  log "the emulator ended with status $device_rc"
  sed 's/^/  device: /' "$work/device.out.err" | tail -n 5
}

# ---- one function a case ----

case_info_box() {
  WINEPREFIX="$prefix" "$qv_wineserver" -p10 >/dev/null 2>&1 </dev/null
  start_program /ih
  caption="Zelmo Info"
  if wait_for "the information box" 40 "$(has Static "\$6 == \"Сделано в Zelmo.\" && \$2 == 1")"; then
    shot box
    tops=$(probe top)
    if printf '%s\n' "$tops" | grep -q "Quarnelvisk bootloader"; then
      fail "the main window is shown besides the information box"
    fi
    # The box's single button is labelled in the system's language ("OK" or "ОК").
    ok=$(control "$listing" Button)
    case "$(field "$ok" 6)" in
      OK|ОК) ;;
      *) fail "the box's button is \"$(field "$ok" 6)\", want OK" ;;
    esac
    [ "$(printf '%s\n' "$listing" | awk -F'\t' 'tolower($1) == "button"' | wc -l)" = 1 ] ||
      fail "the box has more than one button"
    probe click "$caption" "$(field "$ok" 6)" || fail "cannot press the box's button"
  fi
  wait_exit 20 && [ "$app_rc" = 0 ] || fail "exit status ${app_rc:-none}, want 0"
}

case_no_device() {
  open_and_pick
  wait_for "the not-found text" 30 "$(has Edit "\$6 == \"$QV_NOT_FOUND_TEXT\"")" && shot not-found
  button=$(control "$listing" Button "Записать")
  [ "$(field "$button" 3)" = 0 ] || fail "\"Записать\" is enabled without a device"
  probe close "$caption" || fail "cannot close the window"
  wait_exit 30 && { [ "$app_rc" = 0 ] || fail "exit status $app_rc, want 0"; }
}

case_close_during_upload() {
  open_and_pick
  detect_and_write
  wait_for "the progress to advance" 60 "$(has msctls_progress32 "\$5 > $first_position")" || exit 1
  # Closed through the hidden application window that carries the task-bar
  # button, as the task bar's "Close window" does.
  log "progress $(field "$(control "$listing" msctls_progress32)" 5), closing through the application window"
  probe appclose "$caption" || fail "cannot close the application window"
  wait_exit 20 && { [ "$app_rc" = 0 ] || fail "exit status $app_rc, want 0"; }
  grep -q "quarnelvisk: teardown done" "$work/app.out" || fail "the teardown did not finish"
}

# success, late_failure, wrong_crc, silence, hangup: the upload runs to its
# outcome, which the window shows until "OK" ends the program.
case_outcome() {
  open_and_pick
  detect_and_write
  if [ "$case_name" = success ]; then
    # The progress advances while the blocks go.
    if wait_for "the progress to advance" 120 "$(has msctls_progress32 "\$5 > $first_position") || $(has Button "\$6 == \"OK\" && \$2 == 1")"; then
      log "progress $(field "$(control "$listing" msctls_progress32)" 5)"
    fi
    # Every probe is a Wine start, and on a loaded machine that load alone
    # can stall the upload past its watchdog. During the long upload the
    # emulator says when it is over (it ends after "PUSK"); the window is
    # looked at only every 30 s meanwhile, to see a failure.
    local end=$((SECONDS + 1200)) next_look=$((SECONDS + 30))
    while kill -0 "$QV_DEVICE_PID" 2>/dev/null && kill -0 "$app_pid" 2>/dev/null && [ $SECONDS -lt $end ]; do
      if [ $SECONDS -ge $next_look ]; then
        listing=$(probe list "$caption")
        printf '%s\n' "$listing" | awk -F'\t' 'tolower($1) == "button" && $6 == "OK" && $2 == 1 { f = 1 } END { exit !f }' && break
        log "progress $(field "$(control "$listing" msctls_progress32)" 5)"
        next_look=$((SECONDS + 30))
      fi
      sleep 1
    done
  fi
  wait_for "the OK button" 1200 "$(has Button "\$6 == \"OK\" && \$2 == 1")" 5 || exit 1
  log "upload took $((SECONDS - upload_start)) s"
  sleep 0.5
  if [ "$case_name" = late_failure ]; then
    # The device sends its words right after "PUSK" and ends 0.3 s later.
    local end=$((SECONDS + 20))
    while kill -0 "$QV_DEVICE_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.2; done
    sleep 1
  fi
  listing=$(probe list "$caption")
  phase_check finished "list 0? write 0? ok 11 form 11"
  shot done
  printf '%s\n' "$listing" | sed 's/^/  | /'
  # A label may hold several of the texts, padded apart with spaces.
  visible_text() { printf '%s\n' "$listing" | awk -F'\t' -v t="$1" 'index($6, t) && $2 == 1 { f = 1 } END { exit !f }'; }
  if [ $expect_success = 1 ]; then
    visible_text "$QV_UPDATED_TEXT" || fail "no success text"
    visible_text "Сбросте настройки по умолчанию!" || fail "no reset hint"
    visible_text "$QV_FAILED_TEXT" && fail "the error text is shown on success"
  else
    visible_text "$QV_FAILED_TEXT" || fail "no error text"
    visible_text "$QV_CHECK_TEXT" || fail "no error hint"
    visible_text "$QV_UPDATED_TEXT" && fail "the success text is shown on failure"
    # The error picture: a visible static of 290x290 pixels or the like at 145,3.
    printf '%s\n' "$listing" | awk -F'\t' 'tolower($1) == "static" && $2 == 1 && $4 ~ /^145,3,/ { f = 1 } END { exit !f }' ||
      fail "no error picture at 145,3"
  fi
  printf '%s\n' "$listing" | awk -F'\t' 'tolower($1) == "button" && $6 == "Записать" && $2 == 1 { f = 1 } END { exit !f }' &&
    fail "\"Записать\" is still shown"

  # OK ends the program.
  xclick 302 75
  wait_exit 30 && { [ "$app_rc" = 0 ] || fail "exit status $app_rc, want 0"; }
  shot closed

  if [ "$case_name" = success ]; then device_end 20; else device_end 5; fi
  if [ $expect_success = 1 ]; then
    [ "$device_rc" = 0 ] || fail "the emulator did not get the whole image and PUSK (status $device_rc)"
    local image="$win_bin/../generated/stream0.bin"
    [ "$program" = "$short_program" ] && image="$win_bin/../generated/stream0-short.bin"
    cmp -s "$work/received.bin" "$image" || fail "what the emulator received differs from the program's image"
  fi
}

# ---- the run ----
qv_start_xvfb 80 89 || exit 1
log "display $DISPLAY, prefix $prefix"
qv_prepare_prefix "$prefix"
case "$case_name" in
  info_box) case_info_box ;;
  no_device) case_no_device ;;
  close_during_upload) case_close_during_upload ;;
  *) case_outcome ;;
esac
[ $failures = 0 ] && log PASS || log "$failures failure(s)"
[ $failures = 0 ]
