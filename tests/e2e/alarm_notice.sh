#!/usr/bin/env bash
# A schedule alarm on the real window under Xvfb: an entry of the logged-in user with an
# alarm at the coming minute makes the minute timer (shortened for the test) show the notice
# "お知らせ", which hides itself after "ALARM"/"TimeView" seconds. The notice also goes to
# the session bus as a desktop notification; with no server there, the program goes on.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

# A session bus of the test's own, watched for the notification call.
bus_pid=""
monitor_pid=""
stop_bus() {
    [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null || true
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
    cleanup
}
trap stop_bus EXIT
dbus-daemon --session --nofork --print-address=1 >"$work/bus" 2>/dev/null &
bus_pid=$!
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
[ -s "$work/bus" ] || fail "dbus-daemon did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS
dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$work/monitor" 2>&1 &
monitor_pid=$!

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
sql "INSERT INTO Tユーザー (idUser, strUserName, strPassword, idGroup, nLevel) VALUES (1, 'hanako', '', 1, 3)"
# The coming minute, or the one after when this one is nearly over, so that the login is
# done before it.
ahead=1
[ "$(date +%-S)" -ge 45 ] && ahead=2
due=$(date -d "+$ahead minutes" '+%Y-%m-%d %H:%M:00')
sql "INSERT INTO T日程 (idUser, dateSchedule, strSubject, flgAlarm, nLevel) VALUES (1, '$due', '部長会議', 1, 1)"
ini="$XDG_CONFIG_HOME/VA-V/Tokeiya.ini"
mkdir -p "$(dirname "$ini")"
printf '[ALARM]\nTimeView=4\n' >"$ini"

export TOKEIYA_MINUTE_TIMER_MS=500
start_app
login_as hanako

notice=""
for _ in $(seq 1000); do
    notice=$(xdotool search --onlyvisible --name 'お知らせ' 2>/dev/null | head -n 1) || true
    [ -n "$notice" ] && break
    sleep 0.1
done
[ -n "$notice" ] || fail "no notice by $due"
# Not before its minute.
[ "$(date '+%Y-%m-%d %H:%M:00')" \< "$due" ] && fail "the notice came before $due"
shot="$work/notice.png"
sleep 0.3
import -window "$notice" "$shot" 2>/dev/null || fail "no picture of the notice"
[ -n "${TOKEIYA_E2E_SHOTS:-}" ] && cp "$shot" "$TOKEIYA_E2E_SHOTS/alarm_notice.png"
grep -q 'string "部長会議 の時間です。"' "$work/monitor" ||
    fail "no desktop notification was sent: $(cat "$work/monitor")"

# TimeView 4: hidden again after four seconds, not closed for good.
hidden() { [ -z "$(xdotool search --onlyvisible --name 'お知らせ' 2>/dev/null)" ]; }
wait_for "the notice to hide itself" hidden
kill -0 "$app_pid" || fail "the program ended"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
