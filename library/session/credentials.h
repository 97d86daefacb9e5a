#pragma once
// The credential form of the log-in requests: the text in the wire code page,
// base64-encoded, every '=' replaced by '!'.
#include <optional>
#include <string>
#include <string_view>

// Longest encoded user name (the CName field) and password (the CallID field).
constexpr std::size_t kMaxEncodedUser = 31;
constexpr std::size_t kMaxEncodedPassword = 63;

// The encoded form of a UTF-8 user name or password, or nothing when the
// encoded form would be longer than `maxEncoded` (a cut credential would log
// in as somebody else, or not at all).
std::optional<std::string> EncodeCredential(std::string_view utf8, std::size_t maxEncoded);
