// Editing: each script runs on a small document; the resulting text is
// compared, and the edited index must equal the index of a fresh parse of
// that text (which catches errors of the offset-shifting walk).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "library/xml/xml_document.h"
#include "tests/library/xml/xml_test_access.h"

namespace {

using Doc = CXmlDocument;

struct EditCase {
  const char* title;
  const char* initial;
  std::function<void(Doc&)> edit;
  const char* expected;
};

void Enter(Doc& d, const char* name) {
  ASSERT_TRUE(d.FindElement(name)) << name;
  ASSERT_TRUE(d.EnterElement());
}

const EditCase kEditCases[] = {
    {"add to an empty text, then a sibling", "",
     [](Doc& d) {
       EXPECT_TRUE(d.AddElement("a"));
       EXPECT_EQ(d.GetElementName(), "a");
       EXPECT_TRUE(d.AddElement("b"));
       EXPECT_EQ(d.GetElementName(), "b");
     },
     "<a/>\r\n<b/>\r\n"},
    {"add after a declaration", "<?xml version=\"1.0\"?>\r\n",
     [](Doc& d) { EXPECT_TRUE(d.AddElement("root", nullptr, Doc::kWriteNoLineBreak)); },
     "<?xml version=\"1.0\"?>\r\n<root/>"},
    {"append without a main position goes before the end tag", "<r>\r\n<a/>\r\n</r>",
     [](Doc& d) {
       Enter(d, "r");
       EXPECT_TRUE(d.AddElement("b", "x"));
       EXPECT_EQ(Access::Parent(d), 1);
       EXPECT_EQ(d.GetText(), "x");
     },
     "<r>\r\n<a/>\r\n<b>x</b>\r\n</r>"},
    {"child of an empty element", "<p/>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.AddElement("c", nullptr, Doc::kWriteAsChild));
       EXPECT_EQ(d.GetElementName(), "p");
       EXPECT_EQ(Access::Child(d), 2);
     },
     "<p>\r\n<c/>\r\n</p>"},
    {"child of an empty element with attributes, no line break", "<r><p a=\"1\"/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.AddElement("c", "t", Doc::kWriteAsChild | Doc::kWriteNoLineBreak));
     },
     "<r><p a=\"1\"><c>t</c></p></r>"},
    {"child of an element without content", "<p></p>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.AddElement("c", nullptr, Doc::kWriteAsChild));
     },
     "<p>\r\n<c/>\r\n</p>"},
    {"child of an unended element", "<r><p></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.AddElement("c", nullptr, Doc::kWriteAsChild));
     },
     "<r><p>\r\n<c/>\r\n</p></r>"},
    {"second child goes after the first", "<p>\r\n<c/>\r\n</p>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("p"));
       ASSERT_TRUE(d.FindChildElement("c"));
       EXPECT_TRUE(d.AddElement("d", nullptr, Doc::kWriteAsChild));
       EXPECT_EQ(Access::Child(d), 3);
     },
     "<p>\r\n<c/>\r\n<d/>\r\n</p>"},
    {"child of a text-only element", "<p>t</p>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.AddElement("c", nullptr, Doc::kWriteAsChild));
     },
     "<p>t<c/>\r\n</p>"},
    {"before the main element", "<r><a/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("a"));
       EXPECT_TRUE(d.AddElement("b", nullptr, Doc::kWriteBefore));
       EXPECT_TRUE(d.FindElement());
       EXPECT_EQ(d.GetElementName(), "a");
     },
     "<r><b/>\r\n<a/></r>"},
    {"before without a main position goes first", "<r><a/><b/></r>",
     [](Doc& d) {
       Enter(d, "r");
       EXPECT_TRUE(d.AddElement("z", nullptr, Doc::kWriteBefore | Doc::kWriteNoLineBreak));
     },
     "<r><z/><a/><b/></r>"},
    {"escaped, CDATA, spaced and unended forms", "<r></r>",
     [](Doc& d) {
       Enter(d, "r");
       EXPECT_TRUE(d.AddElement("e", "x<y&z\"'", Doc::kWriteNoLineBreak));
       EXPECT_TRUE(d.AddElement("k", "&amp; & &#38;", Doc::kWriteNoLineBreak | Doc::kWriteKeepReferences));
       EXPECT_TRUE(d.AddElement("c", "x]]>y", Doc::kWriteNoLineBreak | Doc::kWriteCdata));
       EXPECT_EQ(d.GetText(), "x]]>y");
       EXPECT_TRUE(d.AddElement("s", nullptr, Doc::kWriteNoLineBreak | Doc::kWriteSpaceBeforeSlash));
       EXPECT_FALSE(d.AddElement("u", "text", Doc::kWriteUnended));
       EXPECT_TRUE(d.AddElementInt("n", -42, Doc::kWriteNoLineBreak));
       EXPECT_TRUE(d.AddElement("u", "", Doc::kWriteNoLineBreak | Doc::kWriteUnended));
     },
     "<r><e>x&lt;y&amp;z\"'</e><k>&amp; &amp; &#38;</k><c><![CDATA[x]]]]><![CDATA[>y]]></c><s /><n>-42</n><u></r>"},
    {"names that would break the text are refused", "<r/>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("r"));
       for (const char* name : {"", "a b", "a>", "1a", "a/b", "a=b", "a&b", "-x"})
         EXPECT_FALSE(d.AddElement(name, nullptr, Doc::kWriteAsChild)) << name;
       EXPECT_FALSE(d.AddElement(nullptr));
       EXPECT_FALSE(d.SetAttribute("a b", "1"));
       EXPECT_FALSE(d.SetAttribute("x\"", "1"));
       EXPECT_FALSE(d.SetAttribute(nullptr, "1"));
     },
     "<r/>"},
    {"set attributes: existing single-quoted, new, valueless", "<a x='1' flag/>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("a"));
       EXPECT_TRUE(d.SetAttribute("x", "say \"hi\" & 'bye'"));
       EXPECT_EQ(d.GetAttribute("x"), "say \"hi\" & 'bye'");
       EXPECT_TRUE(d.SetAttributeInt("y", 7));
       EXPECT_TRUE(d.SetAttribute("flag", "on"));
     },
     "<a x=\"say &quot;hi&quot; &amp; &apos;bye&apos;\" flag=\"on\" y=\"7\"/>"},
    {"set an attribute without a main element is refused", "<a/>",
     [](Doc& d) { EXPECT_FALSE(d.SetAttribute("x", "1")); }, "<a/>"},
    {"set an attribute of a parent shifts its children and siblings", "<r><p><a/><b>t</b></p><q/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.SetAttribute("k", "value"));
       EXPECT_TRUE(d.SetAttributeAt(3, "z", ""));
       EXPECT_TRUE(d.FindChildElement("b"));
       EXPECT_EQ(d.GetChildText(), "t");
     },
     "<r><p k=\"value\"><a z=\"\"/><b>t</b></p><q/></r>"},
    {"set attributes of a case-insensitive document", "<a X='1'/>",
     [](Doc& d) {
       d.SetDocumentFlags(Doc::kIgnoreCase);
       d.SetDocument("<a X='1'/>");
       ASSERT_TRUE(d.FindElement("A"));
       EXPECT_TRUE(d.SetAttribute("x", "2"));
     },
     "<a X=\"2\"/>"},
    {"set texts", "<r><a>old</a><b/><c>x<![CDATA[y]]></c><u></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("a"));
       EXPECT_TRUE(d.SetText("new & <more>"));
       EXPECT_EQ(d.GetText(), "new & <more>");
       ASSERT_TRUE(d.FindElement("b"));
       EXPECT_TRUE(d.SetText("x"));
       ASSERT_TRUE(d.FindElement("c"));
       EXPECT_TRUE(d.SetText("a]]>b", Doc::kWriteCdata));
       EXPECT_EQ(d.GetText(), "a]]>b");
       ASSERT_TRUE(d.FindElement("u"));
       EXPECT_TRUE(d.SetTextInt(Access::Main(d), 5));
     },
     "<r><a>new &amp; &lt;more&gt;</a><b>x</b><c><![CDATA[a]]]]><![CDATA[>b]]></c><u>5</u></r>"},
    {"set the text of an element with children is refused", "<r><a/></r>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("r"));
       EXPECT_FALSE(d.SetText("x"));
       EXPECT_FALSE(d.SetTextAt(0, "x"));
       EXPECT_TRUE(d.FindChildElement("a"));
       EXPECT_TRUE(d.SetChildText("y"));
     },
     "<r><a>y</a></r>"},
    {"remove the middle element with its line break", "<r>\r\n<a/>\r\n<b><x/></b>\r\n<c/>\r\n</r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("b"));
       EXPECT_TRUE(d.RemoveElement());
       EXPECT_EQ(d.GetElementName(), "a");
       ASSERT_TRUE(d.FindElement());
       EXPECT_EQ(d.GetElementName(), "c");
     },
     "<r>\r\n<a/>\r\n<c/>\r\n</r>"},
    {"remove the first element, then find continues", "<r><a/><b/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("a"));
       EXPECT_TRUE(d.RemoveElement());
       EXPECT_EQ(Access::Main(d), 0);
       ASSERT_TRUE(d.FindElement());
       EXPECT_EQ(d.GetElementName(), "b");
       EXPECT_TRUE(d.RemoveElement());
       EXPECT_FALSE(d.RemoveElement());
     },
     "<r></r>"},
    {"remove the last element keeps the chain circular", "<r><a/><b/><c/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("c"));
       EXPECT_TRUE(d.RemoveElement());
       EXPECT_TRUE(d.AddElement("d", nullptr, Doc::kWriteNoLineBreak));
     },
     "<r><a/><b/><d/></r>"},
    {"white space followed by text stays", "<r><a/> t</r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("a"));
       EXPECT_TRUE(d.RemoveElement());
     },
     "<r> t</r>"},
    {"remove child elements", "<r><a/><b/><c/></r>",
     [](Doc& d) {
       ASSERT_TRUE(d.FindElement("r"));
       EXPECT_FALSE(d.RemoveChildElement());
       ASSERT_TRUE(d.FindChildElement("b"));
       EXPECT_TRUE(d.RemoveChildElement());
       EXPECT_EQ(Access::Child(d), 2);
       ASSERT_TRUE(d.FindChildElement());
       EXPECT_EQ(d.GetChildText(), "");
       EXPECT_TRUE(d.RemoveChildElement());
     },
     "<r><a/></r>"},
    {"delete and put nodes", "<r><!--c--><a/>t</r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_EQ(d.FindNextNode(Doc::kNodeComment), Doc::kNodeComment);
       EXPECT_TRUE(d.DeleteNode());
       EXPECT_EQ(Access::NodeKind(d), 0);  // nothing before it
       ASSERT_EQ(d.FindNextNode(Doc::kNodeText), Doc::kNodeText);
       EXPECT_TRUE(d.PutNode(Doc::kNodeComment, " after "));
       EXPECT_TRUE(d.PutNode(Doc::kNodeProcessingInstruction, "p x=\"1\""));
       EXPECT_EQ(d.GetAttribute("x"), "1");
       EXPECT_TRUE(d.SetAttribute("x", "22"));
       EXPECT_TRUE(d.PutNode(Doc::kNodeCdata, "<c>"));
       EXPECT_TRUE(d.PutNode(Doc::kNodeText, "a&b"));
       EXPECT_TRUE(d.PutNode(Doc::kNodeElement, "e"));
       EXPECT_EQ(d.GetElementName(), "e");
       EXPECT_TRUE(d.PutNode(Doc::kNodeComment, "first", Doc::kWriteBefore));
       EXPECT_FALSE(d.PutNode(Doc::kNodeComment, "a--b"));
       EXPECT_FALSE(d.PutNode(Doc::kNodeComment, "a-"));
       EXPECT_FALSE(d.PutNode(Doc::kNodeProcessingInstruction, "p ?> x"));
       EXPECT_FALSE(d.PutNode(Doc::kNodeCdata, "a]]>b"));
       EXPECT_FALSE(d.PutNode(Doc::kNodeLoneEndTag, "a>b"));
       EXPECT_FALSE(d.PutNode(Doc::kNodeDocumentType, "<a/>"));
       EXPECT_FALSE(d.PutNode(Doc::kNodeElement, "bad name"));
       EXPECT_FALSE(d.PutNode(99, "x"));
     },
     "<r><a/>t<!-- after --><?p x=\"22\"?><![CDATA[<c>]]>a&amp;b<!--first--><e/></r>"},
    {"put nodes into an empty element and at the top", "<r/>",
     [](Doc& d) {
       Enter(d, "r");
       EXPECT_TRUE(d.PutNode(Doc::kNodeText, "x"));
       EXPECT_TRUE(d.LeaveElement());
       d.SetPosition(0, 0, 0);
       EXPECT_TRUE(d.PutNode(Doc::kNodeDocumentType, "<!DOCTYPE r>"));
       EXPECT_EQ(d.GetElementName(), "r");
     },
     "<!DOCTYPE r><r>x</r>"},
    {"rewrite node texts", "<r><!--c--><?p?><![CDATA[d]]>t<!DOCTYPE r></q></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_EQ(d.FindNextNode(), Doc::kNodeComment);
       EXPECT_TRUE(d.SetText("comment"));
       EXPECT_FALSE(d.SetText("no -- here"));
       ASSERT_EQ(d.FindNextNode(), Doc::kNodeProcessingInstruction);
       EXPECT_TRUE(d.SetText("pi a='1'"));
       EXPECT_FALSE(d.SetText("pi ?> a"));
       ASSERT_EQ(d.FindNextNode(), Doc::kNodeCdata);
       EXPECT_TRUE(d.SetText("<data>"));
       EXPECT_FALSE(d.SetText("]]>"));
       ASSERT_EQ(d.FindNextNode(), Doc::kNodeText);
       EXPECT_TRUE(d.SetText("a<b"));
       EXPECT_EQ(d.GetText(), "a<b");
       ASSERT_EQ(d.FindNextNode(), Doc::kNodeDocumentType);
       EXPECT_TRUE(d.SetText("<!DOCTYPE s>"));
       ASSERT_EQ(d.FindNextNode(), Doc::kNodeLoneEndTag);
       EXPECT_TRUE(d.SetText("z"));
       EXPECT_FALSE(d.SetText("z>y"));
     },
     "<r><!--comment--><?pi a='1'?><![CDATA[<data>]]>a&lt;b<!DOCTYPE s></z></r>"},
    {"delete an element node steps back to the node before", "<r>t<a/><b/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("b"));
       EXPECT_TRUE(d.DeleteNode());
       EXPECT_EQ(d.GetElementName(), "a");
       EXPECT_TRUE(d.DeleteNode());
       EXPECT_EQ(d.GetElementName(), "#text");
       EXPECT_TRUE(d.DeleteNode());
       EXPECT_FALSE(d.DeleteNode());
     },
     "<r></r>"},
    {"replace inner markup", "<r><p><old/>x</p><q/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("p"));
       EXPECT_TRUE(d.SetInnerMarkup("<n a='1'><m/></n>text<o/>"));
       EXPECT_EQ(d.GetInnerMarkup(Access::Main(d)), "<n a='1'><m/></n>text<o/>");
       ASSERT_TRUE(d.FindChildElement("o"));
       ASSERT_TRUE(d.FindElement("q"));
       EXPECT_TRUE(d.SetInnerMarkup("<z/>"));
     },
     "<r><p><n a='1'><m/></n>text<o/></p><q><z/></q></r>"},
    {"insert markup after the main element and as a child", "<r><a/><b/></r>",
     [](Doc& d) {
       Enter(d, "r");
       ASSERT_TRUE(d.FindElement("a"));
       EXPECT_TRUE(d.InsertMarkup("<x><y/></x>"));
       EXPECT_EQ(d.GetElementName(), "x");
       EXPECT_FALSE(d.InsertMarkup("<s/><t/>"));  // two elements: inserted all the same
       EXPECT_TRUE(d.InsertMarkup("<c/>", Doc::kWriteAsChild));
       EXPECT_EQ(Access::Child(d), Access::Records(d)[Access::Main(d)].firstChild);
     },
     "<r><a/><x><y/></x><s><c/></s><t/><b/></r>"},
};

