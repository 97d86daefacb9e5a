#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

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

using devicetest::kNvs;

class Commands : public NodeFileSessionTest {
 protected:
  Commands() : NodeFileSessionTest("sentrell_cmd_") {}
};

}  // namespace

TEST_F(Commands, EveryExportSendsItsFrame) {
  LogIn();
  IotHandle* h = handle.get();
  struct Case {
    const char* name;
    std::function<int()> call;
    std::uint8_t code, fn;
    std::vector<std::uint8_t> payload;
  };
  const std::vector<Case> cases = {
      {"LAMP_Ctrl", [&] { return CM_IOT_LAMP_Ctrl(h, kNvs, 1, 2, 1); }, 81, 16, {1, 1}},
      {"LAMP_QueryStatus", [&] { return CM_IOT_LAMP_QueryStatus(h, kNvs, 1, 2); }, 81, 65, {1, 0}},
      {"EC_Ctrl", [&] { return CM_IOT_EC_Ctrl(h, kNvs, 1, 2, 2); }, 82, 18, {0}},
      {"EC_QueryStatus", [&] { return CM_IOT_EC_QueryStatus(h, kNvs, 1, 2); }, 82, 66, {0}},
      {"POWER_Ctrl", [&] { return CM_IOT_POWER_Ctrl(h, kNvs, 1, 2, 0); }, 83, 17, {0}},
      {"POWER_QueryStatus", [&] { return CM_IOT_POWER_QueryStatus(h, kNvs, 1, 2); }, 83, 67, {0}},
      {"CONTROL_Ctrl", [&] { return CM_IOT_CONTROL_Ctrl(h, kNvs, 1, 2, 1); }, 84, 16, {0}},
      {"CONTROL_QueryStatus", [&] { return CM_IOT_CONTROL_QueryStatus(h, kNvs, 1, 2); }, 84, 68, {0}},
      {"CONTROLTC_Ctrl", [&] { return CM_IOT_CONTROLTC_Ctrl(h, kNvs, 1, 2, 7); }, 85, 48, {}},
      {"CONTROLTC_QueryStatus", [&] { return CM_IOT_CONTROLTC_QueryStatus(h, kNvs, 1, 2); }, 85, 67, {0}},
      {"DEVPST_Ctrl", [&] { return CM_IOT_DEVPST_Ctrl(h, kNvs, 1, 2, 0); }, 90, 17, {90, 0, 1, 2}},
      {"WCAW_Ctrl", [&] { return CM_IOT_WCAW_Ctrl(h, kNvs, 1, 2, 70000); }, 32, 16, {0x60, 0xEA}},
      {"CC_Control", [&] { return CM_IOT_CC_Control(h, kNvs, 1, 2, 3); }, 87, 48, {3}},
      {"CC_QueryStatus", [&] { return CM_IOT_CC_QueryStatus(h, kNvs, 1, 2); }, 87, 64, {}},
      {"DCDB_QueryStatus", [&] { return CM_IOT_DCDB_QueryStatus(h, kNvs, 1, 2); }, 44, 64, {}},
      {"ADAPTER_Ctrl", [&] { return CM_IOT_ADAPTER_Ctrl(h, kNvs, 1, 2, 9); }, 103, 54, {9, 0, 0, 0}},
      {"ADAPTER_ReqType", [&] { return CM_IOT_ADAPTER_ReqType(h, kNvs, 1, 2); }, 103, 54, {1, 0, 0, 0}},
      {"ADAPTER_ReqData", [&] { return CM_IOT_ADAPTER_ReqData(h, kNvs, 1, 2); }, 103, 54, {2, 0, 0, 0}},
      {"HEALTHMON_SetMode", [&] { return CM_IOT_HEALTHMON_SetMode(h, kNvs, 1, 2, 1); }, 49, 81, {83, 0, 0, 0}},
      {"SPHYGMOMETER_Ctrl", [&] { return CM_IOT_SPHYGMOMETER_Ctrl(h, kNvs, 1, 2, 2); }, 196, 49, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), 1) << c.name;
  ASSERT_TRUE(server.WaitFor("iot", cases.size(), 3000ms));
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), cases.size());
  std::set<int> sequences;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto& m = sent[i].parsed;
    EXPECT_EQ(m.Header("CType"), "iot") << cases[i].name;
    EXPECT_EQ(m.Header("Content-Type"), "sdp");
    EXPECT_EQ(m.Header("Contact"), "server");
    EXPECT_EQ(static_cast<std::uint32_t>(m.IntHeader("Class")), kNvs);
    sequences.insert(m.IntHeader("CSeq"));
    const auto frame = standin::DecodeDeviceFrame(m.body);
    ASSERT_TRUE(frame) << cases[i].name;
    EXPECT_EQ(frame->netId, 1);
    EXPECT_EQ(frame->nodeAddress, 2);
    EXPECT_EQ(frame->commandCode, cases[i].code) << cases[i].name;
    EXPECT_EQ(frame->functionByte, cases[i].fn) << cases[i].name;
    EXPECT_EQ(frame->payload, cases[i].payload) << cases[i].name;
  }
  EXPECT_EQ(sequences.size(), cases.size());
  // Not connected: not sent.
  server.CloseConnection();
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  for (const auto& c : cases) EXPECT_EQ(c.call(), 0) << c.name;
}

