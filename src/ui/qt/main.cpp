// zkconfig: finds the controllers of the segment and configures them.
#include <QApplication>
#include <iostream>

#include "base/receive_buffer.h"
#include "present/app_state.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/find_window.h"
#include "ui/qt/qt_dispatcher.h"
#include "ui/qt/qt_texts.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zkconfig"));
    QApplication::setWindowIcon(zk::ui::app_icon());
    zk::ui::install_qt_chinese_texts();
    zk::QtDispatcher dispatcher; // the endpoints deliver their datagrams into Qt's loop

    zk::AppState state;
    zk::ui::FindWindow find_window(state, zk::Ports{});
    const std::string small_buffer = zk::receive_buffer_warning(
        find_window.endpoint().receive_buffer_size(), zk::DatagramEndpoint::wanted_receive_buffer);
    if (!small_buffer.empty()) std::cerr << "zkconfig: " << small_buffer << std::endl;
    find_window.show();
    return QApplication::exec();
}
