#!/bin/sh
# Valgrind memcheck of the random-action test on a real X server (Xvfb):
# fails on any invalid read or write, any use of unset memory, and any
# definite leak that tests/valgrind/kvt.supp does not give to Qt or the
# platform. KVT_MODEL_ACTIONS sets the budget (5,000 by default; valgrind runs
# the test some 30 times slower), KVT_BUILD_DIR the build folder.
set -eu
cd "$(dirname "$0")/../.."
build=${KVT_BUILD_DIR:-build}

if ! command -v valgrind >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends valgrind
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build" -j2 --target tst_model

# Forked helpers of the platform (D-Bus autolaunch) are not the program.
KVT_MODEL_ACTIONS=${KVT_MODEL_ACTIONS:-5000} \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    valgrind --tool=memcheck --error-exitcode=1 \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --track-origins=yes --child-silent-after-fork=yes --num-callers=40 \
    --suppressions=tests/valgrind/kvt.supp \
    "$build/tests/model/tst_model" randomActions