class EditScripts : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditScripts, TextAndIndex) {
  const EditCase& c = GetParam();
  Doc d(c.initial);
  c.edit(d);
  EXPECT_EQ(d.GetDocument(), c.expected) << c.title;
  EXPECT_TRUE(MatchesReparse(d)) << c.title << ": " << d.GetDocument();
}

INSTANTIATE_TEST_SUITE_P(Documents, EditScripts, ::testing::ValuesIn(kEditCases));

TEST(XmlEditing, AddedElementRecords) {
  Doc d;
  ASSERT_TRUE(d.AddElement("a"));
  const auto& r = Access::Records(d);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[1].start, 0);
  EXPECT_EQ(r[1].length, 4);
  EXPECT_EQ(r[0].firstChild, 1);
  EXPECT_EQ(Access::Main(d), 1);
  ASSERT_TRUE(d.AddElement("u", nullptr, Doc::kWriteUnended));
  EXPECT_TRUE(Access::Records(d)[2].flags & Doc::kRecordUnended);
}

TEST(XmlEditing, RefusalsLeaveEverythingUnchanged) {
  Doc d("<r><a>t</a></r>");
  ASSERT_TRUE(d.FindElement("r"));
  const std::string before = d.GetDocument();
  EXPECT_FALSE(d.AddElement("x", "t", Doc::kWriteUnended));
  EXPECT_FALSE(d.SetText("x"));
  d.SetPosition(0, 0, 0);
  EXPECT_FALSE(d.AddElement("x", nullptr, Doc::kWriteAsChild));
  EXPECT_FALSE(d.SetAttribute("x", "1"));
  EXPECT_FALSE(d.RemoveElement());
  EXPECT_FALSE(d.SetInnerMarkup("<a/>"));
  d.SetDocumentFlags(Doc::kStreamRead);
  d.SetPosition(0, 1, 0);
  EXPECT_FALSE(d.SetAttribute("x", "1"));
  EXPECT_FALSE(d.SetText("x"));
  EXPECT_FALSE(d.RemoveElement());
  EXPECT_FALSE(d.PutNode(Doc::kNodeComment, "x"));
  EXPECT_FALSE(d.InsertMarkup("<a/>"));
  EXPECT_EQ(d.GetDocument(), before);
}

