# Sourced by scripts/test and scripts/fuzz: configures and builds the pure code (chords/,
# export/), its tests and the fuzz targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build/sanitize, through ccache like every other build.
fretwick_sanitize_build() {
    local root=$1
    local build="$root/build/sanitize"
    local flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DFRETWICK_TESTS=ON -DFRETWICK_PURE_ONLY=ON -DFRETWICK_FUZZ=ON -DFRETWICK_WERROR=ON \
        "-DCMAKE_CXX_FLAGS=$flags -fsanitize=fuzzer-no-link" \
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
    cmake --build "$build"
}

# Runs every fuzz target for $2 seconds from its seed corpus (fuzz/corpus/<target>, which also
# holds every earlier finding as a regression case). Findings go to build/fuzz-findings.
# Returns non-zero when any target finds something.
fretwick_run_fuzzers() {
    local root=$1 seconds=$2
    local build="$root/build/sanitize"
    local findings="$root/build/fuzz-findings"
    local failed=0 target name work log
    mkdir -p "$findings"
    for target in "$build"/fuzz/*_fuzz; do
        [ -x "$target" ] || continue
        name=$(basename "$target" _fuzz)
        work="$root/build/fuzz-corpus/$name"
        log="$findings/$name.log"
        mkdir -p "$work"
        # Seeds and regression cases first, each run once and checked.
        if ! "$target" -runs=0 "$root/fuzz/corpus/$name" >"$log" 2>&1; then
            echo "fuzz $name: a seed or regression case fails, see $log"
            failed=1
            continue
        fi
        if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
            -artifact_prefix="$findings/$name-" "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
            echo "fuzz $name: ${seconds}s, $(grep -o 'DONE.*' "$log" | head -1)"
        else
            echo "fuzz $name: FOUND a problem, see $log and $findings/$name-*"
            failed=1
        fi
    done
    return $failed
}
