#!/usr/bin/env bash
# Runs a Windows program under the harness's Wine prefix (see scripts/harness.sh).
# ctest calls this as the cross-compiling emulator.
set -e
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../scripts/harness.sh
. "$here/../scripts/harness.sh"
if [ ! -f "$HARNESS_STATE" ]; then
  echo "wine-run: harness instance $HARNESS_INSTANCE is not started (scripts/test.sh starts every one)" >&2
  exit 1
fi
harness_load_state
# Not exec: a program that fails before it prints anything still leaves its exit code here.
status=0
wine "$@" || status=$?
[ "$status" = 0 ] || echo "wine-run: ${1##*/} ended with exit code $status" >&2
exit "$status"
