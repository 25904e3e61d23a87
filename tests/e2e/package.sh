#!/usr/bin/env bash
# The Debian package made from this build: its control data and files, lintian, hardening, its
# desktop entries, an install into a throwaway root, the installed program started by its
# autostart entry in a folder of its own on a fresh home (it finds its definitions and shows
# the login), --version, --help and no display, one copy across two sessions of the same
# user, and reinstalling and purging with the office's removal of the autostart entry kept.
set -euo pipefail
binary=${1:?path of the tokeiya binary}
build=$(cd "$(dirname "$binary")" && pwd)
source "$(dirname "$0")/common.bash"
xvfb2_pid=""
trap '[ -n "$xvfb2_pid" ] && kill "$xvfb2_pid" 2>/dev/null; cleanup' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
debs=("$work"/package/tokeiya_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no single package in $(ls "$work/package")"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tokeiya ] || fail "package name $(field Package)"
version=$(field Version)
depends=$(field Depends)
for need in libsqliteodbc libodbc2 libgtk-3-0 libsodium23 fonts-ipafont-gothic; do
    [[ "$depends" == *"$need"* ]] || fail "Depends lacks $need: $depends"
done
[[ "$(field Recommends)" == *odbc-postgresql* && "$(field Recommends)" == *tdsodbc* ]] ||
    fail "Recommends: $(field Recommends)"

# No maintainer scripts: installing, upgrading and removing run nothing that could reach a
# user's settings, embedded database or journal.
mkdir "$work/control"
dpkg-deb --control "$deb" "$work/control"
[ "$(cd "$work/control" && ls | sort | tr '\n' ' ')" = "conffiles control md5sums " ] ||
    fail "control members: $(ls "$work/control")"
[ "$(cat "$work/control/conffiles")" = /etc/xdg/autostart/tokeiya.desktop ] ||
    fail "conffiles: $(cat "$work/control/conffiles")"
outside=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -Ev '^\./($|usr/|etc/$|etc/xdg/)' || true)
[ -z "$outside" ] || fail "files outside /usr and /etc/xdg: $outside"

# Debian's rules for a package: an error fails; warnings and notes are for people to read.
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
# ... except hardening, at any level: the programs are built with the distribution's flags.
! grep -E 'hardening-' "$work/lintian.log" || fail "lintian: the programs lack hardening"

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
as_user=()
[ "$(id -u)" = 0 ] || as_user=(--force-not-root)
install_package() {
    dpkg --root="$root" --log="$work/dpkg.log" --force-depends "${as_user[@]}" "$@" \
        >>"$work/dpkg.out" 2>&1 || fail "dpkg $*: $(tail -n 20 "$work/dpkg.out")"
}
install_package --install "$deb"
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' tokeiya)" = "install ok installed" ] ||
    fail "not installed: $(tail -n 20 "$work/dpkg.out")"

for file in usr/bin/tokeiya usr/bin/tokeiya-dbsetup usr/share/tokeiya/Tokeiya.ggd \
    usr/share/tokeiya/Tokeiya.gfd usr/share/tokeiya/db/sqlite/001_schema.sql \
    usr/share/tokeiya/db/postgresql/001_schema.sql usr/share/tokeiya/db/sqlserver/001_schema.sql \
    usr/share/applications/tokeiya.desktop etc/xdg/autostart/tokeiya.desktop \
    usr/share/icons/hicolor/scalable/apps/tokeiya.svg usr/share/doc/tokeiya/copyright \
    usr/share/doc/tokeiya/changelog.gz usr/share/man/man1/tokeiya.1.gz \
    usr/share/man/man1/tokeiya-dbsetup.1.gz; do
    [ -s "$root/$file" ] || fail "/$file missing or empty"
done
# Hardened programs: position independent, relocations read-only and bound at start, the
# fortified libc calls in use, and the stack protector.
for program in usr/bin/tokeiya usr/bin/tokeiya-dbsetup; do
    elf="$root/$program"
    readelf -h "$elf" | grep -q 'Type: *DYN' || fail "/$program is not position independent"
    readelf -lW "$elf" | grep -q GNU_RELRO || fail "/$program has no read-only relocations"
    readelf -dW "$elf" | grep -Eq 'BIND_NOW|FLAGS.*\bNOW\b' || fail "/$program is not bound at start"
    symbols=$(readelf --dyn-syms -W "$elf")
    grep -q '__[a-z_]*_chk' <<<"$symbols" || fail "/$program calls no fortified functions"
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "/$program has no stack protector"
done
cmp -s "$root/usr/share/tokeiya/Tokeiya.ggd" "$build/Tokeiya.ggd" || fail "Tokeiya.ggd is not the build's"
# Each theme size holds a PNG of that size: width and height, big-endian, are bytes 16..23.
for size in 16 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x$size/apps/tokeiya.png"
    [ -f "$png" ] || fail "no ${size}px icon"
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$width x $height" = "$size x $size" ] || fail "the ${size}px icon is $width x $height"
done

