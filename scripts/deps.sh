#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl1-mesa-dev libxcb1-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libzip-dev
  zip unzip python3 bsdutils
  libxml2-utils
  fonts-dejavu-core fonts-liberation2 poppler-utils
  xvfb xauth openbox xdotool x11-utils
  cups printer-driver-cups-pdf
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
