#!/usr/bin/env bash
# Installs, with apt, exactly the packages that this machine is missing. Safe to run again.
# Usage: scripts/setup.sh [extra-package ...]
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5svg5-dev
  xvfb xauth x11-apps imagemagick
  fonts-dejavu-core fonts-liberation fonts-noto-cjk
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
