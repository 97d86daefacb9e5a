// Positions, finding elements, names, attributes, texts and the less used
// readers.
#include <gtest/gtest.h>

#include <string>

#include "library/xml/xml_document.h"
#include "tests/library/xml/xml_test_access.h"

namespace {

constexpr const char* kList =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
    "<list kind='nodes'>\r\n"
    "<node id=\"1\" name=\"one\"/>\r\n"
    "<group><node id=\"2\"/></group>\r\n"
    "<node id=\"3\">three</node>\r\n"
    "</list>\r\n";

TEST(XmlNavigation, FindWalksSiblingsAndEntersElements) {
  CXmlDocument d(kList);
  ASSERT_TRUE(d.CheckWellFormed()) << d.DescribeResults();
  EXPECT_FALSE(d.FindElement("node"));  // not at the top level
  ASSERT_TRUE(d.FindElement("list"));
  EXPECT_EQ(d.GetAttribute("kind"), "nodes");
  ASSERT_TRUE(d.EnterElement());
  ASSERT_TRUE(d.FindElement("node"));
  EXPECT_EQ(d.GetAttribute("id"), "1");
  ASSERT_TRUE(d.FindElement("node"));
  EXPECT_EQ(d.GetAttribute("id"), "3");
  EXPECT_EQ(d.GetText(), "three");
  EXPECT_FALSE(d.FindElement("node"));
  EXPECT_EQ(d.GetAttribute("id"), "3");  // unchanged by a failed find
  ASSERT_TRUE(d.LeaveElement());
  EXPECT_EQ(d.GetElementName(), "list");
  EXPECT_FALSE(d.LeaveElement());
}

TEST(XmlNavigation, FindChildElement) {
  CXmlDocument d(kList);
  ASSERT_TRUE(d.FindChildElement("group"));  // finds the root first
  EXPECT_EQ(d.GetElementName(), "list");
  EXPECT_FALSE(d.FindChildElement("group"));  // only after the child position
  d.SetPosition(0, 0, 0);
  ASSERT_TRUE(d.FindChildElement(nullptr));
  EXPECT_EQ(d.GetChildText(), "");
  ASSERT_TRUE(d.FindChildElement(nullptr));
  ASSERT_TRUE(d.FindChildElement(nullptr));
  EXPECT_EQ(d.GetChildText(), "three");
  EXPECT_FALSE(d.FindChildElement(nullptr));
}

TEST(XmlNavigation, ShortPathsCompareOnlyTheFirstName) {
  struct Case {
    const char* path;
    bool found;
  } cases[] = {{"group", true},          {"group/node", true},     {"group[1]", true},
               {"group[@id]", true},      {"group[@id='2']", true}, {"group[@id=\"2\"]", true},
               {"group[@id=2]/node", true}, {"group/@id", true},     {"/list", false},
               {"group[", false},          {"group]", false},        {"group[x]", false},
               {"group/", false},          {"group=1", false},       {"group x", false},
               {"group/@", false},         {"nothing/node", false}};
  for (const Case& c : cases) {
    CXmlDocument d(kList);
    ASSERT_TRUE(d.FindElement("list"));
    ASSERT_TRUE(d.EnterElement());
    EXPECT_EQ(d.FindElement(c.path), c.found) << c.path;
  }
}

TEST(XmlNavigation, CaseFoldingStopsAtMultiByteCharacters) {
  CXmlDocument d;
  d.SetDocumentFlags(CXmlDocument::kIgnoreCase);
  d.SetDocument("<r><Node/><\xE4\xB8\xAD" "a/></r>");
  ASSERT_TRUE(d.FindElement("R"));
  ASSERT_TRUE(d.EnterElement());
  EXPECT_TRUE(d.FindElement("NODE"));
  EXPECT_TRUE(d.FindElement("\xE4\xB8\xAD" "a"));
  d.SetPosition(1, 0, 0);
  // After the equal multi-byte bytes the rest compares exactly.
  EXPECT_FALSE(d.FindElement("\xE4\xB8\xAD" "A"));
}

TEST(XmlNavigation, SetPositionReturnsMainAndIgnoresUnknownRecords) {
  CXmlDocument d("<r><a/></r>");
  EXPECT_EQ(d.SetPosition(1, 2, 0), 2);
  EXPECT_EQ(d.GetElementName(), "a");
  EXPECT_EQ(d.SetPosition(1, 99, -5), 0);
  EXPECT_EQ(d.GetElementName(), "");
  EXPECT_EQ(d.GetText(), "");
  EXPECT_FALSE(d.EnterElement());
}

TEST(XmlNavigation, GetText) {
  struct Case {
    const char* text;
    int flags;
    const char* expected;
  } cases[] = {
      {"<a>x &lt; y</a>", 0, "x < y"},
      {"<a>x<![CDATA[<b>]]>y</a>", 0, "x<b>y"},
      {"<a>x<!-- c --><?p?>\r\n<![CDATA[z]]></a>", 0, "xz"},
      {"<a><b/></a>", 0, ""},
      {"<a/>", 0, ""},
      {"<a>  a \r\n b  </a>", CXmlDocument::kCollapseWhiteSpace, "a b"},
      {"<a>  a \r\n b  </a>", CXmlDocument::kTrimWhiteSpace, "a \r\n b"},
      {"<a>  a \r\n b  </a>", 0, "  a \r\n b  "},
  };
  for (const Case& c : cases) {
    CXmlDocument d;
    d.SetDocumentFlags(c.flags);
    d.SetDocument(c.text);
    ASSERT_TRUE(d.FindElement("a")) << c.text;
    EXPECT_EQ(d.GetText(), c.expected) << c.text;
  }
  CXmlDocument d("<a>t</a>");
  EXPECT_EQ(d.GetTextAt(0), "");
}

TEST(XmlNavigation, AttributesAreReadWithQuotesAndEntities) {
  CXmlDocument d("<a one='1' two=\"&quot;2&quot;\" three=3 flag four = '4' x=\"a>b\"/>");
  ASSERT_TRUE(d.FindElement());
  EXPECT_EQ(d.GetAttribute("one"), "1");
  EXPECT_EQ(d.GetAttribute("two"), "\"2\"");
  EXPECT_EQ(d.GetAttribute("three"), "3");
  EXPECT_EQ(d.GetAttribute("four"), "4");
  EXPECT_EQ(d.GetAttribute("x"), "a>b");
  EXPECT_EQ(d.GetAttribute("flag"), "");
  EXPECT_EQ(d.GetAttribute("missing"), "");
  EXPECT_EQ(d.GetAttribute("ONE"), "");
  EXPECT_EQ(d.AttributeNameAt(0), "one");
  EXPECT_EQ(d.AttributeNameAt(3), "flag");
  std::string name, value;
  ASSERT_TRUE(d.GetAttributeByIndex(4, &name, &value));
  EXPECT_EQ(name, "four");
  EXPECT_EQ(value, "4");
  EXPECT_FALSE(d.GetAttributeByIndex(6, &name, &value));
  EXPECT_FALSE(d.GetAttributeByIndex(-1, &name, &value));
}

TEST(XmlNavigation, FindNextNodeVisitsEveryKind) {
  CXmlDocument d("<?xml version=\"1.0\"?><!DOCTYPE r><r>t<![CDATA[c]]><!--m--><?p q?><e/>\r\n</x></r>");
  struct Step {
    int kind;
    const char* name;
    const char* text;
  } steps[] = {{CXmlDocument::kNodeProcessingInstruction, "xml", "xml version=\"1.0\""},
               {CXmlDocument::kNodeDocumentType, "r", "<!DOCTYPE r>"},
               {CXmlDocument::kNodeElement, "r", ""}};
  for (const Step& s : steps) {
    EXPECT_EQ(d.FindNextNode(), s.kind);
    EXPECT_EQ(d.GetElementName(), s.name);
    EXPECT_EQ(d.GetText(), s.text);
  }
  EXPECT_EQ(d.FindNextNode(), 0);
  EXPECT_EQ(d.GetElementName(), "r");
  ASSERT_TRUE(d.EnterElement());
  Step inner[] = {{CXmlDocument::kNodeText, "#text", "t"},
                  {CXmlDocument::kNodeCdata, "#cdata-section", "c"},
                  {CXmlDocument::kNodeComment, "#comment", "m"},
                  {CXmlDocument::kNodeProcessingInstruction, "p", "p q"},
                  {CXmlDocument::kNodeElement, "e", ""},
                  {CXmlDocument::kNodeWhiteSpace, "#text", "\r\n"},
                  {CXmlDocument::kNodeLoneEndTag, "x", "x"}};
  for (const Step& s : inner) {
    EXPECT_EQ(d.FindNextNode(), s.kind) << s.name;
    EXPECT_EQ(d.GetElementName(), s.name);
    EXPECT_EQ(d.GetText(), s.text);
  }
  EXPECT_EQ(d.FindNextNode(), 0);
}

TEST(XmlNavigation, FindNextNodeWithAMaskAndFindElementFromANode) {
  CXmlDocument d("<r><!--1--><a/><!--2--><b/></r>");
  ASSERT_TRUE(d.FindElement());
  ASSERT_TRUE(d.EnterElement());
  EXPECT_EQ(d.FindNextNode(CXmlDocument::kNodeComment), CXmlDocument::kNodeComment);
  EXPECT_EQ(d.GetText(), "1");
  EXPECT_EQ(d.FindNextNode(CXmlDocument::kNodeComment), CXmlDocument::kNodeComment);
  EXPECT_EQ(d.GetText(), "2");
  ASSERT_TRUE(d.FindElement());
  EXPECT_EQ(d.GetElementName(), "b");
}

TEST(XmlNavigation, ProcessingInstructionPseudoAttributes) {
  CXmlDocument d("<?xml version=\"1.0\" encoding='gbk'?><r/>");
  ASSERT_EQ(d.FindNextNode(), CXmlDocument::kNodeProcessingInstruction);
  EXPECT_EQ(d.GetAttribute("encoding"), "gbk");
  EXPECT_EQ(d.AttributeNameAt(0), "version");
}

TEST(XmlNavigation, StoreAndRecallPositions) {
  CXmlDocument d("<r><a><x/></a><b/></r>");
  ASSERT_TRUE(d.FindElement("r"));
  ASSERT_TRUE(d.StorePosition("root"));
  ASSERT_TRUE(d.FindChildElement("a"));
  ASSERT_TRUE(d.StorePosition("child"));
  ASSERT_TRUE(d.EnterElement());
  ASSERT_TRUE(d.EnterElement());
  ASSERT_TRUE(d.StorePosition("parent", 3));
  EXPECT_FALSE(d.StorePosition(nullptr));

  d.SetPosition(0, 0, 0);
  ASSERT_TRUE(d.RecallPosition("child"));
  EXPECT_EQ(Access::Parent(d), 0);
  EXPECT_EQ(Access::Main(d), 1);
  EXPECT_EQ(Access::Child(d), 2);
  ASSERT_TRUE(d.RecallPosition("root"));
  EXPECT_EQ(Access::Main(d), 1);
  EXPECT_EQ(Access::Child(d), 0);
  EXPECT_FALSE(d.RecallPosition("parent"));  // another map
  ASSERT_TRUE(d.RecallPosition("parent", 3));
  EXPECT_EQ(Access::Parent(d), 2);
  EXPECT_EQ(Access::Main(d), 0);
  EXPECT_FALSE(d.RecallPosition("unknown"));

  ASSERT_TRUE(d.SetPositionMapSize(1));  // everything in one bucket
  EXPECT_FALSE(d.SetPositionMapSize(0));
  ASSERT_TRUE(d.RecallPosition("child"));
  ASSERT_TRUE(d.StorePosition("root"));  // replaced: now the child a
  ASSERT_TRUE(d.RecallPosition("root"));
  EXPECT_EQ(Access::Child(d), 2);

  // Removing a's element drops the positions that point at it.
  d.SetPosition(1, 2, 0);
  ASSERT_TRUE(d.RemoveElement());
  EXPECT_FALSE(d.RecallPosition("child"));
  EXPECT_FALSE(d.RecallPosition("parent", 3));  // it was a as the parent
  d.SetPosition(0, 0, 0);
  ASSERT_TRUE(d.FindElement("r"));
  ASSERT_TRUE(d.StorePosition("again"));
  d.SetDocument("<r/>");
  EXPECT_FALSE(d.RecallPosition("again"));  // a parse discards them
}

TEST(XmlNavigation, BuildElementPath) {
  CXmlDocument d("<r><a/><b/><a><c/></a></r>");
  EXPECT_EQ(d.BuildElementPath(1), "/r");
  EXPECT_EQ(d.BuildElementPath(2), "/r/a");
  EXPECT_EQ(d.BuildElementPath(5), "/r/a[2]/c");
  EXPECT_EQ(d.BuildElementPath(0), "");
}

TEST(XmlNavigation, InnerAndElementMarkup) {
  CXmlDocument d("<r>\r\n<a x='1'><b/>t</a>\r\n<c/> u</r>");
  EXPECT_EQ(d.GetInnerMarkup(2), "<b/>t");
  EXPECT_EQ(d.GetInnerMarkup(3), "");
  EXPECT_EQ(d.GetElementMarkup(2), "<a x='1'><b/>t</a>\r\n");
  EXPECT_EQ(d.GetElementMarkup(4), "<c/>");  // text follows: white space stays
  EXPECT_EQ(d.GetElementMarkup(0), "");
}

}  // namespace
