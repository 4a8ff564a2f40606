#!/usr/bin/env bash
# Retakes the README's pictures of the windows under a virtual display:
#   tools/screenshots.sh [OUTPUT_DIR]      (default docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
need=()
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
dpkg-query -W -f='${Status}' fonts-noto-cjk 2>/dev/null | grep -q "install ok installed" || need+=(fonts-noto-cjk)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "${JOBS:-2}" --target screenshots templates
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1400x1000x24" build/tools/screenshots/screenshots "$out"
