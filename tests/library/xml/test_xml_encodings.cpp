// Encoding names, declared encodings, conversion and the UTF transforms.
#include <gtest/gtest.h>

#include <string>

#include "library/xml/xml_document.h"
#include "library/xml/xml_encodings.h"
#include "tests/library/xml/xml_test_access.h"

namespace {

TEST(XmlEncodings, CodePageOfEncoding) {
  struct Case {
    const char* name;
    int codePage;
  } cases[] = {{"", 0},           {"gbk", 936},        {"GB2312", 936},     {"cp936", 936},
               {"UTF-8", 65001},  {"utf8", 65001},     {"UTF-32BE", 65005}, {"UTF-32", 65005},
               {"utf-32", 12000}, {"utf-32be", 12001}, {"cp1256 ", 1256},   {"cp1256", 1256},
               {"shifft_jis", 932}, {"Shift_JIS", 932}, {"ISO-8859-1", 28591}, {"big5", 950},
               {"_iso-2022-jp$sio", 50222}, {"hz-gb-2312", 52936}, {"xyz", -1}, {"utf-", -1}};
  for (const Case& c : cases) EXPECT_EQ(CXmlDocument::CodePageOfEncoding(c.name), c.codePage) << c.name;
  EXPECT_EQ(CXmlDocument::CodePageOfEncoding(nullptr), 0);
  EXPECT_EQ(CXmlDocument::CodePageOfEncoding(std::string(99, 'a').c_str()), -1);
  EXPECT_EQ(CXmlDocument::CodePageOfEncoding(("UTF-32" + std::string(100, 'x')).c_str()), 65005);
  EXPECT_EQ(CXmlDocument::CodePageOfEncoding(("gbk" + std::string(97, ' ')).c_str()), -1);
}

TEST(XmlEncodings, EncodingsDiffer) {
  EXPECT_FALSE(CXmlDocument::EncodingsDiffer("gbk", "GB2312"));
  EXPECT_TRUE(CXmlDocument::EncodingsDiffer("gbk", "utf-8"));
  EXPECT_FALSE(CXmlDocument::EncodingsDiffer("xyz", "utf-8"));
  EXPECT_FALSE(CXmlDocument::EncodingsDiffer("", "utf-8"));  // the process code page is UTF-8
  EXPECT_TRUE(CXmlDocument::EncodingsDiffer("", "gbk"));
  ProcessCodePageGuard gbk(936);
  EXPECT_FALSE(CXmlDocument::EncodingsDiffer("", "gbk"));
  EXPECT_TRUE(CXmlDocument::EncodingsDiffer("utf-8", ""));
}

TEST(XmlEncodings, FindDeclaredEncoding) {
  struct Case {
    const char* text;
    const char* encoding;
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"gb2312\"?><a/>", "gb2312"},
      {"<?XML encoding='UTF-8' ?>", "UTF-8"},
      {"<?xml version=\"1.0\"?><a/>", ""},
      {" <?xml encoding=\"gbk\"?>", ""},  // only at offset 0
      {"<?pi encoding=\"gbk\"?><a/>", ""},
      {"<!DOCTYPE html><html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">"
       "</head></html>",
       "big5"},
      {"<html><head><meta name=x><META HTTP-EQUIV='content-type' CONTENT='text/html;CHARSET = euc-kr;'>",
       "euc-kr"},
      {"<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=big5\">", ""},
      {"<a><meta http-equiv=\"Content-Type\" content=\"charset=big5\"></a>", ""},
      {"", ""},
      {"<?>", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CXmlDocument::FindDeclaredEncoding(c.text), c.encoding) << c.text;
}

TEST(XmlEncodings, Utf8Check) {
  EXPECT_TRUE(IsValidUtf8("abc \xE4\xB8\xAD \xF0\x9F\x98\x80 \xC3\xA9"));
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));    // cut off
  EXPECT_FALSE(IsValidUtf8("\xF8\x80\x80\x80\x80"));
  EXPECT_FALSE(IsValidUtf8("\x80"));        // continuation without a lead
  EXPECT_FALSE(IsValidUtf8("\xD6\xD0"));    // GBK
  EXPECT_TRUE(IsValidUtf8(std::string_view("ok\0\xFF", 4)));  // stops at the NUL
}

