# Fails when a file outside src/discovery/ reaches into a configuration datagram by offset: the
# layout header, its offset namespace or the byte accessors the typed messages replaced. Run as
# cmake -DZK_SOURCE=<checkout> -P offsets_stay_inside.cmake.
set(pattern "offset::|discovery/layout\\.h|discovery/block_codec\\.h|take_ipv4\\(|take_mac\\(|put_block_fields|take_block\\(|mac_at\\(|ipv4_at\\(|accepted_code\\(|parameters_of\\(|config_request\\(|ConfigCode")
file(GLOB_RECURSE sources
     "${ZK_SOURCE}/src/*.h" "${ZK_SOURCE}/src/*.cpp"
     "${ZK_SOURCE}/bench/*.h" "${ZK_SOURCE}/bench/*.cpp"
     "${ZK_SOURCE}/fuzz/*.h" "${ZK_SOURCE}/fuzz/*.cpp")
set(found 0)
foreach(source IN LISTS sources)
    if(source MATCHES "/src/discovery/")
        continue()
    endif()
    file(STRINGS "${source}" hits REGEX "${pattern}")
    foreach(hit IN LISTS hits)
        message(NOTICE "${source}: ${hit}")
        math(EXPR found "${found} + 1")
    endforeach()
endforeach()
if(found GREATER 0)
    message(FATAL_ERROR "${found} lines outside src/discovery/ name a configuration-datagram offset; "
                        "use the typed messages of discovery/message.h")
endif()
list(LENGTH sources checked)
message(STATUS "${checked} files checked, none names an offset")
