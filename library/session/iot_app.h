#pragma once
// CIotApp: the library's one application object. Its counters are shared by
// all sessions of the process.
#include <atomic>
#include <cstdint>

class CIotApp {
 public:
  // Numbers the CSeq of every device command: 1 first, wrapping as uint32.
  std::uint32_t NextSequence() { return sequence_.fetch_add(1) + 1; }
  // Numbers each warning written to the warning file: 1 first.
  std::uint32_t NextWarnNumber() { return warnNumber_.fetch_add(1) + 1; }

 private:
  std::atomic<std::uint32_t> sequence_{0};
  std::atomic<std::uint32_t> warnNumber_{0};
};

CIotApp& TheIotApp();
