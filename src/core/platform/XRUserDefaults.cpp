#include "XRUserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

namespace {

std::unique_ptr<XRUserDefaults> &standardInstance()
{
    static std::unique_ptr<XRUserDefaults> instance;
    return instance;
}

QString standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/preferences.ini");
}

} // namespace

XRUserDefaults &XRUserDefaults::standardUserDefaults()
{
    auto &instance = standardInstance();
    if (!instance)
        instance = std::make_unique<XRUserDefaults>(standardFilePath());
    return *instance;
}

void XRUserDefaults::resetStandardUserDefaults()
{
    standardInstance().reset();
}

XRUserDefaults::XRUserDefaults(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
    m_registered.insert(QStringLiteral("AppleLanguages"), devicePreferredLanguages());
}

XRUserDefaults::~XRUserDefaults() = default;

QVariant XRUserDefaults::objectForKey(const QString &key) const
{
    const QVariant stored = m_settings->value(key);
    return stored.isValid() ? stored : m_registered.value(key);
}

void XRUserDefaults::setObject(const QVariant &value, const QString &key)
{
    if (!value.isValid())
        m_settings->remove(key);
    else
        m_settings->setValue(key, value);
}

void XRUserDefaults::removeObjectForKey(const QString &key)
{
    m_settings->remove(key);
}

int XRUserDefaults::integerForKey(const QString &key) const
{
    return objectForKey(key).toInt();
}

QString XRUserDefaults::stringForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

void XRUserDefaults::registerDefaults(const QVariantMap &defaults)
{
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

bool XRUserDefaults::synchronize()
{
    QDir().mkpath(QFileInfo(m_settings->fileName()).absolutePath());
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString XRUserDefaults::filePath() const
{
    return m_settings->fileName();
}

QStringList XRUserDefaults::devicePreferredLanguages()
{
    QStringList codes;
    for (const QString &tag : QLocale::system().uiLanguages()) {
        const QString code = tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
        if (!code.isEmpty() && !codes.contains(code))
            codes.append(code);
    }
    return codes;
}
