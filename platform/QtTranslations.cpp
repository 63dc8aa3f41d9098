#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    // "qt_ja" is the catalogue that pulls in qtbase_ja and the other modules' texts.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                          QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        qWarning("Qt's Japanese translations are not in %s (package qt6-translations-l10n)",
                 qUtf8Printable(folder));
        delete translator;
        return false;
    }
    return true;
}
