#!/usr/bin/env bash
# Installs what is missing, builds, runs every test under Wine, prints ctest's summary.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

harness_install_deps
harness_configure_and_build
trap harness_stop EXIT
# Three instances: the soak and the megabyte read each have a screen of their own (see
# tests/CMakeLists.txt, INSTANCE), beside the tests that share the first.
harness_start 3
harness_load_state
cd "$BUILD_DIR"
ctest --output-on-failure --timeout 300 -j 4 "$@"
