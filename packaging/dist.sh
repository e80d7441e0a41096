#!/bin/bash
# Makes the release from builds of its own under build/dist:
#   dist/NAME-VERSION-win32.zip        the window program and the 32-bit flasher, stripped
#                                      (signed when a certificate is given), README, licence
#   dist/NAME-VERSION-win32-debug.zip  their debug files
#   dist/NAME_VERSION_amd64.deb        the flasher and the emulator, man pages, completion
# NAME is quarnelvisk, or quarnelvisk-test-image when the programs carry the
# generated test image instead of firmware. The package is checked with
# lintian. Environment: IMAGE (the firmware file), IMAGE_BASE, IMAGE_FORMAT,
# TEST_IMAGE=1, SIGN_CERT and SIGN_KEY (PEM files), JOBS.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/dist
out=$root/dist
jobs=${JOBS:-$(nproc)}

if [ -z "${IMAGE:-}" ] && [ "${TEST_IMAGE:-}" != 1 ]; then
  echo "make dist: which firmware? IMAGE=FILE (Intel HEX, S-record, ELF or raw; IMAGE_BASE=ADDRESS" >&2
  echo "for the formats with addresses), or TEST_IMAGE=1 for artefacts that carry the generated" >&2
  echo "test image (their names say test-image)" >&2
  exit 2
fi
if [ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ] && { [ ! -f "${SIGN_CERT:-}" ] || [ ! -f "${SIGN_KEY:-}" ]; }; then
  echo "make dist: signing needs both SIGN_CERT and SIGN_KEY, readable PEM files" >&2
  exit 2
fi
name=quarnelvisk
image_file=""
if [ -n "${IMAGE:-}" ]; then
  image_file=$(realpath "$IMAGE")
else
  name=quarnelvisk-test-image
fi
# Every image option every time: the build folders remember the last ones.
configure=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON -DQV_IMAGE_FILE="$image_file"
  -DQV_IMAGE_BASE="${IMAGE_BASE:-}" -DQV_IMAGE_FORMAT="${IMAGE_FORMAT:-}")

echo "== building (build/dist)"
cmake -S "$root" -B "$build/native" "${configure[@]}" >/dev/null
cmake --build "$build/native" -j "$jobs" --target quarnelvisk-flash quarnelvisk-device \
  make-test-image embed-resource make-pictures prepare-image
cmake -S "$root" -B "$build/win32" "${configure[@]}" -DQV_PRODUCT_ONLY=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win32.cmake" -DQV_HOST_TOOLS_DIR="$build/native/bin" >/dev/null
cmake --build "$build/win32" -j "$jobs"
"$root/tools/check-windows-programs.sh" "$build/win32/bin"
version=$("$build/native/bin/quarnelvisk-flash" --version | sed -n '1s/^quarnelvisk-flash //p')
[ -n "$version" ] || { echo "make dist: the flasher gave no version" >&2; exit 1; }
mkdir -p "$out"

echo "== $name-$version-win32.zip"
folder=$name-$version-win32
rm -rf "$build/zip"
mkdir -p "$build/zip/$folder" "$build/zip/debug/$folder"
for exe in quarnelvisk.exe quarnelvisk-flash.exe; do
  debug=$build/zip/debug/$folder/$exe.debug
  i686-w64-mingw32-objcopy --only-keep-debug "$build/win32/bin/$exe" "$debug"
  i686-w64-mingw32-strip -o "$build/zip/$folder/$exe" "$build/win32/bin/$exe"
  (cd "$(dirname "$debug")" && i686-w64-mingw32-objcopy --add-gnu-debuglink="$exe.debug" "$build/zip/$folder/$exe")
  if [ -n "${SIGN_CERT:-}" ]; then
    osslsigncode sign -certs "$SIGN_CERT" -key "$SIGN_KEY" -h sha256 -n "Quarnelvisk bootloader" \
      -in "$build/zip/$folder/$exe" -out "$build/zip/$folder/$exe.signed" >/dev/null
    mv "$build/zip/$folder/$exe.signed" "$build/zip/$folder/$exe"
  fi
done
cp "$root/README.md" "$build/zip/$folder/README.md"
cp "$root/LICENSE" "$build/zip/$folder/LICENSE.txt"
rm -f "$out/$folder.zip" "$out/$folder-debug.zip"
(cd "$build/zip" && zip -qrX "$out/$folder.zip" "$folder")
(cd "$build/zip/debug" && zip -qrX "$out/$folder-debug.zip" "$folder")

echo "== ${name}_${version}_amd64.deb"
pkg=$build/deb/root
doc=$pkg/usr/share/doc/$name
rm -rf "$build/deb"
mkdir -p "$pkg/DEBIAN" "$pkg/usr/bin" "$pkg/usr/share/man/man1" "$doc" "$pkg/usr/share/bash-completion/completions"
for program in quarnelvisk-flash quarnelvisk-device; do
  strip --strip-unneeded --remove-section=.comment --remove-section=.note \
    -o "$pkg/usr/bin/$program" "$build/native/bin/$program"
  gzip -9n < "$root/packaging/debian/$program.1" > "$pkg/usr/share/man/man1/$program.1.gz"
done
cp "$root/packaging/debian/quarnelvisk-flash.bash" "$pkg/usr/share/bash-completion/completions/quarnelvisk-flash"
cp "$root/packaging/debian/copyright" "$doc/copyright"
cp "$root/README.md" "$doc/README.md"
maintainer=$(sed -n 's/^Maintainer: //p' "$root/packaging/debian/control.in")
printf '%s (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
  "$name" "$version" "$version" "$maintainer" "$(date -R -u -d @"${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}")" |
  gzip -9n > "$doc/changelog.gz"
find "$pkg" -type d -exec chmod 0755 {} +
find "$pkg" -type f -exec chmod 0644 {} +
chmod 0755 "$pkg"/usr/bin/*
# The libraries' packages, as dpkg-shlibdeps finds them for the two programs.
mkdir -p "$build/deb/shlibs/debian"
printf 'Source: quarnelvisk\n\nPackage: %s\nArchitecture: amd64\n' "$name" > "$build/deb/shlibs/debian/control"
depends=$(cd "$build/deb/shlibs" && dpkg-shlibdeps -O -e"$pkg/usr/bin/quarnelvisk-flash" \
  -e"$pkg/usr/bin/quarnelvisk-device" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
conflicts=""
[ "$name" = quarnelvisk ] || conflicts="Conflicts: quarnelvisk\n"
sed -e "s/@PACKAGE@/$name/" -e "s/@VERSION@/$version/" -e "s/@DEPENDS@/$depends/" \
  -e "s/@SIZE@/$(du -sk --exclude=DEBIAN "$pkg" | cut -f1)/" -e "s/@CONFLICTS@/$conflicts/" \
  "$root/packaging/debian/control.in" > "$pkg/DEBIAN/control"
(cd "$pkg" && find usr -type f -exec md5sum {} + | sort -k2) > "$pkg/DEBIAN/md5sums"
chmod 0644 "$pkg/DEBIAN/control" "$pkg/DEBIAN/md5sums"
deb=$out/${name}_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$pkg" "$deb" >/dev/null
lintian --fail-on error "$deb"

echo "== dist/"
ls -l "$out"
