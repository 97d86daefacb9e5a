#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "library/session/event_socket.h"
#include "support/wait_until.h"

using testsupport::WaitUntil;
using namespace std::chrono_literals;

namespace {

// A plain blocking TCP listener on 127.0.0.1 with an ephemeral port.
class Listener {
 public:
  Listener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::listen(fd_, 4);
    socklen_t length = sizeof sa;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length);
    port_ = ntohs(sa.sin_port);
  }
  ~Listener() { ::close(fd_); }
  unsigned port() const { return port_; }
  int AcceptOne() { return ::accept(fd_, nullptr, nullptr); }

 private:
  int fd_;
  unsigned port_ = 0;
};

// Records what the event thread delivers.
class RecordingSocket : public CEventSocket {
 public:
  ~RecordingSocket() override { StopEvents(); }

  void OnReceive(int) override {
    {
      std::lock_guard lock(mutex);
      handlerThread = std::this_thread::get_id();
      ++receiveCalls;
      if (closes > 0) receiveAfterClose = true;
    }
    if (throwOnReceive) throw std::runtime_error("handler failed");
    char buffer[4096];
    for (;;) {
      const int n = Receive(buffer, sizeof buffer);
      if (n <= 0) break;
      std::lock_guard lock(mutex);
      received.append(buffer, static_cast<std::size_t>(n));
      if (!readAll) break;
    }
  }
  void OnClose(int) override {
    std::lock_guard lock(mutex);
    ++closes;
  }
  void OnSend(int) override { ++sends; }

  std::string Received() {
    std::lock_guard lock(mutex);
    return received;
  }
  int Closes() {
    std::lock_guard lock(mutex);
    return closes;
  }
  int ReceiveCalls() {
    std::lock_guard lock(mutex);
    return receiveCalls;
  }

  std::mutex mutex;
  std::string received;
  std::thread::id handlerThread;
  int receiveCalls = 0;
  int closes = 0;
  bool receiveAfterClose = false;
  bool readAll = true;
  std::atomic<bool> throwOnReceive{false};
  std::atomic<int> sends{0};
};

bool IsNonBlocking(int fd) { return (fcntl(fd, F_GETFL, 0) & O_NONBLOCK) != 0; }

double ProcessCpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    ASSERT_GT(n, 0);
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

TEST(EventSocketStream, DeliversDataOnItsOwnThreadIntact) {
  Listener listener;
  RecordingSocket socket;
  ASSERT_EQ(socket.Create(), 1);
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  const int peer = listener.AcceptOne();
  std::string block(1212, '\0');
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
  SendAll(peer, block);
  ASSERT_TRUE(WaitUntil([&] { return socket.Received().size() == block.size(); }));
  EXPECT_EQ(socket.Received(), block);
  {
    std::lock_guard lock(socket.mutex);
    EXPECT_NE(socket.handlerThread, std::this_thread::get_id());
  }
  ::close(peer);
}

TEST(EventSocketStream, CloseAfterDataIsReportedOnceAfterTheDataAndThreadGoesQuiet) {
  Listener listener;
  RecordingSocket socket;
  socket.readAll = false;  // one read per wake-up, so data and close arrive over several wake-ups
  ASSERT_EQ(socket.Create(), 1);
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  const int peer = listener.AcceptOne();
  const std::string payload(20000, 'x');
  SendAll(peer, payload);
  ::close(peer);
  ASSERT_TRUE(WaitUntil([&] { return socket.Closes() == 1; }));
  EXPECT_EQ(socket.Received(), payload);
  const double cpuBefore = ProcessCpuSeconds();
  std::this_thread::sleep_for(300ms);
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.15) << "event thread spins after the close";
  EXPECT_EQ(socket.Closes(), 1);
  std::lock_guard lock(socket.mutex);
  EXPECT_FALSE(socket.receiveAfterClose);
}

TEST(EventSocketStream, CloseStopsTheEventThreadWithoutWaitingForTheWaitPeriod) {
  Listener listener;
  RecordingSocket socket;
  const int before = CEventSocket::LiveEventThreads();
  ASSERT_EQ(socket.Create(), 1);
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  const int peer = listener.AcceptOne();
  EXPECT_EQ(CEventSocket::LiveEventThreads(), before + 1);
  socket.Close();
  EXPECT_TRUE(WaitUntil([&] { return CEventSocket::LiveEventThreads() == before; }, 1000ms));
  EXPECT_FALSE(socket.IsEventThreadRunning());
  // The peer sees the close at once.
  char byte;
  EXPECT_EQ(::recv(peer, &byte, 1, 0), 0);
  ::close(peer);
}

