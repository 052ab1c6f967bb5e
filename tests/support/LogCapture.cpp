#include "LogCapture.h"

namespace xr::test {

namespace {
LogCapture *active = nullptr;
} // namespace

LogCapture::LogCapture()
    : m_previous(qInstallMessageHandler(&LogCapture::handle))
{
    active = this;
}

LogCapture::~LogCapture()
{
    active = nullptr;
    qInstallMessageHandler(m_previous);
}

void LogCapture::handle(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (active)
        active->m_messages.append(message);
}

} // namespace xr::test
