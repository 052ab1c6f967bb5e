#include "XRXMLDocument.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(XRXMLDocument, readsTheReservationReplyAndItsTexts)
{
    QString message;
    {
        auto document = parse("<Reply>\n  <Code>7</Code><Message>a &amp; <![CDATA[x < y]]></Message>"
                              "<Wrap><Market>SE</Market></Wrap><Empty/><p:Code xmlns:p=\"urn:p\">8</p:Code></Reply>");
        const XRXMLElementPtr root = document->rootElement();
        ASSERT_TRUE(root);
        EXPECT_EQ(root->name(), "Reply");
        EXPECT_EQ(values(root->elementsForName(QStringLiteral("Code"))), QStringList{"7"});
        message = root->elementsForName(QStringLiteral("Message")).value(0)->stringValue();
        // Only direct children, by their exact name.
        EXPECT_TRUE(root->elementsForName(QStringLiteral("Market")).isEmpty());
        EXPECT_TRUE(root->elementsForName(QStringLiteral("code")).isEmpty());
        // White space between elements is dropped; an empty element's text is empty, not null.
        EXPECT_EQ(root->childCount(), 5);
        const QString empty = root->elementsForName(QStringLiteral("Empty")).value(0)->stringValue();
        EXPECT_TRUE(empty.isEmpty() && !empty.isNull());
    }
    // Texts outlive their document.
    EXPECT_EQ(message, "a & x < y");
}

// The application reads by element name only; one query checks that a tree
// without a document is queried through a temporary one and left as it was.
// Text that is no XML is refused in the reservation reply's tests.
TEST(XRXMLDocument, queriesATreeWithoutDocumentAndLeavesItAsItWas)
{
    const XRXMLElementPtr root = XRXMLElement::elementWithXMLString(QStringLiteral("<r><a>1</a><b><a>2</a></b></r>"),
                                                                    nullptr);
    EXPECT_EQ(values(root->childAtIndex(1)->nodesForXPath(QStringLiteral("//a"), nullptr).value()), (QStringList{"1", "2"}));
    EXPECT_FALSE(root->XMLNode()->doc);
    EXPECT_FALSE(root->XMLNode()->parent);
    EXPECT_EQ(root->XMLString(), "<r><a>1</a><b><a>2</a></b></r>");
    EXPECT_FALSE(root->nodesForXPath(QStringLiteral("//["), nullptr));
}
