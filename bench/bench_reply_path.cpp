// The way of one device reply: a 1212-byte "iotm" block is parsed, its
// frame checked and unpacked, decoded into its JSON text and formatted as
// the notification datagram, all in memory. Beside it the library's compact
// writer alone and, as the baseline of both, JsonCpp's own writer on the
// same value tree.
#include <benchmark/benchmark.h>
#include <json/json.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "library/api/json_parse.h"
#include "library/api/json_writer.h"
#include "library/session/iot_reply.h"
#include "library/session/message_body.h"
#include "library/session/notify_datagram.h"
#include "library/session/reply_routing.h"
#include "library/session/scp_record.h"
#include "tools/iot_frames.h"

namespace {

constexpr int kGateway = 1000001;
constexpr std::uint8_t kThdc = 62;         // temperature and humidity collector
constexpr std::uint8_t kMostSamples = 29;  // sample pairs one reply can carry

// One reading of both channels, or a block of the most samples a reply holds.
enum class Reply { Single, SampleBlock };

const char* NameOf(Reply kind) { return kind == Reply::Single ? "thdc_single" : "thdc_block"; }

// A payload of the collector: count, precision 1, result, a spare byte, then
// little-endian int32 readings.
std::vector<std::uint8_t> CollectorPayload(std::uint8_t count, const std::vector<std::int32_t>& readings) {
  std::vector<std::uint8_t> payload = {count, 1, 0, 0};
  for (const std::int32_t value : readings)
    for (int shift = 0; shift < 32; shift += 8)
      payload.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
  return payload;
}

// The block as the server writes it.
std::string IotmBlock(Reply kind) {
  standin::DeviceFrame frame;
  frame.netId = 1;
  frame.nodeAddress = 5;
  frame.commandCode = kThdc;
  if (kind == Reply::Single) {
    frame.functionByte = 0x50;
    frame.payload = CollectorPayload(0, {253, 601});
  } else {
    std::vector<std::int32_t> readings;
    for (int k = 0; k < kMostSamples; ++k) {
      readings.push_back(200 + k);  // temperature, tenths of a degree
      readings.push_back(550 - k);  // humidity, tenths of a percent
    }
    frame.functionByte = 0x5A;
    frame.payload = CollectorPayload(2 * kMostSamples, readings);
  }
  const auto block = standin::BuildBlock(standin::IotReply(kGateway, frame));
  return block ? std::string(block->begin(), block->end()) : std::string();
}

// Parse, dispatch on the command word, frame check, unpack and decode, as the
// session's receive path does; notifyId 0 when the block gives no text.
RoutedReply RouteBlock(const std::string& block) {
  ScpRecord message = MakeScpRecord();
  ScpMessageParse(message.get(), block.data(), block.size());
  if (std::strcmp(ScpMessageGetCmd(message.get()), "iotm") != 0) return {};
  const auto nvsid = static_cast<std::uint32_t>(ScpMessageGetClass(message.get()));
  const auto reply = UnpackIotReply(nvsid, BodyOf(*message), IsZipped(*message));
  return reply ? RouteIotReply(*reply) : RoutedReply{};
}

std::optional<std::string> DatagramOf(const std::string& block) {
  const RoutedReply routed = RouteBlock(block);
  if (routed.notifyId == 0) return std::nullopt;
  return FormatNotifyDatagram(routed.notifyId, routed.text);
}

void BaselineLabel(benchmark::State& state, Reply kind) {
  state.SetLabel(std::string("baseline: BM_JsonCppWriter/") + NameOf(kind));
}

// The value tree of the reply's text; nothing when the block gives none.
std::optional<Json::Value> ReplyTree(Reply kind) {
  const RoutedReply routed = RouteBlock(IotmBlock(kind));
  if (routed.notifyId == 0) return std::nullopt;
  return ParseJsonObject(routed.text);
}

void BM_ReplyPath(benchmark::State& state, Reply kind) {
  const std::string block = IotmBlock(kind);
  const auto datagram = DatagramOf(block);
  if (block.size() != kScpBlockSize || !datagram || datagram->rfind("VER=2.1&MSG=NODEMSG&DAT={", 0) != 0) {
    state.SkipWithError("the block gives no node message");
    return;
  }
  for (auto _ : state) {
    auto out = DatagramOf(block);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
  BaselineLabel(state, kind);
}

// Writes the reply's value tree as text with `write`, once an iteration.
template <class Write>
void WriteTree(benchmark::State& state, Reply kind, Write write) {
  const auto tree = ReplyTree(kind);
  if (!tree) {
    state.SkipWithError("no value tree");
    return;
  }
  std::size_t length = 0;
  for (auto _ : state) {
    std::string text = write(*tree);
    length = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(length));
}

void BM_CompactWriter(benchmark::State& state, Reply kind) {
  WriteTree(state, kind, [](const Json::Value& tree) { return WriteCompactJson(tree); });
  BaselineLabel(state, kind);
}

void BM_JsonCppWriter(benchmark::State& state, Reply kind) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  WriteTree(state, kind, [&](const Json::Value& tree) { return Json::writeString(builder, tree); });
}

}  // namespace

BENCHMARK_CAPTURE(BM_ReplyPath, thdc_single, Reply::Single)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReplyPath, thdc_block, Reply::SampleBlock)->UseRealTime();
BENCHMARK_CAPTURE(BM_CompactWriter, thdc_single, Reply::Single)->UseRealTime();
BENCHMARK_CAPTURE(BM_CompactWriter, thdc_block, Reply::SampleBlock)->UseRealTime();
BENCHMARK_CAPTURE(BM_JsonCppWriter, thdc_single, Reply::Single)->UseRealTime();
BENCHMARK_CAPTURE(BM_JsonCppWriter, thdc_block, Reply::SampleBlock)->UseRealTime();
