#pragma once
// The gateway list as the server sends it after "connect": "ack" messages,
// each carrying one zlib-compressed 3080-byte page (Content-Type "zip").
// A page is an int32 header word, an int32 entry count and 128 entry slots
// of 24 bytes (int32 nvsid, uint32 flags, 16 name bytes), little-endian.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/cmscp_text.h"

namespace standin {

inline constexpr std::size_t kListPageSize = 3080;
inline constexpr std::size_t kListHeaderSize = 8;
inline constexpr std::size_t kListEntrySize = 24;
inline constexpr std::size_t kListEntriesPerPage = 128;
inline constexpr std::size_t kListNameSize = 16;

inline constexpr std::uint32_t kGatewayOnline = 1u << 0;
inline constexpr std::uint32_t kGatewayAdminRead = 1u << 30;
inline constexpr std::uint32_t kGatewayAlarm = 1u << 31;

struct Gateway {
  std::int32_t nvsid = 0;
  std::uint32_t flags = 0;
  std::string name;  // cut to 16 bytes; a 16-byte name has no terminator
};

// One uncompressed page holding `entries` (at most 128; extra ones are left out).
std::vector<std::uint8_t> ListPage(std::span<const Gateway> entries);

// The "ack" messages for a list, `perPage` entries a page (1 to 128): a
// single page has CType "", several pages "p/n". Every message carries `cseq`.
// nullopt when `perPage` is out of range or a page does not fit a block.
// An empty list gives one page with no entries.
std::optional<std::vector<OutgoingMessage>> GatewayListMessages(
    const std::vector<Gateway>& gateways, std::size_t perPage = kListEntriesPerPage, int cseq = 0);

}  // namespace standin
