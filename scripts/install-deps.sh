#!/usr/bin/env bash
# Installs what yomu needs on Debian 12, by purpose:
#   install-deps.sh run    building the reader and reading novels (make run, make install)
#   install-deps.sh test   and the tests and benchmarks too (make build, make test)
#   install-deps.sh fuzz   and the fuzz targets too (make fuzz)
#   install-deps.sh speech speech as a reader hears it: speech-dispatcher, its free
#                          Japanese voice (eSpeak NG) and MeCab, which reads it the kanji
# Idempotent, and quick when every package is already there.
set -euo pipefail

run=(
  build-essential cmake pkg-config
  libfreetype-dev libfontconfig-dev libpng-dev zlib1g-dev libarchive-dev
  libsdl2-dev libsdl2-mixer-dev libx11-dev
  fonts-ipafont-mincho
  libfluidsynth-dev timgm6mb-soundfont
  libboost-dev libspeechd-dev libmecab-dev libsystemd-dev gettext
)
speech=(speech-dispatcher speech-dispatcher-espeak-ng libmecab2 mecab-ipadic-utf8)
test=(
  libgtest-dev libgmock-dev libbenchmark-dev
  dbus-daemon python3-dbus python3-gi weston
  xvfb xdotool x11-utils imagemagick
  python3 zip unzip p7zip-full libarchive-tools lhasa
  python3-websockets chromium "${speech[@]}" mecab
  desktop-file-utils appstream man-db xfonts-base
)
fuzz=(clang-14 libfuzzer-14-dev)

packages=("${run[@]}")
case "${1:-test}" in
  run) ;;
  speech) packages+=("${speech[@]}") ;;
  test) packages+=("${test[@]}") ;;
  fuzz) packages+=("${test[@]}" "${fuzz[@]}") ;;
  *) echo "usage: install-deps.sh [run|test|fuzz|speech]" >&2; exit 2 ;;
esac

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
