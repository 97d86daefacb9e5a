// The lock exports through a session logged in to the stand-in, and the
// simulated locks' answers as the application receives them.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "library/xml/nvs_xml_store.h"
#include "sentrell.h"
#include "device_session_fixture.h"
#include "support/wait_until.h"
#include "tools/builtin_devices.h"
#include "tools/iot_frames.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

using Bytes = std::vector<std::uint8_t>;

using devicetest::kNvs;
using devicetest::NodeDatagram;

const char kFeature0To192[] =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJT"
    "VFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn+AgYKDhIWGh4iJiouMjY6PkJGSk5SVlpeYmZqbnJ2en6ChoqOkpaan"
    "qKmqq6ytrq+wsbKztLW2t7i5uru8vb6/wA==";

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Range(int from, int to) {
  Bytes out;
  for (int i = from; i < to; ++i) out.push_back(static_cast<std::uint8_t>(i));
  return out;
}

struct Frame {
  std::uint8_t code, fn;
  Bytes payload;
};

class DoorLockSession : public NodeFileSessionTest {
 protected:
  DoorLockSession() : NodeFileSessionTest("sentrell_doorlock_") {}
  void SetUp() override {
    NodeFileSessionTest::SetUp();
    fs::create_directories(folder);
  }
  void LogInToSimulatedDevices() {
    LogIn([this](const standin::ParsedMessage& request) { return devices.Answer(request); });
  }
  Frame FrameOf(const standin::ReceivedMessage& m) const {
    const auto frame = standin::DecodeDeviceFrame(m.parsed.body);
    EXPECT_TRUE(frame);
    if (!frame) return {};
    EXPECT_EQ(frame->netId, 1);
    EXPECT_EQ(frame->nodeAddress, 2);
    return {frame->commandCode, frame->functionByte, frame->payload};
  }
  // A UDP socket on loopback that receives the session's notifications.
  void ListenForNotifications() {
    ASSERT_GT(udp.Port(), 0);
    ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), udp.Port()), 1);
  }
  // The next datagram, or "" when none comes within 3 s.
  std::string NextDatagram() { return udp.Next(); }

  standin::SimulatedDevices devices;
  devicetest::UdpReceiver udp;
};

}  // namespace

