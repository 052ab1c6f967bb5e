// The rates load as the currency screen runs it (download from loopback, parse,
// clean) and the parse and cleaning alone, each against a bare libxml2 SAX pass
// over the same bytes of a 40-row market document.

#include "EventLoop.h"
#include "LoopbackServer.h"
#include "TestEnvironment.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Forty currencies as a Swedish retailer quotes them: decimal commas, some per
// 100 units, travellers' cheques not quoted for most.
QByteArray ratesDocument()
{
    static const char *const currencies[][3] = {
        {"EUR", "euro", "1"}, {"USD", "amerikanska dollar", "1"}, {"GBP", "brittiska pund", "1"},
        {"DKK", "danska kronor", "100"}, {"NOK", "norska kronor", "100"}, {"CHF", "schweiziska franc", "1"},
        {"JPY", "japanska yen", "100"}, {"AUD", "australiska dollar", "1"}, {"CAD", "kanadensiska dollar", "1"},
        {"NZD", "nyzeeländska dollar", "1"}, {"ISK", "isländska kronor", "100"}, {"PLN", "polska zloty", "1"},
        {"CZK", "tjeckiska kronor", "100"}, {"HUF", "ungerska forint", "100"}, {"HRK", "kroatiska kuna", "1"},
        {"TRY", "turkiska lira", "1"}, {"THB", "thailändska baht", "100"}, {"HKD", "hongkongdollar", "1"},
        {"SGD", "singaporedollar", "1"}, {"CNY", "kinesiska yuan", "1"}, {"INR", "indiska rupier", "100"},
        {"ZAR", "sydafrikanska rand", "1"}, {"MXN", "mexikanska pesos", "1"}, {"BRL", "brasilianska real", "1"},
        {"ILS", "israeliska shekel", "1"}, {"EGP", "egyptiska pund", "1"}, {"MAD", "marockanska dirham", "1"},
        {"TND", "tunisiska dinarer", "1"}, {"AED", "emiratiska dirham", "1"}, {"KRW", "sydkoreanska won", "100"},
        {"IDR", "indonesiska rupier", "100"}, {"MYR", "malaysiska ringgit", "1"}, {"PHP", "filippinska pesos", "1"},
        {"VND", "vietnamesiska dong", "100"}, {"RUB", "ryska rubel", "1"}, {"BGN", "bulgariska lev", "1"},
        {"RON", "rumänska lei", "1"}, {"RSD", "serbiska dinarer", "100"}, {"BAM", "bosnisk mark", "1"},
        {"KES", "kenyanska shilling", "100"},
    };
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<valutakurser>\n"
                     "  <timestamp>2011-05-03 14:07</timestamp>\n";
    int i = 0;
    for (const auto &currency : currencies) {
        const double mid = 0.35 + 0.73 * ++i * (std::strcmp(currency[2], "100") == 0 ? 40 : 1);
        const auto rate = [](double value) { return QByteArray::number(value, 'f', 2).replace('.', ','); };
        const QByteArray tc = i % 3 == 0 ? rate(mid * 0.98) : QByteArray("-");
        xml += "  <row>\n    <swift_code>" + QByteArray(currency[0]) + "</swift_code>\n    <swift_name>"
               + QByteArray(currency[1]) + "</swift_name>\n    <buy_cash>" + rate(mid * 0.95) + "</buy_cash>\n"
               + "    <sell_cash>" + rate(mid * 1.05) + "</sell_cash>\n    <buy_tc>" + tc + "</buy_tc>\n"
               + "    <sell_tc>" + tc + "</sell_tc>\n    <multiply>" + QByteArray(currency[2]) + "</multiply>\n"
               + "    <base_swift>SEK</base_swift>\n    <CurrencyGuide>" + rate(mid) + "</CurrencyGuide>\n  </row>\n";
    }
    return xml + "</valutakurser>\n";
}

double medianMicroseconds(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[size_t(runs / 2)];
}

int bareSaxPass(const QByteArray &document)
{
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = [](void *count, const xmlChar *, const xmlChar *, const xmlChar *, int,
                                const xmlChar **, int, int, const xmlChar **) { ++*static_cast<int *>(count); };
    handler.characters = [](void *, const xmlChar *, int) {};
    int elements = 0;
    xmlSAXUserParseMemory(&handler, &elements, document.constData(), int(document.size()));
    return elements;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    xr::test::pinEnvironment(home);
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vaxlo.*=false"));

    const QByteArray document = ratesDocument();
    xr::test::LoopbackServer server;
    server.route(QStringLiteral("/ratesxml.asp"), {.body = document});
    XRConfiguration configuration;
    configuration.marketHosts.fill(QStringLiteral("127.0.0.1:%1").arg(server.port()));
    XRAppDelegate appDelegate(configuration);
    XRApplication::sharedApplication().setDelegate(&appDelegate);
    XRCurrencyDownloader downloader(&appDelegate);
    XRCurrencyConverter converter(downloader, appDelegate);

    const auto load = [&] {
        downloader.loadCurrenciesAndNotify();
        xr::test::waitUntil([&] { return !downloader.isBusy(); });
        converter.tidyCurrencyArray();
    };
    const auto parse = [&] { downloader.parseXML(document); };
    const auto parseAndClean = [&] {
        downloader.parseXML(document);
        converter.tidyCurrencyArray();
    };
    const auto bare = [&] { benchmark::DoNotOptimize(bareSaxPass(document)); };

    for (int warmUp = 0; warmUp < 20; ++warmUp) {
        load();
        parseAndClean();
        bare();
    }
    if (converter.currenciesArray().size() != 40) {
        std::fprintf(stderr, "the benchmark document did not parse to 40 rows\n");
        return 1;
    }
    const double loadUs = medianMicroseconds(300, load);
    const double parseUs = medianMicroseconds(2000, parse);
    const double parseCleanUs = medianMicroseconds(2000, parseAndClean);
    const double bareUs = medianMicroseconds(2000, bare);

    std::printf("rates-document-bytes: %lld\n", static_cast<long long>(document.size()));
    std::printf("rates-load-us: %.1f\n", loadUs);
    std::printf("rates-parse-us: %.1f\n", parseUs);
    std::printf("rates-parse-clean-us: %.1f\n", parseCleanUs);
    std::printf("rates-bare-sax-us: %.1f\n", bareUs);
    std::printf("rates-load-ratio: %.1f\n", loadUs / bareUs);
    std::printf("rates-parse-ratio: %.1f\n", parseUs / bareUs);
    std::printf("rates-parse-clean-ratio: %.1f\n", parseCleanUs / bareUs);
    XRApplication::sharedApplication().setDelegate(nullptr);
    return 0;
}
