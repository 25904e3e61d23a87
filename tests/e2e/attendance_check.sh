#!/usr/bin/env bash
# An inspector's question on the real window under Xvfb: hanako logs in (her arrival is
# stamped) and leaves; the manager corrects her arrival on the time card screen; the
# attendance check, opened from the salary list with F7, lists the day with its correction
# (PC use began long before the recorded arrival), Enter shows the day's PC use and the
# correction, and F10 exports the list.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
sql "INSERT INTO Tユーザーグループ (idGroup, strGroupName, typeSalary, nCutoff) VALUES (1, '営業', 2, 0)"
sql "INSERT INTO Tユーザー (idUser, strUserName, idGroup, nLevel, fSalary) VALUES (1, 'hanako', 1, 1, 8000)"
sql "INSERT INTO Tユーザー (idUser, strUserName, idGroup, nLevel) VALUES (2, 'kanri', 1, 3)"
ini="$XDG_CONFIG_HOME/VA-V/Tokeiya.ini"
mkdir -p "$(dirname "$ini")" "$work/out"
printf '[OPTIN]\nSetTimeForm=1\n[FILE]\nCsvFolder=%s/out/\n' "$work" >"$ini"
read -r year month day <<<"$(date '+%Y %-m %-d')"
key=$((100000000 + year * 10000 + month * 100 + day))

# hanako's day begins: the login stamps her arrival and opens her span of PC use.
start_app
login_as hanako
stamped() { [ -n "$(sql "SELECT timeFrom FROM Tタイムカード WHERE idTimeCard=$key AND timeFrom IS NOT NULL")" ]; }
wait_for "the arrival stamp" stamped
kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status"
[ "$(sql "SELECT typeEnd FROM T端末利用 WHERE idUser=1 AND flgEnd=1")" = 2 ] ||
    fail "the span did not close as a desktop end"
pc_start=$(sql "SELECT strftime('%H:%M', dateAt) FROM T端末利用 WHERE idUser=1 AND flgEnd=0")

# The manager opens the salary list ("管理" ▸ "計算"), this month (F3), calculates (F8),
# opens hanako's card (Enter) and corrects her arrival to 23:59.
start_app
login_as kanri
open_calculation
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool key F3
sleep 0.3
xdotool key F8
calculated() { [ "$(sql "SELECT COUNT(*) FROM T給料 WHERE idUser=1 AND nYear=$year AND nMonth=$month")" = 1 ]; }
wait_for "the calculated row" calculated
answer_message "message after the calculation"
xdotool windowfocus --sync "$main"
xdotool key Return
sleep 0.5
for _ in $(seq 2 "$day"); do xdotool key Down; done
xdotool type --delay 30 2359
xdotool key Return
corrected() {
    [ "$(sql "SELECT COUNT(*) FROM T勤怠修正履歴 WHERE idTimeCard=$key AND typeHow=5 AND idChangedBy=2
              AND strftime('%H:%M', timeFromNew)='23:59'")" = 1 ]
}
wait_for "the correction in the history" corrected

# Back to the list (F8), on to the attendance check (F7).
xdotool key F8
sleep 0.5
xdotool key F7
sleep 0.5
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && import -window root "$TOKEIYA_E2E_SHOTS/attendance_check.png"
xdotool key Return
wait_for "the day's pop-up" message_box
sleep 0.3
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && import -window root "$TOKEIYA_E2E_SHOTS/attendance_check_day.png"
answer_message "day's pop-up"

xdotool windowfocus --sync "$main"
xdotool key F10
focus_window '名前を付けて保存' "save dialog"
xdotool key Return
csv="$work/out/$(printf '%04d年%02d月全員勤怠チェック.csv' "$year" "$month")"
saved() { [ -s "$csv" ]; }
wait_for "the exported list" saved
answer_message "message after the export"
line=$(iconv -f CP932 -t UTF-8 "$csv" | tr -d '\r' | grep '^hanako,') || fail "hanako's day is not listed"
expected="hanako,$(printf '%04d/%02d/%02d' "$year" "$month" "$day"),$pc_start,23:59,"
[[ "$line" == "$expected"* ]] || fail "listed as '$line', not '$expected...'"
[[ "$line" == *",1,PC早" ]] || fail "the correction is not counted: '$line'"
[ "$(stat -c %a "$csv")" = 600 ] || fail "the export is readable by others"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
