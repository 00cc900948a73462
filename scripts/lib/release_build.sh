# shellcheck shell=bash
# The Release tree build-release/ (no tests, no benchmarks) that run.sh, demo.sh and package.sh
# share, so that each of them only rebuilds what changed. Without precompiled headers, which would
# hide a source's missing include of what they hold.
# shellcheck source=scripts/lib/owner.sh
source "$(dirname "${BASH_SOURCE[0]}")/owner.sh"

# build_release [TARGET...]: configures and builds the tree (every target when none is named),
# and hands it back to the sudo user even when the build fails.
build_release() {
    local targets=() status=0
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF \
        -DZK_BUILD_BENCH=OFF -DZK_PCH=OFF >/dev/null &&
        cmake --build build-release "${targets[@]}" || status=$?
    give_back build-release
    return $status
}
