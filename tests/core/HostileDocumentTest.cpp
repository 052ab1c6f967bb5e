#include "LoopbackServer.h"
#include "XRReservationReply.h"
#include "XRXMLDocument.h"
#include "XRXMLParser.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

QByteArray attributes(int count, const QByteArray &value = "v")
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += " a" + QByteArray::number(i) + "=\"" + value + "\"";
    return text;
}

QByteArray entityBomb()
{
    QByteArray bomb = "<!DOCTYPE Reply [<!ENTITY e0 \"" + QByteArray(100, 'x') + "\">";
    for (int i = 1; i < 10; ++i)
        bomb += "<!ENTITY e" + QByteArray::number(i) + " \"" + ("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return bomb + "]><Reply><Code>0</Code><Message>" + QByteArray("&e9;").repeated(1000) + "</Message></Reply>";
}

QByteArray utf16(const QByteArray &utf8)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(QString::fromUtf8(utf8));
}

struct DocumentCase
{
    const char *name;
    QByteArray bytes;
    bool accepted;
};

// The event parser and the document layer accept and refuse the same documents;
// each refusal ends at once, so none of these costs more than a few milliseconds.
TEST(HostileDocument, RefusesDocumentTypesAndAttributeFloods)
{
    xr::test::LoopbackServer server;
    const QByteArray dtdURL = server.url(QStringLiteral("/evil.dtd")).toEncoded();
    const QByteArray noise = QByteArray("= ").repeated(100);
    const DocumentCase cases[] = {
        {"plain", "<Reply><Code>0</Code></Reply>", true},
        {"markupAroundAttributes",
         "<Reply a=\"x=y>z\" b='\"='><!--" + noise + "--><![CDATA[" + noise + "]]><?pi " + noise + "?></Reply>", true},
        {"attributesAtTheLimit", "<Reply" + attributes(64) + "/>", true},
        {"attributesOverTheLimit", "<Reply" + attributes(65) + "/>", false},
        {"attributeFlood", "<Reply" + attributes(200000) + "/>", false},
        {"attributeFloodInUtf16", utf16("<Reply" + attributes(200000) + "/>"), false},
        {"documentType", "<!DOCTYPE Reply><Reply><Code>0</Code></Reply>", false},
        {"entityBomb", entityBomb(), false},
        {"externalDocumentType", "<!DOCTYPE Reply SYSTEM \"" + dtdURL + "\"><Reply/>", false},
        {"externalEntity", "<!DOCTYPE Reply [<!ENTITY e SYSTEM \"" + dtdURL + "\">]><Reply>&e;</Reply>", false},
    };
    for (const DocumentCase &c : cases) {
        SCOPED_TRACE(c.name);
        XRXMLParser parser(c.bytes);
        EXPECT_EQ(parser.parse(), c.accepted);
        EXPECT_EQ(parser.parserError().code != 0, !c.accepted);
        XRXMLError error;
        EXPECT_EQ(XRXMLDocument::documentWithData(c.bytes, 0, &error) != nullptr, c.accepted);
        EXPECT_EQ(error.code, c.accepted ? 0 : -1);
        EXPECT_EQ(XRReservationReply::fromBody(c.bytes).readable, c.accepted);
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