TEST(XmlEncodings, CharacterTransforms) {
  char bytes[4];
  char16_t units[2];
  const int codePoints[] = {0x41, 0xE9, 0x4E2D, 0x1F600, 0x10FFFF};
  for (const int cp : codePoints) {
    const int n = CXmlDocument::EncodeUtf8Char(cp, bytes);
    const char* p = bytes;
    EXPECT_EQ(CXmlDocument::DecodeUtf8Char(p, bytes + n), cp);
    EXPECT_EQ(p, bytes + n);
    const int m = CXmlDocument::EncodeUtf16Char(cp, units);
    EXPECT_EQ(m, cp > 0xFFFF ? 2 : 1);
    const char16_t* q = units;
    EXPECT_EQ(CXmlDocument::DecodeUtf16Char(q, units + m), cp);
  }
  EXPECT_EQ(CXmlDocument::EncodeUtf8Char(0x110000, bytes), 0);
  const char cut[] = "\xE4\xB8";
  const char* p = cut;
  EXPECT_EQ(CXmlDocument::DecodeUtf8Char(p, cut + 2), -1);
  EXPECT_EQ(p, cut + 1);
  const char16_t lone[] = {0xD800, u'a'};
  const char16_t* q = lone;
  EXPECT_EQ(CXmlDocument::DecodeUtf16Char(q, lone + 2), -1);
  EXPECT_EQ(CXmlDocument::Utf16ToUtf8(std::u16string_view(lone, 2)), "?a");
  EXPECT_EQ(CXmlDocument::Utf8ToUtf16("a\xFF\xE4\xB8\xAD"), u"a?\u4E2D");
  EXPECT_EQ(CXmlDocument::Utf16ToUtf8(u"\U0001F600x"), "\xF0\x9F\x98\x80x");
}

TEST(XmlEncodings, ProcessCodePageConversions) {
  bool lost = true;
  EXPECT_EQ(CXmlDocument::Utf8ToProcessCodePage("\xE4\xB8\xAD", &lost), "\xE4\xB8\xAD");
  EXPECT_FALSE(lost);
  EXPECT_EQ(CXmlDocument::ProcessCodePageToUtf8("abc"), "abc");
  ProcessCodePageGuard gbk(936);
  EXPECT_EQ(CXmlDocument::Utf8ToProcessCodePage("\xE4\xB8\xAD\xF0\x9F\x98\x80", &lost), "\xD6\xD0?");
  EXPECT_TRUE(lost);
  EXPECT_EQ(CXmlDocument::ProcessCodePageToUtf8("\xD6\xD0"), "\xE4\xB8\xAD");
}

TEST(XmlEncodings, TextConverterPaths) {
  std::string out;
  TextConverter toPoints(kCodePageCodePoints, 65001);
  ASSERT_TRUE(toPoints.Convert("A\xE4\xB8\xAD", &out));
  EXPECT_EQ(out, std::string("A\0\0\0\x2D\x4E\0\0", 8));
  TextConverter fromPoints(65001, kCodePageCodePoints);
  ASSERT_TRUE(fromPoints.Convert(std::string("\x00\xF6\x01\0\xFF\xFF\xFF\x7F", 8), &out));
  EXPECT_EQ(out, "\xF0\x9F\x98\x80?");
  TextConverter toWide(1200, 65001);
  ASSERT_TRUE(toWide.Convert("\xE4\xB8\xAD", &out));
  EXPECT_EQ(out, "\x2D\x4E");
  TextConverter toGbk(936, 65001);
  ASSERT_TRUE(toGbk.Convert("\xE4\xB8\xAD\xF0\x9F\x98\x80", &out));
  EXPECT_EQ(out, "\xD6\xD0?");
  EXPECT_TRUE(toGbk.Lost());
  TextConverter toGb18030(54936, 65001);  // loss is not reported for it
  ASSERT_TRUE(toGb18030.Convert("\xE4\xB8\xAD", &out));
  EXPECT_FALSE(toGb18030.Lost());
  TextConverter unknown(10021, 65001);
  EXPECT_FALSE(unknown.Convert("x", &out));
}

}  // namespace