TEST_F(Commands, LampFollowsTheRecordedNodeType) {
  fs::create_directories(folder);
  LogIn();
  MakeNodeFile(1, 2, 209);
  MakeNodeFile(1, 3, 82);
  EXPECT_EQ(CM_IOT_LAMP_Ctrl(handle.get(), kNvs, 1, 2, 1), 1);
  EXPECT_EQ(CM_IOT_LAMP_Ctrl(handle.get(), kNvs, 1, 3, 1), 0);
  EXPECT_EQ(CM_IOT_LAMP_Ctrl(handle.get(), 42, 1, 3, 1), 1);  // no node file: a plain lamp
  ASSERT_TRUE(server.WaitFor("iot", 2, 2000ms));
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(standin::DecodeDeviceFrame(sent[0].parsed.body)->commandCode, 209);
  EXPECT_EQ(standin::DecodeDeviceFrame(sent[0].parsed.body)->functionByte, 48);
  EXPECT_EQ(standin::DecodeDeviceFrame(sent[1].parsed.body)->commandCode, 81);
}

TEST_F(Commands, DeliveryReportsAreWrittenToTheNodeFile) {
  std::atomic<int> acks{2};
  LogIn([&](const standin::ParsedMessage& request) {
    const int cseq = request.IntHeader("CSeq"), nvsid = request.IntHeader("Class");
    if (acks.load() == 2) return std::vector<standin::OutgoingMessage>{standin::IotAck(cseq, nvsid, 0)};
    return std::vector<standin::OutgoingMessage>{};
  });
  MakeNodeFile(0, 2, 81);
  EXPECT_EQ(CM_IOT_POWER_Ctrl(handle.get(), kNvs, 0, 2, 0), 1);  // function byte 17
  ASSERT_TRUE(WaitUntil([&] { return NodeChild(0, 2, "cmdbackstatus") == "server:服务已经收到命令"; }));
  EXPECT_EQ(NodeChild(0, 2, "cmdsenddata"), "17");
  const int cseq = std::stoi(NodeChild(0, 2, "cmdsendrandnum"));
  EXPECT_EQ(session->PendingCount(), 1u);
  server.Send(standin::IotAck(cseq, static_cast<int>(kNvs), 2));
  ASSERT_TRUE(WaitUntil([&] { return NodeChild(0, 2, "cmdbackstatus") == "server:命令发送到NVS成功"; }));
  EXPECT_TRUE(WaitUntil([&] { return session->PendingCount() == 0; }));
  // A report on an unknown command changes nothing.
  server.Send(standin::IotAck(cseq + 1000, static_cast<int>(kNvs), 1));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(NodeChild(0, 2, "cmdbackstatus"), "server:命令发送到NVS成功");
  // Function bytes outside the recorded ranges leave the file alone.
  acks = 0;
  EXPECT_EQ(CM_IOT_POWER_QueryStatus(handle.get(), kNvs, 0, 2), 1);  // 67
  EXPECT_EQ(session->SendIotFrame(kNvs, 83, 7, nullptr, 0, 0, 2, 1), 1);
  ASSERT_TRUE(server.WaitFor("iot", 3, 2000ms));
  EXPECT_EQ(NodeChild(0, 2, "cmdsendrandnum"), std::to_string(cseq));
  EXPECT_EQ(session->PendingCount(), 0u);
  server.SetScript(standin::Script{});  // the answers above use this test's locals
}

