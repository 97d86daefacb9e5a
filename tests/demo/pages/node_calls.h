#pragma once
// Device exports recorded with all their arguments (integers and reals), and
// the library's own message text for a device frame, for the page tests.
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "demo/shell/sentrell_api.h"
#include "library/api/iot_command.h"
#include "library/session/reply_routing.h"
#include "tools/simulated_devices.h"

namespace pagetest {

struct NodeCall {
  std::string name;
  std::vector<long long> args;  // handle, node, then the integer arguments
  std::vector<double> reals;    // the real arguments, in order
  bool operator==(const NodeCall&) const = default;
};

inline std::vector<NodeCall>& NodeCalls() {
  static std::vector<NodeCall> calls;
  return calls;
}

// What every recorded export returns.
inline int& NodeResult() {
  static int result = 1;
  return result;
}

template <std::size_t N>
struct ExportName {
  constexpr ExportName(const char (&name)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = name[i];
  }
  char text[N];
};

template <ExportName Name, typename Export>
struct Recorder;

template <ExportName Name, typename... Rest>
struct Recorder<Name, int (*)(IotHandle*, std::uint32_t, std::uint16_t, std::uint16_t, Rest...)> {
  static int Call(IotHandle* handle, std::uint32_t nvsid, std::uint16_t netid, std::uint16_t nodeaddr, Rest... rest) {
    NodeCall call{Name.text, {static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)), nvsid, netid, nodeaddr},
                  {}};
    [[maybe_unused]] const auto add = [&call](auto value) {
      if constexpr (std::is_floating_point_v<decltype(value)>) {
        call.reals.push_back(value);
      } else {
        call.args.push_back(value);
      }
    };
    (add(rest), ...);
    NodeCalls().push_back(call);
    return NodeResult();
  }
};

// Puts a recorder in the table's entry of the export (after the fake table
// is in place).
#define PAGETEST_RECORD(name) (Api().name = &::pagetest::Recorder<#name, decltype(&::name)>::Call)

// The text the library makes of a device frame from the node.
inline std::string Decoded(std::uint8_t commandCode, std::uint8_t functionByte, std::vector<std::uint8_t> payload,
                           std::uint32_t nvsid = 1000001, std::uint16_t netId = 1, std::uint16_t node = 2) {
  IotReply reply;
  reply.nvsid = nvsid;
  reply.netId = netId;
  reply.nodeAddress = node;
  reply.commandCode = commandCode;
  reply.functionByte = functionByte;
  reply.payload = std::move(payload);
  return RouteIotReply(reply).text;
}

// The texts the library makes of what the stand-in's simulated device
// answers to the command, in order.
inline std::vector<std::string> StandinAnswers(const IotCommand& command, std::uint16_t node = 2) {
  std::vector<std::string> texts;
  const standin::DeviceSimulator simulate = standin::SimulatorOf(command.commandCode);
  if (simulate == nullptr) return texts;
  static standin::DeviceState state{};
  std::vector<standin::DeviceFrame> replies;
  simulate(standin::DeviceFrame{1, node, command.commandCode, command.functionByte, command.payload}, state, replies);
  for (const standin::DeviceFrame& r : replies)
    texts.push_back(Decoded(r.commandCode, r.functionByte, r.payload, 1000001, r.netId, r.nodeAddress));
  return texts;
}

// A payload of a collector: count, precision, result, a spare byte, then
// the 32-bit readings, least significant byte first.
inline std::vector<std::uint8_t> CollectorPayload(std::uint8_t count, std::uint8_t precision, std::uint8_t result,
                                                  const std::vector<std::int32_t>& readings) {
  std::vector<std::uint8_t> bytes = {count, precision, result, 0};
  for (std::int32_t reading : readings) {
    const auto value = static_cast<std::uint32_t>(reading);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  return bytes;
}

}  // namespace pagetest
