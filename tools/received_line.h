#pragma once
// One printable line for a received block: time since `start`, connection,
// start line kind, Cmd, the other headers and the body.
#include <chrono>
#include <string>

#include "tools/standin_server.h"

namespace standin {

std::string ReceivedLine(const ReceivedMessage& message, std::chrono::steady_clock::time_point start);

}  // namespace standin
