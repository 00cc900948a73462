// The Windows find window taking a burst of search answers: a second thread hands N answers to
// the window thread through its dispatcher, as the datagram endpoint's receiving thread does,
// and the window lists them. Prints how long the window thread took until every answer was a
// line of the list control, and whether any was lost. Run under Wine with an X display:
//   xvfb-run -a wine64 win32_find_list.exe [answers...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/config_replies.h"
#include "ui/win32/find_window.h"
#include "ui/win32/native_window.h"
#include "ui/win32/win32_dispatcher.h"

namespace {

using namespace zk;

class NullLink final : public DatagramLink
{
public:
    bool send(std::string_view, int, ByteView) override { return true; }
    bool is_bound() const override { return true; }
    void set_broadcast_interface(int) override {}
};

class OneAdapter final : public AdapterSource
{
public:
    std::vector<Adapter> list() override { return {{"eth0 10.99.0.1", 2, "10.99.0.1", true}}; }
};

// The answer of controller `n`: its own MAC and address.
Bytes answer(int n)
{
    const auto byte = [n](int shift) { return static_cast<std::uint8_t>((n >> shift) & 0xFF); };
    Bytes mac{0x84, 0xC2, 0xE4, byte(16), byte(8), byte(0)};
    Bytes reply = test::search_reply_of(mac, "0A 63 00 00");
    reply[32] = byte(8);
    reply[33] = byte(0);
    return reply;
}

void run(int answers, const std::filesystem::path& folder)
{
    win32::Win32Dispatcher dispatcher;
    OneAdapter adapters;
    AppState state;
    std::function<void(ByteView)> deliver;
    win32::FindSetup setup{[&deliver](int, std::function<void(ByteView)> to_window) {
                               deliver = std::move(to_window);
                               return std::make_unique<NullLink>();
                           },
                           adapters,
                           {},
                           folder,
                           folder};
    win32::FindWindow window(state, Ports{}, setup, dispatcher);
    window.show();
    SendMessageW(window.control("按钮查找IP"), BM_CLICK, 0, 0);
    std::vector<Bytes> burst;
    for (int n = 0; n < answers; ++n)
        burst.push_back(answer(n));

    const auto start = std::chrono::steady_clock::now();
    std::thread receiver([&] {
        for (const Bytes& datagram : burst)
            dispatcher.post([&deliver, &datagram] { deliver(datagram); });
    });
    HWND list = window.control("列表框中控IP");
    MSG message{};
    const auto give_up = start + std::chrono::seconds(60);
    while (SendMessageW(list, LB_GETCOUNT, 0, 0) < answers &&
           std::chrono::steady_clock::now() < give_up) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    receiver.join();
    const auto listed = SendMessageW(list, LB_GETCOUNT, 0, 0);
    std::printf("%d answers: %ld listed, %ld lost, %.1f ms until the last was a line\n", answers,
                static_cast<long>(listed), static_cast<long>(answers - listed),
                std::chrono::duration<double, std::milli>(took).count());
}

} // namespace

int main(int argc, char** argv)
{
    win32::initialise_controls();
    const auto folder = std::filesystem::temp_directory_path() / "zk-win32-bench";
    std::filesystem::create_directories(folder);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {5000, 20000};
    for (int answers : counts)
        run(answers, folder);
    std::filesystem::remove_all(folder);
    return 0;
}
