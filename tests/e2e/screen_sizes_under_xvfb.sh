#!/usr/bin/env bash
# Starts the real program under Xvfb on screens of several sizes, and once at twice the scale,
# with window settings stored on a larger screen (wider than any of these, partly above and
# beyond the right edge). On each the window must open whole on the screen, and the weekly grid
# must take the room the window gives it; the screenshots show how it looks.
# Usage: screen_sizes_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/session.sh"

admin="$build/bin/velora-admin"
"$admin" demo "$work/demo" --users 12 --accounts 6 --days 40 --seed 5 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"
"$admin" sql "$database" "EXEC usp_incentive_add_preference -1, 4, 'INCENT_FIRST_TIME_USE', 'False'" >/dev/null

run_on() { # SIZE SCALE NAME
  local size=$1 scale=$2 name=$3
  for key_value in INCENT_FIRST_TIME_USE=False INCENT_WINDOW_WIDTH=32000 \
      INCENT_WINDOW_HEIGHT=12000 INCENT_WINDOW_LEFT=20000 INCENT_WINDOW_TOP=-2000; do
    "$admin" sql "$database" "EXEC usp_incentive_add_preference 1, 4, '${key_value%%=*}', '${key_value#*=}'" >/dev/null
  done
  start_display "$size"
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale VELORA_REGISTRY="$work/demo/registry.ini" \
    VELORA_LOCALE=en_US "$build/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
  app=$!
  window=$(main_window)
  wait_for_startup_recalculation

  eval "$(xdotool getwindowgeometry --shell "$window")"
  local screen_width=${size%x*} screen_height=${size#*x}
  echo "$name: window ${WIDTH}x${HEIGHT} at $X,$Y on a ${size} screen"
  if [ "$X" -lt 0 ] || [ "$Y" -lt 0 ] || [ $((X + WIDTH)) -gt "$screen_width" ] ||
     [ $((Y + HEIGHT)) -gt "$screen_height" ]; then
    import -window root "$artifacts/$name-off-screen.png"
    echo "$name: the window does not lie whole on the screen" >&2
    exit 1
  fi

  # The first user's first real account (after the account summary), with the keyboard.
  xdotool windowfocus --sync "$window"
  for key in Home Down Right Down Right Down Right Down Down Return; do
    xdotool key "$key"
    sleep 0.3
  done
  sleep 1
  screenshot "$artifacts/$name.png"
  exit_program
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}

run_on 1024x768 1 screen-1024x768
run_on 1366x768 1 screen-1366x768
run_on 1920x1080 1 screen-1920x1080
run_on 2732x1536 2 screen-1366x768-at-twice-the-scale
