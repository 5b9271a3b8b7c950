#!/usr/bin/env bash
# Builds the Debian package of the editor and its command-line tool into build/package.
#   scripts/package.sh          -> build/package/brisklane_<version>-<revision>_<arch>.deb
#                                  and brisklane-dbgsym_<version>-<revision>_<arch>.ddeb
#   scripts/package.sh --check  the same, then checks the package as a distribution would: lintian
#                               (no error, no warning), desktop-file-validate, appstreamcli and the
#                               manual pages through man's own warnings
# Install it with `apt install ./build/package/brisklane_*.deb`; `apt purge brisklane` takes it
# away again. The Windows installer is made on Windows with `cpack -G NSIS` (see README).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check=false
case ${1:-} in
  "") ;;
  --check) check=true ;;
  *)
    echo "package.sh: unknown argument '$1' (--check or nothing)" >&2
    exit 2
    ;;
esac
# dpkg-shlibdeps and file give the .deb its dependencies; dpkg-buildflags its hardening flags.
extra=(dpkg-dev file)
if $check; then extra+=(lintian appstream desktop-file-utils man-db groff-base); fi
"$root/scripts/setup.sh" "${extra[@]}"
build="$root/build/package"
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Debian's hardening flags (fortify, stack protector, relro and now; PIE is the compiler's
# default), and -g for the debug symbols package. Given as CMake variables rather than through the
# environment, which CMake reads only when a build folder is made.
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
cxxflags="$(cd "$root" && dpkg-buildflags --get CPPFLAGS) $(cd "$root" && dpkg-buildflags --get CXXFLAGS)"
ldflags=$(cd "$root" && dpkg-buildflags --get LDFLAGS)
# /usr: where a package puts its files, and what the program takes for its installed folder.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKLANE_TESTS=OFF -DBRISKLANE_WERROR=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)"
rm -f "$build"/brisklane_*.deb "$build"/brisklane-dbgsym_*.ddeb
(cd "$build" && cpack -G DEB)
ls "$build"/brisklane_*.deb "$build"/brisklane-dbgsym_*.ddeb
$check || exit 0

deb=$(ls "$build"/brisklane_*.deb)
failed=0
echo "== lintian"
# The notes lintian still gives (I:) are explained in packaging/README.md.
lintian --fail-on error,warning --display-info "$deb" || failed=1
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
echo "== desktop-file-validate"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop || failed=1
echo "== appstreamcli validate-tree"
# The whole tree: the metadata, and the desktop entry and icon it names.
appstreamcli validate-tree --no-net "$unpacked" || failed=1
echo "== manual pages"
for page in "$unpacked"/usr/share/man/man1/*.1.gz; do
  # man's formatter reports what it cannot lay out on stderr; any line there is a fault.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null || echo "man failed")
  if [[ -n $warnings ]]; then
    echo "$page: $warnings"
    failed=1
  else
    echo "$(basename "$page"): ok"
  fi
done
if ((failed)); then
  echo "package.sh: the package has faults (above)" >&2
  exit 1
fi
echo "package.sh: the package passes lintian, desktop-file-validate, appstreamcli and man"
