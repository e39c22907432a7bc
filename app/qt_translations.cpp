#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/localization.h"

namespace orvane {

QtTranslations::QtTranslations(QString folder)
    : folder_(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                               : std::move(folder)) {}

QtTranslations::~QtTranslations() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

bool QtTranslations::use(int languageOffset) {
    if (languageOffset != kOffsetGerman) {
        if (translator_) QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
        return true;
    }
    if (translator_) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_de"), folder_)) return false;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

} // namespace orvane
