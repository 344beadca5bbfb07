#!/usr/bin/env bash
# Fills BUILD/corpus/<target>/ with seeds from the tests' data, the sample novel
# and the kept regressions; inputs found by earlier runs stay.
set -euo pipefail
build=${1:?usage: seed-corpora.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
data=$root/tests/data
corpus=$(cd "$build" && pwd)/corpus
sjis() { iconv -f UTF-8 -t CP932; }

# The script regressions are left out: they run long on purpose, and the test of
# the regressions replays them anyway.
for target in $("$root/fuzz/target-names.sh"); do
  mkdir -p "$corpus/$target"
  if [ "$target" != script ] && [ -d "$root/fuzz/regressions/$target" ]; then
    cp "$root"/fuzz/regressions/"$target"/* "$corpus/$target/" 2>/dev/null || true
  fi
done
cp "$data"/bmpsuite/g/*.bmp "$data"/bmpsuite/q/*.bmp "$root"/demo/*.bmp "$corpus/bmp/"
cp "$data"/wav/*.wav "$root"/demo/*.wav "$root"/demo/cd/*.wav "$corpus/wave/"
cp "$data"/ogg/* "$corpus/ogg/"
cp "$data"/flac/* "$corpus/flac/"
cp "$data"/mp3/* "$corpus/mp3/"
cp "$data"/midi/*.mid "$root"/demo/*.mid "$corpus/midi/"
# A soundfont: the installed General MIDI bank's preset data, without its samples.
python3 - /usr/share/sounds/sf2/TimGM6mb.sf2 "$corpus/soundfont/timgm6mb-presets.sf2" <<'PY'
import struct, sys
bank = open(sys.argv[1], 'rb').read()
at = 12
while at + 12 <= len(bank):
    size = struct.unpack('<I', bank[at + 4:at + 8])[0]
    if bank[at + 8:at + 12] == b'pdta':
        presets = bank[at:at + 8 + size]
        open(sys.argv[2], 'wb').write(b'RIFF' + struct.pack('<I', 4 + len(presets)) + b'sfbk' + presets)
    at += 8 + size + (size & 1)
PY

# Scripts: each chapter alone, and the whole novel with its other files after 0x1D
# separators, each named by its first line.
novel=$corpus/script/whole-novel
sjis < "$root/demo/タイトル.txt" > "$novel"
for source in "$root"/demo/*.txt; do
  name=$(basename "$source")
  sjis < "$source" > "$corpus/script/$name"
  [ "$name" = "タイトル.txt" ] && continue
  { printf '\035'; printf '%s\n' "$name" | sjis; sjis < "$source"; } >> "$novel"
done

# UTF-8 scripts: the sample novel's sources, which are saved in UTF-8.
cp "$root"/demo/*.txt "$corpus/utf8_script/"

# Data files: a bookmark file as the reader writes it, then the contents file.
bookmark_line=$(printf 'NO DATA,1,タイトル.txt\r' | sjis)
{ for _ in 1 2 3 4 5; do printf '%s\n' "$bookmark_line"; done; printf '\035'
  sjis < "$root/demo/ファイル.txt"; } > "$corpus/data_files/defaults"
# Archives: a small novel of the sample's scripts packed by each tool and in each
# format that novels were shared in, and the hostile archives of the tests but the
# largest.
small=$(mktemp -d)
trap 'rm -rf "$small"' EXIT
for source in "$root"/demo/*.txt; do sjis < "$source" > "$small/$(basename "$source")"; done
cp "$root/demo/lamp.bmp" "$root/demo/asa.mid" "$small/"
python3 "$root/tests/support/write_zip.py" "$small" "$corpus/archive/cp932.zip"
python3 "$root/tests/support/write_zip.py" --utf8 "$small" "$corpus/archive/utf8.zip"
(cd "$small" && 7z a -bd "$corpus/archive/novel.7z" . >/dev/null)
for format in iso9660 ustar; do
  (cd "$small" && bsdtar --format "$format" -cf "$corpus/archive/novel.$format" .)
done
(cd "$small" && bsdtar -czf "$corpus/archive/novel.tar.gz" .)
python3 "$root/tests/support/hostile_archives.py" "$small/hostile" >/dev/null
find "$small/hostile" -name '*.zip' ! -name 'many-members.zip' -exec cp {} "$corpus/archive/" \;
echo "Seed corpora: $corpus"
