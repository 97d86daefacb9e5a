#include "library/api/iot_command.h"

#include "library/session/iot_session.h"

int SendCommand(CIotSession& session, std::uint32_t nvsid, std::uint16_t netId, std::uint16_t nodeAddress,
                const IotCommand& command) {
  return session.SendIotFrame(nvsid, command.commandCode, command.functionByte, command.payload.data(),
                              static_cast<unsigned>(command.payload.size()), netId, nodeAddress,
                              command.record ? 1 : 0);
}
