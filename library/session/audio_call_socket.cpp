#include "library/session/audio_call_socket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "library/session/g711.h"
#include "platform/clock.h"

namespace {

constexpr std::string_view kAnswerText = "[Status=OK]";
constexpr std::string_view kByeText = "[Status=Bye]";
constexpr std::string_view kCallIdMark = "[CallID=";
constexpr std::string_view kStatusMark = "[Status=";
// What is kept of unanswered bytes: the answer may begin in them.
constexpr std::size_t kAnswerTail = kAnswerText.size() - 1;
constexpr std::size_t kAudioChunk = 80;
// The longest time a frame cut by a full send buffer may take to complete.
constexpr std::uint32_t kSendCompletionMs = 50;
// One capture block's worth of time.
constexpr std::uint32_t kBlockMs = 10;

bool Contains(const std::uint8_t* data, std::size_t size, std::string_view text) {
  const auto* begin = reinterpret_cast<const char*>(data);
  return std::string_view(begin, size).find(text) != std::string_view::npos;
}

bool ModeSends(int mode) { return mode == 2 || mode == CAudioCallSocket::kModeTalkAndListen; }

std::array<std::uint8_t, 4> TickBytes(std::uint32_t ticks) {
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &ticks, bytes.size());
  return bytes;
}

}  // namespace

CAudioCallSocket::CAudioCallSocket()
    : capture_(plat::CreateAudioCapture()),
      player_(plat::CreateAudioPlayback()),
      ssrc_(TickBytes(plat::TickCount())),
      timestamp_(plat::TickCount()) {
  player_->Init();
}

CAudioCallSocket::~CAudioCallSocket() {
  closing_ = true;
  {
    std::lock_guard lock(lock_);
    active_ = false;
  }
  // No handler runs from here on; then nothing captures or plays.
  StopEvents();
  Stop();
  handshakeTimer_.Stop();
  capture_->Stop();
  player_->Stop();
}

