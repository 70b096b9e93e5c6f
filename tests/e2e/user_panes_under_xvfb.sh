#!/usr/bin/env bash
# Starts the real program on a demo installation in partition mode under Xvfb and works it as
# an operator would: expands a user's accounts in the explorer, opens an account's week (with a
# locked day and a corrected value in it), opens the corrected cell's menu, keeps screenshots,
# prints the window to a PDF file and closes the program.
# Usage: user_panes_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/session.sh"

admin="$build/bin/velora-admin"
"$admin" demo "$work/demo" --users 12 --accounts 6 --days 40 --partitions 3 --seed 7 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"

# The program opens on the week that starts on the latest Sunday before today. Its Sunday and
# Monday are locked, and Tuesday's true lines carry a supervisor's correction.
for back in 1 2 3 4 5 6 7; do
  day=$(date -d "-$back day" +%F)
  [ "$(date -d "$day" +%u)" = 7 ] && start=$day && break
done
monday=$(date -d "$start +1 day" +%F)
tuesday=$(date -d "$start +2 day" +%F)
"$admin" sql "$database" "UPDATE Trans_incentive SET locked = 1 WHERE shift_date <= '$monday'" >/dev/null
"$admin" sql "$database" \
  "UPDATE Trans_incentive SET lines_modified = lines + 250 WHERE shift_date = '$tuesday'" >/dev/null

start_display

HOME=$work QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US \
  "$build/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!

accept_first_use_preferences
window=$(main_window)
xdotool windowsize --sync "$window" 1000 760
wait_for_startup_recalculation

settle() { sleep 0.5; }

# Users folder with the mouse, then the keyboard: open the folder, the first user, the user's
# account folder.
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 60 46 click 1
settle
for key in Right Down Right Down Right; do xdotool key "$key"; settle; done
screenshot "$artifacts/explorer-user-accounts.png"

# The first real account (after the account summary) opens its week.
xdotool windowfocus --sync "$window"
for key in Down Down Return; do xdotool key "$key"; settle; done
sleep 1
screenshot "$artifacts/user-detail.png"

# Tuesday's corrected true lines (where the pane places them in a window of this size): the
# right button opens the cell's own menu with Revert Changes; Escape closes it untouched.
xdotool mousemove --window "$window" 685 188 click 3
for _ in $(seq 100); do [ "$(windows)" -gt 1 ] && break; sleep 0.1; done
if [ "$(windows)" -le 1 ]; then
  import -window root "$artifacts/no-cell-menu.png"
  echo "a right click on a grid cell opened no menu" >&2
  exit 1
fi
screenshot "$artifacts/cell-menu.png"
xdotool key Escape
for _ in $(seq 100); do [ "$(windows)" -le 1 ] && break; sleep 0.1; done

# Print with its key, Ctrl+P, then the dialog's Print, which writes the PDF file as no printer
# is installed.
xdotool key ctrl+p
for _ in $(seq 100); do [ "$(windows)" -gt 1 ] && break; sleep 0.1; done
settle
import -window root "$artifacts/print-dialog.png"
xdotool key Return
for _ in $(seq 100); do [ -s "$work/Velora Incentive.pdf" ] && break; sleep 0.1; done
cp "$work/Velora Incentive.pdf" "$artifacts/user-detail.pdf"
head -c 4 "$artifacts/user-detail.pdf" | grep -q '%PDF' || { echo "no PDF was printed" >&2; exit 1; }

exit_program
