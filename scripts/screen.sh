# Helpers for looking at and driving the headless display (sourced).

# Prints the X window id of a viewable window whose title contains $1 (plain text, Chinese
# allowed), waiting $2 seconds at most. (xdotool's name search cannot match Chinese titles.)
screen_find_window() {
  local id
  for id in $(LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null | grep -F "\"$1" | awk '{print $1}'); do
    if LC_ALL=C xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

screen_wait_for_window() {
  local title=$1 limit=${2:-20} i id
  for i in $(seq 1 $((limit * 10))); do
    if id=$(screen_find_window "$title"); then
      sleep 0.5  # let it finish painting
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "window \"$title\" did not appear within ${limit}s" >&2
  return 1
}

# Prints "x y width height" of an X window, in screen pixels.
screen_window_geometry() {
  LC_ALL=C xwininfo -id "$1" | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# Saves the screen as $1; with a window id as $2, only that window's rectangle (plus $3
# pixels around it, for shadows).
screen_shot() {
  local file=$1 id=${2:-} margin=${3:-0}
  if [ -z "$id" ]; then
    import -display "$DISPLAY" -window root "$file"
    return
  fi
  local x y w h
  read -r x y w h < <(screen_window_geometry "$id")
  import -display "$DISPLAY" -window root \
    -crop "$((w + 2 * margin))x$((h + 2 * margin))+$((x - margin))+$((y - margin))" +repage "$file"
}

# Clicks at screen position ($1, $2) with button $3 (1 left, 3 right).
screen_click() {
  xdotool mousemove --sync "$1" "$2" click "${3:-1}"
}

# Waits for a process to end; ends it after $2 seconds.
screen_wait_for_exit() {
  local pid=$1 limit=${2:-10} i
  for i in $(seq 1 $((limit * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "process $pid still running after ${limit}s; ending it" >&2
  kill "$pid" 2>/dev/null || true
  return 1
}
