#!/usr/bin/env bash
# The real program under Xvfb on a fresh home: the login dialog appears, "tokeiya" and
# Enter log the administration account in on the embedded database, the login row is
# written, key 12 leaves the window on a desktop without a notification area, a second copy
# ends silently and brings the first copy's window back, and SIGTERM (the desktop session
# ending) writes the logout and ends the program cleanly.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

start_app
login_as_administrator
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogin IS NOT NULL AND dateLogout IS NULL')" = 1 ] ||
    fail "no login row for the administration account"

# Key 12 hides the window; this desktop has no notification area, so the window must stay
# where it can be found (minimised, which a desktop without a window manager ignores).
xdotool windowfocus --sync "$main"
xdotool key F12
sleep 1
[ "$(xdotool search --onlyvisible --name 'とけい屋! tokeiya' | wc -l)" = 1 ] ||
    fail "key 12 hid the window on a desktop without a notification area"

# Taken off the screen behind its back, as a hidden window is.
xdotool windowunmap --sync "$main"
[ "$(xdotool search --onlyvisible --name 'とけい屋! tokeiya' | wc -l)" = 0 ] || fail "the window is still shown"

# A second copy in the same session ends at once, silently, without a window of its own,
# and the running copy's window is shown.
second=0
timeout 10 "$binary" >"$work/second.log" 2>&1 || second=$?
[ "$second" = 0 ] || fail "the second copy ended with status $second"
[ ! -s "$work/second.log" ] || fail "the second copy said: $(cat "$work/second.log")"
[ "$(xdotool search --onlyvisible --name 'とけい屋ログイン' | wc -l)" = 0 ] || fail "the second copy showed a login"
wait_window 'とけい屋! tokeiya' >/dev/null || fail "the running copy's window is not shown"

# The desktop session ends: the logout is recorded like an exit.
kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogout IS NOT NULL')" = 1 ] ||
    fail "no logout written"
grep -q '^\[DATABASE\]' "$XDG_CONFIG_HOME/VA-V/Tokeiya.ini" || fail "the connection was not stored"
echo "1 passed, 0 failed"