TEST_F(DoorLockSession, EveryExportSendsItsFrames) {
  LogIn();
  IotHandle* h = handle.get();
  const unsigned char month[4] = {1, 2, 3, 4};
  const Bytes year = Range(1, 49);
  const char* time = "2021-12-31 23:59:58";
  const Bytes clock = {0x58, 0x59, 0x23, 0x31, 5, 0x12, 0x21};
  struct Case {
    const char* name;
    std::function<int()> call;
    std::vector<Frame> frames;
  };
  const std::vector<Case> cases = {
      {"DAC_SetTime",
       [&] { return CM_IOT_DAC_SetTime(h, kNvs, 1, 2, time); },
       {{80, 16, Concat({80, 7, 1, 1}, clock)}}},
      {"DAC_SetTimeInterval",
       [&] { return CM_IOT_DAC_SetTimeInterval(h, kNvs, 1, 2, 1, 2, 3, 45); },
       {{80, 17, {80, 4, 2, 1, 1, 2, 3, 0x45}}}},
      {"DAC_SetWorkdayOfMonth",
       [&] { return CM_IOT_DAC_SetWorkdayOfMonth(h, kNvs, 1, 2, 2021, 2, month, 4); },
       {{80, 18, {80, 6, 3, 1, 0x21, 0x02, 1, 2, 3, 4}}}},
      {"DAC_SetWorkdayOfYear",
       [&] { return CM_IOT_DAC_SetWorkdayOfYear(h, kNvs, 1, 2, 21, year.data(), 48); },
       {{80, 19, Concat({80, 26, 3, 2, 0x21, 1}, Range(1, 25))},
        {80, 19, Concat({80, 26, 3, 2, 0x21, 2}, Range(25, 49))}}},
      {"DAC_AddCard",
       [&] { return CM_IOT_DAC_AddCard(h, kNvs, 1, 2, 3, 123456, 258, 0x01020304); },
       {{80, 20, {80, 10, 4, 1, 3, 0x56, 0x34, 0x12, 2, 1, 4, 3, 2, 1}}}},
      {"DAC_Authorize",
       [&] { return CM_IOT_DAC_Authorize(h, kNvs, 1, 2, 3, 258, 0x01020304); },
       {{80, 20, {80, 8, 4, 1, 3, 0, 2, 1, 4, 3, 2, 1}}}},
      {"DAC_RemoveCard",
       [&] { return CM_IOT_DAC_RemoveCard(h, kNvs, 1, 2, 3, 258, 0x01020304); },
       {{80, 21, {80, 8, 4, 2, 3, 0, 2, 1, 4, 3, 2, 1}}}},
      {"DAC_Open", [&] { return CM_IOT_DAC_Open(h, kNvs, 1, 2); }, {{80, 22, {80, 0, 5, 1}}}},
      {"DAC_StartCapture", [&] { return CM_IOT_DAC_StartCapture(h, kNvs, 1, 2); }, {{80, 23, {80, 0, 6, 1}}}},
      {"DAC_StopCapture", [&] { return CM_IOT_DAC_StopCapture(h, kNvs, 1, 2); }, {{80, 24, {80, 0, 6, 2}}}},
      {"DAC_GetDoorStatus", [&] { return CM_IOT_DAC_GetDoorStatus(h, kNvs, 1, 2); }, {{80, 25, {80, 0, 7, 1}}}},
      {"DLockFinger_SetTime",
       [&] { return CM_IOT_DLockFinger_SetTime(h, kNvs, 1, 2, time); },
       {{96, 16, Concat({96, 7, 1, 1}, clock)}}},
      {"DLockFinger_SetTimeInterval",
       [&] { return CM_IOT_DLockFinger_SetTimeInterval(h, kNvs, 1, 2, 10, 20, 30, 40); },
       {{96, 17, {96, 4, 2, 1, 0x10, 0x20, 0x30, 0x40}}}},
      {"DLockFinger_SetWorkdayOfMonth",
       [&] { return CM_IOT_DLockFinger_SetWorkdayOfMonth(h, kNvs, 1, 2, 21, 11, month, 3); },
       {{96, 18, {96, 6, 3, 1, 0x21, 0x11, 1, 2, 3, 0}}}},
      {"DLockFinger_SetWorkdayOfYear",
       [&] { return CM_IOT_DLockFinger_SetWorkdayOfYear(h, kNvs, 1, 2, 2022, year.data(), 26); },
       {{96, 19, Concat({96, 26, 3, 2, 0x22, 1}, Range(1, 25))},
        {96, 19, Concat({96, 26, 3, 2, 0x22, 2}, Concat({25, 26}, Bytes(22, 0)))}}},
      {"DLockFinger_OpenDoor", [&] { return CM_IOT_DLockFinger_OpenDoor(h, kNvs, 1, 2); }, {{96, 22, {96, 0, 5, 1}}}},
      {"DLockFinger_StartCapture",
       [&] { return CM_IOT_DLockFinger_StartCapture(h, kNvs, 1, 2); },
       {{96, 23, {96, 0, 6, 1}}}},
      {"DLockFinger_StopCapture",
       [&] { return CM_IOT_DLockFinger_StopCapture(h, kNvs, 1, 2); },
       {{96, 24, {96, 0, 6, 2}}}},
      {"DLockFinger_QueryDoorStatus",
       [&] { return CM_IOT_DLockFinger_QueryDoorStatus(h, kNvs, 1, 2); },
       {{96, 25, {96, 0, 7, 1}}}},
      {"DLockFinger_QueryUserCount",
       [&] { return CM_IOT_DLockFinger_QueryUserCount(h, kNvs, 1, 2); },
       {{96, 29, {96, 0, 16, 1}}}},
      {"DLockFinger_RemoveUser",
       [&] { return CM_IOT_DLockFinger_RemoveUser(h, kNvs, 1, 2, 258); },
       {{96, 30, {96, 2, 17, 2, 2, 1}}}},
      {"DLockFinger_RemoveAllUser",
       [&] { return CM_IOT_DLockFinger_RemoveAllUser(h, kNvs, 1, 2); },
       {{96, 31, {96, 0, 17, 3}}}},
      {"DLockFinger_QueryUserPermission",
       [&] { return CM_IOT_DLockFinger_QueryUserPermission(h, kNvs, 1, 2, 7); },
       {{96, 32, {96, 2, 18, 1, 7, 0}}}},
      {"DLockFinger_SetMatchingLevel",
       [&] { return CM_IOT_DLockFinger_SetMatchingLevel(h, kNvs, 1, 2, 5); },
       {{96, 33, {96, 1, 19, 1, 5}}}},
      {"DLockFinger_QueryMatchingLevel",
       [&] { return CM_IOT_DLockFinger_QueryMatchingLevel(h, kNvs, 1, 2); },
       {{96, 34, {96, 0, 19, 2}}}},
      {"DLockFinger_SetFingerprintFeature",
       [&] { return CM_IOT_DLockFinger_SetFingerprintFeature(h, kNvs, 1, 2, 258, 3, kFeature0To192); },
       {{96, 35, Concat({96, 35, 20, 1, 2, 1, 3}, Range(0, 32))},
        {96, 35, Concat({96, 35, 20, 2}, Range(32, 67))},
        {96, 35, Concat({96, 35, 20, 3}, Range(67, 102))},
        {96, 35, Concat({96, 35, 20, 4}, Range(102, 137))},
        {96, 35, Concat({96, 35, 20, 5}, Range(137, 172))},
        {96, 35, Concat({96, 35, 20, 6}, Range(172, 193))}}},
      {"DLockFinger_QueryFingerprintFeature",
       [&] { return CM_IOT_DLockFinger_QueryFingerprintFeature(h, kNvs, 1, 2, 0x1234); },
       {{96, 36, {96, 2, 21, 1, 0x34, 0x12}}}},
  };
  std::size_t total = 0;
  for (const auto& c : cases) {
    ASSERT_EQ(c.call(), 1) << c.name;
    total += c.frames.size();
    ASSERT_TRUE(server.WaitFor("iot", total, 3000ms)) << c.name;
    const auto sent = Iots();
    ASSERT_EQ(sent.size(), total) << c.name;
    for (std::size_t i = 0; i < c.frames.size(); ++i) {
      const Frame got = FrameOf(sent[total - c.frames.size() + i]);
      EXPECT_EQ(got.code, c.frames[i].code) << c.name << " " << i;
      EXPECT_EQ(got.fn, c.frames[i].fn) << c.name << " " << i;
      EXPECT_EQ(got.payload, c.frames[i].payload) << c.name << " " << i;
    }
  }
  // Not connected: nothing goes, 0.
  server.CloseConnection();
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  for (const auto& c : cases) EXPECT_EQ(c.call(), 0) << c.name;
}

