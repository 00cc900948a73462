#pragma once
// What the Windows program's find window takes from the system rather than from its controls, the
// adapter list and its bound endpoint, gathered on a thread of its own while the window's controls
// are made. Under Wine each is a few dozen round trips to the Wine server, which otherwise delay
// the window's first paint.
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "base/adapter_source.h"
#include "net/datagram_link.h"

namespace zk {

class Dispatcher;

class EarlyStart final : public AdapterSource
{
public:
    // Starts listing `adapters` and opening the endpoint on `find_port`, whose datagrams will be
    // handed over on the thread of `owner`.
    EarlyStart(AdapterSource& adapters, int find_port, Dispatcher& owner);
    ~EarlyStart() override;
    EarlyStart(const EarlyStart&) = delete;
    EarlyStart& operator=(const EarlyStart&) = delete;

    // The first call returns the list made early; later ones (a refresh) list afresh.
    std::vector<Adapter> list() override;
    // An OpenLink: the first link on the find port is the endpoint opened early, handing its
    // datagrams to `deliver`; any other is opened now, on the calling thread.
    std::unique_ptr<DatagramLink> open_link(int local_port, std::function<void(ByteView)> deliver);

private:
    void wait();

    AdapterSource& adapters_;
    const int find_port_;
    // Where the early endpoint's datagrams go: set on the window thread once the link is taken,
    // read there too (datagrams are handed over through the window thread's dispatcher).
    std::shared_ptr<std::function<void(ByteView)>> deliver_;
    std::vector<Adapter> early_adapters_;
    std::unique_ptr<DatagramLink> early_link_;
    bool adapters_taken_ = false;
    bool link_taken_ = false;
    std::future<void> ready_;
};

} // namespace zk
