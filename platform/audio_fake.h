#pragma once
// The far side of the fake audio backend, for tests: they push the blocks
// that the running capture delivers, read back everything that was written
// to a player, count starts and stops, and make starts fail.
//
// Every fake capture and player of the process talks to the one device
// returned by Instance(). A fake capture delivers on a thread of its own,
// like a real one.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace plat {

class FakeAudioDevice {
 public:
  static FakeAudioDevice& Instance();

  // Forgets every block, sample, count and injected failure.
  void Reset();
  void FailCaptureStart(bool fail);
  void FailPlaybackInit(bool fail);
  void FailPlaybackStart(bool fail);

  // ---- capture
  // Queues one block for the running capture; false when no capture runs
  // or the block is not exactly one capture block.
  bool PushCapture(const std::vector<std::int16_t>& block);
  // True once the capture has handed every queued block to its sink (and
  // the sink has returned), within `timeout`.
  bool WaitCaptureIdle(std::chrono::milliseconds timeout) const;
  int CaptureStarts() const;  // successful starts
  int CaptureStops() const;   // stops of a running capture
  bool CaptureRunning() const;
  std::size_t BlocksDelivered() const;

  // ---- playback
  // Every sample written to a player whose Init succeeded, in order.
  std::vector<std::int16_t> Played() const;
  bool WaitForPlayed(std::size_t samples, std::chrono::milliseconds timeout) const;
  int PlaybackInits() const;  // successful inits
  int PlaybackStarts() const;
  int PlaybackStops() const;
  bool PlaybackRunning() const;

 private:
  friend class FakeCapture;
  friend class FakePlayback;

  FakeAudioDevice() = default;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool failCaptureStart_ = false;
  bool failPlaybackInit_ = false;
  bool failPlaybackStart_ = false;
  int runningCaptures_ = 0;
  int captureStarts_ = 0;
  int captureStops_ = 0;
  std::deque<std::vector<std::int16_t>> queued_;
  std::size_t inSink_ = 0;  // blocks taken and not yet returned from a sink
  std::size_t delivered_ = 0;
  std::vector<std::int16_t> played_;
  int runningPlayers_ = 0;
  int playbackInits_ = 0;
  int playbackStarts_ = 0;
  int playbackStops_ = 0;
};

}  // namespace plat
