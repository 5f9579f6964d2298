#!/usr/bin/env bash
# Builds Veskar and packs dist/Veskar-1.0.3-x64.zip: the tool and the feedback library that
# lies beside it. The same sources give the same bytes (no time stamps in the executables,
# fixed dates and order in the archive).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

harness_install_deps
harness_configure_and_build >/dev/null

version=1.0.3
dist=$HARNESS_ROOT/dist
stage=$dist/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$BUILD_DIR/app/Veskar.exe" "$stage/"
library=$BUILD_DIR/app/TovarinFeedbackInformation.dll
if [ -f "$library" ]; then
  cp "$library" "$stage/"
else
  echo "warning: the feedback library was not built; the package holds the tool only" >&2
fi
zipfile=$dist/Veskar-$version-x64.zip
rm -f "$zipfile"
(
  cd "$stage"
  find . -type f -exec touch -h -d '2026-01-01 00:00:00 UTC' {} +
  find . -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$zipfile" -@
)
rm -rf "$stage"
sha256sum "$zipfile"
