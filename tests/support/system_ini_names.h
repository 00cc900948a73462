#pragma once
// The section [网卡列表] and the key 选择项 of system.ini in GBK, spelled out byte by byte
// independently of the program's constants.
#include <string>

namespace zk::test {

inline const std::string gbk_adapter_section = "\xCD\xF8\xBF\xA8\xC1\xD0\xB1\xED";
inline const std::string gbk_choice_key = "\xD1\xA1\xD4\xF1\xCF\xEE";

} // namespace zk::test
