// The builders of the node, warning and command message texts.
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/json_message.h"

namespace {

constexpr std::size_t kNodeBufferSize = 4096;

struct Buffer {
  std::array<char, kNodeBufferSize> bytes{};
  char* data() { return bytes.data(); }
  std::string Text() const { return std::string(bytes.data()); }
};

int LampHeader(Buffer& b) { return BuildMessageHeader(b.data(), kNodeBufferSize, 2, 7, 1, 5, "LAMP", "status"); }

// Wraps the data members in the LAMP header the way the text orders them.
std::string LampText(const std::string& data) {
  return "{\"data\":{" + data + "},\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n";
}

struct BuildCase {
  const char* what;
  std::function<void(Buffer&)> build;
  std::string text;
};

const float kThreeFloats[] = {1.0f, 2.5f, 3 / 10.0f};
const float kTwoFloats[] = {9.0f, 8.0f};
const std::int32_t kInts[] = {-1, 0, 2147483647};
const std::uint32_t kUInts[] = {4294967295u, 0};

std::vector<BuildCase> NodeCases() {
  return {
      {"the LAMP example",
       [](Buffer& b) {
         EXPECT_EQ(LampHeader(b), 0);
         EXPECT_EQ(SetDataElement(b.data(), kNodeBufferSize, "status", "", "number", "", 0, 1), 0);
       },
       "{\"data\":{\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":1}},"
       "\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n"},
      {"the header creates no data member",
       [](Buffer& b) { EXPECT_EQ(LampHeader(b), 0); },
       "{\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n"},
      {"elements before the header are kept",
       [](Buffer& b) {
         EXPECT_EQ(SetDataElementUInt(b.data(), kNodeBufferSize, "n", "", "number", "", 0, 3), 0);
         EXPECT_EQ(LampHeader(b), 0);
       },
       LampText("\"n\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":3}")},
      {"a name set twice holds the later members",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementString(b.data(), kNodeBufferSize, "x", "u1", "string", "s1", 1, "old");
         SetDataElementUInt(b.data(), kNodeBufferSize, "x", "u2", "number", "s2", 2, 9);
       },
       LampText("\"x\":{\"precision\":2,\"subtype\":\"s2\",\"type\":\"number\",\"unit\":\"u2\",\"value\":9}")},
      {"meta keeps the value",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementFloat(b.data(), kNodeBufferSize, "t", "\xE2\x84\x83", "number", "", 1, 253 / 10.0f);
         EXPECT_EQ(SetDataElementMeta(b.data(), kNodeBufferSize, "t", "%RH", "array", "number", 3), 0);
       },
       LampText("\"t\":{\"precision\":3,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"%RH\","
                "\"value\":25.29999923706055}")},
      {"meta alone creates an element without value",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementMeta(b.data(), kNodeBufferSize, "m", "", "number", "", 0);
       },
       LampText("\"m\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\"}")},
      {"SetDataElement replaces the whole element",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementFloatArray(b.data(), kNodeBufferSize, "a", "lux", "array", "number", 1, kThreeFloats, 3);
         SetDataElement(b.data(), kNodeBufferSize, "a", "", "number", "", 0, -7);
       },
       LampText("\"a\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":-7}")},
      {"float array of count 0 on a new element",
       [](Buffer& b) {
         LampHeader(b);
         EXPECT_EQ(SetDataElementFloatArray(b.data(), kNodeBufferSize, "a", "", "array", "number", 2, nullptr, 0), 0);
       },
       LampText("\"a\":{\"precision\":2,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\"}")},
      {"count 0 keeps an existing value",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementUInt(b.data(), kNodeBufferSize, "a", "", "number", "", 0, 4);
         SetDataElementFloatArray(b.data(), kNodeBufferSize, "a", "", "array", "number", 2, kThreeFloats, 0);
       },
       LampText("\"a\":{\"precision\":2,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\",\"value\":4}")},
      {"a shorter array keeps the tail of the longer one",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementFloatArray(b.data(), kNodeBufferSize, "a", "", "array", "number", 1, kThreeFloats, 3);
         SetDataElementFloatArray(b.data(), kNodeBufferSize, "a", "", "array", "number", 1, kTwoFloats, 2);
       },
       LampText("\"a\":{\"precision\":1,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\","
                "\"value\":[9.0,8.0,0.3000000119209290]}")},
      {"an array replaces a value that is no array",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementString(b.data(), kNodeBufferSize, "a", "", "string", "", 0, "on");
         EXPECT_EQ(SetDataElementIntArray(b.data(), kNodeBufferSize, "a", "", "array", "number", 0, kInts, 3), 0);
       },
       LampText("\"a\":{\"precision\":0,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\","
                "\"value\":[-1,0,2147483647]}")},
      {"decimal forms",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementUInt64(b.data(), kNodeBufferSize, "w", "", "number", "", 0, 12345678901234u);
         SetDataElement(b.data(), kNodeBufferSize, "i", "", "number", "", -1, -1);
         SetDataElementUInt(b.data(), kNodeBufferSize, "u", "", "number", "", 0, 4294967295u);
         SetDataElementUIntArray(b.data(), kNodeBufferSize, "v", "", "array", "number", 0, kUInts, 2);
         SetDataElementUInt64(b.data(), kNodeBufferSize, "x", "", "number", "", 0, 18446744073709551615u);
       },
       LampText("\"i\":{\"precision\":-1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":-1},"
                "\"u\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":4294967295},"
                "\"v\":{\"precision\":0,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\",\"value\":[4294967295,0]},"
                "\"w\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":12345678901234},"
                "\"x\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":18446744073709551615}")},
      {"reals survive the rewrite of later calls",
       [](Buffer& b) {
         LampHeader(b);
         SetDataElementFloat(b.data(), kNodeBufferSize, "a", "", "number", "", 1, 23.5f);
         SetDataElementFloat(b.data(), kNodeBufferSize, "b", "", "number", "", 1, 20.0f);
         SetDataElementFloat(b.data(), kNodeBufferSize, "c", "", "number", "", 3, static_cast<float>(7.012));
         SetDataElementFloat(b.data(), kNodeBufferSize, "d", "", "number", "", 1, 0.0f);
       },
       LampText("\"a\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":23.50},"
                "\"b\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":20.0},"
                "\"c\":{\"precision\":3,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":7.012000083923340},"
                "\"d\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":0.0}")},
      {"escapes and raw bytes survive the rewrite",
       [](Buffer& b) {
         SetDataElementString(b.data(), kNodeBufferSize, "s", "\xE2\x84\x83", "string", "", 0, "\x01q\"\x1F\xC4\xE3\xBA\xC3");
         LampHeader(b);
       },
       LampText("\"s\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\xE2\x84\x83\","
                "\"value\":\"\\u0001q\\\"\\u001F\xC4\xE3\xBA\xC3\"}")},
      {"a non-JSON buffer keeps its bytes and the object follows",
       [](Buffer& b) {
         std::strcpy(b.data(), "abc");
         EXPECT_EQ(LampHeader(b), 0);
       },
       "abc{\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n"},
      {"a root that is a number is no document",
       [](Buffer& b) {
         std::strcpy(b.data(), "5");
         EXPECT_EQ(SetDataElement(b.data(), kNodeBufferSize, "s", "", "number", "", 0, 1), 0);
       },
       "5{\"data\":{\"s\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":1}}}\n"},
      {"a root that is an array is no document",
       [](Buffer& b) {
         std::strcpy(b.data(), "[1]");
         EXPECT_EQ(LampHeader(b), 0);
       },
       "[1]{\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n"},
      {"a data member that is no object takes no element",
       [](Buffer& b) {
         std::strcpy(b.data(), "{\"data\":5}");
         EXPECT_EQ(SetDataElementMeta(b.data(), kNodeBufferSize, "s", "", "number", "", 0), 0);
       },
       "{\"data\":5}{\"data\":{\"s\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\"}}}\n"},
      {"the header goes into a document whatever its data member",
       [](Buffer& b) {
         std::strcpy(b.data(), "{\"data\":5}");
         EXPECT_EQ(LampHeader(b), 0);
       },
       "{\"data\":5,\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n"},
      {"an element that is no object is replaced",
       [](Buffer& b) {
         std::strcpy(b.data(), "{\"data\":{\"s\":[1],\"t\":2}}");
         EXPECT_EQ(SetDataElementMeta(b.data(), kNodeBufferSize, "s", "", "number", "", 0), 0);
       },
       "{\"data\":{\"s\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\"},\"t\":2}}\n"},
      {"a document with blanks and comments is rewritten from its first byte",
       [](Buffer& b) {
         std::strcpy(b.data(), " { \"z\" : [ 1 , 2 ] } // note\n");
         EXPECT_EQ(BuildMessageHeader(b.data(), kNodeBufferSize, 2, 0, 0, 0, "", ""), 0);
       },
       "{\"devtype\":\"\",\"msg\":\"\",\"netid\":0,\"nodid\":0,\"nvsid\":0,\"version\":2,\"z\":[1,2]}\n"},
  };
}

}  // namespace

