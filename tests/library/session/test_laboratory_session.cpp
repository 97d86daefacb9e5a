// The laboratory exports through a live session to the stand-in, and the
// simulated devices' replies as the application receives them.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
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

using LaboratorySession = DeviceSessionTest;

using devicetest::kNvs;
using devicetest::NodeDatagram;

std::string Element(const char* name, const char* type, const char* unit, const std::string& value) {
  return std::string("\"") + name + "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"" + type + "\",\"unit\":\"" +
         unit + "\",\"value\":" + value + "}";
}
std::string Str(const char* name, const char* value, const char* unit = "") {
  return Element(name, "string", unit, std::string("\"") + value + "\"");
}
std::string Num(const char* name, long long value, const char* type = "number", const char* unit = "") {
  return Element(name, type, unit, std::to_string(value));
}

}  // namespace

TEST_F(LaboratorySession, EveryExportSendsItsFrame) {
  LogIn();
  IotHandle* h = handle.get();
  struct Case {
    const char* name;
    std::function<int()> call;
    std::uint8_t code, fn;
    std::vector<std::uint8_t> payload;
  };
  const std::vector<Case> cases = {
      {"ICREAD_Ctrl", [&] { return CM_IOT_ICREAD_Ctrl(h, kNvs, 1, 2, 1); }, 86, 16, {0, 0, 0, 0}},
      {"ICREAD_Ctrl other", [&] { return CM_IOT_ICREAD_Ctrl(h, kNvs, 1, 2, 9); }, 86, 0, {0, 0, 0, 0}},
      {"ICREAD_SetMode1",
       [&] { return CM_IOT_ICREAD_SetMode1(h, kNvs, 1, 2, "ABCDEFGH"); },
       86,
       18,
       {0x41, 0x42, 0x43, 0x44, 0x45, 0x46}},
      {"ICREAD_SetMode2",
       [&] { return CM_IOT_ICREAD_SetMode2(h, kNvs, 1, 2, "ABCDEF", 1, 2, 3, 4, 5, 6, 7); },
       86,
       19,
       {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 2, 3, 4, 5, 6, 7, 1}},
      {"ICREAD_SetMode3",
       [&] { return CM_IOT_ICREAD_SetMode3(h, kNvs, 1, 2, "学校", 1, 2, 3); },
       86,
       20,
       {0xD1, 0xA7, 0xD0, 0xA3, 0, 0, 1, 2, 3}},
      {"ICREAD_QueryConfig", [&] { return CM_IOT_ICREAD_QueryConfig(h, kNvs, 1, 2); }, 86, 21, {0, 0, 0, 0}},
      {"ICREAD_QueryStatus", [&] { return CM_IOT_ICREAD_QueryStatus(h, kNvs, 1, 2); }, 86, 67, {0, 0, 0, 0}},
      {"WATER_Ctrl", [&] { return CM_IOT_WATER_Ctrl(h, kNvs, 1, 2, 2); }, 88, 0, {0, 0, 0, 0, 0}},
      {"WATER_SetTimer",
       [&] { return CM_IOT_WATER_SetTimer(h, kNvs, 1, 2, 1, 8, 30, 5, 18, 0, 2); },
       88,
       18,
       {1, 8, 30, 5, 18, 0, 2}},
      {"WATER_TimerCtrl", [&] { return CM_IOT_WATER_TimerCtrl(h, kNvs, 1, 2, 0); }, 88, 20, {0, 0, 0, 0, 0}},
      {"WATER_QueryStatus", [&] { return CM_IOT_WATER_QueryStatus(h, kNvs, 1, 2); }, 88, 67, {0, 0, 0, 0, 0}},
      {"CARRFIDControl", [&] { return CM_IOT_CARRFIDControl(h, kNvs, 1, 2, 0); }, 89, 20, {0, 0, 0, 0}},
      {"CARRFIDControl other", [&] { return CM_IOT_CARRFIDControl(h, kNvs, 1, 2, 7); }, 89, 95, {0, 0, 0, 0}},
      {"DEVIO_Ctrl",
       [&] { return CM_IOT_DEVIO_Ctrl(h, kNvs, 1, 2, 0x1312, 2, 3, 4); },
       100,
       16,
       {100, 5, 1, 1, 0x12, 0x13, 2, 3, 4}},
      {"DEVIO_GetInfo", [&] { return CM_IOT_DEVIO_GetInfo(h, kNvs, 1, 2); }, 100, 17, {100, 5, 1, 2, 0, 0, 0, 0, 0}},
      {"VLCONTROL_Ctrl", [&] { return CM_IOT_VLCONTROL_Ctrl(h, kNvs, 1, 2, 0); }, 93, 49, {0, 0, 0, 0}},
      {"VLCONTROL_SetActiveTime",
       [&] { return CM_IOT_VLCONTROL_SetActiveTime(h, kNvs, 1, 2, "08:30", "17:45"); },
       93,
       80,
       {8, 30, 17, 45}},
      {"VLCONTROL_QueryActiveTime",
       [&] { return CM_IOT_VLCONTROL_QueryActiveTime(h, kNvs, 1, 2); },
       93,
       81,
       {0, 0, 0, 0}},
      {"VLCONTROL_SetDelayTime",
       [&] { return CM_IOT_VLCONTROL_SetDelayTime(h, kNvs, 1, 2, 30); },
       93,
       82,
       {30, 0, 0, 0}},
      {"IFCONTROL_Ctrl", [&] { return CM_IOT_IFCONTROL_Ctrl(h, kNvs, 1, 2, 5); }, 94, 81, {0, 0, 0, 0}},
      {"IFCONTROL_SetActiveTime",
       [&] { return CM_IOT_IFCONTROL_SetActiveTime(h, kNvs, 1, 2, "x", "9:7"); },
       94,
       80,
       {0, 0, 9, 7}},
      {"IFCONTROL_QueryActiveTime",
       [&] { return CM_IOT_IFCONTROL_QueryActiveTime(h, kNvs, 1, 2); },
       94,
       81,
       {0, 0, 0, 0}},
      {"IFCONTROL_SetDelayTime",
       [&] { return CM_IOT_IFCONTROL_SetDelayTime(h, kNvs, 1, 2, 0x1FF); },
       94,
       82,
       {0xFF, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), 1) << c.name;
  ASSERT_TRUE(server.WaitFor("iot", cases.size(), 3000ms));
  ExpectSentFrames(cases);
  if (HasFatalFailure()) return;
  // Commands of the recorded function bytes wait for their delivery reports.
  EXPECT_GT(session->PendingCount(), 0u);
  // Not connected: not sent.
  server.CloseConnection();
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  for (const auto& c : cases) EXPECT_EQ(c.call(), 0) << c.name;
}

TEST_F(LaboratorySession, MissingTextsSendNothing) {
  LogIn();
  IotHandle* h = handle.get();
  EXPECT_EQ(CM_IOT_ICREAD_SetMode1(h, kNvs, 1, 2, nullptr), -1);
  EXPECT_EQ(CM_IOT_ICREAD_SetMode2(h, kNvs, 1, 2, nullptr, 2, 1, 8, 0, 5, 18, 30), -1);
  EXPECT_EQ(CM_IOT_ICREAD_SetMode3(h, kNvs, 1, 2, nullptr, 1, 2, 3), -1);
  EXPECT_EQ(CM_IOT_VLCONTROL_SetActiveTime(h, kNvs, 1, 2, nullptr, "17:45"), -1);
  EXPECT_EQ(CM_IOT_VLCONTROL_SetActiveTime(h, kNvs, 1, 2, "08:30", nullptr), -1);
  EXPECT_EQ(CM_IOT_IFCONTROL_SetActiveTime(h, kNvs, 1, 2, nullptr, nullptr), -1);
  // The command after them is the first the stand-in sees.
  EXPECT_EQ(CM_IOT_ICREAD_QueryStatus(h, kNvs, 1, 2), 1);
  ASSERT_TRUE(server.WaitFor("iot", 1, 3000ms));
  std::this_thread::sleep_for(50ms);
  const auto sent = SentFrames();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].functionByte, 67);
}

