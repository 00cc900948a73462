# The heavy third-party headers (GoogleTest, nlohmann-json, Qt's widgets) are parsed once a target
# instead of once a source file. A precompiled header is included into every source of its
# target, so it would hide a source's missing include of what it holds: the package's Release
# tree and the Windows tree are built without, and there a missing include still fails.
# Only in Debug builds by default: from a precompiled header, GCC 12 at -O1 reported -Warray-bounds
# inside the standard library's inlined string code (the Windows tree's test_discovery), which it
# stays silent on without one, and warnings are errors.
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(zk_pch_default ON)
else()
    set(zk_pch_default OFF)
endif()
option(ZK_PCH "Precompile the heavy third-party headers of the targets that parse them often"
       ${zk_pch_default})

# zk_precompile(TARGET HEADER...): HEADER as <name>, included in this order.
function(zk_precompile target)
    if(ZK_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
        # clang stamps its precompiled header with the time, which ccache cannot reuse.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
            target_compile_options(${target} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
        endif()
    endif()
endfunction()