TEST_F(DoorLockSession, MultiFrameOperationsPauseBetweenFrames) {
  LogIn();
  const Bytes year(48, 1);
  ASSERT_EQ(CM_IOT_DAC_SetWorkdayOfYear(handle.get(), kNvs, 1, 2, 21, year.data(), 48), 1);
  ASSERT_EQ(CM_IOT_DLockFinger_SetFingerprintFeature(handle.get(), kNvs, 1, 2, 1, 1, kFeature0To192), 1);
  ASSERT_TRUE(server.WaitFor("iot", 8, 3000ms));
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), 8u);
  // 500 ms and 100 ms on the sending side; receiving may bunch them a little.
  EXPECT_GE(sent[1].time - sent[0].time, 400ms);
  for (std::size_t i = 3; i < 8; ++i) EXPECT_GE(sent[i].time - sent[i - 1].time, 70ms) << i;
}

TEST_F(DoorLockSession, RefusedArgumentsSendNothing) {
  LogIn();
  IotHandle* h = handle.get();
  const unsigned char data[48] = {};
  const std::vector<std::pair<const char*, std::function<int()>>> nulls = {
      {"DAC_SetTime", [&] { return CM_IOT_DAC_SetTime(h, kNvs, 1, 2, nullptr); }},
      {"DLockFinger_SetTime", [&] { return CM_IOT_DLockFinger_SetTime(h, kNvs, 1, 2, nullptr); }},
      {"DAC_SetWorkdayOfMonth", [&] { return CM_IOT_DAC_SetWorkdayOfMonth(h, kNvs, 1, 2, 21, 1, nullptr, 4); }},
      {"DAC_SetWorkdayOfYear", [&] { return CM_IOT_DAC_SetWorkdayOfYear(h, kNvs, 1, 2, 21, nullptr, 0); }},
      {"DLockFinger_SetWorkdayOfMonth",
       [&] { return CM_IOT_DLockFinger_SetWorkdayOfMonth(h, kNvs, 1, 2, 21, 1, nullptr, 4); }},
      {"DLockFinger_SetWorkdayOfYear",
       [&] { return CM_IOT_DLockFinger_SetWorkdayOfYear(h, kNvs, 1, 2, 21, nullptr, 48); }},
      {"DLockFinger_SetFingerprintFeature",
       [&] { return CM_IOT_DLockFinger_SetFingerprintFeature(h, kNvs, 1, 2, 1, 1, nullptr); }},
  };
  for (const auto& [name, call] : nulls) EXPECT_EQ(call(), -1) << name;
  for (const char* text : {"garbage", "2021-02-30 10:00:00", "", "2021-12-31 25:00:00"}) {
    EXPECT_EQ(CM_IOT_DAC_SetTime(h, kNvs, 1, 2, text), 0) << text;
    EXPECT_EQ(CM_IOT_DLockFinger_SetTime(h, kNvs, 1, 2, text), 0) << text;
  }
  const std::string tooLong = std::string(kFeature0To192).substr(0, 256) + "AAAAAAAA";
  for (const std::string& feature : {tooLong, std::string(), std::string("not base64"), std::string("AB")})
    EXPECT_EQ(CM_IOT_DLockFinger_SetFingerprintFeature(h, kNvs, 1, 2, 1, 1, feature.c_str()), 0) << feature;
  // Nothing left before this frame.
  ASSERT_EQ(CM_IOT_DAC_SetWorkdayOfMonth(h, kNvs, 1, 2, 21, 1, data, 0), 1);
  ASSERT_TRUE(server.WaitFor("iot", 1, 3000ms));
  std::this_thread::sleep_for(50ms);
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(FrameOf(sent[0]).payload, Bytes({80, 6, 3, 1, 0x21, 1, 0, 0, 0, 0}));
}

