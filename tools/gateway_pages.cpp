#include "tools/gateway_pages.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace standin {
namespace {

void PutLittleEndian(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<std::string> Compress(const std::vector<std::uint8_t>& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, bytes.data(),
                static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) != Z_OK) {
    return std::nullopt;
  }
  out.resize(size);
  return out;
}

}  // namespace

std::vector<std::uint8_t> ListPage(std::span<const Gateway> entries) {
  std::vector<std::uint8_t> page(kListPageSize, 0);
  const std::size_t count = std::min(entries.size(), kListEntriesPerPage);
  PutLittleEndian(page.data() + 4, static_cast<std::uint32_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* slot = page.data() + kListHeaderSize + i * kListEntrySize;
    PutLittleEndian(slot, static_cast<std::uint32_t>(entries[i].nvsid));
    PutLittleEndian(slot + 4, entries[i].flags);
    std::memcpy(slot + 8, entries[i].name.data(), std::min(entries[i].name.size(), kListNameSize));
  }
  return page;
}

std::optional<std::vector<OutgoingMessage>> GatewayListMessages(
    const std::vector<Gateway>& gateways, std::size_t perPage, int cseq) {
  if (perPage == 0 || perPage > kListEntriesPerPage) return std::nullopt;
  const std::size_t pages = std::max<std::size_t>(1, (gateways.size() + perPage - 1) / perPage);
  std::vector<OutgoingMessage> messages;
  for (std::size_t p = 0; p < pages; ++p) {
    const std::size_t first = p * perPage;
    const std::size_t count = std::min(perPage, gateways.size() - std::min(first, gateways.size()));
    const auto body = Compress(ListPage(std::span<const Gateway>(gateways).subspan(first, count)));
    if (!body) return std::nullopt;
    OutgoingMessage m;
    m.kind = MessageKind::Answer;
    m.ackCode = 200;
    m.ctype = pages == 1 ? "" : std::to_string(p + 1) + "/" + std::to_string(pages);
    m.cmd = "ack";
    m.cseq = cseq;
    m.contentType = "zip";
    m.body = *body;
    if (!BuildBlock(m)) return std::nullopt;
    messages.push_back(std::move(m));
  }
  return messages;
}

}  // namespace standin
