#!/usr/bin/env bash
# Saves cut short and files changed since, with the real program under Xvfb:
# 1. an export rewriting a hard-linked file in place is killed, another program writes the file,
#    and the next start asks instead of putting the old bytes back over the newer ones;
# 2. a song file rewritten in place is killed half-way and opened from the command line: it is
#    put back before it is read, so the editor never holds the half-written text;
# 3. a recovered song whose file was copied over since (same inode) is saved through Save As.
set -euo pipefail
binary=$1
build=$2
# shellcheck source=e2e_session.sh
source "$(dirname "$0")/e2e_session.sh"
songs="$work/songs"
mkdir -p "$songs" "$recovery"

# A song long enough that its tablature takes a while to write.
big="$songs/big.fwk"
{
    printf '*Info 1:big\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n'
    # A blank line after every two chords: every chord is in the tablature (megabytes of it).
    awk 'BEGIN { for (i = 0; i < 66000; i++) printf "G, 0, 2-4, 0, 1, 2, E\r\nC, x, 2, 0, 1, 2, Q\r\n\r\n" }'
} >"$big"

windows() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l; }
# Waits, generously, until the program shows at least $1 windows.
wait_windows() {
    for _ in $(seq 1200); do
        [ "$(windows)" -ge "$1" ] && return 0
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# Waits, generously, for a message box of the program (not its splash nor its main window);
# prints its id.
wait_message() {
    local id name
    for _ in $(seq 1200); do
        for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true); do
            name=$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null || true)
            case "$name" in *DIALOG*) echo "$id"; return 0 ;; esac
        done
        kill -0 "$app_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
stop_app() {
    kill -KILL "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}

# Exports the tablature of the big song over $1 and kills the export once it rewrites $1 in place
# (its note says so); true when a note was left. A second argument "soon" kills within 10 ms of
# the note instead of 90: a small file's backup copy is done at once, and the rewrite that
# follows may end before a later kill on a busy machine.
interrupt_export() {
    local note="" header=""
    "$binary" --export-tab "$big" "$1" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 20000); do
        note=$(compgen -G "$recovery/*.saving-$pid-*.target" | head -1 || true)
        if [ -n "$note" ]; then
            header=$(head -c 22 "$note" 2>/dev/null || true)
            [ "$header" = "Fretwick save note 2 1" ] && break
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.005
    done
    if [ "${2:-}" = soon ]; then sleep 0.00$((RANDOM % 9)); else sleep 0.0$((RANDOM % 9)); fi
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -n "$(compgen -G "$recovery/*.saving-$pid-*.target" || true)" ]
}

# --- 1. A changed file is never overwritten without asking ---------------------------------------
out="$songs/out.tab"
head -c 3000000 /dev/urandom | base64 >"$out"
cp "$out" "$work/out.old"
ln "$out" "$songs/out-link.tab"
interrupted=""
for _ in $(seq 10); do
    cp "$work/out.old" "$out"
    if interrupt_export "$out"; then interrupted=yes; break; fi
done
[ -n "$interrupted" ] || fail "no export was cut short while rewriting in place"
printf 'unrelated\n' >"$out" # another program writes the file afterwards
"$binary" >"$work/app.log" 2>&1 &
app_pid=$!
question=$(wait_message) || fail "the start did not ask about the changed file"
[ "$(cat "$out")" = unrelated ] || fail "the changed file was overwritten before the answer"
import -display "$display" -window root "$build/e2e_restore_question.png"
xdotool windowfocus --sync "$question"
xdotool key Escape # No: the file stays as it is, the old bytes are kept aside
for _ in $(seq 600); do
    [ -e "$recovery/out.tab.before-save-1" ] && break
    sleep 0.1
done
[ "$(cat "$out")" = unrelated ] || fail "the changed file was overwritten"
cmp -s "$recovery/out.tab.before-save-1" "$work/out.old" || fail "the old bytes were not kept"
[ -z "$(compgen -G "$recovery/*.saving-*" || true)" ] || fail "the interrupted save was left"
stop_app

# --- 2. The command-line song is put back before it is read -------------------------------------
song="$songs/reel.fwk"
printf 'e|--0--2--|\nB|--1--3--|\nG|--0--2--|\nD|--2--0--|\ng|--0--0--|\n' >"$work/small.tab"
"$binary" --import-tab "$work/small.tab" "$song" || fail "the import failed"
cp "$song" "$work/reel.old"
ln "$song" "$songs/reel-link.fwk"
interrupted=""
for _ in $(seq 10); do
    cp "$work/reel.old" "$song"
    if interrupt_export "$song" soon; then interrupted=yes; break; fi
done
[ -n "$interrupted" ] || fail "no save of the song was cut short while rewriting in place"
cmp -s "$song" "$work/reel.old" && fail "the kill left the song as it was: nothing to test"
"$binary" "$song" >"$work/app.log" 2>&1 &
app_pid=$!
note=$(wait_message) || fail "no note that the song was put back"
cmp -s "$song" "$work/reel.old" || fail "the song was not put back"
xdotool windowfocus --sync "$note"
xdotool key Return
window=""
for _ in $(seq 1200); do
    window=$(xdotool search --onlyvisible --pid "$app_pid" --name '^Fretwick - reel.fwk$' | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the song was not opened after it was put back"
sleep 2
xdotool windowfocus --sync "$window"
xdotool key ctrl+s
sleep 2
cmp -s "$song" "$work/reel.old" || fail "the editor held something else than the song put back"
stop_app

# --- 3. A recovered song whose file was copied over goes through Save As ------------------------
tune="$songs/tune.fwk"
printf '*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nG, 0, 0, 0, 0, 0, Q\r\n' >"$tune"
printf '*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nC, x, 2, 0, 1, 2, H\r\n' >"$work/other.fwk"
{
    printf 'Fretwick recovery copy 1\n%s %s\n' \
        "$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe=""))' "$tune")" \
        "$(stat -c '%d:%i:%s:%.9Y' "$tune")"
    printf '*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nG, 0, 0, 0, 0, 0, Q\r\n* recovered\r\n'
} >"$recovery/unsaved-1-0badc0de.fwk"
sleep 0.05
cp "$work/other.fwk" "$tune" # the same inode, other bytes
"$binary" >"$work/app.log" 2>&1 &
app_pid=$!
wait_windows 2 || fail "the recovery copy was not offered"
xdotool key Return # Yes, recover it
window=""
for _ in $(seq 1200); do
    window=$(xdotool search --onlyvisible --pid "$app_pid" --name '^Fretwick - tune.fwk' | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the recovered song was not opened"
sleep 2
xdotool windowfocus --sync "$window"
xdotool key ctrl+s
wait_windows 2 || fail "Ctrl+S did not ask where to save"
sleep 1
cmp -s "$tune" "$work/other.fwk" || fail "the file copied over the song was overwritten"
stop_app
echo "restore e2e passed"
