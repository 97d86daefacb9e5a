// sentrell-standin: serves the built-in platform on a loopback address and
// prints one line for every block it receives.
//
//   sentrell-standin [--address 127.0.0.1] [--port 4073] [--seconds N]
//
// Runs until SIGINT or SIGTERM, or for N seconds.
#include <signal.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "tools/builtin_platform.h"
#include "tools/received_line.h"
#include "tools/standin_server.h"

namespace {

struct Options {
  std::string address = "127.0.0.1";
  std::uint16_t port = standin::StandinServer::kDefaultPort;
  long long seconds = 0;  // 0: until a signal
};

constexpr int kUsageError = 2;

bool ReadNumber(std::string_view text, long long low, long long high, long long& out) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return !text.empty() && result.ec == std::errc() && result.ptr == end && out >= low && out <= high;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const std::string_view value = argv[++i];
    long long number = 0;
    if (name == "--address") {
      options.address = std::string(value);
    } else if (name == "--port" && ReadNumber(value, 0, 65535, number)) {
      options.port = static_cast<std::uint16_t>(number);
    } else if (name == "--seconds" && ReadNumber(value, 1, 365LL * 24 * 3600, number)) {
      options.seconds = number;
    } else {
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = ParseOptions(argc, argv);
  if (!options) {
    std::cerr << "usage: " << (argc > 0 ? argv[0] : "sentrell-standin")
              << " [--address 127.0.0.1] [--port 4073] [--seconds N]\n";
    return kUsageError;
  }

  // The signals are taken by sigtimedwait below; the server's thread
  // inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::mutex output;
  const auto start = std::chrono::steady_clock::now();
  standin::StandinServer server;
  server.SetScript(standin::BuiltInPlatform());
  server.SetObserver([&](const standin::ReceivedMessage& message) {
    std::lock_guard lock(output);
    std::cout << standin::ReceivedLine(message, start) << std::endl;
  });
  {
    std::lock_guard lock(output);
    if (!server.Start(options->address, options->port)) {
      std::cerr << "cannot listen on " << options->address << ":" << options->port
                << " (the address must be numeric and within 127.0.0.0/8)\n";
      return 1;
    }
    std::cout << "listening on " << options->address << ":" << server.Port() << std::endl;
    // Calls need the media listener beside the server; without it they fail in their media step.
    if (!server.StartMedia()) std::cerr << "media listener not started; calls cannot carry audio\n";
  }

  const auto deadline = start + std::chrono::seconds(options->seconds);
  for (;;) {
    if (options->seconds > 0 && std::chrono::steady_clock::now() >= deadline) break;
    const timespec tick{0, 200 * 1000 * 1000};
    const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
    if (signal == SIGINT || signal == SIGTERM) break;
  }
  server.Stop();
  std::lock_guard lock(output);
  std::cout << "stopped" << std::endl;
  return 0;
}
