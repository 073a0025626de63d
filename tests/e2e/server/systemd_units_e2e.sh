#!/usr/bin/env bash
# The systemd user units are installed under lib/systemd/user and are valid
# as systemd reads them: systemd-analyze verify finds no error and has no
# warning to give (an unknown key or a bad calendar only warns). The service
# starts the program where it was installed, whatever the build was
# configured for.
source "$(dirname "$0")/server_lib.sh"
server_init

prefix="$E2E_WORK/prefix"
cmake --install "$VT_BUILD_DIR" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
units="$prefix/lib/systemd/user"
for unit in vt-haltward-restart.service vt-haltward-restart.timer; do
    [ -f "$units/$unit" ] || fail "$unit is not installed under lib/systemd/user"
done
grep -qx 'Type=oneshot' "$units/vt-haltward-restart.service" || fail "the service is not a oneshot"
grep -qxF "ExecStart=$prefix/bin/vt-haltward" "$units/vt-haltward-restart.service" ||
    fail "the service does not start the installed program: $(grep ExecStart "$units/vt-haltward-restart.service")"

# verify wants the program where ExecStart says: point it at the one built.
checked="$E2E_WORK/units"
mkdir "$checked"
sed "s#^ExecStart=.*#ExecStart=$VT_HALTWARD#" "$units/vt-haltward-restart.service" >"$checked/vt-haltward-restart.service"
cp "$units/vt-haltward-restart.timer" "$checked/"
said=$(systemd-analyze verify --man=no "$checked/vt-haltward-restart.service" "$checked/vt-haltward-restart.timer" 2>&1) ||
    fail "systemd-analyze verify failed: $said"
[ -z "$said" ] || fail "systemd-analyze verify warns: $said"

# The check itself catches a broken unit.
sed -i 's/^OnCalendar=.*/OnCalendar=every night/' "$checked/vt-haltward-restart.timer"
! systemd-analyze verify --man=no "$checked/vt-haltward-restart.service" "$checked/vt-haltward-restart.timer" >/dev/null 2>&1 ||
    fail "systemd-analyze verify accepted a bad calendar"
echo PASS
