#pragma once
// One device command as the command functions describe it, and its sending.
// The families' functions only describe (arguments to code, function byte and
// payload); SendCommand hands the description to the session's frame sender.
#include <cstdint>
#include <vector>

class CIotSession;

struct IotCommand {
  std::uint8_t commandCode = 0;
  std::uint8_t functionByte = 0;
  std::vector<std::uint8_t> payload;
  bool record = true;  // wait for the server's delivery report (function bytes 16-31, 48-63)
};

// 1 sent, 0 not sent.
int SendCommand(CIotSession& session, std::uint32_t nvsid, std::uint16_t netId, std::uint16_t nodeAddress,
                const IotCommand& command);

// The low byte of a 32-bit argument, and the two bytes of its low 16 bits.
inline std::uint8_t LowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
