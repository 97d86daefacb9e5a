// The built-in platform's nodes: one of every simulated family, of the type
// the library records for it, and each answers a command of its family with
// what the library turns into a message of that family.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "library/api/commands_cabinet.h"
#include "library/api/commands_doorlock.h"
#include "library/api/commands_infrared.h"
#include "library/api/commands_laboratory.h"
#include "library/api/commands_meters.h"
#include "library/api/commands_sampling.h"
#include "library/api/commands_switches.h"
#include "library/session/node_line.h"
#include "tests/support/device_replies.h"
#include "tools/builtin_platform.h"

namespace {

constexpr std::uint32_t kLab = 1000001;

std::optional<standin::BuiltInNode> NodeNamed(const std::string& name) {
  for (const standin::BuiltInNode& node : standin::BuiltInNodes())
    if (node.name == name) return node;
  return std::nullopt;
}

// What the platform answers an "iot" request to the node.
std::vector<standin::OutgoingMessage> Ask(standin::Script& script, const standin::BuiltInNode& node,
                                          const IotCommand& command) {
  standin::ParsedMessage request;
  request.start = standin::ParsedMessage::StartLine::Request;
  request.headers = {{"Cmd", "iot"}, {"CSeq", "9"}, {"Class", std::to_string(node.nvsid)}};
  request.body = standin::EncodeDeviceFrame(
      standin::DeviceFrame{node.netId, node.address, command.commandCode, command.functionByte, command.payload});
  return script.answers.at("iot")(request);
}

TEST(BuiltInNodes, TheLabGatewayHasANodeOfEverySimulatedFamily) {
  for (int code = 0; code <= 255; ++code) {
    if (standin::SimulatorOf(static_cast<std::uint8_t>(code)) == nullptr) continue;
    int count = 0;
    for (const standin::BuiltInNode& node : standin::BuiltInNodes())
      if (node.nvsid == kLab && node.type == code) ++count;
    EXPECT_EQ(count, code == 103 ? 3 : 1) << "type " << code;
  }
  for (const standin::BuiltInNode& node : standin::BuiltInNodes())
    EXPECT_NE(standin::SimulatorOf(static_cast<std::uint8_t>(node.type)), nullptr) << node.name;
}

TEST(BuiltInNodes, TheNodeListsCarryTheNodes) {
  standin::Script script = standin::BuiltInPlatform();
  for (const std::uint32_t nvsid : {kLab, 2000002u}) {
    standin::ParsedMessage request;
    request.headers = {{"Cmd", "reqallnodesdata"}, {"Class", std::to_string(nvsid)}};
    const auto answers = script.answers.at("reqallnodesdata")(request);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].cmd, "sensor");
    ASSERT_GE(answers[0].body.size(), 2u);
    const std::vector<NodeLine> lines = ParseNodeLines(std::string_view(answers[0].body).substr(2), 64);
    std::size_t listed = 0;
    for (const standin::BuiltInNode& node : standin::BuiltInNodes()) {
      if (node.nvsid != nvsid) continue;
      ASSERT_LT(listed, lines.size()) << node.name;
      const NodeLine& line = lines[listed++];
      EXPECT_EQ(line.name, node.name);
      EXPECT_EQ(line.address, node.address) << node.name;
      EXPECT_EQ(line.type, node.type) << node.name;
      EXPECT_EQ(line.netId, node.netId) << node.name;
      EXPECT_EQ(line.state, 1) << node.name;
    }
    EXPECT_EQ(listed, lines.size());
  }
}

