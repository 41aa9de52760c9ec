#!/usr/bin/env bash
# Makes sure the Debian packages a target needs are installed: installs the
# missing ones with apt-get when run as root, otherwise prints the one
# apt-get line needed and fails.
#   tools/ensure-packages.sh linux|windows|bench|snapshots
set -euo pipefail

linux=(cmake make g++ pkg-config qt6-base-dev qt6-qpa-plugins libqt6test6 libgtest-dev
       fonts-arphic-uming fonts-arphic-ukai fontconfig xvfb xauth x11-utils strace)
windows=(cmake make g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils
         fonts-arphic-uming fonts-arphic-ukai googletest)
# The benchmarks time both builds on X with their own probe and floors.
bench=("${linux[@]}" "${windows[@]}" libx11-dev libxtst-dev binutils-mingw-w64-x86-64)
# The Windows snapshots are written as bitmaps and turned into PNG files.
snapshots=(imagemagick)

case "${1:-}" in
linux) wanted=("${linux[@]}") ;;
windows) wanted=("${windows[@]}") ;;
bench) wanted=("${bench[@]}") ;;
snapshots) wanted=("${snapshots[@]}") ;;
*) echo "usage: $0 linux|windows|bench|snapshots" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
