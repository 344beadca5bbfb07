#!/bin/sh
# The man page renders with man -l, without a warning, and has its sections.
set -eu
warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 MANPAGER=cat man --warnings -l "$1" 2>"$warnings")
if [ -s "$warnings" ]; then cat "$warnings"; exit 1; fi
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "KEYS, MOUSE AND GAMEPAD" FILES ENVIRONMENT \
    "EXIT STATUS"; do
  printf '%s\n' "$text" | grep -qx "$section" || { echo "no section $section"; exit 1; }
done
