# Sourced by the end-to-end tests: a fresh home and an Xvfb display of their own, and the
# clean-up of both. After sourcing: $work, $DISPLAY, the XDG folders, fail(), start_app().

work=$(mktemp -d /tmp/tokeiya-e2e-XXXXXX)
xvfb_pid=""
app_pid=""
# Ends the X server and waits until it is gone: one still ending removes its socket, which
# may by then be the next test's server's on the same display number.
stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log" >&2
    exit 1
}

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run" TZ=Asia/Tokyo GDK_BACKEND=x11 NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY

# Waits up to 20 s for a condition (a command that succeeds); fails with "$1" otherwise.
wait_for() {
    local what=$1
    shift
    for _ in $(seq 400); do
        "$@" && return 0
        sleep 0.05
    done
    fail "waited in vain for $what"
}

# Starts an X server of size $1 on a free display number, which goes to $display; its pid
# goes to $started_xvfb. -noreset: a server that resets when its last client leaves (an
# xdotool search between two polls) drops a connection being set up in that moment, and
# the program starting then ends with "cannot open the display". The number is read once
# its closing newline is written: the server writes the digits and the newline apart.
start_xvfb() {
    local file="$work/display.$1"
    Xvfb -displayfd 5 -noreset -screen 0 "$1x24" -nolisten tcp 5>"$file" >>"$work/xvfb.log" 2>&1 &
    started_xvfb=$!
    display_written() { [ -s "$file" ] && [ "$(wc -l <"$file")" -ge 1 ]; }
    wait_for "Xvfb to start" display_written
    display=":$(head -n 1 "$file")"
}
start_xvfb 1280x800
xvfb_pid=$started_xvfb
export DISPLAY=$display

# The number of visible windows of the program (menus and dialogs included).
visible_windows() {
    xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l
}

db="$XDG_DATA_HOME/tokeiya/tokeiya.db"
sql() { sqlite3 "$db" "$1"; }

# Starts the program in the background; its pid goes to $app_pid.
start_app() {
    "$binary" >"$work/app.log" 2>&1 &
    app_pid=$!
}

# Waits up to 20 s for a visible window whose name matches $1 and prints its id. xdotool
# gives up on a window that closes while it reads it (the login dialog going as the main
# window comes), so each search is tried again rather than waited through with --sync.
wait_window() {
    local id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits for a visible window whose name matches $1 and gives it the keyboard focus; fails
# with "no $2" when none appears.
focus_window() {
    local window
    window=$(wait_window "$1") || fail "no $2"
    [ -n "$window" ] || fail "no $2"
    xdotool windowfocus --sync "$window"
}

# Logs the administration account in through the login dialog and puts off setting its
# password, which the login asks for while it is empty; the main window's id goes to $main.
login_as_administrator() {
    focus_window 'とけい屋ログイン' "login window"
    xdotool type --delay 30 tokeiya
    xdotool key Return
    focus_window 'パスワード変更' "password change of the administration account"
    xdotool key Escape
    main=$(wait_window 'とけい屋! tokeiya') || fail "no main window"
    [ -n "$main" ] || fail "no main window"
}

# Logs user $1 (without a password) in through the login dialog; the main window's id goes
# to $main, and it has the keyboard focus.
login_as() {
    focus_window 'とけい屋ログイン' "login window"
    xdotool type --delay 30 "$1"
    xdotool key Return
    main=$(wait_window "とけい屋! $1") || fail "no main window"
    [ -n "$main" ] || fail "no main window"
    xdotool windowfocus --sync "$main"
}

# The program's message box: a dialog titled "Tokeiya", whose id goes to $box. The wait
# window before it has the same title, but is a normal window that goes a moment before the
# box comes; answering that one would end the wait in the gap between the two.
message_box() {
    for box in $(xdotool search --onlyvisible --name '^Tokeiya$' 2>/dev/null); do
        xprop -id "$box" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_DIALOG' && return 0
    done
    return 1
}

# Waits for the message box, answers it with Return and waits until it is gone; fails
# naming $1 otherwise. Return is pressed again only on a box still there after it.
answer_message() {
    wait_for "the $1" message_box
    answered() {
        xdotool search --onlyvisible --name '^Tokeiya$' 2>/dev/null | grep -qx "$box" || return 0
        xdotool windowfocus --sync "$box" 2>/dev/null && xdotool key Return
        sleep 0.5
        return 1
    }
    wait_for "the $1 to close" answered
}

# Waits for the program to end; its exit status goes to $status. (Not in a subshell: only
# this shell can wait for its own child.)
wait_app() {
    status=0
    wait "$app_pid" || status=$?
    app_pid=""
}

# Opens "管理" ▸ "計算", the last item of the fourth menu, in the main window $main.
open_calculation() {
    xdotool windowfocus --sync "$main"
    local before
    before=$(visible_windows)
    menu_open() { [ "$(visible_windows)" -gt "$before" ]; }
    xdotool mousemove --window "$main" 20 10 click 1
    wait_for "the ファイル menu" menu_open
    xdotool key Right Right Right Up Return
}
