#pragma once
// The text of a notification datagram, split into its fields. The library
// writes "VER=2.1&MSG=<kind>&DAT=<data>" followed by a NUL; the receiver also
// reads the earlier format 2.0 and the format 3.0.
#include <cstddef>
#include <string>
#include <string_view>

// Largest datagram the receiver takes; a longer one is ignored.
inline constexpr std::size_t kNotifyDatagramLimit = 4096;
// Longest kind name, version 3.0 source text and data text.
inline constexpr std::size_t kNotifyKindLimit = 31;
inline constexpr std::size_t kNotifySourceLimit = 15;
inline constexpr std::size_t kNotifyDataLimit = 4095;

struct NotifyDatagram {
  enum class Status {
    kRead,            // a known version; the fields that matched are filled
    kUnknownVersion,  // not 2.0, 2.1 or 3.0 (0 without "VER=")
    kFieldTooLong,    // a field is longer than its limit: the datagram is ignored
  };
  Status status = Status::kUnknownVersion;
  float version = 0;
  std::string kind;
  std::string data;
  const char* longField = "";  // "MSG", "SRC" or "DAT" for kFieldTooLong
};

// Reads the text up to its first NUL (or its end). The fields are matched in
// their format's order; the first field that does not match ends the reading
// and leaves it and the later fields empty, as scanf would:
//   2.0 "VER=%f&MSG=%[^&]&WPARAM=%u&LPARAM=%u&DATA=%[^\n]"
//   2.1 "VER=%f&MSG=%[^&]&DAT=%[^\n]"
//   3.0 "VER=%f&MSG=%[^&]&SRC=%[^&]&NVS=%u&NET=%u&NOD=%u&DAT=%s"
NotifyDatagram ParseNotifyDatagram(std::string_view bytes);
