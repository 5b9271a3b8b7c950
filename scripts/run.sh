#!/usr/bin/env bash
# Sets the machine up, builds the editor (Release) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
headless=false
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then headless=true; fi
if $headless; then
  # xvfb-run needs xauth.
  "$root/scripts/setup.sh" xvfb xauth
else
  "$root/scripts/setup.sh"
fi
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=OFF >/dev/null
cmake --build "$build" --parallel
if $headless; then
  echo "run: no display found; starting the editor on a virtual X server (xvfb-run)" >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build/app/brisklane" "$@"
fi
exec "$build/app/brisklane" "$@"
