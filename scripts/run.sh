#!/usr/bin/env bash
# Installs what is missing, makes a release build and starts Nuvela Utilities.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUVELA_TESTS=OFF -DNUVELA_BENCH=OFF
cmake --build build-release --target nuvela-utilities
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: Nuvela Utilities is a desktop program and needs one."
  echo "Start it from a desktop session, or on a machine without a screen run:"
  echo "  xvfb-run -a build-release/src/app/nuvela-utilities"
  exit 1
fi
exec build-release/src/app/nuvela-utilities "$@"
