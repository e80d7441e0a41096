#!/bin/bash
# The flasher inside a QEMU guest, against real kernel serial drivers, with
# the device emulator on the host as the far end of the line:
#   ftdi_sio  QEMU's FTDI USB serial converter: the guest's ttyUSB ports,
#             named to the flasher by USB identity (usb:0403:6001:SERIAL)
#   8250      QEMU's 16550 UARTs: the guest's ttyS1 to ttyS3 on the ISA bus
#             (ttyS0 is the console), then ttyS4 on as PCI cards
# Every case of the table gets a port of its own and an emulator on a pty,
# the port's far end; one boot runs them all and --list --json.
#   run.sh DRIVER FLASHER EMULATOR KIT_DIR IMAGE CASE_TABLE
# FLASHER carries IMAGE, which the emulator must receive where a case
# succeeds; the kit is make-kit.sh's.
set -u
driver="$1" flasher="$2" emulator="$3" kit="$4" image="$5" table="$6"
here=$(cd "$(dirname "$0")" && pwd)
case "$driver" in
  ftdi_sio|8250) ;;
  *) echo "run.sh: the driver is ftdi_sio or 8250, not $driver" >&2; exit 2 ;;
esac
[ -f "$kit/ready" ] || { echo "FAIL: no guest kit in $kit (tests/harness/guest/make-kit.sh)"; exit 1; }

