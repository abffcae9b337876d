#!/usr/bin/env bash
# The real program's start-up over a register of N records (100,000 by default) and the
# 65,536-record parties file, on a virtual display (Xvfb) under openbox, beside a `cat` of the
# register to /dev/null. Each run starts the program, waits for the sign-in, types the password
# with xdotool and waits until the main list's rows are painted; the time printed is the time to
# the painted list without the typing. Also the program's resident memory at that moment.
#   bench/realstart.sh [records] [runs]
# Needs a Release build in build-rel (or BUILD=<folder>): bench_startup's helpers swiat_startu and
# lista_namalowana and the program. ZELT=<program> measures another build of the program.
set -euo pipefail
cd "$(dirname "$0")/.."
records="${1:-100000}"
runs="${2:-3}"
build="${BUILD:-build-rel}"
program="${ZELT:-$build/src/app/zelt}"
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
for f in "$program" "$build/bench/swiat_startu" "$build/bench/lista_namalowana"; do
  [ -x "$f" ] || { echo "$f is missing: cmake --build $build --target zelt swiat_startu lista_namalowana" >&2; exit 1; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

password=adm
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export ZELT_REGISTRY="$work/registry.txt"
baza="$HOME/Documents/ZELT/Baza"
echo "Building the world of $records records..."
"$build/bench/swiat_startu" "$ZELT_REGISTRY" "$baza" "$records" "$password"
cp "$ZELT_REGISTRY" "$work/registry.start"

number="$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp 3>"$number" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
[ -s "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$number")"
openbox --sm-disable --startup "touch $work/openbox-ready" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/openbox-ready" ] && break; sleep 0.1; done
[ -e "$work/openbox-ready" ] || { echo "openbox did not start" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb

now_us() { local t=$EPOCHREALTIME; echo $((${t/./})); }
ms() { awk -v a="$1" 'BEGIN { printf "%.0f", a / 1000 }'; }

results=()
for run in $(seq "$runs"); do
  cp "$work/registry.start" "$ZELT_REGISTRY"
  rm -f "$work"/watch "$work"/clients "$work"/state
  mkfifo "$work/watch" "$work/clients" "$work/state"
  # The watcher of the list's area (the main window stands at the top left, 1200 x 900).
  "$build/bench/lista_namalowana" 10 60 1180 800 120 >"$work/watch" &
  watcher=$!
  pids+=("$watcher")
  exec 5<"$work/watch"
  read -r ready <&5
  [ "$ready" = gotowy ] || { echo "the watcher did not start" >&2; exit 1; }
  # The client windows openbox manages, one line at each change of the list.
  xprop -root -spy _NET_CLIENT_LIST >"$work/clients" &
  clients=$!
  pids+=("$clients")
  exec 6<"$work/clients"
  read -r _ <&6  # the list before the program
  t0=$(now_us)
  "$program" >/dev/null 2>"$work/zelt.err" &
  zelt=$!
  pids+=("$zelt")
  # The splash is the program's first window: withdrawn after the load, shown again for the sign-in.
  splash=""
  while [ -z "$splash" ] && read -r line <&6; do
    splash="$(grep -o '0x[0-9a-f]*' <<<"$line" | head -n1 || true)"
  done
  xprop -id "$splash" -spy WM_STATE >"$work/state" &
  state=$!
  pids+=("$state")
  exec 7<"$work/state"
  withdrawn=0
  while read -r line <&7; do
    case "$line" in
      *"not found"* | *"window state: Withdrawn"*) withdrawn=1 ;;
      *"window state: Normal"*) [ "$withdrawn" = 1 ] && break ;;
    esac
  done
  t1=$(now_us)
  kill "$state" "$clients" 2>/dev/null || true
  exec 6<&- 7<&-
  xdotool windowactivate --sync "$splash" 2>/dev/null || true
  xdotool type --delay 20 "$password"
  xdotool key Return
  t2=$(now_us)
  read -r t3 <&5 || { echo "the list was never painted (run $run)" >&2; cat "$work/zelt.err" >&2; exit 1; }
  rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$zelt/status")
  exec 5<&-
  kill "$zelt" 2>/dev/null || true
  wait "$zelt" 2>/dev/null || true
  start_us=$(((t1 - t0) + (t3 - t2)))
  c0=$(now_us)
  cat "$baza/transak.dat" >/dev/null
  c1=$(now_us)
  cat_us=$((c1 - c0))
  ratio=$(awk -v a="$start_us" -v b="$cat_us" 'BEGIN { printf "%.1f", a / b }')
  echo "run $run: start-up to the painted list $(ms "$start_us") ms (typing $(ms $((t2 - t1))) ms left out)," \
    "cat of the register $(ms "$cat_us") ms, ratio ${ratio}x, resident memory $((rss_kb / 1024)) MiB"
done
