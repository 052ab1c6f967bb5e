#pragma once

#include <QLocale>
#include <QString>
#include <QUrl>

#include <optional>

struct XRConfiguration;

// The four markets, in the order of the language index.
enum class XRMarket { Sweden = 0, Denmark = 1, Norway = 2, Finland = 3 };

// The three documents every market's web host serves.
enum class XRMarketDocument { Rates, Branches, News };

namespace xr {

// 1 is Denmark, 2 Norway, 3 Finland; every other value, 0 included, Sweden.
XRMarket marketForLanguageIndex(int index);
// "SE", "DK", "NO" or "FI".
QString marketCode(XRMarket market);
QString marketCodeForLanguageIndex(int index);
// The home currency the market's rates are given in: "SEK", "DKK", "NOK" or "EUR".
QString homeCurrency(XRMarket market);
// The market's language in its country, for showing numbers as its customers write them.
QLocale marketLocale(XRMarket market);
// The index of a device language code ("sv", "da", "nb", "fi", compared whole
// and case-sensitively), or nothing.
std::optional<int> languageIndexForDeviceLanguage(const QString &code);

// The language index stored in the user preferences; 0 when none is.
int storedLanguageIndex();

QString documentPathAndQuery(XRMarketDocument document);
// "http://", the market's web host, then the document's path and query.
QUrl documentURL(const XRConfiguration &configuration, int languageIndex, XRMarketDocument document);

// The "User-Agent" of every request to a market's web host.
QString userAgent();

} // namespace xr
