// Simulated sampling collectors (inclination, temperature and humidity,
// temperature, illuminance) and pH, CO2 and O2 analysers. Collectors report
// in tenths (precision 1) and keep the limits last set and, for the
// inclination collector, the zero point.
#include <algorithm>
#include <cstdio>

#include "tools/simulated_devices.h"

namespace standin {

namespace {

// Collector state: the 16 limit bytes as last set (zero until then), then the
// zero point (two int32).
constexpr std::size_t kLimitsAt = 0, kZeroAt = 16;
constexpr std::uint8_t kTenths = 1;
// A payload holds (243 - 4) / 4 int32 readings.
constexpr int kMaxBlockValues = 59;

struct Collector {
  std::uint8_t code;
  int channels;
  std::int32_t reading[2];  // tenths
  std::int32_t range[4];    // the range reply's int32 values from byte 4 on
};

constexpr Collector kCollectors[] = {
    {60, 2, {12, -5}, {-900, 900, -900, 900}},
    {61, 1, {253, 0}, {-400, 1250, 0, 0}},
    {62, 2, {253, 601}, {-400, 1250, 0, 1000}},
    {63, 1, {3500, 0}, {0, 200000, 0, 0}},
};

void PutInt32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

std::int32_t Int32At(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                   (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                   (static_cast<std::uint32_t>(bytes[3]) << 24));
}

class Replies {
 public:
  Replies(const DeviceFrame& command, std::vector<DeviceFrame>& out) : command_(command), out_(out) {}
  void Add(std::uint8_t function, std::vector<std::uint8_t> payload) {
    DeviceFrame reply = command_;
    reply.functionByte = function;
    reply.payload = std::move(payload);
    out_.push_back(std::move(reply));
  }

 private:
  const DeviceFrame& command_;
  std::vector<DeviceFrame>& out_;
};

void SimulateCollector(const Collector& c, const DeviceFrame& command, DeviceState& state, Replies& replies) {
  const std::uint8_t limitCount = static_cast<std::uint8_t>(2 * c.channels);
  auto current = [&](int channel) { return c.reading[channel] - Int32At(&state[kZeroAt + 4 * channel]); };
  auto head = [&](std::uint8_t first, std::uint8_t result) {
    return std::vector<std::uint8_t>{first, kTenths, result, 0};
  };
  auto withReadings = [&](std::vector<std::uint8_t> bytes, auto value) {
    for (int channel = 0; channel < c.channels; ++channel) PutInt32(bytes, value(channel));
    return bytes;
  };
  auto withLimits = [&](std::vector<std::uint8_t> bytes) {
    bytes.insert(bytes.end(), state.begin() + kLimitsAt, state.begin() + kLimitsAt + 16);
    return bytes;
  };
  const std::vector<std::uint8_t>& in = command.payload;
  switch (command.functionByte) {
    case 80:
      replies.Add(0x50, withReadings(head(0, 0), current));
      break;
    case 81: {
      const bool accepted = in.size() == 20 && in[0] == limitCount;
      if (accepted) std::copy(in.begin() + 4, in.end(), state.begin() + kLimitsAt);
      replies.Add(0x51, withLimits(head(limitCount, accepted ? 0 : 1)));
      break;
    }
    case 82: {
      if (in.size() != 12) break;
      const std::int32_t count = Int32At(&in[8]);
      std::vector<std::uint8_t> started = head(0, 0);
      started.insert(started.end(), in.begin() + 4, in.end());
      replies.Add(0x52, std::move(started));
      // One block with the first samples of the run.
      const int samples = std::clamp(count, 0, kMaxBlockValues / c.channels);
      if (samples == 0) break;
      std::vector<std::uint8_t> block = head(static_cast<std::uint8_t>(samples * c.channels), 0);
      for (int k = 0; k < samples; ++k) block = withReadings(std::move(block), [&](int ch) { return current(ch) + k; });
      replies.Add(0x5A, std::move(block));
      break;
    }
    case 83:
      replies.Add(0x53, head(0, 0));
      break;
    case 84:
      replies.Add(0x54, withLimits(head(limitCount, 0)));
      break;
    case 85: {
      std::vector<std::uint8_t> range = head(limitCount, 0);
      for (const std::int32_t value : c.range) PutInt32(range, value);
      replies.Add(0x55, std::move(range));
      break;
    }
    case 86:
    case 87:
      if (c.channels != 2) break;
      if (command.functionByte == 86)
        for (int channel = 0; channel < 2; ++channel) {
          std::vector<std::uint8_t> zero;
          PutInt32(zero, c.reading[channel]);
          std::copy(zero.begin(), zero.end(), state.begin() + kZeroAt + 4 * channel);
        }
      replies.Add(command.functionByte == 86 ? 0x56 : 0x57,
                  withReadings(head(0, 0), [&](int channel) { return Int32At(&state[kZeroAt + 4 * channel]); }));
      break;
    default:
      break;
  }
}

// Analysers: an acknowledgement of every command they know, and readings
// after a query or a start (as many as the start asks for, up to what one
// block carries).
void SimulateAnalyser(const DeviceFrame& command, Replies& replies) {
  const std::uint8_t fn = command.functionByte;
  const bool ph = command.commandCode == 46;
  const std::uint8_t lastFunction = ph ? 51 : 50;
  if (fn < 48 || fn > lastFunction) return;
  std::vector<std::uint8_t> ack(command.payload.begin(),
                                command.payload.begin() + std::min<std::size_t>(4, command.payload.size()));
  replies.Add(static_cast<std::uint8_t>(0x30 + fn - 48), std::move(ack));
  const std::uint16_t gas = command.commandCode == 47 ? 415 : 2095;  // ppm; hundredths of a percent
  auto put = [&](std::vector<std::uint8_t>& bytes, int k) {
    if (ph) {
      char text[16];
      std::snprintf(text, sizeof text, "%5.3f", 7.012 + 0.001 * k);
      bytes.insert(bytes.end(), text, text + 5);
    } else {
      const auto value = static_cast<std::uint16_t>(gas + k);
      bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
      bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
  };
  if (fn == 48) {
    std::vector<std::uint8_t> single = {0, 0, 0, 0};
    put(single, 0);
    replies.Add(0x50, std::move(single));
  } else if (fn == 49 && command.payload.size() == 12) {
    const int samples = std::clamp(Int32At(&command.payload[8]), 0, ph ? 10 : 50);
    if (samples == 0) return;
    std::vector<std::uint8_t> block = {0, 0, static_cast<std::uint8_t>(samples), 0};
    for (int k = 0; k < samples; ++k) put(block, k);
    replies.Add(0x51, std::move(block));
  }
}

}  // namespace

void SimulateSampling(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  Replies out(command, replies);
  for (const Collector& c : kCollectors)
    if (c.code == command.commandCode) return SimulateCollector(c, command, state, out);
  if (command.commandCode >= 46 && command.commandCode <= 48) SimulateAnalyser(command, out);
}

}  // namespace standin
