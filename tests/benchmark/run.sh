#!/bin/sh
# The benchmark: builds the program, a bare Qt program and the measuring probe
# in release mode, then measures both under Xvfb and prints the medians
# against their targets. RUNS sets the number of runs of each (15 by default).
set -eu
cd "$(dirname "$0")/../.."
build=${KVT_BUILD_DIR:-build-release}

packaging/debian-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2 --target kvt kvt_bare kvt_probe kvt_bench

xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tests/benchmark/kvt_bench" "$build/tests/benchmark/kvt_probe.so" \
    "$build/tests/benchmark/kvt_bare" "$build/kvt" "${RUNS:-15}"
