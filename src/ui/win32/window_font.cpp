#include "ui/win32/window_font.h"

namespace zk::win32 {

namespace {

int CALLBACK note_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool font_exists(const wchar_t* face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, note_found, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Functions of newer Windows versions, looked up so the program still starts on older ones.
template <class Function> Function user32_function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

} // namespace

std::wstring ui_font_face()
{
    static const std::wstring face =
        font_exists(L"Microsoft YaHei") ? L"Microsoft YaHei" : L"SimSun";
    return face;
}

HFONT create_ui_font(UINT dpi)
{
    constexpr int points = 9;
    const int height = -MulDiv(points, static_cast<int>(dpi), 72);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, ui_font_face().c_str());
}

int scaled(int length, UINT dpi)
{
    return MulDiv(length, static_cast<int>(dpi), static_cast<int>(layout_dpi));
}

void become_dpi_aware()
{
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (auto set = user32_function<SetContext>("SetProcessDpiAwarenessContext")) {
        // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, else version 1.
        if (set(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)))) return;
        if (set(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-3)))) return;
    }
    SetProcessDPIAware();
}

UINT dpi_of(HWND window)
{
    using GetDpi = UINT(WINAPI*)(HWND);
    using GetSystemDpi = UINT(WINAPI*)();
    static const auto get = user32_function<GetDpi>("GetDpiForWindow");
    static const auto get_system = user32_function<GetSystemDpi>("GetDpiForSystem");
    UINT dpi = 0;
    if (window && get) dpi = get(window);
    if (!window && get_system) dpi = get_system();
    return dpi ? dpi : layout_dpi;
}

} // namespace zk::win32
