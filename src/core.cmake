# Qt-free core: conversions, controls, protocol, discovery, command handlers, program state, and
# the window layouts as data (view/*.cpp; only ui/qt/ touches widgets). Included by the main
# build and by the Windows cross-build of the core (cmake/windows-core), so both build the same.
set(ZK_SRC ${CMAKE_CURRENT_LIST_DIR})
file(GLOB ZK_CORE_SOURCES CONFIGURE_DEPENDS
    ${ZK_SRC}/runtime/*.cpp ${ZK_SRC}/protocol/*.cpp ${ZK_SRC}/discovery/*.cpp
    ${ZK_SRC}/commands/*.cpp ${ZK_SRC}/app/*.cpp ${ZK_SRC}/view/*.cpp)
list(FILTER ZK_CORE_SOURCES EXCLUDE REGEX "runtime/(datagram_endpoint|adapters|host_addresses)[^/]*\\.cpp$")
list(FILTER ZK_CORE_SOURCES EXCLUDE REGEX "app/main\\.cpp$")
add_library(zk_core STATIC ${ZK_CORE_SOURCES})
target_include_directories(zk_core PUBLIC ${ZK_SRC})
target_link_libraries(zk_core PRIVATE zk_warnings)
