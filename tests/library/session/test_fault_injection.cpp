// A logged-in session against a hostile server. Each case of the table
// injects one fault into the stand-in and checks what must hold while it
// lasts; every case runs twice: freed while the fault lasts, and healed, where
// the session must recover (log in again when the fault ended the connection),
// keep every reply that arrived whole exactly once and still send commands.
// Freeing is bounded in both runs.
#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "device_session_fixture.h"
#include "library/xml/nvs_xml_store.h"
#include "sentrellplatform.h"
#include "support/deflate.h"
#include "support/wait_until.h"
#include "tools/gateway_pages.h"
#include "tools/iot_frames.h"

using namespace std::chrono_literals;
using testsupport::Deflate;
using testsupport::WaitUntil;

namespace {

constexpr int kNvsId = static_cast<int>(devicetest::kNvs);
// Bounds for loaded sanitizer runs; none of them is a speed assertion.
constexpr auto kWait = 10000ms;
constexpr auto kFreeBound = 5s;

// The replies carry their mark in the frame: the net id tells the phase, the
// node address the number within it.
constexpr std::uint16_t kBeforeNet = 1, kDuringNet = 2, kAfterNet = 3;
using Mark = std::pair<std::uint16_t, std::uint16_t>;
// The node of the command that shows a recovered session still sends.
constexpr std::uint16_t kFinalNode = 4321;

constexpr char kClientSent[] = "client:命令已经发送到服务器";
constexpr char kServerDelivered[] = "server:命令发送到NVS成功";

// A lamp's status reply: decoded into a node message and handed to the callback.
standin::OutgoingMessage Reply(Mark mark) {
  return standin::IotReply(kNvsId, standin::DeviceFrame{mark.first, mark.second, 81, 0x41, {1, 1}});
}

standin::OutgoingMessage Message(const std::string& cmd, const std::string& body, const std::string& contentType,
                                 const std::string& ctype = "") {
  standin::OutgoingMessage m = standin::ServerRequest(cmd, kNvsId, body, contentType);
  m.ctype = ctype;
  return m;
}

std::vector<standin::Gateway> ListedGateways() {
  return {{kNvsId, standin::kGatewayOnline, "hall"}, {kNvsId + 1, 0, "yard"}};
}

std::atomic<std::time_t> wallClock{100000};
std::time_t TestClock() { return wallClock.load(); }

class FaultInjection;

struct FaultCase {
  const char* name;
  void (*inject)(FaultInjection&);  // the fault, with the checks that need no waiting
  void (*verify)(FaultInjection&);  // what must hold while the fault lasts; may be null
  void (*heal)(FaultInjection&);    // the server back to normal; may be null
  bool closes;                      // the connection ends: the session must log in again
};

// Failure messages show the case by its name.
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class FaultInjection : public NodeFileSessionTest,
                       public ::testing::WithParamInterface<std::tuple<FaultCase, bool>> {
 public:
  FaultInjection() : NodeFileSessionTest("sentrell_fault_") {}
  // For the cases of the table.
  using DeviceSessionTest::handle;
  using DeviceSessionTest::session;
  using NodeFileSessionTest::folder;
  using NodeFileSessionTest::NodeChild;
  using StandinSessionTest::server;

  void SetUp() override {
    NodeFileSessionTest::SetUp();
    timing.keepAliveMs = 100;
    timing.reconnectMs = 100;
    timing.sendCompletionMs = 300;
    ApplyTiming();
    wallClock = 100000;
  }
  void TearDown() override {
    NodeFileSessionTest::TearDown();
    // Notifications left in this thread's queue: their texts went with the session.
    PlatMsg msg{};
    for (int i = 0; i < 100000 && PlatPeekMessage(&msg, 0, 0, 1); ++i) {
    }
  }

  // Logs in to a server that sends the gateway list after every "connect".
  void Start() {
    standin::Script script;
    script.sendGatewayList = true;
    script.gateways = ListedGateways();
    ASSERT_TRUE(server.SetScript(script));
    handle.reset(CM_Init(1));
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(CM_SetNVSXmlPath(handle.get(), folder.c_str()), 1);
    ASSERT_EQ(CM_SetIOTCallBack(handle.get(), &FaultInjection::OnIot, this), 1);
    ASSERT_EQ(CM_Login(handle.get(), "127.0.0.1", "u", "p"), 1);
    session = LiveSession(handle.get());
    session->SetWallClockForTesting(&TestClock);
    ASSERT_TRUE(WaitUntil([&] { return session->CopyNvsList().count == 2; }, kWait));
  }

  // A reply the server sends whole: it must reach the callback exactly once.
  void SendWhole(Mark mark) {
    {
      std::lock_guard lock(mutex_);
      ++expected_[mark];
    }
    ASSERT_TRUE(server.Send(Reply(mark)));
  }
  std::size_t Delivered(Mark mark) const {
    std::lock_guard lock(mutex_);
    const auto found = delivered_.find(mark);
    return found == delivered_.end() ? 0 : found->second;
  }
  std::size_t DeliveredCount() const {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    for (const auto& [mark, count] : delivered_) n += count;
    return n;
  }
  // A reply sent and awaited: what the server sent before it has been dispatched.
  void Barrier() {
    const Mark mark{kAfterNet, next_++};
    SendWhole(mark);
    ASSERT_TRUE(WaitUntil([&] { return Delivered(mark) == 1; }, kWait)) << "barrier " << mark.second;
  }
  void ExpectDeliveredExactlyOnce() const {
    std::lock_guard lock(mutex_);
    EXPECT_EQ(delivered_.size(), expected_.size());
    for (const auto& [mark, count] : delivered_) {
      const auto want = expected_.find(mark);
      EXPECT_TRUE(want != expected_.end()) << mark.first << "/" << mark.second << " was never sent whole";
      if (want != expected_.end()) {
        EXPECT_EQ(count, want->second) << mark.first << "/" << mark.second;
      }
    }
  }
  void ExpectDeliveredAtMostOnce() const {
    std::lock_guard lock(mutex_);
    for (const auto& [mark, count] : delivered_) {
      const auto want = expected_.find(mark);
      EXPECT_TRUE(want != expected_.end() && count <= want->second) << mark.first << "/" << mark.second;
    }
  }
  std::size_t Count(const std::string& cmd) const {
    std::size_t n = 0;
    for (const auto& m : server.Received())
      if (m.cmd == cmd && m.complete) ++n;
    return n;
  }
  // A recorded switch command to node (1, `node`); its CSeq, from the node file.
  int Command(std::uint16_t node) {
    MakeNodeFile(1, node, 83);
    EXPECT_EQ(CM_IOT_POWER_Ctrl(handle.get(), devicetest::kNvs, 1, node, 1), 1);
    const std::string cseq = NodeChild(1, node, "cmdsendrandnum");
    return cseq.empty() ? -1 : std::stoi(cseq);
  }

  // Whether a whole "iot" block for node (1, `node`) reached the server.
  bool CommandArrived(std::uint16_t node) const {
    for (const auto& m : server.Received()) {
      if (m.cmd != "iot" || !m.complete) continue;
      const auto frame = standin::DecodeDeviceFrame(m.parsed.body);
      if (frame && frame->netId == 1 && frame->nodeAddress == node) return true;
    }
    return false;
  }

  std::uint16_t port = 0;

 private:
  static int OnIot(std::uint32_t nvsid, const unsigned char* body, int length, void* user) {
    auto* self = static_cast<FaultInjection*>(user);
    const auto frame =
        standin::DecodeDeviceFrame(std::string(reinterpret_cast<const char*>(body), static_cast<std::size_t>(length)));
    std::lock_guard lock(self->mutex_);
    if (frame && nvsid == devicetest::kNvs) ++self->delivered_[{frame->netId, frame->nodeAddress}];
    else ++self->delivered_[{0, 0}];  // never sent: fails the exact comparison
    return 0;
  }

  mutable std::mutex mutex_;
  std::map<Mark, std::size_t> expected_;
  std::map<Mark, std::size_t> delivered_;
  std::uint16_t next_ = 0;
};

// ---- the cases

void SilentPeer(FaultInjection& t) {
  t.server.SetAnswering(false);
  EXPECT_GE(t.Command(5), 0);
  EXPECT_EQ(t.session->PendingCount(), 1u);
}
void SilentPeerHolds(FaultInjection& t) {
  // The keep-alives go out unanswered; the connection stays and so does the log-in.
  ASSERT_TRUE(t.server.WaitFor("connect", t.Count("connect") + 3, kWait));
  EXPECT_TRUE(t.session->IsConnected());
  EXPECT_TRUE(t.session->IsLoginAcked());
  EXPECT_EQ(t.server.ConnectionsAccepted(), 1u);
  // The command never acknowledged goes at an expiry pass once it is 9 s old.
  wallClock += 9;
  EXPECT_TRUE(WaitUntil([&] { return t.session->PendingCount() == 0; }, kWait));
  EXPECT_EQ(t.NodeChild(1, 5, "cmdbackstatus"), kClientSent);
}
void AnswerAgain(FaultInjection& t) { t.server.SetAnswering(true); }

void CloseMidBlock(FaultInjection& t) {
  for (std::uint16_t i = 0; i < 3; ++i) t.SendWhole({kDuringNet, i});
  t.server.CloseMidNext(600);
  ASSERT_TRUE(t.server.Send(Reply({kDuringNet, 3})));  // its first 600 bytes, then the close
}
void CloseMidBlockHolds(FaultInjection& t) {
  ASSERT_TRUE(WaitUntil([&] { return t.session->IsClosed() && !t.session->IsConnected(); }, kWait));
  for (std::uint16_t i = 0; i < 3; ++i) EXPECT_EQ(t.Delivered({kDuringNet, i}), 1u) << i;
  EXPECT_EQ(t.Delivered({kDuringNet, 3}), 0u);
}

void CloseThenSilent(FaultInjection& t) {
  t.server.SetAnswering(false);
  ASSERT_TRUE(t.server.CloseConnection());
}
void CloseThenSilentHolds(FaultInjection& t) {
  // The reconnection greets a server that answers nothing, more than once.
  ASSERT_TRUE(t.server.WaitFor("hello", 3, kWait));
  EXPECT_FALSE(t.session->IsLoginAcked());
}

void RefuseConnections(FaultInjection& t) {
  t.port = t.server.Port();
  t.server.Stop();
}
void RefusedHolds(FaultInjection& t) {
  ASSERT_TRUE(WaitUntil([&] { return !t.session->IsConnected(); }, kWait));
  // A fresh log-in is refused at once, and the reconnect thread keeps trying.
  devicetest::Handle other(CM_Init(1));
  EXPECT_EQ(CM_Login(other.get(), "127.0.0.1", "u", "p"), -1);
  other.reset();
  std::this_thread::sleep_for(300ms);  // a few refused reconnection rounds
  EXPECT_FALSE(t.session->IsConnected());
}
void ListenAgain(FaultInjection& t) { ASSERT_TRUE(t.server.Start("127.0.0.1", t.port)); }

// A small raw "iot" block: 1212 sent, 0 not.
int SendPacket(FaultInjection& t) {
  const unsigned char bytes[] = {1, 2, 3};
  return t.session->SendIotPacket(devicetest::kNvs, bytes, sizeof bytes);
}
void NeverRead(FaultInjection& t) {
  t.server.SetReading(false);
  // Replies still come from a server that reads nothing.
  for (std::uint16_t i = 0; i < 10; ++i) t.SendWhole({kDuringNet, i});
  ASSERT_TRUE(WaitUntil([&] { return t.DeliveredCount() == 11; }, kWait));  // with the mark before
  int sent = 0;
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  while (sent < 200000 && std::chrono::steady_clock::now() < deadline && SendPacket(t) > 0) ++sent;
  ASSERT_GT(sent, 0);
  ASSERT_LT(sent, 200000) << "the socket never filled";
}
void NeverReadHolds(FaultInjection& t) {
  // A block cut by the deadline drops the connection at once, blocks that
  // cannot start do through the keep-alive; more sends keep the socket full
  // while the kernel still finds room now and then.
  ASSERT_TRUE(WaitUntil(
      [&] {
        SendPacket(t);
        return !t.session->IsLoginAcked();
      },
      kWait));
  for (std::uint16_t i = 0; i < 10; ++i) EXPECT_EQ(t.Delivered({kDuringNet, i}), 1u) << i;
}
void ReadAgain(FaultInjection& t) { t.server.SetReading(true); }

void IotAckSequences(FaultInjection& t) {
  const int first = t.Command(2);
  ASSERT_GE(first, 0);
  for (const int status : {0, 0, 2, 2, 1, 0}) t.server.Send(standin::IotAck(first, kNvsId, status));
  t.server.Send(standin::IotAck(first + 1000, kNvsId, 1));      // never sent
  t.server.Send(standin::IotAck(first + 1001, kNvsId + 7, 2));  // never sent, to a gateway without a file
  t.Barrier();
  EXPECT_EQ(t.NodeChild(1, 2, "cmdbackstatus"), kServerDelivered);
  EXPECT_EQ(t.session->PendingCount(), 0u);
  // A report that comes after its command expired changes nothing.
  const int late = t.Command(3);
  ASSERT_GE(late, 0);
  ASSERT_EQ(t.session->PendingCount(), 1u);
  wallClock += 9;
  ASSERT_TRUE(WaitUntil([&] { return t.session->PendingCount() == 0; }, kWait));
  t.server.Send(standin::IotAck(late, kNvsId, 2));
  t.server.Send(standin::IotAck(late, kNvsId, 0));
  t.Barrier();
  EXPECT_EQ(t.NodeChild(1, 3, "cmdbackstatus"), kClientSent);
  EXPECT_EQ(t.NodeChild(1, 2, "cmdbackstatus"), kServerDelivered);
}

void CorruptBodies(FaultInjection& t) {
  const std::string nodes = std::string(2, '\0') + "1:lamp:online:81:3\n2:fan:online:83:3";
  t.server.Send(Message("sensor", nodes, ""));
  t.server.Send(Message("caminfo", Deflate("CamUserName=bob;CamAddress=Main street"), "zip"));
  t.Barrier();
  const auto nodeCount = [&] {
    CNvsXmlStore store(t.folder.string());
    return store.OpenNvsFile(devicetest::kNvs) ? store.GetNodesCount() : -1;
  };
  const auto gatewayFile = [&] {
    std::ifstream in(t.folder / ("nvs_" + std::to_string(kNvsId) + ".xml"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  ASSERT_EQ(nodeCount(), 2);
  ASSERT_EQ(t.NodeChild(3, 1, "name"), "lamp");
  ASSERT_NE(gatewayFile().find("<address>Main street</address>"), std::string::npos);

  const auto page = standin::GatewayListMessages({{kNvsId + 5, standin::kGatewayOnline, "lost"}});
  ASSERT_TRUE(page);
  const std::string packed = page->front().body;
  std::string flipped = packed;
  for (std::size_t i = 2; i < flipped.size(); i += 3) flipped[i] = static_cast<char>(~flipped[i]);
  std::string badSum = packed;
  badSum.back() = static_cast<char>(badSum.back() ^ 0x5A);
  const std::string nodesPacked = Deflate(std::string(2, '\0') + "9:ghost:online:81:3");
  const std::string camPacked = Deflate("CamUserName=eve;CamAddress=nowhere");
  const std::vector<std::string> corrupt = {
      packed.substr(0, packed.size() / 2), packed.substr(0, packed.size() - 1), flipped, badSum,
      std::string(), "plainly not zlib", std::string(40, '\0')};
  for (const auto& body : corrupt) {
    t.server.Send(Message("ack", body, "zip"));
    t.server.Send(Message("ack", body, "zip", "2/2"));
  }
  for (const auto& body : {nodesPacked.substr(0, nodesPacked.size() / 2), std::string("\x78\x9C\xFF\xFF", 4),
                           std::string("plainly not zlib")}) {
    t.server.Send(Message("sensor", body, "zip"));
  }
  for (const auto& body : {camPacked.substr(0, camPacked.size() - 3), std::string("\x78\x01", 2)}) {
    t.server.Send(Message("caminfo", body, "zip"));
  }
  // A node list whose inner stream is corrupt, and binary noise where text is
  // expected: taken as they stand, without harm.
  t.Barrier();
  EXPECT_EQ(nodeCount(), 2);
  EXPECT_EQ(t.NodeChild(3, 2, "name"), "fan");
  const std::string file = gatewayFile();
  EXPECT_NE(file.find("<address>Main street</address>"), std::string::npos);
  EXPECT_EQ(file.find("nowhere"), std::string::npos);
  t.server.Send(Message("sensor", std::string("\x02\x01", 2) + nodesPacked.substr(2, 5), ""));
  t.server.Send(Message("caminfo", std::string(900, '\xFF'), ""));
  t.server.Send(Message("sensor", std::string(2, '\0') + std::string(900, ':'), ""));
  t.Barrier();
  const NvsList list = t.session->CopyNvsList();
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.entries[0].nvsid, kNvsId);
  EXPECT_EQ(list.entries[1].nvsid, kNvsId + 1);
  CNvsXmlStore store(t.folder.string());
  EXPECT_FALSE(store.OpenNvsFile(static_cast<std::uint32_t>(kNvsId + 5)));
}

void Burst(FaultInjection& t) {
  PlatEnsureThreadQueue();
  ASSERT_EQ(CM_SetNotifyThreadID(t.handle.get(), PlatCurrentThreadId()), 1);
  for (std::uint16_t i = 0; i < 10000; ++i) t.SendWhole({kDuringNet, i});
}
void BurstHolds(FaultInjection& t) {
  // Every reply once in the callback and once as a node message on this thread's queue.
  std::vector<int> texts(10000, 0);
  std::size_t seen = 0;
  const auto deadline = std::chrono::steady_clock::now() + 4 * kWait;
  while (seen < texts.size() && std::chrono::steady_clock::now() < deadline) {
    PlatMsg msg{};
    if (PlatGetMessage(&msg, 100) != 1 || msg.message != NOTIFY_NODEMSG || msg.wParam == 0) continue;
    const std::string text = reinterpret_cast<const char*>(msg.wParam);
    const auto at = text.find("\"nodid\":");
    ASSERT_NE(at, std::string::npos) << text;
    const int node = std::stoi(text.substr(at + 8));
    ASSERT_TRUE(node >= 0 && node < 10000) << text;
    ++texts[static_cast<std::size_t>(node)];
    ++seen;
  }
  EXPECT_EQ(seen, texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], 1) << i;
  EXPECT_TRUE(WaitUntil([&] { return t.DeliveredCount() >= 10001; }, kWait));  // with the mark before
  ASSERT_EQ(CM_SetNotifyThreadID(t.handle.get(), 0), 1);
}

const FaultCase kCases[] = {
    {"SilentPeerAfterLogIn", &SilentPeer, &SilentPeerHolds, &AnswerAgain, false},
    {"CloseInTheMiddleOfABlock", &CloseMidBlock, &CloseMidBlockHolds, nullptr, true},
    {"CloseThenSilentOnReconnection", &CloseThenSilent, &CloseThenSilentHolds, &AnswerAgain, true},
    {"RefusedConnection", &RefuseConnections, &RefusedHolds, &ListenAgain, true},
    {"ServerThatNeverReads", &NeverRead, &NeverReadHolds, &ReadAgain, true},
    {"DuplicateUnknownAndLateIotAcks", &IotAckSequences, nullptr, nullptr, false},
    {"CorruptCompressedPagesSensorAndCamInfo", &CorruptBodies, nullptr, nullptr, false},
    {"BurstOfTenThousandReplies", &Burst, &BurstHolds, nullptr, false},
};

}  // namespace

TEST_P(FaultInjection, NoCrashNoHangNothingLostAndRecovers) {
  const FaultCase& c = std::get<0>(GetParam());
  const bool freeDuringFault = std::get<1>(GetParam());
  ASSERT_NO_FATAL_FAILURE(Start());
  SendWhole({kBeforeNet, 0});
  ASSERT_TRUE(WaitUntil([&] { return Delivered({kBeforeNet, 0}) == 1; }, kWait));

  ASSERT_NO_FATAL_FAILURE(c.inject(*this));
  if (freeDuringFault) {
    const auto start = std::chrono::steady_clock::now();
    session.reset();
    handle.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kFreeBound);
    ExpectDeliveredAtMostOnce();
    return;
  }
  if (c.verify) {
    ASSERT_NO_FATAL_FAILURE(c.verify(*this));
  }
  if (c.heal) {
    ASSERT_NO_FATAL_FAILURE(c.heal(*this));
  }

  if (c.closes) {
    ASSERT_TRUE(server.WaitFor("login", 2, kWait));
    ASSERT_TRUE(WaitUntil([&] { return session->IsConnected() && session->IsLoginAcked(); }, kWait));
    EXPECT_GE(server.ConnectionsAccepted(), 2u);
  } else {
    EXPECT_EQ(server.ConnectionsAccepted(), 1u);
    EXPECT_TRUE(session->IsLoginAcked());
  }
  // Recovered: replies arrive, commands leave, the gateway list comes again.
  ASSERT_NO_FATAL_FAILURE(Barrier());
  EXPECT_EQ(CM_IOT_LAMP_QueryStatus(handle.get(), devicetest::kNvs, 1, kFinalNode), 1);
  EXPECT_TRUE(WaitUntil([&] { return CommandArrived(kFinalNode); }, kWait));
  EXPECT_TRUE(WaitUntil([&] { return session->CopyNvsList().count == 2 && session->IsListReceived(); }, kWait));
  ExpectDeliveredExactlyOnce();

  const auto start = std::chrono::steady_clock::now();
  session.reset();
  handle.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, kFreeBound);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultInjection, ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<FaultInjection::ParamType>& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_FreedDuringTheFault" : "_Healed");
                         });
