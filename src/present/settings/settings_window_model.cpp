#include "present/settings/settings_window_model.h"

#include "base/file_read.h"
#include "present/port_report.h"
#include "present/settings/buttons.h"
#include "present/settings/cards.h"
#include "present/settings/present.h"
#include "present/settings/serial_codes_library.h"

namespace zk::present {

namespace {

SettingsView settings_view(const view::ControlSet& c)
{
    return {c.get<TabControl>("选择夹1"),
            c.get<Label>("标签状态"),
            c.get<EditBox>("编辑框系统音量"),
            c.get<EditBox>("编辑框中控ID"),
            c.get<CheckBox>("选择框刷卡开机"),
            c.get<EditBox>("编辑框投影机预热时间"),
            c.get<EditBox>("编辑框投影机散热时间"),
            c.get<EditBox>("编辑框幕布时间"),
            c.get<ItemList>("组合框波特率"),
            c.get<ItemList>("组合框校验方式"),
            c.get<EditBox>("编辑框开机码"),
            c.get<EditBox>("编辑框关机码"),
            c.get<EditBox>("编辑框视频码"),
            c.get<EditBox>("编辑框电脑码"),
            c.get<ItemList>("组合框投影机型号"),
            c.get<EditBox>("编辑框命令文本"),
            c.get<ItemList>("组合框转换码"),
            c.get<Label>("标签卡数量"),
            c.get<Label>("标签指纹数量"),
            c.get<EditBox>("编辑框卡号"),
            c.get<Label>("标签卡状态"),
            c.get<EditBox>("编辑框授权"),
            c.get<EditBox>("编辑框指纹")};
}

} // namespace

SettingsWindowModel::SettingsWindowModel(SettingsWindowParts parts,
                                         std::string controller_address,
                                         Ports ports)
    : files_(parts.files), view_(settings_view(parts.controls)),
      udp_(parts.open_link(ports.settings_local,
                           [this](ByteView datagram) { on_datagram(datagram); })),
      link_{*udp_, std::move(controller_address), ports.hs3_remote}, context_{view_, link_},
      wait_timer_(
          parts.dispatcher,
          [this] { return watch_.next_deadline(); },
          [this](WaitTimer::Time now) { watch_.expire(now, view_); }),
      report_(parts.dispatcher, parts.boxes, ports.settings_local)
{
    link_.on_sent = note_sent_requests(watch_, wait_timer_);
    for (const ButtonAction& button : settings_buttons())
        actions_.push_back({button.button, [this, run = button.handler] { run(context_); }});
    // Only the operator's change of page is told; the program sets no page.
    actions_.push_back({"选择夹1", [this] { on_page_changed(context_); }});
    actions_.push_back({"组合框投影机型号", [this] { on_projector_item(); }});
    load_library(parts.program_dir);
}

void SettingsWindowModel::shown()
{
    report_.shown(udp_->is_bound());
}

void SettingsWindowModel::on_datagram(ByteView datagram)
{
    if (const auto reply = on_settings_datagram(datagram, view_, link_)) {
        watch_.answered(*reply, wait_timer_.now());
        wait_timer_.rearm();
    }
}

void SettingsWindowModel::load_library(const std::filesystem::path& program_dir)
{
    view_.组合框转换码.set_selection(0);
    library_ = projectors::load_library(projectors::user_library_file(),
                                        projectors::shipped_library_file(program_dir));
    fill_projector_list(view_.组合框投影机型号, library_.entries);
    if (!library_.problems.empty()) view_.标签状态.set_caption(library_problems(library_.problems));
}

void SettingsWindowModel::on_projector_item()
{
    const int index = view_.组合框投影机型号.selection();
    if (index < 0) return;
    const ProjectorItem item = pick_projector_item(view_, index, library_.entries);
    if (item == ProjectorItem::load_file) load_room_file();
    if (item == ProjectorItem::save_file) save_room_file();
}

void SettingsWindowModel::load_room_file()
{
    const std::filesystem::path path = files_.open_file("载入串口码");
    if (path.empty()) return;
    auto room = projectors::read_room_file(path);
    if (const auto* problem = std::get_if<std::string>(&room))
        return view_.标签状态.set_caption(*problem);
    apply_projector_entry(view_, std::get<projectors::ProjectorEntry>(room),
                          path_text(path.filename()));
}

void SettingsWindowModel::save_room_file()
{
    auto room = room_codes_from_page(view_);
    if (const auto* problem = std::get_if<std::string>(&room))
        return view_.标签状态.set_caption(*problem);
    const std::filesystem::path path = files_.save_file("保存串口码", "room-codes.json");
    if (path.empty()) return;
    const auto failure =
        projectors::write_room_file(path, std::get<projectors::ProjectorEntry>(room));
    view_.标签状态.set_caption(failure ? *failure : "串口码已保存到 " + path_text(path));
}

} // namespace zk::present
