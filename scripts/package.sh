#!/usr/bin/env bash
# Builds Veskar and packs dist/Veskar-1.0.3-x64.zip: one folder Veskar-1.0.3/ holding the tool
# and the feedback library that lies beside it, both stripped. The same sources give the same
# bytes (no time stamps in the executables, fixed dates, modes and order in the archive).
#
#   scripts/package.sh              build, then pack
#   scripts/package.sh --no-build   pack what BUILD_DIR holds (DIST_DIR: where the archive goes)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

if [ "${1:-}" != --no-build ]; then
  harness_install_deps
  harness_configure_and_build >/dev/null
fi

version=1.0.3
folder=Veskar-$version
dist=${DIST_DIR:-$HARNESS_ROOT/dist}
mkdir -p "$dist"
stage=$(mktemp -d "$dist/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$folder"
cp "$BUILD_DIR/app/Veskar.exe" "$stage/$folder/"
library=$BUILD_DIR/app/TovarinFeedbackInformation.dll
if [ -f "$library" ]; then
  cp "$library" "$stage/$folder/"
else
  echo "warning: the feedback library was not built; the package holds the tool only" >&2
fi
# What ships carries no symbols; the tests keep using the unstripped build. strip writes the
# current time into the PE header unless SOURCE_DATE_EPOCH names one: 0, as the linker writes.
SOURCE_DATE_EPOCH=0 x86_64-w64-mingw32-strip "$stage/$folder"/*
zipfile=$dist/Veskar-$version-x64.zip
rm -f "$zipfile"
(
  cd "$stage"
  chmod 0644 "$folder"/*
  find . -type f -exec touch -h -d '2026-01-01 00:00:00 UTC' {} +
  find . -type f | sed 's|^\./||' | LC_ALL=C sort | TZ=UTC zip -q -X -D "$zipfile" -@
)
sha256sum "$zipfile"
