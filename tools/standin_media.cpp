#include "tools/loopback_listener.h"
#include "tools/standin_media.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace standin {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLongestSleep(50);
constexpr milliseconds kToneGap(10);
constexpr int kReadsPerWake = 64;
constexpr std::size_t kReadChunk = 4096;
constexpr char kAnswerText[] = "[Status=OK]";
// A control text longer than this is junk.
constexpr std::size_t kLongestText = 256;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The value between '=' and ']' of a "[Name=value]" text.
std::string ValueOf(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || text.size() < equals + 2) return {};
  return text.substr(equals + 1, text.size() - equals - 2);
}

}  // namespace

StandinMedia::~StandinMedia() { Stop(); }

bool StandinMedia::Start(const std::string& address, std::uint16_t port) {
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
  texts_.clear();
  handshakes_.clear();
  frames_.clear();
  junk_ = 0;
  toneSent_ = 0;
  stop_ = false;
  running_ = true;
  thread_ = std::thread(&StandinMedia::Run, this);
  return true;
}

std::uint16_t StandinMedia::Port() const {
  std::lock_guard lock(mutex_);
  return port_;
}

void StandinMedia::Stop() {
  std::lock_guard lifecycle(lifecycle_);
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    stop_ = true;
    Wake();
  }
  thread_.join();
  std::lock_guard lock(mutex_);
  CloseDescriptors({&listenFd_, &wakeRead_, &wakeWrite_});
  running_ = false;
  port_ = 0;
  changed_.notify_all();
}

void StandinMedia::SetScript(const MediaScript& script) {
  std::lock_guard lock(mutex_);
  script_ = script;
}

std::vector<std::string> StandinMedia::Texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

std::vector<std::pair<std::string, std::string>> StandinMedia::Handshakes() const {
  std::lock_guard lock(mutex_);
  return handshakes_;
}

std::vector<MediaFrame> StandinMedia::Frames() const {
  std::lock_guard lock(mutex_);
  return frames_;
}

std::size_t StandinMedia::JunkBytes() const {
  std::lock_guard lock(mutex_);
  return junk_;
}

std::size_t StandinMedia::ToneFramesSent() const {
  std::lock_guard lock(mutex_);
  return toneSent_;
}

bool StandinMedia::WaitForTexts(std::size_t count, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return texts_.size() >= count; });
}

bool StandinMedia::WaitForHandshakes(std::size_t count, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return handshakes_.size() >= count; });
}

bool StandinMedia::WaitForFrames(std::size_t count, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return frames_.size() >= count; });
}

bool StandinMedia::WaitForToneFrames(std::size_t count, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return toneSent_ >= count; });
}

std::size_t StandinMedia::ConnectionsAccepted() const {
  std::lock_guard lock(mutex_);
  return accepted_;
}

std::size_t StandinMedia::ConnectionsOpen() const {
  std::lock_guard lock(mutex_);
  return connections_.size();
}

bool StandinMedia::WaitForConnections(std::size_t accepted, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return accepted_ >= accepted; });
}

bool StandinMedia::WaitForOpenConnections(std::size_t open, milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return connections_.size() == open; });
}

bool StandinMedia::SendRaw(const std::string& bytes, milliseconds delay) {
  std::lock_guard lock(mutex_);
  Connection* connection = Newest();
  if (connection == nullptr) return false;
  Queue(*connection, bytes, Clock::now() + delay);
  Wake();
  return true;
}

bool StandinMedia::CloseConnection() {
  std::lock_guard lock(mutex_);
  Connection* connection = Newest();
  if (connection == nullptr) return false;
  connection->closing = true;
  Wake();
  return true;
}

// --- the listener's thread ---------------------------------------------------

