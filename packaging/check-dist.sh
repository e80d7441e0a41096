#!/bin/bash
# The release as CI checks it: made with the generated test image and signed
# with a throwaway certificate made for the run; the signatures verified; the
# package installed, its flasher asked for its version and run against its
# emulator, then removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
device_pid=""
trap '[ -z "$device_pid" ] || kill "$device_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "check-dist: $1" >&2; exit 1; }
. "$root/tests/harness/lib.sh"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quarnelvisk CI throwaway" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
make -C "$root" --no-print-directory dist TEST_IMAGE=1 SIGN_CERT="$work/cert.pem" SIGN_KEY="$work/key.pem"
version=$("$root/build/dist/native/bin/quarnelvisk-flash" --version | sed -n '1s/^quarnelvisk-flash //p')
zip=$root/dist/quarnelvisk-test-image-$version-win32.zip
deb=$root/dist/quarnelvisk-test-image_${version}_amd64.deb
[ -f "$root/dist/quarnelvisk-test-image-$version-win32-debug.zip" ] || fail "no debug files beside the zip"

unzip -q "$zip" -d "$work/zip"
for exe in quarnelvisk.exe quarnelvisk-flash.exe; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$work/zip/quarnelvisk-test-image-$version-win32/$exe" \
    > "$work/verify.out" 2>&1 || { cat "$work/verify.out"; fail "$exe: the signature does not verify"; }
done
echo "check-dist: both programs in the zip are signed"

$sudo dpkg -i "$deb" >/dev/null
installed=$(quarnelvisk-flash --version | head -1)
[ "$installed" = "quarnelvisk-flash $version" ] || fail "the installed flasher says '$installed'"
qv_start_emulator /usr/bin/quarnelvisk-device "$work/device.out" --timeout 120 --save "$work/received.bin" ||
  fail "the installed emulator gave no line"
device_pid=$QV_DEVICE_PID
status=0
/usr/bin/quarnelvisk-flash "$QV_DEVICE_LINE" > "$work/flash.out" 2>&1 || status=$?
device_status=0
wait "$device_pid" || device_status=$?
device_pid=""
$sudo dpkg -r quarnelvisk-test-image >/dev/null
qv_check_flash "$work/flash.out" $status 0 "$QV_UPDATED_TEXT" \
  "$root/build/dist/native/generated/stream0.bin" "$work/received.bin" $device_status ||
  { cat "$work/flash.out"; fail "the installed flasher did not update the emulator"; }
echo "check-dist: the installed package flashed its emulator; removed again"
