#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder_test_support.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"

namespace {

using decodertest::Message;
using decodertest::Str;
using decodertest::Reply;

struct Case {
  std::uint8_t code;
  std::uint8_t fn;
  std::vector<std::uint8_t> payload;
  std::string expected;  // "" for no message
};

}  // namespace

TEST(SwitchReplies, EachFamilyGivesItsExactText) {
  const std::vector<Case> cases = {
      {81, 0x41, {0x00, 0x01}, Message("LAMP", "status", Str("status", "on"))},
      {81, 0x41, {0x01, 0x00}, Message("LAMP", "status", Str("status", "off"))},
      {81, 0x30, {0x01, 0x07}, Message("LAMP", "status", Str("status", ""))},
      {81, 0x10, {0x01, 0x01}, ""},
      {209, 0x40, {0x00, 0x01}, Message("SLRC", "status", Str("status", "on"))},
      {209, 0x31, {0x00, 0x01}, ""},
      {83, 0x43, {0x01}, Message("POWER", "status", Str("status", "on"))},
      {83, 0x31, {}, Message("POWER", "status", Str("status", "off"))},  // past the payload reads 0
      {82, 0x42, {0x03}, Message("EC", "status", Str("status", "close"))},
      {82, 0x30, {0x00}, Message("EC", "status", Str("status", "unkown"))},
      {82, 0x42, {0x07}, Message("EC", "status", Str("status", ""))},
      {85, 0x43, {0x01}, Message("CONTROLTC", "status", Str("status", "on"))},
      {85, 0x32, {0x00}, Message("CONTROLTC", "auth", Str("status", "off"))},
      {85, 0x31, {0x00}, Message("CONTROLTC", "ack", Str("operation", "turnoff") + "," + Str("status", "off"))},
      {85, 0x30, {0x01}, Message("CONTROLTC", "ack", Str("operation", "turnon") + "," + Str("status", "on"))},
      {44, 0x40, {0x02}, Message("DCDB", "status", Str("status", "on"))},
      {172, 0x40, {0x00}, Message("DCDBAT", "status", Str("status", "off"))},
      {44, 0x41, {0x02}, ""},
      {102, 0x44, {}, Message("IREMOTER", "cmdstatus", Str("status", "badtype"))},
      {102, 0x20, {}, Message("IREMOTER", "cmdstatus", Str("status", ""))},
      {84, 0x10, {0x01}, ""},  // the contactor has no decoder
  };
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(c.code, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected) << int(c.code) << " " << int(c.fn);
    EXPECT_EQ(routed.notifyId, c.expected.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG));
    EXPECT_TRUE(routed.deviceData);
  }
}

TEST(RoutingEvents, DelayOfflineAndNoResponse) {
  struct RoutingCase {
    std::uint8_t fn;
    std::vector<std::uint8_t> payload;
    std::string expected;
  };
  const RoutingCase cases[] = {
      {13, {0x01, 0x00, 0x05, 0x00}, "{\"cmd\":13,\"content\":\"NodeOffline\",\"extdata\":0,\"netid\":1,\"nodid\":5}\n"},
      {7, {0x02, 0x00, 0x03, 0x00, 0x10, 0x27},
       "{\"cmd\":7,\"content\":\"DelayToReturn\",\"extdata\":10000,\"netid\":2,\"nodid\":3}\n"},
      {240, {}, "{\"cmd\":240,\"content\":\"Node no response\",\"extdata\":0,\"netid\":1,\"nodid\":5}\n"},
  };
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(81, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected);
    EXPECT_EQ(routed.notifyId, static_cast<unsigned>(NOTIFY_ROUTING));
    EXPECT_FALSE(routed.deviceData);
  }
  for (int fn : {0, 8, 15, 241, 255}) {
    const RoutedReply routed = RouteIotReply(Reply(81, static_cast<std::uint8_t>(fn), {}));
    EXPECT_EQ(routed.notifyId, 0u) << fn;
    EXPECT_FALSE(routed.deviceData) << fn;
  }
}