TEST(XmlEditing, IllFormedMarkupIsWrittenAndReported) {
  Doc d("<r><p/></r>");
  ASSERT_TRUE(d.CheckWellFormed());
  ASSERT_TRUE(d.FindElement("r"));
  ASSERT_TRUE(d.EnterElement());
  ASSERT_TRUE(d.FindElement("p"));
  EXPECT_FALSE(d.SetInnerMarkup("<a></b>"));
  EXPECT_EQ(d.GetDocument(), "<r><p><a></b></p></r>");
  EXPECT_FALSE(d.CheckWellFormed());
  EXPECT_TRUE(IndexIsConsistent(d));
}

// A longer mixed script over a well-formed document; the index is compared
// with a re-parse after every step.
TEST(XmlEditing, LongScriptKeepsTheIndexExact) {
  Doc d("<?xml version=\"1.0\"?>\r\n<list>\r\n</list>\r\n");
  ASSERT_TRUE(d.FindElement("list"));
  for (int i = 0; i < 30; ++i) {
    d.SetPosition(0, 1, 0);
    ASSERT_TRUE(d.AddElement("item", nullptr, Doc::kWriteAsChild));
    ASSERT_TRUE(d.EnterElement());
    ASSERT_TRUE(d.SetAttributeInt("id", i));
    if (i % 3 == 0) {
      ASSERT_TRUE(d.AddElementInt("value", i * 7, Doc::kWriteAsChild));
    }
    if (i % 4 == 0) {
      ASSERT_TRUE(d.SetAttribute("name", "n<&>\"'"));
    }
    ASSERT_TRUE(MatchesReparse(d)) << i << ": " << d.GetDocument();
  }
  d.SetPosition(1, 0, 0);
  int removed = 0;
  while (d.FindElement("item")) {
    if (std::stoi(d.GetAttribute("id")) % 2 == 0) {
      ASSERT_TRUE(d.RemoveElement());
      ++removed;
    } else {
      ASSERT_TRUE(d.SetAttribute("id", "odd"));
      if (d.FindChildElement("value")) {
        ASSERT_TRUE(d.SetChildText("changed"));
      }
    }
    ASSERT_TRUE(MatchesReparse(d)) << d.GetDocument();
  }
  EXPECT_EQ(removed, 15);
  d.SetPosition(1, 0, 0);
  int left = 0;
  while (d.FindElement("item")) ++left;
  EXPECT_EQ(left, 15);
  EXPECT_TRUE(d.CheckWellFormed());
}

}  // namespace
