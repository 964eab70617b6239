#!/usr/bin/env bash
# Installs every Debian 12 package Mapolin needs to build, run and test, and the packages named
# as arguments (the sanitizer and fuzzer builds add clang's).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  dbus dbus-bin dbus-daemon dbus-session-bus-common dbus-x11
  dnsmasq-base python3 python3-aiosmtpd iproute2 util-linux mount
  libc-ares-dev libjpeg-dev
  libgumbo-dev desktop-file-utils appstream libxml2-utils shared-mime-info
  xvfb xauth imagemagick openbox x11-utils xdotool
  chromium
  fonts-liberation2 fonts-dejavu-core
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
