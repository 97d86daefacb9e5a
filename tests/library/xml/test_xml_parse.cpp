// The parse: records, flags, events and the well-formedness verdict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/xml/xml_document.h"
#include "tests/library/xml/xml_test_access.h"

namespace {

struct ParseCase {
  const char* text;
  bool wellFormed;
  const char* description;  // DescribeResults()
};

class ParseTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTable, VerdictAndFirstEvent) {
  const ParseCase& c = GetParam();
  CXmlDocument d(c.text);
  EXPECT_EQ(d.CheckWellFormed(), c.wellFormed) << c.text;
  EXPECT_EQ(d.DescribeResults(), c.description) << d.GetResultLog();
  EXPECT_TRUE(IndexIsConsistent(d));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTable,
    ::testing::Values(
        ParseCase{"", false, ""}, ParseCase{"<a/>", true, ""},
        ParseCase{"<?xml version=\"1.0\"?>\r\n<!-- c --><a x='1'>t<![CDATA[<x>]]><?pi d?></a>\r\n", true, ""},
        ParseCase{"<a><b></a>", false, "start tag 'b' at offset 3 expecting end tag at offset 7"},
        ParseCase{"<a></b></a>", false, "lone end tag 'b' at offset 3"},
        ParseCase{"<a/><b/>", false, "root element has sibling"},
        ParseCase{"text only", false, "no root element"},
        ParseCase{"<a x=\"1>2\"/>", true, ""},
        ParseCase{"<!-x>", false, "tag syntax error at offset 0 expecting - to begin comment"},
        ParseCase{"<1>", false, "tag syntax error at offset 0 expecting tag name / ! or ?"},
        ParseCase{"<a><!x></a>", false, "tag syntax error at offset 3 expecting 'DOCTYPE' [ or -"},
        ParseCase{"<a><![x]></a>", false, "tag syntax error at offset 3 expecting 'CDATA'"},
        ParseCase{"<!DOCTYPE a [<!x>]><a/>", false, "tag syntax error at offset 0 expecting markup declaration"},
        ParseCase{"<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!ATTLIST a x CDATA \"1>2\"><!-- > --><?p > ?>]><a/>",
                  true, ""},
        ParseCase{"<a>", false, "start tag 'a' at offset 0 expecting end tag at offset 3"},
        ParseCase{"<a></a><", false, "unterminated tag at offset 7"},
        ParseCase{"<a>x</a>\r\n", true, ""}, ParseCase{"\r\n <a/> \r\n", true, ""},
        ParseCase{"<a></A>", false, "lone end tag 'A' at offset 3"},
        ParseCase{"<a/></a>", false, "lone end tag 'a' at offset 4"},
        ParseCase{"<a><!----></a>", true, ""}, ParseCase{"<a><!--></a>", true, ""}));

// The type of an unterminated tag names the token that was begun.
TEST(XmlParse, UnterminatedTagTypes) {
  struct Case {
    const char* text;
    const char* type;
  } cases[] = {{"<a><b x='1'", "start_tag"},        {"<a></a", "end_tag"},
               {"<a><![CDATA[x]]", "cdata_section"}, {"<a><?pi x?", "processing_instruction"},
               {"<a><!-- x --", "comment"},           {"<!DOCTYPE a [<!ELEMENT a", "document_type"},
               {"<a><1 x", "tag"},                    {"<a><", "tag"}};
  for (const Case& c : cases) {
    CXmlDocument d(c.text);
    EXPECT_FALSE(d.CheckWellFormed()) << c.text;
    const std::string expected = std::string("type=\"") + c.type + "\"";
    EXPECT_NE(d.GetResultLog().find("<unterminated_tag_syntax " + expected), std::string::npos)
        << c.text << ": " << d.GetResultLog();
    EXPECT_TRUE(IndexIsConsistent(d)) << c.text;
  }
}

TEST(XmlParse, EmptyAndNullTextsHaveNoEvents) {
  CXmlDocument empty("");
  EXPECT_FALSE(empty.CheckWellFormed());
  EXPECT_EQ(empty.GetResultLog(), "");
  CXmlDocument none(nullptr);
  EXPECT_FALSE(none.CheckWellFormed());
  EXPECT_EQ(none.GetResultLog(), "");
  EXPECT_EQ(none.GetDocument(), "");
}

