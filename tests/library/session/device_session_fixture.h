#pragma once
// A session logged in to the stand-in for the device family tests: the
// handle, the "iot" requests the stand-in received and their device frames,
// and a loopback UDP receiver for the session's notifications.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "library/xml/nvs_xml_store.h"
#include "sentrell.h"
#include "session_fixture.h"
#include "support/test_name.h"
#include "tools/iot_frames.h"

namespace devicetest {

constexpr std::uint32_t kNvs = 1000001;

// The datagram that carries a message text to the application's UDP port.
inline std::string NodeDatagram(const std::string& text) {
  return "VER=2.1&MSG=NODEMSG&DAT=" + text + std::string(1, '\0');
}
// The datagram of a message of node `nodid` at net 3 of the gateway kNvs.
inline std::string NodeDatagram(const char* devtype, const char* msg, const std::string& data, int nodid = 4) {
  return NodeDatagram("{\"data\":{" + data + "},\"devtype\":\"" + devtype + "\",\"msg\":\"" + msg +
                      "\",\"netid\":3,\"nodid\":" + std::to_string(nodid) + ",\"nvsid\":" + std::to_string(kNvs) +
                      ",\"version\":2}\n");
}

struct HandleCloser {
  void operator()(IotHandle* h) const { CM_Free(h); }
};
using Handle = std::unique_ptr<IotHandle, HandleCloser>;

using IotAnswer = std::function<std::vector<standin::OutgoingMessage>(const standin::ParsedMessage&)>;

// The "iot" requests the stand-in received, in order.
inline std::vector<standin::ReceivedMessage> IotRequests(const standin::StandinServer& server) {
  std::vector<standin::ReceivedMessage> out;
  for (const auto& m : server.Received())
    if (m.cmd == "iot") out.push_back(m);
  return out;
}

// The device frames of those requests; each must decode, and one that does
// not is an empty frame in its place.
inline std::vector<standin::DeviceFrame> SentFrames(const standin::StandinServer& server) {
  std::vector<standin::DeviceFrame> out;
  for (const auto& m : IotRequests(server)) {
    const auto frame = standin::DecodeDeviceFrame(m.parsed.body);
    EXPECT_TRUE(frame);
    out.push_back(frame ? *frame : standin::DeviceFrame{});
  }
  return out;
}

// A UDP socket on a free loopback port that collects the notifications.
class UdpReceiver {
 public:
  UdpReceiver() : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t length = sizeof sa;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&sa), &length);
    port_ = ntohs(sa.sin_port);
  }
  ~UdpReceiver() { ::close(socket_); }
  UdpReceiver(const UdpReceiver&) = delete;
  UdpReceiver& operator=(const UdpReceiver&) = delete;

  int Port() const { return port_; }
  // The next datagram, or "" when none comes within `timeoutMs`.
  std::string Next(int timeoutMs = 3000) const {
    pollfd pfd{socket_, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) != 1) return {};
    char buffer[8192];
    const ssize_t n = ::recv(socket_, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
  }

 private:
  int socket_;
  int port_ = 0;
};

}  // namespace devicetest

class DeviceSessionTest : public StandinSessionTest {
 protected:
  static constexpr std::uint32_t kNvs = devicetest::kNvs;

  void TearDown() override {
    handle.reset();
    session.reset();  // the last owner: the session ends here, not with the fixture
    StandinSessionTest::TearDown();
  }
  // Logs in with the given answers to "iot"; a folder given is set as the
  // node files' folder first.
  void LogIn(devicetest::IotAnswer iot = nullptr, const char* xmlFolder = nullptr) {
    standin::Script script;
    if (iot) script.answers["iot"] = std::move(iot);
    ASSERT_TRUE(server.SetScript(script));
    handle.reset(CM_Init(1));
    ASSERT_NE(handle, nullptr);
    if (xmlFolder) {
      ASSERT_EQ(CM_SetNVSXmlPath(handle.get(), xmlFolder), 1);
    }
    ASSERT_EQ(CM_Login(handle.get(), "127.0.0.1", "u", "p"), 1);
    session = LiveSession(handle.get());
  }
  std::vector<standin::ReceivedMessage> Iots() const { return devicetest::IotRequests(server); }
  std::vector<standin::DeviceFrame> SentFrames() const { return devicetest::SentFrames(server); }
  // The frames sent so far are those of the cases (each with a name, a code,
  // a function byte and a payload), in order, all to node 2 at net 1.
  template <class Case>
  void ExpectSentFrames(const std::vector<Case>& cases) const {
    const auto sent = SentFrames();
    ASSERT_EQ(sent.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
      EXPECT_EQ(sent[i].netId, 1) << cases[i].name;
      EXPECT_EQ(sent[i].nodeAddress, 2) << cases[i].name;
      EXPECT_EQ(sent[i].commandCode, cases[i].code) << cases[i].name;
      EXPECT_EQ(sent[i].functionByte, cases[i].fn) << cases[i].name;
      EXPECT_EQ(sent[i].payload, cases[i].payload) << cases[i].name;
    }
  }

  devicetest::Handle handle;
  std::shared_ptr<CIotSession> session;
};

// The same with a folder of node files of its own, emptied before and after
// each test, that the session is given before it logs in.
class NodeFileSessionTest : public DeviceSessionTest {
 protected:
  // `prefix` names the folder, with the process and the test.
  explicit NodeFileSessionTest(const char* prefix) : prefix_(prefix) {}

  void SetUp() override {
    DeviceSessionTest::SetUp();
    folder = std::filesystem::temp_directory_path() /
             (prefix_ + std::to_string(getpid()) + "_" + testsupport::FlatTestName());
    std::filesystem::remove_all(folder);
  }
  void TearDown() override {
    handle.reset();
    session.reset();  // no session writes into the folder while it is removed
    std::filesystem::remove_all(folder);
    DeviceSessionTest::TearDown();
  }
  // Logs in with the given answers to "iot".
  void LogIn(devicetest::IotAnswer iot = nullptr) { DeviceSessionTest::LogIn(std::move(iot), folder.c_str()); }
  void MakeNodeFile(int netId, int address, int type) {
    CNvsXmlStore store(folder.string());
    if (!store.OpenNvsFile(kNvs)) store.CreateNvsFile();
    store.AddNode(1, "node", type, netId, address);
    store.Save();
  }
  std::string NodeChild(int netId, int address, const char* child) {
    CNvsXmlStore store(folder.string());
    std::string value;
    if (store.OpenNvsFile(kNvs)) store.GetNodeChild(netId, address, child, value);
    return value;
  }

  std::filesystem::path folder;

 private:
  std::string prefix_;
};
