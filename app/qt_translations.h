// Qt's own texts (file dialogs, standard message-box buttons, context menus) in the
// program's language: German loads Qt's German catalogue, English goes back to Qt's
// built-in texts.
#ifndef ORVANE_APP_QT_TRANSLATIONS_H
#define ORVANE_APP_QT_TRANSLATIONS_H

#include <QString>

#include <memory>

class QTranslator;

namespace orvane {

class QtTranslations {
public:
    // folder: where Qt's catalogues (qtbase_de.qm) lie; empty: Qt's own translations folder.
    explicit QtTranslations(QString folder = {});
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // German for the German offset, else Qt's English. False when German was asked for and
    // the catalogue could not be loaded (Qt's texts then stay English).
    bool use(int languageOffset);

private:
    QString folder_;
    std::unique_ptr<QTranslator> translator_; // installed while German
};

} // namespace orvane

#endif
