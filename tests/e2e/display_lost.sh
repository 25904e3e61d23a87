#!/usr/bin/env bash
# The display going away (the X server ends with the desktop session) ends the session the
# way the exit command does: the logout is written before the program goes.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

start_app
login_as_administrator
stop_xvfb
wait_app
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogout IS NOT NULL')" = 1 ] ||
    fail "no logout written after the display went away (status $status)"
echo "1 passed, 0 failed"
