// zkconfig.exe's receive-and-list path on the real ports, under Wine: the Windows find window
// with its datagram endpoint searches, and its list control is counted until every expected
// answer is a line, or until lines stop coming.
// Usage: win32_discovery COUNT RECEIVE_BUFFER_ASKED QUIET_MS
// Prints: lines TIME_MS CPU_MS GRANTED_BUFFER (time and CPU from the click to the last new line;
// the buffer is the endpoint's own, asked 4 MiB whatever the argument says).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/discovery_run.h"
#include "bench/measure.h"
#include "net/endpoint_link.h"
#include "net/winsock_use.h"
#include "present/app_state.h"
#include "ui/win32/find_window.h"
#include "ui/win32/native_window.h"
#include "ui/win32/win32_dispatcher.h"

namespace {

// Interface 0: broadcasts leave by the default route, which the benchmark's namespace has.
class DefaultRoute final : public zk::AdapterSource
{
public:
    std::vector<zk::Adapter> list() override { return {{"default route", 0, "0.0.0.0"}}; }
};

// Delivers whatever the window thread has been sent, waiting for it until `deadline` at most, as
// the program's own loop waits in GetMessageW: waking every few milliseconds to look cost, under
// Wine, round trips to its server on the processors the reading thread needed, and a tenth of the
// answers.
void pump_until(std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    MsgWaitForMultipleObjects(
        0, nullptr, FALSE, static_cast<DWORD>(std::max<long long>(0, left.count())), QS_ALLINPUT);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<bench::DiscoveryRun> run = bench::discovery_run(argc, argv);
    if (!run) return 2;
    zk::win32::initialise_controls();
    const zk::WinsockUse sockets;
    zk::win32::Win32Dispatcher dispatcher;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("zk_bench_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(dir);
    DefaultRoute adapters;
    zk::AppState state;
    auto window = std::make_unique<zk::win32::FindWindow>(
        state, zk::Ports{},
        zk::win32::FindSetup{[](int port, std::function<void(zk::ByteView)> deliver) {
                                 return zk::open_endpoint_link(port, std::move(deliver));
                             },
                             adapters, [] { return std::vector<std::string>{}; }, dir, dir},
        dispatcher);
    window->show();
    // An installer clicks the search button a moment after the window has appeared, not while it
    // is still being drawn.
    const auto drawn = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (std::chrono::steady_clock::now() < drawn)
        pump_until(drawn);

    HWND list = window->control("列表框中控IP");
    const auto lines = [list] { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); };
    const bench::Mark start;
    bench::Mark last = start;
    SendMessageW(window->control("按钮查找IP"), BM_CLICK, 0, 0);
    int seen = 0;
    auto quiet_until = start.wall + std::chrono::milliseconds(run->quiet_ms + 2000);
    while (seen < run->expected && std::chrono::steady_clock::now() < quiet_until) {
        pump_until(quiet_until);
        if (const int now = lines(); now > seen) {
            seen = now;
            last = bench::Mark::now();
            quiet_until = last.wall + std::chrono::milliseconds(run->quiet_ms);
        }
    }
    bench::print_discovery(seen, last.ms_since(start), last.cpu_ms_since(start), 4 * 1024 * 1024);
    window.reset();
    std::filesystem::remove_all(dir);
    return 0;
}
