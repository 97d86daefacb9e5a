// The infrared appliance exports through the stand-in: the frames it
// receives, the results, the air conditioners' states and the remote's
// answer at the application's UDP port.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/ac_states_infrared.h"
#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "sentrell.h"
#include "device_session_fixture.h"
#include "tools/builtin_devices.h"
#include "tools/iot_frames.h"

using namespace std::chrono_literals;

namespace {

using devicetest::Handle;
using devicetest::kNvs;

std::pair<int, int> LocalHourMinute() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_hour, local.tm_min};
}

class Appliances : public StandinSessionTest {
 protected:
  void SetUp() override {
    StandinSessionTest::SetUp();
    standin::Script script;
    script.answers["iot"] = [this](const standin::ParsedMessage& request) { return devices.Answer(request); };
    ASSERT_TRUE(server.SetScript(script));
    handle = LogIn();
    ASSERT_TRUE(handle);
    session = LiveSession(handle.get());
  }
  void TearDown() override {
    session.reset();
    handle.reset();
    StandinSessionTest::TearDown();
  }
  Handle LogIn() {
    Handle h(CM_Init(1));
    if (!h || CM_Login(h.get(), "127.0.0.1", "u", "p") != 1) return nullptr;
    return h;
  }
  // The payloads of the frames received so far, after waiting for `count`.
  std::vector<std::vector<std::uint8_t>> Frames(std::size_t count) {
    EXPECT_TRUE(server.WaitFor("iot", count, 3000ms));
    std::vector<std::vector<std::uint8_t>> payloads;
    for (const auto& m : server.Received()) {
      if (m.cmd != "iot") continue;
      const auto frame = standin::DecodeDeviceFrame(m.parsed.body);
      EXPECT_TRUE(frame);
      if (!frame) continue;
      EXPECT_EQ(frame->commandCode, 102);
      EXPECT_EQ(frame->functionByte, 102);
      EXPECT_EQ(frame->netId, 1);
      EXPECT_EQ(frame->nodeAddress, 2);
      payloads.push_back(frame->payload);
    }
    return payloads;
  }
  std::size_t FramesSent() const {
    std::size_t n = 0;
    for (const auto& m : server.Received()) n += m.cmd == "iot";
    return n;
  }

  standin::SimulatedDevices devices;
  Handle handle;
  std::shared_ptr<CIotSession> session;
};

// The 12 bytes of an air-conditioner key whose state was created between the
// two clock readings.
::testing::AssertionResult IsAcKey(const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t> head,
                                   std::pair<int, int> before, std::pair<int, int> after) {
  if (payload.size() != 12) return ::testing::AssertionFailure() << "size " << payload.size();
  if (!std::equal(head.begin(), head.end(), payload.begin()))
    return ::testing::AssertionFailure() << "head differs";
  const std::pair<int, int> created{payload[10], payload[11]};
  if (created != before && created != after) return ::testing::AssertionFailure() << "creation time differs";
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST_F(Appliances, EveryExportSendsItsKey) {
  IotHandle* h = handle.get();
  struct Case {
    const char* name;
    std::function<int()> call;
    std::vector<std::uint8_t> payload;
  };
  const std::vector<Case> cases = {
      {"HEACtrl", [&] { return CM_IOT_HEACtrl(h, kNvs, 1, 2, 1, 3, 9); }, {1, 9, 3, 0}},
      {"HA_VCR", [&] { return CM_IOT_HA_VCR(h, kNvs, 1, 2, 3, 9); }, {1, 9, 3, 0}},
      {"HA_SAT", [&] { return CM_IOT_HA_SAT(h, kNvs, 1, 2, 3, 9); }, {2, 9, 3, 0}},
      {"HA_DVD", [&] { return CM_IOT_HA_DVD(h, kNvs, 1, 2, 3, 9); }, {3, 9, 3, 0}},
      {"HA_CD", [&] { return CM_IOT_HA_CD(h, kNvs, 1, 2, 3, 9); }, {4, 9, 3, 0}},
      {"HA_TV", [&] { return CM_IOT_HA_TV(h, kNvs, 1, 2, 3, 9); }, {6, 9, 3, 0}},
      {"HA_STB", [&] { return CM_IOT_HA_STB(h, kNvs, 1, 2, 0x1FF, 0x10A); }, {7, 0x0A, 0xFF, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), 1) << c.name;
  const auto sent = Frames(cases.size());
  ASSERT_EQ(sent.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(sent[i], cases[i].payload) << cases[i].name;
}

TEST_F(Appliances, AirConditionerKeysCarryTheStateTheyLeave) {
  IotHandle* h = handle.get();
  const auto before = LocalHourMinute();
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 1, 2), 1);
  const auto after = LocalHourMinute();
  EXPECT_EQ(CM_IOT_HEACtrl(h, kNvs, 1, 2, 5, 1, 2), 1);  // kind 5 is the same key on the same state
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 0x101, 1), 1);    // unit 1 again (its low byte)
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 1, 4), 1);
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 1, 9), 1);        // changes nothing, still sent
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 2, 3), 1);        // another unit
  const auto sent = Frames(6);
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_TRUE(IsAcKey(sent[0], {5, 2, 1, 0, 21, 0, 1, 1, 0, 0}, before, after));
  EXPECT_TRUE(IsAcKey(sent[1], {5, 2, 1, 0, 22, 0, 1, 1, 0, 0}, before, after));
  EXPECT_TRUE(IsAcKey(sent[2], {5, 1, 1, 0, 22, 0, 1, 1, 1, 0}, before, after));
  EXPECT_TRUE(IsAcKey(sent[3], {5, 4, 1, 0, 22, 1, 1, 1, 1, 0}, before, after));
  EXPECT_TRUE(IsAcKey(sent[4], {5, 9, 1, 0, 22, 1, 1, 1, 1, 0}, before, after));
  const auto later = LocalHourMinute();
  EXPECT_TRUE(IsAcKey(sent[5], {5, 3, 2, 0, 19, 0, 1, 1, 0, 0}, before, later));
  for (std::size_t i = 1; i < 5; ++i) {
    EXPECT_EQ(sent[i][10], sent[0][10]);
    EXPECT_EQ(sent[i][11], sent[0][11]);
  }
}

