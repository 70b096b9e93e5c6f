#!/usr/bin/env bash
# Installs the build into a throw-away prefix and uses only what was installed: the files a
# desktop needs are in place, every program answers --help and --version, the installed
# program starts on a demo installation under Xvfb and is closed through its menu, a backup
# taken while it runs is sound, a restore over the database it has open is refused, and an
# error it shows lands in the error log.
# Usage: installed_program_under_xvfb.sh BUILD_DIR ARTIFACT_DIR
set -euo pipefail
build=$1
artifacts=$2
source "$(dirname "$0")/../e2e/session.sh"

fail() { echo "$*" >&2; exit 1; }

# The first-use Preferences dialog, left with OK. Searched by polling: a search that meets a
# window while it is being destroyed (the start-up wait dialog) fails and is simply repeated.
accept_preferences() {
  local dialog=""
  for _ in $(seq 300); do
    dialog=$(xdotool search --onlyvisible --name '^Preferences$' 2>/dev/null | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "the first-use Preferences dialog did not appear"
  xdotool windowfocus --sync "$dialog" key Return
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/velora-incentive bin/velora-admin bin/velora-engine bin/inc_wiz \
            share/velora/help/index.html share/applications/velora-incentive.desktop \
            share/icons/hicolor/scalable/apps/velora-incentive.svg; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
grep -qx 'Exec=velora-incentive' "$prefix/share/applications/velora-incentive.desktop" ||
  fail "the menu entry does not start velora-incentive"

# No display for these: --help and --version must not need one, nor log in.
for program in velora-incentive velora-admin velora-engine inc_wiz; do
  help=$(env -u DISPLAY QT_QPA_PLATFORM= "$prefix/bin/$program" --help) ||
    fail "$program --help failed"
  grep -q "^Usage: $program " <<<"$help" || fail "$program --help shows no usage"
  grep -q '^Exit status:' <<<"$help" || fail "$program --help shows no exit statuses"
  [ "$("$prefix/bin/$program" --version)" = "$program 1.0.0" ] || fail "$program --version"
  gzip -t "$prefix/share/man/man1/$program.1.gz" || fail "no manual page for $program"
done

export XDG_STATE_HOME="$work/state"
log="$XDG_STATE_HOME/velora/velora.log"
"$prefix/bin/velora-admin" demo "$work/demo" --users 12 --days 30 --seed 5 >/dev/null
database="$work/demo/HALVEX/SYSTEM/incentive.sqlite"
export VELORA_REGISTRY="$work/demo/registry.ini" VELORA_LOCALE=en_US QT_QPA_PLATFORM=xcb

start_display

# A refused login: the message box's text goes to the error log before the box shows.
"$prefix/bin/velora-incentive" /UNAME=supervisor /PASSWORD=wrong &
app=$!
for _ in $(seq 300); do [ -s "$log" ] && break; sleep 0.1; done
grep -q $'\tError\tVelora Incentive\t.*The password is invalid.' "$log" ||
  fail "the refused login is not in the error log: $(cat "$log" 2>/dev/null)"
# OK on the box (the only window by now) until the program has ended.
for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  box=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | tail -n 1 || true)
  if [ -n "$box" ]; then xdotool windowfocus "$box" key Return 2>/dev/null || true; fi
  sleep 0.2
done
status=0
wait "$app" || status=$?
[ "$status" = 1 ] || fail "a refused login should end the program with 1, not $status"

"$prefix/bin/velora-incentive" /UNAME=supervisor /PASSWORD=supervisor &
app=$!
accept_preferences
window=$(main_window)
screenshot "$artifacts/installed-main-window.png"

"$prefix/bin/velora-admin" backup "$database" "$work/backup.sqlite" >/dev/null
# restore checks a backup (integrity_check, the incentive tables) before it writes anything.
"$prefix/bin/velora-admin" restore "$work/backup.sqlite" "$work/restored.sqlite" >/dev/null ||
  fail "the backup taken while the program runs is not sound"
status=0
"$prefix/bin/velora-admin" restore "$work/backup.sqlite" "$database" 2>"$work/restore.err" ||
  status=$?
[ "$status" = 3 ] || fail "restore over the database in use should exit 3, not $status"
grep -q 'is in use' "$work/restore.err" || fail "restore does not say the database is in use"

exit_program
