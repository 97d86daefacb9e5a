#include "library/session/pending_commands.h"

void CPendingCmdTable::Add(std::int32_t cseq, std::int32_t nvsid, std::int32_t netId, std::int32_t nodeAddress,
                           std::time_t now) {
  std::lock_guard lock(mutex_);
  entries_[cseq] = PendingCmdEntry{cseq, now, nvsid, netId, nodeAddress};
}

std::optional<PendingCmdEntry> CPendingCmdTable::Find(std::int32_t cseq) const {
  std::lock_guard lock(mutex_);
  const auto it = entries_.find(cseq);
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

void CPendingCmdTable::Remove(std::int32_t cseq) {
  std::lock_guard lock(mutex_);
  entries_.erase(cseq);
}

bool CPendingCmdTable::Expire(std::time_t now, const std::function<bool()>& stillConnected) {
  std::lock_guard lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (!stillConnected()) return false;
    if (now - it->second.sentTime > kMaxAgeSeconds) it = entries_.erase(it);
    else ++it;
  }
  return true;
}

std::size_t CPendingCmdTable::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}
