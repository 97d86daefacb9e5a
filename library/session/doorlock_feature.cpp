#include "library/session/doorlock_feature.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <mutex>
#include <tuple>

namespace {

struct Assembly {
  std::bitset<6> received;
  std::size_t first = 0, middle = 0, last = 0;
  FingerprintFeature feature;
};

using LockKey = std::tuple<std::uint32_t, std::uint16_t, std::uint16_t>;

class AssemblyStore {
 public:
  std::optional<FingerprintFeature> Take(const IotReply& reply) {
    const PayloadReader payload(reply.payload);
    const std::size_t n = payload.U8(1);
    const std::uint8_t part = payload.U8(3 + n);  // 0 past the payload's end
    if (part < 1 || part > 6) return std::nullopt;
    std::lock_guard lock(mutex_);
    Assembly& a = locks_[LockKey{reply.nvsid, reply.netId, reply.nodeAddress}];
    if (part == 1) {
      if (n < 4 || n - 4 > kFeatureBytes) return std::nullopt;
      a.received.reset();
      a.feature = FingerprintFeature{};
      a.first = n - 4;
      a.feature.user = payload.U16(4);
      a.feature.permission = payload.U8(6);
      Copy(a, payload, 7, 0, a.first);
    } else {
      if (n < 1) return std::nullopt;
      const std::size_t length = n - 1;
      const std::size_t middle = part == 6 ? a.middle : length;
      const std::size_t at = a.first + (part == 6 ? 4 : part - 2u) * middle;
      if (at > kFeatureBytes || length > kFeatureBytes - at) return std::nullopt;
      (part == 6 ? a.last : a.middle) = length;
      Copy(a, payload, 4, at, length);
    }
    a.received.set(part - 1u);
    if (part != 6 || !a.received.all()) return std::nullopt;
    return a.feature;
  }

 private:
  static void Copy(Assembly& a, const PayloadReader& payload, std::size_t from, std::size_t at, std::size_t length) {
    const std::vector<std::uint8_t> bytes = payload.Bytes(from, length);
    std::copy(bytes.begin(), bytes.end(), a.feature.bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }

  std::mutex mutex_;
  std::map<LockKey, Assembly> locks_;
};

AssemblyStore& Store() {
  static AssemblyStore store;
  return store;
}

}  // namespace

std::optional<FingerprintFeature> TakeFingerprintPart(const IotReply& reply) { return Store().Take(reply); }
