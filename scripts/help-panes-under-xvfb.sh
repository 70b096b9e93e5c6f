#!/usr/bin/env bash
# Screens of the help that the tests' Xvfb scripts do not show: the login dialog, the
# Processing page of the preferences, the users' list, the user header and the effective date
# dialog of a group change, the formula pane with the tester's answer, the formula's menu, the
# group account pane, the name box, About and System Information. Works the real program on a
# demo installation under Xvfb as an operator would and keeps each screen cut to the window
# it shows (a dialog alone, or the main window with what is drawn over it). The main window is
# given a fixed size and worked with the keyboard (the explorer's arrows, Tab, mnemonics), so
# that a change to the panes' layout does not send a click astray; the one click left, the
# right button on an explorer row, goes where the rows lie from the window's top.
# Usage: help-panes-under-xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/../tests/e2e/session.sh"

admin="$build/bin/velora-admin"
"$admin" demo "$work/demo" --users 12 --accounts 6 --days 40 --seed 5 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"

# A day with production of the tester's first user on the account chosen below, so that the
# tester's answer shows figures rather than zeros.
tester_user=brownn
tester_account="Memorial Family Clinic"
tested_day=$("$admin" sql "$database" \
  "SELECT MAX(t.shift_date) FROM Trans_incentive t, Account_info a WHERE
   a.hosp_acct_id = t.hosp_acct_id AND a.hosp_acct_name = '$tester_account' AND
   t.trans_id = '$tester_user' AND t.lines > 0" | tail -n 1)
tested_day=$(date -d "$tested_day" +%m/%d/%Y)

start_display

HOME=$work QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US \
  "$build/bin/velora-incentive" &
app=$!

settle() { sleep 0.5; }

# The part of the screen that the window given covers, once painted, kept in the file given.
window_shot() {
  # Every variable the geometry sets stays local, WINDOW and SCREEN included.
  # shellcheck disable=SC2034
  local WINDOW X Y WIDTH HEIGHT SCREEN
  settle
  screenshot "$work/screen.png"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}



# The main window: the program's visible window of its title that is an ordinary window, not
# the start-up wait dialog (a dialog of the same title that comes and goes while it loads).
the_main_window() {
  local id
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --pid "$app" --name '^Velora Incentive$' \
                  2>/dev/null || true); do
      if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_TYPE_NORMAL'; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  import -window root "$artifacts/help-no-main-window.png"
  echo "the main window did not come up" >&2
  return 1
}

# Keys typed one at a time into the window that has the focus, each given time to act.
keys() {
  local key
  for key in "$@"; do
    xdotool key "$key"
    settle
  done
}

# The explorer's rows lie at fixed places from the top of the main window, below the menu bar:
# a point of the row given (0 the top node) as "X Y" inside the window, to the right of a
# short name, so that a menu opened there leaves the name in sight.
readonly tree_top=19 tree_row_height=18
tree_row() { echo "200 $((tree_top + $1 * tree_row_height + tree_row_height / 2))"; }

# Waits until only the main window is left.
alone() {
  for _ in $(seq 100); do [ "$(windows)" -le 1 ] && return 0; sleep 0.1; done
  import -window root "$artifacts/help-not-alone.png"
  echo "a window of the program stayed open" >&2
  return 1
}

login=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velora Incentive Login$' |
  head -n 1)
xdotool windowfocus --sync "$login"
xdotool type --delay 20 supervisor
xdotool key Tab
xdotool type --delay 20 supervisor
window_shot "$login" "$artifacts/help-login.png"
xdotool key Return

preferences=$(timeout 30 xdotool search --sync --onlyvisible --name '^Preferences$' | head -n 1)
xdotool windowfocus --sync "$preferences" key ctrl+Tab
window_shot "$preferences" "$artifacts/help-preferences-processing.png"
xdotool key Return

window=$(the_main_window)
# A fixed size, so that the panes lay themselves out the same at every run.
xdotool windowmove --sync "$window" 0 0
xdotool windowsize --sync "$window" 1000 760
wait_for_startup_recalculation

# The explorer has the focus: Home is its top node, the next one the Users folder, which
# lists the users. Right opens the folder, and Enter on its first user opens the header.
xdotool windowfocus --sync "$window"
keys Home Down Return
window_shot "$window" "$artifacts/help-users-list.png"
keys Right Down Return
window_shot "$window" "$artifacts/help-user-header.png"

# Tab reaches the header's group list, Down chooses the next group; Shift+Tab goes back to
# the explorer, where Enter on the next user leaves this one: that asks for the change's
# effective date. Cancel keeps the group.
keys Tab Down shift+Tab Down Return
prompt=$(dialog effective-date)
window_shot "$prompt" "$artifacts/help-effective-date.png"
xdotool windowfocus --sync "$prompt" key Escape
gone "$prompt"
note=$(dialog not-changed-note)
xdotool windowfocus --sync "$note" key Return
alone

# The first formula, tested for the user on a day of the account. The explorer keeps the
# focus; Shift+Tab from it goes round to the end of the window's tab order, the tester's Test
# Formula, then back through the date to the account, which its first letters choose. Tab
# goes on to the date and Alt+T (Test Formula) tests: the answer shows over the pane, then the
# inputs read stay beside the fields.
xdotool windowfocus --sync "$window"
keys Left Left Down Right Down Return shift+Tab shift+Tab shift+Tab
xdotool type --delay 30 "${tester_account:0:3}"
keys Tab ctrl+a
xdotool type --delay 20 "$tested_day"
keys alt+t
answer=$(dialog tester-answer)
window_shot "$window" "$artifacts/help-formula-test.png"
xdotool windowfocus --sync "$answer" key Return
alone
window_shot "$window" "$artifacts/help-formula.png"

# The formula's own menu: the right button on its row of the explorer (the top node, Users,
# Formulas, then the formula).
read -r x y <<<"$(tree_row 3)"
xdotool mousemove --window "$window" "$x" "$y" click 3
dialog formula-menu >/dev/null
window_shot "$window" "$artifacts/help-formula-menu.png"
xdotool key Escape
alone

# The first group's default account.
xdotool windowfocus --sync "$window"
keys Left Left Down Right Down Right Down Right Down Return
window_shot "$window" "$artifacts/help-group-account.png"

# File > Create Formula: No to the wizard's offer gives the name box; Escape leaves it.
xdotool windowfocus --sync "$window" key alt+f
settle
xdotool key f
offer=$(dialog wizard-offer)
xdotool windowfocus --sync "$offer" key alt+n
gone "$offer"
names=$(dialog name-box)
xdotool windowfocus --sync "$names"
xdotool type --delay 20 "Weekend Rate"
window_shot "$names" "$artifacts/help-name-box.png"
xdotool key Escape
alone

# Help > About and Help > System Information.
xdotool windowfocus --sync "$window" key alt+h
settle
xdotool key a
about=$(dialog about)
window_shot "$about" "$artifacts/help-about.png"
xdotool windowfocus --sync "$about" key Return
alone
xdotool windowfocus --sync "$window" key alt+h
settle
xdotool key s
information=$(dialog system-information)
window_shot "$information" "$artifacts/help-system-information.png"
xdotool windowfocus --sync "$information" key Escape
alone

exit_program
echo "help screens kept in $artifacts"
