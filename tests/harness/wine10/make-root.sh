#!/bin/bash
# Makes ROOT once: Debian 13 (minbase) with Wine 10, which runs 32-bit
# Windows programs in a 64-bit process (its new WoW64 mode), on a kernel
# that cannot load 32-bit ELF programs. Debian ships the amd64 Wine with
# an empty folder for the 32-bit Windows DLLs; they are copied in from
# libwine:i386 of the very same version (downloaded and unpacked, not
# installed). Only debootstrap is installed on the host.
#   make-root.sh ROOT TREE     (TREE: the work tree, bound at its own path)
set -euo pipefail
root="$1" tree="$2"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/mounts.sh"
mirror=http://deb.debian.org/debian
# The Wine this project was last checked with.
checked_wine=10.0~repack-6

if [ -f "$root/.qv-ready" ]; then
  installed=$(sed -n 's/^wine=//p' "$root/.qv-ready")
  [ "$installed" = "$checked_wine" ] ||
    echo "note: the Wine 10 root has wine $installed; this project was checked with $checked_wine" >&2
  exit 0
fi
command -v debootstrap >/dev/null || { echo "make-root: debootstrap is missing (make setup)" >&2; exit 1; }
if [ -d "$root" ]; then
  qv_root_unmount "$root" "$tree"
  # Never delete through a mount that is still there.
  if findmnt -rno TARGET | grep -q "^$root/"; then echo "make-root: $root still has mounts" >&2; exit 1; fi
  rm -rf "$root"
fi
trap 'qv_root_unmount "$root" "$tree"' EXIT
echo "Making the Wine 10 root in $root (about 380 MB downloaded, 4 minutes)"
debootstrap --variant=minbase --include=locales trixie "$root" "$mirror" > "$root.debootstrap.log" 2>&1 ||
  { tail -20 "$root.debootstrap.log" >&2; exit 1; }
qv_root_mount "$root" "$tree"
inside() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
inside dpkg --add-architecture i386
inside apt-get update -qq
inside apt-get install -y -qq --no-install-recommends wine64 > "$root.apt.log" 2>&1 || { tail -20 "$root.apt.log" >&2; exit 1; }
wine_version=$(inside dpkg-query -W -f='${Version}' libwine)
inside sh -c "cd /tmp && rm -rf qv-libwine && mkdir qv-libwine && cd qv-libwine &&
  apt-get download -qq -o APT::Sandbox::User=root libwine:i386=$wine_version && dpkg-deb -x libwine_*_i386.deb unpacked"
dlls="$root/usr/lib/x86_64-linux-gnu/wine/i386-windows"
mkdir -p "$dlls"
cp -a /tmp/qv-libwine/unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/. "$dlls/"
rm -rf /tmp/qv-libwine
[ "$(ls "$dlls" | wc -l)" -gt 100 ] || { echo "make-root: no 32-bit Windows DLLs from libwine:i386" >&2; exit 1; }
# Russian for the window's texts, and a locale of code page 1252.
printf 'ru_RU.UTF-8 UTF-8\nen_US.UTF-8 UTF-8\n' > "$root/etc/locale.gen"
inside locale-gen > /dev/null
inside apt-get clean
[ "$wine_version" = "$checked_wine" ] ||
  echo "note: Debian 13's Wine is now $wine_version; this project was checked with $checked_wine" >&2
printf 'wine=%s\ndebian=%s\n' "$wine_version" "$(cat "$root/etc/debian_version")" > "$root/.qv-ready"
echo "Wine 10 root ready: wine $wine_version, Debian $(cat "$root/etc/debian_version")"
