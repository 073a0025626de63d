#!/bin/bash
# Start-up benchmark: vt-haltward against an empty FLTK window, under a
# private Xvfb (no window manager), settings in a temporary directory.
#   bench/start/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-${VT_BUILD_DIR:-$(dirname "$0")/../../build/debug}}
runs=${2:-20}
probe=$build/bench/start/start_probe
empty=$build/bench/start/empty_fltk_window
program=$build/src/platform/linux/vt-haltward
for file in "$probe" "$empty" "$program"; do
  [[ -x $file ]] || { echo "missing $file: build it first" >&2; exit 1; }
done

work=$(mktemp -d)
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

export DISPLAY=$display XDG_CONFIG_HOME=$work/config LANG=C.UTF-8
read -r empty_ms empty_min empty_kib vt_ms vt_min vt_kib < <(
  "$probe" "$runs" "$empty" "$program" | tr '\n' ' '; echo)

awk -v em="$empty_ms" -v en="$empty_min" -v ek="$empty_kib" \
    -v vm="$vt_ms" -v vn="$vt_min" -v vk="$vt_kib" -v runs="$runs" 'BEGIN {
  printf "start-up over %d runs each (exec to mapped window)\n", runs
  printf "%-22s %12s %10s %12s\n", "program", "median ms", "min ms", "RSS MiB"
  printf "%-22s %12.1f %10.1f %12.1f\n", "empty FLTK window", em, en, ek / 1024
  printf "%-22s %12.1f %10.1f %12.1f\n", "vt-haltward", vm, vn, vk / 1024
  printf "ratio vt-haltward / empty: start %.2f (goal <= 1.5), memory %.1f MiB (goal <= 12)\n", vm / em, vk / 1024
}'
