#!/bin/sh
# Installs what the builds and tests need on a Debian machine, once: the
# compilers, GoogleTest and Google Benchmark, Wine with what the window tests
# use, QEMU and busybox for the guest with real serial drivers, debootstrap
# for the Debian 13 root of Wine 10, and the Russian locale under which Wine shows Windows-1251 texts.
set -e
packages="cmake ninja-build g++ make libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 xvfb xdotool imagemagick locales socat python3 clang libclang-rt-14-dev nlohmann-json3-dev clang-tidy clang-format
  lintian osslsigncode openssl zip unzip dpkg-dev qemu-system-x86 busybox-static debootstrap"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi
# Russian for the window tests, and one of another code page (1252) to show
# that the window texts do not depend on it.
for wanted in ru_RU en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8$"; then
    sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo"
    $sudo sh -c "grep -q '^$wanted.UTF-8 UTF-8' /etc/locale.gen || echo '$wanted.UTF-8 UTF-8' >> /etc/locale.gen; locale-gen >/dev/null"
  fi
done
