#!/usr/bin/env bash
# Makes screenshots for people to look at; it checks nothing: placing items on the output screen
# (tabs at several zooms, the overview) and every window (main window, text window, cut panel, each
# kind of message box), once at scale 1 and once at scale 2 (QT_SCALE_FACTOR=2, as on a
# high-density screen).
#   scripts/screenshots.sh                    PNGs into build/screenshots/scale1 and scale2
#   scripts/screenshots.sh DIR                PNGs into DIR/scale1 and DIR/scale2
#   scripts/screenshots.sh [DIR] --lang en    the windows in that language (zh or en)
# Builds the layoutshots and windowshots programs in the test build (build/test, as scripts/test.sh
# configures it) and runs them on the display in DISPLAY, or on a virtual X server started for the
# run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/screenshots
window_args=()
while (($#)); do
  case $1 in
  --lang)
    window_args+=(--lang "${2:?screenshots: --lang needs zh or en}")
    shift 2
    ;;
  --lang=*)
    window_args+=("$1")
    shift
    ;;
  *)
    out=$1
    shift
    ;;
  esac
done

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
cmake --build "$build" --parallel "$jobs" --target layoutshots windowshots

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
  # Large enough for the main window at scale 2; 96 dots per inch, or the editor, which takes a
  # screen's factor as it comes, would draw "scale 1" at 100/96 (the size is whole millimetres at 96).
  Xvfb ":$display" -screen 0 2400x1440x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
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
# The window's debug messages are left out; what the programs themselves say about a shot is kept.
export QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false"
for scale in 1 2; do
  folder="$out/scale$scale"
  QT_SCALE_FACTOR=$scale "$build/tests/layoutshots" --out "$folder"
  QT_SCALE_FACTOR=$scale "$build/tests/windowshots" --out "$folder" "${window_args[@]}"
done
echo "screenshots: the PNGs are in $out/scale1 and $out/scale2"