TEST_F(Commands, FailedSendIsWrittenAsSuchAndUnansweredEntriesExpire) {
  LogIn();
  MakeNodeFile(1, 2, 81);
  static std::atomic<std::time_t> now{100000};
  session->SetWallClockForTesting([] { return now.load(); });
  session->FailSendsForTesting(true);
  EXPECT_EQ(CM_IOT_POWER_Ctrl(handle.get(), kNvs, 1, 2, 1), 0);
  EXPECT_EQ(NodeChild(1, 2, "cmdbackstatus"), "client:与服务通讯失败");
  EXPECT_EQ(session->PendingCount(), 1u);  // kept although nothing went out
  session->FailSendsForTesting(false);
  now += 1;
  EXPECT_EQ(CM_IOT_POWER_Ctrl(handle.get(), kNvs, 1, 2, 0), 1);
  EXPECT_EQ(NodeChild(1, 2, "cmdbackstatus"), "client:命令已经发送到服务器");
  now += 8;
  EXPECT_EQ(session->ExpirePendingCmds(), 1);
  EXPECT_EQ(session->PendingCount(), 1u);  // the first is 9 s old, the second 8 s
  now += 1;
  EXPECT_EQ(session->ExpirePendingCmds(), 1);
  EXPECT_EQ(session->PendingCount(), 0u);
}

TEST_F(Commands, RawPacketsAndRefusals) {
  LogIn();
  const unsigned char bytes[] = {1, 2, 3};
  EXPECT_EQ(CM_SendIOTPacket(handle.get(), kNvs, bytes, 3), 1212);
  EXPECT_EQ(CM_SendIOTPacket(handle.get(), kNvs, nullptr, 3), -1);
  EXPECT_EQ(CM_SendIOTPacket(handle.get(), kNvs, bytes, 0), -1);
  const std::vector<unsigned char> tooLong(1100, 7);
  EXPECT_EQ(CM_SendIOTPacket(handle.get(), kNvs, tooLong.data(), static_cast<int>(tooLong.size())), -1);
  const std::vector<std::uint8_t> payload(244, 1);
  EXPECT_EQ(session->SendIotFrame(kNvs, 81, 16, payload.data(), 244, 1, 1, 1), 0);
  ASSERT_TRUE(server.WaitFor("iot", 1, 2000ms));
  std::this_thread::sleep_for(50ms);
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].parsed.body, std::string("\x01\x02\x03", 3));
  EXPECT_EQ(sent[0].parsed.IntHeader("CSeq", -1), 0);
}

