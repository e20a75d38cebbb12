#!/usr/bin/env bash
# Installs the Debian packages Skyvane builds and tests with, when they are missing.
# As root it runs apt-get; otherwise it prints the apt-get line to run and stops.
set -euo pipefail

# Building, the Qt window, the unit tests, and the outside readers the file checks use.
packages=(cmake g++ make pkg-config qt6-base-dev fonts-dejavu-core libgtest-dev libgmock-dev
          libhidapi-dev libusb-1.0-0-dev
          python3 python3-pil python3-astropy fitsverify libtiff-tools poppler-utils)
if [ "${1:-}" = bench ]; then
    packages+=(libbenchmark-dev libopencv-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Skyvane needs these Debian packages. Please run:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
