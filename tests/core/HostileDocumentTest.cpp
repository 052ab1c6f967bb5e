#include "LoopbackServer.h"
#include "XRReservationReply.h"
#include "XRXMLDocument.h"
#include "XRXMLParser.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

QByteArray attributes(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += " a" + QByteArray::number(i) + "=\"v\"";
    return text;
}

// The event parser and the document layer accept and refuse the same documents;
// each refusal ends at once, so none of these costs more than a few milliseconds.
TEST(HostileDocument, RefusesDocumentTypesAndAttributeFloods)
{
    xr::test::LoopbackServer server;
    const QByteArray dtdURL = server.url(QStringLiteral("/evil.dtd")).toEncoded();
    QStringEncoder toUtf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray noise = QByteArray("= ").repeated(100);
    const struct { const char *name; QByteArray bytes; bool accepted; } cases[] = {
        {"plain", "<Reply><Code>0</Code></Reply>", true},
        {"markupAroundAttributes",
         "<Reply a=\"x=y>z\" b='\"='><!--" + noise + "--><![CDATA[" + noise + "]]><?pi " + noise + "?><Code>0</Code></Reply>", true},
        {"attributesAtTheLimit", "<Reply" + attributes(64) + "><Code>0</Code></Reply>", true},
        {"attributesOverTheLimit", "<Reply" + attributes(65) + "/>", false},
        {"attributeFlood", "<Reply" + attributes(200000) + "/>", false},
        {"attributeFloodInUtf16", toUtf16(QString::fromLatin1("<Reply" + attributes(200000) + "/>")), false},
        {"documentType", "<!DOCTYPE Reply><Reply><Code>0</Code></Reply>", false},
        {"entityBomb",
         "<!DOCTYPE Reply [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><Reply>&b;&b;</Reply>", false},
        {"externalDocumentType", "<!DOCTYPE Reply SYSTEM \"" + dtdURL + "\"><Reply/>", false},
        {"externalEntity", "<!DOCTYPE Reply [<!ENTITY e SYSTEM \"" + dtdURL + "\">]><Reply>&e;</Reply>", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        XRXMLParser parser(c.bytes);
        EXPECT_EQ(parser.parse(), c.accepted);
        EXPECT_EQ(parser.parserError().code != 0, !c.accepted);
        XRXMLError error;
        EXPECT_EQ(XRXMLDocument::documentWithData(c.bytes, 0, &error) != nullptr, c.accepted);
        EXPECT_EQ(error.code, c.accepted ? 0 : -1);
        EXPECT_EQ(XRReservationReply::fromBody(c.bytes, 200).readable, c.accepted);
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
