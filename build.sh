#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./build.sh run    installs what is missing, builds, then starts the program
#   ./build.sh test   installs what is missing, builds, then runs every test
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-multimedia-dev
 libgl-dev)

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

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
    cmake --build build -j "${JOBS:-2}"
}

case "${1:-}" in
run)
    install_missing
    build
    # Until the desktop window exists the program's face is the command line:
    # list the new-image template of the "EU" range family.
    exec build/dist/V100/mx806 show build/dist/V100/Init/2_MX806_New.dat
    ;;
test)
    install_missing
    build
    cd build && ctest --output-on-failure -j "${JOBS:-2}"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 1
    ;;
esac
