#pragma once

#include "XRMarkets.h"
#include "XRURLConnection.h"
#include "XRXMLParser.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <optional>

class XRSharedState;

// Fetches the current market's rates document, reads it into currency rows and
// document-level values kept in dataDict(), and announces the outcome with the
// XRCurrencies... notifications. The last good document of each market is kept
// in the data folder, so that rates can be shown before the network answers.
class XRCurrencyDownloader : public XRURLConnectionDelegate, public XRXMLParserDelegate
{
public:
    // A rates document is about 15 kB.
    static constexpr qint64 maximumDocumentSize = 1024 * 1024;
    // Loads nothing without the shared state to read the market from.
    explicit XRCurrencyDownloader(XRSharedState *appDelegate);
    ~XRCurrencyDownloader() override;
    XRCurrencyDownloader(const XRCurrencyDownloader &) = delete;
    XRCurrencyDownloader &operator=(const XRCurrencyDownloader &) = delete;

    // Whether a failed load asks for the network alert. A load nobody asked
    // for, such as the screen's periodic retry, fails quietly.
    enum class FailureAlert { Shown, Quiet };

    // Starts a load unless one is running; the outcome arrives later as
    // "XRCurrenciesDidEndParsingNotification" or "XRCurrenciesDidFailLoadingNotification".
    void loadCurrenciesAndNotify(FailureAlert alert = FailureAlert::Shown);

    // Reads the kept document of the current market as a download would, with
    // the parse-end notification. False when there is none: the rates of any
    // other market are dropped then, and nothing is posted.
    bool loadKeptCurrencies();
    // The file, in the data folder, holding the market's last good rates document.
    static QString keptRatesFileName(XRMarket market);

    bool isBusy() const { return m_busy; }
    void setBusy(bool busy) { m_busy = busy; }

    // "currencies": the rows of the last document read to its end; besides it,
    // every text-only element outside the rows under its name. Kept across loads.
    const QVariantMap &dataDict() const { return m_dataDict; }
    // The rows are cleaned in place by their reader.
    QVariantMap &dataDict() { return m_dataDict; }

    // Reads a rates body into dataDict() and posts the parse-end notification.
    // A body that is not a well-formed document leaves dataDict() as it was and
    // returns false, with the parser's error in *error.
    bool parseXML(const QByteArray &body, XRError *error = nullptr);

    void connectionDidReceiveResponse(XRURLConnection *connection, const XRHTTPURLResponse &response) override;
    void connectionDidReceiveData(XRURLConnection *connection, const QByteArray &data) override;
    void connectionDidFinishLoading(XRURLConnection *connection) override;
    void connectionDidFailWithError(XRURLConnection *connection, const XRError &error) override;

    void parserDidStartDocument(XRXMLParser *parser) override;
    void parserDidStartElement(XRXMLParser *parser, const QString &elementName, const QString &namespaceURI,
                               const QString &qualifiedName, const QHash<QString, QString> &attributes) override;
    void parserFoundCharacters(XRXMLParser *parser, const QString &string) override;
    void parserFoundCDATA(XRXMLParser *parser, const QByteArray &block) override;
    void parserDidEndElement(XRXMLParser *parser, const QString &elementName, const QString &namespaceURI,
                             const QString &qualifiedName) override;
    void parserParseErrorOccurred(XRXMLParser *parser, const XRError &error) override;
    void parserDidEndDocument(XRXMLParser *parser) override;

private:
    void keepDocument(const QByteArray &body);
    void failLoading();
    void endLoading();
    void dropDocument();

    XRSharedState *m_appDelegate;
    QVariantMap m_dataDict;
    bool m_busy = false;
    std::unique_ptr<XRURLConnection> m_connection;
    // The market of the running load: its document is kept under its name even
    // when the market changes before the load ends.
    XRMarket m_loadingMarket = XRMarket::Sweden;
    FailureAlert m_failureAlert = FailureAlert::Shown;
    QByteArray m_webData;
    int m_statusCode = 0;

    // The document being read. Its values reach dataDict() only when it has
    // been read to its end, so that a broken document changes nothing.
    QVariantList m_rowsArray;
    QVariantMap m_documentValues;
    QVariantMap m_tempRowDict;
    bool m_parsingRow = false;
    // The text of the element now open, while it has had no child element.
    std::optional<QString> m_resultString;
};