TEST_F(Commands, LampReplyReachesTheApplicationAndTheCallback) {
  const int udp = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(udp, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  socklen_t length = sizeof sa;
  ::getsockname(udp, reinterpret_cast<sockaddr*>(&sa), &length);
  standin::SimulatedDevices devices;
  LogIn([devices](const standin::ParsedMessage& request) mutable { return devices.Answer(request); });
  ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), ntohs(sa.sin_port)), 1);
  static std::mutex calls;
  static std::vector<std::pair<std::uint32_t, std::string>> bodies;
  bodies.clear();
  ASSERT_EQ(CM_SetIOTCallBack(handle.get(),
                              [](uint32_t nvsid, const unsigned char* body, int len, void*) {
                                std::lock_guard lock(calls);
                                bodies.emplace_back(nvsid, std::string(reinterpret_cast<const char*>(body),
                                                                       static_cast<std::size_t>(len)));
                                return 0;
                              },
                              nullptr),
            1);
  ASSERT_EQ(CM_IOT_LAMP_Ctrl(handle.get(), kNvs, 3, 4, 1), 1);
  pollfd pfd{udp, POLLIN, 0};
  ASSERT_EQ(::poll(&pfd, 1, 3000), 1);
  char buffer[4096];
  const ssize_t n = ::recv(udp, buffer, sizeof buffer, 0);
  const std::string text =
      "{\"data\":{\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"on\"}},"
      "\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":3,\"nodid\":4,\"nvsid\":1000001,\"version\":2}\n";
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), "VER=2.1&MSG=NODEMSG&DAT=" + text + std::string(1, '\0'));
  ASSERT_TRUE(WaitUntil([&] {
    std::lock_guard lock(calls);
    return bodies.size() == 1;
  }));
  {
    std::lock_guard lock(calls);
    EXPECT_EQ(bodies[0].first, kNvs);
    EXPECT_EQ(standin::DecodeDeviceFrame(bodies[0].second)->functionByte, 0x30);
  }
  // A routing event is announced but not handed to the callback; a corrupt frame gives nothing.
  standin::DeviceFrame offline{3, 4, 81, 13, {3, 0, 4, 0}};
  server.Send(standin::IotReply(static_cast<int>(kNvs), offline));
  ASSERT_EQ(::poll(&pfd, 1, 3000), 1);
  const ssize_t m = ::recv(udp, buffer, sizeof buffer, 0);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(m)),
            std::string("VER=2.1&MSG=ROUTING&DAT={\"cmd\":13,\"content\":\"NodeOffline\",\"extdata\":0,\"netid\":3,"
                        "\"nodid\":4}\n") +
                std::string(1, '\0'));
  auto corrupt = standin::IotReply(static_cast<int>(kNvs), standin::DeviceFrame{3, 4, 81, 0x41, {1, 1}});
  corrupt.body.back() = static_cast<char>(corrupt.body.back() + 1);
  server.Send(corrupt);
  EXPECT_EQ(::poll(&pfd, 1, 200), 0);
  std::lock_guard lock(calls);
  EXPECT_EQ(bodies.size(), 1u);
  ::close(udp);
}

TEST_F(Commands, EightThreadsSendingAtOnceKeepEveryBlockWhole) {
  std::mutex mutex;
  std::set<int> acked;
  LogIn([&](const standin::ParsedMessage& request) {
    std::lock_guard lock(mutex);
    acked.insert(request.IntHeader("CSeq"));
    return std::vector<standin::OutgoingMessage>{
        standin::IotAck(request.IntHeader("CSeq"), request.IntHeader("Class"), 2)};
  });
  constexpr int kThreads = 8, kEach = 25;
  for (int t = 0; t < kThreads; ++t) MakeNodeFile(1, t, 83);
  std::atomic<int> sentCount{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) sentCount += CM_IOT_POWER_Ctrl(handle.get(), kNvs, 1, static_cast<uint16_t>(t), i % 2);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(sentCount.load(), kThreads * kEach);
  ASSERT_TRUE(server.WaitFor("iot", kThreads * kEach, 5000ms));
  std::set<int> sequences;
  for (const auto& m : Iots()) {
    EXPECT_TRUE(m.complete);
    EXPECT_TRUE(m.parsed.error.empty()) << m.parsed.error;
    EXPECT_TRUE(standin::DecodeDeviceFrame(m.parsed.body));
    sequences.insert(m.parsed.IntHeader("CSeq"));
  }
  EXPECT_EQ(sequences.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_TRUE(WaitUntil([&] { return session->PendingCount() == 0; }));
  server.SetScript(standin::Script{});  // the answers above use this test's locals
}
