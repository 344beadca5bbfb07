#!/usr/bin/env bash
# Installs everything yomu needs to build, run and test on Debian 12.
# Idempotent, and quick when every package is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libpng-dev zlib1g-dev libarchive-dev
  libsdl2-dev libsdl2-mixer-dev
  fonts-ipafont-mincho
  libfluidsynth-dev timgm6mb-soundfont
  libboost-dev libspeechd-dev speech-dispatcher
  xvfb xdotool imagemagick
  python3 python3-websockets chromium zip unzip p7zip-full libarchive-tools lhasa
  desktop-file-utils appstream man-db xfonts-base
  clang-14 libfuzzer-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
