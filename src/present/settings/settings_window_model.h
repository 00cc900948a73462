#pragma once
// Everything the settings window is apart from its widgets, written once for both toolkits: the
// view over the controls, the link bound to the settings port, the wait for every answer, the
// routing of arriving datagrams, what each control does, and the projector library with its
// room files. A toolkit builds the controls, binds `actions()` and calls `shown()`.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/ports.h"
#include "net/datagram_link.h"
#include "net/dispatcher.h"
#include "net/wait_timer.h"
#include "present/file_dialogs.h"
#include "present/port_report.h"
#include "present/settings/answer_watch.h"
#include "present/settings/context.h"
#include "projectors/projector_library.h"
#include "protocol/send_path.h"
#include "view/control_set.h"
#include "view/settings_view.h"

namespace zk::present {

// The messages, file dialogs and timers the settings window's toolkit provides.
struct SettingsWindowParts
{
    const view::ControlSet& controls;
    MessageBoxes& boxes;
    FileDialogs& files;
    // The window thread's: answer waits and the port report run on it.
    Dispatcher& dispatcher;
    OpenLink open_link;
    // Where the shipped projector library is looked for.
    std::filesystem::path program_dir;
};

class SettingsWindowModel
{
public:
    SettingsWindowModel(SettingsWindowParts parts, std::string controller_address, Ports ports);

    const std::string& controller_address() const { return link_.address; }
    SettingsView& view() { return view_; }
    DatagramLink& link() { return *udp_; }
    // What each control the operator acts on runs.
    const std::vector<view::ControlAction>& actions() const { return actions_; }
    // The window is on screen: a port held by another program is told once, over it.
    void shown();

private:
    void on_datagram(ByteView datagram);
    void load_library(const std::filesystem::path& program_dir);
    // An item of 组合框投影机型号 picked: an entry fills the page; the last two read or write a
    // room's codes through a file dialog.
    void on_projector_item();
    void load_room_file();
    void save_room_file();

    FileDialogs& files_;
    SettingsView view_;
    std::unique_ptr<DatagramLink> udp_;
    protocol::ControllerLink link_;
    SettingsContext context_;
    AnswerWatch watch_;
    WaitTimer wait_timer_;
    PortReport report_;
    projectors::Library library_;
    std::vector<view::ControlAction> actions_;
};

} // namespace zk::present
