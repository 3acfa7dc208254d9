# Sourced by the other scripts: installs the Debian packages the build and the tests need,
# quickly and silently when everything is already there.
FRETWICK_PACKAGES=(
    cmake ninja-build g++ pkg-config ccache clang libclang-rt-14-dev
    qt6-base-dev libgl1-mesa-dev
    libfluidsynth-dev librtmidi-dev fluid-soundfont-gm libasound2-dev libsdl2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool imagemagick
    shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl libglib2.0-bin
    python3 python3-mido midicsv time
    poppler-utils
    appstream man-db file librsvg2-bin dpkg-dev fakeroot lintian
    musescore3
    fonts-liberation2 fonts-dejavu-core
)

# Only the benchmarks need these: a sound server whose only output is a null sink, for measuring
# the program at rest (scripts/bench skips that measurement when they cannot be installed).
FRETWICK_BENCH_PACKAGES=(pulseaudio pulseaudio-utils)

fretwick_ensure_bench_packages() {
    fretwick_ensure_packages "${FRETWICK_BENCH_PACKAGES[@]}"
}

# With no arguments: FRETWICK_PACKAGES; otherwise the packages named.
fretwick_ensure_packages() {
    local missing=()
    local p
    local wanted=("$@")
    [ ${#wanted[@]} -eq 0 ] && wanted=("${FRETWICK_PACKAGES[@]}")
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
