#!/usr/bin/env bash
# Sets the machine up, builds everything with the tests and runs the whole suite without a display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc 2>/dev/null || echo 2)

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=ON -DBRISKLANE_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$jobs"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs"
