#!/usr/bin/env bash
# Builds the fuzzers (clang: libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in build/fuzz
# and runs them one after the other, one job each: the OSD file reader for the given time, then the
# quicker PNG road (against Qt's reader) for half of it, then the project file reader for a quarter
# (each input is an SQLite database opened from a file: slower per input).
#   fuzz/run.sh            two minutes, one and half a minute, as scripts/test.sh does
#   fuzz/run.sh 3600       an hour and half an hour
#   fuzz/run.sh 0          the OSD file reader until stopped with Ctrl-C
# Further arguments go to libFuzzer, e.g. fuzz/run.sh 0 -jobs=2 -workers=2.
# The corpora grow in build/fuzz/corpus and build/fuzz/corpus-png (seeded from fuzz/corpus/); an
# input that crashes is written to build/fuzz/artifacts/; once understood and fixed, an OSD file
# goes into fuzz/regressions/, which tests/tst_fuzzregressions.cpp replays, and a PNG file into the
# rows of tests/tst_plainpngdecoder.cpp.
# Needs clang and its runtime libraries: scripts/setup.sh clang libclang-rt-dev
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-120}
shift || true
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
  -DBRISKLANE_FUZZ=ON -DBRISKLANE_TESTS=OFF -DBRISKLANE_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_osdfile fuzz_plainpng fuzz_projectfile
mkdir -p "$build/corpus" "$build/corpus-png" "$build/corpus-project" "$build/artifacts"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
echo "fuzz: OsdFile::decode for ${seconds}s (0: until stopped)"
"$build/fuzz/fuzz_osdfile" -dict="$root/fuzz/osdfile.dict" -max_total_time="$seconds" -max_len=16384 \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
  "$build/corpus" "$root/fuzz/corpus/osdfile" "$root/fuzz/regressions" "$@"

if ((seconds == 0)); then exit 0; fi
echo "fuzz: PlainPngDecoder::decode against Qt's reader for $((seconds / 2))s"
"$build/fuzz/fuzz_plainpng" -max_total_time="$((seconds / 2))" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1 "$build/corpus-png" "$root/fuzz/corpus/plainpng" "$@"
echo "fuzz: ProjectFile::load for $((seconds / 4))s"
"$build/fuzz/fuzz_projectfile" -max_total_time="$((seconds / 4))" -max_len=1048576 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1 "$build/corpus-project" "$root/fuzz/corpus/projectfile" "$@"
