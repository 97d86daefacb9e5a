#include "tools/loopback_listener.h"
#include "tools/standin_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "tools/credentials.h"

namespace standin {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kLongestSleep(50);
constexpr int kReadsPerWake = 64;
constexpr int kAcceptsPerWake = 16;

std::vector<std::size_t> NormalisePieces(const std::vector<std::size_t>& pieces, std::size_t total) {
  std::vector<std::size_t> out;
  std::size_t sum = 0;
  for (std::size_t piece : pieces) {
    if (sum == total) break;
    if (piece == 0) continue;
    piece = std::min(piece, total - sum);
    out.push_back(piece);
    sum += piece;
  }
  if (sum < total) out.push_back(total - sum);
  return out;
}

OutgoingMessage HelloAnswer(const Script& script) {
  OutgoingMessage m;
  m.kind = MessageKind::Request;
  m.cmd = "hello";
  m.from = script.helloFrom;
  m.contact = script.helloContact;
  m.body = script.helloBody;
  return m;
}

}  // namespace

StandinServer::StandinServer() = default;

StandinServer::~StandinServer() { Stop(); }

bool StandinServer::Start(const std::string& address, std::uint16_t port) {
  std::lock_guard lifecycle(lifecycle_);
  {
    std::lock_guard lock(mutex_);
    if (running_) return false;
  }
  const auto listener = OpenLoopbackListener(address, port);
  if (!listener) return false;
  std::lock_guard lock(mutex_);
  listenFd_ = listener->listenFd;
  wakeRead_ = listener->wakeRead;
  wakeWrite_ = listener->wakeWrite;
  port_ = listener->port;
  address_ = address;
  stop_ = false;
  running_ = true;
  thread_ = std::thread(&StandinServer::Run, this);
  return true;
}

std::uint16_t StandinServer::Port() const {
  std::lock_guard lock(mutex_);
  return port_;
}

void StandinServer::Stop() {
  std::lock_guard lifecycle(lifecycle_);
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    stop_ = true;
    Wake();
  }
  thread_.join();
  media_.Stop();
  std::lock_guard lock(mutex_);
  CloseDescriptors({&listenFd_, &wakeRead_, &wakeWrite_});
  running_ = false;
  port_ = 0;
  changed_.notify_all();
}

bool StandinServer::SetScript(const Script& script) {
  if (!BuildBlock(HelloAnswer(script))) return false;
  auto pages = GatewayListMessages(script.gateways, script.gatewaysPerPage);
  if (!pages) return false;
  std::lock_guard lock(mutex_);
  script_ = script;
  listPages_ = std::move(*pages);
  return true;
}

Script StandinServer::GetScript() const {
  std::lock_guard lock(mutex_);
  return script_;
}

void StandinServer::SetObserver(std::function<void(const ReceivedMessage&)> observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

std::vector<ReceivedMessage> StandinServer::Received() const {
  std::lock_guard lock(mutex_);
  return {log_.begin(), log_.end()};
}

bool StandinServer::WaitFor(const std::string& cmd, std::size_t count, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    const auto found = counts_.find(cmd);
    return (found == counts_.end() ? 0 : found->second) >= count;
  });
}

std::size_t StandinServer::ConnectionsAccepted() const {
  std::lock_guard lock(mutex_);
  return accepted_;
}

std::size_t StandinServer::ConnectionsOpen() const {
  std::lock_guard lock(mutex_);
  return connections_.size();
}

bool StandinServer::WaitForConnections(std::size_t accepted, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return accepted_ >= accepted; });
}

bool StandinServer::WaitForOpenConnections(std::size_t open, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return connections_.size() == open; });
}

bool StandinServer::Send(const OutgoingMessage& message) {
  const auto block = BuildBlock(message);
  if (!block) return false;
  std::lock_guard lock(mutex_);
  Connection* connection = Current();
  if (connection == nullptr) return false;
  QueueBlock(*connection, *block, Clock::now());
  Wake();
  return true;
}

bool StandinServer::SendRaw(const std::string& bytes) {
  std::lock_guard lock(mutex_);
  Connection* connection = Current();
  if (connection == nullptr) return false;
  Outgoing out;
  out.bytes = bytes;
  if (!bytes.empty()) out.pieces = {bytes.size()};
  out.due = Clock::now();
  connection->output.push_back(std::move(out));
  Wake();
  return true;
}

