#!/bin/sh
# Installs the build into a temporary prefix and checks every file: the program
# runs and tells its version, the program and the module are stripped, the desktop entry
# leaves folders to the file manager, the audio module offers its factory and finds its
# libraries, the icons have their sizes, the program finds its Japanese catalogue.
set -eu
build=$1 app_id=$2 version=$3 module_dir=$4 stripped=$5
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "$1"; exit 1; }
for file in bin/yomu "$module_dir/yomu-audio.so" share/man/man6/yomu.6 \
    "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$app_id.svg" \
    "share/icons/hicolor/64x64/apps/$app_id.png" "share/icons/hicolor/128x128/apps/$app_id.png" \
    share/doc/yomu/README.md share/doc/yomu/script-language.md share/doc/yomu/headless.md \
    share/doc/yomu/archives.md \
    share/locale/en/LC_MESSAGES/yomu.mo share/locale/ja/LC_MESSAGES/yomu.mo; do
  [ -s "$prefix/$file" ] || fail "not installed: $file"
done
for binary in bin/yomu "$module_dir/yomu-audio.so"; do
  [ "$stripped" = 0 ] || ! readelf -S "$prefix/$binary" | grep -q -e symtab -e debug_ ||
    fail "installed with its symbols: $binary"
done
! grep -q inode/directory "$prefix/share/applications/$app_id.desktop" || fail "it claims folders"
[ "$("$prefix/bin/yomu" --version)" = "yomu $version" ] || fail "--version is not yomu $version"
grep -q "yomu $version" "$prefix/share/man/man6/yomu.6" || fail "the man page lacks $version"
LANGUAGE=ja LANG=C.UTF-8 "$prefix/bin/yomu" --help | grep -q "使い方" ||
  fail "the installed program speaks no Japanese"
module="$prefix/$module_dir/yomu-audio.so"
nm -D --defined-only "$module" | grep -qw yomu_make_audio_player || fail "the module has no factory"
! ldd "$module" | grep -q "not found" || fail "the module lacks a library: $(ldd "$module")"
for size in 64 128; do
  # The PNG header's width and height, big-endian at bytes 16 and 20.
  icon="$prefix/share/icons/hicolor/${size}x$size/apps/$app_id.png"
  dimensions=$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ')
  [ "$dimensions" = " 0 0 0 $size 0 0 0 $size" ] || fail "the ${size}x$size icon is$dimensions"
done