. "$here/../lib.sh"
# A field of the table without the spaces around it.
trim() {
  local v="$1"
  v="${v#"${v%%[![:space:]]*}"}"
  printf %s "${v%"${v##*[![:space:]]}"}"
}
work=$(mktemp -d)
pids=()
qemu_pid=""
cleanup() {
  qv_stop_pid "$qemu_pid"
  for pid in "${pids[@]}"; do qv_stop_pid "$pid"; done
  rm -rf "$work"
}
trap cleanup EXIT

# The cases, each with its emulator and its port, and what the table wants
# of it on this driver.
names=() qemu_ports=()
declare -A device_pid want_exit want_text checks
root="$work/root"
mkdir -p "$root"/{bin,dev,proc,sys,tmp,modules}
: > "$root/cases"
n=0
while IFS='|' read -r name options ftdi_exit ftdi_text uart_exit uart_text held; do
  name=$(trim "$name")
  [ -z "$name" ] || [ "${name#\#}" != "$name" ] && continue
  names+=("$name")
  if [ "$driver" = ftdi_sio ]; then want_exit[$name]=$(trim "$ftdi_exit") want_text[$name]=$(trim "$ftdi_text")
  else want_exit[$name]=$(trim "$uart_exit") want_text[$name]=$(trim "$uart_text"); fi
  checks[$name]=$(trim "$held")
  # shellcheck disable=SC2086
  qv_start_emulator "$emulator" "$work/$name.device" --timeout 600 \
    --save "$work/$name.received" $options || { echo "FAIL: no emulator for $name"; exit 1; }
  pids+=("$QV_DEVICE_PID")
  device_pid[$name]=$QV_DEVICE_PID
  qemu_ports+=(-chardev "tty,id=line$n,path=$QV_DEVICE_LINE")
  if [ "$driver" = ftdi_sio ]; then
    qemu_ports+=(-device "usb-serial,bus=xhci.0,chardev=line$n,serial=qvline$n")
    echo "$name usb:0403:6001:qvline$n /dev/ttyUSB$n" >> "$root/cases"
  else
    # The PC has three more ISA UARTs besides the console's.
    if [ $n -lt 3 ]; then qemu_ports+=(-device "isa-serial,chardev=line$n")
    else qemu_ports+=(-device "pci-serial,chardev=line$n"); fi
    echo "$name /dev/ttyS$((n + 1)) /dev/ttyS$((n + 1))" >> "$root/cases"
  fi
  n=$((n + 1))
done < "$table"

# The initramfs: busybox, the flasher with the libraries it loads, the
# modules, the init script and the case list.
cp /bin/busybox "$root/bin/busybox"
cp "$flasher" "$root/bin/quarnelvisk-flash"
ldd "$flasher" | sed -n 's/.*=> \(\/[^ ]*\).*/\1/p; s/^[[:space:]]*\(\/[^ ]*\) .*/\1/p' | while read -r library; do
  mkdir -p "$root$(dirname "$library")"
  cp -L "$library" "$root$library"
done
cp "$here/init" "$root/init"
chmod +x "$root/init"
if [ "$driver" = ftdi_sio ]; then
  cp "$kit"/modules/*.ko "$root/modules/"
  echo "usb-common usbcore xhci-hcd xhci-pci usbserial ftdi_sio" > "$root/modules/order"
  controller=(-device qemu-xhci,id=xhci)
else
  controller=()
fi
(cd "$root" && find . | busybox cpio -o -H newc 2>/dev/null | gzip -1) > "$work/initrd.gz"

# TCG: this machine gives no usable KVM. The guest is given a little less
# than ctest gives the case (QV_GUEST_SECONDS), so that a guest that hangs
# is ended here and its console shown.
begun=$(date +%s.%N)
timeout "${QV_GUEST_SECONDS:-270}" qemu-system-x86_64 -accel tcg -m 512 -display none -monitor none -nic none -no-reboot \
  -kernel "$kit/vmlinuz" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 quiet loglevel=3 panic=-1 8250.nr_uarts=8" \
  -chardev "file,id=console,path=$work/console.log" -serial chardev:console \
  "${controller[@]}" "${qemu_ports[@]}" > "$work/qemu.log" 2>&1 &
qemu_pid=$!
wait "$qemu_pid"
qemu_status=$?
qemu_pid=""
ended=$(date +%s.%N)
for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done

tr -d '\r' < "$work/console.log" > "$work/console"
echo "--- guest on $driver: QEMU exit $qemu_status, $(awk "BEGIN { printf \"%.1f\", $ended - $begun }") s from start to power-off"
fail=0
grep -q '^@@done' "$work/console" || { echo "FAIL: the guest did not finish"; tail -40 "$work/console"; cat "$work/qemu.log"; exit 1; }
grep '^@@fail' "$work/console" && fail=1

# --list --json: every case's port, with its driver's facts.
sed -n '/^@@list-begin/,/^@@list-end/p' "$work/console" | grep '^{' > "$work/list.jsonl"
echo "--- --list --json"; cat "$work/list.jsonl"
python3 - "$work/list.jsonl" "$driver" "$n" <<'PY' || fail=1
import json, sys
path, driver, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
ports = {}
for line in open(path, encoding="utf-8"):
    entry = json.loads(line)
    ports[entry["path"]] = entry
bad = 0
for i in range(count):
    # The values each key may have.
    if driver == "ftdi_sio":
        path = f"/dev/ttyUSB{i}"
        allowed = {"usb_vendor": {"0403"}, "usb_product": {"6001"}, "driver": {"ftdi_sio"},
                   "serial": {f"qvline{j}" for j in range(count)}}
    else:
        path = f"/dev/ttyS{i + 1}"
        allowed = {"usb_vendor": {""}, "usb_product": {""}, "serial": {""}, "driver": {"serial", "serial8250"}}
    entry = ports.get(path)
    if entry is None:
        print(f"FAIL: --list has no {path}"); bad = 1; continue
    for key, values in allowed.items():
        if entry.get(key) not in values:
            print(f"FAIL: {path}: {key} is {entry.get(key)!r}, expected one of {sorted(values)}"); bad = 1
    if driver == "ftdi_sio" and not entry.get("product"):
        print(f"FAIL: {path} has no product"); bad = 1
sys.exit(bad)
PY

# The cases, as the table wants them on this driver.
for name in "${names[@]}"; do
  # The emulator says 0 when the whole image and "PUSK" came.
  wait "${device_pid[$name]}"
  device_status=$?
  read -r _ _ status from to < <(grep "^@@end $name " "$work/console")
  latency=$(sed -n "s/^@@latency $name //p" "$work/console")
  echo "--- $name: exit ${status:-none}, $(awk "BEGIN { printf \"%.1f\", ${to:-0} - ${from:-0} }") s in the guest${latency:+, latency $latency}"
  sed -n "s/^@@out $name //p" "$work/console" | tee "$work/$name.out"
  # The image is looked at where the upload is to succeed.
  expected_image=""
  [ "${want_exit[$name]}" != 0 ] || expected_image=$image
  qv_check_flash "$work/$name.out" "${status:-none}" "${want_exit[$name]}" "${want_text[$name]}" \
    "$expected_image" "$work/$name.received" "$device_status" || fail=1
  # The setting as found (its value/kind), put back as it was.
  before=$(echo "$latency" | sed -n 's/.*before=\([^ ]*\).*/\1/p')
  after=$(echo "$latency" | sed -n 's/.*after=\([^ ]*\).*/\1/p')
  [ "${before#*/}" = normal ] || { echo "FAIL: $name: latency setting '$before' before the flasher"; fail=1; }
  # A port that went away has no setting left to look at.
  [ "$after" = /gone ] || [ "$after" = "$before" ] || { echo "FAIL: $name: latency setting left at $after"; fail=1; }
  if [ "${checks[$name]}" = held ]; then
    second=$(sed -n "s/^@@second $name //p" "$work/console")
    [ "$second" = 3 ] && grep -q "^@@second-out $name .*another program holds it" "$work/console" ||
      { echo "FAIL: $name: a second flasher on the held port: exit $second"
        sed -n "s/^@@second-out $name //p" "$work/console"; fail=1; }
    echo "$latency" | grep -q "while=\([^ ]*,\)\?low\(,\| \)" ||
      { echo "FAIL: $name: no low latency while the flasher had the port"; fail=1; }
  fi
done
[ $fail = 0 ] && echo "PASS"
exit $fail
