# Test harness for running Veskar's Windows programs under Wine on a headless display.
# Sourced by the other scripts; defines functions only.
#
#   harness_install_deps   apt-get what is missing (Debian 12)
#   harness_start [N]      Xvfb (when no display answers), private Wine prefix, persistent
#                          wineserver and desktop keeper, all with stdio on /dev/null; with N,
#                          N such instances side by side (the others on displays of their own,
#                          with copies of the prefix), so that tests with a screen and pointer of
#                          their own can run beside the rest
#   harness_stop           stops only what harness_start started, in every instance
#   harness_load_state     exports the environment of a started harness (of the instance
#                          HARNESS_INSTANCE names; 1 unless it does)
#   harness_set_version    win7 | win81 | win10   (Windows version the prefix reports)
#   harness_set_dpi        96 | 120 | 144 ...      (LogPixels for the next process)
#   harness_set_agent_mode quiet | lines | ...     (the agent stand-in's behaviour)
#   harness_set_font_substitutes                   (SimSun's stand-in, for older prefixes)

HARNESS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$HARNESS_ROOT/build}
HARNESS_FIRST_PREFIX=${HARNESS_PREFIX:-$BUILD_DIR/wineprefix}

# The paths of one instance: the first keeps the plain names.
harness_select_instance() {
  HARNESS_INSTANCE=$1
  if [ "$1" = 1 ]; then
    HARNESS_PREFIX=$HARNESS_FIRST_PREFIX
    HARNESS_STATE=$BUILD_DIR/harness.state
  else
    HARNESS_PREFIX=$BUILD_DIR/wineprefix-$1
    HARNESS_STATE=$BUILD_DIR/harness-$1.state
  fi
  # Where the tool expects the McAfee agent, inside the prefix.
  HARNESS_AGENT_DIR="$HARNESS_PREFIX/drive_c/Program Files/McAfee.com/Agent"
}
harness_select_instance "${HARNESS_INSTANCE:-1}"
# Raised whenever the prefix's settings change, so that an older prefix is made anew.
HARNESS_PREFIX_VERSION=2
HARNESS_SCREEN=${HARNESS_SCREEN:-1280x1024}
HARNESS_PACKAGES=(cmake ninja-build mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils imagemagick fonts-wqy-zenhei googletest zip unzip locales)

harness_log() { echo "[harness] $*" >&2; }

harness_install_deps() {
  local missing=()
  local p
  for p in "${HARNESS_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if [ ${#missing[@]} -gt 0 ]; then
    harness_log "installing: ${missing[*]}"
    $sudo apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Wine takes the code page (936) and the encoding of Unix file names from this locale; without
  # it generated, files with Chinese names cannot be created. It goes into a folder of its own,
  # not into the locale archive: this shell looked for the archive when it started and does not
  # look again, so exporting LC_ALL (harness_wine_env) would warn that it cannot be set.
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    harness_log "generating the zh_CN.UTF-8 locale"
    $sudo localedef --no-archive -i zh_CN -c -f UTF-8 zh_CN.UTF-8
  fi
}

