#include "XRCurrencyDownloader.h"

#include "XRApplication.h"
#include "XRConfiguration.h"
#include "XRDataFiles.h"
#include "XRSharedState.h"
#include "XRLog.h"
#include "XRMarkets.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"

#include <QStringDecoder>

#include <utility>

namespace {
const QString rowElement = QStringLiteral("row");
const QString currenciesKey = QStringLiteral("currencies");
} // namespace

XRCurrencyDownloader::XRCurrencyDownloader(XRSharedState *appDelegate)
    : m_appDelegate(appDelegate)
{
}

XRCurrencyDownloader::~XRCurrencyDownloader() = default;

void XRCurrencyDownloader::loadCurrenciesAndNotify(FailureAlert alert)
{
    if (m_busy)
        return;
    if (!m_appDelegate) {
        qCWarning(lcRates, "No application delegate: no market to load currencies from");
        return;
    }
    m_busy = true;
    m_failureAlert = alert;
    const int languageIndex = xr::storedLanguageIndex();
    m_loadingMarket = xr::marketForLanguageIndex(languageIndex);
    const QUrl url = xr::documentURL(m_appDelegate->configuration(), languageIndex, XRMarketDocument::Rates);
    qCInfo(lcRates, "loading list of currencies for URL: %s", qUtf8Printable(url.toString()));

    XRURLRequest request(url);
    request.setValueForHTTPHeaderField(xr::userAgent(), QStringLiteral("User-Agent"));
    request.setMaximumBodySize(maximumDocumentSize);
    m_webData.clear();
    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(true);
    m_connection = XRURLConnection::connectionWithRequest(request, this);
}

void XRCurrencyDownloader::connectionDidReceiveResponse(XRURLConnection *, const XRHTTPURLResponse &response)
{
    // Only the body of the last response counts.
    m_webData.clear();
    m_statusCode = response.statusCode();
}

void XRCurrencyDownloader::connectionDidReceiveData(XRURLConnection *, const QByteArray &data)
{
    m_webData += data;
}

// An error page is no rates document, however well-formed: like a body that
// does not parse, it fails the load and the last good rates stay.
void XRCurrencyDownloader::connectionDidFinishLoading(XRURLConnection *)
{
    m_connection.reset();
    XRNotificationCenter::defaultCenter().postNotificationName(XRCurrenciesDidEndLoadingNotification);
    const QByteArray body = std::exchange(m_webData, {});
    if (m_statusCode < 200 || m_statusCode > 299) {
        qCWarning(lcRates, "Currency XML Error with HTTP status: %d", m_statusCode);
        failLoading();
    } else if (parseXML(body)) {
        keepDocument(body);
    } else {
        failLoading();
    }
    endLoading();
}

void XRCurrencyDownloader::keepDocument(const QByteArray &body)
{
    // A document without rates is no good to show later.
    if (m_dataDict.value(currenciesKey).toList().isEmpty())
        return;
    if (!m_appDelegate->dataFiles().writeApplicationData(body, keptRatesFileName(m_loadingMarket)))
        qCWarning(lcRates, "Error keeping the rates document");
}

bool XRCurrencyDownloader::loadKeptCurrencies()
{
    const XRMarket market = xr::marketForLanguageIndex(xr::storedLanguageIndex());
    const std::optional<QByteArray> kept =
        m_appDelegate ? m_appDelegate->dataFiles().applicationDataFromFile(keptRatesFileName(market)) : std::nullopt;
    if (kept && parseXML(*kept))
        return true;
    qCInfo(lcRates, "No kept rates for %s", qUtf8Printable(xr::marketCode(market)));
    m_dataDict.clear();
    return false;
}

QString XRCurrencyDownloader::keptRatesFileName(XRMarket market)
{
    return QStringLiteral("rates-%1.xml").arg(xr::marketCode(market));
}

void XRCurrencyDownloader::connectionDidFailWithError(XRURLConnection *, const XRError &error)
{
    qCWarning(lcRates, "Currency XML Error with theConnection: %s", qUtf8Printable(error.description()));
    failLoading();
    m_connection.reset();
    m_webData.clear();
    endLoading();
}

// Observers hear of the failure while the load is still busy, so a load they
// ask for is ignored; the rates of the last good document stay in dataDict().
void XRCurrencyDownloader::failLoading()
{
    if (m_failureAlert == FailureAlert::Shown)
        m_appDelegate->showNetworkErrorAlert();
    XRNotificationCenter::defaultCenter().postNotificationName(XRCurrenciesDidFailLoadingNotification);
}

void XRCurrencyDownloader::endLoading()
{
    m_busy = false;
    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(false);
}

bool XRCurrencyDownloader::parseXML(const QByteArray &body, XRError *error)
{
    XRXMLParser parser(body);
    parser.setDelegate(this);
    const bool parsed = parser.parse();
    if (!parsed && error)
        *error = parser.parserError();
    dropDocument();
    return parsed;
}

void XRCurrencyDownloader::dropDocument()
{
    m_rowsArray.clear();
    m_documentValues.clear();
    m_tempRowDict.clear();
    m_parsingRow = false;
    m_resultString.reset();
}

void XRCurrencyDownloader::parserDidStartDocument(XRXMLParser *)
{
    dropDocument();
}

void XRCurrencyDownloader::parserDidStartElement(XRXMLParser *, const QString &elementName, const QString &,
                                                 const QString &, const QHash<QString, QString> &)
{
    if (elementName == rowElement) {
        m_tempRowDict.clear();
        m_parsingRow = true;
    }
    // An enclosing element's text so far is dropped: only text-only elements keep theirs.
    m_resultString = QStringLiteral("");
}

void XRCurrencyDownloader::parserFoundCharacters(XRXMLParser *, const QString &string)
{
    if (m_resultString)
        *m_resultString += string;
}

void XRCurrencyDownloader::parserFoundCDATA(XRXMLParser *parser, const QByteArray &block)
{
    if (!m_resultString)
        return;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(block);
    // Bytes that make no text are refused with the whole document, so the last good rates stay.
    if (decoder.hasError()) {
        parser->abortParsing();
        return;
    }
    *m_resultString += text;
}

void XRCurrencyDownloader::parserDidEndElement(XRXMLParser *, const QString &elementName, const QString &,
                                               const QString &)
{
    if (m_resultString)
        (m_parsingRow ? m_tempRowDict : m_documentValues).insert(elementName, *m_resultString);
    if (elementName == rowElement) {
        m_rowsArray.append(m_tempRowDict);
        m_tempRowDict.clear();
        m_parsingRow = false;
    }
    m_resultString.reset();
}

void XRCurrencyDownloader::parserParseErrorOccurred(XRXMLParser *, const XRError &error)
{
    qCWarning(lcRates, "Currency XML Parse Error: %s", qUtf8Printable(error.description()));
}

void XRCurrencyDownloader::parserDidEndDocument(XRXMLParser *)
{
    for (auto it = m_documentValues.cbegin(); it != m_documentValues.cend(); ++it)
        m_dataDict.insert(it.key(), it.value());
    m_dataDict.insert(currenciesKey, m_rowsArray);
    dropDocument();
    XRNotificationCenter::defaultCenter().postNotificationName(XRCurrenciesDidEndParsingNotification);
}
