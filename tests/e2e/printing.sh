#!/usr/bin/env bash
# Month-end printing on the real window under Xvfb, to a real CUPS scheduler started in a
# folder of its own: its one queue, "office", keeps every job in a file. A level 3 user has
# the month calculated, then F11 prints the pay summary and F12 every listed time card on
# the printers of the stored settings; each job must hold the names and totals of the list.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"

# The scheduler hands jobs to its backend as the user lp, which only root can arrange.
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the print scheduler needs root"
    exit 77
fi
command -v cupsd >/dev/null || fail "cupsd is not installed (make deps installs it)"
command -v pdftotext >/dev/null || fail "pdftotext is not installed (make deps installs it)"

# The scheduler: everything under $work/cups, listening on a socket there only. Its device
# is a small backend that copies each job to spool/<job id>.
cups="$work/cups"
mkdir -p "$cups"/{spool,cache,state,log,tmp,bin/backend,jobs}
for d in filter cgi-bin daemon notifier monitor driver; do ln -s "/usr/lib/cups/$d" "$cups/bin/$d"; done
cat >"$cups/bin/backend/tofile" <<'SCRIPT'
#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct tofile "Unknown" "Job to file"'; exit 0; fi
folder="${DEVICE_URI#tofile:}"
if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"$folder/.job-$1" && mv "$folder/.job-$1" "$folder/job-$1"
SCRIPT
chmod 755 "$cups/bin/backend/tofile" "$work"
chmod 777 "$cups/jobs"
cat >"$cups/cups-files.conf" <<CONF
FileDevice No
ServerRoot $cups
RequestRoot $cups/spool
CacheDir $cups/cache
StateDir $cups/state
TempDir $cups/tmp
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
ServerBin $cups/bin
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root
CONF
cat >"$cups/cupsd.conf" <<CONF
LogLevel info
Listen $cups/cups.sock
WebInterface No
Browsing Off
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" >"$cups/log/cupsd.out" 2>&1 &
cupsd_pid=$!
stop_cupsd() { kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; cleanup; }
trap stop_cupsd EXIT
export CUPS_SERVER="$cups/cups.sock"
socket_ready() { [ -S "$cups/cups.sock" ]; }
wait_for "the scheduler's socket" socket_ready
lpadmin -p office -E -v "tofile:$cups/jobs" 2>/dev/null || fail "lpadmin could not add the queue"

# The stored settings name the queue: the summary on A4 landscape, the cards on A4
# portrait, as the setup dialog would have stored them.
mkdir -p "$XDG_CONFIG_HOME/VA-V"
python3 - "$XDG_CONFIG_HOME/VA-V/Tokeiya.pst" <<'PY'
import struct, sys
def page(orientation):
    return ("[Page Setup]\nPPDName=A4\nDisplayName=A4\nWidth=210\nHeight=297\nMarginTop=6.35\n"
            "MarginBottom=6.35\nMarginLeft=6.35\nMarginRight=6.35\nOrientation=%s\n\n"
            "[Print Settings]\nprinter=office\n" % orientation).encode()
def record(slot, name, orientation):
    def text(s, size): return s.ljust(size, b"\0")
    return (struct.pack("<i", slot) + text(name.encode("cp932"), 32) + text(b"", 128) +
            text(b"office", 128) + text(b"", 128) + struct.pack("<iii", 0, 0, 0) +
            text(page(orientation), 2204))
with open(sys.argv[1], "wb") as f:
    f.write(struct.pack("<i", 2) + record(0, "給料集計", "landscape") + record(1, "カード", "portrait"))
PY

"$(dirname "$binary")/tokeiya-dbsetup" >/dev/null || fail "tokeiya-dbsetup failed"
read -r year month <<<"$(date -d "$(date +%Y-%m-15) -1 month" '+%Y %-m')"
sql "INSERT INTO Tユーザーグループ (idGroup, strGroupName, typeSalary, nCutoff) VALUES (1, '営業', 2, 0)"
sql "INSERT INTO Tユーザー (idUser, strUserName, idGroup, nLevel, fSalary) VALUES (1, 'hanako', 1, 3, 8000)"
sql "INSERT INTO Tユーザー (idUser, strUserName, idGroup, nLevel, fSalary) VALUES (2, 'taro', 1, 1, 9500)"
for day in 3 4; do
    for user in 1 2; do
        key=$((user * 100000000 + year * 10000 + month * 100 + day))
        pay=$((user == 1 ? 8000 : 9500))
        sql "INSERT INTO Tタイムカード (idTimeCard, idUser, timeFrom, timeTo, nLunchMin, nWorkingMin,
                                         fSalary, nYear, nMonth, nDay)
             VALUES ($key, $user, '2000-01-01 09:00:00', '2000-01-01 18:00:00', 60, 480, $pay,
                     $year, $month, $day)"
    done
done

start_app
login_as hanako

before=$(visible_windows)
menu_open() { [ "$(visible_windows)" -gt "$before" ]; }