TEST(XmlParse, EmptyElementRecord) {
  CXmlDocument d("<a/>");
  const auto& r = Access::Records(d);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].firstChild, 1);
  EXPECT_EQ(r[0].length, 4);
  EXPECT_EQ(r[1].start, 0);
  EXPECT_EQ(r[1].length, 4);
  EXPECT_EQ(r[1].startTagLength, 4);
  EXPECT_EQ(r[1].endTagLength, 0);
  EXPECT_EQ(r[1].previousSibling, 1);  // a first child points at the last one
  EXPECT_TRUE(r[1].flags & CXmlDocument::kRecordFirstChild);
}

TEST(XmlParse, RecordsOfNestedElements) {
  CXmlDocument d("<r><a x='1'>t</a><b/><c></c></r>");
  ASSERT_TRUE(d.CheckWellFormed());
  const auto& r = Access::Records(d);
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[1].length, 32);
  EXPECT_EQ(r[1].endTagLength, 4);
  EXPECT_EQ(r[2].start, 3);
  EXPECT_EQ(r[2].startTagLength, 9);
  EXPECT_EQ(r[2].length, 14);
  EXPECT_EQ(r[2].endTagLength, 4);
  EXPECT_EQ(r[2].level, 1);
  EXPECT_EQ(r[1].firstChild, 2);
  EXPECT_EQ(r[2].nextSibling, 3);
  EXPECT_EQ(r[3].nextSibling, 4);
  EXPECT_EQ(r[2].previousSibling, 4);  // circular backward chain
  EXPECT_EQ(r[4].previousSibling, 3);
  EXPECT_EQ(r[4].length, 7);
}

TEST(XmlParse, UnendedElementGivesItsChildrenToItsParent) {
  CXmlDocument d("<a><b><c/><d/></a>");
  EXPECT_FALSE(d.CheckWellFormed());
  const auto& r = Access::Records(d);
  // b is unended: its children c and d follow it as children of a.
  EXPECT_TRUE(r[2].flags & CXmlDocument::kRecordUnended);
  EXPECT_EQ(r[2].length, 3);
  EXPECT_EQ(r[2].endTagLength, 0);
  EXPECT_EQ(r[2].firstChild, 0);
  EXPECT_EQ(r[3].parent, 1);
  EXPECT_EQ(r[4].parent, 1);
  EXPECT_EQ(r[3].level, 1);
  EXPECT_EQ(r[2].nextSibling, 3);
  EXPECT_EQ(r[2].previousSibling, 4);
  EXPECT_EQ(r[1].length, 18);
  EXPECT_TRUE(r[0].flags & CXmlDocument::kRecordParseError);
  EXPECT_TRUE(IndexIsConsistent(d));
}

TEST(XmlParse, DeeplyUnendedNestingIsFlattenedOnce) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "<e>";
  CXmlDocument d(text.c_str());
  EXPECT_FALSE(d.CheckWellFormed());
  const auto& r = Access::Records(d);
  ASSERT_EQ(r.size(), 20001u);
  for (std::size_t i = 1; i < r.size(); ++i) {
    ASSERT_EQ(r[i].parent, 0);
    ASSERT_EQ(r[i].level, 0);
  }
  EXPECT_TRUE(IndexIsConsistent(d));
}

TEST(XmlParse, DeepNestingKeepsLevelsBeyondSixteenBits) {
  std::string text;
  const int depth = 70000;
  for (int i = 0; i < depth; ++i) text += "<e>";
  for (int i = 0; i < depth; ++i) text += "</e>";
  CXmlDocument d(text.c_str());
  EXPECT_TRUE(d.CheckWellFormed());
  const auto& r = Access::Records(d);
  EXPECT_EQ(r[depth].level, depth - 1);
  EXPECT_EQ(r[depth].flags & CXmlDocument::kRecordRemoved, 0);
}

TEST(XmlParse, LongNameKeepsItsEndTagLength) {
  const std::string name(2000, 'n');
  CXmlDocument d(("<" + name + ">x</" + name + ">").c_str());
  ASSERT_TRUE(d.CheckWellFormed());
  EXPECT_EQ(Access::Records(d)[1].endTagLength, 2003);
}

