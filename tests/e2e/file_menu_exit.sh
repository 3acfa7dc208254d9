# Sourced by the end-to-end scripts.
# shellcheck shell=bash

# Chooses File > Exit in the program's main window $1 (process $2) as the keyboard would, and
# waits, generously, for the program to end; false when it still runs.
exit_through_file_menu() {
    xdotool windowfocus --sync "$1"
    xdotool key --window "$1" alt+f
    # Wait for the File menu to be up (a second visible window of the program) before choosing.
    for _ in $(seq 600); do
        [ "$(xdotool search --onlyvisible --pid "$2" 2>/dev/null | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    xdotool key x
    for _ in $(seq 600); do
        kill -0 "$2" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
