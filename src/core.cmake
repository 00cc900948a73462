# The Qt-free core, one folder a layer, each using only those above it in this list: values and
# conversions (base), the windows as data (view), the HS3 codec (protocol), the configuration
# datagram codec (discovery), a projector's codes as the page and its library hold them
# (projectors; the JSON library loader is zk_projectors), the two windows' presenters
# (present/find, present/settings) and the program's state and settings file (app). Built alike
# for Linux and, cross-built, for Windows.
set(ZK_SRC ${CMAKE_CURRENT_LIST_DIR})
add_library(zk_core STATIC
    ${ZK_SRC}/base/adapter_source.cpp
    ${ZK_SRC}/base/file_read.cpp
    ${ZK_SRC}/base/file_write.cpp
    ${ZK_SRC}/base/ipv4_text.cpp
    ${ZK_SRC}/base/printable.cpp
    ${ZK_SRC}/base/program_folder.cpp
    ${ZK_SRC}/base/program_start.cpp
    ${ZK_SRC}/base/receive_buffer.cpp
    ${ZK_SRC}/base/text.cpp
    ${ZK_SRC}/base/text_lines.cpp
    ${ZK_SRC}/base/values.cpp
    ${ZK_SRC}/view/control_set.cpp
    ${ZK_SRC}/view/controls.cpp
    ${ZK_SRC}/view/find_layout.cpp
    ${ZK_SRC}/view/layout.cpp
    ${ZK_SRC}/view/settings_layout.cpp
    ${ZK_SRC}/protocol/answer_rule.cpp
    ${ZK_SRC}/protocol/code_text.cpp
    ${ZK_SRC}/protocol/hs3_frame.cpp
    ${ZK_SRC}/protocol/replies.cpp
    ${ZK_SRC}/protocol/request.cpp
    ${ZK_SRC}/protocol/code_blocks.cpp
    ${ZK_SRC}/protocol/send_path.cpp
    ${ZK_SRC}/discovery/answer_rule.cpp
    ${ZK_SRC}/discovery/config_datagram.cpp
    ${ZK_SRC}/discovery/message.cpp
    ${ZK_SRC}/discovery/module_settings.cpp
    ${ZK_SRC}/discovery/parameter_block.cpp
    ${ZK_SRC}/discovery/refusals.cpp
    ${ZK_SRC}/discovery/search_reply.cpp
    ${ZK_SRC}/projectors/projector_entry.cpp
    ${ZK_SRC}/present/find/find_handlers.cpp
    ${ZK_SRC}/present/find/find_watch.cpp
    ${ZK_SRC}/present/find/local_address.cpp
    ${ZK_SRC}/present/find/open_settings.cpp
    ${ZK_SRC}/present/settings/answer_watch.cpp
    ${ZK_SRC}/present/settings/buttons.cpp
    ${ZK_SRC}/present/settings/cards.cpp
    ${ZK_SRC}/present/settings/context.cpp
    ${ZK_SRC}/present/settings/field_number.cpp
    ${ZK_SRC}/present/settings/fingerprints.cpp
    ${ZK_SRC}/present/settings/identity_volume.cpp
    ${ZK_SRC}/present/settings/present.cpp
    ${ZK_SRC}/present/settings/serial_codes.cpp
    ${ZK_SRC}/present/settings/serial_codes_library.cpp
    ${ZK_SRC}/present/settings/serial_codes_text.cpp
    ${ZK_SRC}/present/settings/timings_mode.cpp
    ${ZK_SRC}/app/adapter_list.cpp
    ${ZK_SRC}/app/settings_file.cpp)
target_include_directories(zk_core PUBLIC ${ZK_SRC})
target_link_libraries(zk_core PRIVATE zk_warnings)
if(WIN32)
    # The wide command line is split by the shell's CommandLineToArgvW.
    target_link_libraries(zk_core PUBLIC shell32)
endif()
