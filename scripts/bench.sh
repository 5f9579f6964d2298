#!/usr/bin/env bash
# Builds when needed, starts the harness, prints speed, memory and size ratios measured in
# this one run as a Markdown table, writes the same table to out/bench.md, and stops the
# harness again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

harness_install_deps
harness_configure_and_build >/dev/null
trap harness_stop EXIT
harness_start
harness_load_state

# Sizes on disk, as built and stripped of symbols.
size_kb() { awk -v bytes="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", bytes / 1024 }'; }
stripped_kb() {
  local copy
  copy=$(mktemp)
  x86_64-w64-mingw32-strip -o "$copy" "$1"
  size_kb "$copy"
  rm -f "$copy"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

table() {
  echo "| measure (baseline) | Veskar | baseline | ratio |"
  echo "|---|---|---|---|"
  wine "$BUILD_DIR/bench/repair_bench.exe" </dev/null
  # The whole tool against a bare one-dialog program, both started from scratch folders in the
  # prefix and ended by TerminateProcess (the tool never removes its files here).
  wine "$BUILD_DIR/bench/app_bench.exe" </dev/null

  tool=$BUILD_DIR/app/Veskar.exe
  bare=$BUILD_DIR/bench/BareDialog.exe
  t=$(size_kb "$tool") b=$(size_kb "$bare")
  echo "| size of the executable, KB (bare one-dialog program) | $t | $b | $(ratio "$t" "$b") |"
  t=$(stripped_kb "$tool") b=$(stripped_kb "$bare")
  echo "| size stripped, KB (bare one-dialog program, stripped) | $t | $b | $(ratio "$t" "$b") |"
}

report=$HARNESS_ROOT/out/bench.md
mkdir -p "$(dirname "$report")"
table | tee "$report.part"
mv -f "$report.part" "$report"
echo "Written to $report"
