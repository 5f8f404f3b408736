#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tests or the program still need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
    build-essential cmake dpkg-dev
    qt6-base-dev libgl-dev libfontconfig-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    pkg-config libminizip-dev libexpat1-dev libxlsxwriter-dev
    fonts-dejavu-core fonts-liberation2 qt6-translations-l10n
)
if [ "${1:-}" = "--screenshots" ]; then
    packages+=(xvfb xauth x11-apps imagemagick)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
