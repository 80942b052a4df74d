#!/usr/bin/env bash
# Installs the Debian packages that building and testing Nimbo needs.
# Skips apt-get when every package is already installed.
set -euo pipefail

PACKAGES=(build-essential cmake g++ libgtest-dev libgmock-dev libbenchmark-dev
          libncurses-dev tmux)

missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
