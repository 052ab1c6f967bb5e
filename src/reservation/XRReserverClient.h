#pragma once

#include "XRURLConnection.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class XRConfiguration;
class XRReserverClientDelegate;

// Sends one reservation to the retailer's reservation service over HTTPS and
// tells its delegate what the service answered. Nobody holds a client: it
// keeps itself alive while the exchange runs and goes when it invalidates.
class XRReserverClient : public QObject, public XRURLConnectionDelegate
{
    Q_OBJECT
public:
    // A reply is under 64 kB.
    static constexpr qint64 maximumReplySize = 1024 * 1024;
    // Reads the request's values from the delegate and sends it at once to the
    // configuration's reservation host. The client belongs to itself; the
    // pointer is valid until it invalidates, and null when there is no delegate
    // to read from.
    static XRReserverClient *reserveWithDelegate(XRReserverClientDelegate *delegate,
                                                 const XRConfiguration &configuration);

    // The delegate is not owned; set it to null before it goes.
    XRReserverClientDelegate *delegate() const { return m_delegate; }
    void setDelegate(XRReserverClientDelegate *delegate) { m_delegate = delegate; }

    // Cancels the exchange: no callback arrives after this, and the client is
    // destroyed once control is back in the event loop.
    void invalidate();

    void connectionDidReceiveResponse(XRURLConnection *connection, const XRHTTPURLResponse &response) override;
    void connectionDidReceiveData(XRURLConnection *connection, const QByteArray &data) override;
    void connectionDidFinishLoading(XRURLConnection *connection) override;
    void connectionDidFailWithError(XRURLConnection *connection, const XRError &error) override;

private:
    XRReserverClient(XRReserverClientDelegate *delegate, const XRConfiguration &configuration);
    ~XRReserverClient() override;

    XRReserverClientDelegate *m_delegate;
    QByteArray m_data;
    int m_statusCode = 0;
    std::unique_ptr<XRURLConnection> m_connection;
};
