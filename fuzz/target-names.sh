#!/usr/bin/env bash
# The names of the fuzz targets, one a line, as fuzz/fuzz_inputs.h lists them.
set -euo pipefail
sed -n 's/^ *{"\([a-z0-9_]*\)", [A-Za-z0-9]*},$/\1/p' "$(dirname "$0")/fuzz_inputs.h"
