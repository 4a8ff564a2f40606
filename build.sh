#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./build.sh run    installs what is missing, builds, then starts the program
#   ./build.sh test   installs what is missing, builds, then runs every test
#   ./build.sh demo   as run, with the radio emulator standing in for a radio
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-multimedia-dev
 qt6-translations-l10n libgl-dev fonts-noto-cjk)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build [TARGET...]: everything, or only the targets named.
build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
    cmake --build build -j "${JOBS:-2}" ${1:+--target "$@"}
}

# What run and demo start: the three programs and the templates they read.
PROGRAMS=(MX_806TR mx806 mx806-radiosim templates)

DIST=build/dist
BIN=$DIST/V100

have_display() {
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]
}

no_display() {
    echo "No display to show MX_806TR on: use the command line ($BIN/mx806 help) or run with QT_QPA_PLATFORM=offscreen." >&2
    exit 1
}

case "${1:-}" in
run)
    install_missing
    build "${PROGRAMS[@]}"
    have_display || no_display
    exec "$BIN/MX_806TR"
    ;;
demo)
    # The emulator plays the radio on a pseudo-terminal; this run's settings
    # point at it, and are put back when the program ends.
    install_missing
    build "${PROGRAMS[@]}"
    have_display || no_display
    ini=$DIST/language/mysetup.ini
    saved=$(mktemp)
    cp "$ini" "$saved"
    "$BIN/mx806-radiosim" --pace > build/radiosim.out 2> build/radiosim.log &
    sim=$!
    trap 'kill $sim 2>/dev/null; cp "$saved" "$ini"; rm -f "$saved"' EXIT
    for _ in $(seq 50); do [ -s build/radiosim.out ] && break; sleep 0.1; done
    dev=$(head -n 1 build/radiosim.out)
    echo "Radio emulator on $dev (log: build/radiosim.log)"
    "$BIN/mx806" port "$dev" >/dev/null
    "$BIN/MX_806TR"
    ;;
test)
    install_missing
    build
    cd build && ctest --output-on-failure -j "${JOBS:-2}"
    ;;
*)
    echo "usage: $0 run|test|demo" >&2
    exit 1
    ;;
esac