TEST(NodeMessage, BuiltTexts) {
  for (const BuildCase& c : NodeCases()) {
    SCOPED_TRACE(c.what);
    Buffer buffer;
    c.build(buffer);
    EXPECT_EQ(buffer.Text(), c.text);
  }
}

TEST(NodeMessage, RefusedCallsWriteNothing) {
  const std::function<int(char*, std::size_t)> calls[] = {
      [](char* b, std::size_t n) { return BuildMessageHeader(b, n, 2, 1, 1, 1, nullptr, "m"); },
      [](char* b, std::size_t n) { return BuildMessageHeader(b, n, 2, 1, 1, 1, "d", nullptr); },
      [](char* b, std::size_t n) { return SetDataElement(b, n, nullptr, "", "", "", 0, 1); },
      [](char* b, std::size_t n) { return SetDataElementMeta(b, n, "a", nullptr, "", "", 0); },
      [](char* b, std::size_t n) { return SetDataElementString(b, n, "a", "", "", "", 0, nullptr); },
      [](char* b, std::size_t n) { return SetDataElementUInt(b, n, "a", "", nullptr, "", 0, 1); },
      [](char* b, std::size_t n) { return SetDataElementFloat(b, n, "a", "", "", nullptr, 0, 1.0f); },
      [](char* b, std::size_t n) { return SetDataElementFloatArray(b, n, "a", "", "", "", 0, nullptr, 1); },
      [](char* b, std::size_t n) {
        const std::vector<std::int32_t> many(kMaxArrayElements + 1, 1);
        return SetDataElementIntArray(b, n, "a", "", "", "", 0, many.data(), many.size());
      },
  };
  for (const auto& call : calls) {
    Buffer buffer;
    LampHeader(buffer);
    const Buffer before = buffer;
    EXPECT_EQ(call(buffer.data(), kNodeBufferSize), -1);
    EXPECT_EQ(buffer.bytes, before.bytes);
    EXPECT_EQ(call(nullptr, kNodeBufferSize), -1);
  }
  EXPECT_EQ(BuildMessageHeader(nullptr, kNodeBufferSize, 2, 1, 1, 1, "d", "m"), -1);
  char one = 'x';
  EXPECT_EQ(BuildMessageHeader(&one, 0, 2, 1, 1, 1, "d", "m"), -1);
  EXPECT_EQ(one, 'x');
}