bool StandinServer::CloseConnection() {
  std::lock_guard lock(mutex_);
  Connection* connection = Current();
  if (connection == nullptr) return false;
  connection->closing = true;
  Wake();
  return true;
}

void StandinServer::SplitNext(std::vector<std::size_t> pieces, milliseconds gap) {
  std::lock_guard lock(mutex_);
  Fault fault{Fault::Kind::Split, std::move(pieces), gap, 0, {}};
  faults_.push_back(std::move(fault));
}

void StandinServer::CoalesceNext(std::size_t blocks) {
  std::lock_guard lock(mutex_);
  faults_.push_back(Fault{Fault::Kind::Coalesce, {}, milliseconds(0), blocks, {}});
}

void StandinServer::JunkBeforeNext(const std::string& junk) {
  std::lock_guard lock(mutex_);
  faults_.push_back(Fault{Fault::Kind::Junk, {}, milliseconds(0), 0, junk});
}

void StandinServer::CloseMidNext(std::size_t bytes) {
  std::lock_guard lock(mutex_);
  faults_.push_back(Fault{Fault::Kind::CloseMid, {}, milliseconds(0), bytes, {}});
}

void StandinServer::ClearFaults() {
  std::lock_guard lock(mutex_);
  faults_.clear();
  if (!coalescing_) return;
  // The blocks held for coalescing go out as they are.
  for (auto& connection : connections_) {
    if (connection->number != coalescing_->connection) continue;
    Outgoing out;
    out.bytes = std::move(coalescing_->bytes);
    out.pieces = {out.bytes.size()};
    out.due = coalescing_->due;
    connection->output.push_back(std::move(out));
  }
  coalescing_.reset();
  Wake();
}

void StandinServer::SetReading(bool reading) {
  std::lock_guard lock(mutex_);
  reading_ = reading;
  Wake();
}

void StandinServer::SetAnswering(bool answering) {
  std::lock_guard lock(mutex_);
  answering_ = answering;
}

std::vector<std::size_t> StandinServer::EvenPieces(std::size_t size) {
  if (size == 0) return {kBlockSize};
  return std::vector<std::size_t>((kBlockSize + size - 1) / size, size);
}

// --- the server thread -----------------------------------------------------

void StandinServer::Run() {
  std::unique_lock lock(mutex_);
  std::vector<pollfd> fds;
  while (!stop_) {
    const auto now = Clock::now();
    milliseconds sleep = kLongestSleep;
    fds.assign({pollfd{wakeRead_, POLLIN, 0}, pollfd{listenFd_, POLLIN, 0}});
    for (const auto& connection : connections_) {
      short events = POLLRDHUP;
      if (reading_) events |= POLLIN;
      if (!connection->output.empty()) {
        const Outgoing& head = connection->output.front();
        if (head.due > now) {
          sleep = std::min(sleep, std::chrono::ceil<milliseconds>(head.due - now));
        } else if (connection->waitingForWrite) {
          events |= POLLOUT;
        } else {
          sleep = milliseconds(0);
        }
      }
      if (connection->closing) sleep = milliseconds(0);
      fds.push_back(pollfd{connection->fd, events, 0});
    }
    const std::size_t polled = connections_.size();
    lock.unlock();
    poll(fds.data(), fds.size(), static_cast<int>(sleep.count()));
    lock.lock();

    char drain[64];
    while (read(wakeRead_, drain, sizeof drain) > 0) {
    }

    std::vector<ReceivedMessage> logged;
    for (std::size_t i = 0; i < polled; ++i) {
      Connection& connection = *connections_[i];
      const short revents = fds[2 + i].revents;
      if (connection.closing) continue;
      if (reading_ && (revents & (POLLIN | POLLHUP | POLLERR | POLLRDHUP))) {
        ReadFrom(connection, logged);
      } else if (!reading_ && (revents & (POLLHUP | POLLERR | POLLRDHUP))) {
        connection.closing = true;  // the peer left; nothing of it is read
      }
    }
    for (auto& connection : connections_) {
      if (!connection->closing) WriteTo(*connection, Clock::now());
    }
    for (auto it = connections_.begin(); it != connections_.end();) {
      if ((*it)->closing) {
        CloseNow(**it, logged);
        it = connections_.erase(it);
      } else {
        ++it;
      }
    }
    if (fds[1].revents & POLLIN) AcceptPending();

    if (!logged.empty() && observer_) {
      const auto observer = observer_;
      lock.unlock();
      for (const auto& entry : logged) observer(entry);
      lock.lock();
    }
  }
  std::vector<ReceivedMessage> ignored;
  for (auto& connection : connections_) CloseNow(*connection, ignored);
  connections_.clear();
  coalescing_.reset();
  changed_.notify_all();
}

