#include "library/session/event_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

thread_local int t_lastError = 0;
std::atomic<int> g_liveEventThreads{0};
std::atomic<void (*)(const char*)> g_threadTrace{nullptr};

void SetLastError(int error) { t_lastError = error; }

bool ResolveIpv4(const char* host, in_addr& out) {
  if (host == nullptr) return false;
  if (inet_aton(host, &out) != 0) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* result = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &result) != 0 || result == nullptr) return false;
  out = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr;
  freeaddrinfo(result);
  return true;
}

sockaddr_in MakeAddress(in_addr address, unsigned port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<std::uint16_t>(port));
  sa.sin_addr = address;
  return sa;
}

bool DescribeAddress(const sockaddr_in& sa, std::string& address, unsigned& port) {
  char text[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &sa.sin_addr, text, sizeof text) == nullptr) return false;
  address = text;
  port = ntohs(sa.sin_port);
  return true;
}

int SocketType(int fd) {
  int type = 0;
  socklen_t length = sizeof type;
  if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) return 0;
  return type;
}

int TakeSocketError(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
  return error;
}

}  // namespace

// What one event thread shares with the object that started it: its own stop
// flag and wake-up, and the descriptor that it closes as it leaves when the
// object handed it over in Close().
struct CEventSocket::Control {
  std::atomic<bool> stop{false};
  std::atomic<bool> watchWrite{false};
  int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  std::mutex mutex;
  bool exited = false;
  int fdToClose = kInvalidSocket;

  ~Control() {
    if (wakeFd >= 0) ::close(wakeFd);
  }
  void Wake() const {
    if (wakeFd < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
  }
  void RequestStop() {
    stop = true;
    Wake();
  }
  // Called by Close(): true when the thread took the descriptor over.
  bool HandOver(int fd) {
    std::lock_guard lock(mutex);
    if (exited) return false;
    fdToClose = fd;
    return true;
  }
  void Exit() {
    std::lock_guard lock(mutex);
    exited = true;
    if (fdToClose != kInvalidSocket) ::close(fdToClose);
    fdToClose = kInvalidSocket;
  }
};

CEventSocket::CEventSocket() = default;

CEventSocket::~CEventSocket() {
  StopEvents();
  std::vector<std::thread> retired;
  {
    std::lock_guard lock(threadMutex_);
    retired.swap(retired_);
  }
  for (auto& thread : retired) {
    if (thread.get_id() == std::this_thread::get_id()) thread.detach();
    else if (thread.joinable()) thread.join();
  }
  const int fd = socket_.exchange(kInvalidSocket);
  if (fd != kInvalidSocket) ::close(fd);
}

bool CEventSocket::Accept(CEventSocket& peer, sockaddr* address, socklen_t* addressLength) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket) return false;
  const int accepted = ::accept4(fd, address, addressLength, SOCK_CLOEXEC);
  if (accepted < 0) {
    SetLastError(errno);
    return false;
  }
  peer.Attach(accepted);
  return peer.StartEvents();
}

int CEventSocket::Close() {
  std::shared_ptr<Control> control;
  {
    std::lock_guard lock(threadMutex_);
    control = control_;
  }
  if (control) control->RequestStop();
  listening_ = false;
  const int fd = socket_.exchange(kInvalidSocket);
  if (fd == kInvalidSocket) return 0;
  if (control) {
    // The peer learns of the close now; the descriptor itself stays open
    // until the event thread that polls it has left.
    ::shutdown(fd, SHUT_RDWR);
    if (control->HandOver(fd)) return 0;
  }
  return ::close(fd);
}

int CEventSocket::Receive(char* buffer, int length, int flags) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket || buffer == nullptr || length < 0) return -1;
  const ssize_t n = ::recv(fd, buffer, static_cast<std::size_t>(length), flags);
  if (n < 0) SetLastError(errno);
  return static_cast<int>(n);
}

int CEventSocket::Send(const char* buffer, int length, int flags) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket || buffer == nullptr || length < 0) return -1;
  const ssize_t n = ::send(fd, buffer, static_cast<std::size_t>(length), flags | MSG_NOSIGNAL);
  if (n < 0) SetLastError(errno);
  return static_cast<int>(n);
}

void CEventSocket::OnAccept(int) {}
void CEventSocket::OnConnect(int) {}
void CEventSocket::OnReceive(int) {}
void CEventSocket::OnSend(int) {}
void CEventSocket::OnClose(int) {}

bool CEventSocket::Connect(const sockaddr* address, socklen_t length) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket || address == nullptr) {
    SetLastError(EBADF);
    return false;
  }
  const int flags = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  int error = 0;
  if (::connect(fd, address, length) != 0) {
    error = errno;
    if (error == EINPROGRESS || error == EINTR) {
      pollfd pfd{fd, POLLOUT, 0};
      const int waited = ::poll(&pfd, 1, static_cast<int>(connectTimeoutMs_.load()));
      if (waited == 1) error = TakeSocketError(fd);
      else error = waited == 0 ? ETIMEDOUT : errno;
    }
  }
  if (error != 0) {
    fcntl(fd, F_SETFL, flags);
    SetLastError(error);
    return false;
  }
  return StartEvents();
}

