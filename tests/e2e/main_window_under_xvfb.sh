#!/usr/bin/env bash
# Starts the real program on a small demo installation under Xvfb, logged in automatically,
# resizes its window, keeps a screenshot, closes it through File > Exit and checks that the
# window settings were stored.
# Usage: main_window_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/session.sh"

"$build/bin/velora-admin" demo "$work/demo" --users 12 --days 30 --seed 3 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"

start_display

QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US \
  "$build/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!

accept_first_use_preferences "$artifacts/first-use-preferences.png"
window=$(main_window)
xdotool windowsize --sync "$window" 1000 720

screenshot "$artifacts/main-window.png"

exit_program "$artifacts/file-menu.png"

width=$("$build/bin/velora-admin" sql "$database" \
  "EXEC usp_incentive_get_preference 'INCENT_WINDOW_WIDTH', 1" | tail -n 1)
echo "stored window width: $width twips"
if [ "$width" != "15000" ]; then
  echo "expected the stored width 15000 twips (1000 px)" >&2
  exit 1
fi
