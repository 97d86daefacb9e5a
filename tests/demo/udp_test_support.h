#pragma once
// Datagrams to the notification receiver on the loopback address.
#include <cstdint>
#include <string>

namespace demotest {

// A port of 127.0.0.1 that no datagram socket held a moment ago.
std::uint16_t FreeUdpPort();

// Sends the bytes as one datagram to 127.0.0.1:port.
bool SendDatagram(std::uint16_t port, const std::string& bytes);

}  // namespace demotest