TEST(NodeMessage, ArraysUpToTheLargestCount) {
  Buffer buffer;
  const std::vector<std::uint32_t> values(kMaxArrayElements, 7);
  ASSERT_EQ(SetDataElementUIntArray(buffer.data(), kNodeBufferSize, "a", "", "array", "number", 0, values.data(),
                                    values.size()),
            0);
  std::string items;
  for (std::size_t i = 0; i < kMaxArrayElements; ++i) items += i ? ",7" : "7";
  EXPECT_EQ(buffer.Text(), "{\"data\":{\"a\":{\"precision\":0,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\","
                           "\"value\":[" + items + "]}}}\n");
}

TEST(NodeMessage, TextThatDoesNotFitLeavesTheOldTextIntact) {
  Buffer reference;
  LampHeader(reference);
  const std::size_t headerLength = reference.Text().size();
  ASSERT_EQ(SetDataElement(reference.data(), kNodeBufferSize, "status", "", "number", "", 0, 1), 0);
  const std::size_t fullLength = reference.Text().size();

  // Just room for the text and its NUL: written.
  {
    std::vector<char> buffer(fullLength + 1, '\0');
    ASSERT_EQ(BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "LAMP", "status"), 0);
    EXPECT_EQ(SetDataElement(buffer.data(), buffer.size(), "status", "", "number", "", 0, 1), 0);
    EXPECT_EQ(std::string(buffer.data()), reference.Text());
  }
  // One byte less: refused, and the header text stays whole and valid.
  {
    std::vector<char> buffer(fullLength, '\0');
    ASSERT_EQ(BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "LAMP", "status"), 0);
    const std::vector<char> before = buffer;
    EXPECT_EQ(SetDataElement(buffer.data(), buffer.size(), "status", "", "number", "", 0, 1), -1);
    EXPECT_EQ(buffer, before);
    EXPECT_EQ(std::string(buffer.data()).size(), headerLength);
    // A later call that fits still merges into the intact text.
    EXPECT_EQ(SetDataElement(buffer.data(), buffer.size(), "s", "", "n", "", 0, 1), 0);
    EXPECT_EQ(std::string(buffer.data()).substr(0, 9), "{\"data\":{");
  }
  // Appending after bytes that are no document: the bytes count too.
  {
    std::vector<char> buffer(headerLength + 3, '\0');
    std::memcpy(buffer.data(), "abc", 3);
    const std::vector<char> before = buffer;
    EXPECT_EQ(BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "LAMP", "status"), -1);
    EXPECT_EQ(buffer, before);
  }
  // A buffer without a NUL in its capacity takes nothing after its bytes.
  {
    std::vector<char> buffer(64, 'x');
    const std::vector<char> before = buffer;
    EXPECT_EQ(BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "L", "s"), -1);
    EXPECT_EQ(buffer, before);
  }
}

