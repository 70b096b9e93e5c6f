#!/usr/bin/env bash
# Time from starting the program to its shown main window, and its memory after start-up, on a
# demo installation under Xvfb (logged in automatically). Prints figures; never fails on time.
# Usage: bench/startup.sh BUILD_DIR [DEMO_DIR]   (DEMO_DIR is made with the default demo if absent)
set -euo pipefail
build=$(cd "$1" && pwd)
demo=${2:-}
work=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
if [ -z "$demo" ]; then
  demo="$work/demo"
  "$build/bin/velora-admin" demo "$demo" >/dev/null
fi
# The supervisor has used the program before: no first-use Preferences dialog in the timing.
"$build/bin/velora-admin" sql "$demo/HALVEX/SYSTEM/incentive.sqlite" \
  "EXEC usp_incentive_add_preference 1, 4, 'INCENT_FIRST_TIME_USE', 'False'" >/dev/null
display=":$((600 + RANDOM % 300))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

start=$(date +%s.%N)
QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$demo/registry.ini" \
  "$build/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^Velora Incentive$' | head -n 1)
shown=$(date +%s.%N)
# A failed start-up shows a message box under the same title: the main window is the wide one.
width=$(xdotool getwindowgeometry --shell "$window" | awk -F= '/WIDTH/ {print $2}')
if [ "$width" -lt 600 ]; then
  echo "start-up failed: a message box came up instead of the main window" >&2
  exit 1
fi
# After the start-up recalculation (it starts 125 ms after the window) the window is enabled
# again; give it the time a supervisor would before looking at the memory.
for _ in $(seq 30); do sleep 0.1; done
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$app/status")
printf 'start to shown main window: %.0f ms\n' "$(echo "($shown - $start) * 1000" | bc -l)"
printf 'memory after start-up: %.1f MiB resident (peak %.1f MiB)\n' \
  "$(echo "$rss / 1024" | bc -l)" "$(echo "$hwm / 1024" | bc -l)"
