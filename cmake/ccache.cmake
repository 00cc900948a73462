# Every compile goes through ccache when it is installed (scripts/setup.sh --dev installs it), so
# a second build of the same sources, in this tree or in a fresh clone elsewhere on the machine,
# takes its objects from the cache. -DZK_CCACHE=OFF, or a launcher of one's own, turns it off.
option(ZK_CCACHE "Compile through ccache when it is installed" ON)
if(ZK_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    find_program(ZK_CCACHE_PROGRAM ccache)
endif()
if(ZK_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER AND ZK_CCACHE_PROGRAM)
    # Paths under the checkout are hashed relative to the build folder, and the build folder
    # itself is not hashed, so another clone hits too (its debugging data then names the folder
    # the object was first compiled in). The precompiled headers need the sloppiness: ccache
    # cannot see a macro or __TIME__ through them, and the header is always newer than the build
    # start.
    set(zk_launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
        CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        ${ZK_CCACHE_PROGRAM})
    set(CMAKE_C_COMPILER_LAUNCHER ${zk_launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${zk_launcher})
endif()
