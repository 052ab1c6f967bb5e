#include "XRXMLParser.h"

#include <gtest/gtest.h>

namespace {

// Writes every event as one line, so a test compares the whole sequence.
class Recorder : public XRXMLParserDelegate
{
public:
    void parserDidStartDocument(XRXMLParser *) override { events << QStringLiteral("start"); }
    void parserDidEndDocument(XRXMLParser *) override { events << QStringLiteral("end"); }
    void parserDidStartElement(XRXMLParser *, const QString &name, const QString &uri, const QString &qName,
                               const QHash<QString, QString> &attributes) override
    {
        QString line = QStringLiteral("<") + name;
        if (!uri.isNull())
            line += QStringLiteral(" uri=") + uri + QStringLiteral(" q=") + qName;
        for (auto it = attributes.begin(); it != attributes.end(); ++it)
            line += QStringLiteral(" %1=%2").arg(it.key(), it.value());
        events << line;
    }
    void parserDidEndElement(XRXMLParser *, const QString &name, const QString &, const QString &) override
    {
        events << QStringLiteral("</") + name;
    }
    void parserFoundCharacters(XRXMLParser *, const QString &text) override
    {
        events << QStringLiteral("text:") + text;
    }
    void parserFoundCDATA(XRXMLParser *, const QByteArray &block) override
    {
        events << QStringLiteral("cdata:") + QString::fromUtf8(block.toHex());
    }
    void parserParseErrorOccurred(XRXMLParser *, const XRError &error) override
    {
        events << QStringLiteral("error");
        lastError = error;
    }

    QStringList events;
    XRError lastError;
};

QStringList parse(const QByteArray &xml, bool *ok = nullptr, Recorder *recorder = nullptr)
{
    Recorder local;
    Recorder &r = recorder ? *recorder : local;
    XRXMLParser parser(xml);
    parser.setDelegate(&r);
    const bool result = parser.parse();
    if (ok)
        *ok = result;
    return r.events;
}

TEST(XMLParser, ReportsEventsInDocumentOrderWithTextInPieces)
{
    bool ok = false;
    const QStringList events =
        parse("<rates a=\"1\"><row><swift_code>US&amp;D</swift_code><x><![CDATA[\xc3\xa5]]></x></row></rates>", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(events, (QStringList{QStringLiteral("start"), QStringLiteral("<rates a=1"), QStringLiteral("<row"),
                                   QStringLiteral("<swift_code"), QStringLiteral("text:US"), QStringLiteral("text:&"),
                                   QStringLiteral("text:D"), QStringLiteral("</swift_code"), QStringLiteral("<x"),
                                   QStringLiteral("cdata:c3a5"), QStringLiteral("</x"), QStringLiteral("</row"),
                                   QStringLiteral("</rates"), QStringLiteral("end")}));
}

TEST(XMLParser, AnErrorStopsTheParseAndNoDocumentEndFollows)
{
    const QByteArray broken[] = {
        "<rates><row>",                                      // unclosed
        "<rates><row></rates>",                              // mismatched
        "<rates>\xff\xfe</rates>",                           // not UTF-8
        "",                                                  // empty
        "<html><body>Server Error<br></body></html>",        // an error page
    };
    for (const QByteArray &xml : broken) {
        bool ok = true;
        Recorder recorder;
        const QStringList events = parse(xml, &ok, &recorder);
        EXPECT_FALSE(ok) << xml.constData();
        EXPECT_EQ(events.count(QStringLiteral("error")), 1) << xml.constData();
        EXPECT_EQ(events.last(), QStringLiteral("error")) << xml.constData();
        EXPECT_FALSE(events.contains(QStringLiteral("end"))) << xml.constData();
        EXPECT_EQ(recorder.lastError.domain, XRXMLParser::errorDomain);
        EXPECT_NE(recorder.lastError.code, 0);
    }
}

TEST(XMLParser, AbortFromTheDelegateEndsAsAFailedParse)
{
    struct Aborter : Recorder
    {
        void parserFoundCDATA(XRXMLParser *p, const QByteArray &) override { p->abortParsing(); }
    } aborter;
    XRXMLParser parser("<r><a>1</a><b><![CDATA[x]]></b><c>2</c></r>");
    parser.setDelegate(&aborter);
    EXPECT_FALSE(parser.parse());
    EXPECT_EQ(parser.parserError().code, XRXMLParser::delegateAbortedParseError);
    EXPECT_EQ(aborter.events.last(), QStringLiteral("error"));
    EXPECT_FALSE(aborter.events.contains(QStringLiteral("<c")));
}

} // namespace