void StandinServer::AcceptPending() {
  for (int i = 0; i < kAcceptsPerWake; ++i) {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (connections_.size() >= kMaxOpenConnections) {
      close(fd);
      continue;
    }
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    auto connection = std::make_unique<Connection>();
    connection->number = ++accepted_;
    connection->fd = fd;
    connections_.push_back(std::move(connection));
    changed_.notify_all();
  }
}

void StandinServer::ReadFrom(Connection& connection, std::vector<ReceivedMessage>& logged) {
  for (int i = 0; i < kReadsPerWake; ++i) {
    const ssize_t n = recv(connection.fd, connection.input.data() + connection.filled,
                           kBlockSize - connection.filled, MSG_DONTWAIT);
    if (n == 0) {
      connection.closing = true;
      return;
    }
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) connection.closing = true;
      return;
    }
    connection.filled += static_cast<std::size_t>(n);
    // "getconfig" and "putconfig" come as their bare text, every other
    // message as a whole block. Bare texts read together with the start of
    // a block can fill the buffer: they are taken first all the same.
    while (connection.filled > 0) {
      const ParsedMessage bare = ParseBlock(connection.input.data(), connection.filled);
      const std::string cmd = bare.Header("Cmd");
      if (!bare.terminated || (cmd != "getconfig" && cmd != "putconfig")) break;
      TakeMessage(connection, bare.textLength, logged);
    }
    if (connection.filled < kBlockSize) continue;
    TakeMessage(connection, kBlockSize, logged);
  }
}

void StandinServer::TakeMessage(Connection& connection, std::size_t size, std::vector<ReceivedMessage>& logged) {
  ReceivedMessage entry;
  entry.connection = connection.number;
  entry.time = Clock::now();
  entry.raw.assign(connection.input.begin(), connection.input.begin() + static_cast<std::ptrdiff_t>(size));
  entry.complete = true;
  entry.parsed = ParseBlock(connection.input.data(), size);
  entry.cmd = entry.parsed.Header("Cmd");
  std::copy(connection.input.begin() + static_cast<std::ptrdiff_t>(size),
            connection.input.begin() + static_cast<std::ptrdiff_t>(connection.filled), connection.input.begin());
  connection.filled -= size;
  const ParsedMessage request = entry.parsed;
  Log(std::move(entry), logged);
  if (answering_) Answer(connection, request);
}

void StandinServer::WriteTo(Connection& connection, Clock::time_point now) {
  while (!connection.output.empty() && !connection.closing) {
    Outgoing& out = connection.output.front();
    if (out.due > now) return;
    if (out.piece >= out.pieces.size()) {
      const bool closeAfter = out.closeAfter;
      connection.output.pop_front();
      if (closeAfter) connection.closing = true;
      continue;
    }
    const std::size_t pieceSize = out.pieces[out.piece];
    const ssize_t n = send(connection.fd, out.bytes.data() + out.offset, pieceSize - out.sentInPiece,
                           MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        connection.waitingForWrite = true;
      } else {
        connection.closing = true;
      }
      return;
    }
    connection.waitingForWrite = false;
    out.offset += static_cast<std::size_t>(n);
    out.sentInPiece += static_cast<std::size_t>(n);
    if (out.sentInPiece < pieceSize) continue;
    out.sentInPiece = 0;
    ++out.piece;
    if (out.piece < out.pieces.size() && out.gap.count() > 0) {
      out.due = Clock::now() + out.gap;
      now = Clock::now();
    }
  }
}

void StandinServer::CloseNow(Connection& connection, std::vector<ReceivedMessage>& logged) {
  if (connection.filled > 0) {
    ReceivedMessage entry;
    entry.connection = connection.number;
    entry.time = Clock::now();
    entry.raw.assign(connection.input.begin(), connection.input.begin() + connection.filled);
    entry.parsed = ParseBlock(connection.input.data(), connection.filled);
    entry.cmd = entry.parsed.Header("Cmd");
    connection.filled = 0;
    Log(std::move(entry), logged);
  }
  if (coalescing_ && coalescing_->connection == connection.number) coalescing_.reset();
  close(connection.fd);
  connection.fd = -1;
  connection.output.clear();
  changed_.notify_all();
}

