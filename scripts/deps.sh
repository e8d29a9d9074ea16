#!/usr/bin/env bash
# Installs the Debian packages a task needs, skipping those already present.
# Usage: scripts/deps.sh build|test|run|fuzz|bench ...
set -euo pipefail

packages=()
for group in "$@"; do
  case "$group" in
    # qt6-base-dev: Qt Widgets for the window and Qt Test for its tests. The
    # icons are bundled as PNGs, so no SVG support is needed.
    build) packages+=(g++ cmake ninja-build libcli11-dev nlohmann-json3-dev qt6-base-dev) ;;
    test)  packages+=(qt6-base-dev libgtest-dev libgmock-dev lame ffmpeg eyed3 id3v2 kid3-cli python3 python3-mutagen shared-mime-info desktop-file-utils) ;;
    # A virtual screen for running the window where there is no display.
    run)   packages+=(xvfb xauth) ;;
    fuzz)  packages+=(clang libclang-rt-14-dev) ;;
    bench) packages+=(libtag1-dev pkg-config) ;;
    *) echo "deps.sh: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
