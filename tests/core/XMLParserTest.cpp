#include "XRXMLParser.h"

#include <gtest/gtest.h>

namespace {

// Writes every event as one line, so a test compares the whole sequence.
class Recorder : public XRXMLParserDelegate
{
public:
    void parserDidStartDocument(XRXMLParser *) override { events << QStringLiteral("start"); }
    void parserDidEndDocument(XRXMLParser *) override { events << QStringLiteral("end"); }
    void parserDidStartElement(XRXMLParser *, const QString &name, const QString &, const QString &,
                               const QHash<QString, QString> &attributes) override
    {
        QString line = QStringLiteral("<") + name;
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

bool parse(const QByteArray &xml, Recorder &recorder)
{
    XRXMLParser parser(xml);
    parser.setDelegate(&recorder);
    return parser.parse();
}

TEST(XMLParser, ReportsEventsInDocumentOrderWithTextInPieces)
{
    Recorder recorder;
    EXPECT_TRUE(parse("<rates a=\"1\"><row><swift_code>US&amp;D</swift_code><x><![CDATA[\xc3\xa5]]></x></row></rates>", recorder));
    EXPECT_EQ(recorder.events.join(u'|'),
              QStringLiteral("start|<rates a=1|<row|<swift_code|text:US|text:&|text:D|</swift_code|<x|cdata:c3a5|</x|</row|</rates|end"));
}

TEST(XMLParser, AnErrorStopsTheParseAndNoDocumentEndFollows)
{
    // Unclosed, not UTF-8, empty, and an error page.
    const QByteArray broken[] = {"<rates><row>", "<rates>\xff\xfe</rates>", "", "<html><body>Server Error<br></body></html>"};
    for (const QByteArray &xml : broken) {
        SCOPED_TRACE(xml.constData());
        Recorder recorder;
        EXPECT_FALSE(parse(xml, recorder));
        EXPECT_EQ(recorder.events.count(QStringLiteral("error")), 1);
        EXPECT_EQ(recorder.events.last(), QStringLiteral("error"));
        EXPECT_FALSE(recorder.events.contains(QStringLiteral("end")));
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
