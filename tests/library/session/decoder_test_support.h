#pragma once
// The replies the decoder tests route and the texts they expect: a reply of
// node 5 at net 1 of gateway 1000001, and the message and string element
// texts as the decoders write them.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "library/session/iot_reply.h"

namespace decodertest {

constexpr std::uint32_t kGateway = 1000001;

inline IotReply Reply(std::uint8_t code, std::uint8_t fn, std::vector<std::uint8_t> payload, std::uint16_t node = 5,
                      std::uint32_t nvsid = kGateway) {
  IotReply r;
  r.nvsid = nvsid;
  r.netId = 1;
  r.nodeAddress = node;
  r.commandCode = code;
  r.functionByte = fn;
  r.payload = std::move(payload);
  return r;
}

// The whole text of a message with the given "data" members.
inline std::string Message(const char* devtype, const char* msg, const std::string& data, int node = 5,
                           std::uint32_t nvsid = kGateway) {
  return std::string("{\"data\":{") + data + "},\"devtype\":\"" + devtype + "\",\"msg\":\"" + msg +
         "\",\"netid\":1,\"nodid\":" + std::to_string(node) + ",\"nvsid\":" + std::to_string(nvsid) +
         ",\"version\":2}\n";
}

// A string element: precision 0, empty subtype and unit, type "string".
inline std::string Str(const char* name, const std::string& value) {
  return std::string("\"") + name +
         "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"" + value + "\"}";
}

}  // namespace decodertest
