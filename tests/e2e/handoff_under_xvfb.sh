#!/usr/bin/env bash
# File > Create Formula in the real program under Xvfb hands over to the real formula wizard,
# which finishes from an answers file named in its environment; the new formula comes back
# under the wizard's name, its text in the editor, saved with the effective date typed into
# the prompt. Every step is kept as a screenshot.
# Usage: handoff_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/session.sh"

admin="$build/bin/velora-admin"
"$admin" demo "$work/demo" --users 8 --days 30 --seed 4 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"
printf 'shape=standard\nstandard=150\nrate=0.09\nname=Above the standard\n' >"$work/answers.txt"

start_display

HOME=$work QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US \
  INC_WIZ_SCRIPT="$work/answers.txt" \
  "$build/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!

accept_first_use_preferences
window=$(main_window)
xdotool windowsize --sync "$window" 1000 760
wait_for_startup_recalculation

xdotool windowfocus --sync "$window" key alt+f
sleep 0.3
xdotool key f                                     # Create Formula...
offer=$(dialog offer)
sleep 0.3
screenshot "$artifacts/handoff-1-offer.png"
xdotool windowfocus --sync "$offer" key alt+y     # use the wizard
gone "$offer"

# The wizard finishes on its own; then the new formula asks for its effective date.
prompt=$(dialog effective-date)
sleep 0.3
xdotool windowfocus --sync "$prompt" key ctrl+a
xdotool type --delay 20 "$(date +%-m/%-d/%Y)"
screenshot "$artifacts/handoff-2-effective-date.png"
xdotool key Return
gone "$prompt"

note=$(dialog note)
sleep 0.3
screenshot "$artifacts/handoff-3-saved.png"
xdotool windowfocus --sync "$note" key Return
gone "$note"
sleep 0.5
screenshot "$artifacts/handoff-4-formula.png"

exit_program

text=$("$admin" sql "$database" \
  "SELECT formula_text FROM Incentive_formula WHERE formula_name = 'Above the standard'")
if ! grep -q 'above = workLines - workHours \* 150' <<<"$text"; then
  echo "the wizard's formula was not saved: $text" >&2
  exit 1
fi
if [ -e "$work/demo/HALVEX/TEMP/FORMULA.TXT" ]; then
  echo "the exchange file was left behind" >&2
  exit 1
fi
echo "hand-off screenshots kept in $artifacts"
