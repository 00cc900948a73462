# The tests of the Qt-free core and their in-memory support. Included by tests/CMakeLists.txt
# and by the Windows cross-build (cmake/windows-core), which runs them under Wine; the includer
# provides zk_add_test(name SOURCES ... LIBS ...).
set(ZK_TESTS ${CMAKE_CURRENT_LIST_DIR})

# In-memory controls and views (no Qt).
file(GLOB ZK_SUPPORT_SOURCES CONFIGURE_DEPENDS ${ZK_TESTS}/support/*.cpp)
list(FILTER ZK_SUPPORT_SOURCES EXCLUDE REGEX "support/(qt_|main_)[^/]*\\.cpp$")
add_library(zk_test_support STATIC ${ZK_SUPPORT_SOURCES})
target_include_directories(zk_test_support PUBLIC ${ZK_TESTS})
target_link_libraries(zk_test_support PUBLIC zk_core GTest::gtest PRIVATE zk_warnings)

file(GLOB T_RUNTIME CONFIGURE_DEPENDS ${ZK_TESTS}/runtime/*.cpp)
list(FILTER T_RUNTIME EXCLUDE REGEX "runtime/(datagram_endpoint|adapters|host_addresses)[^/]*\\.cpp$")
foreach(folder protocol discovery commands app)
    string(TOUPPER ${folder} upper)
    file(GLOB T_${upper} CONFIGURE_DEPENDS ${ZK_TESTS}/${folder}/*.cpp)
endforeach()

foreach(folder runtime protocol discovery commands app)
    string(TOUPPER ${folder} upper)
    if(T_${upper})
        zk_add_test(test_${folder} SOURCES ${T_${upper}} LIBS zk_test_support)
    endif()
endforeach()
