#pragma once

#include "XRMarkets.h"
#include "XRURLConnection.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class XRSharedState;

// Fetches the current market's branch document, stores its branch dictionary
// in the settings dictionary under "storesDict", writes the settings file and
// announces the store list with "XRStoresDidEndParsingNotification". One
// downloader serves one load.
class XRStoreLocatorDownloader : public QObject, private XRURLConnectionDelegate
{
public:
    // Seconds without progress after which the download counts as failed.
    static constexpr double requestTimeoutInterval = 15.0;
    static constexpr double requestMaximumDuration = 60.0;
    // A large retailer's branch list stays under 2 MB.
    static constexpr qint64 maximumDocumentSize = 4 * 1024 * 1024;

    explicit XRStoreLocatorDownloader(XRSharedState &appDelegate);
    ~XRStoreLocatorDownloader() override;

    // Starts the load unless one has started already; the outcome arrives as
    // a notification or as the network alert.
    void loadStoresAndNotify();
    // Stops the transfer and posts "XRConnectionDidCancelNotification".
    void cancelConnection();

    // Set once the first response of the load has arrived.
    bool isBusy() const { return m_busy; }
    // The transfer under way, if any.
    const XRURLConnection *theConnection() const { return m_connection.get(); }

    // Deletes the downloader once its transfer has ended (on the next turn of
    // the event loop), so that a dropped load still runs to its end.
    void deleteWhenTransferEnds();

private:
    void connectionDidReceiveResponse(XRURLConnection *connection, const XRHTTPURLResponse &response) override;
    void connectionDidReceiveData(XRURLConnection *connection, const QByteArray &data) override;
    void connectionDidFinishLoading(XRURLConnection *connection) override;
    void connectionDidFailWithError(XRURLConnection *connection, const XRError &error) override;

    void parseXML(const QByteArray &body);
    bool marketChangedSinceLoadStarted() const;
    void keepResponseEtag();
    void endTransfer();

    XRSharedState &m_appDelegate;
    std::unique_ptr<XRURLConnection> m_connection;
    QByteArray m_webData;
    bool m_busy = false;
    XRMarket m_market = XRMarket::Sweden;
    int m_statusCode = 0;
    // The entity tag of the last response; kept in the preferences only once
    // its list has been written to the settings file, so that a list lost on
    // the way, or not saved, is fetched again.
    QString m_responseEtag;
    bool m_deleteWhenTransferEnds = false;
};