int CEventSocket::ReceiveFrom(char* buffer, int length, sockaddr* from, socklen_t* fromLength, int flags) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket || buffer == nullptr || length < 0) return -1;
  const ssize_t n = ::recvfrom(fd, buffer, static_cast<std::size_t>(length), flags, from, fromLength);
  if (n < 0) SetLastError(errno);
  return static_cast<int>(n);
}

int CEventSocket::SendTo(const char* buffer, int length, const sockaddr* to, socklen_t toLength, int flags) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket || buffer == nullptr || length < 0) return -1;
  const ssize_t n = ::sendto(fd, buffer, static_cast<std::size_t>(length), flags | MSG_NOSIGNAL, to, toLength);
  if (n < 0) SetLastError(errno);
  return static_cast<int>(n);
}

int CEventSocket::Create(unsigned port, int type, const char* address) {
  if (!CreateSocket(type, 0)) return 0;
  if (port == 0) return 1;
  if (type == SOCK_STREAM) {
    const int on = 1;
    setsockopt(socket_.load(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  }
  if (!Bind(port, address)) {
    const int error = LastError();
    Close();
    SetLastError(error);
    return 0;
  }
  return StartEvents() ? 1 : 0;
}

bool CEventSocket::CreateSocket(int type, int protocol) {
  const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, protocol);
  if (fd < 0) {
    SetLastError(errno);
    return false;
  }
  SetKeepAlive(fd);
  if (socket_.load() != kInvalidSocket) Close();
  socket_ = fd;
  return true;
}

bool CEventSocket::Bind(unsigned port, const char* address) {
  in_addr addr{};
  addr.s_addr = htonl(INADDR_ANY);
  if (address != nullptr && inet_aton(address, &addr) == 0) {
    SetLastError(kWsaEInval);
    return false;
  }
  const sockaddr_in sa = MakeAddress(addr, port);
  if (::bind(socket_.load(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
    SetLastError(errno);
    return false;
  }
  return true;
}

bool CEventSocket::ConnectHost(const char* host, unsigned port) {
  in_addr addr{};
  if (!ResolveIpv4(host, addr)) {
    SetLastError(kWsaEInval);
    return false;
  }
  const sockaddr_in sa = MakeAddress(addr, port);
  return Connect(reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
}

int CEventSocket::SendToHost(const char* buffer, int length, unsigned port, const char* host, int flags) {
  in_addr addr{};
  if (host == nullptr) addr.s_addr = htonl(INADDR_BROADCAST);
  else if (!ResolveIpv4(host, addr)) {
    SetLastError(kWsaEInval);
    return -1;
  }
  const sockaddr_in sa = MakeAddress(addr, port);
  return SendTo(buffer, length, reinterpret_cast<const sockaddr*>(&sa), sizeof sa, flags);
}

int CEventSocket::ReceiveFromHost(char* buffer, int length, std::string& address, unsigned& port, int flags) {
  sockaddr_in sa{};
  socklen_t saLength = sizeof sa;
  const int n = ReceiveFrom(buffer, length, reinterpret_cast<sockaddr*>(&sa), &saLength, flags);
  if (n != -1) DescribeAddress(sa, address, port);
  return n;
}

bool CEventSocket::GetPeerName(std::string& address, unsigned& port) const {
  const int fd = socket_.load();
  if (fd == kInvalidSocket) return false;
  sockaddr_in sa{};
  socklen_t length = sizeof sa;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&sa), &length) != 0) return false;
  return DescribeAddress(sa, address, port);
}

bool CEventSocket::GetSockName(std::string& address, unsigned& port) const {
  const int fd = socket_.load();
  if (fd == kInvalidSocket) return false;
  sockaddr_in sa{};
  socklen_t length = sizeof sa;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &length) != 0) return false;
  return DescribeAddress(sa, address, port);
}

void CEventSocket::Attach(int socket) {
  if (socket_.load() == socket) return;
  if (socket_.load() != kInvalidSocket) Close();
  socket_ = socket;
}

int CEventSocket::Detach() { return socket_.exchange(kInvalidSocket); }

bool CEventSocket::ShutDown(int how) {
  const int fd = socket_.load();
  return fd != kInvalidSocket && ::shutdown(fd, how) == 0;
}

bool CEventSocket::Listen(int backlog) {
  const int fd = socket_.load();
  if (fd == kInvalidSocket || ::listen(fd, backlog) != 0) return false;
  listening_ = true;
  return true;
}