void StandinMedia::Run() {
  std::unique_lock lock(mutex_);
  std::vector<pollfd> fds;
  while (!stop_) {
    const auto now = Clock::now();
    milliseconds sleep = kLongestSleep;
    fds.assign({pollfd{wakeRead_, POLLIN, 0}, pollfd{listenFd_, POLLIN, 0}});
    for (const auto& connection : connections_) {
      short events = POLLIN | POLLRDHUP;
      if (!connection->output.empty()) {
        const auto due = connection->output.front().due;
        if (due > now) sleep = std::min(sleep, std::chrono::ceil<milliseconds>(due - now));
        else events |= POLLOUT;
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
    for (std::size_t i = 0; i < polled; ++i) {
      Connection& connection = *connections_[i];
      if (!connection.closing && (fds[2 + i].revents & (POLLIN | POLLHUP | POLLERR | POLLRDHUP)))
        ReadFrom(connection);
    }
    for (auto& connection : connections_) {
      if (!connection->closing) WriteTo(*connection, Clock::now());
    }
    for (auto it = connections_.begin(); it != connections_.end();) {
      if ((*it)->closing) {
        close((*it)->fd);
        it = connections_.erase(it);
        changed_.notify_all();
      } else {
        ++it;
      }
    }
    if (fds[1].revents & POLLIN) AcceptPending();
  }
  for (auto& connection : connections_) close(connection->fd);
  connections_.clear();
  changed_.notify_all();
}

void StandinMedia::AcceptPending() {
  for (;;) {
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

void StandinMedia::ReadFrom(Connection& connection) {
  char chunk[kReadChunk];
  for (int i = 0; i < kReadsPerWake; ++i) {
    const ssize_t n = recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n == 0) {
      connection.closing = true;
      break;
    }
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) connection.closing = true;
      break;
    }
    connection.input.append(chunk, static_cast<std::size_t>(n));
    Parse(connection);
  }
  changed_.notify_all();
}

void StandinMedia::Parse(Connection& connection) {
  std::string& in = connection.input;
  std::size_t pos = 0;
  while (pos < in.size()) {
    const char c = in[pos];
    if (c == '[') {
      const std::size_t end = in.find(']', pos);
      if (end == std::string::npos) {
        if (in.size() - pos <= kLongestText) break;  // the rest may still come
        ++junk_;
        ++pos;
        continue;
      }
      OnText(connection, in.substr(pos, end - pos + 1));
      pos = end + 1;
    } else if (c == '$') {
      MediaFrame frame;
      std::size_t used = 0;
      if (!ReadMediaFrame(in.substr(pos), frame, used)) {
        if (in.size() - pos <= kMaxPendingBytes) break;
        ++junk_;
        ++pos;
        continue;
      }
      frame.connection = connection.number;
      frames_.push_back(std::move(frame));
      connection.sawCallId = false;
      pos += used;
    } else {
      ++junk_;
      ++pos;
    }
  }
  in.erase(0, pos);
}

void StandinMedia::OnText(Connection& connection, const std::string& text) {
  texts_.push_back(text);
  if (StartsWith(text, "[SSRC=") && connection.sawCallId) {
    const std::string callId = ValueOf(texts_[texts_.size() - 2]);
    handshakes_.emplace_back(callId, ValueOf(text));
    if (!connection.answered) Answer(connection);
  }
  connection.sawCallId = StartsWith(text, "[CallID=");
}

void StandinMedia::Answer(Connection& connection) {
  const auto now = Clock::now();
  const std::string answer = kAnswerText;
  Clock::time_point answeredAt = now;
  switch (script_.answer) {
    case MediaScript::Answer::Never: return;
    case MediaScript::Answer::AtOnce: Queue(connection, answer, now); break;
    case MediaScript::Answer::Delayed:
      answeredAt = now + script_.delay;
      Queue(connection, answer, answeredAt);
      break;
    case MediaScript::Answer::Split: {
      const std::size_t first = std::min(script_.splitAt, answer.size());
      Queue(connection, answer.substr(0, first), now);
      answeredAt = now + script_.delay;
      Queue(connection, answer.substr(first), answeredAt);
      break;
    }
  }
  connection.answered = true;
  for (std::size_t i = 0; i < script_.toneFrames; ++i) {
    const auto samples = ToneSamples(i * kToneFrameSamples, kToneFrameSamples);
    std::string frame = BuildMediaFrame(kPcmaPayloadType, static_cast<std::uint16_t>(i),
                                        static_cast<std::uint32_t>(i * kToneFrameSamples),
                                        EncodeALawSamples(samples));
    // The first frame follows the answer by one gap, so the two never share a read.
    Queue(connection, std::move(frame), answeredAt + kToneGap * static_cast<long>(i + 1), true);
  }
}

void StandinMedia::Queue(Connection& connection, std::string bytes, Clock::time_point due, bool tone) {
  if (bytes.empty()) return;
  Outgoing out;
  out.bytes = std::move(bytes);
  out.due = due;
  out.tone = tone;
  connection.output.push_back(std::move(out));
}

void StandinMedia::WriteTo(Connection& connection, Clock::time_point now) {
  while (!connection.output.empty()) {
    Outgoing& out = connection.output.front();
    if (out.due > now) return;
    const ssize_t n = send(connection.fd, out.bytes.data() + out.offset, out.bytes.size() - out.offset,
                           MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) connection.closing = true;
      return;
    }
    out.offset += static_cast<std::size_t>(n);
    if (out.offset < out.bytes.size()) return;
    if (out.tone) ++toneSent_;
    connection.output.pop_front();
    changed_.notify_all();
  }
}

StandinMedia::Connection* StandinMedia::Newest() {
  for (auto it = connections_.rbegin(); it != connections_.rend(); ++it) {
    if (!(*it)->closing) return it->get();
  }
  return nullptr;
}

void StandinMedia::Wake() {
  if (wakeWrite_ < 0) return;
  const char byte = 1;
  if (write(wakeWrite_, &byte, 1) < 0) {
    // A full pipe already wakes the thread.
  }
}

}  // namespace standin
