// The log's line format, its result lines and the text limit.
#include <gtest/gtest.h>

#include <QString>

#include "demo/shell/log_line.h"
#include "demo/shell/text_format.h"

namespace {

struct LineCase {
  TimeOfDay time;
  std::string text;
  std::string expected;
};

TEST(LogLine, TimeStampAndLineFeed) {
  const std::vector<LineCase> cases = {
      {{23, 59, 59, 999}, "x", "23:59:59.999: x\n"},
      {{1, 2, 3, 4}, "x", " 1:02:03.004: x\n"},
      {{0, 0, 0, 0}, "a\n", " 0:00:00.000: a\n"},
      {{12, 5, 9, 70}, "two\nlines", "12:05:09.070: two\nlines\n"},
      {{10, 0, 0, 0}, "", ""},
  };
  for (const LineCase& c : cases) EXPECT_EQ(FormatLogLine(c.time, c.text), c.expected) << c.text;
}

TEST(LogLine, LongTextIsCutAtACharacterBoundary) {
  const std::string prefix = "10:00:00.000: ";
  const std::string ascii(300, 'a');
  EXPECT_EQ(FormatLogLine({10, 0, 0, 0}, ascii), prefix + std::string(255, 'a') + "\n");

  std::string chinese;
  for (int i = 0; i < 300; ++i) chinese += "门";
  const std::string line = FormatLogLine({10, 0, 0, 0}, chinese);
  const QString shown = QString::fromUtf8(line);
  EXPECT_EQ(shown.toUtf8().toStdString(), line) << "the line must stay valid UTF-8";
  EXPECT_EQ(shown.size(), static_cast<qsizetype>(prefix.size() + 255 + 1));
  EXPECT_TRUE(shown.endsWith(QStringLiteral("门\n")));

  // A line feed that falls beyond the limit is cut and put back once.
  EXPECT_EQ(FormatLogLine({10, 0, 0, 0}, std::string(255, 'b') + "\n"), prefix + std::string(255, 'b') + "\n");
}

TEST(LogLine, ResultTexts) {
  EXPECT_EQ(ResultLogText(-1, "CABMGZ", "打开箱子"), "CABMGZ: 打开箱子错误!");
  EXPECT_EQ(ResultLogText(0, "CABMGZ", "打开箱子"), "CABMGZ: 打开箱子成功!");
  EXPECT_EQ(ResultLogText(1, "血压计", "开启电源"), "血压计: 开启电源成功!");
}

TEST(TextFormat, Utf8Truncation) {
  struct Case {
    std::string text;
    std::size_t limit;
    std::string chars;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"abc", 5, "abc", "abc"},
      {"abc", 2, "ab", "ab"},
      {"门禁卡", 2, "门禁", ""},     // 2 bytes hold no whole character
      {"a门禁", 4, "a门禁", "a门"},  // 4 bytes: "a" and one character
      {"", 3, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TruncateUtf8Chars(c.text, c.limit), c.chars) << c.text;
    EXPECT_EQ(TruncateUtf8Bytes(c.text, c.limit), c.bytes) << c.text;
  }
}

}  // namespace
