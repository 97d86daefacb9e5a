#pragma once
// The small platform the stand-in program serves: one user ("admin",
// password "admin", or "1" as the demo program proposes) and two online
// gateways with simulated devices, whose list goes out after every
// "connect" of that user.
#include <cstdint>
#include <span>

#include "tools/standin_server.h"

namespace standin {

// A node of a gateway's list: its type is the command code of its family,
// which is also the type the library records for it.
struct BuiltInNode {
  std::uint32_t nvsid;
  std::uint16_t netId;
  std::uint16_t address;
  int type;
  const char* name;
};

// The nodes of both gateways: the lab gateway has one node of every family
// the platform simulates (the sensor adapter three times, at addresses
// whose sensors are an anemometer, a wind vane and a weather station), so
// that each device page can be tried on one.
std::span<const BuiltInNode> BuiltInNodes();

Script BuiltInPlatform();

}  // namespace standin
