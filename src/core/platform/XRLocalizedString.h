#pragma once

#include <QString>

// The translation of an on-screen text key for the chosen language, or the key
// itself when the table has no entry for it.
QString XRLocalizedString(const char *key);
QString XRLocalizedString(const QString &key);

namespace xr {

// Installs the translation table of the language (one of "en", "sv", "da", "nb",
// "fi"; any other code gets the English table) in place of the one installed
// before. Returns false when no table could be loaded, so keys show as themselves.
bool installTranslations(const QString &languageCode);

// The language of the table installed last ("en" before any).
QString installedTranslationLanguage();

// The table for the device: its first preferred language that has one, else English.
QString translationLanguageForDevice();

} // namespace xr
