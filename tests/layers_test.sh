#!/usr/bin/env bash
# The floors of the source tree: each folder includes only itself and the floors
# below it, so no arrow runs from a lower layer up into a higher one. Inside platform/
# the same holds of its parts: each part stands on the shared headers at the top and
# the parts below it, never on the platform that gathers them (platform.h, backend.h,
# display.h), its calls or its backends. One pass of awk over every include, not a
# program per line.
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
      part["files"] = " files "
      part["gdi"] = " files gdi "
      part["media"] = " files media "
      part["audio"] = " files media audio "
      part["window"] = " gdi window "
      part["feed"] = " feed "
      part["speech"] = " speech "
      part["desktop"] = " files desktop "
      gathering = " platform.h backend.h display.h "
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
      if (folder != "platform" || !(path[2] in part)) next
      match($0, /#include "platform\/[^"]+"/)
      split(substr($0, RSTART + 19, RLENGTH - 20), inner, "/")
      if (length(inner) == 1 ? index(gathering, " " inner[1] " ") : \
          index(part[path[2]], " " inner[1] " ") == 0) {
        printf "src/%s:%s includes platform/%s, above the part platform/%s/\n", $1, $2,
               substr($0, RSTART + 19, RLENGTH - 20), path[2]
        status = 1
      }
    }
    END { exit status }'
