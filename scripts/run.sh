#!/usr/bin/env bash
# Builds the desktop program in build/ and starts it with the given arguments
# (tessaly [--settings FILE] [PATH | tessal://URL]; --help and --version pass
# straight through). Where there is no display it runs on a virtual screen
# (xvfb-run), so the same command works in a container.
set -euo pipefail
cd "$(dirname "$0")/.."

headless=false
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  headless=true
fi
if $headless; then scripts/deps.sh build run; else scripts/deps.sh build; fi

cmake -S . -B build -G Ninja -DTESSALY_TESTS=OFF >/dev/null
cmake --build build --target tessaly_gui tessaly-cli tessaly

# --help and --version only print: no window, so no virtual screen either.
for arg in "$@"; do
  case "$arg" in
    --help | -h | --version)
      $headless && export QT_QPA_PLATFORM=offscreen
      exec build/bin/tessaly "$@" ;;
  esac
done

if $headless; then
  echo "run.sh: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); running on a virtual screen with xvfb-run" >&2
  exec xvfb-run -a build/bin/tessaly "$@"
fi
exec build/bin/tessaly "$@"