void StandinServer::Answer(Connection& connection, const ParsedMessage& request) {
  const std::string cmd = request.Header("Cmd");
  const auto now = Clock::now();
  if (cmd == "hello" && script_.answerHello) {
    if (const auto block = BuildBlock(HelloAnswer(script_))) QueueBlock(connection, *block, now);
  } else if (cmd == "login" && script_.answerLogin) {
    OutgoingMessage m;
    m.kind = MessageKind::Answer;
    m.cmd = "loginack";
    m.cseq = request.IntHeader("CSeq");
    m.classValue = script_.accounts.empty() || KnownAccount(request) ? script_.loginClass : 0;
    if (const auto block = BuildBlock(m)) QueueBlock(connection, *block, now + script_.loginDelay);
  } else if (cmd == "connect" && script_.sendGatewayList &&
             (script_.accounts.empty() || KnownAccount(request))) {
    for (OutgoingMessage page : listPages_) {
      page.cseq = request.IntHeader("CSeq");
      if (const auto block = BuildBlock(page)) QueueBlock(connection, *block, now);
    }
  } else if (cmd == "invite") {
    AnswerInvite(connection, request, now);
  } else if (const auto answer = script_.answers.find(cmd); answer != script_.answers.end() && answer->second) {
    for (const OutgoingMessage& message : answer->second(request))
      if (const auto block = BuildBlock(message)) QueueBlock(connection, *block, now);
  }
}

void StandinServer::QueueBlock(Connection& connection, const Block& block, Clock::time_point due) {
  std::string bytes(reinterpret_cast<const char*>(block.data()), block.size());
  if (coalescing_ && coalescing_->connection == connection.number) {
    coalescing_->bytes += bytes;
    coalescing_->due = std::max(coalescing_->due, due);
    if (--coalescing_->remaining > 0) return;
    Outgoing out;
    out.bytes = std::move(coalescing_->bytes);
    out.pieces = {out.bytes.size()};
    out.due = coalescing_->due;
    coalescing_.reset();
    connection.output.push_back(std::move(out));
    return;
  }
  Outgoing out;
  out.due = due;
  if (!faults_.empty() && !coalescing_) {
    Fault fault = std::move(faults_.front());
    faults_.pop_front();
    switch (fault.kind) {
      case Fault::Kind::Split:
        out.pieces = NormalisePieces(fault.pieces, bytes.size());
        out.gap = fault.gap;
        break;
      case Fault::Kind::Coalesce:
        if (fault.count > 1) {
          coalescing_ = Coalescing{fault.count - 1, std::move(bytes), due, connection.number};
          return;
        }
        break;
      case Fault::Kind::Junk:
        bytes = fault.junk + bytes;
        break;
      case Fault::Kind::CloseMid:
        bytes.resize(std::min(fault.count, bytes.size()));
        out.closeAfter = true;
        break;
    }
  }
  out.bytes = std::move(bytes);
  if (out.pieces.empty() && !out.bytes.empty()) out.pieces = {out.bytes.size()};
  connection.output.push_back(std::move(out));
}

void StandinServer::Log(ReceivedMessage entry, std::vector<ReceivedMessage>& logged) {
  if (entry.complete) ++counts_[entry.cmd];
  if (observer_) logged.push_back(entry);
  log_.push_back(std::move(entry));
  if (log_.size() > kLogCapacity) log_.pop_front();
  changed_.notify_all();
}

bool StandinServer::KnownAccount(const ParsedMessage& request) const {
  const std::string cname = request.Header("CName");
  const std::string callId = request.Header("CallID");
  return std::any_of(script_.accounts.begin(), script_.accounts.end(), [&](const Account& account) {
    return EncodeCredential(account.user) == cname && EncodeCredential(account.password) == callId;
  });
}

StandinServer::Connection* StandinServer::Current() {
  for (auto it = connections_.rbegin(); it != connections_.rend(); ++it) {
    if (!(*it)->closing) return it->get();
  }
  return nullptr;
}

void StandinServer::Wake() {
  if (wakeWrite_ < 0) return;
  const char byte = 1;
  if (write(wakeWrite_, &byte, 1) < 0) {
    // A full pipe already wakes the thread.
  }
}

}  // namespace standin
