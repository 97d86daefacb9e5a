// The meter exports through a session logged in to the stand-in: the frames
// the server receives, the refusals, and the replies of the simulated meters
// as the application's UDP port receives them.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "sentrell.h"
#include "device_session_fixture.h"
#include "meter_blocks.h"
#include "support/wait_until.h"
#include "tools/builtin_devices.h"
#include "tools/iot_frames.h"

using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

using namespace metertest;

using MeterSession = DeviceSessionTest;

using devicetest::kNvs;
using devicetest::NodeDatagram;

std::string Str(const char* name, const char* value) {
  return std::string("\"") + name +
         "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"" + value + "\"}";
}

}  // namespace

TEST_F(MeterSession, EveryExportSendsItsFrame) {
  LogIn();
  IotHandle* h = handle.get();
  struct Case {
    const char* name;
    std::function<int()> call;
    std::uint8_t code, fn;
    Bytes payload;
  };
  const std::vector<Case> cases = {
      {"PowerMeterCtrl_Init", [&] { return CM_IOT_PowerMeterCtrl_Init(h, kNvs, 1, 2); }, 95, 48, {0, 0, 0, 0}},
      {"PowerMeterCtrl_SetDate",
       [&] { return CM_IOT_PowerMeterCtrl_SetDate(h, kNvs, 1, 2, kLow, 0, kCode1, kCode2, "2026-12-09"); }, 95, 49,
       Block(0, {0x03, 0x09, 0x12, 0x26})},
      {"PowerMeterCtrl_SetTime",
       [&] { return CM_IOT_PowerMeterCtrl_SetTime(h, kNvs, 1, 2, kLow, 0, kCode1, kCode2, "10:20:30"); }, 95, 50,
       Block(0, {0x30, 0x20, 0x10, 0})},
      {"PowerMeterCtrl_SetAccountDay",
       [&] { return CM_IOT_PowerMeterCtrl_SetAccountDay(h, kNvs, 1, 2, kLow, 0, kCode1, kCode2, 31, 7); }, 95, 51,
       Block(0, {0x07, 0x00, 0, 0})},
      {"PowerMeterCtrl_ClearAvailableEngeryAmount",
       [&] { return CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount(h, kNvs, 1, 2); }, 95, 54, {0, 0, 0, 0}},
      {"PowerMeterCtrl_SetMaximumCurrent",
       [&] { return CM_IOT_PowerMeterCtrl_SetMaximumCurrent(h, kNvs, 1, 2, kLow, 0, kCode1, kCode2, 2.3f); }, 95, 55,
       Block(3, {0x00, 0x23, 0, 0})},
      {"PowerMeterCtrl_AddAvailableEnergyAmount",
       [&] { return CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount(h, kNvs, 1, 2, kLow, 0, kCode1, kCode2, 5.5f); },
       95, 57, Block(3, {0x00, 0x55, 0, 0})},
      {"PowerMeterCtrl_RelayOn", [&] { return CM_IOT_PowerMeterCtrl_RelayOn(h, kNvs, 1, 2); }, 95, 59, {0, 0, 0, 0}},
      {"PowerMeterCtrl_RelayOff", [&] { return CM_IOT_PowerMeterCtrl_RelayOff(h, kNvs, 1, 2); }, 95, 60, {0, 0, 0, 0}},
      {"PowerMeterCtrl_QueryData", [&] { return CM_IOT_PowerMeterCtrl_QueryData(h, kNvs, 1, 2); }, 95, 94,
       {0, 0, 0, 0}},
      {"PowerMeterCtrl_QueryParameter", [&] { return CM_IOT_PowerMeterCtrl_QueryParameter(h, kNvs, 1, 2, 1); }, 95,
       95, {2, 0, 0, 0}},
      {"WaterMeterCtrl_Calibrate", [&] { return CM_IOT_WaterMeterCtrl_Calibrate(h, kNvs, 1, 2, kLow, 0, 0.7f); }, 65,
       48, Meter(1, {0x07, 0, 0, 0})},
      {"WaterMeterCtrl_ValveTest", [&] { return CM_IOT_WaterMeterCtrl_ValveTest(h, kNvs, 1, 2, kLow, 0); }, 65, 49,
       Meter(0)},
      {"WaterMeterCtrl_ValveControl", [&] { return CM_IOT_WaterMeterCtrl_ValveControl(h, kNvs, 1, 2, kLow, 0, 1); },
       65, 52, Meter(1)},
      {"WaterMeterCtrl_SetFactoryMode",
       [&] { return CM_IOT_WaterMeterCtrl_SetFactoryMode(h, kNvs, 1, 2, kLow, 0, 2); }, 65, 50, Meter(0)},
      {"WaterMeterCtrl_QueryValveStatus", [&] { return CM_IOT_WaterMeterCtrl_QueryValveStatus(h, kNvs, 1, 2); }, 65,
       64, {0, 0, 0, 0}},
      {"WaterMeterCtrl_QueryData", [&] { return CM_IOT_WaterMeterCtrl_QueryData(h, kNvs, 1, 2); }, 65, 80,
       {0, 0, 0, 0}},
      {"WaterMeterCtrl_QueryMeterId", [&] { return CM_IOT_WaterMeterCtrl_QueryMeterId(h, kNvs, 1, 2); }, 65, 81,
       {0, 0, 0, 0}},
      {"GasMeterCtrl_Calibrate", [&] { return CM_IOT_GasMeterCtrl_Calibrate(h, kNvs, 1, 2, kLow, 0, 123.4f); }, 66,
       48, Meter(1, {0x34, 0x12, 0, 0})},
      {"GasMeterCtrl_QueryData", [&] { return CM_IOT_GasMeterCtrl_QueryData(h, kNvs, 1, 2); }, 66, 80, {0, 0, 0, 0}},
      {"GasMeterCtrl_QueryMeterId", [&] { return CM_IOT_GasMeterCtrl_QueryMeterId(h, kNvs, 1, 2); }, 66, 81,
       {0, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), 1) << c.name;
  ASSERT_TRUE(server.WaitFor("iot", cases.size(), 3000ms));
  ExpectSentFrames(cases);
  if (HasFatalFailure()) return;
  // Not connected: not sent.
  server.CloseConnection();
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  for (const auto& c : cases) EXPECT_EQ(c.call(), 0) << c.name;
}

TEST_F(MeterSession, RefusedArgumentsSendNothing) {
  LogIn();
  IotHandle* h = handle.get();
  constexpr unsigned kTooLow = 0x6FC10000, kTooHigh = 0x002386F2;  // 10^16, 17 digits
  struct Refusal {
    const char* name;
    std::function<int()> call;
    int result;
  };
  const std::vector<Refusal> refusals = {
      {"date NULL", [&] { return CM_IOT_PowerMeterCtrl_SetDate(h, kNvs, 1, 2, kLow, 0, 0, 0, nullptr); }, -1},
      {"time NULL", [&] { return CM_IOT_PowerMeterCtrl_SetTime(h, kNvs, 1, 2, kLow, 0, 0, 0, nullptr); }, -1},
      {"negative current",
       [&] { return CM_IOT_PowerMeterCtrl_SetMaximumCurrent(h, kNvs, 1, 2, kLow, 0, 0, 0, -2.0f); }, 0},
      {"current of nine digits",
       [&] { return CM_IOT_PowerMeterCtrl_SetMaximumCurrent(h, kNvs, 1, 2, kLow, 0, 0, 0, 100000.0f); }, 0},
      {"negative top-up",
       [&] { return CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount(h, kNvs, 1, 2, kLow, 0, 0, 0, -0.5f); }, 0},
      {"calibration of nine digits",
       [&] { return CM_IOT_WaterMeterCtrl_Calibrate(h, kNvs, 1, 2, kLow, 0, 1e7f); }, 0},
      {"gas calibration negative", [&] { return CM_IOT_GasMeterCtrl_Calibrate(h, kNvs, 1, 2, kLow, 0, -1.0f); }, 0},
      {"address of 17 digits, date",
       [&] { return CM_IOT_PowerMeterCtrl_SetDate(h, kNvs, 1, 2, kTooLow, kTooHigh, 0, 0, "2026-1-1"); }, 0},
      {"address of 17 digits, account day",
       [&] { return CM_IOT_PowerMeterCtrl_SetAccountDay(h, kNvs, 1, 2, kTooLow, kTooHigh, 0, 0, 1, 1); }, 0},
      {"address of 17 digits, valve test",
       [&] { return CM_IOT_WaterMeterCtrl_ValveTest(h, kNvs, 1, 2, kTooLow, kTooHigh); }, 0},
      {"address of 17 digits, factory mode",
       [&] { return CM_IOT_WaterMeterCtrl_SetFactoryMode(h, kNvs, 1, 2, kTooLow, kTooHigh, 1); }, 0},
      {"address of 17 digits, valve control",
       [&] { return CM_IOT_WaterMeterCtrl_ValveControl(h, kNvs, 1, 2, kTooLow, kTooHigh, 1); }, 0},
  };
  // Each refusal is followed by a query, so a frame sent by mistake would
  // show up between two queries.
  for (const auto& r : refusals) {
    EXPECT_EQ(r.call(), r.result) << r.name;
    EXPECT_EQ(CM_IOT_PowerMeterCtrl_QueryData(h, kNvs, 1, 2), 1);
  }
  ASSERT_TRUE(server.WaitFor("iot", refusals.size(), 3000ms));
  const auto frames = SentFrames();
  ASSERT_EQ(frames.size(), refusals.size());
  for (const auto& f : frames) EXPECT_EQ(f.functionByte, 94);
  // A bad handle is refused before the pointer is looked at.
  EXPECT_EQ(CM_IOT_PowerMeterCtrl_SetMaximumCurrent(nullptr, kNvs, 1, 2, kLow, 0, 0, 0, -2.0f), -1);
}

TEST_F(MeterSession, SimulatedMetersAnswerTheApplication) {
  devicetest::UdpReceiver udp;
  standin::SimulatedDevices devices;
  LogIn([devices](const standin::ParsedMessage& request) mutable { return devices.Answer(request); });
  ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), udp.Port()), 1);
  IotHandle* h = handle.get();

  // Electricity: parameter 2 is the instantaneous voltage.
  ASSERT_EQ(CM_IOT_PowerMeterCtrl_QueryParameter(h, kNvs, 3, 4, 2), 1);
  EXPECT_EQ(udp.Next(), NodeDatagram("POWERMETERCTRL", "data",
                                     Str("datatype", "InstantaneousVoltage") +
                                         ",\"datavalue\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\","
                                         "\"unit\":\"V\",\"value\":220.50}",
                                     4));

  // Water: the calibration is acknowledged and becomes the reading.
  ASSERT_EQ(CM_IOT_WaterMeterCtrl_Calibrate(h, kNvs, 3, 5, kLow, 0, 42.5f), 1);
  EXPECT_EQ(udp.Next(), NodeDatagram("WATERMETERCTRL", "ack", Str("info", "Calibrate"), 5));
  ASSERT_EQ(CM_IOT_WaterMeterCtrl_QueryData(h, kNvs, 3, 5), 1);
  EXPECT_EQ(udp.Next(), NodeDatagram("WATERMETERCTRL", "data",
                                     Str("datatype", "Data") +
                                         ",\"datavalue\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\","
                                         "\"unit\":\"\",\"value\":42.50}",
                                     5));

  // Gas: the meter's id, as packed BCD.
  ASSERT_EQ(CM_IOT_GasMeterCtrl_Calibrate(h, kNvs, 3, 6, 24681357, 0, 1.0f), 1);
  EXPECT_EQ(udp.Next(), NodeDatagram("GASMETERCTRL", "ack", Str("info", "Calibrate"), 6));
  ASSERT_EQ(CM_IOT_GasMeterCtrl_QueryMeterId(h, kNvs, 3, 6), 1);
  EXPECT_EQ(udp.Next(), NodeDatagram("GASMETERCTRL", "data",
                                     Str("datatype", "MeterId") +
                                         ",\"datavalue\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\","
                                         "\"unit\":\"\",\"value\":24681357}",
                                     6));
}