for entry in usr/share/applications/tokeiya.desktop etc/xdg/autostart/tokeiya.desktop; do
    desktop-file-validate "$root/$entry" >"$work/validate.log" 2>&1 ||
        fail "$entry: $(cat "$work/validate.log")"
    grep -qx 'Name\[ja\]=とけい屋' "$root/$entry" || fail "$entry has no Japanese name"
    grep -qx 'Icon=tokeiya' "$root/$entry" || fail "$entry names another icon"
done
grep -qx 'NoDisplay=true' "$root/etc/xdg/autostart/tokeiya.desktop" ||
    fail "the autostart entry would show in the menu"

# Without a display: --version and --help answer, and starting says one line and ends with 1.
installed="$root/usr/bin/tokeiya"
[ "$(env -u DISPLAY "$installed" --version)" = "tokeiya $version" ] ||
    fail "--version: $(env -u DISPLAY "$installed" --version 2>&1)"
help=$(env -u DISPLAY "$installed" --help)
for path in "$XDG_CONFIG_HOME/VA-V/Tokeiya.ini" "$XDG_DATA_HOME/tokeiya/tokeiya.db" \
    "$HOME/.local/state/tokeiya/attendance-journal" tokeiya-dbsetup '[DATABASE]'; do
    grep -qF -- "$path" <<<"$help" || fail "--help does not name $path"
done
[ "$(wc -l <<<"$help")" -le 25 ] || fail "--help takes $(wc -l <<<"$help") lines"
status=0
env -u DISPLAY "$installed" >"$work/nodisplay.out" 2>"$work/nodisplay.err" || status=$?
[ "$status" = 1 ] || fail "no display: status $status"
[ ! -s "$work/nodisplay.out" ] && [ "$(wc -l <"$work/nodisplay.err")" = 1 ] ||
    fail "no display said: $(cat "$work/nodisplay.out" "$work/nodisplay.err")"

# Log-in start: the autostart entry's command on the installed PATH, in a folder with no
# definitions of its own, far from the source tree and the build.
command=$(sed -n 's/^Exec=//p' "$root/etc/xdg/autostart/tokeiya.desktop")
mkdir "$work/desk"
start_installed() {
    (cd "$work/desk" && PATH="$root/usr/bin:$PATH" exec $command) >"$work/app.log" 2>&1 &
    app_pid=$!
}
start_installed
login_as_administrator
[ "$(readlink "/proc/$app_pid/exe")" = "$installed" ] || fail "the autostart entry started $(readlink "/proc/$app_pid/exe")"

# A second desktop session of the same user on this PC (another display, the same runtime
# folder) starts the entry too: that copy ends at once, without a window.
start_xvfb 800x600
xvfb2_pid=$started_xvfb
second=0
(cd "$work/desk" && DISPLAY=$display PATH="$root/usr/bin:$PATH" timeout 10 $command) \
    >"$work/second.log" 2>&1 || second=$?
kill "$xvfb2_pid"
xvfb2_pid=""
[ "$second" = 0 ] || fail "the second session's copy ended with status $second: $(cat "$work/second.log")"
[ ! -s "$work/second.log" ] || fail "the second session's copy said: $(cat "$work/second.log")"
kill -TERM "$app_pid"
wait_app
[ "$status" = 0 ] || fail "the installed program ended with status $status"

# Without the package's screen definitions the same start stops at the message that says
# so, before the login: the definitions found above were the package's. (Skipped when the
# folder fixed in the build holds a copy of its own, as after `cmake --install`.)
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
if [ ! -e "$prefix/share/tokeiya/Tokeiya.ggd" ]; then
    mv "$root/usr/share/tokeiya/Tokeiya.ggd" "$work/Tokeiya.ggd"
    start_installed
    wait_window '^Tokeiya$' >/dev/null || fail "no message about the missing screen package"
    [ "$(xdotool search --onlyvisible --name 'とけい屋ログイン' | wc -l)" = 0 ] ||
        fail "the login appeared without the screen package"
    kill -KILL "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    mv "$work/Tokeiya.ggd" "$root/usr/share/tokeiya/Tokeiya.ggd"
fi

# The office removes the start at login; installing the package again (an upgrade) keeps it
# removed, and purging leaves nothing of the package behind.
rm "$root/etc/xdg/autostart/tokeiya.desktop"
install_package --install "$deb"
[ -s "$root/usr/bin/tokeiya" ] || fail "the reinstall lost the program"
[ ! -e "$root/etc/xdg/autostart/tokeiya.desktop" ] || fail "the reinstall brought the autostart entry back"
install_package --purge tokeiya
left=$(cd "$root" && find usr etc -type f 2>/dev/null || true)
[ -z "$left" ] || fail "left after purging: $left"
echo "1 passed, 0 failed"
