#!/usr/bin/env bash
# Builds Veskar and runs it under Wine. With a display of your own (DISPLAY set and
# answering) the tool simply runs until you close it. Without one, the tool runs on a private
# Xvfb display, is driven through real input, and screenshots are saved into out/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"
. "$here/screen.sh"

harness_install_deps
harness_configure_and_build >/dev/null
interactive=0
harness_display_answers "${DISPLAY:-}" && interactive=1
trap harness_stop EXIT
harness_start
harness_load_state

out=$HARNESS_ROOT/out
mkdir -p "$out"
# The tool runs from a folder of its own, as a user would start it from a download.
tool_dir=$HARNESS_PREFIX/drive_c/Veskar
rm -rf "$tool_dir"
mkdir -p "$tool_dir"
cp "$BUILD_DIR/app/Veskar.exe" "$tool_dir/"

if [ "$interactive" = 1 ]; then
  wine "$tool_dir/Veskar.exe"
  exit 0
fi

wine "$tool_dir/Veskar.exe" </dev/null >/dev/null 2>&1 &
tool_pid=$!
about=$(screen_wait_for_window "关于 Veskar" 20)
screen_shot "$out/about.png" "$about" 8
# Enter presses the about box's default button.
xdotool key Return
screen_wait_for_exit "$tool_pid" 10
echo "Screenshots: $out/about.png"
