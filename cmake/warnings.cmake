# Warnings apply to our own targets only; third-party headers come in as system includes.
add_library(zk_warnings INTERFACE)
target_compile_options(zk_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
# GCC 12 at -O2 reports overlapping copies inside std::string concatenation that cannot happen
# (GCC bug 105329); optimised builds would otherwise fail under -Werror on library code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(zk_warnings INTERFACE $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict>)
endif()
# The test command and CI make every warning an error; a user's own build with a newer compiler
# is not stopped by a warning that compiler adds.
# Kept in the cache, so that ninja's own re-runs of CMake (without the variable) keep it.
if(DEFINED ENV{CI} OR DEFINED ENV{ZK_WERROR})
    set(ZK_WERROR ON CACHE BOOL "Treat warnings as errors" FORCE)
endif()
if(ZK_WERROR)
    target_compile_options(zk_warnings INTERFACE -Werror)
endif()
