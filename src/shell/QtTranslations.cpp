#include "shell/QtTranslations.h"

#include "texts/Texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace mx {

void useQtTranslations(int language)
{
    static QPointer<QTranslator> chinese;
    if (language == Chinese) {
        if (chinese) return;
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            // Without the catalogue Qt's texts stay English; everything else works.
            delete translator;
            return;
        }
        QCoreApplication::installTranslator(translator);
        chinese = translator;
    } else if (chinese) {
        QCoreApplication::removeTranslator(chinese);
        delete chinese.data();
    }
}

} // namespace mx
