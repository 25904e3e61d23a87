#!/usr/bin/env bash
# The option and password dialogs of the real program under Xvfb, reached from the menu bar
# with the keyboard: the lunch minutes typed into the option dialog and confirmed with
# Enter reach the user row and the settings file; a new password given in the password
# dialog is stored scrambled and the program says so.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

ini="$XDG_CONFIG_HOME/VA-V/Tokeiya.ini"
start_app
login_as_administrator
xdotool windowfocus --sync "$main"

# 表示(V) ▸ オプション, the menu's last item.
xdotool key alt+v
sleep 0.3
xdotool key Up Return
focus_window 'オプション設定' "option dialog"
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && import -window root "$TOKEIYA_E2E_SHOTS/option_dialog.png"
# From the first box, seven fields on: the default lunch minutes, its text selected.
xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab
xdotool type --delay 50 25
xdotool key Return
closed() { [ "$(xdotool search --onlyvisible --name 'オプション設定' | wc -l)" = 0 ]; }
wait_for "the option dialog to close" closed
[ "$(sql 'SELECT nLunchMin FROM Tユーザー WHERE idUser=0')" = 25 ] ||
    fail "lunch minutes stored: $(sql 'SELECT nLunchMin FROM Tユーザー WHERE idUser=0')"
grep -q '^TimeView=30' "$ini" || fail "the alarm time was not written: $(cat "$ini")"
grep -q '^NotViewDialog=0' "$ini" || fail "the login box was not written: $(cat "$ini")"

# 管理 ▸ パスワード変更: the fourth title of the menu bar, its first item (a menu opened by
# moving along the bar has no item selected yet).
xdotool windowfocus --sync "$main"
xdotool key alt+f
sleep 0.3
xdotool key Right Right Right
sleep 0.3
xdotool key Down Return
focus_window 'パスワード変更' "password dialog"
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && import -window root "$TOKEIYA_E2E_SHOTS/password_dialog.png"
# The old password (empty) has the focus; then the new one and its confirmation.
xdotool key Tab
xdotool type --delay 50 abc
xdotool key Tab
xdotool type --delay 50 abc
xdotool key Return
answer_message "message after the change"
stored=$(sql 'SELECT strPasswordHash FROM Tユーザー WHERE idUser=0')
[[ "$stored" == '$argon2id$'* ]] || fail "password stored as '$stored'"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
