#include "ui/qt/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zk::ui {

bool install_qt_chinese_texts()
{
    auto* texts = new QTranslator(QCoreApplication::instance());
    const bool loaded =
        texts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(texts);
    if (!loaded) delete texts;
    return loaded;
}

} // namespace zk::ui
