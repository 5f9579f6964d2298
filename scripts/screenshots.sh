#!/usr/bin/env bash
# Builds, shows each pop-up under Wine and leaves PNG screenshots in out/:
#   prompt-type3.png, prompt-type4.png, prompt-type4-scale125.png,
#   progress-0.png .. progress-3.png (the busy text with none to three dots),
#   feedback.png, feedback-dpi125.png (the pop-up computes its scale from the screen),
#   agreement.png, agreement-scale125.png (the bubble over a stand-in panel, resized as the
#   panel resizes it, its text scrolled to the middle).
# Xvfb does not blend a layered window's half-transparent pixels with what lies beneath, so
# the soft shadow shows there as a dark band. Each shot therefore also gets a *-blended.png:
# the frame's picture laid with its alpha over the desktop colour, the content from the shot.
# Uses a running harness when there is one, else starts one and stops it afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

OUT_DIR=$HARNESS_ROOT/out
VIEWER=$BUILD_DIR/tests/viewer/skin_viewer.exe
MARGIN=12   # pixels around the frame, so that its shadow shows whole

harness_configure_and_build >/dev/null
if [ ! -f "$HARNESS_STATE" ]; then
  harness_start
  trap harness_stop EXIT
fi
harness_load_state
harness_set_font_substitutes
mkdir -p "$OUT_DIR"

# The virtual desktop's origin on the X screen (0 0 when it fills the screen).
desktop_origin() {
  local line
  line=$(xwininfo -root -tree 2>/dev/null | grep -i 'Wine desktop' | head -n 1 || true)
  if [[ $line =~ \+([0-9]+)\+([0-9]+)[[:space:]]*$ ]]; then
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
  else
    echo "0 0"
  fi
}

# blend SHOT IMAGE FRAME-RECT CONTENT-RECT: writes SHOT's *-blended.png.
blend() {
  local shot=$1 image=$2
  local fl=$3 ft=$4 fr=$5 fb=$6 cl=$7 ct=$8 cr=$9 cb=${10}
  local ground
  ground=$(convert "$shot" -format '%[pixel:p{1,1}]' info:)
  convert "$shot" -fill "$ground" -colorize 100 \
    \( "$image" -resize "$((fr - fl))x$((fb - ft))!" \) -geometry "+$MARGIN+$MARGIN" -composite \
    \( "$shot" -crop "$((cr - cl))x$((cb - ct))+$((cl - fl + MARGIN))+$((ct - ft + MARGIN))" +repage \) \
    -geometry "+$((cl - fl + MARGIN))+$((ct - ft + MARGIN))" -composite \
    "${shot%.png}-blended.png"
}

# shoot NAME IMAGE "DELAYS" VIEWER-ARGS...: starts the viewer, waits until its pop-up shows,
# then takes one screenshot after each delay (milliseconds, from the moment it showed). IMAGE
# "-": no blended preview (the picture has no half-transparent shadow).
shoot() {
  local name=$1 image=$2 delays=$3
  shift 3
  local rect_file=$BUILD_DIR/viewer-$name.rect
  rm -f "$rect_file"
  local args=() arg
  for arg in "$@"; do
    [ "$arg" = RECT ] && arg=$(winepath -w "$rect_file")
    args+=("$arg")
  done
  wine "$VIEWER" "${args[@]}" </dev/null >/dev/null 2>&1 &
  local pid=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$rect_file" ] && break
    sleep 0.05
  done
  if [ ! -s "$rect_file" ]; then
    harness_log "$name: the pop-up did not show"
    wait "$pid" || true
    return 1
  fi
  local shown
  shown=$(date +%s%3N)
  local rects ox oy
  rects=$(tr -d '\r' <"$rect_file" | tr '\n' ' ')
  read -r ox oy < <(desktop_origin)
  # shellcheck disable=SC2086
  set -- $rects
  local width=$(($3 - $1 + 2 * MARGIN)) height=$(($4 - $2 + 2 * MARGIN))
  local x=$((ox + $1 - MARGIN)) y=$((oy + $2 - MARGIN))
  local count n=0 delay target file
  count=$(echo "$delays" | wc -w)
  for delay in $delays; do
    target=$((shown + delay))
    while [ "$(date +%s%3N)" -lt "$target" ]; do sleep 0.02; done
    file=$OUT_DIR/$name.png
    [ "$count" -gt 1 ] && file=$OUT_DIR/$name-$n.png
    import -display "$DISPLAY" -window root -crop "${width}x${height}+${x}+${y}" +repage "$file"
    if [ "$image" = - ]; then
      harness_log "wrote ${file#"$HARNESS_ROOT"/}"
    else
      # shellcheck disable=SC2086
      blend "$file" "$image" $rects
      harness_log "wrote ${file#"$HARNESS_ROOT"/} and its blended preview"
    fi
    n=$((n + 1))
  done
  wait "$pid" || true
}

PNG=$HARNESS_ROOT/res/png
shoot prompt-type3 "$PNG/151.png" "400" prompt 3 RECT 2
shoot prompt-type4 "$PNG/151.png" "400" prompt 4 RECT 2 1.0 "检测到当前工具有新的版本更新，请下载最新版本使用。"
shoot prompt-type4-scale125 "$PNG/151.png" "400" prompt 4 RECT 2 1.25 "修复Quenmar软件名称显示乱码失败！"
# The dots change 500 ms after the start and then every 600 ms.
shoot progress "$PNG/145.png" "150 750 1350 1950" progress RECT 3
shoot feedback "$PNG/168.png" "400" feedback RECT 2
# The feedback pop-up takes its scale from the screen's pixel density: 125 for this one shot.
harness_set_dpi 125
shoot feedback-dpi125 "$PNG/168.png" "400" feedback RECT 2 || true
harness_set_dpi 96
# The skinned bar follows the text's scrolling within its 500 ms resynchronisation.
shoot agreement - "900" agreement RECT 3
shoot agreement-scale125 - "900" agreement RECT 3 1.25
