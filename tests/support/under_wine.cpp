#include "support/under_wine.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zk::test {

bool under_wine()
{
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace zk::test
