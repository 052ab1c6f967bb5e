#include "XRXMLDocument.h"

#include <gtest/gtest.h>

namespace {

QStringList texts(const std::optional<QList<XRXMLNodePtr>> &nodes)
{
    QStringList list;
    for (const XRXMLNodePtr &node : nodes.value_or(QList<XRXMLNodePtr>()))
        list.append(node->stringValue());
    return list;
}

} // namespace

TEST(XRXMLNode, splitsNames)
{
    struct Case
    {
        QString name, localName, prefix;
    };
    const Case cases[] = {
        {QStringLiteral("p:a"), QStringLiteral("a"), QStringLiteral("p")},
        {QStringLiteral("a"), QStringLiteral("a"), QString()},
        {QStringLiteral("p:"), QStringLiteral("p:"), QStringLiteral("p")},
        {QStringLiteral(":a"), QStringLiteral("a"), QStringLiteral("")},
        {QStringLiteral("{urn:x}:a"), QStringLiteral("x}:a"), QStringLiteral("{urn")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(XRXMLNode::localNameForName(c.name), c.localName) << c.name.toStdString();
        EXPECT_EQ(XRXMLNode::prefixForName(c.name), c.prefix) << c.name.toStdString();
        EXPECT_EQ(XRXMLNode::prefixForName(c.name).isNull(), c.prefix.isNull()) << c.name.toStdString();
    }
}

TEST(XRXMLNode, tellsKinds)
{
    auto document = XRXMLDocument::documentWithData(
        "<r xmlns:p=\"urn:p\" p:a=\"1\"><!--c--><?pi x?>t<e/></r>", 0, nullptr);
    const auto top = document->nodesForXPath(QStringLiteral("/"), nullptr);
    ASSERT_TRUE(top && top->size() == 1);
    const XRXMLNodePtr documentNode = top->at(0);
    EXPECT_EQ(documentNode->kind(), XRXMLNode::DocumentKind);
    EXPECT_EQ(documentNode->childAtIndex(0)->kind(), XRXMLNode::ElementKind);
    EXPECT_FALSE(documentNode->childAtIndex(1));

    const XRXMLElementPtr root = document->rootElement();
    QList<XRXMLNode::Kind> kinds;
    for (const XRXMLNodePtr &child : root->children())
        kinds.append(child->kind());
    EXPECT_EQ(kinds, (QList<XRXMLNode::Kind>{XRXMLNode::CommentKind, XRXMLNode::ProcessingInstructionKind,
                                             XRXMLNode::TextKind, XRXMLNode::ElementKind}));
    EXPECT_TRUE(std::dynamic_pointer_cast<XRXMLElement>(root->childAtIndex(3)));
    EXPECT_FALSE(std::dynamic_pointer_cast<XRXMLElement>(root->childAtIndex(2)));
    EXPECT_EQ(root->attributes().at(0)->kind(), XRXMLNode::AttributeKind);
    EXPECT_EQ(root->namespaces().at(0)->kind(), XRXMLNode::NamespaceKind);
    EXPECT_EQ(XRXMLNode(nullptr, XRXMLNode::Ownership::Borrowing).kind(), XRXMLNode::InvalidKind);
}

TEST(XRXMLNode, comparesByNodeOrByShape)
{
    auto document = XRXMLDocument::documentWithData("<r><a>1</a><a>2</a><a/><b>1</b></r>", 0, nullptr);
    const XRXMLElementPtr root = document->rootElement();
    const XRXMLNodePtr first = root->childAtIndex(0);
    EXPECT_TRUE(first->isEqual(*document->rootElement()->childAtIndex(0)));
    EXPECT_TRUE(first->isEqual(*root->childAtIndex(1)));
    EXPECT_FALSE(first->isEqual(*root->childAtIndex(2)));
    EXPECT_FALSE(first->isEqual(*root->childAtIndex(3)));
    EXPECT_EQ(first->hash(), root->childAtIndex(3)->hash());
    EXPECT_EQ(first->hash(), XRXMLNode::textWithStringValue(QStringLiteral("t"))->hash());
}

TEST(XRXMLNode, queriesWithTheDefaultNamespacePrefix)
{
    auto document = XRXMLDocument::documentWithData(
        "<feed xmlns=\"urn:f\" xmlns:m=\"urn:m\"><item>1</item><g><item>2</item><m:item>3</m:item></g></feed>", 0,
        nullptr);
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("//_def_ns:item"), nullptr)), (QStringList{"1", "2"}));
    // Declarations after the node's own one are registered too.
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("//m:item"), nullptr)), QStringList{"3"});
    const auto none = document->nodesForXPath(QStringLiteral("//item"), nullptr);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    // A prefix nothing declares is an error, not an empty result.
    XRXMLError undeclared;
    EXPECT_FALSE(document->nodesForXPath(QStringLiteral("//x:item"), &undeclared));
    EXPECT_GT(undeclared.code, 0);

    const QMap<QString, QString> table{{QStringLiteral("f"), QStringLiteral("urn:f")}};
    EXPECT_EQ(texts(document->nodesForXPath(QStringLiteral("//f:item"), table, nullptr)), (QStringList{"1", "2"}));
    // A given table replaces the node's own declarations.
    XRXMLError error;
    EXPECT_FALSE(document->nodesForXPath(QStringLiteral("//_def_ns:item"), table, &error));
    EXPECT_EQ(error.domain, XRXMLError::errorDomain);
    EXPECT_GT(error.code, 0);
    EXPECT_FALSE(error.userInfo.value(QStringLiteral("error")).toString().isEmpty());

    // A query is anchored at its node.
    const XRXMLNodePtr group = document->rootElement()->childAtIndex(1);
    EXPECT_EQ(texts(group->nodesForXPath(QStringLiteral("_def_ns:item"), nullptr)), QStringList{"2"});
}

