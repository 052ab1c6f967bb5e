#include "XMLStringsCache.h"
#include "XRXMLDocument.h"

#include <QRegularExpression>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

std::unique_ptr<XRXMLDocument> parse(const char *xml)
{
    XRXMLError error;
    auto document = XRXMLDocument::documentWithXMLString(QString::fromUtf8(xml), 0, &error);
    EXPECT_TRUE(document) << xml;
    EXPECT_TRUE(error.isNull());
    return document;
}

QStringList values(const QList<XRXMLElementPtr> &elements)
{
    QStringList list;
    for (const XRXMLElementPtr &element : elements)
        list.append(element->stringValue());
    return list;
}

// Everything written to stderr while the function runs.
template<typename Function>
QByteArray stderrOf(Function function)
{
    QTemporaryFile capture;
    EXPECT_TRUE(capture.open());
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    function();
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

} // namespace

TEST(XRXMLDocument, readsTheReservationReply)
{
    auto document = parse("<Reply><Code>7</Code><Message>Reserved</Message>"
                          "<Wrap><Market>SE</Market></Wrap></Reply>");
    const XRXMLElementPtr root = document->rootElement();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name(), "Reply");
    EXPECT_EQ(values(root->elementsForName(QStringLiteral("Code"))), QStringList{"7"});
    EXPECT_EQ(values(root->elementsForName(QStringLiteral("Message"))), QStringList{"Reserved"});
    // Only direct children are looked at.
    EXPECT_TRUE(root->elementsForName(QStringLiteral("Market")).isEmpty());
    EXPECT_TRUE(root->elementsForName(QStringLiteral("code")).isEmpty());
}

TEST(XRXMLDocument, refusesTextThatIsNotXML)
{
    for (const QString &text : {QString(), QString(""), QStringLiteral("<a>"), QStringLiteral("<a></b>"),
                                QStringLiteral("<a/><b/>")}) {
        XRXMLError error;
        EXPECT_FALSE(XRXMLDocument::documentWithXMLString(text, 0, &error)) << text.toStdString();
        EXPECT_EQ(error.domain, XRXMLError::errorDomain);
        EXPECT_EQ(error.code, -1);
        EXPECT_TRUE(error.userInfo.isEmpty());
    }
    XRXMLError cleared = XRXMLError::withCode(5);
    EXPECT_TRUE(XRXMLDocument::documentWithData("<a/>", 0, &cleared));
    EXPECT_TRUE(cleared.isNull());
}

TEST(XRXMLDocument, printsNothingOnErrors)
{
    const QByteArray printed = stderrOf([] {
        EXPECT_FALSE(XRXMLDocument::documentWithData("<a><b></a>", 0, nullptr));
        auto document = XRXMLDocument::documentWithData("<a/>", 0, nullptr);
        EXPECT_FALSE(document->nodesForXPath(QStringLiteral("//["), nullptr));
    });
    EXPECT_TRUE(printed.isEmpty()) << printed.constData();
}

TEST(XRXMLDocument, readsTextsAsParsed)
{
    auto document = parse("<r>\n  <a>1<b>2</b>3</a>\n  <c><![CDATA[x < y]]></c>\n</r>");
    const XRXMLElementPtr root = document->rootElement();
    // White space between elements is dropped and CDATA becomes plain text.
    EXPECT_EQ(root->childCount(), 2);
    EXPECT_EQ(values(root->elementsForName(QStringLiteral("a"))), QStringList{"123"});
    const XRXMLElementPtr c = root->elementsForName(QStringLiteral("c")).value(0);
    EXPECT_EQ(c->stringValue(), "x < y");
    EXPECT_EQ(c->childAtIndex(0)->kind(), XRXMLNode::TextKind);
    EXPECT_EQ(c->XMLString(), "<c>x &lt; y</c>");

    auto empty = parse("<r a=\"\"><e/><!--note--></r>");
    const XRXMLElementPtr r = empty->rootElement();
    EXPECT_EQ(r->childAtIndex(0)->stringValue(), "");
    EXPECT_FALSE(r->childAtIndex(0)->stringValue().isNull());
    EXPECT_EQ(r->attributeForName(QStringLiteral("a"))->stringValue(), "");
    EXPECT_EQ(r->childAtIndex(1)->stringValue(), "note");
}

TEST(XRXMLDocument, findsChildrenInNamespaces)
{
    auto plain = parse("<r xmlns=\"urn:d\"><Code>1</Code><x:Code xmlns:x=\"urn:x\">2</x:Code></r>");
    const XRXMLElementPtr root = plain->rootElement();
    // Children of a default namespace carry no prefix in their qualified names.
    EXPECT_EQ(values(root->elementsForName(QStringLiteral("Code"))), QStringList{"1"});
    EXPECT_EQ(values(root->elementsForLocalNameURI(QStringLiteral("Code"), QStringLiteral("urn:d"))),
              QStringList{"1"});
    EXPECT_EQ(values(root->elementsForLocalNameURI(QStringLiteral("Code"), QStringLiteral("urn:x"))),
              QStringList{"2"});

    auto prefixed = parse("<r xmlns:p=\"urn:p\"><p:a>1</p:a><q:a xmlns:q=\"urn:p\">2</q:a><a>3</a></r>");
    const XRXMLElementPtr r = prefixed->rootElement();
    // A prefix in scope is matched by its URI, whatever prefix the child uses.
    EXPECT_EQ(values(r->elementsForName(QStringLiteral("p:a"))), (QStringList{"1", "2"}));
    EXPECT_EQ(values(r->elementsForName(QStringLiteral("a"))), QStringList{"3"});
    // A prefix not in scope here is compared as written.
    EXPECT_EQ(values(r->elementsForName(QStringLiteral("q:a"))), QStringList{"2"});
    EXPECT_TRUE(r->elementsForName(QStringLiteral("z:a")).isEmpty());
    EXPECT_TRUE(r->elementsForLocalNameURI(QStringLiteral("a"), QStringLiteral("urn:none")).isEmpty());
}

