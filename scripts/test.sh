#!/usr/bin/env bash
# Sets the machine up and runs every check without a display:
#   plain     build (warnings are errors) and the whole test suite
#   heavy     the heavy load tests of tst_load in that build (50 tabs of 4K pictures exported and
#             imported, a file above 2 GiB); they skip themselves without enough memory or disk
#   sanitize  the whole test suite built with ASan, UBSan and LeakSanitizer (scripts/sanitize.sh)
#   fuzz      a two-minute run of the OSD file fuzzer (fuzz/run.sh)
# Usage: scripts/test.sh [plain] [heavy] [sanitize] [fuzz]   (no argument: all of them, in order)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
parts=("$@")
((${#parts[@]} > 0)) || parts=(plain heavy sanitize fuzz)
wants() {
  local p
  for p in "${parts[@]}"; do [[ $p == "$1" ]] && return 0; done
  return 1
}

# clang and its runtime libraries build the fuzzer; llvm-symbolizer puts names into reports.
"$root/scripts/setup.sh" clang libclang-rt-dev llvm
jobs=$(nproc 2>/dev/null || echo 2)
build="$root/build/test"
started=$SECONDS
step() { echo "== $1 ($((SECONDS - started)) s so far)"; }

if wants plain || wants heavy; then
  step "plain build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=ON -DBRISKLANE_WERROR=ON >/dev/null
  cmake --build "$build" --parallel "$jobs"
fi
if wants plain; then
  step "test suite"
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs")
fi
if wants heavy; then
  step "heavy load tests"
  (cd "$build" && BRISKLANE_HEAVY=1 QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.qpa.*=false" \
    ./tests/tst_load fileAbove2GiBRoundTrips fiftyTabsOf4kPicturesExportAndImport)
fi
if wants sanitize; then
  step "sanitizer build and test suite"
  "$root/scripts/sanitize.sh"
fi
if wants fuzz; then
  step "fuzzing"
  "$root/fuzz/run.sh" 120
fi
step "done"
