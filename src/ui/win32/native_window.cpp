#include "ui/win32/native_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_font.h"

namespace zk::win32 {

namespace {

constexpr const wchar_t* class_name = L"ZkWindow";
constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void register_class(WNDPROC procedure)
{
    static const bool registered = [procedure] {
        WNDCLASSEXW kind{};
        kind.cbSize = sizeof kind;
        kind.lpfnWndProc = procedure;
        const HINSTANCE program = GetModuleHandleW(nullptr);
        kind.hInstance = program;
        // The taskbar and Alt+Tab take the large icon, the title bar the small one; each from
        // its own image in the icon rather than one shrunk to the other's size.
        kind.hIcon = LoadIconW(program, MAKEINTRESOURCEW(ZK_PROGRAM_ICON));
        kind.hIconSm = static_cast<HICON>(LoadImageW(
            program, MAKEINTRESOURCEW(ZK_PROGRAM_ICON), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        kind.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        kind.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        kind.lpszClassName = class_name;
        return RegisterClassExW(&kind) != 0;
    }();
    if (!registered) throw std::runtime_error("cannot register the windows' class");
}

// The outer size of a window whose client area is the layout's at `dpi`.
SIZE frame_size(const view::WindowLayout& layout, UINT dpi)
{
    RECT frame{0, 0, scaled(layout.client_width, dpi), scaled(layout.client_height, dpi)};
    AdjustWindowRectEx(&frame, window_style, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The window's outer rectangle at `dpi`, centred on the work area of `monitor`.
RECT centred_frame(const view::WindowLayout& layout, UINT dpi, HMONITOR monitor)
{
    const SIZE size = frame_size(layout, dpi);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcWork;
    const int left = (area.left + area.right - size.cx) / 2;
    const int top = (area.top + area.bottom - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

} // namespace

namespace {

constexpr const wchar_t* blocked_property = L"ZkBlockedBy";

void change_blocks(HWND window, INT_PTR change)
{
    const INT_PTR blocks = std::max<INT_PTR>(
        reinterpret_cast<INT_PTR>(GetPropW(window, blocked_property)) + change, 0);
    SetPropW(window, blocked_property, reinterpret_cast<HANDLE>(blocks));
    EnableWindow(window, blocks == 0);
}

} // namespace

void block_input(HWND window)
{
    change_blocks(window, +1);
}

void unblock_input(HWND window)
{
    change_blocks(window, -1);
}

void initialise_controls()
{
    INITCOMMONCONTROLSEX wanted{};
    wanted.dwSize = sizeof wanted;
    wanted.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&wanted);
}

NativeWindow::NativeWindow(const view::WindowLayout& layout, HWND owner)
{
    register_class(&procedure);
    // Made at its final size and place: under Wine each move of a window costs a round trip to
    // the X server. The owner's monitor, or the primary one, is where it will open.
    const HMONITOR monitor = owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                   : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    const UINT expected_dpi = dpi_of(owner);
    const RECT frame = centred_frame(layout, expected_dpi, monitor);
    window_ = CreateWindowExW(0, class_name, wide(layout.title).c_str(), window_style, frame.left,
                              frame.top, frame.right - frame.left, frame.bottom - frame.top, owner,
                              nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) throw std::runtime_error("cannot create a window");
    const UINT dpi = dpi_of(window_);
    built_ = std::make_unique<BuiltWindow>(window_, layout, dpi);
    if (dpi != expected_dpi)
        place(centred_frame(layout, dpi, MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY)));
}

NativeWindow::~NativeWindow()
{
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void NativeWindow::place(const RECT& frame)
{
    SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::bind(std::string_view name, WORD code, std::function<void()> handler)
{
    const HWND target = built_->get(name);
    for (const BuiltControl& control : built_->controls()) {
        if (control.handle == target) commands_[{control.id, code}] = std::move(handler);
    }
}

void NativeWindow::bind_pick(std::string_view name, std::function<void()> handler)
{
    HWND combo = built_->get(name);
    // A pick from the open list ends with CBN_SELENDOK, changed or not; arrow keys on the closed
    // list change the selection with CBN_SELCHANGE alone.
    bind(name, CBN_SELENDOK, handler);
    bind(name, CBN_SELCHANGE, [combo, handler] {
        if (!SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) handler();
    });
}

void NativeWindow::bind_actions(const std::vector<view::ControlAction>& actions)
{
    for (const view::ControlAction& action : actions) {
        const view::ControlLayout* entry = view::find_control(built_->layout(), action.control);
        switch (entry ? entry->kind : view::Kind::endpoint) {
        case view::Kind::button:
            bind(action.control, BN_CLICKED, action.run);
            break;
        case view::Kind::combo:
            bind_pick(action.control, action.run);
            break;
        case view::Kind::list:
            bind(action.control, LBN_SELCHANGE, action.run);
            break;
        case view::Kind::tab:
            // Only the operator's change of page notifies.
            page_changed_ = action.run;
            break;
        default:
            throw std::logic_error("no event to bind for a control of this kind");
        }
    }
}

void NativeWindow::notified(const NMHDR& header)
{
    if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return;
    built_->show_page(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
    if (page_changed_) page_changed_();
}

LRESULT NativeWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_COMMAND: {
        // Esc, as the message loop's keyboard navigation reports it.
        if (LOWORD(wparam) == IDCANCEL && lparam == 0) {
            if (escape_closes_) SendMessageW(window_, WM_CLOSE, 0, 0);
            return 0;
        }
        const auto found = commands_.find({LOWORD(wparam), HIWORD(wparam)});
        if (found != commands_.end() && lparam != 0) found->second();
        return 0;
    }
    case WM_NOTIFY:
        notified(*reinterpret_cast<const NMHDR*>(lparam));
        return 0;
    case WM_ERASEBKGND:
        DefWindowProcW(window_, message, wparam, lparam);
        built_->erase_pages(reinterpret_cast<HDC>(wparam));
        return 1;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = built_->background_of(reinterpret_cast<HWND>(lparam),
                                                 reinterpret_cast<HDC>(wparam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_DPICHANGED: {
        built_->apply_dpi(LOWORD(wparam));
        // The suggested corner, and the client area the layout wants at the new DPI.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
        const SIZE size = frame_size(built_->layout(), LOWORD(wparam));
        place({suggested.left, suggested.top, suggested.left + size.cx, suggested.top + size.cy});
        return 0;
    }
    case WM_CLOSE:
        if (on_close) {
            // A copy: the owner may delete this window, and with it on_close, while it runs.
            const std::function<void()> close = on_close;
            close();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK NativeWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(created->lpCreateParams));
    }
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Until the constructor has built the controls, nothing is bound.
    if (!self || !self->window_ || !self->built_)
        return DefWindowProcW(window, message, wparam, lparam);
    return self->handle_message(message, wparam, lparam);
}

int run_message_loop()
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (top && IsDialogMessageW(top, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace zk::win32
