#!/usr/bin/env bash
# Makes the screenshots of the help from the programs of a build: runs the Xvfb scripts of the
# tests and the help's own one into a temporary folder, then keeps the chosen screens under
# docs/help/images with the names the pages use, cut to the program's windows and reduced to a
# 256-colour palette. Run it again after a change to the screens' layout.
# Usage: scripts/help-screenshots.sh BUILD_DIR
# Needs Xvfb, xdotool, xprop and ImageMagick (scripts/setup-debian.sh installs them).
set -euo pipefail
if [ $# -ne 1 ] || [ ! -x "$1/bin/velora-incentive" ]; then
  echo "usage: $0 BUILD_DIR (a build folder holding bin/velora-incentive)" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
images="$root/docs/help/images"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

for script in main_window user_panes wizard handoff report; do
  echo "running tests/e2e/${script}_under_xvfb.sh"
  "$root/tests/e2e/${script}_under_xvfb.sh" "$build" "$shots" >/dev/null
done
echo "running scripts/help-panes-under-xvfb.sh"
"$root/scripts/help-panes-under-xvfb.sh" "$build" "$shots" >/dev/null

mkdir -p "$images"
# Every picture is written anew, so a screen that is no longer kept must not linger.
rm -f "$images"/*.png

# The pictures carry no time stamps, so that a screen that has not changed gives the same file.
png=(-dither None -colors 256 -define "png:exclude-chunks=date,time")

# A whole screen: the black of the empty display around the windows is cut away.
from_screen() {
  convert "$shots/$1" -trim +repage "${png[@]}" "PNG8:$images/$2"
}

# A part of the screen (WIDTHxHEIGHT+X+Y): a window the script placed there, without the
# windows behind it.
from_region() {
  convert "$shots/$1" -crop "$3" +repage "${png[@]}" "PNG8:$images/$2"
}

# A screen already cut to its window by the help's script.
from_window() {
  convert "$shots/$1" "${png[@]}" "PNG8:$images/$2"
}

from_window help-login.png login.png
from_screen first-use-preferences.png preferences-display.png
from_window help-preferences-processing.png preferences-processing.png
from_screen file-menu.png file-menu.png
from_window help-users-list.png users-list.png
from_screen explorer-user-accounts.png explorer.png
from_window help-user-header.png user-header.png
from_window help-effective-date.png effective-date.png
from_screen user-detail.png week.png
from_screen cell-menu.png week-cell-menu.png
from_screen print-dialog.png week-print.png
from_window help-group-account.png group-account.png
from_window help-formula.png formula.png
from_window help-formula-test.png formula-test.png
from_window help-formula-menu.png formula-menu.png
from_window help-name-box.png name-box.png
from_screen handoff-1-offer.png wizard-offer.png
from_screen wizard-1-shape.png wizard-1-shape.png
from_screen wizard-2-numbers-refused.png wizard-2-numbers-refused.png
from_screen wizard-2-numbers.png wizard-2-numbers.png
from_screen wizard-3-measures.png wizard-3-measures.png
from_screen wizard-4-preview.png wizard-4-preview.png
from_screen wizard-5-name.png wizard-5-name.png
from_screen handoff-3-saved.png wizard-saved.png
from_region pay-period-report.png pay-period-report.png 1000x700+0+0
from_region pay-period-report-accounts.png pay-period-report-accounts.png 1000x700+0+0
from_window help-about.png about.png
from_window help-system-information.png system-information.png

# Each picture stays small enough to keep in the repository.
status=0
for image in "$images"/*.png; do
  size=$(stat -c %s "$image")
  if [ "$size" -ge 153600 ]; then
    echo "$image is $size bytes, more than 150 KB" >&2
    status=1
  fi
done
ls -l "$images"
exit "$status"
