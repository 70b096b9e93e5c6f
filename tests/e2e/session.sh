# Shared by the Xvfb scripts (sourced once build and artifacts are set): a throw-away work
# folder, a private X display, screenshots of a painted screen and File > Exit.
mkdir -p "$artifacts"
work=$(mktemp -d)
# The X server is waited for: the next script must not meet it still shutting down.
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; wait "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# A private X server of the given size (1280x900 unless told), on a display number of its own:
# the server writes the number out only once it holds the display and takes clients, and ends
# at once when another server has it, so another number is tried.
start_display() {
  local number
  for _ in $(seq 20); do
    number=$((100 + RANDOM % 800))
    : >"$work/display"
    Xvfb ":$number" -displayfd 3 -screen 0 "${1:-1280x900}x24" -nolisten tcp \
      3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      if [ -s "$work/display" ]; then
        export DISPLAY=":$number"
        return 0
      fi
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  done
  echo "no X server could be started" >&2
  return 1
}

# The program's visible windows: more than one while a menu, dialog or progress window shows.
windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }

# The main window, once it is the program's only visible window: the start-up wait dialog
# carries the same title and goes away (its window with it) while the program loads.
main_window() {
  local ids
  for _ in $(seq 300); do
    ids=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null || true)
    if [ "$(echo "$ids" | grep -c .)" = 1 ] &&
       [ "$(xdotool getwindowname "$ids" 2>/dev/null)" = "Velora Incentive" ]; then
      echo "$ids"
      return 0
    fi
    sleep 0.1
  done
  echo "the main window did not come up alone" >&2
  return 1
}

# The start-up recalculation shows its progress window (when it runs long enough) while the
# main window takes no input: waits for it to come and go.
wait_for_startup_recalculation() {
  for _ in $(seq 30); do [ "$(windows)" -gt 1 ] && break; sleep 0.1; done
  for _ in $(seq 600); do [ "$(windows)" -le 1 ] && break; sleep 0.1; done
  sleep 0.5
}

# The program's newest window other than the main window (a message box, a prompt, a menu),
# once it shows; its id is printed. The argument names it in the failure's screenshot.
dialog() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "${window:-none}" |
      tail -n 1 || true)
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  import -window root "$artifacts/no-$1.png"
  echo "no $1 came up" >&2
  return 1
}

# Waits until the window given has gone.
gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  import -window root "$artifacts/window-stayed.png"
  echo "a window of the program stayed open" >&2
  return 1
}

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

# File > Exit with the mouse and the menu's mnemonic, as an operator would; the open menu is
# kept in the screenshot named by the argument, if any. The program must end.
exit_program() {
  xdotool mousemove --window "$window" 18 10 click 1
  for _ in $(seq 100); do [ "$(windows)" -gt 1 ] && break; sleep 0.1; done
  if [ -n "${1:-}" ]; then import -window root "$1"; fi
  xdotool key x
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then
    import -window root "$artifacts/at-exit.png"
    echo "the program did not end after File > Exit" >&2
    exit 1
  fi
  wait "$app"
}

# A new installation's first start shows the Preferences dialog before the main window: keeps
# a screenshot of it (argument, if any) and leaves it with OK, the only way out.
accept_first_use_preferences() {
  local dialog=""
  # A search fails when a window it looks at goes away meanwhile (the start-up wait dialog):
  # search again rather than give up.
  for _ in $(seq 300); do
    dialog=$(xdotool search --onlyvisible --name '^Preferences$' 2>/dev/null | head -n 1) || true
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  if [ -n "${1:-}" ]; then screenshot "$1"; fi
  xdotool windowfocus --sync "$dialog" key Return
}