TEST(BuiltInNodes, EachNodeAnswersACommandOfItsFamily) {
  struct Case {
    const char* node;
    std::optional<IotCommand> command;
    const char* devtype;
    const char* part;  // in one of the texts
  };
  const std::vector<Case> cases = {
      {"Hall lamp", LampCtrl(81, 1), "LAMP", "\"status\""},
      {"Laboratory light switch", LampCtrl(209, 1), "SLRC", ""},
      {"Curtain", EcCtrl(1), "EC", ""},
      {"Power switch", PowerCtrl(1), "POWER", ""},
      {"Lab-box power control", ControltcQueryStatus(), "CONTROLTC", ""},
      {"Door contact", DcdbQueryStatus(), "DCDB", ""},
      {"Health monitor", HealthmonSetMode(1), "HEALTHMON", ""},
      {"Blood-pressure meter", SphygmometerCtrl(1), "SPHYGMOMETER", ""},
      {"Valuables cabinet", CabmgzGetBoxInfoOfCabinet(), "CABMGZ", ""},
      {"pH analyser", PhQuery(), "PH", "\"singledata\""},
      {"CO2 analyser", Co2Query(), "CO2", "\"singledata\""},
      {"O2 analyser", O2Query(), "O2", "\"singledata\""},
      {"Inclinometer", DaisSampling(), "DAIS", ""},
      {"Thermometer", TdcSampling(), "TDC", "\"temperature\""},
      {"Thermo-hygrometer", ThdcSampling(), "THDC", "\"humidity\""},
      {"Illuminance meter", IdcSampling(), "IDC", "\"illuminance\""},
      {"Door lock", DacGetDoorStatus(), "DLOCK", ""},
      {"Fingerprint lock", DLockFingerQueryDoorStatus(), "DLOCKFINGER", ""},
      {"Electricity meter", PowerMeterCtrlQueryData(), "POWERMETERCTRL", ""},
      {"Water meter", WaterMeterCtrlQueryData(), "WATERMETERCTRL", ""},
      {"Gas meter", GasMeterCtrlQueryData(), "GASMETERCTRL", ""},
      {"Card power controller", IcreadQueryStatus(), "ICREAD", ""},
      {"Camera cover", CcQueryStatus(), "CC", ""},
      {"Water valve", WaterQueryStatus(), "WATER", ""},
      {"Device positioning scanner", DevpstCtrl(1), "DEVPST", ""},
      {"VL timed switch", VlcontrolQueryActiveTime(), "VLCONTROL", ""},
      {"IF timed switch", IfcontrolQueryActiveTime(), "IFCONTROL", ""},
      {"Device in/out register", DevioGetInfo(), "DEVIO", ""},
      {"Vehicle RFID reader", CarrfidControl(1), "CARRFID", "\"cardinfo\""},
      {"Infrared remote", HeaCtrl(kApplianceTv, 1, 3), "IREMOTER", ""},
      {"Adapter anemometer", AdapterReqData(), "ADAPTER", "\"FS\""},
      {"Adapter wind vane", AdapterReqData(), "ADAPTER", "\"FX\""},
      {"Adapter weather station", AdapterReqData(), "ADAPTER", "\"WS\""},
  };
  standin::Script script = standin::BuiltInPlatform();
  std::size_t labNodes = 0;
  for (const standin::BuiltInNode& node : standin::BuiltInNodes()) labNodes += node.nvsid == kLab;
  EXPECT_EQ(cases.size(), labNodes);
  for (const Case& c : cases) {
    const auto node = NodeNamed(c.node);
    ASSERT_TRUE(node.has_value()) << c.node;
    ASSERT_TRUE(c.command.has_value()) << c.node;
    EXPECT_EQ(c.command->commandCode, node->type) << c.node;
    const std::string family = std::string("\"devtype\":\"") + c.devtype + "\"";
    const std::string address = "\"nodid\":" + std::to_string(node->address) + ",";
    std::vector<std::string> texts;
    for (const standin::OutgoingMessage& answer : Ask(script, *node, *c.command)) {
      if (answer.cmd != "iotm") continue;
      const std::string text = testsupport::LibraryReplyText(node->nvsid, answer.body);
      if (text.empty()) continue;  // a part of a longer record
      EXPECT_NE(text.find(family), std::string::npos) << c.node << ": " << text;
      EXPECT_NE(text.find(address), std::string::npos) << c.node << ": " << text;
      texts.push_back(text);
    }
    EXPECT_FALSE(texts.empty()) << c.node;
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [&](const std::string& text) { return text.find(c.part) != std::string::npos; }))
        << c.node << " " << c.part;
  }
}

}  // namespace
