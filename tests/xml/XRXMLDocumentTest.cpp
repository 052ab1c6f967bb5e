#include "XRXMLDocument.h"

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

template<typename Nodes>
QStringList values(const Nodes &nodes)
{
    QStringList list;
    for (const auto &node : nodes)
        list.append(node->stringValue());
    return list;
}

QStringList texts(const std::optional<QList<XRXMLNodePtr>> &nodes)
{
    return values(nodes.value_or(QList<XRXMLNodePtr>()));
}

} // namespace

TEST(XRXMLDocument, readsTheReservationReplyAndItsTexts)
{
    QString message;
    {
        auto document = parse("<Reply>\n  <Code>7</Code><Message>a &amp; <![CDATA[x < y]]></Message>"
                              "<Wrap><Market>SE</Market></Wrap><Empty/></Reply>");
        const XRXMLElementPtr root = document->rootElement();
        ASSERT_TRUE(root);
        EXPECT_EQ(root->name(), "Reply");
        EXPECT_EQ(values(root->elementsForName(QStringLiteral("Code"))), QStringList{"7"});
        message = root->elementsForName(QStringLiteral("Message")).value(0)->stringValue();
        // Only direct children, by their exact name.
        EXPECT_TRUE(root->elementsForName(QStringLiteral("Market")).isEmpty());
        EXPECT_TRUE(root->elementsForName(QStringLiteral("code")).isEmpty());
        // White space between elements is dropped; an empty element's text is empty, not null.
        EXPECT_EQ(root->childCount(), 4);
        const QString empty = root->elementsForName(QStringLiteral("Empty")).value(0)->stringValue();
        EXPECT_TRUE(empty.isEmpty() && !empty.isNull());
    }
    // Texts outlive their document.
    EXPECT_EQ(message, "a & x < y");
}

TEST(XRXMLDocument, refusesTextThatIsNotXMLAndPrintsNothing)
{
    // libxml2 prints its errors to stderr unless told otherwise.
    QTemporaryFile capture;
    ASSERT_TRUE(capture.open());
    fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    for (const QString &text : {QString(), QStringLiteral("<a>"), QStringLiteral("<a></b>"), QStringLiteral("<a/><b/>")}) {
        XRXMLError error;
        EXPECT_FALSE(XRXMLDocument::documentWithXMLString(text, 0, &error)) << text.toStdString();
        EXPECT_EQ(error.domain, XRXMLError::errorDomain);
        EXPECT_EQ(error.code, -1);
    }
    XRXMLError cleared = XRXMLError::withCode(5);
    const auto document = XRXMLDocument::documentWithData("<a/>", 0, &cleared);
    EXPECT_TRUE(cleared.isNull());
    EXPECT_FALSE(document->nodesForXPath(QStringLiteral("//["), nullptr));
    fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    capture.seek(0);
    const QByteArray printed = capture.readAll();
    EXPECT_TRUE(printed.isEmpty()) << printed.constData();
}

TEST(XRXMLDocument, findsChildrenInNamespaces)
{
    auto plain = parse("<r xmlns=\"urn:d\"><Code>1</Code><x:Code xmlns:x=\"urn:x\">2</x:Code></r>");
    const XRXMLElementPtr root = plain->rootElement();
    // Children of a default namespace carry no prefix in their qualified names.
    EXPECT_EQ(values(root->elementsForName(QStringLiteral("Code"))), QStringList{"1"});
    EXPECT_EQ(values(root->elementsForLocalNameURI(QStringLiteral("Code"), QStringLiteral("urn:x"))), QStringList{"2"});

    auto prefixed = parse("<r xmlns:p=\"urn:p\"><p:a>1</p:a><q:a xmlns:q=\"urn:p\">2</q:a><a>3</a></r>");
    const XRXMLElementPtr r = prefixed->rootElement();
    // A prefix in scope is matched by its URI, whatever prefix the child uses.
    EXPECT_EQ(values(r->elementsForName(QStringLiteral("p:a"))), (QStringList{"1", "2"}));
    EXPECT_EQ(values(r->elementsForName(QStringLiteral("a"))), QStringList{"3"});
    EXPECT_TRUE(r->elementsForName(QStringLiteral("z:a")).isEmpty());
}

TEST(XRXMLDocument, queriesWithTheDefaultNamespacePrefixOrAGivenTable)
{
    auto document = parse("<feed xmlns=\"urn:f\" xmlns:m=\"urn:m\"><item>1</item><g><item>2</item><m:item>3</m:item></g></feed>");
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("//_def_ns:item"), nullptr)), (QStringList{"1", "2"}));
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("//m:item"), nullptr)), QStringList{"3"});
    EXPECT_TRUE(document->nodesForXPath(QStringLiteral("//item"), nullptr).value().isEmpty());
    // A prefix nothing declares is an error, not an empty result.
    XRXMLError undeclared;
    EXPECT_FALSE(document->nodesForXPath(QStringLiteral("//x:item"), &undeclared));
    EXPECT_GT(undeclared.code, 0);

    // A given table replaces the node's own declarations.
    const QMap<QString, QString> table{{QStringLiteral("f"), QStringLiteral("urn:f")}};
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("//f:item"), table, nullptr)), (QStringList{"1", "2"}));
    XRXMLError error;
    EXPECT_FALSE(document->nodesForXPath(QStringLiteral("//_def_ns:item"), table, &error));
    EXPECT_EQ(error.domain, XRXMLError::errorDomain);
    EXPECT_FALSE(error.userInfo.value(QStringLiteral("error")).toString().isEmpty());

    // A query is anchored at its node; namespace nodes found outlive the query.
    const XRXMLNodePtr group = document->rootElement()->childAtIndex(1);
    EXPECT_EQ(texts(group->nodesForXPath(QStringLiteral("_def_ns:item"), nullptr)), QStringList{"2"});
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("/*/namespace::m"), nullptr)), QStringList{"urn:m"});
}

TEST(XRXMLDocument, queriesATreeWithoutDocumentAndLeavesItAsItWas)
{
    const XRXMLElementPtr root = XRXMLElement::elementWithXMLString(QStringLiteral("<r><a>1</a><b><a>2</a></b></r>"),
                                                                    nullptr);
    EXPECT_EQ(texts(root->childAtIndex(1)->nodesForXPath(QStringLiteral("//a"), nullptr)), (QStringList{"1", "2"}));
    // The temporary document is gone again, and with it any node of its own.
    EXPECT_FALSE(root->XMLNode()->doc);
    EXPECT_FALSE(root->XMLNode()->parent);
    EXPECT_EQ(root->XMLString(), "<r><a>1</a><b><a>2</a></b></r>");
    EXPECT_FALSE(XRXMLNode(nullptr, XRXMLNode::Ownership::Borrowing).nodesForXPath(QStringLiteral("a"), nullptr));
}
