#pragma once
// CAudioCallSocket: the media connection of one audio call, a TCP
// connection to the platform server's media port. It identifies the call
// with the handshake "[CallID=%s][SSRC=%s]", waits for "[Status=OK]", then
// sends the microphone's audio as A-law frames and plays the frames it
// receives.
//
// Threads: the capture's thread encodes and sends, the socket's event
// thread receives, decodes and plays, and the owner's thread connects,
// starts, stops and destroys. Every send is made whole under one lock, so
// frames and control texts never interleave; the owner destroys the object
// from any thread but the socket's own event thread.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "library/session/event_socket.h"
#include "library/session/media_frame.h"
#include "platform/audio_device.h"
#include "platform/periodic_timer.h"

class CAudioCallSocket : public CEventSocket {
 public:
  // Call modes: 1 listen only, 2 and 3 also send the microphone's audio.
  static constexpr int kModeListen = 1;
  static constexpr int kModeTalkAndListen = 3;
  static constexpr std::size_t kReceiveBufferBytes = 1920;
  static constexpr std::size_t kMaxChunk = 1200;
  static constexpr std::size_t kMaxDecodedSamples = 4000;
  static constexpr std::size_t kEncodedCapacity = 8000;
  // A capture block stands for this many timestamp units (the peer counts so).
  static constexpr std::uint32_t kTimestampStep = 20;
  // Capture blocks (or their 10 ms) between handshakes while unanswered.
  static constexpr int kHandshakeEvery = 100;

  CAudioCallSocket();
  ~CAudioCallSocket() override;

  // Creates the socket, sets TCP_NODELAY and connects within `timeoutMs`;
  // on success the event thread runs.
  bool Connect(const std::string& host, unsigned port, std::uint32_t timeoutMs);
  using CEventSocket::Connect;  // the address form stays callable
  void SetMode(int mode) { mode_ = mode; }
  int Mode() const { return mode_; }
  // Remembers both texts (the SSRC text is sent as it is given: the caller
  // passes it in the wire's code page) and sends the handshake. Bytes sent.
  int SendCallHandshake(const std::string& callId, const std::string& ssrc);
  // "[Status=Bye]". Bytes sent.
  int SendBye();
  // Starts playback, and capture in the modes that send. The result of the
  // player's start.
  bool Start();
  // 0 when not started; else stops playback and capture and returns 1.
  int Stop();
  bool IsStarted() const;
  bool IsAnswered() const { return answered_.load(); }
  bool IsCapturing() const;

  // The capture's sink: one block of 160 bytes.
  void OnCaptureData(const std::int16_t* samples, std::size_t bytes);
  // Encodes `bytes` of samples and sends them as frames of at most `chunk`
  // payload bytes. The sum of the bytes sent; 0 when `chunk` is 0 or above
  // kMaxChunk.
  int SendRtpAudio(const std::int16_t* samples, std::size_t bytes, std::size_t chunk, int payloadType);

  void OnReceive(int errorCode) override;
  void OnClose(int errorCode) override;

  // A-law bytes written (one per sample, at most `capacity`); 0 unless
  // the payload type is 8.
  static std::size_t EncodeALawBlock(const std::int16_t* samples, std::size_t bytes, int payloadType,
                                     std::uint8_t* out, std::size_t capacity);
  // Bytes of samples written (two per code, at most kMaxDecodedSamples
  // samples); 0 unless the payload type is 8.
  static std::size_t DecodeALawBlock(const std::uint8_t* codes, std::size_t count, int payloadType,
                                     std::int16_t* out);

 private:
  void PlayAudio(const std::int16_t* samples, std::size_t bytes);
  void HandleFrame(int payloadType, const std::uint8_t* payload, std::size_t count);
  // Re-sends the handshake every kHandshakeEvery ticks while unanswered.
  void HandshakeTick();
  // Sends all of `length` bytes or none: a send that takes nothing is tried
  // once more after 1 ms and then dropped; a send cut in the middle is
  // completed within a bounded time, or the connection is closed (the
  // peer would read the stream out of step). Call with sendMutex_ held.
  int SendWholeLocked(const std::uint8_t* bytes, std::size_t length);
  int SendHandshakeLocked();

  std::unique_ptr<plat::AudioCapture> capture_;
  std::unique_ptr<plat::AudioPlayback> player_;
  plat::PeriodicTimer handshakeTimer_;  // stands in for the capture's blocks when none are captured

  mutable std::mutex lock_;  // the active flag, the state and the peer's close
  std::atomic<bool> active_{false};
  int state_ = 0;
  bool closedByPeer_ = false;

  std::atomic<int> mode_{kModeTalkAndListen};
  std::atomic<bool> answered_{false};
  std::atomic<bool> closing_{false};

  std::mutex sendMutex_;  // everything the senders share, below
  std::string callId_;
  std::string ssrcText_;
  std::array<std::uint8_t, 4> ssrc_{};
  std::uint16_t sequence_ = 0;
  std::uint32_t timestamp_ = 0;
  int handshakeCounter_ = 0;
  std::array<std::uint8_t, kEncodedCapacity> encoded_{};
  std::array<std::uint8_t, kFrameHeaderBytes + kMaxChunk> frame_{};

  // Event thread only.
  std::array<std::uint8_t, kReceiveBufferBytes> received_{};
  std::size_t pending_ = 0;
  bool audio_ = false;
  std::array<std::int16_t, kMaxDecodedSamples> decoded_{};
};
