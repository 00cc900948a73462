# Each target's sources are compiled in batches of eight, one translation unit a batch: the JSON,
# CLI11 and GoogleTest templates are then instantiated once a batch instead of once a source (the
# package's Release tree: 357 s of CPU cold, 169 s in batches). A batch would hide a source's
# missing include that an earlier source of the same batch provides: the Windows tree
# (scripts/wine-test.sh) compiles every source on its own, and there it still fails; Qt's sources,
# which that tree lacks, are compiled one by one in every tree (src/CMakeLists.txt).
# Sources of one target share a namespace in a batch: helpers in anonymous namespaces need names
# of their own across the target.
option(ZK_UNITY "Compile each target's sources in batches (CMAKE_UNITY_BUILD)" ON)
set(CMAKE_UNITY_BUILD ${ZK_UNITY})
