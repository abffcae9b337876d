#!/usr/bin/env bash
# Builds the program and starts it; without a display it starts on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the program on a virtual display (Xvfb); set DISPLAY to see it."
  exec xvfb-run -a ./build/src/app/zelt "$@"
fi
exec ./build/src/app/zelt "$@"