bool CEventSocket::SetBroadcast() {
  const int on = 1;
  if (setsockopt(socket_.load(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    Close();
    return false;
  }
  return true;
}

bool CEventSocket::SetNonBlocking() {
  const int fd = socket_.load();
  if (fd == kInvalidSocket) return false;
  const int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

void CEventSocket::RetireOrJoin(std::thread& thread) {
  if (!thread.joinable()) return;
  if (thread.get_id() == std::this_thread::get_id()) {
    // Replaced from inside its own handler: it leaves as soon as the handler
    // returns and is joined by the destructor.
    std::lock_guard lock(threadMutex_);
    retired_.push_back(std::move(thread));
    return;
  }
  thread.join();
}

bool CEventSocket::StartEvents() {
  StopEvents();
  if (!SetNonBlocking()) return false;
  const int fd = socket_.load();
  auto control = std::make_shared<Control>();
  if (control->wakeFd < 0) {
    SetLastError(errno);
    return false;
  }
  const bool datagram = SocketType(fd) == SOCK_DGRAM;
  std::lock_guard lock(threadMutex_);
  control_ = control;
  g_liveEventThreads.fetch_add(1);
  thread_ = std::thread(&CEventSocket::EventLoop, this, control, fd, datagram);
  return true;
}

void CEventSocket::StopEvents() {
  std::thread thread;
  {
    std::lock_guard lock(threadMutex_);
    if (control_) control_->RequestStop();
    control_.reset();
    thread = std::move(thread_);
  }
  RetireOrJoin(thread);
}

bool CEventSocket::IsEventThreadRunning() const {
  std::lock_guard lock(threadMutex_);
  if (!control_) return false;
  std::lock_guard exitLock(control_->mutex);
  return !control_->exited;
}

void CEventSocket::WatchWritable() {
  std::lock_guard lock(threadMutex_);
  if (!control_) return;
  control_->watchWrite = true;
  control_->Wake();
}

void CEventSocket::SetKeepAlive(int socket) {
  if (SocketType(socket) != SOCK_STREAM) return;
  const int on = 1, idle = 1, interval = 5, count = 10;
  if (setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0 ||
      setsockopt(socket, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) != 0 ||
      setsockopt(socket, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) != 0 ||
      setsockopt(socket, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count) != 0)
    std::printf("error: %d\n", errno);
}

int CEventSocket::SocketCleanup() { return 1; }

int CEventSocket::LastError() { return t_lastError; }

int CEventSocket::LiveEventThreads() { return g_liveEventThreads.load(); }

void CEventSocket::SetThreadTrace(void (*trace)(const char* text)) { g_threadTrace = trace; }

void CEventSocket::EventLoop(CEventSocket* self, std::shared_ptr<Control> control, int fd, bool datagram) {
  bool closeReported = false;
  while (!control->stop) {
    pollfd fds[2] = {{control->wakeFd, POLLIN, 0}, {fd, 0, 0}};
    nfds_t count = 1;
    if (!closeReported) {
      fds[1].events = static_cast<short>(POLLIN | (control->watchWrite ? POLLOUT : 0));
      count = 2;
    }
    const int ready = ::poll(fds, count, static_cast<int>(kEventWaitMs));
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (control->stop) break;
    if (ready == 0) continue;
    if (fds[0].revents != 0) {
      std::uint64_t drained = 0;
      [[maybe_unused]] const ssize_t n = ::read(control->wakeFd, &drained, sizeof drained);
      continue;
    }
    const short events = fds[1].revents;
    if (events & POLLNVAL) break;
    // One handler per wake-up, in the order accept, read, write, close.
    if (self->listening_ && (events & POLLIN)) {
      try {
        self->OnAccept(0);
      } catch (...) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    } else if (events & (POLLIN | POLLHUP | POLLERR)) {
      int waiting = 0;
      if (::ioctl(fd, FIONREAD, &waiting) != 0) waiting = 0;
      if (waiting > 0) {
        try {
          self->OnReceive(0);
        } catch (...) {
          self->Close();
        }
      } else if (datagram) {
        // An empty datagram, or an error the network reported: consume it so
        // that it is not signalled again.
        if (events & POLLERR) TakeSocketError(fd);
        else {
          char byte;
          ::recv(fd, &byte, sizeof byte, MSG_DONTWAIT);
        }
      } else {
        // The stream has ended (or failed) and everything it carried has been
        // read: one close, after which the socket is no longer watched.
        const int error = TakeSocketError(fd);
        closeReported = true;
        try {
          self->OnClose(error);
        } catch (...) {
        }
      }
    } else if (events & POLLOUT) {
      control->watchWrite = false;
      try {
        self->OnSend(0);
      } catch (...) {
      }
    }
  }
  if (auto trace = g_threadTrace.load()) trace("SocketThread _endthread \n");
  control->Exit();
  g_liveEventThreads.fetch_sub(1);
}
