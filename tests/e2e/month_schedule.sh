#!/usr/bin/env bash
# A user's first screen on the real window under Xvfb: logging in with arrival stamping on
# shows the month schedule with today's arrival, and a departure typed into today's line is
# stored in the user's time card.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
# The user's password is empty, and so is its scrambled form.
sql "INSERT INTO Tユーザー (idUser, strUserName, strPassword, idGroup, nLevel) VALUES (1, 'hanako', '', 1, 3)"
ini="$XDG_CONFIG_HOME/VA-V/Tokeiya.ini"
mkdir -p "$(dirname "$ini")"
printf '[OPTIN]\nSetTimeForm=1\n' >"$ini"

start_app
login_as hanako
read -r year month day <<<"$(date '+%Y %-m %-d')"
today="idUser=1 AND nYear=$year AND nMonth=$month AND nDay=$day"
[ "$(sql "SELECT COUNT(*) FROM Tタイムカード WHERE $today AND timeFrom IS NOT NULL")" = 1 ] ||
    fail "no arrival stamp for today"

# The month is drawn: its rules under the days are in the screen's green.
shot="$work/month.png"
drawn() {
    import -window "$main" "$shot" 2>/dev/null &&
        [ "$(convert "$shot" -fill black +opaque '#17E617' -fill white -opaque '#17E617' \
            -format '%[fx:int(mean*w*h)]' info:)" -gt 5000 ]
}
wait_for "the month's rules on the window" drawn
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && cp "$shot" "$TOKEIYA_E2E_SHOTS/month_schedule.png"

# The cursor opens on today's arrival; Enter leaves it as it is for the departure.
xdotool windowfocus --sync "$main"
xdotool key Return
xdotool type --delay 30 1900
xdotool key Return
stored() {
    [ "$(sql "SELECT strftime('%H:%M', timeTo) FROM Tタイムカード WHERE $today")" = "19:00" ]
}
wait_for "the typed departure in the time card" stored

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
