#!/usr/bin/env bash
# Sets the machine up and runs the checks without a display.
#   scripts/test.sh            the plain part: build (warnings are errors) and the whole test suite
#   scripts/test.sh all        every part below, in order
#   scripts/test.sh heavy fuzz only the parts named
# Parts:
#   plain     build (warnings are errors, the benchmarks compiled too) and the whole test suite, in
#             build/test
#   heavy     the heavy load tests of tst_loadheavy in that build (50 tabs of 4K pictures exported
#             and imported, a file above 2 GiB); they skip themselves without enough memory or
#             disk, and the last line of the output says so
#   desktop   the editor of that build driven on a virtual X server through its real windows and
#             dialogs with xdotool (tests/desktop/smoke.sh; screenshots in build/desktop-smoke)
#   sanitize  the whole test suite built with ASan, UBSan and LeakSanitizer (scripts/sanitize.sh)
#   fuzz      two minutes of the OSD file fuzzer, one of the PNG one, half of the project file one
#             (fuzz/run.sh, clang)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
parts=("$@")
((${#parts[@]} > 0)) || parts=(plain)
[[ "${parts[*]}" != all ]] || parts=(plain desktop heavy sanitize fuzz)
for p in "${parts[@]}"; do
  case $p in
    plain | desktop | heavy | sanitize | fuzz) ;;
    *)
      echo "test.sh: unknown part '$p' (plain, desktop, heavy, sanitize, fuzz or all)" >&2
      exit 2
      ;;
  esac
done
wants() {
  local p
  for p in "${parts[@]}"; do [[ $p == "$1" ]] && return 0; done
  return 1
}

# Only the parts that need them bring in LLVM: llvm-symbolizer puts names into sanitizer reports;
# clang and its runtime libraries build the fuzzer.
extra=()
if wants sanitize || wants fuzz; then extra+=(llvm); fi
if wants fuzz; then extra+=(clang libclang-rt-dev); fi
# The desktop part drives the editor on a virtual X server under a small window manager.
if wants desktop; then extra+=(xvfb xdotool openbox python3); fi
# The plain build compiles the benchmarks too (bench/run runs them), so a change that breaks one
# is seen here.
if wants plain || wants heavy || wants desktop; then extra+=(libbenchmark-dev); fi
"$root/scripts/setup.sh" "${extra[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
build="$root/build/test"
launcher=()
if command -v ccache >/dev/null; then
  # Worktrees and build folders under one root share the cache.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
started=$SECONDS
step() { echo "== $1 ($((SECONDS - started)) s so far)"; }
summary=()

if wants plain || wants heavy || wants desktop; then
  step "plain build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=ON -DBRISKLANE_WERROR=ON \
    -DBRISKLANE_BENCH=ON "${launcher[@]}" >/dev/null
  cmake --build "$build" --parallel "$jobs"
fi
if wants plain; then
  step "test suite"
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs")
  summary+=("plain: passed")
fi
if wants desktop; then
  step "desktop smoke test"
  "$root/tests/desktop/smoke.sh"
  summary+=("desktop: passed")
fi
if wants heavy; then
  step "heavy load tests"
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  (cd "$build" && BRISKLANE_HEAVY=1 QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.qpa.*=false" \
    ./tests/tst_loadheavy) 2>&1 | tee "$log"
  # A skipped heavy test passes; say which were skipped and why, so a green run does not hide it.
  # Qt Test writes "SKIP   : TestLoadHeavy::name() reason" and the location on the next line.
  skips=$(sed -n 's/^SKIP *: *[^ ]*::\([^ (]*\)() *\(.*\)$/\1 (\2)/p' "$log")
  if [[ -n $skips ]]; then
    summary+=("heavy: $(wc -l <<<"$skips") skipped: $(paste -sd ';' <<<"$skips" | sed 's/;/; /g')")
  else
    summary+=("heavy: passed, none skipped")
  fi
fi
if wants sanitize; then
  step "sanitizer build and test suite"
  "$root/scripts/sanitize.sh"
  summary+=("sanitize: passed")
fi
if wants fuzz; then
  step "fuzzing"
  "$root/fuzz/run.sh" 120
  summary+=("fuzz: passed")
fi
step "done"
# The last line: what ran, and what was skipped.
line=$(printf '%s · ' "${summary[@]}")
echo "${line% · }"
