#include "XRLocalizedString.h"

#include "XRLog.h"
#include "XRUserDefaults.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>

namespace {
constexpr char context[] = "XR";
const QStringList translatedLanguages = {QStringLiteral("en"), QStringLiteral("sv"), QStringLiteral("da"),
                                         QStringLiteral("nb"), QStringLiteral("fi")};
QString installedLanguage = QStringLiteral("en");
} // namespace

QString XRLocalizedString(const char *key)
{
    return QCoreApplication::translate(context, key);
}

QString XRLocalizedString(const QString &key)
{
    return XRLocalizedString(key.toUtf8().constData());
}

namespace xr {

bool installTranslations(const QString &languageCode)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QString code = translatedLanguages.contains(languageCode) ? languageCode : QStringLiteral("en");
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/i18n/vaxlo_%1.qm").arg(code))) {
        qCWarning(lcApp, "No translations for %s", qUtf8Printable(code));
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    installedLanguage = code;
    return true;
}

QString installedTranslationLanguage()
{
    return installedLanguage;
}

QString translationLanguageForDevice()
{
    const QStringList preferred = XRUserDefaults::standardUserDefaults()
                                      .objectForKey(QStringLiteral("AppleLanguages")).toStringList();
    for (const QString &code : preferred) {
        if (translatedLanguages.contains(code))
            return code;
    }
    return QStringLiteral("en");
}

} // namespace xr
