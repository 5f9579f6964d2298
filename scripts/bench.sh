#!/usr/bin/env bash
# Builds when needed, starts the harness, prints speed ratios measured in this one run as a
# Markdown table, and stops the harness again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

harness_install_deps
harness_configure_and_build >/dev/null
trap harness_stop EXIT
harness_start
harness_load_state

echo "| measure (baseline) | Veskar | baseline | ratio |"
echo "|---|---|---|---|"
wine "$BUILD_DIR/bench/repair_bench.exe" </dev/null
