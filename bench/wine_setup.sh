# shellcheck shell=bash
# Sourced by the benchmarks that run under Wine: the Windows build's programs
# and test programs in a bench folder of their own, and a scenario of the
# Wine tests' kind (its own prefix and Xvfb) named $1.
#   source bench/wine_setup.sh NAME
bench_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench_build=$bench_repo/build/windows
[ -f "$bench_build/bench/wine_read_back/poll_peer.exe" ] ||
    { echo "build/windows has no benchmark programs: build the windows preset first" >&2; exit 2; }
export WINE_WORK_ROOT=$bench_build/bench-runs
export WINE_BIN_DIR=$WINE_WORK_ROOT/bin
mkdir -p "$WINE_BIN_DIR"
cp "$bench_build/src/platform/win32/vt-haltward.exe" "$bench_build"/tests/wine/*.exe \
    "$bench_build"/bench/wine_read_back/*.exe "$WINE_BIN_DIR/"
# shellcheck source=tests/wine/lib.sh
source "$bench_repo/tests/wine/lib.sh"
scenario_setup "$1"
