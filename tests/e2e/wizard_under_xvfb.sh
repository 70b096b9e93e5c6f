#!/usr/bin/env bash
# The formula wizard under Xvfb, driven with the keyboard as a supervisor would: a tiered
# scheme with numbers refused and corrected, the preview, a refused and a good name, Finish;
# then a second run that goes to the per-account page and cancels. Every page is kept as a
# screenshot. Finish must write the exchange file beside the configuration's SYSTEM folder;
# Cancel must write nothing.
# Usage: wizard_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/session.sh"

root="$work/my suite"
"$build/bin/velora-admin" demo "$root" --users 8 --days 45 --seed 3 >/dev/null
ini="$root/HALVEX/SYSTEM/HALVEX.INI"
exchange="$root/HALVEX/TEMP/FORMULA.TXT"

start_display

start_wizard() {
  QT_QPA_PLATFORM=xcb VELORA_LOCALE=en_US \
    "$build/bin/inc_wiz" "/INI=$ini" /UNAME=supervisor /PASSWORD=supervisor &
  app=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Incentive Formula Wizard$' |
    head -n 1)
  xdotool windowfocus --sync "$window"
}

keys() { xdotool key --delay 40 "$@"; }
typed() { xdotool type --delay 20 -- "$1"; }
# Replaces the text of the focused field.
retype() { keys ctrl+a; typed "$1"; }

wait_for_end() {
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then
    import -window root "$artifacts/wizard-at-end.png"
    echo "the wizard did not end" >&2
    exit 1
  fi
  wait "$app" || true
}

start_wizard
screenshot "$artifacts/wizard-1-shape.png"
keys Down alt+n                       # Tiered rates per line
sleep 0.3
keys Up Tab                           # three bands
typed "2,000"; keys Tab; typed "0.07"; keys Tab
typed "1000"; keys Tab; typed "-0.08"; keys Tab; typed "0.09"
sleep 0.3
screenshot "$artifacts/wizard-2-numbers-refused.png"
keys shift+Tab shift+Tab
retype "3000"; keys Tab; retype "0.08"
sleep 0.3
screenshot "$artifacts/wizard-2-numbers.png"
keys alt+n
sleep 0.3
screenshot "$artifacts/wizard-3-measures.png"
keys alt+n
sleep 1
screenshot "$artifacts/wizard-4-preview.png"
keys alt+n
sleep 0.3
typed "$(printf 'n%.0s' $(seq 50))"
sleep 0.3
screenshot "$artifacts/wizard-5-name-refused.png"
retype "Night shift tiers"
sleep 0.3
screenshot "$artifacts/wizard-5-name.png"
keys alt+f
wait_for_end
if ! grep -q "^Night shift tiers" "$exchange" || ! tail -c 8 "$exchange" | grep -q ' \*\*\*\*\*'; then
  echo "Finish did not write the exchange file" >&2
  exit 1
fi

rm -f "$exchange"
start_wizard
keys Down Down Down Down alt+n        # Different rates per client account
sleep 0.5
typed "0.08"; keys Tab Right
typed "-0.09"; keys Return Down
typed "0.095"; keys Return
sleep 0.3
screenshot "$artifacts/wizard-2-numbers-accounts.png"
keys Escape
wait_for_end
if [ -e "$exchange" ]; then
  echo "Cancel wrote the exchange file" >&2
  exit 1
fi
echo "wizard pages kept in $artifacts"
