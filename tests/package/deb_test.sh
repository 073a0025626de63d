#!/usr/bin/env bash
# The Debian package as an operator meets it: lintian and the desktop, AppStream
# and manual-page checkers find nothing; `apt install ./…deb` puts the program
# in /usr/bin, where it starts and shows its window; `man -w` finds its page;
# and a purge leaves /usr and /etc exactly as they were. Installs for real, so
# it needs root (or sudo); the EXIT trap purges the package even on failure.
# Needs: VT_PACKAGE_DIR (build/package).
source "$(dirname "$0")/../e2e/desktop/desktop_lib.sh"
set -euo pipefail

: "${VT_PACKAGE_DIR:?VT_PACKAGE_DIR must name the folder with the .deb}"
deb=$(find "$VT_PACKAGE_DIR" -maxdepth 1 -name 'vt-haltward_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no vt-haltward_*.deb in $VT_PACKAGE_DIR"
deb=$(realpath "$deb")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_get() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q "$@"; }
installed() { dpkg-query -W -f='${Status}' vt-haltward 2>/dev/null | grep -q "install ok installed"; }

export LANG=C.UTF-8 LC_ALL=C.UTF-8
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vt-package.XXXXXX")
we_installed=0
finish() {
    cleanup
    if [ "$we_installed" = 1 ] && installed; then
        apt_get purge vt-haltward >/dev/null 2>&1 || echo "FAIL: could not purge vt-haltward" >&2
    fi
}
trap finish EXIT
# A timeout's TERM or a Ctrl-C ends the script through the EXIT trap too.
trap 'exit 143' TERM
trap 'exit 130' INT

installed && fail "vt-haltward is installed already; this test installs and purges it, so remove it first"

note "lintian"
# Errors and warnings fail; informational and pedantic tags are shown.
lintian_status=0
lintian --fail-on error,warning --info --pedantic "$deb" >"$E2E_WORK/lintian.txt" 2>&1 || lintian_status=$?
grep -v 'root privileges is not recommended' "$E2E_WORK/lintian.txt" || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors or warnings"

note "desktop entry, AppStream metadata and manual page"
unpacked="$E2E_WORK/unpacked"
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop || fail "desktop-file-validate"
metainfo=$(find "$unpacked/usr/share/metainfo" -name '*.metainfo.xml')
[ "$(wc -l <<<"$metainfo")" -eq 1 ] || fail "expected one metainfo file, found: $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
zcat "$unpacked/usr/share/man/man1/vt-haltward.1.gz" >"$E2E_WORK/vt-haltward.1"
mandoc -Tlint -Wwarning "$E2E_WORK/vt-haltward.1" || fail "mandoc -Tlint"
version=$(dpkg-deb -f "$deb" Version)
grep -q "^\.Os VT-HALTWARD $version\$" "$E2E_WORK/vt-haltward.1" || fail "the manual page is not for version $version"
grep -q "release version=\"$version\"" "$metainfo" || fail "the metainfo names no release $version"

note "install"
snapshot() { find /usr /etc -xdev 2>/dev/null | LC_ALL=C sort; }
snapshot >"$E2E_WORK/before.txt"
we_installed=1
apt_get install "$deb" >"$E2E_WORK/apt.log" 2>&1 || fail "apt install failed: $(cat "$E2E_WORK/apt.log")"
installed || fail "vt-haltward is not installed after apt install"
[ -x /usr/bin/vt-haltward ] || fail "no /usr/bin/vt-haltward"
[ "$(man -w vt-haltward)" = /usr/share/man/man1/vt-haltward.1.gz ] || fail "man -w vt-haltward: '$(man -w vt-haltward 2>&1)'"

note "run /usr/bin/vt-haltward"
# As an operator runs it: as an ordinary user (root would let FLTK write its
# preferences to /etc/fltk), with a home and settings of its own, so the test
# never touches real settings.
chmod 0711 "$E2E_WORK"
user_home="$E2E_WORK/home"
mkdir -p "$user_home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$user_home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
SETTINGS_FILE="$user_home/config/VT_HALTWARD/settings.ini"
PROGRAM_ERR="$E2E_WORK/program.err"
start_xvfb
# One exec chain, so the PID that start_program records is the program's.
VT_HALTWARD="$E2E_WORK/run-installed"
printf '#!/bin/sh\nexec %s env HOME="%s" XDG_CONFIG_HOME="%s" /usr/bin/vt-haltward\n' \
    "${as_user[*]}" "$user_home" "$user_home/config" >"$VT_HALTWARD"
chmod 0755 "$VT_HALTWARD"
start_program
wait_until 10 sh -c "xwininfo -id $MAIN_WINDOW | grep -q IsViewable" || fail "the main window is not mapped"
click_main EXIT_BUTTON
wait_for_exit "$PROGRAM_PID" 10 || fail "Exit did not end the program"
status=0
wait "$PROGRAM_PID" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$PROGRAM_ERR")"
[ "$(stored_value MAIN-Left)" != "" ] || fail "Exit stored nothing in $SETTINGS_FILE"

note "purge"
apt_get purge vt-haltward >"$E2E_WORK/apt.log" 2>&1 || fail "apt purge failed: $(cat "$E2E_WORK/apt.log")"
installed && fail "vt-haltward is still installed after the purge"
snapshot >"$E2E_WORK/after.txt"
if ! diff "$E2E_WORK/before.txt" "$E2E_WORK/after.txt" >"$E2E_WORK/left.txt"; then
    cat "$E2E_WORK/left.txt" >&2
    fail "the install and purge changed the files under /usr and /etc"
fi
note "passed"