harness_wine_env() {
  export WINEPREFIX=$HARNESS_PREFIX
  export WINEARCH=win64
  # HARNESS_WINEDEBUG traces a run (for example +cursor); Wine stays quiet otherwise, but for
  # its errors. Those alone name the failures after which Wine ends a process at once with
  # exit code 1, before the program's buffered output is written (see wine() below; a thread
  # that cannot open the display is another).
  export WINEDEBUG=${HARNESS_WINEDEBUG:--all,err+all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # LC_ALL (not LANG alone) gives Wine ANSI code page 936; HARNESS_LC_ALL picks another
  # (C.UTF-8 gives code page 1252 with UTF-8 file names).
  export LC_ALL=${HARNESS_LC_ALL:-zh_CN.UTF-8}
}

# Debian's Wine 8 has no preloader, and its loader is a program at the fixed address
# 0x7d000000. The kernel puts its brk heap at a random place up to 1 GB above it, and about
# one start in five thousand that heap covers 0x7ffe0000, where every Windows process must
# have its shared user data: Wine then reports "failed to map the shared user data: c0000018"
# and ends the process with exit code 1 (for a process started from Windows, CreateProcess
# fails with error 1359). Without address randomization the heap starts right after the
# loader, 47 MB below that address. Every Wine process of the harness starts through these,
# and what it starts inherits the setting. Where the system forbids the setting (some
# container profiles do), Wine runs as it is.
HARNESS_ARCH=$(uname -m)
if setarch "$HARNESS_ARCH" -R true 2>/dev/null; then
  wine() { setarch "$HARNESS_ARCH" -R wine "$@"; }
  wineboot() { setarch "$HARNESS_ARCH" -R wineboot "$@"; }
  winepath() { setarch "$HARNESS_ARCH" -R winepath "$@"; }
fi

harness_load_state() {
  harness_wine_env
  if [ -f "$HARNESS_STATE" ]; then
    # shellcheck disable=SC1090
    . "$HARNESS_STATE"
    export DISPLAY
  fi
}

harness_free_display() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

harness_display_answers() {
  [ -n "${1:-}" ] && timeout 5 xdpyinfo -display "$1" >/dev/null 2>&1
}

# Writes a UTF-16LE .reg file from UTF-8 text on stdin and imports it: `wine reg add`
# mangles Chinese value names under a non-UTF-8 locale.
harness_import_reg() {
  local name=$1
  local utf8=$BUILD_DIR/$name.reg.txt
  local reg=$BUILD_DIR/$name.reg
  cat >"$utf8"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$utf8"; } >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

harness_create_prefix() {
  harness_log "creating Wine prefix $HARNESS_PREFIX"
  rm -rf "$HARNESS_PREFIX"
  mkdir -p "$HARNESS_PREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  local attempt
  for attempt in 1 2 3; do
    harness_import_settings
    wineserver -w
    grep -q '"Version"="win10"' "$HARNESS_PREFIX/user.reg" && break
    harness_log "settings not in the prefix yet, importing again"
  done
  echo "$HARNESS_PREFIX_VERSION" >"$HARNESS_PREFIX/.veskar-ready"
}

# SimSun's stand-in. The "Sharp" face of WenQuanYi Zen Hei carries bitmaps for the small sizes
# the dialogs use (13 pixels at 96 dpi); the plain face loses strokes there (乱 breaks up).
HARNESS_CJK_FONT="WenQuanYi Zen Hei Sharp"

harness_font_substitutes() {
  cat <<EOF
[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]
"SimSun"="$HARNESS_CJK_FONT"
"宋体"="$HARNESS_CJK_FONT"
"NSimSun"="$HARNESS_CJK_FONT"
"新宋体"="$HARNESS_CJK_FONT"
EOF
}

# For a prefix made before the font choice changed (takes effect for the next process).
harness_set_font_substitutes() {
  harness_load_state
  { echo "Windows Registry Editor Version 5.00"; echo; harness_font_substitutes; } | harness_import_reg fonts
}

harness_import_settings() {
  harness_import_reg settings <<EOF
Windows Registry Editor Version 5.00

$(harness_font_substitutes)

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="$HARNESS_SCREEN"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:00000060
EOF
}

# Copies the stand-ins that live inside the prefix: timeout.exe (Wine's cmd has none) and the
# agent's McUpdate.exe, in its default mode (a few lines of output; no mode file).
harness_install_standins() {
  local sys32=$HARNESS_PREFIX/drive_c/windows/system32
  if [ -f "$BUILD_DIR/standins/timeout.exe" ]; then
    cp "$BUILD_DIR/standins/timeout.exe" "$sys32/timeout.exe"
  fi
  if [ -f "$BUILD_DIR/standins/McUpdate.exe" ]; then
    mkdir -p "$HARNESS_AGENT_DIR"
    cp "$BUILD_DIR/standins/McUpdate.exe" "$HARNESS_AGENT_DIR/McUpdate.exe"
    rm -f "$HARNESS_AGENT_DIR/McUpdate.mode"
  fi
}

# Chooses the installed agent stand-in's behaviour (see standins/agent/README.md);
# no argument or "lines" restores the default.
harness_set_agent_mode() {
  if [ -z "${1:-}" ] || [ "$1" = lines ]; then
    rm -f "$HARNESS_AGENT_DIR/McUpdate.mode"
  else
    mkdir -p "$HARNESS_AGENT_DIR"
    printf '%s\n' "$1" >"$HARNESS_AGENT_DIR/McUpdate.mode"
  fi
}

harness_set_version() {
  harness_load_state
  harness_import_reg version <<EOF
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="$1"
EOF
}

harness_set_dpi() {
  harness_load_state
  harness_import_reg dpi <<EOF
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$1")
EOF
}

harness_start() {
  local count=${1:-1} k
  harness_stop
  mkdir -p "$BUILD_DIR"
  # Every prefix is ready before any server runs: the others are copies of the first.
  harness_select_instance 1
  harness_wine_env
  wineserver -k >/dev/null 2>&1 || true
  [ "$(cat "$HARNESS_PREFIX/.veskar-ready" 2>/dev/null)" = "$HARNESS_PREFIX_VERSION" ] || harness_create_prefix
  for k in $(seq 2 "$count"); do
    harness_select_instance "$k"
    if [ "$(cat "$HARNESS_PREFIX/.veskar-ready" 2>/dev/null)" != "$HARNESS_PREFIX_VERSION" ]; then
      harness_log "copying the Wine prefix for instance $k"
      rm -rf "$HARNESS_PREFIX"
      cp -a "$HARNESS_FIRST_PREFIX" "$HARNESS_PREFIX"
    fi
  done
  harness_select_instance 1
  harness_start_instance "${DISPLAY:-}" || return 1
  for k in $(seq 2 "$count"); do
    harness_select_instance "$k"
    harness_start_instance "" || return 1
  done
  harness_select_instance 1
}

# Starts the selected instance on `display`, or on a display of its own when none answers there.
harness_start_instance() {
  local started_xvfb="" display=$1
  if ! harness_display_answers "$display"; then
    local n
    n=$(harness_free_display) || { harness_log "no free X display"; return 1; }
    display=":$n"
    Xvfb "$display" -screen 0 "${HARNESS_SCREEN}x24" -nolisten tcp </dev/null >/dev/null 2>&1 &
    started_xvfb=$!
    local i
    for i in $(seq 1 100); do
      harness_display_answers "$display" && break
      sleep 0.1
    done
    harness_display_answers "$display" || { harness_log "Xvfb did not start"; return 1; }
    # Xvfb starts with its pointer in the middle of the screen, where the tool's windows open:
    # Wine takes every window that appears under it for a move there.
    DISPLAY=$display xdotool mousemove "${HARNESS_SCREEN%x*}" "${HARNESS_SCREEN#*x}" >/dev/null 2>&1 || true
  fi
  export DISPLAY=$display
  harness_wine_env
  harness_install_standins
  # A persistent server and a resident program keep the desktop alive between tests; their
  # standard streams must not hold any pipe of ours (ctest would wait on them).
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
  local keeper_pid=""
  if [ -f "$BUILD_DIR/standins/keeper.exe" ]; then
    # The desktop process inherits the standard streams of the first program that makes a
    # window: until the keeper's window exists, a test's window would hand the desktop the
    # test's output pipe, and ctest would wait for that pipe to close for good.
    local ready=$BUILD_DIR/keeper-$HARNESS_INSTANCE.ready
    rm -f "$ready"
    wine "$BUILD_DIR/standins/keeper.exe" "$(winepath -w "$ready")" </dev/null >/dev/null 2>&1 &
    keeper_pid=$!
    local i
    for i in $(seq 1 300); do
      [ -f "$ready" ] && break
      sleep 0.1
    done
    [ -f "$ready" ] || { harness_log "the desktop keeper did not start"; return 1; }
  fi
  cat >"$HARNESS_STATE" <<EOF
DISPLAY=$display
HARNESS_XVFB_PID=$started_xvfb
HARNESS_KEEPER_PID=$keeper_pid
EOF
  harness_log "instance $HARNESS_INSTANCE: display $display, prefix $HARNESS_PREFIX"
}

harness_stop() {
  local state k
  for state in "$BUILD_DIR"/harness.state "$BUILD_DIR"/harness-*.state; do
    [ -f "$state" ] || continue
    k=${state##*/harness-}
    k=${k%.state}
    [ "$state" = "$BUILD_DIR/harness.state" ] && k=1
    harness_select_instance "$k"
    harness_load_state
    wineserver -k >/dev/null 2>&1 || true
    # The keeper usually ends with the server: a failed kill must not stop the rest (callers
    # run with set -e, and this runs from their EXIT trap).
    if [ -n "${HARNESS_KEEPER_PID:-}" ]; then kill "$HARNESS_KEEPER_PID" 2>/dev/null || true; fi
    if [ -n "${HARNESS_XVFB_PID:-}" ]; then kill "$HARNESS_XVFB_PID" 2>/dev/null || true; fi
    HARNESS_KEEPER_PID="" HARNESS_XVFB_PID=""
    rm -f "$state"
  done
  harness_select_instance 1
  return 0
}

harness_configure_and_build() {
  cmake -S "$HARNESS_ROOT" -B "$BUILD_DIR" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$HARNESS_ROOT/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}
