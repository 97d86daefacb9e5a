// The kept-members way of a node message against the builders run on the
// text: every sequence of calls gives the same answers and the same bytes at
// every capacity, including those where some calls no longer fit.
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/json_message.h"

namespace {

using Call = std::function<int(JsonNodeMessage&)>;

struct Sequence {
  const char* what;
  std::vector<Call> calls;
};

const float kFloats[] = {25.3f, -0.5f, 1e-30f, 3.4e38f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()};
const std::int32_t kInts[] = {1, -2, 2147483647, -2147483647 - 1};
const std::uint32_t kUInts[] = {0, 7, 4294967295u};

Call HeaderCall(const char* devtype = "THDC", const char* msg = "singledata") {
  return [=](JsonNodeMessage& m) { return m.Header(2, 1000001, 1, 5, devtype, msg); };
}

std::vector<Sequence> Sequences() {
  return {
      {"header then elements",
       {HeaderCall(), [](JsonNodeMessage& m) { return m.Float("temperature", "C", "number", "", 1, 25.3f); },
        [](JsonNodeMessage& m) { return m.Float("humidity", "%", "number", "", 1, 60.1f); }}},
      {"elements before the header, header given twice",
       {[](JsonNodeMessage& m) { return m.String("status", "", "string", "", 0, "on"); }, HeaderCall(),
        HeaderCall("LAMP", "ack"), [](JsonNodeMessage& m) { return m.UInt("count", "", "number", "", 0, 9); }}},
      {"merge keeps the value and the array tail; a plain element replaces",
       {HeaderCall(), [](JsonNodeMessage& m) { return m.FloatArray("t", "C", "array", "", 1, kFloats, 6); },
        [](JsonNodeMessage& m) { return m.IntArray("t", "C", "array", "x", 2, kInts, 2); },
        [](JsonNodeMessage& m) { return m.Meta("t", "K", "array", "", 3); },
        [](JsonNodeMessage& m) { return m.Float("t", "K", "number", "", 3, 1.5f); },
        [](JsonNodeMessage& m) { return m.UIntArray("u", "", "array", "", 0, kUInts, 3); },
        [](JsonNodeMessage& m) { return m.Element("u", "", "number", "", 0, -4); },
        [](JsonNodeMessage& m) { return m.UInt64("big", "", "number", "", 0, 18446744073709551615ull); },
        [](JsonNodeMessage& m) { return m.IntArray("empty", "", "array", "", 0, nullptr, 0); }}},
      {"names and texts that need escapes and bytes above 0x7F",
       {HeaderCall("d\"ev\\", "m\x01sg"),
        [](JsonNodeMessage& m) { return m.String("pl\xC3\xA4te", "\t", "string", "\n", 0, "\xE4\xBA\xAC" "A\x1F"); },
        [](JsonNodeMessage& m) { return m.String("Zeta", "", "string", "", 0, "\xFF\xFE"); },
        [](JsonNodeMessage& m) { return m.String("alpha", "", "string", "", 0, "/"); }}},
      {"refused calls change nothing",
       {HeaderCall(nullptr, "x"), [](JsonNodeMessage& m) { return m.String("a", "", "string", "", 0, nullptr); },
        [](JsonNodeMessage& m) { return m.Float("a", nullptr, "number", "", 0, 1.0f); },
        [](JsonNodeMessage& m) { return m.IntArray("a", "", "array", "", 0, nullptr, 3); },
        [](JsonNodeMessage& m) { return m.IntArray("a", "", "array", "", 0, kInts, kMaxArrayElements + 1); },
        HeaderCall(), [](JsonNodeMessage& m) { return m.Element("a", "", "number", "", 0, 3); }}},
  };
}

struct Outcome {
  std::vector<int> answers;
  bool empty;
  std::string text;
};

Outcome RunCalls(const Sequence& sequence, std::size_t capacity, JsonNodeMessage::Way way) {
  JsonNodeMessage message(capacity, way);
  Outcome outcome;
  for (const Call& call : sequence.calls) outcome.answers.push_back(call(message));
  outcome.empty = message.Empty();
  outcome.text = message.Text();
  return outcome;
}

}  // namespace

TEST(JsonNodeMessage, SameAnswersAndBytesAsTheBuildersAtEveryCapacity) {
  for (const Sequence& sequence : Sequences()) {
    const std::size_t full = RunCalls(sequence, 4096, JsonNodeMessage::Way::kText).text.size();
    ASSERT_GT(full, 0u) << sequence.what;
    for (std::size_t capacity = 0; capacity <= full + 2; ++capacity) {
      const Outcome text = RunCalls(sequence, capacity, JsonNodeMessage::Way::kText);
      const Outcome tree = RunCalls(sequence, capacity, JsonNodeMessage::Way::kTree);
      EXPECT_EQ(tree.answers, text.answers) << sequence.what << ", capacity " << capacity;
      EXPECT_EQ(tree.empty, text.empty) << sequence.what << ", capacity " << capacity;
      EXPECT_EQ(tree.text, text.text) << sequence.what << ", capacity " << capacity;
    }
  }
}

TEST(JsonNodeMessage, TheBuildersWayIsTheBufferBuilders) {
  char buffer[4096] = {};
  BuildMessageHeader(buffer, sizeof buffer, 2, 1000001, 1, 5, "THDC", "singledata");
  SetDataElementFloatArray(buffer, sizeof buffer, "t", "C", "array", "", 1, kFloats, 6);
  SetDataElementMeta(buffer, sizeof buffer, "t", "K", "array", "", 3);
  JsonNodeMessage message(sizeof buffer, JsonNodeMessage::Way::kText);
  message.Header(2, 1000001, 1, 5, "THDC", "singledata");
  message.FloatArray("t", "C", "array", "", 1, kFloats, 6);
  message.Meta("t", "K", "array", "", 3);
  EXPECT_EQ(message.Text(), std::string(buffer));
  EXPECT_TRUE(JsonNodeMessage(sizeof buffer, JsonNodeMessage::Way::kText).Empty());
  EXPECT_TRUE(JsonNodeMessage(sizeof buffer, JsonNodeMessage::Way::kTree).Empty());
}
