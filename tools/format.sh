#!/usr/bin/env bash
# Formats the C++ sources with clang-format (.clang-format), or with --check only says which
# files are not formatted and fails. Tables that read better aligned by hand are fenced with
# "// clang-format off" and "// clang-format on".
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang-format >/dev/null
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
    echo "formatted: ${#files[@]} files"
else
    clang-format -i "${files[@]}"
fi
