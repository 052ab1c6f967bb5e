// vaxlo-inspect rates / convert: the currency screen's view of a rates document.

#include "InspectCommand.h"
#include "InspectJson.h"

#include "XRAppDelegate.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRMarkets.h"
#include "XRUserDefaults.h"

#include <QFile>

namespace xr::inspect {

namespace {

// The file read by the downloader's own parse; false with the reason in output.
bool parseRatesFile(const QString &path, XRCurrencyDownloader &downloader, Output &output)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        output.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    XRError error;
    if (!downloader.parseXML(file.readAll(), &error)) {
        output.error = QStringLiteral("%1 is not a rates document: %2").arg(path, error.description());
        return false;
    }
    return true;
}

ExitStatus rates(const QStringList &arguments, Output &output)
{
    const bool raw = arguments.size() == 2 && arguments[1] == QLatin1String("--raw");
    if (arguments.size() != 1 && !raw)
        return BadUsage;
    XRCurrencyDownloader downloader(nullptr);
    if (!parseRatesFile(arguments[0], downloader, output))
        return BadInput;
    if (!raw) {
        XRAppDelegate appDelegate{XRConfiguration()};
        XRCurrencyConverter(downloader, appDelegate).tidyCurrencyArray();
    }
    output.json = toJsonText(downloader.dataDict());
    return Success;
}

QVariantMap labelTexts(const XRCurrencyConverter::Labels &labels)
{
    return {
        {QStringLiteral("swiftSourceLabel"), labels.swiftSourceLabel},
        {QStringLiteral("swiftTransactionLabel"), labels.swiftTransactionLabel},
        {QStringLiteral("baseDestinationLabel"), labels.baseDestinationLabel},
        {QStringLiteral("baseSourceLabel"), labels.baseSourceLabel},
        {QStringLiteral("baseTransactionLabel"), labels.baseTransactionLabel},
        {QStringLiteral("swiftDestinationLabel"), labels.swiftDestinationLabel},
    };
}

// The market named by "--market CODE", else that of the desktop's language
// (Sweden for any language not one of the four); nothing for an unknown code.
std::optional<XRMarket> displayMarket(const QStringList &options)
{
    if (options.isEmpty()) {
        const QString language = XRUserDefaults::devicePreferredLanguages().value(0);
        return xr::marketForLanguageIndex(xr::languageIndexForDeviceLanguage(language).value_or(0));
    }
    if (options.size() != 2 || options[0] != QLatin1String("--market"))
        return std::nullopt;
    for (const XRMarket market : {XRMarket::Sweden, XRMarket::Denmark, XRMarket::Norway, XRMarket::Finland}) {
        if (options[1] == xr::marketCode(market))
            return market;
    }
    return std::nullopt;
}

ExitStatus convert(const QStringList &arguments, Output &output)
{
    if (arguments.size() < 4)
        return BadUsage;
    const QString &code = arguments[1];
    const QString &transType = arguments[3];
    const std::optional<XRMarket> market = displayMarket(arguments.mid(4));
    if ((transType != QLatin1String("buy") && transType != QLatin1String("sell")) || !market)
        return BadUsage;

    XRCurrencyDownloader downloader(nullptr);
    if (!parseRatesFile(arguments[0], downloader, output))
        return BadInput;
    XRAppDelegate appDelegate{XRConfiguration()};
    XRCurrencyConverter converter(downloader, appDelegate);
    converter.tidyCurrencyArray();

    const QVariantList rows = converter.currenciesArray();
    int row = 0;
    while (row < rows.size() && rows[row].toMap().value(QStringLiteral("swift_code")).toString() != code)
        ++row;
    if (!converter.selectCurrencyAtRow(row)) {
        output.error = QStringLiteral("no currency with swift_code %1 in %2").arg(code, arguments[0]);
        return BadInput;
    }
    converter.setAmountText(arguments[2]);
    converter.setTransTypeSegment(transType == QLatin1String("buy") ? XRCurrencyConverter::buySegment
                                                                     : XRCurrencyConverter::sellSegment);
    // The stored form beside the screen's form in the market's number format.
    QVariantMap result = labelTexts(converter.setLabels());
    result.insert(QStringLiteral("sellCashAmmount"), converter.sellCashAmmount());
    QVariantMap display = labelTexts(converter.displayLabels(xr::marketLocale(*market)));
    display.insert(QStringLiteral("market"), xr::marketCode(*market));
    result.insert(QStringLiteral("display"), display);
    output.json = toJsonText(result);
    return Success;
}

[[maybe_unused]] const bool registered = registerCommand({QStringLiteral("rates"), QStringLiteral("rates FILE [--raw]"), rates})
    && registerCommand({QStringLiteral("convert"), QStringLiteral("convert FILE CODE AMOUNT buy|sell [--market SE|DK|NO|FI]"), convert});

} // namespace

} // namespace xr::inspect
