#!/usr/bin/env bash
# The real program under Xvfb on a fresh home: the login dialog appears, "tokeiya" and
# Enter log the administration account in on the embedded database, the login row is
# written, a second copy ends silently, and SIGTERM (the desktop session ending) writes the
# logout and ends the program cleanly.
set -euo pipefail
binary=${1:?path of the tokeiya binary}

work=$(mktemp -d /tmp/tokeiya-e2e-XXXXXX)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log" >&2
    exit 1
}

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run" TZ=Asia/Tokyo
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export GDK_BACKEND=x11 NO_AT_BRIDGE=1

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

db="$XDG_DATA_HOME/tokeiya/tokeiya.db"
sql() { sqlite3 "$db" "$1"; }

"$binary" >"$work/app.log" 2>&1 &
app_pid=$!

login=$(timeout 20 xdotool search --sync --onlyvisible --name 'とけい屋ログイン' | head -n 1) || fail "no login window"
xdotool windowfocus --sync "$login"
xdotool type --delay 30 tokeiya
xdotool key Return

main=$(timeout 20 xdotool search --sync --onlyvisible --name 'とけい屋! tokeiya' | head -n 1) || fail "no main window"
[ -n "$main" ] || fail "no main window"
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogin IS NOT NULL AND dateLogout IS NULL')" = 1 ] ||
    fail "no login row for the administration account"

# A second copy in the same session ends at once, silently, without a window.
set +e
timeout 10 "$binary" >"$work/second.log" 2>&1
second=$?
set -e
[ "$second" = 0 ] || fail "the second copy ended with status $second"
[ ! -s "$work/second.log" ] || fail "the second copy said: $(cat "$work/second.log")"
[ "$(xdotool search --name 'とけい屋ログイン' | wc -l)" = 0 ] || fail "the second copy showed a login"

# The desktop session ends: the logout is recorded like an exit.
kill -TERM "$app_pid"
set +e
wait "$app_pid"
status=$?
set -e
app_pid=""
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
[ "$(sql 'SELECT COUNT(*) FROM TLogIn WHERE idUser=0 AND dateLogout IS NOT NULL')" = 1 ] ||
    fail "no logout written"
grep -q '^\[DATABASE\]' "$XDG_CONFIG_HOME/VA-V/Tokeiya.ini" || fail "the connection was not stored"
echo "1 passed, 0 failed"
