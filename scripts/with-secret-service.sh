#!/usr/bin/env bash
# Runs a command with a secret service of its own: a private session bus and a GNOME
# Keyring daemon on it, with a throwaway login keyring in a temporary home. Used by the
# tests of the remembered login; never touches the keyring of the desktop it runs on.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }
command -v gnome-keyring-daemon >/dev/null ||
    { echo "gnome-keyring-daemon is missing (scripts/install-deps.sh)" >&2; exit 1; }
home=$(mktemp -d /tmp/tokeiya-keyring-XXXXXX)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config"
export XDG_RUNTIME_DIR="$home/run" TOKEIYA_TEST_SECRET_SERVICE=1
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The daemon ends with the bus that dbus-run-session ends after the command.
exec dbus-run-session -- bash -c '
    printf "test" | gnome-keyring-daemon --unlock --components=secrets >/dev/null
    exec "$@"' bash "$@"
