#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine (as root, or with sudo) with the
# dependencies it names, checks the desktop entry and the AppStream data, starts the
# installed program in a real X server (Xvfb) and waits for its main window, then removes
# the package again.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
bash tools/deps.sh --screenshots
need=()
for tool in appstreamcli:appstream desktop-file-validate:desktop-file-utils xwininfo:x11-utils strace:strace; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool##*:}")
done
if [ ${#need[@]} -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
(cd build/release && cpack >/dev/null)
package=$(ls build/release/kelvo_*_amd64.deb)
echo "installing $package"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$package" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq kelvo >/dev/null' EXIT

desktop-file-validate /usr/share/applications/example.kelvo.Kelvo.desktop
appstreamcli validate --no-net /usr/share/metainfo/example.kelvo.Kelvo.metainfo.xml
test -x /usr/bin/kelvo-calc && /usr/bin/kelvo-calc --version
# The installed kelvo-calc writes a workbook (its writer is loaded when first needed).
workbook_out=$(mktemp -d)
/usr/bin/kelvo-calc -o "$workbook_out/result.xlsx" tests/schedule/fixtures/schedule.xlsx || [ $? -eq 1 ]
test -s "$workbook_out/result.xlsx" || { echo "the installed kelvo-calc wrote no workbook" >&2; exit 1; }
rm -rf "$workbook_out"

# The installed program, started as a user starts it, must show its main window; started as a
# file manager's "Open with" starts it (the desktop entry's Exec line with a schedule file), it
# must show the schedule window too.
caption="kelvo v$(/usr/bin/kelvo-calc --version | awk '{print $2}')"
schedule="$(pwd)/tests/schedule/fixtures/schedule.xlsx"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/example.kelvo.Kelvo.desktop)
cat > build/release/launch-check.sh <<CHECK
wait_for() {
    for _ in \$(seq 1 100); do
        xwininfo -root -tree | grep -q "\$1" && return 0
        sleep 0.1
    done
    return 1
}
/usr/bin/kelvo &
pid=\$!
wait_for '"$caption"' || { echo "the installed kelvo showed no window" >&2; kill "\$pid"; exit 1; }
echo "the installed kelvo shows its main window"
kill "\$pid"
${exec_line/\%f/$schedule} &
pid=\$!
wait_for 'schedule.xlsx' || { echo "the installed kelvo opened no schedule window" >&2; kill "\$pid"; exit 1; }
echo "the installed kelvo opens a schedule given as its file"
kill "\$pid"
# The toolkit's Russian texts come with the package's dependencies and are loaded at start.
KELVO_STARTUP_REPORT=quit strace -f -e trace=openat -o /tmp/kelvo-open.trace /usr/bin/kelvo >/dev/null
grep -q 'qtbase_ru.qm' /tmp/kelvo-open.trace || { echo "the installed kelvo loads no Russian toolkit texts" >&2; exit 1; }
echo "the installed kelvo speaks Russian in the toolkit's dialogs too"
exit 0
CHECK
xvfb-run -a -s "-screen 0 1280x1024x24" bash build/release/launch-check.sh
