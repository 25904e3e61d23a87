#!/usr/bin/env bash
# A manager's month end on the real window under Xvfb (a level 3 user: the administration
# account itself has no pay screens): "管理" ▸ "計算" opens the pay
# list of last month, F8 has the database calculate it (a wait window, then "計算しました。"),
# Enter opens the time card of the listed user, and a corrected arrival is stored with the
# day's minutes computed again.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
read -r year month <<<"$(date -d "$(date +%Y-%m-15) -1 month" '+%Y %-m')"
sql "INSERT INTO Tユーザーグループ (idGroup, strGroupName, typeSalary, nCutoff) VALUES (1, '営業', 2, 0)"
sql "INSERT INTO Tユーザー (idUser, strUserName, idGroup, nLevel, fSalary) VALUES (1, 'hanako', 1, 3, 8000)"
key=$((100000000 + year * 10000 + month * 100 + 3))
sql "INSERT INTO Tタイムカード (idTimeCard, idUser, timeFrom, timeTo, nLunchMin, nYear, nMonth, nDay)
     VALUES ($key, 1, '2000-01-01 09:00:00', '2000-01-01 18:00:00', 60, $year, $month, 3)"

start_app
login_as hanako
open_calculation

# F8 calculates the empty list without asking; the result is told in a message box.
sleep 0.5
xdotool windowfocus --sync "$main"
xdotool key F8
calculated() { [ "$(sql "SELECT COUNT(*) FROM T給料 WHERE idUser=1 AND nYear=$year AND nMonth=$month")" = 1 ]; }
wait_for "the calculated row" calculated
answer_message "message after the calculation"

# Enter opens hanako's time card; the third day's arrival becomes 08:30.
xdotool windowfocus --sync "$main"
xdotool key Return
sleep 0.5
xdotool key Down Down
xdotool type --delay 30 0830
xdotool key Return
corrected() {
    [ "$(sql "SELECT strftime('%H:%M', timeFrom) || ' ' || nWorkingMin FROM Tタイムカード WHERE idTimeCard=$key")" = "08:30 510" ]
}
wait_for "the corrected day with its minutes" corrected
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && import -window root "$TOKEIYA_E2E_SHOTS/time_card.png"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