TEST(EventSocketStream, CreateWithoutPortIsBlockingUntilConnected) {
  Listener listener;
  RecordingSocket socket;
  ASSERT_EQ(socket.Create(0), 1);
  EXPECT_FALSE(IsNonBlocking(socket.GetSocket()));
  EXPECT_FALSE(socket.IsEventThreadRunning());
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  EXPECT_TRUE(IsNonBlocking(socket.GetSocket()));
  EXPECT_TRUE(socket.IsEventThreadRunning());
  const int peer = listener.AcceptOne();
  ::close(peer);
}

TEST(EventSocketStream, ReusedObjectHasExactlyOneEventThread) {
  Listener listener;
  RecordingSocket socket;
  const int before = CEventSocket::LiveEventThreads();
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(socket.Create(), 1);
    ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
    const int peer = listener.AcceptOne();
    EXPECT_EQ(CEventSocket::LiveEventThreads(), before + 1) << "round " << round;
    SendAll(peer, "ping");
    ASSERT_TRUE(WaitUntil([&] { return socket.Received().size() == 4u * (round + 1); }));
    socket.Close();
    ::close(peer);
  }
  EXPECT_TRUE(WaitUntil([&] { return CEventSocket::LiveEventThreads() == before; }, 1000ms));
}

TEST(EventSocketStream, ExceptionFromReceiveHandlerClosesTheSocket) {
  Listener listener;
  RecordingSocket socket;
  socket.throwOnReceive = true;
  ASSERT_EQ(socket.Create(), 1);
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  const int peer = listener.AcceptOne();
  SendAll(peer, "boom");
  EXPECT_TRUE(WaitUntil([&] { return socket.GetSocket() == CEventSocket::kInvalidSocket; }));
  EXPECT_TRUE(WaitUntil([&] { return !socket.IsEventThreadRunning(); }, 1000ms));
  ::close(peer);
}

TEST(EventSocketStream, RefusedConnectFailsAndStartsNoThread) {
  int port = 0;
  {
    Listener gone;  // a port that was just free
    port = static_cast<int>(gone.port());
  }
  RecordingSocket socket;
  ASSERT_EQ(socket.Create(), 1);
  EXPECT_FALSE(socket.ConnectHost("127.0.0.1", static_cast<unsigned>(port)));
  EXPECT_EQ(CEventSocket::LastError(), ECONNREFUSED);
  EXPECT_FALSE(socket.IsEventThreadRunning());
}

TEST(EventSocketStream, WritableWatchCallsSendHandlerOnce) {
  Listener listener;
  RecordingSocket socket;
  ASSERT_EQ(socket.Create(), 1);
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  const int peer = listener.AcceptOne();
  EXPECT_EQ(socket.sends.load(), 0);
  socket.WatchWritable();
  ASSERT_TRUE(WaitUntil([&] { return socket.sends.load() == 1; }));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(socket.sends.load(), 1);
  ::close(peer);
}

TEST(EventSocketStream, DescriptorZeroIsAValidSocket) {
  Listener listener;
  const int saved = ::dup(0);
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(::dup2(fd, 0), 0);
  ::close(fd);
  {
    RecordingSocket socket;
    socket.Attach(0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(listener.port()));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_TRUE(socket.Connect(reinterpret_cast<sockaddr*>(&sa), sizeof sa));
    const int peer = listener.AcceptOne();
    EXPECT_EQ(socket.Send("abc", 3), 3);
    SendAll(peer, "xyz");
    EXPECT_TRUE(WaitUntil([&] { return socket.Received() == "xyz"; }));
    ::close(peer);
  }
  ::dup2(saved, 0);
  ::close(saved);
}

TEST(EventSocketStream, DestructorClosesASocketThatWasNeverStarted) {
  int fd = -1;
  {
    RecordingSocket socket;
    ASSERT_EQ(socket.Create(0), 1);
    fd = socket.GetSocket();
    ASSERT_NE(fcntl(fd, F_GETFD), -1);
  }
  EXPECT_EQ(fcntl(fd, F_GETFD), -1);
}

