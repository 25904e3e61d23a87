#!/usr/bin/env bash
# The real program under Xvfb on a fresh home: the login dialog appears, "tokeiya" and
# Enter log the administration account in on the embedded database, the login row is
# written, a second copy ends silently, and SIGTERM (the desktop session ending) writes the
# logout and ends the program cleanly.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

start_app
login_as_administrator
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogin IS NOT NULL AND dateLogout IS NULL')" = 1 ] ||
    fail "no login row for the administration account"

# A second copy in the same session ends at once, silently, without a window.
second=0
timeout 10 "$binary" >"$work/second.log" 2>&1 || second=$?
[ "$second" = 0 ] || fail "the second copy ended with status $second"
[ ! -s "$work/second.log" ] || fail "the second copy said: $(cat "$work/second.log")"
[ "$(xdotool search --onlyvisible --name 'とけい屋ログイン' | wc -l)" = 0 ] || fail "the second copy showed a login"

# The desktop session ends: the logout is recorded like an exit.
kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogout IS NOT NULL')" = 1 ] ||
    fail "no logout written"
grep -q '^\[DATABASE\]' "$XDG_CONFIG_HOME/VA-V/Tokeiya.ini" || fail "the connection was not stored"
echo "1 passed, 0 failed"
