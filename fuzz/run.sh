#!/usr/bin/env bash
# Builds the OSD file fuzzer (clang: libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build/fuzz and runs it, one job.
#   fuzz/run.sh            two minutes, as scripts/test.sh does
#   fuzz/run.sh 3600       an hour
#   fuzz/run.sh 0          until stopped with Ctrl-C
# Further arguments go to libFuzzer, e.g. fuzz/run.sh 0 -jobs=2 -workers=2.
# The corpus grows in build/fuzz/corpus (seeded from fuzz/corpus/osdfile); an input that crashes is
# written to build/fuzz/artifacts/; once understood and fixed it goes into fuzz/regressions/, which
# tests/tst_fuzzregressions.cpp replays.
# Needs clang and its runtime libraries: scripts/setup.sh clang libclang-rt-dev
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-120}
shift || true
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
  -DBRISKLANE_FUZZ=ON -DBRISKLANE_TESTS=OFF -DBRISKLANE_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_osdfile
mkdir -p "$build/corpus" "$build/artifacts"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
echo "fuzz: OsdFile::decode for ${seconds}s (0: until stopped)"
"$build/fuzz/fuzz_osdfile" -dict="$root/fuzz/osdfile.dict" -max_total_time="$seconds" -max_len=16384 \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
  "$build/corpus" "$root/fuzz/corpus/osdfile" "$root/fuzz/regressions" "$@"
