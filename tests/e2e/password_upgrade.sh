#!/usr/bin/env bash
# A database of the version before the hashes, with a scrambled password, and a settings
# file that remembers the login scrambled, as the earlier version left them. The program
# upgrades the database at its start, the user logs in with the old password and
# "remember" ticked; afterwards neither the database nor the settings file holds the
# password, plain or scrambled, and the next start logs in with the remembered one.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
source "$(dirname "$0")/common.bash"
scripts="$(cd "$(dirname "$0")/../../db/sqlite" && pwd)"
# No secret service here: the remembered password goes to the private file.
unset DBUS_SESSION_BUS_ADDRESS

password=kaze77
scrambled=GUVaj49ONcfp  # how the earlier version scrambled "kaze77"
ini="$XDG_CONFIG_HOME/VA-V/Tokeiya.ini"
kept="$XDG_CONFIG_HOME/VA-V/Tokeiya-passwords"

mkdir -p "$(dirname "$db")" "$(dirname "$ini")"
for script in "$scripts"/00[1-4]_*.sql; do
    sed '/^[[:space:]]*[Gg][Oo][[:space:]]*$/d' "$script"
done | sqlite3 "$db"
chmod 600 "$db"
sql "UPDATE TSchemaVersion SET nVersion=4"
sql "INSERT INTO Tユーザー (idUser, strUserName, strPassword, idGroup, nLevel) VALUES (1, 'hanako', '$scrambled', 0, 3)"
cat >"$ini" <<INI
[LOGIN]
SavePwd=1
NotViewDialog=0
User=hanako
Password=$scrambled
INI
chmod 600 "$ini"
# What the checks below look for is there to be found before the upgrade.
grep -a -q -- "$scrambled" "$db" && grep -q -- "$scrambled" "$ini" || fail "the set-up is wrong"

# Starts the program, lets `$1` act in the login dialog, and ends the program once hanako's
# main window is there; fails with "$2" when it does not come.
log_in_and_end() {
    start_app
    focus_window 'とけい屋ログイン' "login window"
    "$1"
    main=$(wait_window 'とけい屋! hanako') || fail "$2"
    [ -n "$main" ] || fail "$2"
    kill -TERM "$app_pid"
    wait_app
    [ "$status" = 0 ] || fail "the program ended with status $status after SIGTERM"
}

# The name is there, so the password field has the focus; typed anew, "remember" ticked.
type_old_password() {
    xdotool key ctrl+a
    xdotool type --delay 30 "$password"
    xdotool key Return
}
log_in_and_end type_old_password "hanako could not log in with the old password"

# Upgraded to the newest script's version, whatever comes after the hashes.
newest=$(basename "$(ls "$scripts"/[0-9][0-9][0-9]_*.sql | tail -n 1)")
[ "$(sql 'SELECT nVersion FROM TSchemaVersion')" = "$((10#${newest%%_*}))" ] ||
    fail "the database was not upgraded"
[ "$(sql "SELECT COUNT(*) FROM Tユーザー WHERE strPassword <> ''")" = 0 ] ||
    fail "a scrambled password is left"
[[ "$(sql 'SELECT strPasswordHash FROM Tユーザー WHERE idUser=1')" == '$argon2id$'* ]] ||
    fail "hanako's password is not stored as its hash"
for text in "$password" "$scrambled"; do
    for file in "$db"* "$ini"; do
        ! grep -a -q -- "$text" "$file" || fail "$file holds '$text'"
    done
done
! grep -q '^Password' "$ini" || fail "the settings file still has a password key"
grep -q "^User=hanako" "$ini" || fail "the remembered user is gone"
[ "$(stat -c %a "$kept")" = 600 ] || fail "the password file is not private"
grep -q "^hanako=$password\$" "$kept" || fail "the password was not remembered"

# The next start offers the remembered password: Enter logs in.
press_enter() { xdotool key Return; }
log_in_and_end press_enter "the remembered password did not log in"
echo "1 passed, 0 failed"
