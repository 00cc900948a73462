# Each target's sources are compiled in batches of eight, one translation unit a batch: the JSON,
# CLI11 and GoogleTest templates are then instantiated once a batch instead of once a source. Cold,
# ccache off, CPU seconds: the Windows tree 708 -> 272, the package's Release tree 357 -> 169.
# A batch would hide a source's missing include that an earlier source of the same batch provides:
# the Release tree (scripts/lib/release_build.sh) compiles every source on its own, so there it
# still fails, and the sources that only Windows compiles are kept out of batches in every tree
# (src/CMakeLists.txt, src/ui/win32/CMakeLists.txt). The tests are compiled in batches everywhere.
# Sources of one target share a namespace in a batch: helpers in anonymous namespaces need names
# of their own across the target.
option(ZK_UNITY "Compile each target's sources in batches (CMAKE_UNITY_BUILD)" ON)
set(CMAKE_UNITY_BUILD ${ZK_UNITY})
