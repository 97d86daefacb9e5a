#pragma once
// The UDP form of a notification: "VER=2.1&MSG=<key word>&DAT=<text>" and a
// NUL, formatted without any socket.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The longest datagram, its NUL included.
constexpr std::size_t kNotifyDatagramCapacity = 4096;

// The key word of a notification id ("NODEMSG", "NVSLIST", ...); "" for
// other ids.
const char* NotifyKeyWord(std::uint32_t id);

// The datagram bytes, NUL included. The text is taken up to its first zero
// byte; no text at all is written "(null)". Nothing when the datagram would
// be longer than kNotifyDatagramCapacity bytes.
std::optional<std::string> FormatNotifyDatagram(std::uint32_t id, std::optional<std::string_view> text);