TEST(EventSocketStream, SendToAClosedPeerFailsWithoutSignal) {
  Listener listener;
  RecordingSocket socket;
  ASSERT_EQ(socket.Create(), 1);
  ASSERT_TRUE(socket.ConnectHost("127.0.0.1", listener.port()));
  const int peer = listener.AcceptOne();
  ::close(peer);
  ASSERT_TRUE(WaitUntil([&] { return socket.Closes() == 1; }));
  // With SIGPIPE the process would die here.
  const std::string data(1000, 'z');
  int last = 0;
  for (int i = 0; i < 20 && last >= 0; ++i) last = socket.Send(data.data(), static_cast<int>(data.size()));
  EXPECT_EQ(last, -1);
}

TEST(EventSocketDatagram, ReceivesFromAnotherSocketWithSenderAddress) {
  class Capturing : public CEventSocket {
   public:
    ~Capturing() override { StopEvents(); }
    void OnReceive(int) override {
      char buffer[256];
      std::string from;
      unsigned fromPort = 0;
      const int n = ReceiveFromHost(buffer, sizeof buffer, from, fromPort);
      std::lock_guard lock(mutex);
      if (n > 0) messages.emplace_back(std::string(buffer, static_cast<std::size_t>(n)), from, fromPort);
    }
    std::mutex mutex;
    std::vector<std::tuple<std::string, std::string, unsigned>> messages;
  } capturing;
  ASSERT_EQ(capturing.Create(0, SOCK_DGRAM), 1);
  ASSERT_TRUE(capturing.Bind(0, "127.0.0.1"));
  std::string capAddress;
  unsigned capPort = 0;
  ASSERT_TRUE(capturing.GetSockName(capAddress, capPort));
  ASSERT_TRUE(capturing.StartEvents());

  CEventSocket sender;
  ASSERT_EQ(sender.Create(0, SOCK_DGRAM), 1);
  ASSERT_TRUE(sender.Bind(0, "127.0.0.1"));
  std::string senderAddress;
  unsigned senderPort = 0;
  ASSERT_TRUE(sender.GetSockName(senderAddress, senderPort));
  // An empty datagram first: it is consumed and does not block the next one.
  EXPECT_EQ(sender.SendToHost("", 0, capPort, "127.0.0.1"), 0);
  EXPECT_EQ(sender.SendToHost("hello", 5, capPort, "127.0.0.1"), 5);
  ASSERT_TRUE(WaitUntil([&] {
    std::lock_guard lock(capturing.mutex);
    return !capturing.messages.empty();
  }));
  std::lock_guard lock(capturing.mutex);
  ASSERT_EQ(capturing.messages.size(), 1u);
  EXPECT_EQ(std::get<0>(capturing.messages[0]), "hello");
  EXPECT_EQ(std::get<1>(capturing.messages[0]), "127.0.0.1");
  EXPECT_EQ(std::get<2>(capturing.messages[0]), senderPort);
}

TEST(EventSocketDatagram, SecondBindOfTheSamePortFails) {
  CEventSocket first;
  ASSERT_EQ(first.Create(0, SOCK_DGRAM), 1);
  ASSERT_TRUE(first.Bind(0, "127.0.0.1"));
  std::string address;
  unsigned port = 0;
  ASSERT_TRUE(first.GetSockName(address, port));
  CEventSocket second;
  EXPECT_EQ(second.Create(port, SOCK_DGRAM, "127.0.0.1"), 0);
  EXPECT_EQ(CEventSocket::LastError(), EADDRINUSE);
  EXPECT_EQ(second.GetSocket(), CEventSocket::kInvalidSocket);
}

TEST(EventSocketAddresses, BadDottedAddressIsInvalidArgument) {
  CEventSocket socket;
  ASSERT_EQ(socket.Create(0, SOCK_DGRAM), 1);
  EXPECT_FALSE(socket.Bind(0, "1.2.3.x"));
  EXPECT_EQ(CEventSocket::LastError(), kWsaEInval);
  CEventSocket other;
  EXPECT_EQ(other.Create(5000, SOCK_DGRAM, "not-an-address"), 0);
  EXPECT_EQ(CEventSocket::LastError(), kWsaEInval);
}

TEST(EventSocketAddresses, OperationsWithoutSocketFail) {
  CEventSocket socket;
  char buffer[4];
  std::string address;
  unsigned port = 0;
  EXPECT_EQ(socket.Receive(buffer, 4), -1);
  EXPECT_EQ(socket.Send(buffer, 4), -1);
  EXPECT_FALSE(socket.GetPeerName(address, port));
  EXPECT_FALSE(socket.StartEvents());
  EXPECT_EQ(socket.Close(), 0);
}
