// Escaping and unescaping texts.
#include <gtest/gtest.h>

#include <string>

#include "library/xml/xml_document.h"
#include "tests/library/xml/xml_test_access.h"

namespace {

std::string Decode(const std::string& text, int flags = 0) {
  return CXmlDocument::DecodeXmlText(text.data(), static_cast<int>(text.size()), flags);
}

TEST(XmlEntities, DecodeInUtf8) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a &lt; b &gt; c &amp; &quot;&apos;", "a < b > c & \"'"},
      {"&#20013;&#x4E2D;&#X4e2d;", "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"},
      {"&#x1F600;", "\xF0\x9F\x98\x80"},
      {"&alpha;&Alpha;", "\xCE\xB1\xCE\x91"},  // each name its own character
      {"&dagger;&Dagger;&rarr;&rArr;", "\xE2\x80\xA0\xE2\x80\xA1\xE2\x86\x92\xE2\x87\x92"},
      {"&eacute;&Eacute;&yuml;&Yuml;", "\xC3\xA9\xC3\x89\xC3\xBF\xC5\xB8"},
      {"&thetasym;&permil;&nbsp;", "\xCF\x91\xE2\x80\xB0\xC2\xA0"},
      {"&foo; &AMP; &LT;", "&foo; &AMP; &LT;"},  // unknown names stay
      {"&#0; &#xD800; &#x110000; &#12a; &#; &#x;", "&#0; &#xD800; &#x110000; &#12a; &#; &#x;"},
      {"&amp", "&amp"},
      {"&abcdefghij;", "&abcdefghij;"},  // more than nine characters
      {"&;", "&;"},
      {"\xE4\xB8\xAD&amp;", "\xE4\xB8\xAD&"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.in), c.out) << c.in;
}

TEST(XmlEntities, DecodeIntoGbk) {
  ProcessCodePageGuard gbk(936);
  EXPECT_EQ(Decode("&#20013;"), "\xD6\xD0");
  EXPECT_EQ(Decode("&#x1F600;"), "&#x1F600;");  // no GBK character: kept
  EXPECT_EQ(Decode("&lt;&#8364;"), "<\x80");
}

TEST(XmlEntities, WhiteSpaceFlags) {
  EXPECT_EQ(Decode("  a \r\n b  ", CXmlDocument::kTrimWhiteSpace), "a \r\n b");
  EXPECT_EQ(Decode("  a \r\n b  ", CXmlDocument::kCollapseWhiteSpace), "a b");
  EXPECT_EQ(Decode(" \t ", CXmlDocument::kCollapseWhiteSpace), "");
}

TEST(XmlEntities, Encode) {
  struct Case {
    const char* in;
    int flags;
    const char* out;
  } cases[] = {
      {"a<b>&\"'", 0, "a&lt;b&gt;&amp;\"'"},
      {"a<b>&\"'", CXmlDocument::kEncodeAttribute, "a&lt;b&gt;&amp;&quot;&apos;"},
      {"&amp; &#38; &#x26; &x-y.z; &1; & &a b;", CXmlDocument::kWriteKeepReferences,
       "&amp; &#38; &#x26; &x-y.z; &amp;1; &amp; &amp;a b;"},
      {"&amp;", 0, "&amp;amp;"},
      {"\xE4\xB8\xAD<", 0, "\xE4\xB8\xAD&lt;"},
      {"", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CXmlDocument::EncodeXmlText(c.in, c.flags), c.out) << c.in;
  EXPECT_EQ(CXmlDocument::EncodeXmlText(nullptr, 0), "");
}

TEST(XmlEntities, RoundTripThroughAnAttribute) {
  const std::string value = "<\"mixed\" & 'quotes'> \xE4\xB8\xAD";
  CXmlDocument d("<a/>");
  ASSERT_TRUE(d.FindElement());
  ASSERT_TRUE(d.SetAttribute("v", value.c_str()));
  EXPECT_EQ(d.GetAttribute("v"), value);
}

}  // namespace
