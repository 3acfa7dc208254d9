# Sourced by the end-to-end scripts that start the program more than once: a temporary work
# folder removed at exit (with the program in "$app_pid" and Xvfb killed), `fail` to stop with
# the program's log, Xvfb and the XDG folders (start_xvfb.sh), and settings of a user who has
# already been welcomed.
# shellcheck shell=bash disable=SC2034
work=$(mktemp -d)
cleanup() {
    if [ -n "${app_pid:-}" ]; then kill -KILL "$app_pid" 2>/dev/null || true; fi
    if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$1"; cat "$work/app.log" 2>/dev/null || true; exit 1; }

# shellcheck source=start_xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/start_xvfb.sh"
printf '[Options]\nWelcomed=1\n' >"$XDG_CONFIG_HOME/Fretwick/Fretwick.conf"
recovery="$XDG_STATE_HOME/Fretwick/recovery"
