#pragma once
// Everything the find window is apart from its widgets, written once for both toolkits: the view
// over the controls, the link bound to the find port, the wait for search and write answers, the
// routing of arriving datagrams, what each control does, and where broadcasts leave. A toolkit
// builds the controls, binds `actions()`, calls `shown()` and opens its settings window.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ports.h"
#include "net/datagram_link.h"
#include "net/dispatcher.h"
#include "net/wait_timer.h"
#include "present/app_state.h"
#include "present/find/adapter_choice.h"
#include "present/find/find_handlers.h"
#include "present/find/find_watch.h"
#include "present/port_report.h"
#include "view/control_set.h"
#include "view/find_view.h"

namespace zk::present {

// What the find window's toolkit and program provide.
struct FindWindowParts
{
    const view::ControlSet& controls;
    MessageBoxes& boxes;
    // The window thread's: answer waits and the port report run on it.
    Dispatcher& dispatcher;
    OpenLink open_link;
    // The addresses the PC's own name resolves to, looked up afresh on each call.
    std::function<std::vector<std::string>()> host_addresses;
    // Opens the settings window for the address just confirmed (AppState::controller_address).
    std::function<void()> open_settings;
};

class FindWindowModel
{
public:
    // `adapters` fills 组合框网卡列表 of `parts.controls`.
    FindWindowModel(FindWindowParts parts, AdapterChoice& adapters, AppState& state, Ports ports);

    FindView& view() { return view_; }
    DatagramLink& link() { return *link_; }
    // What each control the operator acts on runs.
    const std::vector<view::ControlAction>& actions() const { return actions_; }
    // The window is on screen: a port held by another program is told once, over it.
    void shown();

private:
    void on_datagram(ByteView datagram);
    // 按钮设置中控: an address of at least eight characters opens the settings window.
    void on_open_settings();
    // Broadcasts leave through the adapter the list shows as selected.
    void follow_adapter();
    std::string local_address() const;
    void add_actions();

    AppState& state_;
    MessageBoxes& boxes_;
    AdapterChoice& adapters_;
    std::function<std::vector<std::string>()> host_addresses_;
    std::function<void()> open_settings_;
    FindView view_;
    std::unique_ptr<DatagramLink> link_;
    FindContext context_;
    FindWatch watch_;
    WaitTimer wait_timer_;
    PortReport report_;
    std::vector<view::ControlAction> actions_;
};

} // namespace zk::present
