#include "LogCapture.h"

#include <QLoggingCategory>

namespace xr::test {

namespace {
LogCapture *active = nullptr;
} // namespace

LogCapture::LogCapture()
    : m_previous(qInstallMessageHandler(&LogCapture::handle))
{
    active = this;
    // The application shows warnings only by default; a capture hears every level.
    QLoggingCategory::setFilterRules(QStringLiteral("vaxlo.*=true"));
}

LogCapture::~LogCapture()
{
    active = nullptr;
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(m_previous);
}

void LogCapture::handle(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (active)
        active->m_messages.append(message);
}

} // namespace xr::test
