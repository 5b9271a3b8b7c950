#!/usr/bin/env bash
# Installs, with apt, exactly the packages that this machine is missing. Safe to run again.
# Usage: scripts/setup.sh [extra-package ...]
# Without arguments: what the build and the test suite need. The scripts that need more name it:
# run.sh the virtual X server on a machine without a display, test.sh LLVM and clang for the
# sanitizer and fuzz parts, bench/run Google Benchmark and the libraries it compares with.
set -euo pipefail

packages=(
  # The build; ccache is used by scripts/test.sh when present.
  g++ cmake ninja-build ccache
  qtbase5-dev qtbase5-dev-tools
  # Project files are SQLite databases read through Qt SQL's driver; tests check them with sqlite3.
  libqt5sql5-sqlite sqlite3
  # PNG pictures inflate with it (about twice as fast as Qt's zlib road).
  libdeflate-dev
  # lupdate and lrelease for the translations; Qt's own translations for its dialogs.
  qttools5-dev qttools5-dev-tools qttranslations5-l10n
  # The text tests render with these families (Latin, serif, Chinese).
  fonts-dejavu-core fonts-liberation fonts-noto-cjk
  # tst_cli compares a packed PNG with what ImageMagick's convert decodes (that row is left out
  # without it).
  imagemagick
  # The desktop entry and the AppStream metadata are validated by the packaging test (skipped
  # without them).
  appstream desktop-file-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  echo "setup: nothing to install"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
