#!/bin/sh
# The benchmark: builds the program, two bare Qt programs (one window; four
# empty windows opened one from another) and the measuring probe in release
# mode, then measures them side by side under Xvfb and prints the medians
# against their targets. RUNS sets the number of runs of each (15 by default).
set -eu
cd "$(dirname "$0")/../.."
build=${KVT_BUILD_DIR:-build-release}

packaging/debian-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2 --target kvt kvt_bare kvt_bare_tour kvt_probe kvt_bench

xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tests/benchmark/kvt_bench" "$build/tests/benchmark/kvt_probe.so" \
    "$build/tests/benchmark/kvt_bare" "$build/tests/benchmark/kvt_bare_tour" "$build/kvt" "${RUNS:-15}"
