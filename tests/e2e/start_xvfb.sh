# Sourced by the end-to-end scripts: starts Xvfb and points DISPLAY and the XDG folders into
# "$work" (which the caller made and cleans up, killing "$xvfb_pid").
# Xvfb picks a free display itself and writes its number once it accepts clients, so two runs
# never race for the same number and nothing is polled.
# shellcheck shell=bash disable=SC2154,SC2034
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
number=""
read -r -t 120 number <"$work/displayfd" || true
[ -n "$number" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
display=":$number"

export DISPLAY=$display
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME/Fretwick" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
