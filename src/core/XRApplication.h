#pragma once

#include <QUrl>

#include <functional>

class XRApplicationDelegate;

// The shared application object: it knows the application delegate, shows the
// network activity indicator and opens URLs. The screens install how the
// indicator is shown and how URLs are opened; tests install their own.
class XRApplication
{
public:
    static XRApplication &sharedApplication();

    XRApplicationDelegate *delegate() const { return m_delegate; }
    void setDelegate(XRApplicationDelegate *delegate) { m_delegate = delegate; }

    void setNetworkActivityIndicatorVisible(bool visible);
    bool isNetworkActivityIndicatorVisible() const { return m_networkActivityIndicatorVisible; }
    void setNetworkActivityIndicatorHandler(std::function<void(bool)> handler);

    bool openURL(const QUrl &url);
    bool canOpenURL(const QUrl &url) const;
    void setURLHandlers(std::function<bool(const QUrl &)> open, std::function<bool(const QUrl &)> canOpen);

private:
    XRApplicationDelegate *m_delegate = nullptr;
    bool m_networkActivityIndicatorVisible = false;
    std::function<void(bool)> m_networkActivityIndicatorHandler;
    std::function<bool(const QUrl &)> m_open;
    std::function<bool(const QUrl &)> m_canOpen;
};
