#!/usr/bin/env bash
# Packs the release archive twice from a build and checks it: everything inside one folder
# Veskar-1.0.3/, the executables stripped, GDI+ not among the tool's imports resolved at
# start, and the same bytes from both packings (the second a second later, so that anything
# taking the time shows).
#   tests/package/check-archive.sh BUILD_DIR
set -euo pipefail
# Tool messages in English: the checks read them.
export LC_ALL=C
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

for run in 1 2; do
  [ "$run" = 2 ] && sleep 1
  BUILD_DIR=$build DIST_DIR=$out/$run bash "$root/scripts/package.sh" --no-build >/dev/null
done
zip=$out/1/Veskar-1.0.3-x64.zip
first=$(sha256sum <"$zip")
second=$(sha256sum <"$out/2/Veskar-1.0.3-x64.zip")
[ "$first" = "$second" ] || fail "two packings differ: $first / $second"

listing=$(unzip -Z1 "$zip")
expected=$'Veskar-1.0.3/TovarinFeedbackInformation.dll\nVeskar-1.0.3/Veskar.exe'
[ "$listing" = "$expected" ] || fail "the archive holds: $listing"

unzip -q "$zip" -d "$out/unpacked"
for file in "$out"/unpacked/Veskar-1.0.3/*; do
  x86_64-w64-mingw32-objdump -t "$file" | grep -qx 'no symbols' || fail "$(basename "$file") has symbols"
  if x86_64-w64-mingw32-objdump -h "$file" | grep -q '\.debug'; then fail "$(basename "$file") has debug sections"; fi
done
if x86_64-w64-mingw32-objdump -p "$out/unpacked/Veskar-1.0.3/Veskar.exe" | grep -qi 'DLL Name: gdiplus.dll'; then
  fail "Veskar.exe imports gdiplus.dll at start"
fi
[ "$failed" = 0 ] && echo "archive $first"
exit "$failed"