TEST(XRXMLDocument, readsAttributesAndDeclarations)
{
    auto document = parse("<r xmlns=\"urn:d\" xmlns:p=\"urn:p\" id=\"1\" p:k=\"2\"/>");
    const XRXMLElementPtr root = document->rootElement();
    ASSERT_EQ(root->attributes().size(), 2);
    EXPECT_EQ(root->attributeForName(QStringLiteral("id"))->stringValue(), "1");
    EXPECT_EQ(root->attributeForName(QStringLiteral("p:k"))->stringValue(), "2");
    EXPECT_EQ(root->attributeForName(QStringLiteral("p:k"))->name(), "p:k");
    EXPECT_EQ(root->attributeForLocalNameURI(QStringLiteral("k"), QStringLiteral("urn:p")),
              root->attributes().at(1));
    EXPECT_FALSE(root->attributeForLocalNameURI(QStringLiteral("k"), QStringLiteral("urn:d")));

    const QList<XRXMLNodePtr> declarations = root->namespaces();
    ASSERT_EQ(declarations.size(), 2);
    EXPECT_EQ(declarations.at(0)->kind(), XRXMLNode::NamespaceKind);
    EXPECT_EQ(declarations.at(0)->name(), "");
    EXPECT_EQ(declarations.at(0)->stringValue(), "urn:d");
    EXPECT_EQ(declarations.at(1)->name(), "p");
    EXPECT_EQ(declarations.at(1)->XMLString(), "xmlns:p=\"urn:p\"");
    EXPECT_EQ(root->resolvePrefixForNamespaceURI(QStringLiteral("urn:p")), "p");
    EXPECT_EQ(root->resolvePrefixForNamespaceURI(QStringLiteral("urn:d")), "");
    EXPECT_TRUE(root->resolvePrefixForNamespaceURI(QStringLiteral("urn:none")).isNull());
    EXPECT_EQ(root->URI(), "urn:d");
    EXPECT_EQ(root->prefix(), "");
}

TEST(XRXMLDocument, handsOutOneSharedStringPerText)
{
    QString first;
    {
        auto document = parse("<r><a>same text</a><b>same text</b></r>");
        const XRXMLNodePtr a = document->rootElement()->childAtIndex(0);
        ASSERT_TRUE(a);
        first = a->stringValue();
        EXPECT_TRUE(first.isSharedWith(a->stringValue()));
        EXPECT_EQ(first.constData(), document->rootElement()->childAtIndex(1)->stringValue().constData());
        // Two wrappers of the same node share its name as well.
        EXPECT_TRUE(document->rootElement()->name().isSharedWith(document->rootElement()->name()));
    }
    // The strings outlive their document.
    EXPECT_EQ(first, "same text");

    EXPECT_EQ(xr::XMLStringsCache::hash(BAD_CAST ""), 5381u);
    EXPECT_EQ(xr::XMLStringsCache::hash(BAD_CAST "a"), 5381u * 33 + 97);
    // Bytes count as signed: 0xC3 adds -61.
    EXPECT_EQ(xr::XMLStringsCache::hash(BAD_CAST "\xC3"), 5381u * 33 - 61);
}

TEST(XRXMLDocument, serialisesWhatItParsed)
{
    const char *text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<r xmlns:p=\"urn:p\" p:k=\"&amp;\"><p:a>\xC3\xA5 &lt; 1</p:a><!--c--><?pi x?></r>\n";
    auto document = parse(text);
    EXPECT_EQ(document->XMLData(), QByteArray(text));
    auto again = XRXMLDocument::documentWithData(document->XMLData(), 0, nullptr);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->XMLData(), QByteArray(text));
    EXPECT_EQ(again->rootElement()->childAtIndex(0)->stringValue(), QString::fromUtf8("\xC3\xA5 < 1"));

    document->setCharacterEncoding(QStringLiteral("ISO-8859-1"));
    document->setVersion(QStringLiteral("1.1"));
    EXPECT_TRUE(document->XMLData().startsWith("<?xml version=\"1.1\" encoding=\"ISO-8859-1\"?>"));
    EXPECT_TRUE(document->XMLData().contains("<p:a>\xE5 &lt; 1</p:a>"));
    document->setCharacterEncoding(QString());
    document->setVersion(QString());
    EXPECT_TRUE(document->XMLData().startsWith("<?xml version=\"1.0\"?>"));
}

TEST(XRXMLDocument, describesItself)
{
    auto document = parse("<r><Code>7</Code></r>");
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^XRXMLDocument 0x[0-9a-f]+$"))
                    .match(document->description())
                    .hasMatch());
    const XRXMLNodePtr code = document->rootElement()->childAtIndex(0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^XRXMLElement 0x[0-9a-f]+: \\{type:1 name:Code xml:\"<Code>7</Code>\"\\}$"))
                    .match(code->description())
                    .hasMatch())
        << code->description().toStdString();
    const XRXMLNode empty(nullptr, XRXMLNode::Ownership::Borrowing);
    EXPECT_TRUE(empty.description().endsWith(QStringLiteral(": {type:-1 name:(null) xml:\"(null)\"}")))
        << empty.description().toStdString();
}
