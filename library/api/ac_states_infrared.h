#pragma once
// The air conditioners' states of one session, one per unit of each node,
// created with the defaults on first use and kept as long as the session.
// A lock guards them: keys pressed on several threads change each state one
// key at a time.
#include <compare>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "library/api/commands_infrared.h"

class CIotSession;

struct AcUnit {
  std::uint32_t nvsid = 0;
  std::uint16_t netId = 0;
  std::uint16_t nodeAddress = 0;
  std::uint8_t unit = 0;

  auto operator<=>(const AcUnit&) const = default;
};

class AcStates {
 public:
  using Clock = std::time_t (*)();
  // `clock` gives the time whose local hour and minute a new state takes.
  explicit AcStates(Clock clock = nullptr);

  // Applies the key to the unit's state and returns the state as it is then.
  AcState Press(const AcUnit& unit, int key);
  // Creates the unit's state when it has none.
  void Ensure(const AcUnit& unit);
  std::optional<AcState> Find(const AcUnit& unit) const;

 private:
  AcState& StateOf(const AcUnit& unit);  // under the lock

  Clock clock_;
  mutable std::mutex mutex_;
  std::map<AcUnit, AcState> states_;
};

// The states of a live session. They go when the session has gone (at the
// next call for any session).
std::shared_ptr<AcStates> AcStatesOf(const std::shared_ptr<CIotSession>& session);
