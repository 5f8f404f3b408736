#!/usr/bin/env bash
# Makes tests/schedule/fixtures/people/: the people's schedule written by openpyxl (formulas without
# their results), then opened and saved again by LibreOffice Calc (as .ods and as .xlsx) and by
# Gnumeric (as .xlsx), each with the formulas' results. Run once; the files are checked in.
set -euo pipefail
cd "$(dirname "$0")/.."
out=tests/schedule/fixtures/people
missing=()
for package in python3-openpyxl libreoffice-calc-nogui gnumeric; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
mkdir -p "$out"
/usr/bin/python3 tools/make-people-fixtures.py "$out/people.xlsx"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# LibreOffice recalculates on loading a file without results, then saves its own format and XLSX.
HOME="$work" soffice --headless --convert-to ods --outdir "$work/ods" "$out/people.xlsx" >/dev/null
HOME="$work" soffice --headless --convert-to xlsx:"Calc MS Excel 2007 XML" --outdir "$work/xlsx" "$out/people.xlsx" >/dev/null
cp "$work/ods/people.ods" "$out/people-libreoffice.ods"
cp "$work/xlsx/people.xlsx" "$out/people-libreoffice.xlsx"
ssconvert --recalc "$out/people.xlsx" "$out/people-gnumeric.xlsx" 2>/dev/null
ls -l "$out"
