// A logged-in session fed from memory: the input is the byte stream of the
// server connection (a sequence of 1212-byte blocks, cut or whole), handed
// to the same function the socket's read handler calls, so that list pages,
// "iotm" replies, node lists, alarms and call messages reach the dispatcher
// in any order. Every send fails at once; the node files go to a private
// folder emptied before each input, and every file written there must load
// as a well-formed document. A session of its own for each input, so
// that an input replays alone as it ran.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "library/session/iot_session.h"
#include "library/session/session_timing.h"
#include "library/xml/xml_document.h"

namespace {

namespace fs = std::filesystem;

// Waits that cannot delay a run: no keep-alive or reconnection within it,
// and the poll pass of the gateways does not pause.
const fs::path& Folder() {
  static const fs::path folder = [] {
    SessionTiming timing;
    timing.connectWaitMs = 1;
    timing.helloWaitMs = 1;
    timing.loginWaitMs = 1;
    timing.keepAliveMs = 3600 * 1000;
    timing.reconnectMs = 3600 * 1000;
    timing.sendCompletionMs = 1;
    timing.waitPollMs = 1;
    timing.pollNodesMs = 0;
    timing.pollCameraMs = 0;
    timing.callWaitStepMs = 1;
    SetSessionTimingForTesting(timing);
    return fs::temp_directory_path() / ("sentrell-fuzz-session-" + std::to_string(::getpid()));
  }();
  return folder;
}

void ExpectWellFormedFiles(const fs::path& folder) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    CXmlDocument d;
    if (!d.LoadFile(entry.path().string().c_str()) || !d.CheckWellFormed()) {
      std::fprintf(stderr, "%s is not well formed: %s\n", entry.path().c_str(), d.DescribeResults().c_str());
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path& folder = Folder();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder, ignored);
  {
    CIotSession session;
    session.SetNvsXmlPath(folder.string().c_str());
    session.FailSendsForTesting(true);
    session.SetLoggedInForTesting(true);
    session.ReceiveBytes(reinterpret_cast<const char*>(data), size);
    session.SetLoggedInForTesting(false);  // nothing to say "quit" to
    ExpectWellFormedFiles(folder);
  }
  fs::remove_all(folder, ignored);
  return 0;
}
