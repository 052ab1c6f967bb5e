#include "XRStoreLocatorDownloader.h"

#include "XRConfiguration.h"
#include "XRSharedState.h"
#include "XRBranchDocumentParser.h"
#include "XRLog.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRUserDefaults.h"

#include <utility>

namespace {

const QString storeEtagKey = QStringLiteral("storeEtag");
const QString storesDictKey = QStringLiteral("storesDict");
const QString storesKey = QStringLiteral("stores");

} // namespace

XRStoreLocatorDownloader::XRStoreLocatorDownloader(XRSharedState &appDelegate)
    : m_appDelegate(appDelegate)
{
}

XRStoreLocatorDownloader::~XRStoreLocatorDownloader() = default;

void XRStoreLocatorDownloader::loadStoresAndNotify()
{
    if (m_busy || m_connection)
        return;
    const int languageIndex = xr::storedLanguageIndex();
    m_market = xr::marketForLanguageIndex(languageIndex);
    const QUrl url = xr::documentURL(m_appDelegate.configuration(), languageIndex, XRMarketDocument::Branches);
    qCInfo(lcStores, "loading stores from XML at: %s", qUtf8Printable(url.toString()));

    XRURLRequest request(url);
    request.setTimeoutInterval(requestTimeoutInterval);
    request.setMaximumDuration(requestMaximumDuration);
    request.setMaximumBodySize(maximumDocumentSize);
    // While no list is stored an "unchanged" answer would leave nothing to
    // show, and the store list would ask again and again: ask for the list.
    const QString etag = XRUserDefaults::standardUserDefaults().stringForKey(storeEtagKey);
    if (!etag.isEmpty() && m_appDelegate.settingsDict().contains(storesDictKey))
        request.setValueForHTTPHeaderField(etag, QStringLiteral("If-None-Match"));
    request.setValueForHTTPHeaderField(QStringLiteral("gzip"), QStringLiteral("Accept-Encoding"));
    request.setValueForHTTPHeaderField(xr::userAgent(), QStringLiteral("User-Agent"));

    m_webData.clear();
    m_connection = XRURLConnection::connectionWithRequest(request, this);
}

void XRStoreLocatorDownloader::cancelConnection()
{
    if (m_connection)
        m_connection->cancel();
    m_appDelegate.dismissLoadingSplash();
    XRNotificationCenter::defaultCenter().postNotificationName(XRConnectionDidCancelNotification);
    endTransfer();
}

void XRStoreLocatorDownloader::deleteWhenTransferEnds()
{
    if (m_connection)
        m_deleteWhenTransferEnds = true;
    else
        deleteLater();
}

void XRStoreLocatorDownloader::connectionDidReceiveResponse(XRURLConnection *, const XRHTTPURLResponse &response)
{
    m_busy = true;
    m_webData.clear();
    m_statusCode = response.statusCode();
    m_responseEtag = response.valueForHTTPHeaderField(QStringLiteral("Etag"));
}

void XRStoreLocatorDownloader::connectionDidReceiveData(XRURLConnection *, const QByteArray &data)
{
    m_webData.append(data);
}

void XRStoreLocatorDownloader::connectionDidFailWithError(XRURLConnection *, const XRError &error)
{
    m_appDelegate.dismissLoadingSplash();
    qCWarning(lcStores, "Store XML Error with theConnection: %s", qUtf8Printable(error.description()));
    m_appDelegate.showNetworkErrorAlert();
    endTransfer();
}

// Checked in this order: the market, the status, the body, the parse; the list
// and its tag are kept only at the end, and only together.
void XRStoreLocatorDownloader::connectionDidFinishLoading(XRURLConnection *)
{
    const QByteArray body = std::exchange(m_webData, QByteArray());
    if (marketChangedSinceLoadStarted()) {
        // The list of the market now chosen is on its way; this one would replace it.
        m_appDelegate.dismissLoadingSplash();
        qCInfo(lcStores, "Store list of a market no longer chosen dropped: %s",
               qUtf8Printable(xr::marketCode(m_market)));
    } else if (m_statusCode != 200 && m_statusCode != 304) {
        // An error page, however well-formed, is no branch list.
        qCWarning(lcStores, "Store XML Error with HTTP status: %d", m_statusCode);
        m_appDelegate.showNetworkErrorAlert();
    } else if (body.isEmpty()) {
        // The server's answer to a tag that still matches; the tag of a list
        // never received is not kept.
        qCInfo(lcStores, "Store Locator XML empty, using stored settings");
        m_appDelegate.dismissLoadingSplash();
        XRNotificationCenter::defaultCenter().postNotificationName(XRStoresDidEndParsingNotification);
    } else {
        XRNotificationCenter::defaultCenter().postNotificationName(XRStoreLocatorListDidEndLoadingNotification);
        parseXML(body);
    }
    endTransfer();
}

void XRStoreLocatorDownloader::parseXML(const QByteArray &body)
{
    XRError error;
    std::optional<QVariantMap> branches = XRBranchDocumentParser::branchDictionary(body, &error);
    m_appDelegate.dismissLoadingSplash();
    if (!branches) {
        qCWarning(lcStores, "Store XML Parse Error: %s", qUtf8Printable(error.description()));
        return;
    }
    if (!branches->contains(storesKey)) {
        // A well-formed page without "locations" (a maintenance notice) would empty the list.
        qCWarning(lcStores, "Store XML without a list of stores");
        m_appDelegate.showNetworkErrorAlert();
        return;
    }
    m_appDelegate.settingsDict().insert(storesDictKey, *std::move(branches));
    if (m_appDelegate.storeSettings())
        keepResponseEtag();
    XRNotificationCenter::defaultCenter().postNotificationName(XRStoresDidEndParsingNotification);
}

bool XRStoreLocatorDownloader::marketChangedSinceLoadStarted() const
{
    return xr::marketForLanguageIndex(xr::storedLanguageIndex()) != m_market;
}

void XRStoreLocatorDownloader::keepResponseEtag()
{
    if (m_responseEtag.isNull())
        return;
    XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    defaults.setObject(m_responseEtag, storeEtagKey);
    defaults.synchronize();
}

// Mostly called from the connection's own callbacks, where it may be let go.
void XRStoreLocatorDownloader::endTransfer()
{
    m_connection.reset();
    m_webData.clear();
    if (m_deleteWhenTransferEnds)
        deleteLater();
}
