#!/usr/bin/env bash
# Runs each fuzz target of BUILD for SECONDS on its corpus (see seed-corpora.sh),
# with ASan and UBSan; a crash, hang or leak fails the run and leaves its input in
# BUILD/artifacts/, to be kept in fuzz/regressions/<target>/ once fixed.
set -euo pipefail
build=${1:?usage: run-targets.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run-targets.sh BUILD_DIR SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
export LSAN_OPTIONS=suppressions=$root/tests/lsan-suppressions.txt
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$build/artifacts"
for target in $("$root/fuzz/target-names.sh"); do
  echo "== fuzz_$target for ${seconds}s"
  log=$build/artifacts/$target.log
  # Script inputs stay short: every line may be a command that draws a whole page.
  max_len=()
  [ "$target" = script ] && max_len=(-max_len=512)
  if ! "$build/fuzz_$target" "${max_len[@]}" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 \
      -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 \
      "$build/corpus/$target" > "$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$target failed: $log"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb' "$log"
done
