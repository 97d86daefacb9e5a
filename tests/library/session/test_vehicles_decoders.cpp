#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder_test_support.h"
#include "library/session/reply_decoders.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"
#include "test_vehicles_record.h"

using vehicles_test::Number;
using vehicles_test::Text;

namespace {

using decodertest::Reply;

constexpr std::uint32_t kNvs = 1000001;

std::string Message(const char* devtype, const char* msg, const std::map<std::string, std::string>& data) {
  return vehicles_test::Message(devtype, msg, data, 1, 5, kNvs);
}

struct Case {
  const char* name;
  std::uint8_t code, fn;
  std::vector<std::uint8_t> payload;
  std::string expected;  // "" for no message
};

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(c.code, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected) << c.name;
    EXPECT_EQ(routed.notifyId, c.expected.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG)) << c.name;
  }
}

}  // namespace

TEST(PlateText, CodesGiveDigitsLettersSpacesAndProvinces) {
  struct PlateCase {
    std::vector<std::uint8_t> codes;
    std::string text;
  };
  const PlateCase cases[] = {
      {{130, 10, 1, 2, 3, 4, 5}, "冀A12345"},
      {{130, 10, 1, 200, 3, 4, 5}, "冀A1345"},  // a code without a text adds nothing
      {{128, 158, 0, 9, 35, 36, 11}, "京新09Z B"},
      {{37, 127, 159, 255}, ""},
      {{144, 132, 157}, "鄂蒙宁"},
      {{}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodePlateText(c.codes.data(), c.codes.size()), c.text);
  EXPECT_EQ(DecodePlateText(nullptr, 7), "");
  // Every province code gives one character of three UTF-8 bytes.
  for (int code = 128; code <= 158; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    EXPECT_EQ(DecodePlateText(&byte, 1).size(), 3u) << code;
  }
}

TEST(VehicleReplies, PlatesAndVehicleCards) {
  Check({
      {"plate", 12, 0x50, {9, 9, 9, 9, 9, 130, 10, 1, 2, 3, 4, 5, 7}, Message("VLR", "vl", {{"vl", Text("冀A12345")}})},
      {"plate with a gap", 12, 0x50, {0, 0, 0, 0, 0, 130, 10, 1, 200, 3, 4, 5}, Message("VLR", "vl", {{"vl", Text("冀A1345")}})},
      // A plate cut short gains no characters; no plate at all is an empty text.
      {"short plate", 12, 0x50, {0, 0, 0, 0, 0, 130, 10}, Message("VLR", "vl", {{"vl", Text("冀A")}})},
      {"no plate", 12, 0x50, {0, 0, 0}, Message("VLR", "vl", {{"vl", Text("")}})},
      {"other function", 12, 0x51, {0, 0, 0, 0, 0, 130, 10, 1, 2, 3, 4, 5}, ""},
      {"card", 89, 0x43, {0x78, 0x56, 0x34, 0x12, 0x39, 0x30, 0, 0},
       Message("CARRFID", "cardinfo", {{"cardid", Text("12345678", "number")}, {"cardnum", Number(0, "", "12345")}})},
      {"card of high numbers", 89, 0x43, {0xEF, 0xBE, 0xAD, 0xDE, 0xFF, 0xFF, 0xFF, 0xFF},
       Message("CARRFID", "cardinfo",
               {{"cardid", Text("DEADBEEF", "number")}, {"cardnum", Number(0, "", "4294967295")}})},
      {"card, empty payload", 89, 0x43, {},
       Message("CARRFID", "cardinfo", {{"cardid", Text("00000000", "number")}, {"cardnum", Number(0, "", "0")}})},
      {"vehicle, other function", 89, 0x10, {1, 2, 3, 4, 5, 6, 7, 8}, ""},
  });
}

TEST(CardReaderReplies, TypeAAndTypeBCards) {
  const std::vector<std::uint8_t> typeB = {1,    0,    0,    0,    0xDE, 0xAD, 0xBE, 0xEF,
                                           0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x55};
  auto withAction = [&](std::uint8_t action) {
    auto payload = typeB;
    payload[0] = action;
    return payload;
  };
  auto typeBMessage = [](const char* action, const char* info) {
    return Message("RFIDCONTROL13M56", "data",
                   {{"action", Text(action)}, {"cardtype", Text("B")}, {"info", Text(info, "number")}});
  };
  Check({
      {"type A", 91, 0x43, {0x04, 0x03, 0x02, 0x01},
       Message("RFIDCONTROL13M56", "data",
               {{"action", Text("unknown")}, {"cardtype", Text("A")}, {"info", Text("01020304")}})},
      {"type B approach", 91, 0x44, typeB, typeBMessage("approach", "DEADBEEF0123456789ABCDEF")},
      {"type B leave", 91, 0x44, withAction(2), typeBMessage("leave", "DEADBEEF0123456789ABCDEF")},
      {"type B unknown", 91, 0x44, withAction(0), typeBMessage("unknown", "DEADBEEF0123456789ABCDEF")},
      {"type B other action", 91, 0x44, withAction(3), typeBMessage("", "DEADBEEF0123456789ABCDEF")},
      // Bytes past the payload read as 0: the number keeps its 24 digits.
      {"type B short", 91, 0x44, {1, 0, 0, 0, 0xAB}, typeBMessage("approach", "AB0000000000000000000000")},
      {"13.56 MHz other function", 91, 0x45, typeB, ""},
      {"125 kHz", 92, 0x43, {0xEF, 0xBE, 0xAD, 0xDE, 9}, Message("RFIDCONTROL125K", "data", {{"info", Text("DEADBEEF")}})},
      {"125 kHz short", 92, 0x43, {0x01}, Message("RFIDCONTROL125K", "data", {{"info", Text("00000001")}})},
      {"125 kHz type B", 92, 0x44, typeB, ""},
  });
}

TEST(AdapterReplies, AnemometerAndWindVane) {
  Check({
      {"wind speed", 103, 0x52, {1, 0, 0, 0, 57, 0, 0, 0},
       Message("ADAPTER", "data", {{"Type", Text("FS")}, {"WindSpeed", Number(0, "m/s", "5.0")}})},
      {"wind speed, largest", 103, 0x52, {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
       Message("ADAPTER", "data", {{"Type", Text("FS")}, {"WindSpeed", Number(0, "m/s", "429496736.0")}})},
      {"wind speed, short", 103, 0x52, {1},
       Message("ADAPTER", "data", {{"Type", Text("FS")}, {"WindSpeed", Number(0, "m/s", "0.0")}})},
      {"wind direction", 103, 0x52, {2, 9, 9, 9, 0x2C, 0x01, 0, 0},
       Message("ADAPTER", "data", {{"Type", Text("FX")}, {"WindDirection", Number(0, "°", "300")}})},
      {"other sensor", 103, 0x52, {4, 0, 0, 0, 57, 0, 0, 0}, ""},
      {"no sensor kind", 103, 0x52, {}, ""},
      {"other function", 103, 0x53, {1, 0, 0, 0, 57, 0, 0, 0}, ""},
  });
}
