#!/usr/bin/env bash
# The screen link reads a say line's answer back from copies of the window
# (hardcopy -h into a private folder, only while the answer is awaited):
# the answer is seen with colour codes, umlauts, € and CJK, whose cells
# screen copies out as single bytes; another answer confirms nothing; an
# answer already on the window before the keys confirms nothing either. An
# answer long after the keys is seen, and the quiet window meanwhile is
# copied only a few times a second. The watch leaves no copy, no folder and
# no child process behind.
source "$(dirname "$0")/server_lib.sh"
server_init
private_tmpdir


screen_console SPIGOT "$E2E_WORK/transcript.txt"

note "a say line answered"
say='Grüße €5 中文 §cok'
run_watch "$E2E_WORK/say.out" SPIGOT say "$say" 1 "say $say~"
grep -q '^SIGHTING Answered' "$E2E_WORK/say.out" || fail "the answer was not seen: $(cat "$E2E_WORK/say.out")"
note "$(grep '^SIGHTING' "$E2E_WORK/say.out")"

note "the same answer, already on the window, answers nothing new"
run_watch "$E2E_WORK/again.out" SPIGOT say "$say" 1 'list~'
! grep -q '^SIGHTING' "$E2E_WORK/again.out" || fail "an old line confirmed: $(cat "$E2E_WORK/again.out")"

note "another answer confirms nothing"
run_watch "$E2E_WORK/other.out" SPIGOT say "$say" 1 "say $say!~"
! grep -q '^SIGHTING' "$E2E_WORK/other.out" || fail "a different line confirmed: $(cat "$E2E_WORK/other.out")"

note "an answer two seconds after the keys; the window is seldom copied meanwhile"
# A screen that notes each copy asked of it, then does as asked.
mkdir "$E2E_WORK/bin"
printf '#!/bin/bash\ncase " $* " in *" hardcopy "*) echo copy >>"%s" ;; esac\nexec "%s" "$@"\n' \
    "$E2E_WORK/copies" "$(command -v screen)" >"$E2E_WORK/bin/screen"
chmod +x "$E2E_WORK/bin/screen"
screen_session LATE sh -c 'IFS= read -r line; sleep 2; echo "[Server] ${line#say }"; exec sleep 60'
PATH="$E2E_WORK/bin:$PATH" run_watch "$E2E_WORK/late.out" LATE say 'late answer' 4 'say late answer~'
grep -q '^SIGHTING Answered' "$E2E_WORK/late.out" || fail "the late answer was not seen: $(cat "$E2E_WORK/late.out")"
after=$(grep '^SIGHTING Answered' "$E2E_WORK/late.out" | cut -d' ' -f3 | cut -d. -f1)
[ "$after" -ge 2000 ] || fail "answered $after ms after the keys, before the server wrote"
# While the server is quiet a copy every 250 ms at most; a few more for the
# window before the keys, their echo and the answer. A clock of 20 ms would
# copy some 80 times.
copies=$(wc -l <"$E2E_WORK/copies")
note "$copies copies, answer seen $after ms after the keys"
[ "$copies" -le $((2000 / 250 + 6)) ] || fail "the window was copied $copies times in two quiet seconds"
echo PASS
