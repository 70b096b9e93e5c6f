#!/usr/bin/env bash
# Starts the real program on a small demo installation in partition mode under Xvfb, opens
# File > Pay Period Report, keeps screenshots of the report and of a user's accounts, closes
# the report and the program.
# Usage: report_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/session.sh"

"$build/bin/velora-admin" demo "$work/demo" --users 12 --days 30 --partitions 2 --seed 3 >/dev/null
# The supervisor has used the program before: no first-use Preferences dialog.
"$build/bin/velora-admin" sql "$work/demo/HALVEX/SYSTEM/incentive.sqlite" \
  "INSERT INTO Incentive_preference (user_id, pref_key, pref_value, partition_id)
   SELECT user_id, 'INCENT_FIRST_TIME_USE', 'False', partition_id FROM Suite_user
   WHERE user_name = 'supervisor'" >/dev/null

start_display

QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US \
  "$build/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!

window=$(main_window)

# File > Pay Period Report through the menu's mnemonics. The start-up recalculation keeps the
# main window busy for a moment, during which the menu does not open: try again until the
# report comes up.
report=""
for _ in $(seq 10); do
  for _ in $(seq 100); do [ "$(windows)" -eq 1 ] && break; sleep 0.1; done
  xdotool mousemove --window "$window" 18 10 click 1
  for _ in $(seq 50); do [ "$(windows)" -gt 1 ] && break; sleep 0.1; done
  xdotool key r
  report=$(timeout 5 xdotool search --sync --onlyvisible --name '^Pay Period Report$' | head -n 1) || true
  [ -n "$report" ] && break
  xdotool key Escape
done
if [ -z "$report" ]; then
  import -window root "$artifacts/pay-period-report-missing.png"
  echo "File > Pay Period Report did not open the report" >&2
  exit 1
fi
xdotool windowmove --sync "$report" 0 0
xdotool windowsize --sync "$report" 1000 700
for _ in $(seq 50); do
  [ "$(xdotool getwindowgeometry "$report" | grep -c '1000x700')" = 1 ] && break
  sleep 0.1
done
screenshot "$artifacts/pay-period-report.png"

# A click on the first user's row shows that user's accounts below.
xdotool mousemove --window "$report" 120 118 click 1
screenshot "$artifacts/pay-period-report-accounts.png"

xdotool windowfocus --sync "$report" key Escape
for _ in $(seq 100); do [ "$(windows)" -eq 1 ] && break; sleep 0.1; done
exit_program
