// The application only reads documents; of the operations that change a tree,
// copying and removing are checked, with the lifetimes that keep them safe.

#include "XRXMLDocument.h"

#include <gtest/gtest.h>

TEST(XRXMLElement, copiesAndRemovedChildrenOutliveTheirDocument)
{
    XRXMLNodePtr copy;
    XRXMLNodePtr kept;
    {
        auto document = XRXMLDocument::documentWithData("<r a=\"1\"><x>gone</x><y>kept</y><z w=\"1\">v</z></r>", 0, nullptr);
        const XRXMLElementPtr root = document->rootElement();
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
    EXPECT_EQ(copy->XMLString(), "<z w=\"1\">v</z>");
    EXPECT_EQ(kept->XMLString(), "<y>kept</y>");
}
