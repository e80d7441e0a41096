#!/bin/sh
# Makes the guest kit in KIT_DIR (once): Debian's kernel for amd64 with the
# USB serial modules it loads from its initramfs, and the static busybox
# that is the guest's shell and tools. Nothing is installed on this machine:
# the kernel package is downloaded and unpacked into KIT_DIR.
#   make-kit.sh KIT_DIR
set -eu
kit="$1"
# The kernel that linux-image-amd64 names today; a newer one makes a new kit.
kernel_package=$(apt-cache depends linux-image-amd64 2>/dev/null | sed -n 's/^ *Depends: \(linux-image-[0-9].*\)/\1/p' | head -1)
if [ -z "$kernel_package" ]; then
  apt-get update -qq
  kernel_package=$(apt-cache depends linux-image-amd64 | sed -n 's/^ *Depends: \(linux-image-[0-9].*\)/\1/p' | head -1)
fi
[ -n "$kernel_package" ] || { echo "make-kit: no kernel package named by linux-image-amd64" >&2; exit 1; }
if [ -f "$kit/ready" ] && [ "$(cat "$kit/ready")" = "$kernel_package" ]; then exit 0; fi
[ -x /bin/busybox ] && busybox --list | grep -qx cpio || { echo "make-kit: busybox-static is missing (make setup)" >&2; exit 1; }
command -v qemu-system-x86_64 >/dev/null || { echo "make-kit: qemu-system-x86 is missing (make setup)" >&2; exit 1; }

rm -rf "$kit"
mkdir -p "$kit/unpacked"
(cd "$kit" && apt-get download "$kernel_package" >/dev/null 2>&1) ||
  { echo "make-kit: cannot download $kernel_package" >&2; exit 1; }
dpkg-deb -x "$kit"/"$kernel_package"_*.deb "$kit/unpacked"
cp "$kit"/unpacked/boot/vmlinuz-* "$kit/vmlinuz"
mkdir -p "$kit/modules"
# Loaded in this order: each needs the ones before it.
for module in common/usb-common core/usbcore host/xhci-hcd host/xhci-pci serial/usbserial serial/ftdi_sio; do
  found=$(find "$kit"/unpacked/lib/modules/*/kernel/drivers/usb -path "*/$module.ko*" | head -1)
  [ -n "$found" ] || { echo "make-kit: $module is not in $kernel_package" >&2; exit 1; }
  case "$found" in
    *.xz) xz -dc "$found" > "$kit/modules/$(basename "$module").ko" ;;
    *) cp "$found" "$kit/modules/$(basename "$module").ko" ;;
  esac
done
rm -rf "$kit/unpacked" "$kit"/*.deb
echo "$kernel_package" > "$kit/ready"
echo "guest kit: $kernel_package"
