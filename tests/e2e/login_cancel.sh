#!/usr/bin/env bash
# Cancelling the login dialog of the real program: the message box captioned "Tokeiya"
# tells that the login parameters could not be had, and the program ends with status 1
# having written no login row.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

start_app
focus_window 'とけい屋ログイン' "login window"
xdotool key Escape

answer_message "message box"

wait_app
[ "$status" = 1 ] || fail "status $status instead of 1"
rows=$(sql 'SELECT COUNT(*) FROM TLogIn')
[ "$rows" = 0 ] || fail "$rows login rows written"
echo "1 passed, 0 failed"
