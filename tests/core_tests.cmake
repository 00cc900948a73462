# The tests of the Qt-free core, one executable a source folder, and their in-memory support.
# Included by tests/CMakeLists.txt, which provides zk_add_test(name SOURCES ... LIBS ...); the
# Windows build runs them under Wine too.
set(ZK_TESTS ${CMAKE_CURRENT_LIST_DIR})

# In-memory controls and views (no Qt).
add_library(zk_test_support STATIC
    ${ZK_TESTS}/support/config_replies.cpp
    ${ZK_TESTS}/support/hex.cpp
    ${ZK_TESTS}/support/memory_controls.cpp
    ${ZK_TESTS}/support/recording_sender.cpp
    ${ZK_TESTS}/support/refused_blocks.cpp)
target_include_directories(zk_test_support PUBLIC ${ZK_TESTS})
target_link_libraries(zk_test_support PUBLIC zk_core GTest::gtest PRIVATE zk_warnings)

zk_add_test(test_base LIBS zk_test_support SOURCES
    ${ZK_TESTS}/base/file_read_test.cpp
    ${ZK_TESTS}/base/file_write_test.cpp
    ${ZK_TESTS}/base/ipv4_text_test.cpp
    ${ZK_TESTS}/base/printable_test.cpp
    ${ZK_TESTS}/base/receive_buffer_test.cpp
    ${ZK_TESTS}/base/text_lines_test.cpp
    ${ZK_TESTS}/base/text_test.cpp
    ${ZK_TESTS}/base/values_test.cpp)
zk_add_test(test_view LIBS zk_test_support zk_windows SOURCES
    ${ZK_TESTS}/view/batched_list_test.cpp
    ${ZK_TESTS}/view/layout_test.cpp)
zk_add_test(test_protocol LIBS zk_test_support SOURCES
    ${ZK_TESTS}/protocol/code_text_test.cpp
    ${ZK_TESTS}/protocol/hs3_frame_test.cpp
    ${ZK_TESTS}/protocol/replies_test.cpp
    ${ZK_TESTS}/protocol/request_test.cpp
    ${ZK_TESTS}/protocol/requests_test.cpp
    ${ZK_TESTS}/protocol/send_path_test.cpp)
zk_add_test(test_discovery LIBS zk_test_support SOURCES
    ${ZK_TESTS}/discovery/answer_rule_test.cpp
    ${ZK_TESTS}/discovery/message_test.cpp
    ${ZK_TESTS}/discovery/parameter_block_test.cpp
    ${ZK_TESTS}/discovery/search_reply_test.cpp)
zk_add_test(test_present_find LIBS zk_test_support zk_windows SOURCES
    ${ZK_TESTS}/present/find/find_handlers_test.cpp
    ${ZK_TESTS}/present/find/find_watch_test.cpp
    ${ZK_TESTS}/present/find/find_window_model_test.cpp
    ${ZK_TESTS}/present/find/open_settings_test.cpp)
zk_add_test(test_present_settings LIBS zk_test_support zk_windows SOURCES
    ${ZK_TESTS}/present/settings/answer_watch_test.cpp
    ${ZK_TESTS}/present/settings/cards_test.cpp
    ${ZK_TESTS}/present/settings/fingerprints_test.cpp
    ${ZK_TESTS}/present/settings/page_basic_test.cpp
    ${ZK_TESTS}/present/settings/page_fixture.cpp
    ${ZK_TESTS}/present/settings/present_test.cpp
    ${ZK_TESTS}/present/settings/serial_codes_test.cpp
    ${ZK_TESTS}/present/settings/settings_window_model_test.cpp)
zk_add_test(test_app LIBS zk_test_support SOURCES
    ${ZK_TESTS}/app/adapter_list_test.cpp
    ${ZK_TESTS}/app/settings_file_test.cpp)
