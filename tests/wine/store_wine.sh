#!/usr/bin/env bash
# The registry store on a real registry (this scenario's own Wine prefix).
source "$(dirname "$0")/lib.sh"
scenario_setup store
cp "$WINE_BIN_DIR/store_test.exe" "$WORK/"
(cd "$WORK" && wine store_test.exe </dev/null >"$WORK/store.out" 2>&1) || fail "$(cat "$WORK/store.out")"
log "$(tail -1 "$WORK/store.out")"
# What the program wrote reads back the same from outside it.
value=$(registry_value 'HKCU\Software\VB and VBA Program Settings\VT_HALTWARD_STORE_TEST\section' KEY2) ||
    fail "the value is not in the registry"
[ "$value" = '§cÄpfel Öl Übel – 5 € ß' ] || fail "the registry holds '$value'"
log "passed"
