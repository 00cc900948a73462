#include "ui/qt/find_window.h"

#include <functional>

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "app/open_settings.h"
#include "app/port_report.h"
#include "base/program_folder.h"
#include "discovery/config_datagram.h"
#include "net/adapters.h"
#include "net/host_addresses.h"
#include "present/find/local_address.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {

namespace {

std::filesystem::path program_dir_or_default(const std::filesystem::path& dir)
{
    if (!dir.empty()) return dir;
    // From UTF-16: on Windows a path built from a narrow string reads it in the ANSI code page.
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String());
}

std::filesystem::path user_dir_or_default(const std::filesystem::path& dir)
{
    return dir.empty() ? default_user_config_dir() : dir;
}

} // namespace

FindWindow::FindWindow(AppState& state, Ports ports, FindSetup setup, QWidget* parent)
    : QWidget(parent), state_(state), ports_(ports),
      controls_(build_window(this, view::find_window_layout())), boxes_(this),
      组合框网卡列表(controls_.get<QComboBox>("组合框网卡列表")),
      编辑框中控IP(controls_.get<QLineEdit>("编辑框中控IP")),
      编辑框子网掩码(controls_.get<QLineEdit>("编辑框子网掩码")),
      编辑框网关(controls_.get<QLineEdit>("编辑框网关")),
      编辑框本机IP(controls_.get<QLineEdit>("编辑框本机IP")),
      编辑框服务器IP(controls_.get<QLineEdit>("编辑框服务器IP")),
      编辑框远程端口(controls_.get<QLineEdit>("编辑框远程端口")),
      列表框中控IP(controls_.get<QListWidget>("列表框中控IP")),
      view_{组合框网卡列表, 编辑框中控IP,   编辑框子网掩码, 编辑框网关,
            编辑框本机IP,   编辑框服务器IP, 编辑框远程端口, 列表框中控IP},
      udp_(ports.find_local, "0.0.0.0", PortUse::exclusive, setup.receive_buffer),
      own_adapters_(setup.adapters ? nullptr : std::make_unique<SystemAdapters>()),
      settings_file_(program_dir_or_default(setup.program_dir),
                     user_dir_or_default(setup.user_config_dir)),
      adapter_list_(
          组合框网卡列表, setup.adapters ? *setup.adapters : *own_adapters_, settings_file_),
      context_{view_, state_, udp_, boxes_, ports.config_remote, [this] { return local_address(); }}
{
    state_.selected_mac = Bytes(mac_length);
    state_.held_block = Bytes(config_block_length);
    adapter_list_.fill();
    adapter_list_.restore();
    follow_adapter();
    watch_answers();
    bind_events();
    centre_on_screen(this);
}

void FindWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_before_) return;
    shown_before_ = true;
    QTimer::singleShot(0, this,
                       [this] { report_unbound_port(udp_.is_bound(), ports_.find_local, boxes_); });
}

void FindWindow::watch_answers()
{
    wait_timer_ = start_wait_timer(watch_, boxes_);
    context_.on_sent = note_sent_requests(watch_, *wait_timer_);
}

namespace {

// The operator's picks in a list box: every change of the selection, and a click on the entry
// that is already selected, so that picking it again reads the controller again (after a lost
// reply, say). A press that changed the selection has been reported by the change already.
class ListPicks final : public QObject
{
public:
    ListPicks(QListWidget* list, std::function<void()> pick) : QObject(list), pick_(std::move(pick))
    {
        list->viewport()->installEventFilter(this);
        connect(list, &QListWidget::itemSelectionChanged, this, [this] {
            ++changes_;
            pick_();
        });
        connect(list, &QListWidget::itemPressed, this, [this] {
            if (changes_ == changes_at_press_) pick_();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) changes_at_press_ = changes_;
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> pick_;
    unsigned changes_ = 0;
    unsigned changes_at_press_ = 0;
};

} // namespace

void FindWindow::bind_events()
{
    connect(controls_.get<QPushButton>("按钮设置中控"), &QPushButton::clicked, this,
            [this] { on_open_settings(); });
    connect(controls_.get<QPushButton>("按钮刷新"), &QPushButton::clicked, this, [this] {
        adapter_list_.fill();
        follow_adapter();
    });
    // activated is the operator's pick only; the program's own changes do not raise it.
    connect(controls_.get<QComboBox>("组合框网卡列表"), &QComboBox::activated, this, [this] {
        adapter_list_.remember(boxes_);
        follow_adapter();
    });
    connect(controls_.get<QPushButton>("按钮查找IP"), &QPushButton::clicked, this,
            [this] { discovery::start_search(context_); });
    new ListPicks(controls_.get<QListWidget>("列表框中控IP"),
                  [this] { discovery::select_found_controller(context_); });
    connect(controls_.get<QPushButton>("按钮设置IP"), &QPushButton::clicked, this,
            [this] { discovery::write_network_parameters(context_); });
    udp_.gather_bursts(discovery::comes_in_bursts);
    udp_.on_datagram([this](ByteView bytes) {
        // Thousands of answers end one wait; the timer only moves for that one.
        if (watch_.arrived(bytes)) wait_timer_->rearm();
        discovery::handle_config_datagram(context_, bytes);
    });
}

void FindWindow::follow_adapter()
{
    udp_.set_broadcast_interface(adapter_list_.selected_interface());
}

std::string FindWindow::local_address()
{
    return discovery::shown_local_address(host_addresses(), adapter_list_.adapters(),
                                          组合框网卡列表.selection());
}

void FindWindow::on_open_settings()
{
    if (!confirm_controller_address(编辑框中控IP.content(), state_, boxes_)) return;
    auto* settings = new SettingsWindow(state_.controller_address, ports_);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
    centre_on_screen(settings);
}

} // namespace zk::ui
