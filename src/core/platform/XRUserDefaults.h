#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class QSettings;

// The user preferences: a persistent key/value store with a volatile
// registration domain whose values stand in while nothing is stored.
class XRUserDefaults
{
public:
    static XRUserDefaults &standardUserDefaults();
    // Drops the in-memory store without writing it, so that the next
    // standardUserDefaults() reads storage afresh, as after a restart.
    static void resetStandardUserDefaults();

    explicit XRUserDefaults(const QString &filePath);
    ~XRUserDefaults();

    QVariant objectForKey(const QString &key) const;
    void setObject(const QVariant &value, const QString &key);
    void removeObjectForKey(const QString &key);
    // The integer value of what is stored, 0 when nothing is.
    int integerForKey(const QString &key) const;
    QString stringForKey(const QString &key) const;

    void registerDefaults(const QVariantMap &defaults);
    bool synchronize();

    QString filePath() const;

    // The device's preferred languages as bare codes ("da" for a Danish desktop),
    // registered under "AppleLanguages".
    static QStringList devicePreferredLanguages();

private:
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
};
