#include <gtest/gtest.h>

#include "library/session/credentials.h"
#include "library/session/key_value.h"
#include "library/session/wire_text.h"

TEST(Credentials, Base64WithExclamationMarksForPadding) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"admin", "YWRtaW4!"},
      {"1", "MQ!!"},
      {"abc", "YWJj"},
      {"\xE4\xB8\xAD", "1tA!"},  // one character, sent as its two GBK bytes
      {"", ""},
  };
  for (const auto& c : cases) {
    const auto encoded = EncodeCredential(c.text, kMaxEncodedUser);
    ASSERT_TRUE(encoded) << c.text;
    EXPECT_EQ(*encoded, c.expected) << c.text;
  }
  EXPECT_TRUE(EncodeCredential(std::string(21, 'x'), kMaxEncodedUser));
  EXPECT_FALSE(EncodeCredential(std::string(22, 'x'), kMaxEncodedUser));
  EXPECT_TRUE(EncodeCredential(std::string(45, 'x'), kMaxEncodedPassword));
  EXPECT_FALSE(EncodeCredential(std::string(46, 'x'), kMaxEncodedPassword));
  // 11 characters are 22 bytes on the wire: too long, although 33 bytes of UTF-8.
  std::string wide;
  for (int i = 0; i < 11; ++i) wide += "\xE4\xB8\xAD";
  EXPECT_FALSE(EncodeCredential(wide, kMaxEncodedUser));
}

TEST(KeyValue, FindsTheValueUpToTheNextSemicolon) {
  struct Case {
    const char* text;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"alarm=1;canread=0;", "canread", "0"},
      {"fps=25;w=704", "w", "704"},
      {"fps=25;w=704", "h", ""},
      {"a=1;b", "b", ""},  // a key at the very end with no value
      {"", "x", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(GetKeyValue(c.text, c.key), c.expected) << c.text << " " << c.key;
}

TEST(WireText, GbkOnTheWireUtf8Inside) {
  EXPECT_EQ(Utf8ToWire("\xE4\xB8\xAD" "1"), "\xD6\xD0" "1");
  EXPECT_EQ(WireToUtf8("\xD6\xD0" "1"), "\xE4\xB8\xAD" "1");
  EXPECT_EQ(Utf8ToWire("\xF0\x9F\x98\x80"), "?");
}

TEST(WireText, FittingNeverCutsACharacter) {
  EXPECT_EQ(FitUtf8("abcdef", 4), "abc");
  EXPECT_EQ(FitUtf8("ab\xE4\xB8\xAD", 5), "ab");
  EXPECT_EQ(FitUtf8("ab\xE4\xB8\xAD", 6), "ab\xE4\xB8\xAD");
  EXPECT_EQ(FitUtf8("abc", 0), "");
}
