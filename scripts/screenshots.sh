#!/usr/bin/env bash
# Makes screenshots of placing items on the output screen (tabs at several zooms, the overview) for
# people to look at; it checks nothing.
#   scripts/screenshots.sh            PNGs into build/screenshots
#   scripts/screenshots.sh DIR        PNGs into DIR
# Builds the layoutshots program in the test build (build/test, as scripts/test.sh configures it)
# and runs it on the display in DISPLAY, or on a virtual X server started for the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshots}

headless=false
if [[ -z "${DISPLAY:-}" ]]; then headless=true; fi
if $headless; then
  "$root/scripts/setup.sh" xvfb
else
  "$root/scripts/setup.sh"
fi

jobs=$(nproc 2>/dev/null || echo 2)
build="$root/build/test"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=ON -DBRISKLANE_WERROR=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$jobs" --target layoutshots

xvfb_pid=""
runtime_dir=""
cleanup() {
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [[ -z $runtime_dir ]] || rm -rf "$runtime_dir"
}
trap cleanup EXIT
if $headless; then
  # The first free display from :90 on; a lock file marks one in use.
  display=90
  while [[ -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || {
      echo "screenshots: Xvfb did not start on $DISPLAY" >&2
      exit 1
    }
    sleep 0.1
  done
  echo "screenshots: no display found; using a virtual X server on $DISPLAY" >&2
fi

unset QT_QPA_PLATFORM
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  # Qt wants one, private to the user; without it, it warns.
  runtime_dir=$(mktemp -d)
  export XDG_RUNTIME_DIR=$runtime_dir
fi
# The window's debug messages are left out; what the program itself says about a shot is kept.
QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false" "$build/tests/layoutshots" --out "$out"
echo "screenshots: the PNGs are in $out"
