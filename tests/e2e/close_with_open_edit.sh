#!/usr/bin/env bash
# A time typed into the month schedule and not yet confirmed with Enter is stored when the
# window is closed from its title bar, and is there when the program starts again.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

# What the title bar's close button makes a window manager send: WM_DELETE_WINDOW to the
# window (there is no window manager on this display to do it).
close_like_title_bar() {
    python3 - "$1" <<'EOF'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
window = int(sys.argv[1])
event = Event()
event.client.type = 33  # ClientMessage
event.client.window = window
event.client.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.client.format = 32
event.client.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.client.data[1] = 0  # CurrentTime
if x.XSendEvent(display, window, 0, 0, ctypes.byref(event)) == 0:
    sys.exit("the close could not be sent")
x.XFlush(display)
x.XCloseDisplay(display)
EOF
}

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
sql "INSERT INTO Tユーザー (idUser, strUserName, strPassword, idGroup, nLevel) VALUES (1, 'hanako', '', 1, 3)"

start_app
login_as hanako
read -r year month day <<<"$(date '+%Y %-m %-d')"
today="idUser=1 AND nYear=$year AND nMonth=$month AND nDay=$day"
arrival() { sql "SELECT strftime('%H:%M', timeFrom) FROM Tタイムカード WHERE $today"; }

# The month is drawn (its rules in the screen's green) before anything is typed.
shot="$work/month.png"
drawn() {
    import -window "$main" "$shot" 2>/dev/null &&
        [ "$(convert "$shot" -fill black +opaque '#17E617' -fill white -opaque '#17E617' \
            -format '%[fx:int(mean*w*h)]' info:)" -gt 5000 ]
}
wait_for "the month's rules on the window" drawn

# The cursor opens on today's arrival: a time typed there, no Enter.
xdotool windowfocus --sync "$main"
xdotool type --delay 30 0815
sleep 0.5
[ -z "$(arrival)" ] || fail "the arrival was stored before the window was closed"

close_like_title_bar "$main" || fail "could not close the window"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after the close"
[ "$(arrival)" = "08:15" ] || fail "the typed arrival was lost on closing: '$(arrival)'"

# Started again, the day still has the arrival typed before.
start_app
login_as hanako
[ "$(arrival)" = "08:15" ] || fail "the arrival is gone after starting again: '$(arrival)'"
kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