TEST_F(DoorLockSession, WorkdaysOfTheYearGiveTheSecondFramesResult) {
  LogIn();
  MakeNodeFile(1, 2, 80);
  const Bytes year(48, 0x0F);
  auto start = [&] {
    return std::async(std::launch::async, [&] {
      return CM_IOT_DLockFinger_SetWorkdayOfYear(handle.get(), kNvs, 1, 2, 21, year.data(), 48);
    });
  };
  // Only the first frame fails: 1, and the second went out.
  {
    session->FailSendsForTesting(true);
    auto result = start();
    ASSERT_TRUE(WaitUntil([&] { return NodeChild(1, 2, "cmdbackstatus") == "client:与服务通讯失败"; }));
    session->FailSendsForTesting(false);
    EXPECT_EQ(result.get(), 1);
    ASSERT_TRUE(server.WaitFor("iot", 1, 3000ms));
    const auto sent = Iots();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(FrameOf(sent[0]).payload[5], 2);
  }
  // Only the second frame fails: 0, and the first went out.
  {
    auto result = start();
    ASSERT_TRUE(server.WaitFor("iot", 2, 3000ms));
    session->FailSendsForTesting(true);
    EXPECT_EQ(result.get(), 0);
    session->FailSendsForTesting(false);
    const auto sent = Iots();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(FrameOf(sent[1]).payload[5], 1);
  }
}

