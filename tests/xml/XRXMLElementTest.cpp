// The application only reads documents; building, changing, copying and
// removing are checked together, with the lifetimes that keep them safe.

#include "XRXMLDocument.h"

#include <gtest/gtest.h>

namespace {

XRXMLElementPtr element(const char *xml)
{
    XRXMLElementPtr element = XRXMLElement::elementWithXMLString(QString::fromUtf8(xml), nullptr);
    EXPECT_TRUE(element) << xml;
    return element;
}

} // namespace

TEST(XRXMLElement, graftsNodesIntoTheNamespacesInScope)
{
    const XRXMLElementPtr root = element("<r xmlns=\"urn:d\" xmlns:p=\"urn:p\"/>");
    const XRXMLElementPtr placed = XRXMLNode::elementWithNameURI(QStringLiteral("x:item"), QStringLiteral("urn:p"));
    root->addChild(*XRXMLNode::elementWithName(QStringLiteral("plain")));
    root->addChild(*placed);
    root->addChild(*XRXMLNode::elementWithName(QStringLiteral("p:named")));
    // Declarations already in scope are dropped; another prefix for the same URI is kept.
    root->addChild(*element("<p:a xmlns:p=\"urn:p\" p:k=\"1\"><p:b/></p:a>"));
    root->addChild(*element("<q:a xmlns:q=\"urn:p\"/>"));
    // An attribute is added once; one from a namespace not in scope brings its declaration.
    const XRXMLNodePtr id = XRXMLNode::attributeWithNameStringValue(QStringLiteral("id"), QStringLiteral("a & b"));
    root->addAttribute(*id);
    root->addAttribute(*XRXMLNode::attributeWithNameStringValue(QStringLiteral("id"), QStringLiteral("other")));
    root->addAttribute(*element("<s xmlns:z=\"urn:z\" z:k=\"2\"/>")->attributes().at(0));

    EXPECT_EQ(root->XMLString(), "<r xmlns=\"urn:d\" xmlns:p=\"urn:p\" xmlns:z=\"urn:z\" id=\"a &amp; b\" z:k=\"2\">"
                                 "<plain/><p:item/><p:named/><p:a p:k=\"1\"><p:b/></p:a><q:a xmlns:q=\"urn:p\"/></r>");
    EXPECT_EQ(root->childAtIndex(0)->URI(), "urn:d");
    EXPECT_EQ(root->elementsForLocalNameURI(QStringLiteral("item"), QStringLiteral("urn:p")).size(), 1);
    EXPECT_EQ(root->attributeForLocalNameURI(QStringLiteral("k"), QStringLiteral("urn:z"))->stringValue(), "2");
    EXPECT_EQ(root->resolvePrefixForNamespaceURI(QStringLiteral("urn:z")), "z");
    // What was added is a copy: the argument is still unattached and unresolved.
    EXPECT_EQ(placed->name(), "{urn:p}:item");
    EXPECT_FALSE(placed->XMLNode()->parent);
}

TEST(XRXMLElement, changesDeclarationsAndTexts)
{
    const XRXMLElementPtr root = element("<p:r xmlns:p=\"urn:p\" p:k=\"1\"><p:a/></p:r>");
    root->setNamespaces({XRXMLNode::namespaceWithNameStringValue(QStringLiteral("q"), QStringLiteral("urn:q")),
                         XRXMLNode::namespaceWithNameStringValue(QString(""), QStringLiteral("urn:d"))});
    // Nodes whose declaration went away lose it; bare element names then join the new default.
    EXPECT_EQ(root->XMLString(), "<r xmlns:q=\"urn:q\" xmlns=\"urn:d\" k=\"1\"><a/></r>");
    EXPECT_EQ(root->childAtIndex(0)->URI(), "urn:d");
    root->addNamespace(*XRXMLNode::namespaceWithNameStringValue(QStringLiteral("z"), QStringLiteral("urn:z")));
    root->addChild(*XRXMLNode::elementWithNameURI(QStringLiteral("b"), QStringLiteral("urn:z")));
    EXPECT_EQ(root->childAtIndex(1)->name(), "z:b");

    root->setStringValue(QStringLiteral("x < y & z"));
    EXPECT_EQ(root->stringValue(), "x < y & z");
    EXPECT_EQ(root->children().size(), 1);
    EXPECT_TRUE(root->XMLString().endsWith(QLatin1String(">x &lt; y &amp; z</r>")));
}

TEST(XRXMLElement, copiesAndRemovedChildrenOutliveTheirDocument)
{
    XRXMLNodePtr copy;
    XRXMLNodePtr kept;
    {
        auto document = XRXMLDocument::documentWithData("<r a=\"1\"><x>gone</x><y>kept</y><z w=\"1\">v</z></r>", 0, nullptr);
        const XRXMLElementPtr root = document->rootElement();
        EXPECT_FALSE(root->shouldFreeXMLNode());
        copy = root->childAtIndex(2)->copy();
        const XRXMLNodePtr x = root->childAtIndex(0);
        root->removeChild(*x);
        EXPECT_EQ(x->kind(), XRXMLNode::InvalidKind);
        kept = root->childAtIndex(0);
        kept->setShouldFreeXMLNode(true);
        root->removeChild(*kept);
        root->removeChild(*root->attributeForName(QStringLiteral("a")));
        EXPECT_EQ(root->XMLString(), "<r><z w=\"1\">v</z></r>");
    }
    EXPECT_TRUE(copy->shouldFreeXMLNode());
    EXPECT_EQ(copy->XMLString(), "<z w=\"1\">v</z>");
    EXPECT_EQ(kept->XMLString(), "<y>kept</y>");

    // A document built on an element holds a copy of its own, and writes what it holds.
    const XRXMLElementPtr root = element("<r/>");
    auto built = XRXMLDocument::documentWithRootElement(*root);
    root->addChild(*XRXMLNode::elementWithName(QStringLiteral("late")));
    EXPECT_EQ(built->XMLData(), "<?xml version=\"1.0\"?>\n<r/>\n");
    built->setCharacterEncoding(QStringLiteral("ISO-8859-1"));
    built->rootElement()->setStringValue(QStringLiteral("å"));
    EXPECT_EQ(built->XMLData(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>\xE5</r>\n");
}
