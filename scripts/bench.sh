#!/usr/bin/env bash
# Builds when needed, starts the harness, prints speed, memory and size figures measured in
# this one run as a Markdown table (each with its baseline, ratio and target), writes the same
# table to out/bench.md, and stops the harness again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/harness.sh"

harness_install_deps
harness_configure_and_build >/dev/null
trap harness_stop EXIT
harness_start
harness_load_state

# Targets.
idle_target_percent=0.5    # of one core, host view, pointer away
memory_target_extra_mb=10  # above the bare program's peak
shipped_target_kb=800      # Veskar.exe as built for shipping, pictures included
idle_seconds=10
idle_rounds=2

clock_ticks=$(getconf CLK_TCK)

size_kb() { awk -v bytes="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", bytes / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v != "" && v + 0 <= limit + 0) ? "met" : "missed" }'; }

# The live Wine process of a program of this harness's prefix (others may run theirs).
wine_pid() {
  local pid
  for pid in $(pgrep -x "$1" | sort -rn); do
    [ "$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null)" = Z ] && continue
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$HARNESS_PREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}
# User plus system time of a process, in clock ticks (fields 14 and 15 of its stat, counted
# after the name, which may hold blanks).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
server_ticks() { if [ -n "$server" ]; then cpu_ticks "$server"; else echo 0; fi; }
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
percent() { awk -v t="$1" -v hz="$clock_ticks" -v s="$2" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }

wait_for_file() {
  local i
  for i in $(seq 1 1200); do
    [ -e "$1" ] && return 0
    kill -0 "$bench_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# One idle phase: both programs over idle_rounds x idle_seconds, and their peak memory so far;
# prints the table rows.
# The prefix's wineserver, which answers both, is reported beside them.
idle_phase() {
  local phase=$1 label=$2 tool bare server
  if ! wait_for_file "$handshake/idle-$phase.ready"; then
    echo "| processor time while idle, $label | n/a | n/a | n/a | at most $idle_target_percent %: missed |"
    return
  fi
  # The X pointer too: inside Wine's virtual desktop, input sent with SendInput moves only
  # Wine's own pointer, and once no input has come for 100 ms GetCursorPos reads the X
  # pointer again, which would still lie over the tool in the middle of the screen.
  xdotool mousemove 4 4 >/dev/null 2>&1 || true
  sleep 1
  tool=$(wine_pid Veskar.exe) bare=$(wine_pid BareDialog.exe) server=$(wine_pid wineserver64 || wine_pid wineserver) || true
  if [ -z "$tool" ] || [ -z "$bare" ]; then
    echo "| processor time while idle, $label: a program was not found | n/a | n/a | n/a | missed |"
    touch "$handshake/idle-$phase.done"
    return
  fi
  local round tool_rounds=() t0 b0 s0 tool_total=0 bare_total=0 server_total=0
  for round in $(seq 1 "$idle_rounds"); do
    t0=$(cpu_ticks "$tool") b0=$(cpu_ticks "$bare") s0=$(server_ticks)
    sleep "$idle_seconds"
    local t=$(($(cpu_ticks "$tool") - t0)) b=$(($(cpu_ticks "$bare") - b0)) s=$(($(server_ticks) - s0))
    tool_rounds+=("$(percent "$t" "$idle_seconds")")
    tool_total=$((tool_total + t)) bare_total=$((bare_total + b)) server_total=$((server_total + s))
  done
  local seconds=$((idle_seconds * idle_rounds)) tool_percent bare_percent
  tool_percent=$(percent "$tool_total" "$seconds")
  bare_percent=$(percent "$bare_total" "$seconds")
  echo "| processor time while idle, % of a core, host view, ${idle_rounds} x ${idle_seconds} s [each], $label (bare one-dialog program) |" \
    "$tool_percent [${tool_rounds[*]}] | $bare_percent | $(ratio "$tool_percent" "$bare_percent") |" \
    "at most $idle_target_percent %: $(verdict "$tool_percent" "$idle_target_percent") |"
  echo "| wineserver of the prefix meanwhile, % of a core (answers both programs and the desktop) |" \
    "$(percent "$server_total" "$seconds") | | | |"
  # Peak memory after start and idle (the target), then once the bubble has been shown too.
  local tool_mb bare_mb extra
  tool_mb=$(awk -v kb="$(peak_kb "$tool")" 'BEGIN { printf "%.1f", kb / 1024 }')
  bare_mb=$(awk -v kb="$(peak_kb "$bare")" 'BEGIN { printf "%.1f", kb / 1024 }')
  extra=$(awk -v a="$tool_mb" -v b="$bare_mb" 'BEGIN { printf "%.1f", a - b }')
  if [ "$phase" = 1 ]; then
    echo "| peak resident memory (VmHWM) after start and idle, MB (bare one-dialog program) | $tool_mb | $bare_mb |" \
      "+$extra MB | at most +$memory_target_extra_mb MB: $(verdict "$extra" "$memory_target_extra_mb") |"
  else
    echo "| peak resident memory (VmHWM) once the agreement bubble has shown too, MB (bare one-dialog program) |" \
      "$tool_mb | $bare_mb | +$extra MB | |"
  fi
  touch "$handshake/idle-$phase.done"
}

table() {
  echo "| measure (baseline) | Veskar | baseline | ratio | target |"
  echo "|---|---|---|---|---|"
  # The log writer and the command runner against plain ways of doing the same work.
  wine "$BUILD_DIR/bench/repair_bench.exe" </dev/null | sed 's/$/ no worse than before |/'
  # The whole tool against a bare one-dialog program, both started from scratch folders in the
  # prefix and ended by TerminateProcess (the tool never removes its files here). The program
  # prints its own row and waits while the idle phases are measured from here.
  handshake=$BUILD_DIR/bench-handshake
  rm -rf "$handshake"
  mkdir -p "$handshake"
  local rows=$handshake/rows
  wine "$BUILD_DIR/bench/app_bench.exe" "$(winepath -w "$handshake")" </dev/null >"$rows" &
  bench_pid=$!
  local idle_rows
  idle_rows=$(idle_phase 1 "pointer away"; idle_phase 2 "after the agreement bubble was shown and hidden")
  wait "$bench_pid" || echo "app_bench ended with an error" >&2
  cat "$rows"
  echo "$idle_rows"

  local tool=$BUILD_DIR/app/Veskar.exe bare=$BUILD_DIR/bench/BareDialog.exe t b
  t=$(size_kb "$tool") b=$(size_kb "$bare")
  echo "| Veskar.exe as built to ship, KB (bare one-dialog program) | $t | $b | $(ratio "$t" "$b") |" \
    "at most $shipped_target_kb KB: $(verdict "$t" "$shipped_target_kb") |"
}

report=$HARNESS_ROOT/out/bench.md
mkdir -p "$(dirname "$report")"
table | tee "$report.part"
mv -f "$report.part" "$report"
echo "Written to $report"
