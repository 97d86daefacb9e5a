#pragma once
// The commands whose delivery state the server still has to report, by CSeq.
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <unordered_map>

struct PendingCmdEntry {
  std::int32_t cseq = 0;
  std::time_t sentTime = 0;
  std::int32_t nvsid = 0;
  std::int32_t netId = 0;
  std::int32_t nodeAddress = 0;
};

class CPendingCmdTable {
 public:
  // Entries older than this many seconds go at the next expiry pass.
  static constexpr std::time_t kMaxAgeSeconds = 8;

  // Stamped with `now`; replaces an entry of the same CSeq.
  void Add(std::int32_t cseq, std::int32_t nvsid, std::int32_t netId, std::int32_t nodeAddress, std::time_t now);
  // A copy of the entry, which an expiry on another thread cannot take away.
  std::optional<PendingCmdEntry> Find(std::int32_t cseq) const;
  void Remove(std::int32_t cseq);
  // Removes the entries more than 8 s old at `now`, as long as `stillConnected`
  // holds before each one; false when it stopped for that reason.
  bool Expire(std::time_t now, const std::function<bool()>& stillConnected);
  std::size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::int32_t, PendingCmdEntry> entries_;
};
