// Measures, in one run, what the store list costs on a large market: the
// branch document parse against a bare libxml2 SAX pass over the same bytes,
// rebuilding the store collection with locations, and ordering by distance.
// Prints one "name: value" line per figure; each time is a median of the
// thread's processor time.

#include "XRBranchDocumentParser.h"
#include "XRStoreCollection.h"
#include "XRStoreOrdering.h"

#include <QCoreApplication>
#include <QGeoCoordinate>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int storeCount = 10'000;
constexpr int rounds = 15;

// A branch document shaped like a market's real one: ten fields and three
// opening events per store, spread over the country.
QByteArray branchDocument()
{
    static const char *const cities[] = {"Stockholm", "Göteborg", "Malmö", "Uppsala", "Västerås", "Örebro",
                                         "Linköping", "Helsingborg", "Jönköping", "Norrköping", "Lund", "Umeå"};
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<branches>\n  <updated>2026-11-02</updated>\n"
                     "  <locations>\n";
    for (int i = 0; i < storeCount; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray city = cities[i % std::size(cities)];
        xml += "<location>\n<id>SE.1" + n.rightJustified(5, '0') + "</id>\n"
               "<name>Växlo " + city + " Centrum " + n + "</name>\n"
               "<city>" + city + "</city>\n"
               "<address>Drottninggatan " + QByteArray::number(i % 97 + 1) + "</address>\n"
               "<zip>" + QByteArray::number(10000 + i % 89999) + "</zip>\n"
               "<phone>08 " + QByteArray::number(400000 + i) + "</phone>\n"
               "<phone_alt>" + (i % 3 ? QByteArray() : "08 " + QByteArray::number(500000 + i)) + "</phone_alt>\n"
               "<latitude>" + QByteArray::number(55.3 + (i % 1000) * 0.0128, 'f', 6) + "</latitude>\n"
               "<longitude>" + QByteArray::number(11.1 + (i / 1000) * 0.9, 'f', 6) + "</longitude>\n"
               "<events>\n"
               "<event><e_name>Måndag - fredag</e_name><e_start>10:00</e_start><e_stop>19:00</e_stop></event>\n"
               "<event><e_name>Lördag</e_name><e_start>10:00</e_start><e_stop>16:00</e_stop></event>\n"
               "<event><e_name>Söndag</e_name><e_start>Stängt</e_start></event>\n"
               "</events>\n</location>\n";
    }
    xml += "  </locations>\n</branches>\n";
    return xml;
}

// libxml2 alone, set up as the application's parser is, with callbacks that do nothing.
bool bareSaxPass(const QByteArray &document)
{
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = [](void *, const xmlChar *, const xmlChar *, const xmlChar *, int, const xmlChar **, int,
                                int, const xmlChar **) {};
    handler.endElementNs = [](void *, const xmlChar *, const xmlChar *, const xmlChar *) {};
    handler.characters = [](void *, const xmlChar *, int) {};
    handler.cdataBlock = [](void *, const xmlChar *, int) {};
    xmlParserCtxtPtr context = xmlCreatePushParserCtxt(&handler, nullptr, document.constData(), 4, nullptr);
    xmlCtxtUseOptions(context, XML_PARSE_NONET);
    xmlParseChunk(context, document.constData() + 4, int(document.size() - 4), 1);
    const bool wellFormed = context->wellFormed;
    xmlFreeParserCtxt(context);
    return wellFormed;
}

// Processor time of this thread, so that other programs running meanwhile
// do not count; for this single-threaded work it is the wall time of an idle machine.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The median time of the work; what it returns is freed outside the clock.
// What the preparation makes is handed to the work outside the clock.
template <typename Prepare, typename Work>
double medianMilliseconds(Prepare prepare, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        auto prepared = prepare();
        const double start = threadMilliseconds();
        const auto result = work(prepared);
        times.push_back(threadMilliseconds() - start);
        benchmark::DoNotOptimize(&result);
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    return times[rounds / 2];
}

template <typename Work>
double medianMilliseconds(Work work)
{
    return medianMilliseconds([] { return 0; }, [&work](int) { return work(); });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    xmlInitParser();
    const QByteArray document = branchDocument();

    const double bare = medianMilliseconds([&] { return bareSaxPass(document); });
    const double parse = medianMilliseconds([&] { return XRBranchDocumentParser::branchDictionary(document); });
    const std::optional<QVariantMap> branches = XRBranchDocumentParser::branchDictionary(document);
    if (!branches || branches->value(QStringLiteral("stores")).toList().size() != storeCount) {
        std::fprintf(stderr, "the generated branch document did not parse into %d stores\n", storeCount);
        return 1;
    }

    const QVariantMap settings{{QStringLiteral("storesDict"), *branches}};
    const double rebuild = medianMilliseconds([&] {
        XRStoreCollection collection;
        collection.setupStoresArray(settings);
        return collection;
    });

    const QGeoCoordinate uppsala(59.8586, 17.6389);
    const QString defaultStore = QStringLiteral("SE.104242");
    // The store list's first ordering after a new list, as the list does it:
    // the collection's records take their distances, and the list orders them.
    const auto newCollection = [&] {
        auto collection = std::make_unique<XRStoreCollection>();
        collection->setupStoresArray(settings);
        return collection;
    };
    const auto order = [&defaultStore](XRStoreCollection &collection, const QGeoCoordinate &position) {
        collection.addDistanceToStores(position);
        return xr::sortStoresByDistance(*collection.storesArray(), defaultStore);
    };
    const double firstOrder = medianMilliseconds(newCollection, [&](auto &collection) { return order(*collection, uppsala); });
    // Every later location report: the same records, a new position.
    const std::unique_ptr<XRStoreCollection> collection = newCollection();
    order(*collection, uppsala);
    const QGeoCoordinate stockholm(59.3293, 18.0686);
    const double reorder = medianMilliseconds([&] { return order(*collection, stockholm); });

    std::printf("branch-document-bytes: %lld\n", static_cast<long long>(document.size()));
    std::printf("branch-stores: %d\n", storeCount);
    std::printf("bare-sax-ms: %.1f\n", bare);
    std::printf("branch-parse-ms: %.1f\n", parse);
    std::printf("branch-parse-ratio: %.2f\n", parse / bare);
    std::printf("collection-rebuild-ms: %.1f\n", rebuild);
    std::printf("distance-order-ms: %.1f\n", firstOrder);
    std::printf("collection-plus-order-ms: %.1f\n", rebuild + firstOrder);
    std::printf("distance-reorder-ms: %.1f\n", reorder);
    return 0;
}
