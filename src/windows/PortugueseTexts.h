#pragma once
// Every text the user sees is Brazilian Portuguese, Qt's own and the
// engine's included, whatever language the system is set to.

#include <QString>

namespace portuguese {

// Qt's default locale; call before the application object exists.
void UseBrazilianLocale();

// The program's folder + "translations": the build lays Qt's translations
// out there, as an installed copy carries them.
QString TranslationsFolder();

// Installs Qt's Brazilian Portuguese translations from `folder` (qtbase's,
// and the engine's when Qt ships them). False when qtbase's file is missing.
// The engine's context menu and page dialogs are the engine layer's own.
bool InstallTranslations(const QString& folder);

}  // namespace portuguese
