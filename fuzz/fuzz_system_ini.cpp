// system.ini as any earlier tool or editor may have left it: the adapter choice is read, then
// written the way the find window stores it (a decimal index, -1 for none), and read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    (void)ini_value(file, adapter_section, adapter_key);

    const std::string chosen = ini_with_value(file, adapter_section, adapter_key, "12");
    fuzz::require(ini_value(chosen, adapter_section, adapter_key) == "12",
                  "a written choice reads back");
    fuzz::require(ini_with_value(chosen, adapter_section, adapter_key, "12") == chosen,
                  "writing the same choice again changes no byte");

    const std::string cleared = ini_with_value(chosen, adapter_section, adapter_key, "-1");
    fuzz::require(ini_value(cleared, adapter_section, adapter_key) == "-1",
                  "a changed choice reads back");
    fuzz::require(ini_with_value(cleared, adapter_section, adapter_key, "12") == chosen,
                  "changing the choice touches only its own line");
    return 0;
}
