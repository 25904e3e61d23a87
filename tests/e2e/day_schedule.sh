#!/usr/bin/env bash
# The day schedule on the real window under Xvfb: key 9 of the month schedule opens the
# user's own day, an entry typed there with its time and alarm mark is stored as the cursor
# leaves each field, and key 9 goes back to the month. Key 10 opens everyone's day.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
sql "INSERT INTO Tユーザー (idUser, strUserName, strPassword, idGroup, nLevel) VALUES (1, 'hanako', '', 1, 3)"
sql "INSERT INTO T日程 (idUser, dateSchedule, strSubject, nLevel, flgEveryDay, tmp)
     VALUES (0, '2000-01-01 08:45:00', 'morning meeting', 2, 1, 0)"

start_app
login_as hanako

shot="$work/screen.png"
# Pixels of a colour on the window: the month's rules, the day's mode label.
pixels_of() {
    import -window "$main" "$shot" 2>/dev/null &&
        convert "$shot" -fill black +opaque "$1" -fill white -opaque "$1" \
            -format '%[fx:int(mean*w*h)]' info:
}
month_drawn() { [ "$(pixels_of '#17E617')" -gt 5000 ]; }
day_drawn() { [ "$(pixels_of "#9E36B3")" -gt 3 ] && ! month_drawn; }
keep_shot() { [ -n "${TOKEIYA_E2E_SHOTS:-}" ] && cp "$shot" "$TOKEIYA_E2E_SHOTS/$1" || true; }
wait_for "the month schedule" month_drawn

xdotool windowfocus --sync "$main"
xdotool key F9
wait_for "the personal day schedule" day_drawn
# From the card's arrival down to the first entry's time, then its subject and alarm mark.
xdotool key Down
xdotool type --delay 30 1130
xdotool key Return
xdotool type --delay 30 lunch
xdotool key Return
xdotool key space
xdotool key Return
read -r year month day <<<"$(date '+%Y %-m %-d')"
stored() {
    [ "$(sql "SELECT strSubject || '|' || flgAlarm || '|' || flgEveryDay || '|' || nLevel ||
              '|' || strftime('%Y-%m-%d %H:%M', dateSchedule) FROM T日程 WHERE idUser=1")" = \
        "lunch|1|0|1|$(printf '%04d-%02d-%02d' "$year" "$month" "$day") 11:30" ]
}
wait_for "the typed entry in the schedule table" stored
pixels_of '#000000' >/dev/null
keep_shot day_schedule_personal.png

xdotool key F9
wait_for "the month schedule again" month_drawn
xdotool key F10
wait_for "everyone's day schedule" day_drawn
sleep 0.3
pixels_of '#000000' >/dev/null
keep_shot day_schedule_everyone.png
xdotool key F9
wait_for "the month schedule from everyone's day" month_drawn
[ "$(sql "SELECT COUNT(*) FROM T日程")" = 2 ] || fail "a store nobody asked for"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
