// zkconfig: finds the controllers of the segment and configures them.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/app_state.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/find_window.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zkconfig"));
    QApplication::setWindowIcon(zk::ui::app_icon());
    // Qt's own texts, such as the message boxes' button, in the language of every other text.
    QTranslator qt_texts;
    if (qt_texts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_texts);

    zk::AppState state;
    zk::ui::FindWindow find_window(state, zk::Ports{});
    find_window.show();
    return QApplication::exec();
}
