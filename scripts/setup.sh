#!/usr/bin/env bash
# Installs the Debian packages that building and testing Nimbo needs.
#
# Usage: scripts/setup.sh [--test] [--windows] [--bench]
#   (no option)  what the main job needs: building the nimbo command and opening the terminal editor
#   --test       also the tests (Neovim and Emacs with eglot for the language server's, tmux for the editor's, strace for the save faults,
#                Chromium, ripgrep and the Kerberos headers for the extension's run in a real VS Code), the fuzz targets, the Debian
#                packaging and lintian, and the API reference
#   --windows    also the 32-bit Windows cross-compiler, Wine and a virtual display
#   --bench      also the peers the benchmarks compare with
# apt-get runs only when a package is missing.
set -euo pipefail

PACKAGES=(build-essential cmake g++ libncurses-dev libcli11-dev nlohmann-json3-dev libattr1-dev libacl1-dev)
TEST_PACKAGES=(clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev tmux pkg-config neovim
               dpkg-dev file debhelper lintian doxygen ccache
               strace emacs-nox elpa-eglot
               chromium libkrb5-dev ripgrep)
WINDOWS=0
for arg in "$@"; do
  case "$arg" in
    --test)    PACKAGES+=("${TEST_PACKAGES[@]}")
               # The VS Code extension's tests need Node.js and npm; a machine that
               # already has them (from elsewhere than Debian) keeps its own.
               command -v npm >/dev/null || PACKAGES+=(nodejs npm) ;;
    --windows) WINDOWS=1
               PACKAGES+=(g++-mingw-w64-i686 wine wine32:i386 xvfb xauth googletest) ;;
    --bench)   PACKAGES+=(libinih-dev libsimpleini-dev universal-ctags pkg-config python3 valgrind) ;;
    *) echo "setup.sh: unknown option '$arg'" >&2; exit 2 ;;
  esac
done

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ "$WINDOWS" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  # Recommended packages come along only for Wine, which was tested with them.
  RECOMMENDS=--no-install-recommends
  [ "$WINDOWS" -eq 1 ] && RECOMMENDS=
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y $RECOMMENDS "${missing[@]}"
fi
