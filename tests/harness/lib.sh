# Shell pieces shared by the tests, the demo and the benchmarks: the device
# emulator on its pty, the build's Wine prefix, a COM name mapped to a pty,
# and a private Xvfb display. POSIX sh, so that sh and bash scripts can
# source it:  . "$(dirname "$0")/lib.sh"  (or the path from tools/).
# Every function says what it set in QV_* variables.

qv_harness=$(cd "$(dirname "${BASH_SOURCE:-$0}")" && pwd)
qv_wine_run="$qv_harness/wine-run"
qv_wineserver="$qv_harness/wineserver-run"
# What both programs say: the device took the whole image; the transfer
# failed, with its hint; no device answered on the port.
QV_UPDATED_TEXT="ПО успешно обновлено!"
QV_FAILED_TEXT="Ошибка при передаче данных!"
QV_CHECK_TEXT="Проверьте все соединения и попробуйте ещё раз."
QV_NOT_FOUND_TEXT="На этом порту устройств не найдено."

# Ends a process, politely first; nothing when the pid is empty.
qv_stop_pid() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null
  qv_i=0
  while kill -0 "$1" 2>/dev/null && [ $qv_i -lt 50 ]; do sleep 0.1; qv_i=$((qv_i + 1)); done
  kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}

# qv_start_emulator DEVICE_PROGRAM OUTPUT_FILE [OPTIONS...]: starts the
# emulator with its output in OUTPUT_FILE and waits for the path of its line.
# Sets QV_DEVICE_PID and QV_DEVICE_LINE; fails when no line came.
qv_start_emulator() {
  qv_program="$1" qv_output="$2"
  shift 2
  # Emptied here, not only by the emulator's redirection: that happens in the
  # child, and the wait below could read an earlier run's line meanwhile.
  : > "$qv_output"
  "$qv_program" "$@" > "$qv_output" 2>"$qv_output.err" &
  QV_DEVICE_PID=$!
  qv_i=0
  while [ ! -s "$qv_output" ] && [ $qv_i -lt 100 ]; do sleep 0.05; qv_i=$((qv_i + 1)); done
  QV_DEVICE_LINE=$(head -1 "$qv_output")
  if [ -z "$QV_DEVICE_LINE" ]; then
    echo "the emulator printed no line:" >&2
    cat "$qv_output.err" >&2
    return 1
  fi
}

# qv_check_flash OUTPUT STATUS WANT_EXIT WANT_TEXT [IMAGE RECEIVED DEVICE_STATUS]:
# the checks of every flash run: the exit status, WANT_TEXT in the
# flasher's OUTPUT (a file; - for no text), no success said for a failure
# and no failure for a success, and where IMAGE is given (not empty) the
# device's RECEIVED bytes equal to it and its exit status 0 (the whole image
# and "PUSK" came). Says FAIL for each miss; 1 if any.
qv_check_flash() {
  qv_bad=0
  [ "$2" = "$3" ] || { echo "FAIL: exit status $2, expected $3"; qv_bad=1; }
  [ "$4" = - ] || grep -qF -- "$4" "$1" || { echo "FAIL: no '$4' in the output"; qv_bad=1; }
  if [ "$3" != 0 ] && grep -qF "$QV_UPDATED_TEXT" "$1"; then
    echo "FAIL: success reported for a failure"; qv_bad=1
  fi
  if [ "$3" = 0 ] && grep -qF "$QV_FAILED_TEXT" "$1"; then
    echo "FAIL: failure reported for a success"; qv_bad=1
  fi
  if [ -n "${5:-}" ]; then
    cmp -s "$5" "$6" || { echo "FAIL: the device did not receive the image byte for byte"; qv_bad=1; }
    [ "$7" = 0 ] || { echo "FAIL: the device did not get the whole image and \"PUSK\" last"; qv_bad=1; }
  fi
  return $qv_bad
}

# qv_prepare_prefix PREFIX: a Wine prefix made once, without a display so
# that Wine does not stop to offer its Mono and Gecko installers.
qv_prepare_prefix() {
  [ -f "$1/system.reg" ] && return 0
  mkdir -p "$1"
  env -u DISPLAY QV_WINEPREFIX="$1" "$qv_wine_run" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$1" "$qv_wineserver" -w >/dev/null 2>&1
  return 0
}

# qv_prepare_unmanaged_prefix PREFIX: a prefix whose windows no window
# manager would manage. Without a window manager Wine waits two seconds for
# one at every hide or destruction of a managed top-level window; the window
# tests create and destroy a form each, so they use such a prefix. (The
# end-to-end harness keeps the managed default: it finds the form's X window
# by its caption.)
qv_prepare_unmanaged_prefix() {
  [ -f "$1/.unmanaged" ] && return 0
  qv_prepare_prefix "$1"
  env -u DISPLAY QV_WINEPREFIX="$1" "$qv_wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 || return 1
  WINEPREFIX="$1" "$qv_wineserver" -w >/dev/null 2>&1
  touch "$1/.unmanaged"
}

# qv_restart_wineserver PREFIX: ends the prefix's server (and with it every
# Wine process of the prefix) and waits for it; only this prefix's.
qv_restart_wineserver() {
  WINEPREFIX="$1" "$qv_wineserver" -k >/dev/null 2>&1
  WINEPREFIX="$1" timeout 20 "$qv_wineserver" -w >/dev/null 2>&1
  return 0
}

# qv_map_port PREFIX PORT PATH: the COM name PORT opens PATH in the prefix.
# Wine reads the mapping when its server starts, so the server is restarted.
qv_map_port() {
  env -u DISPLAY QV_WINEPREFIX="$1" "$qv_wine_run" reg add 'HKLM\Software\Wine\Ports' /v "$2" /d "$3" /f \
    >/dev/null 2>&1 || { echo "cannot map $2 in $1" >&2; return 1; }
  qv_restart_wineserver "$1"
}

# qv_unmap_port PREFIX PORT: undoes qv_map_port.
qv_unmap_port() {
  env -u DISPLAY QV_WINEPREFIX="$1" "$qv_wine_run" reg delete 'HKLM\Software\Wine\Ports' /v "$2" /f >/dev/null 2>&1
  qv_restart_wineserver "$1"
}

# qv_start_xvfb FIRST LAST: an Xvfb on the first free display number from
# FIRST to LAST, once it answers. Sets DISPLAY (exported) and QV_XVFB_PID.
qv_start_xvfb() {
  qv_n="$1"
  while [ "$qv_n" -le "$2" ]; do
    if [ ! -e "/tmp/.X$qv_n-lock" ] && [ ! -e "/tmp/.X11-unix/X$qv_n" ]; then
      Xvfb ":$qv_n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      QV_XVFB_PID=$!
      qv_i=0
      while [ $qv_i -lt 50 ]; do
        if [ -e "/tmp/.X11-unix/X$qv_n" ] && DISPLAY=":$qv_n" xdotool getdisplaygeometry >/dev/null 2>&1; then
          DISPLAY=":$qv_n"
          export DISPLAY
          return 0
        fi
        kill -0 "$QV_XVFB_PID" 2>/dev/null || break
        sleep 0.1
        qv_i=$((qv_i + 1))
      done
      qv_stop_pid "$QV_XVFB_PID"
      QV_XVFB_PID=""
    fi
    qv_n=$((qv_n + 1))
  done
  echo "no free X display between :$1 and :$2" >&2
  return 1
}