TEST_F(LaboratorySession, SimulatedDevicesReplyToTheApplication) {
  devicetest::UdpReceiver receiver;
  standin::SimulatedDevices devices;
  LogIn([devices](const standin::ParsedMessage& request) mutable { return devices.Answer(request); });
  ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), receiver.Port()), 1);
  IotHandle* h = handle.get();
  auto card = [](const char* msg, const char* power, const char* info, const char* mode, const char* error) {
    return NodeDatagram("ICREAD", msg,
                        Num("cardid", 1234567, "integer") + "," + Str("cardinfo", info) + "," +
                            Num("cardnum", 42, "integer") + "," + Str("errorinfo", error) + "," +
                            Str("powerstatus", power) + "," + Str("workmode", mode));
  };
  auto instrument = [](int index) {
    return NodeDatagram("DEVPST", "data",
                        Num("college", 2) + "," + Num("count", 7) + "," + Num("department", 4) + "," +
                            Num("index", index) + "," + Num("instrument", 5 + index) + "," + Num("lab", 5) + "," +
                            Num("school", 1) + "," + Num("share", 1));
  };
  struct Step {
    const char* name;
    std::function<int()> call;
    std::vector<std::string> datagrams;
  };
  const std::vector<Step> steps = {
      {"card power on",
       [&] { return CM_IOT_ICREAD_Ctrl(h, kNvs, 3, 4, 1); },
       {card("poweroperation", "on", "", "nomode", "noerror")}},
      {"card mode 2",
       [&] { return CM_IOT_ICREAD_SetMode2(h, kNvs, 3, 4, "学校", 3, 1, 8, 0, 5, 18, 30); },
       {card("modefb2", "on", "学校", "mode2day", "noerror")}},
      {"card times",
       [&] { return CM_IOT_ICREAD_QueryConfig(h, kNvs, 3, 4); },
       {NodeDatagram("ICREAD", "activetime",
                     Str("begintime", "Mon 08:00") + "," + Str("cardinfo", "学校") + "," + Str("endtime", "Fri 18:30") +
                         "," + Str("errorinfo", "noerror") + "," + Str("powerstatus", "on") + "," +
                         Str("workmode", "mode2day"))}},
      {"valve open",
       [&] { return CM_IOT_WATER_Ctrl(h, kNvs, 3, 4, 1); },
       {NodeDatagram("WATER", "status", Str("status", "on"))}},
      {"valve timer",
       [&] { return CM_IOT_WATER_TimerCtrl(h, kNvs, 3, 4, 1); },
       {NodeDatagram("WATER", "timeron", Str("status", "on"))}},
      {"register write",
       [&] { return CM_IOT_DEVIO_Ctrl(h, kNvs, 3, 4, 0x1312, 2, 3, 4); },
       {NodeDatagram("DEVIO", "feedback", Str("info", "writebelonginfo")),
        NodeDatagram("DEVIO", "status", Str("info", "writebelongsucc"))}},
      {"register read",
       [&] { return CM_IOT_DEVIO_GetInfo(h, kNvs, 3, 4); },
       {NodeDatagram("DEVIO", "feedback", Str("info", "querybelonginfo")),
        NodeDatagram(
            "DEVIO", "data",
            Num("college", 2) + "," + Num("department", 3) + "," + Num("lab", 4) + "," + Num("school", 0x1312))}},
      {"vl active time",
       [&] { return CM_IOT_VLCONTROL_SetActiveTime(h, kNvs, 3, 4, "08:30", "17:45"); },
       {NodeDatagram("VLCONTROL", "status", Str("status", "SetActiveTime"))}},
      {"vl query",
       [&] { return CM_IOT_VLCONTROL_QueryActiveTime(h, kNvs, 3, 4); },
       {NodeDatagram("VLCONTROL", "ActiveTime", Str("begin", "08:30") + "," + Str("end", "17:45"))}},
      {"if on",
       [&] { return CM_IOT_IFCONTROL_Ctrl(h, kNvs, 3, 4, 1); },
       {NodeDatagram("IFCONTROL", "status", Str("status", "TurnOn"))}},
      {"if query is its own device",
       [&] { return CM_IOT_IFCONTROL_QueryActiveTime(h, kNvs, 3, 4); },
       {NodeDatagram("IFCONTROL", "ActiveTime", Str("begin", "00:00") + "," + Str("end", "00:00"))}},
      {"cover open",
       [&] { return CM_IOT_CC_Control(h, kNvs, 3, 4, 1); },
       {NodeDatagram("CC", "BeginOpen", Num("waittime", 5, "number", "s")),
        NodeDatagram("CC", "OperationSuccess", Str("operation", "open"))}},
      {"cover status",
       [&] { return CM_IOT_CC_QueryStatus(h, kNvs, 3, 4); },
       {NodeDatagram("CC", "CurrentStatus", Str("position", "opened"))}},
      {"scan start",
       [&] { return CM_IOT_DEVPST_Ctrl(h, kNvs, 3, 4, 1); },
       {NodeDatagram("DEVPST", "operationfeedback", Str("info", "startscan") + "," + Str("result", "success")),
        instrument(1), instrument(2)}},
      {"scan stop",
       [&] { return CM_IOT_DEVPST_Ctrl(h, kNvs, 3, 4, 0); },
       {NodeDatagram("DEVPST", "operationfeedback", Str("info", "stopscan") + "," + Str("result", "success")),
        NodeDatagram("DEVPST", "status", Str("info", "scanstopped"))}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    ASSERT_EQ(step.call(), 1);
    for (const auto& expected : step.datagrams) EXPECT_EQ(receiver.Next(), expected);
  }
  // Commands the devices do not answer leave the receiver silent.
  ASSERT_EQ(CM_IOT_ICREAD_Ctrl(h, kNvs, 3, 4, 2), 1);
  EXPECT_EQ(receiver.Next(200), "");
}
