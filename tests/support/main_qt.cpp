// Test main for suites that need a Qt event loop: widgets on the offscreen platform, sockets.
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/qt/qt_dispatcher.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zk::QtDispatcher dispatcher; // datagrams and timers run in Qt's loop
    return RUN_ALL_TESTS();
}
