#!/usr/bin/env bash
# Builds what the program needs and starts it. Without a display it starts on a virtual one that
# nobody can see, writes a picture of the first window and waits until the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh --target zelt_run
program=./build/src/app/zelt
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@"
fi

picture="$PWD/build/first-window.png"
number="$(mktemp)"
rm -f "$picture"
# Xvfb picks a free display itself and writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do
  [ -s "$number" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "The virtual display (Xvfb) did not start." >&2; exit 1; }
  sleep 0.1
done
[ -s "$number" ] || { echo "The virtual display (Xvfb) did not start." >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$number")"
echo "No display found: the program runs on the virtual display $DISPLAY, which nobody can see."

ZELT_FIRST_WINDOW_PNG="$picture" QT_QPA_PLATFORM=xcb "$program" "$@" &
zelt=$!
trap 'kill "$zelt" 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -f "$number"' EXIT
trap 'exit 130' INT TERM
for _ in $(seq 600); do
  [ -s "$picture" ] && break
  kill -0 "$zelt" 2>/dev/null || break
  sleep 0.1
done
if [ -s "$picture" ]; then
  echo "A picture of its first window: $picture"
else
  echo "The program wrote no picture of its first window."
fi
echo "It waits there for its user; press Ctrl+C (or run: kill $zelt) to end it."
status=0
wait "$zelt" || status=$?
exit "$status"
