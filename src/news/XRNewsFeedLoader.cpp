#include "XRNewsFeedLoader.h"

#include "XRApplication.h"
#include "XRConfiguration.h"
#include "XRLog.h"
#include "XRMarkets.h"
#include "XRNewsFeedParser.h"
#include "XRSharedState.h"
#include "XRURLConnection.h"

#include <QPointer>

XRNewsFeedLoader::XRNewsFeedLoader(XRSharedState *appDelegate, std::function<void()> storiesChanged, QObject *parent)
    : QObject(parent)
    , m_appDelegate(appDelegate)
    , m_storiesChanged(std::move(storiesChanged))
{
}

void XRNewsFeedLoader::loadNews()
{
    if (m_loading) {
        m_reloadWhenLoaded = true;
        return;
    }
    if (!m_appDelegate) {
        qCWarning(lcNews, "No application delegate: no market to load news from");
        return;
    }
    m_loading = true;
    do {
        m_reloadWhenLoaded = false;
        const QUrl url = xr::documentURL(m_appDelegate->configuration(), xr::storedLanguageIndex(),
                                         XRMarketDocument::News);
        if (!parseXMLFileAtURL(url))
            return;
    } while (m_reloadWhenLoaded);
    m_loading = false;
}

bool XRNewsFeedLoader::parseXMLFileAtURL(const QUrl &url)
{
    qCInfo(lcNews, "parseXMLFileAtURL: %s", qUtf8Printable(url.toString()));
    XRURLRequest request(url);
    request.setValueForHTTPHeaderField(xr::userAgent(), QStringLiteral("User-Agent"));
    // A feed of a few dozen stories is some tens of kilobytes.
    request.setMaximumBodySize(4 * 1024 * 1024);

    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(true);
    XRHTTPURLResponse response;
    XRError error;
    const QPointer<XRNewsFeedLoader> alive(this);
    const std::optional<QByteArray> body = XRURLConnection::sendSynchronousRequest(request, &response, &error);
    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(false);
    if (!alive)
        return false;

    if (!body) {
        qCWarning(lcNews, "Error parsing News XML: %d", error.code);
        failLoading();
    } else if (response.statusCode() < 200 || response.statusCode() > 299) {
        qCWarning(lcNews, "News feed answered with HTTP status %d", response.statusCode());
        failLoading();
    } else if (XRNewsFeedParser::Result feed = XRNewsFeedParser::parse(*body); feed.error) {
        qCWarning(lcNews, "error parsing XML: %d", feed.error->code);
        failLoading();
    } else {
        m_stories = std::move(feed.stories);
        m_appDelegate->dismissLoadingSplash();
    }
    m_storiesChanged();
    return alive;
}

// The network alert also takes the splash away.
void XRNewsFeedLoader::failLoading()
{
    m_appDelegate->showNetworkErrorAlert();
}