bool CAudioCallSocket::Connect(const std::string& host, unsigned port, std::uint32_t timeoutMs) {
  if (!Create(0, SOCK_STREAM)) return false;
  const int noDelay = 1;
  setsockopt(GetSocket(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  SetConnectTimeout(timeoutMs);
  return ConnectHost(host.c_str(), port);
}

int CAudioCallSocket::SendWholeLocked(const std::uint8_t* bytes, std::size_t length) {
  const char* data = reinterpret_cast<const char*>(bytes);
  const int total = static_cast<int>(length);
  int sent = Send(data, total);
  if (sent < 1) {
    plat::SleepMs(1);
    sent = Send(data, total);
  }
  if (sent < 1) return sent;  // nothing of it left: the frame is dropped whole
  const std::uint32_t start = plat::TickCount();
  while (sent < total) {
    const int n = Send(data + sent, total - sent);
    if (n > 0) {
      sent += n;
      continue;
    }
    const int error = LastError();
    const std::uint32_t elapsed = plat::TicksSince(start, plat::TickCount());
    if (n == 0 || (error != EAGAIN && error != EWOULDBLOCK && error != EINTR) || elapsed >= kSendCompletionMs)
      break;
    pollfd pfd{GetSocket(), POLLOUT, 0};
    ::poll(&pfd, 1, static_cast<int>(kSendCompletionMs - elapsed));
  }
  if (sent < total) Close();
  return sent;
}

int CAudioCallSocket::SendHandshakeLocked() {
  const std::string text = "[CallID=" + callId_ + "][SSRC=" + ssrcText_ + "]";
  return SendWholeLocked(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

int CAudioCallSocket::SendCallHandshake(const std::string& callId, const std::string& ssrc) {
  std::lock_guard lock(sendMutex_);
  callId_ = callId;
  ssrcText_ = ssrc;
  ssrc_.fill(0);
  std::memcpy(ssrc_.data(), callId.data(), std::min(callId.size(), ssrc_.size()));
  return SendHandshakeLocked();
}

int CAudioCallSocket::SendBye() {
  std::lock_guard lock(sendMutex_);
  return SendWholeLocked(reinterpret_cast<const std::uint8_t*>(kByeText.data()), kByeText.size());
}

bool CAudioCallSocket::Start() {
  bool capturing = false;
  {
    std::lock_guard lock(lock_);
    if (closedByPeer_) return false;
    active_ = true;
    if (ModeSends(mode_)) {
      capturing = capture_->Start(
          [this](const std::int16_t* samples, std::size_t bytes) { OnCaptureData(samples, bytes); });
    }
    state_ = 1;
  }
  // Without captured blocks a timer keeps the handshake's rhythm.
  if (!capturing) handshakeTimer_.Start(kBlockMs, [this] { HandshakeTick(); });
  return player_->Start();
}

int CAudioCallSocket::Stop() {
  {
    std::lock_guard lock(lock_);
    if (state_ == 0) return 0;
    state_ = 0;
  }
  player_->Stop();
  {
    std::lock_guard lock(lock_);
    active_ = false;
  }
  capture_->Stop();
  handshakeTimer_.Stop();
  return 1;
}

bool CAudioCallSocket::IsStarted() const {
  std::lock_guard lock(lock_);
  return state_ != 0;
}

bool CAudioCallSocket::IsCapturing() const { return capture_->IsRunning(); }

void CAudioCallSocket::OnCaptureData(const std::int16_t* samples, std::size_t bytes) {
  if (answered_) {
    if (active_ && ModeSends(mode_)) SendRtpAudio(samples, bytes, kAudioChunk, kPayloadTypePcma);
    return;
  }
  HandshakeTick();
}

void CAudioCallSocket::HandshakeTick() {
  if (answered_) return;
  std::lock_guard lock(sendMutex_);
  if (!callId_.empty() && !ssrcText_.empty() && handshakeCounter_ % kHandshakeEvery == 0) SendHandshakeLocked();
  ++handshakeCounter_;
}

int CAudioCallSocket::SendRtpAudio(const std::int16_t* samples, std::size_t bytes, std::size_t chunk,
                                   int payloadType) {
  if (chunk == 0 || chunk > kMaxChunk) return 0;
  std::lock_guard lock(sendMutex_);
  const std::size_t encoded = EncodeALawBlock(samples, bytes, payloadType, encoded_.data(), encoded_.size());
  int total = 0;
  for (std::size_t offset = 0; offset < encoded; offset += chunk) {
    const std::size_t piece = std::min(chunk, encoded - offset);
    MediaFrameHeader header;
    header.payloadType = payloadType;
    header.sequence = sequence_;
    header.timestamp = timestamp_;
    header.ssrc = ssrc_;
    const std::size_t size = WriteMediaFrame(header, encoded_.data() + offset, piece, frame_.data());
    total += SendWholeLocked(frame_.data(), size);
    ++sequence_;
    timestamp_ += kTimestampStep;
  }
  return total;
}

std::size_t CAudioCallSocket::EncodeALawBlock(const std::int16_t* samples, std::size_t bytes, int payloadType,
                                              std::uint8_t* out, std::size_t capacity) {
  if (payloadType != kPayloadTypePcma || samples == nullptr || out == nullptr) return 0;
  const std::size_t count = std::min(bytes / sizeof(std::int16_t), capacity);
  for (std::size_t i = 0; i < count; ++i) out[i] = LinearToALaw(samples[i]);
  return count;
}

std::size_t CAudioCallSocket::DecodeALawBlock(const std::uint8_t* codes, std::size_t count, int payloadType,
                                              std::int16_t* out) {
  if (payloadType != kPayloadTypePcma || codes == nullptr || out == nullptr) return 0;
  const std::size_t samples = std::min(count, kMaxDecodedSamples);
  for (std::size_t i = 0; i < samples; ++i) out[i] = ALawToLinear(codes[i]);
  return samples * sizeof(std::int16_t);
}

void CAudioCallSocket::PlayAudio(const std::int16_t* samples, std::size_t bytes) {
  if (bytes > 0) player_->Write(samples, bytes);
}

void CAudioCallSocket::HandleFrame(int payloadType, const std::uint8_t* payload, std::size_t count) {
  const std::size_t bytes = DecodeALawBlock(payload, count, payloadType, decoded_.data());
  PlayAudio(decoded_.data(), bytes);
}

void CAudioCallSocket::OnReceive(int) {
  if (closing_) return;
  const int n = Receive(reinterpret_cast<char*>(received_.data() + pending_),
                        static_cast<int>(received_.size() - pending_));
  if (closing_ || n <= 0) return;
  const std::size_t size = pending_ + static_cast<std::size_t>(n);
  pending_ = 0;
  if (!answered_) {
    if (Contains(received_.data(), size, kAnswerText)) {
      answered_ = true;
      return;
    }
    // Dropped, but for a tail in which the answer may have begun.
    const std::size_t keep = std::min(size, kAnswerTail);
    std::memmove(received_.data(), received_.data() + size - keep, keep);
    pending_ = keep;
    return;
  }
  if (!audio_) {
    if (Contains(received_.data(), size, kCallIdMark) || Contains(received_.data(), size, kStatusMark)) return;
    audio_ = true;
  }
  const std::size_t keep = ParseMediaFrames(
      received_.data(), size,
      [this](int payloadType, const std::uint8_t* payload, std::size_t count) {
        if (!closing_) HandleFrame(payloadType, payload, count);
      });
  std::memmove(received_.data(), received_.data() + size - keep, keep);
  pending_ = keep;
}

void CAudioCallSocket::OnClose(int) {
  {
    std::lock_guard lock(lock_);
    closedByPeer_ = true;
  }
  Stop();
}
