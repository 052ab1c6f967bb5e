#include "XRApplication.h"

#include "XRLog.h"

XRApplication &XRApplication::sharedApplication()
{
    static XRApplication application;
    return application;
}

void XRApplication::setNetworkActivityIndicatorVisible(bool visible)
{
    m_networkActivityIndicatorVisible = visible;
    if (m_networkActivityIndicatorHandler)
        m_networkActivityIndicatorHandler(visible);
}

void XRApplication::setNetworkActivityIndicatorHandler(std::function<void(bool)> handler)
{
    m_networkActivityIndicatorHandler = std::move(handler);
}

bool XRApplication::openURL(const QUrl &url)
{
    if (!m_open || !canOpenURL(url)) {
        qCWarning(lcApp, "Cannot open URL: %s", qUtf8Printable(url.toString()));
        return false;
    }
    return m_open(url);
}

bool XRApplication::canOpenURL(const QUrl &url) const
{
    return m_canOpen && url.isValid() && m_canOpen(url);
}

void XRApplication::setURLHandlers(std::function<bool(const QUrl &)> open, std::function<bool(const QUrl &)> canOpen)
{
    m_open = std::move(open);
    m_canOpen = std::move(canOpen);
}
