#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder and runs each
# one for a bounded time, two at a time, at the lowest priority:
#   tests/fuzz/run.sh [SECONDS] [TARGET...]     (default 60 s, every target)
# Each target starts from its seed corpus (tests/fuzz/corpus/<target>) and
# keeps what it learns in <build>/fuzz/corpus/<target>. Inputs that crash or
# break a check land in <build>/fuzz/findings/<target>/; the script then
# exits with status 1. FUZZ_BUILD_DIR (default build-fuzz) names the folder.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD_DIR:-build-fuzz}
cxx=${FUZZ_CXX:-clang++-14}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

# clang and its libFuzzer runtime (Debian: clang-14, libclang-rt-14-dev).
if [ -z "${FUZZ_CXX:-}" ]; then
    missing=()
    for p in clang-14 libclang-rt-14-dev; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
fi

cmake -S . -B "$build" -G Ninja -DMX_FUZZ=ON -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 19 cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]}"

out="$build/fuzz"
run_one() {
    local t=$1
    rm -rf "$out/findings/$t"
    mkdir -p "$out/corpus/$t" "$out/findings/$t"
    # ASan's leak check stays on; the Qt application object lives for the whole run.
    nice -n 19 "$out/$t" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/findings/$t/" \
        "$out/corpus/$t" "tests/fuzz/corpus/$t" >"$out/$t.log" 2>&1 || true
}

running=0
for t in "${targets[@]}"; do
    run_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "${FUZZ_PARALLEL:-2}" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait || true

status=0
printf '%-22s %12s %10s %9s\n' target executions exec/s findings
for t in "${targets[@]}"; do
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t.log" | grep -o '[0-9]*$' | tail -1)
    rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$out/$t.log" | grep -o '[0-9]*$' | tail -1)
    found=$(find "$out/findings/$t" -type f | wc -l)
    printf '%-22s %12s %10s %9s\n' "$t" "${runs:-?}" "${rate:-?}" "$found"
    [ "$found" -eq 0 ] && [ -n "$runs" ] || status=1
done
exit $status
