// Log-in to the stand-in on loopback, and what an idle logged-in session
// costs in resident memory and threads.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "bench/loopback_standin.h"

namespace {

constexpr int kIdleSessions = 16;

// Resident bytes of this process, from /proc/self/statm.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

double ThreadCount() {
  std::error_code ignored;
  const std::filesystem::directory_iterator tasks("/proc/self/task", ignored);
  return static_cast<double>(std::distance(begin(tasks), end(tasks)));
}

// CM_Init and CM_Login: connection, "hello", "login" and "loginack"; CM_Free
// is not timed.
void BM_Login(benchmark::State& state) {
  bench::LoopbackStandin standin;
  if (!standin.Running()) {
    state.SkipWithError("no stand-in");
    return;
  }
  for (auto _ : state) {
    bench::Handle handle = standin.LogIn();
    state.PauseTiming();
    if (!handle) {
      state.SkipWithError("log-in failed");
      break;
    }
    handle.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}

// Growth of the resident set and of the thread count over kIdleSessions
// sessions logged in at once and left idle, per session.
void BM_IdleSessionMemory(benchmark::State& state) {
  bench::LoopbackStandin standin;
  if (!standin.Running()) {
    state.SkipWithError("no stand-in");
    return;
  }
  // The first session in the process pays for what all sessions share.
  const bench::Handle first = standin.LogIn();
  double resident = 0, threads = 0;
  for (auto _ : state) {
    const double residentBefore = ResidentBytes(), threadsBefore = ThreadCount();
    std::vector<bench::Handle> sessions;
    for (int i = 0; i < kIdleSessions; ++i) {
      sessions.push_back(standin.LogIn());
      if (!sessions.back()) break;
    }
    if (!sessions.back()) {
      state.SkipWithError("log-in failed");
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // every thread settled and idle
    resident = (ResidentBytes() - residentBefore) / kIdleSessions;
    threads = (ThreadCount() - threadsBefore) / kIdleSessions;
    state.PauseTiming();
    sessions.clear();
    state.ResumeTiming();
  }
  state.counters["rss_bytes_per_session"] = resident;
  state.counters["threads_per_session"] = threads;
}

}  // namespace

BENCHMARK(BM_Login)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_IdleSessionMemory)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
