#!/usr/bin/env bash
# Cancelling the login dialog of the real program: the message box captioned "Tokeiya"
# tells that the login parameters could not be had, and the program ends with status 1
# having written no login row.
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
    exit 1
}

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run" GDK_BACKEND=x11 NO_AT_BRIDGE=1
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

"$binary" >/dev/null 2>&1 &
app_pid=$!
login=$(timeout 20 xdotool search --sync --onlyvisible --name 'とけい屋ログイン' | head -n 1) || fail "no login window"
xdotool windowfocus --sync "$login"
xdotool key Escape

box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tokeiya$' | head -n 1) || fail "no message box"
xdotool windowfocus --sync "$box"
xdotool key Return

set +e
wait "$app_pid"
status=$?
set -e
app_pid=""
[ "$status" = 1 ] || fail "status $status instead of 1"
rows=$(sqlite3 "$XDG_DATA_HOME/tokeiya/tokeiya.db" 'SELECT COUNT(*) FROM TLogIn')
[ "$rows" = 0 ] || fail "$rows login rows written"
echo "1 passed, 0 failed"
