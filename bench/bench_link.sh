#!/usr/bin/env bash
# Transfer speed of `mx806 read` and `mx806 write` against the radio emulator
# paced like a 9600-baud line. Run by hand:
#   bench/bench_link.sh [BUILD_DIR]        (default: build)
# For each transfer it prints the measured time, the time the bytes need on
# the wire (every byte both ways, 10 bits each) and the efficiency
# bound / measured. The program's own overhead is what keeps it below 1.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
bin="$build/dist/V100"
[ -x "$bin/mx806" ] && [ -x "$bin/mx806-radiosim" ] || {
    echo "build first: $bin/mx806 and $bin/mx806-radiosim are missing" >&2
    exit 1
}
data="$bin/Init/2_MX806_New.dat"
work="$(mktemp -d)"
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Sets sim_pid and dev (not in a subshell, so that stop_radio finds the process).
start_radio() {
    : >"$work/device"
    "$bin/mx806-radiosim" --pace >"$work/device" 2>"$work/radiosim.log" &
    sim_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/device" ] && break
        sleep 0.05
    done
    dev="$(head -n1 "$work/device")"
}

stop_radio() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
}

# seconds with nanoseconds
now() { date +%s.%N; }

report() { # name bytes start end
    awk -v name="$1" -v bytes="$2" -v t0="$3" -v t1="$4" 'BEGIN {
        t = t1 - t0
        bound = bytes * 10 / 9600
        blocks = (name == "read") ? 1024 : 1014
        printf "%-6s measured %7.3f s   wire bound %7.3f s   efficiency %.4f   overhead %.2f ms/block\n",
               name, t, bound, bound / t, (t - bound) * 1000 / blocks
    }'
}

# Handshake 7+3, identification 1+16, blocks, END 3+1.
read_bytes=$((7 + 3 + 1 + 16 + 1024 * (4 + 22) + 3 + 1))
write_bytes=$((7 + 3 + 1 + 16 + 1014 * (22 + 1) + 3 + 1))

start_radio
t0="$(now)"
"$bin/mx806" read --port "$dev" -o "$work/read.dat" 2>"$work/read.log" || {
    cat "$work/read.log" >&2
    exit 1
}
t1="$(now)"
stop_radio
report read "$read_bytes" "$t0" "$t1"

start_radio
t0="$(now)"
"$bin/mx806" write --port "$dev" "$data" 2>"$work/write.log" || {
    cat "$work/write.log" >&2
    exit 1
}
t1="$(now)"
stop_radio
report write "$write_bytes" "$t0" "$t1"