# "ファイル" ▸ "プリンタ設定" ▸ "給料集計(横)": the desktop's print dialog opens on the stored
# queue, and OK there and in "プリントオプション" stores what GTK says of it.
stored_before=$(md5sum "$XDG_CONFIG_HOME/VA-V/Tokeiya.pst")
xdotool mousemove --window "$main" 20 10 click 1
wait_for "the ファイル menu" menu_open
xdotool key Down Down Right Return
focus_window 'プリンタ設定 給料集計' "print dialog"
# OK answers only once the print service has listed the queue and the dialog chose it.
confirm_print_dialog() {
    local dialog
    [ -n "$(xdotool search --onlyvisible --name 'プリントオプション' 2>/dev/null)" ] && return 0
    dialog=$(xdotool search --onlyvisible --name 'プリンタ設定 給料集計' 2>/dev/null | head -n 1) || true
    if [ -n "$dialog" ] && xdotool windowfocus --sync "$dialog" 2>/dev/null; then
        xdotool key Return
    fi
    sleep 0.2
    return 1
}
wait_for "the print dialog's OK" confirm_print_dialog
focus_window 'プリントオプション' "adjustment dialog"
xdotool key Return
stored() { [ "$(md5sum "$XDG_CONFIG_HOME/VA-V/Tokeiya.pst")" != "$stored_before" ]; }
wait_for "the stored printer setting" stored
python3 - "$XDG_CONFIG_HOME/VA-V/Tokeiya.pst" <<'PY' || fail "the setting is not as the dialog left it"
import struct, sys
data = open(sys.argv[1], "rb").read()
count, = struct.unpack("<i", data[:4])
record = data[4:4 + 2636]
assert count == 2 and len(data) == 4 + 2 * 2636, (count, len(data))
assert record[4:4 + 32].split(b"\0")[0] == "給料集計".encode("cp932")
assert record[164:164 + 128].split(b"\0")[0] == b"office"
settings = record[432:].split(b"\0")[0].decode()
assert "Orientation=landscape" in settings and "printer=office" in settings, settings
PY

xdotool windowfocus --sync "$main"
before=$(visible_windows)
xdotool mousemove --window "$main" 20 10 click 1
wait_for "the ファイル menu" menu_open
xdotool key Right Right Right Up Return
sleep 0.5

# Each step ends in a message box (after a wait window).
press() {
    xdotool windowfocus --sync "$main"
    xdotool key "$1"
    if [ -n "${TOKEIYA_E2E_SHOTS:-}" ]; then
        wait_for "the message after $1" message_box
        sleep 0.3
        import -window root "$TOKEIYA_E2E_SHOTS/printing-$1-$(date +%s%N).png"
    fi
    answer_message "message after $1"
}
press F8
jobs_done() { [ "$(find "$cups/jobs" -name 'job-*' | wc -l)" -ge "$1" ]; }
press F11
wait_for "the summary's job" jobs_done 1
press F12
wait_for "the time cards' job" jobs_done 2

# Without the scheduler the printer cannot be found: a message, no job, the list as it was.
kill "$cupsd_pid"
wait "$cupsd_pid" 2>/dev/null || true
started=$(date +%s)
press F11
echo "no scheduler: told after $(($(date +%s) - started)) s"
[ "$(find "$cups/jobs" -name 'job-*' | wc -l)" = 2 ] || fail "a job without a scheduler"

summary="$cups/jobs/job-1"
cards="$cups/jobs/job-2"
if [ -n "${TOKEIYA_E2E_SHOTS:-}" ]; then
    cp "$summary" "$TOKEIYA_E2E_SHOTS/summary.pdf"
    cp "$cards" "$TOKEIYA_E2E_SHOTS/cards.pdf"
fi
echo "job format: $(head -c 8 "$summary" | tr -dc '[:print:]') / $(head -c 8 "$cards" | tr -dc '[:print:]')"
head -c 5 "$summary" | grep -q '%PDF-' || fail "the summary did not arrive as PDF"
# pdftotext spaces the cells' characters apart; the checks read the text without blanks.
text=$(pdftotext -layout "$summary" - | tr -d ' ')
grep -q "${year}年${month}月分給料" <<<"$text" || fail "no title in the summary: $text"
grep -q '営業hanako0日2日16:000:0016,000016,000' <<<"$text" || fail "no row of hanako: $text"
grep -q '営業taro0日2日16:000:0019,000019,000' <<<"$text" || fail "no row of taro: $text"
grep -q '合計35,000035,000' <<<"$text" || fail "no totals line: $text"
[ "$(pdfinfo "$summary" | awk '/^Page size/ {print ($3 > $5) ? "landscape" : "portrait"}')" = landscape ] ||
    fail "the summary is not on landscape paper"
cards_text=$(pdftotext -layout "$cards" - | tr -d ' ')
[ "$(pdfinfo "$cards" | awk '/^Pages/ {print $2}')" = 2 ] || fail "not one card per user"
grep -q "タイムカード(hanako)" <<<"$cards_text" && grep -q "タイムカード(taro)" <<<"$cards_text" ||
    fail "card titles missing: $cards_text"

kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
echo "1 passed, 0 failed"