TEST_F(DoorLockSession, FingerprintFeatureIsOneOnlyWhenAllSixFramesWent) {
  LogIn();
  IotHandle* h = handle.get();
  session->FailSendsForTesting(true);
  EXPECT_EQ(CM_IOT_DLockFinger_SetFingerprintFeature(h, kNvs, 1, 2, 1, 1, kFeature0To192), 0);
  session->FailSendsForTesting(false);
  // The first frames go, then sending fails.
  auto result = std::async(std::launch::async, [&] {
    return CM_IOT_DLockFinger_SetFingerprintFeature(h, kNvs, 1, 2, 1, 1, kFeature0To192);
  });
  ASSERT_TRUE(server.WaitFor("iot", 1, 3000ms));
  session->FailSendsForTesting(true);
  EXPECT_EQ(result.get(), 0);
  session->FailSendsForTesting(false);
  const std::size_t went = Iots().size();
  EXPECT_GE(went, 1u);
  EXPECT_LT(went, 6u);
}

TEST_F(DoorLockSession, CardLockAnswersReachTheApplication) {
  LogInToSimulatedDevices();
  ListenForNotifications();
  ASSERT_EQ(CM_IOT_DAC_Open(handle.get(), kNvs, 3, 4), 1);
  const std::string element = "{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":";
  const std::string tail = ",\"netid\":3,\"nodid\":4,\"nvsid\":1000001,\"version\":2}\n";
  EXPECT_EQ(NextDatagram(), NodeDatagram("{\"data\":{\"operation\":" + element + "\"OpenDoor\"},\"status\":" + element +
                                         "\"success\"}},\"devtype\":\"DLOCK\",\"msg\":\"OperationResult\"" + tail));
  EXPECT_EQ(NextDatagram(), NodeDatagram("{\"data\":{\"info\":" + element +
                                         "\"DoorOpen\"}},\"devtype\":\"DLOCK\",\"msg\":\"status\"" + tail));
}

TEST_F(DoorLockSession, FingerprintLockSendsBackTheFeatureInSixParts) {
  LogInToSimulatedDevices();
  ListenForNotifications();
  const std::string tail = ",\"netid\":3,\"nodid\":4,\"nvsid\":1000001,\"version\":2}\n";
  ASSERT_EQ(CM_IOT_DLockFinger_SetFingerprintFeature(handle.get(), kNvs, 3, 4, 258, 3, kFeature0To192), 1);
  EXPECT_EQ(NextDatagram(),
            NodeDatagram("{\"data\":{\"operation\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\","
                         "\"value\":\"SetFingerprintFeature\"},\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":"
                         "\"string\",\"unit\":\"\",\"value\":\"success\"}},\"devtype\":\"DLOCKFINGER\",\"msg\":"
                         "\"OperationResult\"" +
                         tail));
  ASSERT_EQ(CM_IOT_DLockFinger_QueryFingerprintFeature(handle.get(), kNvs, 3, 4, 258), 1);
  EXPECT_EQ(NextDatagram(),
            NodeDatagram(
                "{\"data\":{\"data\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\""
                "AgMEBQYHCAkKCwwNDg8QERITFBUWFxgZGhscHR4fICEiIyQlJicoKSorLC0uLzAxMjM0NTY3ODk6Ozw9Pj9AQUJDREVGR0hJSktM"
                "TU5PUFFSU1RVVldYWVpbXF1eX2BhYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5ent8fX5/gIGCg4SFhoeIiYqLjI2Oj5CRkpOUlZaX"
                "mJmam5ydnp+goaKjpKWmp6ipqqusra6vsLGys7S1tre4ubq7vL2+v8DBwg==\"},"
                "\"permission\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":3},"
                "\"userid\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":258}},"
                "\"devtype\":\"DLOCKFINGER\",\"msg\":\"FingerprintFeature\"" +
                tail));
}
