// The settings window's group box "进制转换": text/hex conversion and the projector library.
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "base/program_folder.h"
#include "present/settings/serial_codes_library.h"
#include "present/settings/serial_codes_text.h"
#include "ui/qt/settings_window.h"

namespace zk::ui {

namespace {

QString room_file_filter()
{
    return QStringLiteral("JSON (*.json)");
}

} // namespace

void SettingsWindow::bind_code_tools()
{
    组合框转换码.set_selection(0);
    library_ = projectors::load_library(projectors::user_library_file(),
                                        projectors::shipped_library_file(program_folder()));
    commands::fill_projector_list(组合框投影机型号, library_.entries);
    if (!library_.problems.empty())
        标签状态.set_caption(commands::library_problems(library_.problems));
    connect(controls_.get<QComboBox>("组合框投影机型号"), &QComboBox::activated, this,
            [this](int index) { on_projector_item(index); });
}

void SettingsWindow::on_projector_item(int index)
{
    using commands::ProjectorItem;
    const ProjectorItem item = commands::pick_projector_item(view_, index, library_.entries);
    if (item == ProjectorItem::load_file) {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("载入串口码"), {},
                                                          room_file_filter());
        if (path.isEmpty()) return;
        auto room = projectors::read_room_file(path.toStdString());
        if (const auto* problem = std::get_if<std::string>(&room))
            return 标签状态.set_caption(*problem);
        commands::apply_projector_entry(view_, std::get<protocol::ProjectorEntry>(room),
                                        QFileInfo(path).fileName().toStdString());
    } else if (item == ProjectorItem::save_file) {
        auto room = commands::room_codes_from_page(view_);
        if (const auto* problem = std::get_if<std::string>(&room))
            return 标签状态.set_caption(*problem);
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("保存串口码"),
                                         QStringLiteral("room-codes.json"), room_file_filter());
        if (path.isEmpty()) return;
        const auto failure = projectors::write_room_file(path.toStdString(),
                                                         std::get<protocol::ProjectorEntry>(room));
        标签状态.set_caption(failure ? *failure : "串口码已保存到 " + path.toStdString());
    }
}

} // namespace zk::ui
