// Reading documents through the XML layer against the same work in bare
// libxml2 calls; prints medians and their ratios as "name: value" lines.

#include "XRXMLDocument.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

const int parseOptions = XML_PARSE_NOCDATA | XML_PARSE_NOBLANKS;

QByteArray reservationReply()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<ReservationReply><Code>0</Code>"
           "<Message>Your reservation 4711 is ready for collection on 2011-05-06.</Message>"
           "<Market>SE</Market></ReservationReply>";
}

// About 1 MB: 10,000 children with distinct texts.
QByteArray largeDocument()
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<items>";
    for (int i = 0; i < 10000; ++i) {
        xml += "<item>Store " + QByteArray::number(i) + ", Drottninggatan "
               + QByteArray::number(i % 97) + ", 111 51 Stockholm, open 10-19 weekdays, telephone 08-411 22 33</item>";
    }
    return xml + "</items>";
}

// Both sides do the same work: parse, find the children by name, hand back
// their texts as QStrings and free the document.
QStringList layerRead(const QByteArray &data, const QList<QString> &names)
{
    QStringList texts;
    auto document = XRXMLDocument::documentWithData(data, 0, nullptr);
    const XRXMLElementPtr root = document->rootElement();
    for (const QString &name : names) {
        for (const XRXMLElementPtr &element : root->elementsForName(name))
            texts.append(element->stringValue());
    }
    return texts;
}

QStringList bareRead(const QByteArray &data, const std::vector<QByteArray> &names)
{
    QStringList texts;
    xmlDocPtr document = xmlReadMemory(data.constData(), int(data.size()), nullptr, nullptr, parseOptions);
    xmlNodePtr root = xmlDocGetRootElement(document);
    for (const QByteArray &name : names) {
        for (xmlNodePtr child = root->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE
                || !xmlStrEqual(child->name, reinterpret_cast<const xmlChar *>(name.constData())))
                continue;
            xmlChar *content = xmlNodeGetContent(child);
            texts.append(QString::fromUtf8(reinterpret_cast<const char *>(content)));
            xmlFree(content);
        }
    }
    xmlFreeDoc(document);
    return texts;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template<typename Work>
double secondsFor(int iterations, Work work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < iterations; ++i)
        benchmark::DoNotOptimize(work());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / iterations;
}

struct Comparison
{
    double layerSeconds;
    double bareSeconds;
    double ratio;
};

// Samples of both sides taken back to back, in alternating order; the ratio
// is the median of the samples' ratios, which stands up better to a busy machine.
template<typename Layer, typename Bare>
Comparison compare(int samples, int iterations, Layer layer, Bare bare)
{
    std::vector<double> layerTimes, bareTimes, ratios;
    secondsFor(iterations, layer);
    secondsFor(iterations, bare);
    for (int sample = 0; sample < samples; ++sample) {
        double layerTime = 0;
        double bareTime = 0;
        if (sample % 2) {
            layerTime = secondsFor(iterations, layer);
            bareTime = secondsFor(iterations, bare);
        } else {
            bareTime = secondsFor(iterations, bare);
            layerTime = secondsFor(iterations, layer);
        }
        layerTimes.push_back(layerTime);
        bareTimes.push_back(bareTime);
        ratios.push_back(layerTime / bareTime);
    }
    return {median(layerTimes), median(bareTimes), median(ratios)};
}

} // namespace

int main()
{
    XRXMLNode::load();

    const QByteArray reply = reservationReply();
    const QList<QString> replyNames{QStringLiteral("Code"), QStringLiteral("Message"), QStringLiteral("Market")};
    const std::vector<QByteArray> replyBytes{"Code", "Message", "Market"};
    if (layerRead(reply, replyNames) != bareRead(reply, replyBytes)) {
        std::fprintf(stderr, "the two readings of the reply differ\n");
        return 1;
    }
    const Comparison replies = compare(
        101, 500, [&] { return layerRead(reply, replyNames); }, [&] { return bareRead(reply, replyBytes); });
    std::printf("xml-reply-layer-us: %.2f\n", replies.layerSeconds * 1e6);
    std::printf("xml-reply-bare-us: %.2f\n", replies.bareSeconds * 1e6);
    std::printf("xml-reply-ratio: %.2f\n", replies.ratio);

    const QByteArray large = largeDocument();
    const QList<QString> itemName{QStringLiteral("item")};
    const std::vector<QByteArray> itemBytes{"item"};
    if (layerRead(large, itemName) != bareRead(large, itemBytes)) {
        std::fprintf(stderr, "the two readings of the large document differ\n");
        return 1;
    }
    const Comparison larges = compare(
        41, 2, [&] { return layerRead(large, itemName); }, [&] { return bareRead(large, itemBytes); });
    std::printf("xml-1mb-document-bytes: %lld\n", static_cast<long long>(large.size()));
    std::printf("xml-1mb-children-layer-ms: %.2f\n", larges.layerSeconds * 1e3);
    std::printf("xml-1mb-children-bare-ms: %.2f\n", larges.bareSeconds * 1e3);
    std::printf("xml-1mb-children-ratio: %.2f\n", larges.ratio);
    return 0;
}