TEST(XmlParse, LoneEndTagKeepsTheEnclosingElement) {
  CXmlDocument d("<a></b></a>");
  const auto& r = Access::Records(d);
  EXPECT_EQ(r[1].length, 11);
  EXPECT_TRUE(r[1].flags & CXmlDocument::kRecordIllFormed);
  EXPECT_NE(d.GetResultLog().find("<lone_end_tag tagname=\"b\" offset=\"3\"/>"), std::string::npos);
}

TEST(XmlParse, CaseInsensitiveNamesFlag) {
  CXmlDocument exact("<A></a>");
  EXPECT_FALSE(exact.CheckWellFormed());
  EXPECT_NE(exact.GetResultLog().find("lone_end_tag"), std::string::npos);
  EXPECT_NE(exact.GetResultLog().find("unended_start_tag"), std::string::npos);

  CXmlDocument folded;
  folded.SetDocumentFlags(CXmlDocument::kIgnoreCase);
  EXPECT_TRUE(folded.SetDocument("<A></a>"));
}

TEST(XmlParse, EndTagNameMustEndAtATerminator) {
  EXPECT_FALSE(CXmlDocument("<ab></a></ab>").CheckWellFormed());
  EXPECT_TRUE(CXmlDocument("<ab></ab >").CheckWellFormed());
}

TEST(XmlParse, SlashInsideUnquotedValueIsNotEmptyElement) {
  CXmlDocument d("<r><a href=/x/>t</a></r>");
  EXPECT_TRUE(d.CheckWellFormed()) << d.DescribeResults();
  CXmlDocument e("<r><a x=\"/\"/></r>");
  EXPECT_TRUE(e.CheckWellFormed());
  EXPECT_EQ(Access::Records(e)[2].endTagLength, 0);
}

// In UTF-8 the scanner takes plain tags bytewise, 16 bytes at a time, and
// the parse matches an end tag to its element by the bytes of the name; in a
// single-byte code page the scanner steps character by character through the
// general scan. Both must give the same index and the same events, whatever
// the tag's shape, the length of its name or where the text ends.
TEST(XmlParse, BytewiseScanAgreesWithTheCharacterSteps) {
  std::vector<std::string> texts = {
      "<a>x</a>", "<a/>", "<a />", "<a/ >", "<a/x>", "<a x='1'/>", "<a></a >", "</a>", "<a></>", "<a></b></a>",
      "<a><b>\xC3\xA9</b></a>", "<\xC3\xA9l>t</\xC3\xA9l>", "<a", "<a>", "<a></a", "<a/", "</", "<", "x<",
      "<a>\r\n<!-- c --><?p x?><![CDATA[<b>]]></a>", "<r><a>1</a><a>2</A></r>", "<a>text without end",
  };
  // Names of every length around the 16-byte steps, each ended in each way.
  for (int length = 1; length <= 40; ++length) {
    const std::string name = "n" + std::string(static_cast<std::size_t>(length - 1), 'x');
    for (const char* tail : {">", "/>", " />", "\t>", "\r\n>", " a=\"1\">", ""}) {
      texts.push_back("<" + name + tail);
      texts.push_back("<r><" + name + tail + "v</" + name + "></r>");
      texts.push_back("<r><" + name + tail + "</" + name);
    }
    // An end tag of the same length that differs in one byte ends nothing.
    for (int at = 0; at < length; ++at) {
      std::string other = name;
      other[static_cast<std::size_t>(at)] = 'y';
      const std::string text = "<r><" + name + ">v</" + other + "></r>";
      const CXmlDocument document(text.c_str());
      EXPECT_NE(document.GetResultLog().find("lone_end_tag"), std::string::npos) << text;
      texts.push_back(text);
    }
  }
  for (const std::string& text : texts) {
    CXmlDocument bytewise;
    bytewise.SetDocument(text);
    CXmlDocument stepped;
    {
      ProcessCodePageGuard singleByte(1252);
      stepped.SetDocument(text);
    }
    EXPECT_EQ(DumpRecords(bytewise), DumpRecords(stepped)) << text;
    EXPECT_EQ(bytewise.GetResultLog(), stepped.GetResultLog()) << text;
  }
}