TEST(XRXMLNode, queriesATreeWithoutDocument)
{
    const XRXMLElementPtr root = XRXMLElement::elementWithXMLString(QStringLiteral("<r><a>1</a><b><a>2</a></b></r>"),
                                                                    nullptr);
    const XRXMLNodePtr b = root->childAtIndex(1);
    EXPECT_EQ(texts(b->nodesForXPath(QStringLiteral("a"), nullptr)), QStringList{"2"});
    EXPECT_EQ(texts(b->nodesForXPath(QStringLiteral("//a"), nullptr)), (QStringList{"1", "2"}));
    // The temporary document is gone again, and with it any node of its own.
    EXPECT_FALSE(root->XMLNode()->doc);
    EXPECT_FALSE(root->XMLNode()->parent);
    EXPECT_TRUE(root->nodesForXPath(QStringLiteral("/"), nullptr)->isEmpty());
    EXPECT_EQ(root->XMLString(), "<r><a>1</a><b><a>2</a></b></r>");

    XRXMLError error;
    EXPECT_FALSE(XRXMLNode(nullptr, XRXMLNode::Ownership::Borrowing).nodesForXPath(QStringLiteral("a"), &error));
    EXPECT_EQ(error.code, -1);
    EXPECT_EQ(error.userInfo.value(QStringLiteral("error")).toString(), "invalid node");
    const XRXMLNodePtr loose = XRXMLNode::textWithStringValue(QStringLiteral("t"));
    EXPECT_FALSE(loose->nodesForXPath(QStringLiteral("."), &error));
    EXPECT_EQ(error.code, -1);
}

TEST(XRXMLNode, returnsNamespaceNodesThatOutliveTheQuery)
{
    auto document = XRXMLDocument::documentWithData("<r xmlns:p=\"urn:p\"/>", 0, nullptr);
    const auto found = document->nodesForXPath(QStringLiteral("/r/namespace::p"), nullptr);
    ASSERT_TRUE(found && found->size() == 1);
    EXPECT_EQ(found->at(0)->kind(), XRXMLNode::NamespaceKind);
    EXPECT_EQ(found->at(0)->stringValue(), "urn:p");
}
