#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "sentrell.h"
#include "device_session_fixture.h"
#include "support/wait_until.h"
#include "tools/builtin_devices.h"
#include "tools/iot_frames.h"

using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

using SamplingSession = DeviceSessionTest;

using devicetest::kNvs;
using devicetest::NodeDatagram;

std::vector<std::uint8_t> Ints(std::vector<std::uint8_t> head, std::initializer_list<std::int32_t> values) {
  for (const std::int32_t value : values)
    for (int shift = 0; shift < 32; shift += 8)
      head.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
  return head;
}

std::string El(const char* name, const char* unit, const char* type, const char* subtype, int precision,
               const std::string& value) {
  return std::string("\"") + name + "\":{\"precision\":" + std::to_string(precision) + ",\"subtype\":\"" + subtype +
         "\",\"type\":\"" + type + "\",\"unit\":\"" + unit + "\",\"value\":" + value + "}";
}

std::string Word(const char* name, const char* value, int precision = 0, const char* type = "string") {
  return El(name, "", type, "", precision, std::string("\"") + value + "\"");
}

}  // namespace

TEST_F(SamplingSession, EveryExportSendsItsFrame) {
  LogIn();
  IotHandle* h = handle.get();
  const std::vector<std::uint8_t> none;
  struct Case {
    const char* name;
    std::function<int()> call;
    std::uint8_t code, fn;
    std::vector<std::uint8_t> payload;
  };
  const std::vector<Case> cases = {
      {"DAIS_Sampling", [&] { return CM_IOT_DAIS_Sampling(h, kNvs, 1, 2); }, 60, 80, none},
      {"DAIS_SetLimit", [&] { return CM_IOT_DAIS_SetLimit(h, kNvs, 1, 2, 0.7f, -0.7f, 25.37f, -0.05f); }, 60, 81,
       Ints({4, 1, 0, 0}, {-7, 7, 0, 253})},
      {"DAIS_StartContinuousSampling",
       [&] { return CM_IOT_DAIS_StartContinuousSampling(h, kNvs, 1, 2, 5000, 10); },
       60,
       82,
       {0, 0, 0, 0, 0x88, 0x13, 0, 0, 0x0A, 0, 0, 0}},
      {"DAIS_StopContinuousSampling", [&] { return CM_IOT_DAIS_StopContinuousSampling(h, kNvs, 1, 2); }, 60, 83, none},
      {"DAIS_QueryLimit", [&] { return CM_IOT_DAIS_QueryLimit(h, kNvs, 1, 2); }, 60, 84, none},
      {"DAIS_QueryRange", [&] { return CM_IOT_DAIS_QueryRange(h, kNvs, 1, 2); }, 60, 85, none},
      {"DAIS_ZeroSetting", [&] { return CM_IOT_DAIS_ZeroSetting(h, kNvs, 1, 2); }, 60, 86, none},
      {"DAIS_QueryZeroSetting", [&] { return CM_IOT_DAIS_QueryZeroSetting(h, kNvs, 1, 2); }, 60, 87, none},
      {"THDC_Sampling", [&] { return CM_IOT_THDC_Sampling(h, kNvs, 1, 2); }, 62, 80, none},
      {"THDC_SetLimit", [&] { return CM_IOT_THDC_SetLimit(h, kNvs, 1, 2, 30.0f, 10.0f, 80.0f, 20.0f); }, 62, 81,
       Ints({4, 1, 0, 0}, {100, 300, 200, 800})},
      {"THDC_StartContinuousSampling",
       [&] { return CM_IOT_THDC_StartContinuousSampling(h, kNvs, 1, 2, 5000, 10); },
       62,
       82,
       {2, 0, 0, 0, 0x88, 0x13, 0, 0, 0x0A, 0, 0, 0}},
      {"THDC_StopContinuousSampling", [&] { return CM_IOT_THDC_StopContinuousSampling(h, kNvs, 1, 2); }, 62, 83, none},
      {"THDC_QueryLimit", [&] { return CM_IOT_THDC_QueryLimit(h, kNvs, 1, 2); }, 62, 84, none},
      {"THDC_QueryRange", [&] { return CM_IOT_THDC_QueryRange(h, kNvs, 1, 2); }, 62, 85, none},
      {"TDC_Sampling", [&] { return CM_IOT_TDC_Sampling(h, kNvs, 1, 2); }, 61, 80, none},
      {"TDC_SetLimit", [&] { return CM_IOT_TDC_SetLimit(h, kNvs, 1, 2, 30.0f, 10.0f); }, 61, 81,
       Ints({2, 1, 0, 0}, {100, 300, 0, 0})},
      {"TDC_StartContinuousSampling", [&] { return CM_IOT_TDC_StartContinuousSampling(h, kNvs, 1, 2, 999, 0); }, 61, 82,
       Ints({2, 0, 0, 0}, {999, 0})},
      {"TDC_StopContinuousSampling", [&] { return CM_IOT_TDC_StopContinuousSampling(h, kNvs, 1, 2); }, 61, 83, none},
      {"TDC_QueryLimit", [&] { return CM_IOT_TDC_QueryLimit(h, kNvs, 1, 2); }, 61, 84, none},
      {"TDC_QueryRange", [&] { return CM_IOT_TDC_QueryRange(h, kNvs, 1, 2); }, 61, 85, none},
      {"IDC_Sampling", [&] { return CM_IOT_IDC_Sampling(h, kNvs, 1, 2); }, 63, 80, none},
      {"IDC_SetLimit", [&] { return CM_IOT_IDC_SetLimit(h, kNvs, 1, 2, 1000.0f, 2.5f); }, 63, 81,
       Ints({2, 1, 0, 0}, {25, 10000, 0, 0})},
      {"IDC_StartContinuousSampling", [&] { return CM_IOT_IDC_StartContinuousSampling(h, kNvs, 1, 2, 2000, 4); }, 63,
       82, Ints({2, 0, 0, 0}, {2000, 4})},
      {"IDC_StopContinuousSampling", [&] { return CM_IOT_IDC_StopContinuousSampling(h, kNvs, 1, 2); }, 63, 83, none},
      {"IDC_QueryLimit", [&] { return CM_IOT_IDC_QueryLimit(h, kNvs, 1, 2); }, 63, 84, none},
      {"IDC_QueryRange", [&] { return CM_IOT_IDC_QueryRange(h, kNvs, 1, 2); }, 63, 85, none},
      {"PH_Query", [&] { return CM_IOT_PH_Query(h, kNvs, 1, 2); }, 46, 48, {0, 0, 0, 0}},
      {"PH_Start", [&] { return CM_IOT_PH_Start(h, kNvs, 1, 2, 3000, 5); }, 46, 49, Ints({0, 0, 0, 0}, {3000, 5})},
      {"PH_Stop", [&] { return CM_IOT_PH_Stop(h, kNvs, 1, 2); }, 46, 50, {0, 0, 0, 0}},
      {"PH_Calibrate", [&] { return CM_IOT_PH_Calibrate(h, kNvs, 1, 2); }, 46, 51, {0, 0, 0, 0}},
      {"CO2_Query", [&] { return CM_IOT_CO2_Query(h, kNvs, 1, 2); }, 47, 48, {0, 0, 1, 1}},
      {"CO2_Start", [&] { return CM_IOT_CO2_Start(h, kNvs, 1, 2, 1000, 30); }, 47, 49, Ints({0, 0, 1, 2}, {1000, 30})},
      {"CO2_Stop", [&] { return CM_IOT_CO2_Stop(h, kNvs, 1, 2); }, 47, 50, {0, 0, 1, 3}},
      {"O2_Query", [&] { return CM_IOT_O2_Query(h, kNvs, 1, 2); }, 48, 48, {48, 0, 1, 1}},
      {"O2_Start", [&] { return CM_IOT_O2_Start(h, kNvs, 1, 2, 1000, 30); }, 48, 49, Ints({0, 0, 1, 2}, {1000, 30})},
      {"O2_Stop", [&] { return CM_IOT_O2_Stop(h, kNvs, 1, 2); }, 48, 50, {0, 0, 1, 3}},
  };
  ASSERT_EQ(cases.size(), 36u);
  for (const auto& c : cases) EXPECT_EQ(c.call(), 1) << c.name;
  ASSERT_TRUE(server.WaitFor("iot", cases.size(), 3000ms));
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto frame = standin::DecodeDeviceFrame(sent[i].parsed.body);
    ASSERT_TRUE(frame) << cases[i].name;
    EXPECT_EQ(static_cast<std::uint32_t>(sent[i].parsed.IntHeader("Class")), kNvs);
    EXPECT_EQ(frame->netId, 1);
    EXPECT_EQ(frame->nodeAddress, 2);
    EXPECT_EQ(frame->commandCode, cases[i].code) << cases[i].name;
    EXPECT_EQ(frame->functionByte, cases[i].fn) << cases[i].name;
    EXPECT_EQ(frame->payload, cases[i].payload) << cases[i].name;
  }
  // Not connected: not sent.
  server.CloseConnection();
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  for (const auto& c : cases) EXPECT_EQ(c.call(), 0) << c.name;
}

