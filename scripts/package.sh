#!/usr/bin/env bash
# Builds the Debian package of the editor and its command-line tool into build/package.
#   scripts/package.sh     -> build/package/brisklane_<version>_<arch>.deb
# Install it with `apt install ./build/package/brisklane_*.deb`; `apt remove brisklane` takes it
# away again. The Windows installer is made on Windows with `cpack -G NSIS` (see README).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# dpkg-shlibdeps and file give the .deb its dependencies.
"$root/scripts/setup.sh" dpkg-dev file
build="$root/build/package"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# /usr: where a package puts its files, and what the program takes for its installed folder.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)"
(cd "$build" && cpack -G DEB)
ls "$build"/brisklane_*.deb
