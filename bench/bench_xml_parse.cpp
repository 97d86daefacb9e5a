// The XML parser on a 256-node gateway file as the store writes it, against
// a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/gateway_file.h"
#include "library/xml/xml_document.h"

namespace {

std::string GatewayText() {
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
BENCHMARK(BM_ByteCopy)->UseRealTime();
