#include "XRXMLDocument.h"

#include <gtest/gtest.h>

namespace {

XRXMLElementPtr element(const char *xml)
{
    XRXMLError error;
    XRXMLElementPtr element = XRXMLElement::elementWithXMLString(QString::fromUtf8(xml), &error);
    EXPECT_TRUE(element) << xml;
    return element;
}

} // namespace

TEST(XRXMLElement, parsesAConsumingElement)
{
    const XRXMLElementPtr root = element("<r><a>1</a></r>");
    EXPECT_TRUE(root->shouldFreeXMLNode());
    EXPECT_FALSE(root->XMLNode()->doc);
    EXPECT_EQ(root->XMLString(), "<r><a>1</a></r>");

    XRXMLError error;
    EXPECT_FALSE(XRXMLElement::elementWithXMLString(QStringLiteral("<r>"), &error));
    EXPECT_EQ(error.code, -1);
    EXPECT_EQ(error.domain, XRXMLError::errorDomain);
}

TEST(XRXMLElement, graftedNodesJoinTheNamespacesInScope)
{
    const XRXMLElementPtr root = element("<r xmlns=\"urn:d\" xmlns:p=\"urn:p\"/>");
    const XRXMLElementPtr plain = XRXMLNode::elementWithName(QStringLiteral("plain"));
    const XRXMLElementPtr placed = XRXMLNode::elementWithNameURI(QStringLiteral("x:item"), QStringLiteral("urn:p"));
    EXPECT_EQ(placed->name(), "{urn:p}:item");
    EXPECT_TRUE(placed->URI().isNull());

    root->addChild(*plain);
    root->addChild(*placed);
    root->addChild(*XRXMLNode::elementWithName(QStringLiteral("p:named")));
    EXPECT_EQ(root->XMLString(), "<r xmlns=\"urn:d\" xmlns:p=\"urn:p\"><plain/><p:item/><p:named/></r>");
    EXPECT_EQ(root->childAtIndex(0)->URI(), "urn:d");
    EXPECT_EQ(root->childAtIndex(1)->name(), "p:item");
    EXPECT_EQ(root->childAtIndex(1)->URI(), "urn:p");
    EXPECT_EQ(root->elementsForLocalNameURI(QStringLiteral("item"), QStringLiteral("urn:p")).size(), 1);
    // What was added is a copy: the argument is still unattached and unresolved.
    EXPECT_EQ(placed->name(), "{urn:p}:item");
    EXPECT_FALSE(placed->XMLNode()->parent);
}

TEST(XRXMLElement, findsPlaceholderNamesBeforeGrafting)
{
    const XRXMLElementPtr root = XRXMLNode::elementWithName(QStringLiteral("r"));
    root->addChild(*XRXMLNode::elementWithNameURI(QStringLiteral("item"), QStringLiteral("urn:q")));
    EXPECT_EQ(root->elementsForLocalNameURI(QStringLiteral("item"), QStringLiteral("urn:q")).size(), 1);

    root->addAttribute(*XRXMLNode::attributeWithNameURIStringValue(QStringLiteral("k"), QStringLiteral("urn:q"),
                                                                   QStringLiteral("v")));
    EXPECT_EQ(root->attributeForLocalNameURI(QStringLiteral("k"), QStringLiteral("urn:q"))->stringValue(), "v");
}

TEST(XRXMLElement, dropsDeclarationsAlreadyInScope)
{
    const XRXMLElementPtr root = element("<r xmlns:p=\"urn:p\"/>");
    root->addChild(*element("<p:a xmlns:p=\"urn:p\" p:k=\"1\"><p:b/></p:a>"));
    root->addChild(*element("<q:a xmlns:q=\"urn:p\"/>"));
    EXPECT_EQ(root->XMLString(),
              "<r xmlns:p=\"urn:p\"><p:a p:k=\"1\"><p:b/></p:a><q:a xmlns:q=\"urn:p\"/></r>");
    EXPECT_EQ(root->elementsForName(QStringLiteral("p:a")).size(), 2);
}

TEST(XRXMLElement, addsAttributesOnce)
{
    const XRXMLElementPtr root = element("<r xmlns=\"urn:d\"/>");
    const XRXMLNodePtr id = XRXMLNode::attributeWithNameStringValue(QStringLiteral("id"), QStringLiteral("a & b"));
    root->addChild(*id);
    root->addAttribute(*id);
    root->addAttribute(*XRXMLNode::attributeWithNameStringValue(QStringLiteral("id"), QStringLiteral("other")));
    // A namespace not in scope is declared with the attribute's own prefix.
    const XRXMLElementPtr source = element("<s xmlns:z=\"urn:z\" z:k=\"2\"/>");
    root->addAttribute(*source->attributes().at(0));
    EXPECT_EQ(root->XMLString(), "<r xmlns=\"urn:d\" xmlns:z=\"urn:z\" id=\"a &amp; b\" z:k=\"2\"/>");
    EXPECT_TRUE(root->attributeForName(QStringLiteral("id"))->URI().isNull());
}

