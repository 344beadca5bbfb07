#!/usr/bin/env bash
# The floors of the source tree: each folder includes only itself and the floors
# below it, so no arrow runs from a lower layer up into a higher one.
set -u
cd "$(dirname "$0")/../src" || exit 1
allowed() {
  case "$1" in
    platform) echo "platform" ;;
    reader) echo "platform reader" ;;
    render | sound | data) echo "platform reader $1" ;;
    script) echo "platform reader render sound script" ;;
    check) echo "platform reader render sound data script check" ;;
  esac
}
status=0
for folder in platform reader render sound data script check; do
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$include")
    if ! grep -qw -- "$target" <<<"$(allowed "$folder")"; then
      echo "src/$file:$line includes $target/, above $folder/"
      status=1
    fi
  done < <(grep -rn '#include "[^"]*/' "$folder" --include='*.h' --include='*.cpp')
done
exit $status
