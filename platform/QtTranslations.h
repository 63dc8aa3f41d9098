#pragma once

class QCoreApplication;

// Loads Qt's own Japanese texts (the standard buttons, the file, font, colour and input dialogs)
// whatever the locale: every other text of the program is Japanese. Qt's translations come from
// Debian's qt6-translations-l10n. Returns false, after a warning, when they are not installed;
// the dialogs then speak English.
bool InstallQtTranslations(QCoreApplication& app);