// In GBK the trail byte of 0x81 0x5D looks like ']': it must not help to
// end a CDATA section.
TEST(XmlParse, DoubleByteTrailNeverEndsACdataSection) {
  ProcessCodePageGuard gbk(936);
  CXmlDocument d("<a><![CDATA[\x81\x5D]>x]]></a>");
  EXPECT_TRUE(d.CheckWellFormed()) << d.DescribeResults();
  ASSERT_TRUE(d.FindElement("a"));
  EXPECT_EQ(d.GetText(), "\x81\x5D]>x");
}

TEST(XmlParse, LeadByteAtTheEndStepsOnlyToTheEnd) {
  ProcessCodePageGuard gbk(936);
  CXmlDocument d("<a>x\x81");
  EXPECT_FALSE(d.CheckWellFormed());
  EXPECT_TRUE(IndexIsConsistent(d));
}

TEST(XmlParse, ResultLogStopsGrowingAfterItsLimit) {
  std::string text = "<a>";
  for (int i = 0; i < 200; ++i) text += "</x>";
  text += "</a>";
  CXmlDocument d(text.c_str());
  const std::size_t size = d.GetResultLog().size();
  EXPECT_GT(size, 999u);
  EXPECT_LT(size, 999u + 60u);  // one more event at most
  EXPECT_EQ(d.DescribeResults(), "lone end tag 'x' at offset 3");
}

TEST(XmlParse, OnlyTheFirstParseEventIsDescribed) {
  CXmlDocument d("<a></b><c></a><d/>");
  EXPECT_EQ(d.DescribeResults(), "lone end tag 'b' at offset 3");
  EXPECT_NE(d.GetResultLog().find("unended_start_tag"), std::string::npos);
  EXPECT_NE(d.GetResultLog().find("root_has_sibling"), std::string::npos);
}

TEST(XmlParse, SetDocumentReplacesTextAndLog) {
  CXmlDocument d("<a></b></a>");
  EXPECT_NE(d.GetResultLog(), "");
  EXPECT_TRUE(d.SetDocument(std::string("<b/>")));
  EXPECT_EQ(d.GetResultLog(), "");
  EXPECT_EQ(d.GetDocument(), "<b/>");
}

TEST(XmlParse, StreamBindingsRefuseAndAnswer) {
  CXmlDocument d("<a/>");
  d.SetDocumentFlags(CXmlDocument::kStreamWrite);
  EXPECT_FALSE(d.SetDocument("<b/>"));
  EXPECT_EQ(d.GetDocument(), "<a/>");
  EXPECT_TRUE(d.CheckWellFormed());
  EXPECT_FALSE(d.FindElement());
  d.SetDocumentFlags(CXmlDocument::kStreamRead);
  EXPECT_TRUE(d.CheckWellFormed());
  EXPECT_FALSE(d.AddElement("x"));

  CXmlDocument bad("<a></b></a>");
  bad.SetDocumentFlags(CXmlDocument::kStreamRead);
  EXPECT_FALSE(bad.CheckWellFormed());
}

TEST(XmlParse, AssignmentCopiesAllAndIsRefusedInStreamBinding) {
  CXmlDocument source("<r><a/><b/></r>");
  source.SetDocumentFlags(CXmlDocument::kUtf8Bom);
  ASSERT_TRUE(source.FindElement("r"));
  ASSERT_TRUE(source.FindChildElement("b"));
  CXmlDocument copy;
  copy = source;
  EXPECT_EQ(copy.GetDocument(), source.GetDocument());
  EXPECT_EQ(copy.GetDocumentFlags(), CXmlDocument::kUtf8Bom);
  EXPECT_EQ(copy.GetChildText(), "");
  EXPECT_TRUE(copy.EnterElement());
  EXPECT_EQ(copy.GetElementName(), "b");

  CXmlDocument bound("<x/>");
  bound.SetDocumentFlags(CXmlDocument::kStreamRead);
  bound = source;
  EXPECT_EQ(bound.GetDocument(), "<x/>");
  CXmlDocument target("<y/>");
  source.SetDocumentFlags(CXmlDocument::kStreamWrite);
  target = source;
  EXPECT_EQ(target.GetDocument(), "<y/>");
}

}  // namespace
