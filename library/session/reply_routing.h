#pragma once
// What one device frame becomes for the application: a routing event, a
// node message of its family's decoder, or nothing.
#include <cstdint>
#include <string>

#include "library/session/node_message.h"

// A family decoder: writes the node message of the reply, or leaves it empty
// for a function byte or sub-code it does not know.
using ReplyDecoder = void (*)(NodeMessage& message);

// The decoder of a command code; nullptr for codes without one.
ReplyDecoder DecoderOf(std::uint8_t commandCode);

struct RoutedReply {
  std::uint32_t notifyId = 0;  // NOTIFY_NODEMSG or NOTIFY_ROUTING; 0 for no text
  std::string text;
  bool deviceData = false;  // function byte 16 to 239: the IOT callback is called
};

RoutedReply RouteIotReply(const IotReply& reply);
