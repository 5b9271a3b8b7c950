#!/usr/bin/env bash
# Builds the project and its tests with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer (-DBRISKLANE_SANITIZE=ON) in build/sanitize and runs the whole suite there. Any
# report fails the run. Leaks inside third-party libraries are suppressed by scripts/lsan.supp,
# the project's own never are. Called by scripts/test.sh; needs what scripts/setup.sh installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
build="$root/build/sanitize"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The plain build guards against warnings; GCC's instrumented code gives false alarms
# (-Wstringop-overflow inside Qt's headers) that must not stop this one.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=ON \
  -DBRISKLANE_SANITIZE=ON -DBRISKLANE_WERROR=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$jobs"

# Full allocation stacks (Qt is built without frame pointers), so that suppressions can name the
# library a leak comes from.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:fast_unwind_on_malloc=0:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
# The instrumented window tests run several times slower than in the plain build; a test function
# gets 15 minutes instead of Qt's 5.
export QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-900000}
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs" --timeout 1500
