#include <string>

#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace {
const std::string kUtf8Text = "client:\xE4\xB8\x8E\xE6\x9C\x8D\xE5\x8A\xA1\xE9\x80\x9A\xE8\xAE\xAF\xE5\xA4\xB1\xE8\xB4\xA5";
const std::string kGbkText =
    "client:\xD3\xEB\xB7\xFE\xCE\xF1\xCD\xA8\xD1\xB6\xCA\xA7\xB0\xDC";  // the same text in GBK
}  // namespace

TEST(CodePage, ProcessCodePageIsUtf8UnlessOverridden) {
  EXPECT_EQ(plat::ProcessCodePage(), plat::kCodePageUtf8);
  plat::SetProcessCodePageForTesting(936);
  EXPECT_EQ(plat::ProcessCodePage(), 936);
  plat::SetProcessCodePageForTesting(0);
  EXPECT_EQ(plat::ProcessCodePage(), plat::kCodePageUtf8);
}

TEST(CodePage, GbkAndUtf8RoundTrip) {
  std::string out;
  bool lost = true;
  ASSERT_TRUE(plat::ConvertCodePage(plat::kCodePageUtf8, plat::kCodePageGbk, kUtf8Text, out, &lost));
  EXPECT_EQ(out, kGbkText);
  EXPECT_FALSE(lost);
  ASSERT_TRUE(plat::ConvertCodePage(plat::kCodePageGbk, 0, kGbkText, out, &lost));
  EXPECT_EQ(out, kUtf8Text);
  EXPECT_FALSE(lost);
}

TEST(CodePage, UnrepresentableAndInvalidInputBecomeQuestionMarksWithLoss) {
  struct Case {
    int from, to;
    std::string in, expected;
  };
  const Case cases[] = {
      {plat::kCodePageUtf8, plat::kCodePageGbk, "a\xF0\x9F\x98\x80" "b", "a?b"},  // emoji has no GBK form
      {plat::kCodePageUtf8, 28591, "\xE4\xB8\xAD", "?"},                          // not in Latin-1
      {plat::kCodePageGbk, plat::kCodePageUtf8, "x\xFFy", "x\xEF\xBF\xBDy"},      // invalid GBK byte
      {plat::kCodePageUtf8, plat::kCodePageGbk, "\xE4\xB8", "??"},                // each byte of a cut sequence
  };
  for (const auto& c : cases) {
    std::string out;
    bool lost = false;
    ASSERT_TRUE(plat::ConvertCodePage(c.from, c.to, c.in, out, &lost));
    EXPECT_EQ(out, c.expected) << c.in;
    EXPECT_TRUE(lost) << c.in;
  }
}

TEST(CodePage, Utf16BothWaysWithSurrogatePairs) {
  std::u16string wide;
  ASSERT_TRUE(plat::MultiByteToWide(plat::kCodePageUtf8, "\xE4\xB8\xAD\xF0\x9F\x98\x80", wide));
  EXPECT_EQ(wide, (std::u16string{0x4E2D, 0xD83D, 0xDE00}));
  std::string back;
  bool lost = true;
  ASSERT_TRUE(plat::WideToMultiByte(plat::kCodePageUtf8, wide, back, &lost));
  EXPECT_EQ(back, "\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_FALSE(lost);
  // A lone surrogate cannot be written.
  ASSERT_TRUE(plat::WideToMultiByte(plat::kCodePageUtf8, std::u16string{u'a', 0xD800, u'b'}, back, &lost));
  EXPECT_EQ(back, "a?b");
  EXPECT_TRUE(lost);
}

TEST(CodePage, UnknownCodePagesAreRefused) {
  std::string out;
  EXPECT_FALSE(plat::ConvertCodePage(12345, plat::kCodePageUtf8, "abc", out));
  EXPECT_EQ(plat::IconvNameOfCodePage(12345), nullptr);
  EXPECT_TRUE(plat::IsCodePageAvailable(936));
  EXPECT_TRUE(plat::IsCodePageAvailable(0));
}

TEST(CodePage, CharLengthStepsWholeCharactersWithinTheText) {
  struct Case {
    int codePage;
    std::string text;
    std::size_t expected;
  };
  const Case cases[] = {
      {plat::kCodePageUtf8, "a", 1},
      {plat::kCodePageUtf8, "\xE4\xB8\xAD", 3},
      {plat::kCodePageUtf8, "\xF0\x9F\x98\x80", 4},
      {plat::kCodePageUtf8, "\xE4\xB8", 1},      // cut at the end of the text
      {plat::kCodePageUtf8, "\xE4" "ab", 1},     // not followed by continuation bytes
      {plat::kCodePageUtf8, "\x80", 1},
      {plat::kCodePageGbk, "\x81\x5D", 2},       // trail byte that looks like ']'
      {plat::kCodePageGbk, "\x81", 1},           // lead byte at the end
      {plat::kCodePageGbk, "]", 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(plat::CharLength(c.codePage, c.text.data(), c.text.data() + c.text.size()), c.expected)
        << c.codePage << " " << c.text;
  const char* p = "x";
  EXPECT_EQ(plat::CharLength(0, p, p), 0u);
}
