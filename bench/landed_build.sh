# Sourced by the benchmarks that compare with the landed program.
#
# build_landed COMMIT PRESET TARGET FILE_NAME DEST LOG_DIR: builds TARGET of
# COMMIT with the CMake PRESET in a throw-away worktree, copies the built file
# FILE_NAME to DEST and removes the worktree again. Returns non-zero, with the
# build's last lines in LOG_DIR/landed-build.log, when it did not build.
build_landed() {
    local commit=$1 preset=$2 target=$3 file_name=$4 dest=$5 logs=$6
    local repo tree built status=0
    repo=$(git -C "$(dirname "${BASH_SOURCE[0]}")" rev-parse --show-toplevel)
    tree=$(mktemp -d "${TMPDIR:-/tmp}/vt-landed.XXXXXX")
    rmdir "$tree"
    git -C "$repo" worktree add --quiet --detach "$tree" "$commit" || return 1
    echo "building $target of $commit ($(git -C "$tree" log -1 --format=%h))" >&2
    if (
        cd "$tree" &&
            export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache} \
                CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work} &&
            cmake --preset "$preset" &&
            cmake --build "build/$preset" -j2 --target "$target"
    ) >"$logs/landed-build.log" 2>&1; then
        built=$(find "$tree/build/$preset" -type f -name "$file_name" | head -n 1)
        if [ -n "$built" ]; then cp "$built" "$dest"; else status=1; fi
    else
        status=1
    fi
    git -C "$repo" worktree remove --force "$tree" 2>/dev/null || true
    rm -rf "$tree"
    git -C "$repo" worktree prune
    return "$status"
}
