#include <vector>

#include <gtest/gtest.h>

#include "library/api/commands_switches.h"

namespace {
struct Case {
  const char* name;
  IotCommand command;
  std::uint8_t code, fn;
  std::vector<std::uint8_t> payload;
  bool record = true;
};
}  // namespace

TEST(SwitchCommands, CodesFunctionBytesAndPayloads) {
  const std::vector<Case> cases = {
      {"lamp on", *LampCtrl(0, 1), 81, 16, {1, 1}},
      {"lamp off", *LampCtrl(81, 0), 81, 17, {1, 0}},
      {"dimmable lamp", *LampCtrl(209, 5), 209, 48, {1, 1}},
      {"lamp query", LampQueryStatus(), 81, 65, {1, 0}},
      {"curtain open", EcCtrl(1), 82, 16, {0}},
      {"curtain close", EcCtrl(2), 82, 18, {0}},
      {"curtain stop", EcCtrl(0), 82, 17, {0}},
      {"curtain other", EcCtrl(9), 82, 17, {0}},
      {"curtain query", EcQueryStatus(), 82, 66, {0}},
      {"power on", PowerCtrl(3), 83, 16, {0}},
      {"power query", PowerQueryStatus(), 83, 67, {0}},
      {"control off", ControlCtrl(0), 84, 17, {0}},
      {"control query", ControlQueryStatus(), 84, 68, {0}},
      {"box off", ControltcCtrl(0), 85, 17, {}},
      {"box on", ControltcCtrl(1), 85, 16, {}},
      {"box authorise", ControltcCtrl(2), 85, 18, {}},
      {"box other", ControltcCtrl(7), 85, 48, {}},
      {"box query", ControltcQueryStatus(), 85, 67, {0}},
      {"tag off", DevpstCtrl(0), 90, 17, {90, 0, 1, 2}},
      {"tag on", DevpstCtrl(1), 90, 16, {90, 0, 1, 1}},
      {"siren long", WcawCtrl(70000), 32, 16, {0x60, 0xEA}, false},
      {"siren negative", WcawCtrl(-5), 32, 16, {0, 0}, false},
      {"siren", WcawCtrl(1000), 32, 16, {0xE8, 0x03}, false},
      {"cover", CcControl(0x1FF), 87, 48, {0xFF}},
      {"cover query", CcQueryStatus(), 87, 64, {}},
      {"door contact", DcdbQueryStatus(), 44, 64, {}},
      {"adapter", AdapterCtrl(7), 103, 54, {7, 0, 0, 0}},
      {"adapter type", AdapterReqType(), 103, 54, {1, 0, 0, 0}},
      {"adapter data", AdapterReqData(), 103, 54, {2, 0, 0, 0}},
      {"monitor 0", HealthmonSetMode(0), 49, 81, {72, 0, 0, 0}},
      {"monitor 1", HealthmonSetMode(1), 49, 81, {83, 0, 0, 0}},
      {"monitor other", HealthmonSetMode(5), 49, 81, {0, 0, 0, 0}},
      {"meter power", SphygmometerCtrl(1), 196, 48, {0, 0, 0, 0}},
      {"meter result", SphygmometerCtrl(4), 196, 81, {0, 0, 0, 0}},
      {"meter other", SphygmometerCtrl(9), 196, 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.command.commandCode, c.code) << c.name;
    EXPECT_EQ(c.command.functionByte, c.fn) << c.name;
    EXPECT_EQ(c.command.payload, c.payload) << c.name;
    EXPECT_EQ(c.command.record, c.record) << c.name;
  }
  EXPECT_FALSE(LampCtrl(82, 1));
}
