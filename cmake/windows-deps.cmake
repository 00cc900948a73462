# The Windows cross-build's libraries. Debian's nlohmann-json and CLI11 are header-only and serve
# MinGW as well, but their headers lie in /usr/include beside glibc's, which a Windows compile
# must never search; each gets a folder of the build tree holding only a link to its headers.
# GoogleTest is built from its sources (Debian's googletest) with the same compiler.
set(zk_header_only ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${zk_header_only})
foreach(headers nlohmann CLI)
    if(NOT EXISTS /usr/include/${headers})
        message(FATAL_ERROR "/usr/include/${headers} is missing: run scripts/setup.sh --dev")
    endif()
    file(CREATE_LINK /usr/include/${headers} ${zk_header_only}/${headers} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${zk_header_only}
    INTERFACE_INCLUDE_DIRECTORIES ${zk_header_only})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${zk_header_only}
    INTERFACE_INCLUDE_DIRECTORIES ${zk_header_only})

if(ZK_BUILD_TESTS)
    set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "googletest sources")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
