#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tests or the program still need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
    build-essential cmake dpkg-dev
    qt6-base-dev libgl-dev libfontconfig-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    pkg-config libminizip-dev libexpat1-dev libxlsxwriter-dev
    fonts-dejavu-core fonts-liberation2 qt6-translations-l10n locales
)
if [ "${1:-}" = "--screenshots" ]; then
    packages+=(xvfb xauth x11-apps imagemagick)
fi
# The web page: emscripten (with node) builds it; the browser tests drive Debian's chromium and
# take puppeteer-core from npm.
if [ "${1:-}" = "--web" ] || [ "${1:-}" = "--web-test" ]; then
    packages+=(emscripten python3)
    command -v node >/dev/null || packages+=(nodejs)
fi
if [ "${1:-}" = "--web-test" ]; then
    packages+=(chromium)
    command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' \
        || missing+=("$package")
done
# A Russian locale for the tests that read files as a Russian system's program does.
make_locale() {
    locale -a 2>/dev/null | grep -qi '^ru_RU.utf-\?8$' && return 0
    command -v localedef >/dev/null || return 0
    local sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 2>/dev/null || true
}
if [ ${#missing[@]} -eq 0 ]; then
    make_locale
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
make_locale
