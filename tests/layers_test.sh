#!/usr/bin/env bash
# The floors of the source tree: each folder includes only itself and the floors
# below it, so no arrow runs from a lower layer up into a higher one. One pass of awk
# over every include, not a program per line.
set -u
cd "$(dirname "$0")/../src" || exit 1
grep -rn '#include "[^"]*/' platform reader render sound data script check \
    --include='*.h' --include='*.cpp' |
  awk -F: '
    BEGIN {
      allowed["platform"] = " platform "
      allowed["reader"] = " platform reader "
      allowed["render"] = " platform reader render "
      allowed["sound"] = " platform reader sound "
      allowed["data"] = " platform reader data "
      allowed["script"] = " platform reader render sound script "
      allowed["check"] = " platform reader render sound data script check "
    }
    {
      split($1, path, "/")
      folder = path[1]
      match($0, /#include "[^\/"]+\//)
      target = substr($0, RSTART + 10, RLENGTH - 11)
      if (index(allowed[folder], " " target " ") == 0) {
        printf "src/%s:%s includes %s/, above %s/\n", $1, $2, target, folder
        status = 1
      }
    }
    END { exit status }'