TEST(XRXMLElement, changesDeclarations)
{
    const XRXMLElementPtr root = element("<p:r xmlns:p=\"urn:p\" p:k=\"1\"><p:a/></p:r>");
    const XRXMLElementPtr child = std::static_pointer_cast<XRXMLElement>(root->childAtIndex(0));
    root->setNamespaces({XRXMLNode::namespaceWithNameStringValue(QStringLiteral("q"), QStringLiteral("urn:q")),
                         XRXMLNode::namespaceWithNameStringValue(QString(""), QStringLiteral("urn:d"))});
    // Nodes whose declaration went away lose it; bare element names then join the new default.
    EXPECT_EQ(root->XMLString(), "<r xmlns:q=\"urn:q\" xmlns=\"urn:d\" k=\"1\"><a/></r>");
    EXPECT_EQ(root->URI(), "urn:d");
    EXPECT_EQ(child->URI(), "urn:d");
    EXPECT_TRUE(root->attributeForName(QStringLiteral("k"))->URI().isNull());

    root->addNamespace(*XRXMLNode::namespaceWithNameStringValue(QStringLiteral("z"), QStringLiteral("urn:z")));
    root->addChild(*XRXMLNode::elementWithNameURI(QStringLiteral("b"), QStringLiteral("urn:z")));
    EXPECT_EQ(root->namespaces().size(), 3);
    EXPECT_EQ(root->childAtIndex(1)->name(), "z:b");
}

TEST(XRXMLElement, replacesTextValues)
{
    const XRXMLElementPtr root = element("<r><a/>old</r>");
    ASSERT_EQ(root->children().size(), 2);
    root->setStringValue(QStringLiteral("x < y & z"));
    EXPECT_EQ(root->stringValue(), "x < y & z");
    EXPECT_EQ(root->XMLString(), "<r>x &lt; y &amp; z</r>");
    EXPECT_EQ(root->children().size(), 1);

    const XRXMLNodePtr text = XRXMLNode::textWithStringValue(QStringLiteral("t"));
    text->setStringValue(QStringLiteral("&amp;"));
    EXPECT_EQ(text->stringValue(), "&amp;");
    const XRXMLNodePtr declaration = XRXMLNode::namespaceWithNameStringValue(QStringLiteral("p"), QStringLiteral("urn:a"));
    declaration->setStringValue(QStringLiteral("urn:b"));
    EXPECT_EQ(declaration->XMLString(), "xmlns:p=\"urn:b\"");
}

TEST(XRXMLElement, borrowsFromTheDocumentAndCopiesOnRequest)
{
    XRXMLNodePtr copy;
    QString value;
    {
        auto document = XRXMLDocument::documentWithData("<r><a x=\"1\">v</a></r>", 0, nullptr);
        const XRXMLNodePtr a = document->rootElement()->childAtIndex(0);
        EXPECT_FALSE(a->shouldFreeXMLNode());
        EXPECT_FALSE(document->rootElement()->shouldFreeXMLNode());
        copy = a->copy();
        value = a->stringValue();
    }
    ASSERT_TRUE(std::dynamic_pointer_cast<XRXMLElement>(copy));
    EXPECT_TRUE(copy->shouldFreeXMLNode());
    EXPECT_EQ(copy->XMLString(), "<a x=\"1\">v</a>");
    EXPECT_EQ(value, "v");

    // A document built on an element holds a copy of its own.
    const XRXMLElementPtr root = element("<r/>");
    auto built = XRXMLDocument::documentWithRootElement(*root);
    root->addChild(*XRXMLNode::elementWithName(QStringLiteral("late")));
    EXPECT_EQ(built->XMLData(), "<?xml version=\"1.0\"?>\n<r/>\n");
    EXPECT_FALSE(built->rootElement()->isEqual(*root));
}

TEST(XRXMLElement, removesBorrowedAndConsumingChildren)
{
    XRXMLNodePtr kept;
    {
        auto document = XRXMLDocument::documentWithData("<r a=\"1\"><x>gone</x><y>kept</y></r>", 0, nullptr);
        const XRXMLElementPtr root = document->rootElement();
        const XRXMLNodePtr x = root->childAtIndex(0);
        root->removeChild(*x);
        EXPECT_FALSE(x->XMLNode());
        EXPECT_EQ(x->kind(), XRXMLNode::InvalidKind);
        EXPECT_EQ(root->childCount(), 1);

        kept = root->childAtIndex(0);
        kept->setShouldFreeXMLNode(true);
        root->removeChild(*kept);
        root->removeChild(*root->attributeForName(QStringLiteral("a")));
        EXPECT_EQ(root->XMLString(), "<r/>");
    }
    // The consuming child outlives the document it came from.
    EXPECT_EQ(kept->XMLString(), "<y>kept</y>");
    EXPECT_EQ(kept->stringValue(), "kept");
}
