#include "library/api/commands_sampling.h"

#include <array>
#include <cstdint>
#include <limits>

#include "library/api/scaled_value.h"

namespace {

constexpr std::uint8_t kDais = 60, kTdc = 61, kThdc = 62, kIdc = 63, kPh = 46, kCo2 = 47, kO2 = 48;

// Function bytes of the collectors.
constexpr std::uint8_t kSampling = 80, kSetLimit = 81, kStart = 82, kStop = 83, kQueryLimit = 84, kQueryRange = 85,
                       kZeroSetting = 86, kQueryZeroSetting = 87;
// Function bytes of the analysers.
constexpr std::uint8_t kAnalyserQuery = 48, kAnalyserStart = 49, kAnalyserStop = 50, kPhCalibrate = 51;

using Head = std::array<std::uint8_t, 4>;
constexpr Head kCollectorHead = {2, 0, 0, 0};
constexpr Head kZeroHead = {0, 0, 0, 0};
constexpr Head kGasHead = {0, 0, 1, 2};

IotCommand Make(std::uint8_t code, std::uint8_t function, std::vector<std::uint8_t> payload = {}) {
  return IotCommand{code, function, std::move(payload), true};
}

void PutInt32(std::vector<std::uint8_t>& payload, std::int64_t value) {
  const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
  for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<std::uint8_t>(bits >> shift));
}

// The head, then the period and the number of samples, both as given.
IotCommand Continuous(std::uint8_t code, std::uint8_t function, const Head& head, int periodMs, int count) {
  std::vector<std::uint8_t> payload(head.begin(), head.end());
  PutInt32(payload, periodMs);
  PutInt32(payload, count);
  return Make(code, function, std::move(payload));
}

// Limit count, 1, 0, 0, then the tenths of the limits in the order the
// device takes them: second, first, fourth, third (the last two 0 for the
// one-channel collectors).
std::optional<IotCommand> Limits(std::uint8_t code, std::uint8_t limitCount, std::initializer_list<float> limits) {
  std::vector<std::int64_t> tenths;
  for (const float limit : limits) {
    const auto scaled =
        ScaleFloat(limit, 10, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    if (!scaled) return std::nullopt;
    tenths.push_back(*scaled);
  }
  tenths.resize(4, 0);
  std::vector<std::uint8_t> payload = {limitCount, 1, 0, 0};
  for (const std::size_t index : {1u, 0u, 3u, 2u}) PutInt32(payload, tenths[index]);
  return Make(code, kSetLimit, std::move(payload));
}

}  // namespace

IotCommand DaisSampling() { return Make(kDais, kSampling); }
std::optional<IotCommand> DaisSetLimit(float first, float second, float third, float fourth) {
  return Limits(kDais, 4, {first, second, third, fourth});
}
IotCommand DaisStartContinuousSampling(int periodMs, int count) {
  return Continuous(kDais, kStart, kZeroHead, periodMs, count);
}
IotCommand DaisStopContinuousSampling() { return Make(kDais, kStop); }
IotCommand DaisQueryLimit() { return Make(kDais, kQueryLimit); }
IotCommand DaisQueryRange() { return Make(kDais, kQueryRange); }
IotCommand DaisZeroSetting() { return Make(kDais, kZeroSetting); }
IotCommand DaisQueryZeroSetting() { return Make(kDais, kQueryZeroSetting); }

IotCommand ThdcSampling() { return Make(kThdc, kSampling); }
std::optional<IotCommand> ThdcSetLimit(float first, float second, float third, float fourth) {
  return Limits(kThdc, 4, {first, second, third, fourth});
}
IotCommand ThdcStartContinuousSampling(int periodMs, int count) {
  return Continuous(kThdc, kStart, kCollectorHead, periodMs, count);
}
IotCommand ThdcStopContinuousSampling() { return Make(kThdc, kStop); }
IotCommand ThdcQueryLimit() { return Make(kThdc, kQueryLimit); }
IotCommand ThdcQueryRange() { return Make(kThdc, kQueryRange); }

IotCommand TdcSampling() { return Make(kTdc, kSampling); }
std::optional<IotCommand> TdcSetLimit(float first, float second) { return Limits(kTdc, 2, {first, second}); }
IotCommand TdcStartContinuousSampling(int periodMs, int count) {
  return Continuous(kTdc, kStart, kCollectorHead, periodMs, count);
}
IotCommand TdcStopContinuousSampling() { return Make(kTdc, kStop); }
IotCommand TdcQueryLimit() { return Make(kTdc, kQueryLimit); }
IotCommand TdcQueryRange() { return Make(kTdc, kQueryRange); }

IotCommand IdcSampling() { return Make(kIdc, kSampling); }
std::optional<IotCommand> IdcSetLimit(float first, float second) { return Limits(kIdc, 2, {first, second}); }
IotCommand IdcStartContinuousSampling(int periodMs, int count) {
  return Continuous(kIdc, kStart, kCollectorHead, periodMs, count);
}
IotCommand IdcStopContinuousSampling() { return Make(kIdc, kStop); }
IotCommand IdcQueryLimit() { return Make(kIdc, kQueryLimit); }
IotCommand IdcQueryRange() { return Make(kIdc, kQueryRange); }

IotCommand PhQuery() { return Make(kPh, kAnalyserQuery, {0, 0, 0, 0}); }
IotCommand PhStart(int periodMs, int count) { return Continuous(kPh, kAnalyserStart, kZeroHead, periodMs, count); }
IotCommand PhStop() { return Make(kPh, kAnalyserStop, {0, 0, 0, 0}); }
IotCommand PhCalibrate() { return Make(kPh, kPhCalibrate, {0, 0, 0, 0}); }

IotCommand Co2Query() { return Make(kCo2, kAnalyserQuery, {0, 0, 1, 1}); }
IotCommand Co2Start(int periodMs, int count) { return Continuous(kCo2, kAnalyserStart, kGasHead, periodMs, count); }
IotCommand Co2Stop() { return Make(kCo2, kAnalyserStop, {0, 0, 1, 3}); }

// The oxygen analyser's query starts with 48 where the CO2 analyser's has 0.
IotCommand O2Query() { return Make(kO2, kAnalyserQuery, {48, 0, 1, 1}); }
IotCommand O2Start(int periodMs, int count) { return Continuous(kO2, kAnalyserStart, kGasHead, periodMs, count); }
IotCommand O2Stop() { return Make(kO2, kAnalyserStop, {0, 0, 1, 3}); }
