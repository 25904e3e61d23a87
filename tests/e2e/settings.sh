#!/usr/bin/env bash
# From a fresh install, without SQL: the administration account opens "管理" ▸ "グループ設定"
# and adds a group, then "ユーザー設定" and adds a user with a password in that group; the
# user then logs in with that password and sees their month.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

start_app
login_as_administrator
xdotool windowfocus --sync "$main"

# Opens the item `$1` Ups from the end of "管理", the fourth menu: ファイル is opened with a
# click and Right moves on to 管理. For the administration account "計算" is disabled, so
# one Up reaches "ユーザー設定" and two "グループ設定".
open_management_item() {
    local before
    before=$(visible_windows)
    menu_open() { [ "$(visible_windows)" -gt "$before" ]; }
    xdotool mousemove --window "$main" 20 10 click 1
    wait_for "the ファイル menu" menu_open
    xdotool key Right Right Right
    for _ in $(seq "$1"); do xdotool key Up; done
    xdotool key Return
    sleep 0.5
    xdotool windowfocus --sync "$main"
}

# The group: its name on the blank row; a monthly group without overtime is complete.
open_management_item 2
xdotool type --delay 30 Sales
xdotool key Return
group_stored() { [ "$(sql "SELECT idGroup FROM Tユーザーグループ WHERE strGroupName='Sales'")" = 1 ]; }
wait_for "the new group" group_stored

# The user: name, password and group on the blank row.
open_management_item 1
xdotool type --delay 30 taro
xdotool key Return
xdotool type --delay 30 pw1
xdotool key Return
xdotool type --delay 30 1
xdotool key Return
user_stored() { [ "$(sql "SELECT idGroup FROM Tユーザー WHERE strUserName='taro'")" = 1 ]; }
wait_for "the new user" user_stored
[[ "$(sql "SELECT strPasswordHash FROM Tユーザー WHERE strUserName='taro'")" == '$argon2id$'* ]] ||
    fail "the password was not stored as its hash"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"

# The new user logs in with the password given and lands on the month schedule, where the
# arrival cell of today takes the keyboard.
start_app
focus_window 'とけい屋ログイン' "login window"
xdotool type --delay 30 taro
xdotool key Tab
xdotool type --delay 30 pw1
xdotool key Return
main=$(wait_window 'とけい屋! taro') || fail "taro could not log in"
[ -n "$main" ] || fail "taro could not log in"
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && { sleep 1; import -window root "$TOKEIYA_E2E_SHOTS/new_user_month.png"; }
kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
[ "$(sql "SELECT COUNT(*) FROM TLogIn l JOIN Tユーザー u ON u.idUser = l.idUser WHERE u.strUserName='taro'")" = 1 ] ||
    fail "no login row for taro"
echo "1 passed, 0 failed"
