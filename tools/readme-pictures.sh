#!/bin/sh
# Copies the end-to-end screenshots of the window program into
# docs/screenshots/ for the README, cut down to the main window (there is no
# window manager on the test display, so the form's client area sits at
# 203,222, 610x137). Run the gui_e2e tests of the win64 build first.
#
# usage: tools/readme-pictures.sh [SCREENSHOT_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
from="${1:-$root/build/win64/screenshots}"
to="$root/docs/screenshots"
mkdir -p "$to"

# target name, source phase
set -- \
  detected e2e-success-detected \
  success e2e-success-done \
  failure e2e-wrong_crc-done \
  no-device e2e-no_device-not-found
missing=0
while [ $# -ge 2 ]; do
  name=$1 shot=$2
  shift 2
  if [ ! -f "$from/$shot.png" ]; then
    echo "missing $from/$shot.png" >&2
    missing=1
    continue
  fi
  if command -v convert >/dev/null 2>&1; then
    convert "$from/$shot.png" -crop 610x137+203+222 +repage "$to/$name.png"
  else
    cp "$from/$shot.png" "$to/$name.png"
  fi
  echo "$to/$name.png"
done
exit $missing
