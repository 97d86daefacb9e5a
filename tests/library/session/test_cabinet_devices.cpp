#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cabinet_session.h"
#include "device_session_fixture.h"
#include "library/session/reply_routing.h"
#include "tools/builtin_devices.h"
#include "tools/iot_frames.h"
#include "tools/simulated_devices.h"

namespace {

using devicetest::NodeDatagram;

std::string El(const char* name, const std::string& value, const char* type = "number", const char* unit = "") {
  return std::string("\"") + name + "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"" + type + "\",\"unit\":\"" +
         unit + "\",\"value\":" + value + "}";
}
std::string Str(const char* name, const char* value) { return El(name, std::string("\"") + value + "\"", "string"); }

class CabinetDevices : public CabinetSessionTest {
 protected:
  void SetUp() override {
    CabinetSessionTest::SetUp();
    LogIn([this](const standin::ParsedMessage& request) { return devices.Answer(request); });
    ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), receiver.Port()), 1);
  }
  standin::SimulatedDevices devices;
  devicetest::UdpReceiver receiver;
};

}  // namespace

TEST_F(CabinetDevices, WeighingABoxIsAcknowledgedAndAnswered) {
  ASSERT_EQ(CM_IOT_CABMGZ_GetWeightInBox(handle.get(), kNvs, 3, 4, 2), 1);
  EXPECT_EQ(receiver.Next(), NodeDatagram("CABMGZ", "ack",
                                          El("boxnum", "2") + "," + Str("info", "GetWeight") + "," +
                                              Str("result", "Success") + "," + Str("type", "Receive")));
  EXPECT_EQ(receiver.Next(), NodeDatagram("CABMGZ", "boxweight", El("box", "2") + "," + El("weight", "190")));
}

TEST_F(CabinetDevices, HealthMonitorReportsAReadingWhenItsModeIsSet) {
  ASSERT_EQ(CM_IOT_HEALTHMON_SetMode(handle.get(), kNvs, 3, 4, 1), 1);
  EXPECT_EQ(receiver.Next(),
            NodeDatagram("HEALTHMON", "data",
                         El("movement", "3") + "," + El("movementavg", "300") + "," + El("pulse", "70") + "," +
                             El("pulseavg", "68") + "," + El("respiration", "16") + "," + El("respirationavg", "15") +
                             "," + El("sleeplevel", "2")));
}

TEST_F(CabinetDevices, BloodPressureMeterMeasuresAndGivesItsResult) {
  ASSERT_EQ(CM_IOT_SPHYGMOMETER_Ctrl(handle.get(), kNvs, 3, 4, 2), 1);
  EXPECT_EQ(receiver.Next(), NodeDatagram("SPHYGMOMETER", "ack", Str("info", "Start")));
  EXPECT_EQ(receiver.Next(),
            NodeDatagram("SPHYGMOMETER", "data", Str("heartbreak", "false") + "," + El("pressure", "150", "string")));
  ASSERT_EQ(CM_IOT_SPHYGMOMETER_Ctrl(handle.get(), kNvs, 3, 4, 4), 1);
  EXPECT_EQ(receiver.Next(),
            NodeDatagram("SPHYGMOMETER", "result",
                         Str("arrhythmia", "false") + "," + El("diastolicpressure", "80", "string", "mmHg") + "," +
                             El("heartrate", "72", "string") + "," + El("systolicpressure", "120", "string", "mmHg")));
}

namespace {

// The texts the library makes of the simulated cabinet's answers to one command.
std::vector<std::string> CabinetAnswers(standin::DeviceState& state, std::uint8_t fn,
                                        std::vector<std::uint8_t> payload) {
  const standin::DeviceFrame command{1, 2, 97, fn, std::move(payload)};
  std::vector<standin::DeviceFrame> replies;
  standin::SimulateCabinet(command, state, replies);
  std::vector<std::string> texts;
  for (const auto& reply : replies) {
    IotReply r;
    r.nvsid = 7;
    r.netId = reply.netId;
    r.nodeAddress = reply.nodeAddress;
    r.commandCode = reply.commandCode;
    r.functionByte = reply.functionByte;
    r.payload = reply.payload;
    const std::string text = RouteIotReply(r).text;
    const auto data = text.find("\"data\":{"), end = text.find("},\"devtype\"");
    const bool whole = data != std::string::npos && end != std::string::npos;
    texts.push_back(whole ? text.substr(data + 8, end - data - 8) : text);
  }
  return texts;
}

std::string Result(const char* value) { return Str("result", value); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

// The simulated cabinet keeps its boxes and administrators between commands.
TEST(SimulatedCabinet, RemovedBoxesAndClearedAdministratorsLastUntilReinitialised) {
  standin::DeviceState state{};
  auto boxes = [&] { return CabinetAnswers(state, 24, {97, 0, 6, 1}).at(1); };
  auto admins = [&] { return CabinetAnswers(state, 23, {97, 0, 5, 1}).at(1); };
  EXPECT_TRUE(Contains(boxes(), "\"value\":[1,2,1,2]"));
  EXPECT_TRUE(Contains(admins(), "\"value\":[12345678,87654321]"));

  auto removed = CabinetAnswers(state, 21, {97, 1, 4, 2, 1});
  ASSERT_EQ(removed.size(), 2u);
  EXPECT_TRUE(Contains(removed[0], Str("info", "RemBox") + "," + Result("Success") + "," + Str("type", "Receive")));
  EXPECT_TRUE(Contains(removed[1], Str("info", "RemBox") + "," + Result("Success") + "," + Str("type", "Execute")));
  EXPECT_TRUE(Contains(CabinetAnswers(state, 21, {97, 1, 4, 2, 1}).at(1), Result("Failure")));
  EXPECT_TRUE(Contains(boxes(), "\"value\":[1,0,1,2]"));
  const auto weighed = CabinetAnswers(state, 16, {97, 1, 1, 1, 1});
  ASSERT_EQ(weighed.size(), 1u);  // no weight for a box that is gone
  EXPECT_TRUE(Contains(weighed[0], Result("Failure")));
  EXPECT_TRUE(Contains(CabinetAnswers(state, 28, {97, 0, 8, 1, 1, 1, 4, 3, 2, 1}).at(1), Result("Failure")));
  EXPECT_TRUE(Contains(CabinetAnswers(state, 28, {97, 0, 8, 1, 2, 9}).at(1), Result("Failure")));
  EXPECT_TRUE(Contains(CabinetAnswers(state, 28, {97, 0, 8, 1, 2, 3}).at(1), Result("Success")));

  EXPECT_EQ(CabinetAnswers(state, 22, {97, 0, 4, 2}).size(), 1u);
  EXPECT_TRUE(Contains(admins(), "\"value\":[0,0]"));

  const auto reinit = CabinetAnswers(state, 25, {97, 0, 7, 1});
  ASSERT_EQ(reinit.size(), 3u);
  EXPECT_EQ(reinit[1], Str("status", "Start"));
  EXPECT_EQ(reinit[2], Str("status", "Finish"));
  EXPECT_TRUE(Contains(boxes(), "\"value\":[1,2,1,2]"));
  EXPECT_TRUE(Contains(admins(), "\"value\":[12345678,87654321]"));

  const auto opened = CabinetAnswers(state, 17, {97, 1, 2, 1, 3});
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1], El("box", "3", "string") + "," + Str("info", "Command"));
  EXPECT_TRUE(CabinetAnswers(state, 99, {}).empty());
  EXPECT_EQ(CabinetAnswers(state, 16, {}).size(), 2u);  // a command without its box asks for box 0
}
