#pragma once

#include <QStringList>
#include <QtGlobal>

namespace xr::test {

// Collects the messages logged while it lives, of every level of the vaxlo
// categories ("category: message" per line).
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList messages() const { return m_messages; }
    bool contains(const QString &message) const { return m_messages.contains(message); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
    QStringList m_messages;
    QtMessageHandler m_previous;
};

} // namespace xr::test
