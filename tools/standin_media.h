#pragma once
// StandinMedia: the platform server's media listener (port 4290 of its
// address by default). It reads the client's handshake "[CallID=..][SSRC=..]"
// and answers "[Status=OK]" as scripted (at once, later, in two writes, or
// never), then sends a tone as A-law frames; it records every control text
// and every frame it receives, and notes when a client closes.
//
// One thread serves all connections on non-blocking sockets; answers and
// sends go to the connection they concern, SendRaw to the newest one. The
// public methods may be called from any thread.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/standin_media_codec.h"

namespace standin {

struct MediaScript {
  enum class Answer { AtOnce, Delayed, Split, Never };
  Answer answer = Answer::AtOnce;
  // Delayed: the wait before the answer. Split: the wait between its pieces.
  std::chrono::milliseconds delay{20};
  // Split: the bytes of the answer in its first write.
  std::size_t splitAt = 4;
  // After the answer: this many frames of the tone, 10 ms apart.
  std::size_t toneFrames = 0;
};

class StandinMedia {
 public:
  static constexpr std::uint16_t kDefaultPort = 4290;
  static constexpr std::size_t kToneFrameSamples = 80;
  static constexpr std::size_t kMaxOpenConnections = 16;
  // Bytes a connection may hold unparsed before they count as junk.
  static constexpr std::size_t kMaxPendingBytes = 65536;

  StandinMedia() = default;
  ~StandinMedia();
  StandinMedia(const StandinMedia&) = delete;
  StandinMedia& operator=(const StandinMedia&) = delete;

  // A numeric address in 127.0.0.0/8; port 0 picks a free port. The records
  // (texts, handshakes, frames, counts) start afresh with every start.
  bool Start(const std::string& address, std::uint16_t port = kDefaultPort);
  std::uint16_t Port() const;
  void Stop();

  void SetScript(const MediaScript& script);

  // Every bracketed control text received, in order ("[CallID=..]",
  // "[SSRC=..]", "[Status=Bye]", ...), all connections together.
  std::vector<std::string> Texts() const;
  // The handshakes: a "[CallID=..]" directly followed by "[SSRC=..]", as
  // (CallID, SSRC).
  std::vector<std::pair<std::string, std::string>> Handshakes() const;
  std::vector<MediaFrame> Frames() const;
  // Bytes that were neither a control text nor a frame.
  std::size_t JunkBytes() const;
  std::size_t ToneFramesSent() const;

  bool WaitForTexts(std::size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForHandshakes(std::size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForToneFrames(std::size_t count, std::chrono::milliseconds timeout) const;

  std::size_t ConnectionsAccepted() const;
  std::size_t ConnectionsOpen() const;
  bool WaitForConnections(std::size_t accepted, std::chrono::milliseconds timeout) const;
  bool WaitForOpenConnections(std::size_t open, std::chrono::milliseconds timeout) const;

  // Bytes as they are, to the newest open connection, `delay` from now.
  bool SendRaw(const std::string& bytes, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
  // Closes the newest open connection.
  bool CloseConnection();

 private:
  using Clock = std::chrono::steady_clock;
  struct Outgoing {
    std::string bytes;
    std::size_t offset = 0;
    Clock::time_point due;
    bool tone = false;
  };
  struct Connection {
    std::size_t number = 0;
    int fd = -1;
    std::string input;
    std::deque<Outgoing> output;
    bool sawCallId = false;  // the last text was "[CallID=..]"
    bool answered = false;
    bool closing = false;
  };

  void Run();
  void AcceptPending();
  void ReadFrom(Connection& connection);
  void Parse(Connection& connection);
  void OnText(Connection& connection, const std::string& text);
  void Answer(Connection& connection);
  void WriteTo(Connection& connection, Clock::time_point now);
  void Queue(Connection& connection, std::string bytes, Clock::time_point due, bool tone = false);
  Connection* Newest();
  void Wake();

  std::mutex lifecycle_;
  mutable std::mutex mutex_;  // everything below
  mutable std::condition_variable changed_;
  MediaScript script_;
  std::vector<std::string> texts_;
  std::vector<std::pair<std::string, std::string>> handshakes_;
  std::vector<MediaFrame> frames_;
  std::size_t junk_ = 0;
  std::size_t toneSent_ = 0;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::size_t accepted_ = 0;
  bool stop_ = false;
  bool running_ = false;
  std::uint16_t port_ = 0;
  int listenFd_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::thread thread_;
};

}  // namespace standin
