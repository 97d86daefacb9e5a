#include "library/api/ac_states_infrared.h"

#include <vector>

namespace {

std::time_t SystemTime() { return std::time(nullptr); }

struct Registry {
  std::mutex mutex;
  std::map<std::weak_ptr<CIotSession>, std::shared_ptr<AcStates>, std::owner_less<std::weak_ptr<CIotSession>>> states;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

AcStates::AcStates(Clock clock) : clock_(clock ? clock : &SystemTime) {}

AcState& AcStates::StateOf(const AcUnit& unit) {
  auto found = states_.find(unit);
  if (found != states_.end()) return found->second;
  const std::time_t now = clock_();
  std::tm local{};
  localtime_r(&now, &local);
  return states_.emplace(unit, DefaultAcState(local.tm_hour, local.tm_min)).first->second;
}

AcState AcStates::Press(const AcUnit& unit, int key) {
  std::lock_guard lock(mutex_);
  AcState& state = StateOf(unit);
  ApplyAcKey(state, key);
  return state;
}

void AcStates::Ensure(const AcUnit& unit) {
  std::lock_guard lock(mutex_);
  StateOf(unit);
}

std::optional<AcState> AcStates::Find(const AcUnit& unit) const {
  std::lock_guard lock(mutex_);
  const auto found = states_.find(unit);
  if (found == states_.end()) return std::nullopt;
  return found->second;
}

std::shared_ptr<AcStates> AcStatesOf(const std::shared_ptr<CIotSession>& session) {
  if (!session) return nullptr;
  Registry& registry = TheRegistry();
  std::vector<std::shared_ptr<AcStates>> gone;  // freed after the lock
  std::lock_guard lock(registry.mutex);
  for (auto it = registry.states.begin(); it != registry.states.end();) {
    if (it->first.expired()) {
      gone.push_back(std::move(it->second));
      it = registry.states.erase(it);
    } else {
      ++it;
    }
  }
  std::shared_ptr<AcStates>& states = registry.states[session];
  if (!states) states = std::make_shared<AcStates>();
  return states;
}
