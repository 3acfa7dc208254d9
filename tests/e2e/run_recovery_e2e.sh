#!/usr/bin/env bash
# A song edited and never saved survives a killed program: starts the real program under Xvfb
# with a song, types a line, waits for the recovery copy, kills the program with SIGKILL,
# starts it again, accepts the offer to recover, saves with Ctrl+S and checks that the song
# file now holds the typed line and its own settings. Before the kill a second program runs
# beside the first and must leave the first one's copy alone. The copy's timer runs every 30
# seconds, so this test takes about that long.
set -euo pipefail
binary=$1
build=$2
# shellcheck source=e2e_session.sh
source "$(dirname "$0")/e2e_session.sh"
# shellcheck source=file_menu_exit.sh
source "$(dirname "$0")/file_menu_exit.sh"
song="$work/Reel.fwk"
printf '*Info 1:e2e\r\n*Info 2:20\r\n*Info 3:55555\r\n*Info 4:96\r\nG, 0, 0, 0, 0, 0, Q\r\n' >"$song"

# Waits (generously: a loaded machine may take many seconds) for a visible window of the
# program whose title matches $1; prints its id.
wait_window() {
    local found=""
    for _ in $(seq 1200); do
        found=$(xdotool search --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

"$binary" "$song" >"$work/app.log" 2>&1 &
app_pid=$!
# Each running program keeps its own copy, named after its process, with a lock beside it.
copy_of() { compgen -G "$recovery/unsaved-$1-*.fwk" | head -1 || true; }
wait_window '^Fretwick - Reel.fwk[*]?$' >/dev/null || fail "no main window for the song"
# The window may be made again while it first shows: look it up once it has settled.
sleep 2
window=$(wait_window '^Fretwick - Reel.fwk[*]?$') || fail "no main window for the song"
xdotool windowfocus --sync "$window"
xdotool key ctrl+End Return
xdotool type --delay 50 '* typed before the crash'
sleep 1
import -display "$display" -window root "$build/e2e_recovery_typed.png"

# The copy is written about 2 seconds after the change: a kill 20 seconds after it loses nothing.
for _ in $(seq 200); do
    copy=$(copy_of "$app_pid")
    [ -n "$copy" ] && grep -q 'typed before the crash' "$copy" 2>/dev/null && break
    sleep 0.1
done
if [ -z "$copy" ] || ! grep -q 'typed before the crash' "$copy"; then
    fail "no recovery copy was written"
fi
[ -e "$copy.lock" ] || fail "the recovery copy has no lock"

# A second program started beside the first neither offers the first one's live copy nor, at its
# clean exit, removes it.
first_pid=$app_pid
copy_bytes=$(cat "$copy")
other="$work/Other.fwk"
printf '*Info 1:other\r\nC, 0, 0, 0, 0, 0, Q\r\n' >"$other"
"$binary" "$other" >"$work/app.log" 2>&1 &
app_pid=$!
wait_window '^Fretwick - Other.fwk$' >/dev/null || fail "no main window for the second program"
sleep 2
window=$(wait_window '^Fretwick - Other.fwk$') || fail "no main window for the second program"
xdotool windowfocus --sync "$window"
# An offer would come at once after the window's first activation; allow it time to show.
sleep 3
[ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -eq 1 ] ||
    fail "the second program offered or showed something beside its window"
exit_through_file_menu "$window" "$app_pid" || fail "the second program did not close"
wait "$app_pid" || fail "the second program did not exit cleanly"
app_pid=$first_pid
[ "$(cat "$copy")" = "$copy_bytes" ] || fail "the second program changed the first one's copy"
[ -e "$copy.lock" ] || fail "the second program removed the first one's lock"

kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
grep -q 'typed before the crash' "$song" && fail "the song was saved before the crash"

"$binary" >"$work/app.log" 2>&1 &
app_pid=$!
# The offer is a second window of the program; Yes is its default button.
offer=""
for _ in $(seq 1200); do
    [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -ge 2 ] && {
        offer=yes
        break
    }
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$offer" ] || fail "the recovery copy was not offered"
sleep 1
import -display "$display" -window root "$build/e2e_recovery_offer.png"
xdotool key Return
wait_window '^Fretwick - Reel.fwk[*]?$' >/dev/null || fail "the recovered song does not carry its name"
sleep 2
window=$(wait_window '^Fretwick - Reel.fwk[*]?$') || fail "the recovered song does not carry its name"
xdotool windowfocus --sync "$window"
xdotool key ctrl+s
for _ in $(seq 600); do
    grep -q 'typed before the crash' "$song" && break
    sleep 0.1
done
grep -q 'typed before the crash' "$song" || fail "the recovered text was not saved to the song"
grep -q $'^\\*Info 2:20\r$' "$song" || fail "the patch was not recovered"
grep -q $'^\\*Info 4:96\r$' "$song" || fail "the tempo was not recovered"
grep -q $'^G, 0, 0, 0, 0, 0, Q\r$' "$song" || fail "the song's first line was lost"
[ ! -e "$copy" ] || fail "the recovered copy was not removed"
# The recovered song's own copy went with the save: nothing is left for the next start.
left=$(find "$recovery" -mindepth 1)
[ -z "$left" ] || fail "recovery files were left after the save: $left"
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "recovery e2e passed"