TEST_F(SamplingSession, LimitsThatDoNotFitSendNothing) {
  LogIn();
  IotHandle* h = handle.get();
  EXPECT_EQ(CM_IOT_DAIS_SetLimit(h, kNvs, 1, 2, 0.0f, 0.0f, 0.0f, 3e9f), 0);
  EXPECT_EQ(CM_IOT_THDC_SetLimit(h, kNvs, 1, 2, -3e9f, 0.0f, 0.0f, 0.0f), 0);
  EXPECT_EQ(CM_IOT_TDC_SetLimit(h, kNvs, 1, 2, 0.0f, std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(CM_IOT_IDC_SetLimit(h, kNvs, 1, 2, std::numeric_limits<float>::infinity(), 0.0f), 0);
  EXPECT_EQ(CM_IOT_TDC_Sampling(h, kNvs, 1, 2), 1);
  ASSERT_TRUE(server.WaitFor("iot", 1, 2000ms));
  std::this_thread::sleep_for(50ms);
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(standin::DecodeDeviceFrame(sent[0].parsed.body)->functionByte, 80);
}

// Each family once from the export to the datagram its simulated device's
// replies give, the devices keeping what they were told.
TEST_F(SamplingSession, SimulatedDevicesAnswerUpToTheApplication) {
  devicetest::UdpReceiver udp;
  standin::SimulatedDevices devices;
  LogIn([devices](const standin::ParsedMessage& request) mutable { return devices.Answer(request); });
  ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), udp.Port()), 1);
  IotHandle* h = handle.get();
  const std::string temperature = El("temperature", "℃", "number", "", 1, "25.29999923706055");
  struct Step {
    const char* name;
    std::function<int()> call;
    std::vector<std::string> datagrams;
  };
  const std::vector<Step> steps = {
      {"THDC sample",
       [&] { return CM_IOT_THDC_Sampling(h, kNvs, 3, 4); },
       {NodeDatagram("THDC", "singledata",
                     El("humidity", "%RH", "number", "", 1, "60.09999847412109") + "," + temperature)}},
      {"THDC limits",
       [&] { return CM_IOT_THDC_SetLimit(h, kNvs, 3, 4, 30.0f, 10.0f, 80.0f, 20.0f); },
       {NodeDatagram("THDC", "setlimit",
                     El("humidity", "%RH", "array", "", 1, "[80.0,20.0]") + "," +
                         Word("result", "success", 0, "number") + "," +
                         El("temperature", "℃", "array", "", 1, "[30.0,10.0]"))}},
      {"THDC limits kept",
       [&] { return CM_IOT_THDC_QueryLimit(h, kNvs, 3, 4); },
       {NodeDatagram("THDC", "querylimit",
                     El("humidity", "%RH", "array", "", 1, "[80.0,20.0]") + "," +
                         El("temperature", "℃", "array", "", 1, "[30.0,10.0]"))}},
      {"DAIS zero",
       [&] { return CM_IOT_DAIS_ZeroSetting(h, kNvs, 3, 4); },
       {NodeDatagram(
           "DAIS", "zero",
           El("x", "°", "number", "", 1, "1.200000047683716") + "," + El("y", "°", "number", "", 1, "-0.50"))}},
      {"DAIS after zeroing",
       [&] { return CM_IOT_DAIS_Sampling(h, kNvs, 3, 4); },
       {NodeDatagram("DAIS", "singledata",
                     El("x", "°", "number", "", 1, "0.0") + "," + El("y", "°", "number", "", 1, "0.0"))}},
      {"TDC sample",
       [&] { return CM_IOT_TDC_Sampling(h, kNvs, 3, 4); },
       {NodeDatagram("TDC", "singledata", temperature)}},
      {"IDC run",
       [&] { return CM_IOT_IDC_StartContinuousSampling(h, kNvs, 3, 4, 1000, 2); },
       {NodeDatagram("IDC", "multidatastart",
                     El("count", "", "number", "", 1, "2") + "," + El("period", "", "number", "", 1, "1000") + "," +
                         Word("result", "success", 1)),
        NodeDatagram("IDC", "multidata", El("illuminance", "lux", "array", "", 1, "[350.0,350.1000061035156]"))}},
      {"IDC stop",
       [&] { return CM_IOT_IDC_StopContinuousSampling(h, kNvs, 3, 4); },
       {NodeDatagram("IDC", "status", Word("info", "multidatastop", 1))}},
      {"PH query",
       [&] { return CM_IOT_PH_Query(h, kNvs, 3, 4); },
       {NodeDatagram("PH", "ack", Word("info", "query")),
        NodeDatagram("PH", "singledata", El("value", "", "number", "", 3, "7.012000083923340"))}},
      {"CO2 run",
       [&] { return CM_IOT_CO2_Start(h, kNvs, 3, 4, 1000, 3); },
       {NodeDatagram("CO2", "ack", Word("ack", "start")),
        NodeDatagram("CO2", "multidata", El("value", "ppm", "array", "number", 0, "[415,416,417]"))}},
      {"O2 query",
       [&] { return CM_IOT_O2_Query(h, kNvs, 3, 4); },
       {NodeDatagram("O2", "ack", Word("ack", "query")),
        NodeDatagram("O2", "singledata", El("value", "%", "number", "", 2, "20.94999885559082"))}},
  };
  for (const auto& step : steps) {
    ASSERT_EQ(step.call(), 1) << step.name;
    for (const std::string& expected : step.datagrams) EXPECT_EQ(udp.Next(), expected) << step.name;
  }
  EXPECT_EQ(udp.Next(100), "");
}
