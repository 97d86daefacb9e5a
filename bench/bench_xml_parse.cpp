// The XML parser on a 256-node gateway file as the store writes it, against
// a well-kept peer parser (pugixml) on the same bytes, and that against a
// plain copy of the bytes.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <cstdlib>
#include <string>

#include "bench/gateway_file.h"
#include "library/xml/xml_document.h"

namespace {

// Both parsers allocate and free some 100 KiB per parse. In a fresh process
// the C library hands such blocks back to the system after each free and
// faults fresh pages in for the next; once the process has freed a block
// larger than its mapping threshold (as any that has run a while has), it
// keeps them on its heap. Both parsers are measured in that settled state.
void SettleHeap() {
  void* block = std::malloc(std::size_t{4} << 20);
  benchmark::DoNotOptimize(block);
  std::free(block);
}

std::string GatewayText() {
  SettleHeap();
  bench::TempFolder folder;
  const std::string path = bench::WriteGatewayFile(folder.Path());
  return path.empty() ? std::string() : bench::ReadFile(path);
}

void BM_XmlParse(benchmark::State& state) {
  const std::string text = GatewayText();
  if (text.empty() || !CXmlDocument(text.c_str()).CheckWellFormed()) {
    state.SkipWithError("no well-formed gateway file");
    return;
  }
  for (auto _ : state) {
    CXmlDocument document;
    benchmark::DoNotOptimize(document.SetDocument(text));
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetLabel("baseline: BM_PugixmlParse");
}

// The peer builds its node tree from its own copy of the bytes, as the
// document above keeps its own copy of the text.
void BM_PugixmlParse(benchmark::State& state) {
  const std::string text = GatewayText();
  if (text.empty() || !pugi::xml_document().load_buffer(text.data(), text.size())) {
    state.SkipWithError("no well-formed gateway file");
    return;
  }
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()).status);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetLabel("baseline: BM_ByteCopy");
}

void BM_ByteCopy(benchmark::State& state) {
  const std::string text = GatewayText();
  for (auto _ : state) {
    std::string copy = text;
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_XmlParse)->UseRealTime();
BENCHMARK(BM_PugixmlParse)->UseRealTime();
BENCHMARK(BM_ByteCopy)->UseRealTime();
