#pragma once
// Reading the body of a received message.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "library/session/scp_message.h"

// The body bytes the record holds.
std::string_view BodyOf(const ScpMessage& message);
// Bytes "as text": up to their first zero byte.
std::string_view AsText(std::string_view bytes);
// The zlib stream `compressed` inflated into at most `capacity` bytes;
// nothing when it does not inflate or its output would not fit.
std::optional<std::string> Inflate(std::string_view compressed, std::size_t capacity);
// Whether the message's Content-Type is "zip" (compared without regard to case).
bool IsZipped(const ScpMessage& message);