TEST(NodeMessage, DeeplyNestedTextIsNoDocument) {
  std::string nested(2000, '[');
  nested += std::string(2000, ']');
  std::vector<char> buffer(nested.begin(), nested.end());
  buffer.resize(kNodeBufferSize + nested.size(), '\0');
  ASSERT_EQ(BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "L", "s"), 0);
  EXPECT_EQ(std::string(buffer.data()),
            nested + "{\"devtype\":\"L\",\"msg\":\"s\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n");
}

TEST(CmdMessage, Texts) {
  const struct {
    int cmd;
    const char* content;
    int extdata;
    const char* text;
  } cases[] = {
      {13, "NodeOffline", 0, "{\"cmd\":13,\"content\":\"NodeOffline\",\"extdata\":0,\"netid\":1,\"nodid\":5}\n"},
      {7, "DelayToReturn", 30, "{\"cmd\":7,\"content\":\"DelayToReturn\",\"extdata\":30,\"netid\":1,\"nodid\":5}\n"},
      {240, "Node no response", -1,
       "{\"cmd\":240,\"content\":\"Node no response\",\"extdata\":-1,\"netid\":1,\"nodid\":5}\n"},
  };
  for (const auto& c : cases) {
    Buffer buffer;
    std::strcpy(buffer.data(), "{\"old\":1}");  // never merged
    ASSERT_EQ(BuildCmdMessage(buffer.data(), kNodeBufferSize, c.cmd, c.content, 1, 5, c.extdata), 0);
    EXPECT_EQ(buffer.Text(), c.text);
  }
}

TEST(CmdMessage, RefusedCallsWriteNothing) {
  const std::string text = "{\"cmd\":13,\"content\":\"NodeOffline\",\"extdata\":0,\"netid\":1,\"nodid\":5}\n";
  std::vector<char> exact(text.size() + 1, '#');
  EXPECT_EQ(BuildCmdMessage(exact.data(), exact.size(), 13, "NodeOffline", 1, 5, 0), 0);
  EXPECT_EQ(std::string(exact.data()), text);

  std::vector<char> small(text.size(), '#');
  EXPECT_EQ(BuildCmdMessage(small.data(), small.size(), 13, "NodeOffline", 1, 5, 0), -1);
  EXPECT_EQ(small, std::vector<char>(text.size(), '#'));
  EXPECT_EQ(BuildCmdMessage(nullptr, 100, 13, "NodeOffline", 1, 5, 0), -1);
  EXPECT_EQ(BuildCmdMessage(small.data(), small.size(), 13, nullptr, 1, 5, 0), -1);
}

TEST(WarnMessage, MemberOrder) {
  EXPECT_EQ(BuildWarnMessage(7, 1, 5, "2024-03-01 08:09:10", 3, "smoke \xE2\x84\x83"),
            "{\"content\":\"smoke \xE2\x84\x83\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"time\":\"2024-03-01 08:09:10\","
            "\"type\":3}\n");
}

TEST(WarnMessage, ContentIsShortenedByWholeCharacters) {
  const std::string frame = BuildWarnMessage(4294967295u, 65535, 65535, "2024-03-01 08:09:10", -2147483647 - 1, "");
  const std::size_t room = kWarnMessageMaxLength - frame.size();
  const std::string euro = "\xE2\x82\xAC";  // three bytes
  const struct {
    const char* what;
    std::string content;
    std::string kept;
  } cases[] = {
      {"fits exactly", std::string(room, 'a'), std::string(room, 'a')},
      {"one byte over", std::string(room + 1, 'a'), std::string(room, 'a')},
      {"a long server text", std::string(4095, 'b'), std::string(room, 'b')},
      {"three-byte characters", [&] {
         std::string s;
         for (int i = 0; i < 200; ++i) s += euro;
         return s;
       }(),
       [&] {
         std::string s;
         for (std::size_t i = 0; i < room / 3; ++i) s += euro;
         return s;
       }()},
      {"escapes count as written", std::string(room, '"'), std::string(room / 2, '"')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = BuildWarnMessage(4294967295u, 65535, 65535, "2024-03-01 08:09:10", -2147483647 - 1,
                                              c.content.c_str());
    EXPECT_LE(text.size(), kWarnMessageMaxLength);
    std::string escaped;
    for (const char ch : c.kept) escaped += ch == '"' ? std::string("\\\"") : std::string(1, ch);
    EXPECT_EQ(text, "{\"content\":\"" + escaped + frame.substr(12));
  }
}

TEST(WarnMessage, NoTextWhenNothingFits) {
  EXPECT_EQ(BuildWarnMessage(1, 1, 1, nullptr, 0, "x"), "");
  EXPECT_EQ(BuildWarnMessage(1, 1, 1, "t", 0, nullptr), "");
  EXPECT_EQ(BuildWarnMessage(1, 1, 1, std::string(300, 't').c_str(), 0, "x"), "");
}
