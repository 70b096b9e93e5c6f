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
# The start-up recalculation's progress window comes and goes first.
for _ in $(seq 50); do [ "$(windows)" -gt 1 ] && break; sleep 0.1; done
for _ in $(seq 600); do [ "$(windows)" -le 1 ] && break; sleep 0.1; done
sleep 0.5

# The program's window other than the main window (a message box or a prompt), once it
# shows; its id is printed. The argument names it in the failure's screenshot.
dialog() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "$window" | head -n 1 ||
      true)
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  echo "no $1 came up" >&2
  import -window root "$artifacts/handoff-no-$1.png"
  return 1
}

# Waits until the window given goes away.
dialog_gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  echo "a window of the program stayed open" >&2
  import -window root "$artifacts/handoff-stayed.png"
  return 1
}

xdotool windowfocus --sync "$window" key alt+f
sleep 0.3
xdotool key f                                     # Create Formula...
offer=$(dialog offer)
sleep 0.3
screenshot "$artifacts/handoff-1-offer.png"
xdotool windowfocus --sync "$offer" key alt+y     # use the wizard
dialog_gone "$offer"

# The wizard finishes on its own; then the new formula asks for its effective date.
prompt=$(dialog effective-date)
sleep 0.3
xdotool windowfocus --sync "$prompt" key ctrl+a
xdotool type --delay 20 "$(date +%-m/%-d/%Y)"
screenshot "$artifacts/handoff-2-effective-date.png"
xdotool key Return
dialog_gone "$prompt"

note=$(dialog note)
sleep 0.3
screenshot "$artifacts/handoff-3-saved.png"
xdotool windowfocus --sync "$note" key Return
dialog_gone "$note"
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
