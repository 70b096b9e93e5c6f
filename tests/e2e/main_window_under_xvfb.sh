#!/usr/bin/env bash
# Starts the real program on a small demo installation under Xvfb, logged in automatically,
# resizes its window, keeps a screenshot, closes it through File > Exit and checks that the
# window settings were stored.
# Usage: main_window_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

"$build/tools/velora-admin" demo "$work/demo" --users 12 --days 30 --seed 3 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"

display=":$((90 + RANDOM % 500))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US \
  "$build/src/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velora Incentive$' | head -n 1)
xdotool windowsize --sync "$window" 1000 720

# Waits (polling, at most 10 s) until the screen shows a painted window, then keeps it.
screenshot() {
  for _ in $(seq 100); do
    import -window root "$1"
    [ "$(identify -format %k "$1")" -gt 40 ] && return 0
    sleep 0.1
  done
  echo "nothing was painted" >&2
  return 1
}
screenshot "$artifacts/main-window.png"

# File > Exit with the mouse and the menu's mnemonic, as an operator would.
xdotool mousemove --window "$window" 18 10 click 1
for _ in $(seq 100); do
  [ "$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l)" -gt 1 ] && break
  sleep 0.1
done
import -window root "$artifacts/file-menu.png"
xdotool key x
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "the program did not end after File > Exit" >&2
  exit 1
fi
wait "$app"

width=$("$build/tools/velora-admin" sql "$database" \
  "EXEC usp_incentive_get_preference 'INCENT_WINDOW_WIDTH', 1" | tail -n 1)
echo "stored window width: $width twips"
if [ "$width" != "15000" ]; then
  echo "expected the stored width 15000 twips (1000 px)" >&2
  exit 1
fi
