#!/usr/bin/env bash
# Installs the Debian 12 packages Plinx needs to build, run and test, skipping what is
# already there. Runs apt-get as root (directly, or through sudo).
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libgtk-3-dev libfreetype-dev zlib1g-dev
  libtomcrypt-dev libcurl4-openssl-dev libopenmpt-dev libstb-dev libjpeg62-turbo-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core ttf-bitstream-vera
  xvfb xauth xdotool xclip x11-apps imagemagick desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
