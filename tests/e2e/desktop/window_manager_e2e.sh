#!/usr/bin/env bash
# The desktop scenarios once more with a window manager (openbox) running.
here=$(dirname "$0")
status=0
for scenario in immediate_actions settings_dialog missing_console focus_stolen; do
    echo "=== $scenario under openbox"
    VT_E2E_WM=openbox bash "$here/${scenario}_e2e.sh" || status=1
done
exit $status
