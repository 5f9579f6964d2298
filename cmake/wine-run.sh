#!/usr/bin/env bash
# Runs a Windows program under the harness's Wine prefix (see scripts/harness.sh).
# ctest calls this as the cross-compiling emulator.
set -e
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../scripts/harness.sh
. "$here/../scripts/harness.sh"
harness_load_state
exec wine "$@"
