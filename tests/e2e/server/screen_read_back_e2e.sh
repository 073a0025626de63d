#!/usr/bin/env bash
# The screen link reads a say line's answer back from copies of the window
# (hardcopy -h into a private folder, only while the answer is awaited):
# the answer is seen with colour codes, umlauts, € and CJK, whose cells
# screen copies out as single bytes; another answer confirms nothing; an
# answer already on the window before the keys confirms nothing either. The
# watch leaves no copy, no folder and no child process behind.
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
echo PASS
