#!/usr/bin/env bash
# The program at rest, measured against a private sound server whose only output is a null
# sink: how many playback streams the open main window keeps on the server once it has been
# left alone (goal 0), the processor time the program and the server take together then (goal
# under 0.5% of one core), and how soon a preview is heard after the output was closed (goal
# under 50 ms). Prints one line:
#   idle audio: streams=<n> cpu=<%> first-note=<ms>
# or "idle audio: skipped (<why>)" when no sound server can be started here.
# Usage: scripts/idle_audio_bench.sh BUILD_DIR (a build with the program and the benchmarks)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
. "$root/scripts/deps.sh"

skip() {
    echo "idle audio: skipped ($*)"
    exit 0
}
fretwick_ensure_bench_packages >/dev/null 2>&1 || true
command -v pulseaudio >/dev/null && command -v pactl >/dev/null ||
    skip "pulseaudio and pactl are not installed"
[ -x "$build/app/fretwick" ] && [ -x "$build/bench/fretwick_bench_idle_audio_bench" ] ||
    skip "the program and the benchmarks are not built in $build"

work=$(mktemp -d)
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
socket=$work/run/native
sink=fretwick_null
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
    -L "module-null-sink sink_name=$sink" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" 2>"$work/server.log" &
server=$!
pids+=("$server")
export PULSE_SERVER=unix:$socket FRETWICK_NULL_SINK=$sink
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 ||
    skip "no sound server could be started: $(tail -n 1 "$work/server.log")"

streams() { pactl list short sink-inputs 2>/dev/null | wc -l; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

# The main window, left alone once its synthesizer has started.
QT_QPA_PLATFORM=offscreen "$build/app/fretwick" >"$work/app.log" 2>&1 &
app=$!
pids+=("$app")
for _ in $(seq 200); do
    [ "$(streams)" -gt 0 ] && break
    sleep 0.1
done
started=$(streams)
# Nothing sounds: the output closes after its idle stretch of 10 seconds.
sleep 12
open=$(streams)
# Processor time of the program and the server together over 10 seconds at rest.
hz=$(getconf CLK_TCK)
before=$(($(ticks "$app") + $(ticks "$server")))
sleep 10
after=$(($(ticks "$app") + $(ticks "$server")))
cpu=$(awk -v d="$((after - before))" -v hz="$hz" 'BEGIN { printf "%.2f", 100 * d / hz / 10 }')
kill "$app" 2>/dev/null
wait "$app" 2>/dev/null

# The first note after the output was closed, heard on the null sink.
first=$("$build/bench/fretwick_bench_idle_audio_bench" 2>/dev/null | tail -n 1)
first=${first#first-note=}
echo "idle audio at start: $started stream(s) open; first note ${first:-not measured}"
echo "idle audio: streams=$open cpu=$cpu first-note=${first%% *}"
