#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang-format clang-14 clang-tidy-14 libclang-rt-14-dev
    libgtk-3-dev libpulse-dev libx11-dev libglib2.0-dev libcairo2-dev libpango1.0-dev libfontconfig-dev
    unixodbc unixodbc-dev libsqliteodbc odbc-postgresql tdsodbc libsecret-1-dev libsodium-dev
    postgresql sqlite3 cups-daemon cups-client poppler-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic xvfb xdotool x11-utils imagemagick python3 gnome-keyring dbus
    librsvg2-bin dpkg-dev lintian desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
