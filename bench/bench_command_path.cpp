// A device command on a logged-in session with the node-file update of a
// 256-node gateway file, against the same command without the update; and
// the store's open, change and atomic save alone, against a plain rewrite of
// the same bytes (and against that rewrite with its disk flush).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/gateway_file.h"
#include "bench/loopback_standin.h"
#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "library/xml/nvs_xml_store.h"

namespace {

using bench::kGatewayId;
using bench::kGatewayNetId;
using bench::NodeAddress;

constexpr std::uint8_t kLamp = 81;
constexpr std::uint8_t kRecordedFunction = 0x10;    // recorded in the node file
constexpr std::uint8_t kUnrecordedFunction = 0x41;  // outside the recorded ranges
constexpr char kClientSent[] = "client:命令已经发送到服务器";

std::string BackStatus(const std::string& folder, std::uint16_t address) {
  CNvsXmlStore store(folder);
  std::string status;
  if (store.OpenNvsFile(kGatewayId)) store.GetNodeChild(kGatewayNetId, address, "cmdbackstatus", status);
  return status;
}

void BM_CommandPath(benchmark::State& state, std::uint8_t functionByte) {
  bench::LoopbackStandin standin;
  bench::TempFolder folder;
  if (!standin.Running() || bench::WriteGatewayFile(folder.Path()).empty()) {
    state.SkipWithError("no stand-in or no gateway file");
    return;
  }
  bench::Handle handle = standin.LogIn();
  const auto session = LiveSession(handle.get());
  if (!session || CM_SetNVSXmlPath(handle.get(), folder.Path().c_str()) != 1) {
    state.SkipWithError("log-in failed");
    return;
  }
  const std::uint8_t payload[] = {1};
  int node = 0;
  for (auto _ : state) {
    if (session->SendIotFrame(kGatewayId, kLamp, functionByte, payload, sizeof payload, kGatewayNetId,
                              NodeAddress(node++), 0) != 1) {
      state.SkipWithError("command not sent");
      break;
    }
  }
  const bool recorded = functionByte == kRecordedFunction;
  if (recorded && BackStatus(folder.Path(), NodeAddress(0)) != kClientSent)
    state.SkipWithError("the node file was not updated");
  state.SetItemsProcessed(state.iterations());
  if (recorded) state.SetLabel("baseline: BM_CommandPath/unrecorded");
}

// Runs `change(folder, path, iteration)` on the gateway file once an
// iteration; it returns false when the file could not be changed.
template <class Change>
void ChangeGatewayFile(benchmark::State& state, Change change) {
  bench::TempFolder folder;
  const std::string path = bench::WriteGatewayFile(folder.Path());
  if (path.empty()) {
    state.SkipWithError("no gateway file");
    return;
  }
  int iteration = 0;
  for (auto _ : state) {
    if (!change(folder.Path(), path, iteration++)) {
      state.SkipWithError("the gateway file was not changed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// The store's open, the change of one node's command and status, and the save.
void BM_NodeFileUpdate(benchmark::State& state) {
  ChangeGatewayFile(state, [](const std::string& folder, const std::string&, int iteration) {
    const std::uint16_t address = NodeAddress(iteration);
    CNvsXmlStore store(folder);
    if (!store.OpenNvsFile(kGatewayId) ||
        !store.SetNodeCommand(kGatewayNetId, address, iteration + 1, kRecordedFunction) ||
        !store.SetNodeBackStatus(kGatewayNetId, address, kClientSent))
      return false;
    store.Save();
    return true;
  });
  state.SetLabel("baseline: BM_FileRewrite");
}

// Reads the file and replaces it with the same bytes through a temporary
// file and a rename, as the store's save does, with no XML work at all.
void BM_FileRewrite(benchmark::State& state) {
  ChangeGatewayFile(state, [](const std::string& folder, const std::string& path, int) {
    const std::string bytes = bench::ReadFile(path);
    const std::string temporary = folder + "rewrite.tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    }
    std::error_code failed;
    std::filesystem::rename(temporary, path, failed);
    return !bytes.empty() && !failed;
  });
}

// The same rewrite with the bytes put on the disk before the rename, as the
// store's save does: the part of the save that no work on the text can
// take away.
void BM_DurableFileRewrite(benchmark::State& state) {
  ChangeGatewayFile(state, [](const std::string& folder, const std::string& path, int) {
    const std::string bytes = bench::ReadFile(path);
    const std::string temporary = folder + "rewrite.tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool written =
        ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) return false;
    std::error_code failed;
    std::filesystem::rename(temporary, path, failed);
    return !bytes.empty() && !failed;
  });
  state.SetLabel("baseline: BM_FileRewrite");
}

}  // namespace

BENCHMARK_CAPTURE(BM_CommandPath, recorded, kRecordedFunction)->UseRealTime();
BENCHMARK_CAPTURE(BM_CommandPath, unrecorded, kUnrecordedFunction)->UseRealTime();
BENCHMARK(BM_NodeFileUpdate)->UseRealTime();
BENCHMARK(BM_FileRewrite)->UseRealTime();
BENCHMARK(BM_DurableFileRewrite)->UseRealTime();
