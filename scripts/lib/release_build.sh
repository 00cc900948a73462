# shellcheck shell=bash
# The Release tree build-release/ (no tests, no benchmarks) that run.sh, demo.sh and package.sh
# share, so that each of them only rebuilds what changed. Without precompiled headers and without
# batches of sources: every source of the programs is compiled on its own includes, so a missing
# include fails here even where the test command's other trees precompile or batch it.
# shellcheck source=scripts/lib/owner.sh
source "$(dirname "${BASH_SOURCE[0]}")/owner.sh"

# build_release [TARGET...]: configures and builds the tree (every target when none is named),
# and hands it back to the sudo user even when the build fails.
build_release() {
    local targets=() status=0
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF \
        -DZK_BUILD_BENCH=OFF -DZK_PCH=OFF -DZK_UNITY=OFF >/dev/null &&
        cmake --build build-release "${targets[@]}" || status=$?
    give_back build-release
    return $status
}