TEST_F(Appliances, StatesAreKeptPerNodeAndPerSession) {
  IotHandle* h = handle.get();
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 1, 2), 1);
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 3, 1, 2), 1);  // another node with unit 1
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs + 1, 1, 2, 1, 2), 1);  // the same node on another gateway
  Handle second = LogIn();
  ASSERT_TRUE(second);
  EXPECT_EQ(CM_IOT_HA_AC(second.get(), kNvs, 1, 2, 1, 2), 1);  // the same node from another session
  ASSERT_TRUE(server.WaitFor("iot", 4, 3000ms));
  std::vector<std::uint8_t> temperatures;
  for (const auto& m : server.Received())
    if (m.cmd == "iot") temperatures.push_back(standin::DecodeDeviceFrame(m.parsed.body)->payload.at(4));
  EXPECT_EQ(temperatures, (std::vector<std::uint8_t>{21, 21, 21, 21}));
  const auto states = AcStatesOf(session);
  ASSERT_TRUE(states);
  EXPECT_EQ((*states->Find(AcUnit{kNvs, 1, 2, 1}))[0], 21);
  EXPECT_EQ((*AcStatesOf(LiveSession(second.get()))->Find(AcUnit{kNvs, 1, 2, 1}))[0], 21);
}

TEST_F(Appliances, GettingTheCurrentValueOnlyCreatesTheState) {
  IotHandle* h = handle.get();
  const auto before = LocalHourMinute();
  EXPECT_EQ(CM_IOT_HA_GetACCurValue(h, kNvs, 1, 2, 4), 1);
  const auto after = LocalHourMinute();
  const auto created = AcStatesOf(session)->Find(AcUnit{kNvs, 1, 2, 4});
  ASSERT_TRUE(created);
  EXPECT_EQ(std::vector<std::uint8_t>(created->begin(), created->begin() + 6),
            (std::vector<std::uint8_t>{20, 0, 1, 1, 0, 0}));
  const std::pair<int, int> time{(*created)[6], (*created)[7]};
  EXPECT_TRUE(time == before || time == after);
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 4, 3), 1);
  EXPECT_EQ(CM_IOT_HA_GetACCurValue(h, kNvs, 1, 2, 4), 1);  // leaves the state as it is
  EXPECT_EQ((*AcStatesOf(session)->Find(AcUnit{kNvs, 1, 2, 4}))[0], 19);
  const auto sent = Frames(1);
  EXPECT_EQ(sent.size(), 1u);  // only the key went out
}

TEST_F(Appliances, RefusedKindsAndUnsentKeys) {
  IotHandle* h = handle.get();
  for (int kind : {0, 8, -1, 0x105}) EXPECT_EQ(CM_IOT_HEACtrl(h, kNvs, 1, 2, kind, 1, 2), -1) << kind;
  EXPECT_FALSE(AcStatesOf(session)->Find(AcUnit{kNvs, 1, 2, 1}));  // nothing changed
  session->FailSendsForTesting(true);
  EXPECT_EQ(CM_IOT_HEACtrl(h, kNvs, 1, 2, 6, 1, 2), -1);
  EXPECT_EQ(CM_IOT_HA_TV(h, kNvs, 1, 2, 1, 2), -1);
  EXPECT_EQ(CM_IOT_HEACtrl(h, kNvs, 1, 2, 5, 1, 2), -1);
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 1, 2), 0);
  EXPECT_EQ(CM_IOT_HA_GetACCurValue(h, kNvs, 1, 2, 1), 1);
  session->FailSendsForTesting(false);
  // The keys that did not go out still changed the state.
  EXPECT_EQ(CM_IOT_HA_AC(h, kNvs, 1, 2, 1, 2), 1);
  const auto sent = Frames(1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].at(4), 23);
  EXPECT_EQ(FramesSent(), 1u);
}

TEST_F(Appliances, TheRemoteAnnouncesTheExecutedKey) {
  const int udp = ::socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(udp, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(udp, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
  socklen_t length = sizeof sa;
  ::getsockname(udp, reinterpret_cast<sockaddr*>(&sa), &length);
  ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), ntohs(sa.sin_port)), 1);
  const std::string exec =
      "VER=2.1&MSG=NODEMSG&DAT={\"data\":{\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\","
      "\"unit\":\"\",\"value\":\"exec\"}},\"devtype\":\"IREMOTER\",\"msg\":\"cmdstatus\",\"netid\":1,\"nodid\":2,"
      "\"nvsid\":1000001,\"version\":2}\n" +
      std::string(1, '\0');
  for (const auto& send : std::vector<std::function<int()>>{
           [&] { return CM_IOT_HA_TV(handle.get(), kNvs, 1, 2, 3, 9); },
           [&] { return CM_IOT_HA_AC(handle.get(), kNvs, 1, 2, 1, 1); }}) {
    ASSERT_EQ(send(), 1);
    pollfd pfd{udp, POLLIN, 0};
    ASSERT_EQ(::poll(&pfd, 1, 3000), 1);
    char buffer[4096];
    const ssize_t n = ::recv(udp, buffer, sizeof buffer, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n > 0 ? n : 0)), exec);
  }
  ::close(udp);
}
