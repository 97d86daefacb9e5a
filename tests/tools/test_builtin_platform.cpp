// The built-in platform, in-process and as the sentrell-standin program.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/builtin_platform.h"
#include "tools/client_texts.h"
#include "tools/loopback_client.h"
#include "tools/standin_server.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using standin_test::ConnectText;
using standin_test::kAdmin;
using standin_test::kGuest;
using standin_test::kHelloText;
using standin_test::LoginText;
using standin_test::LoopbackClient;

constexpr auto kWait = 5000ms;

std::vector<std::uint8_t> InflatedPage(const std::string& body) {
  std::vector<std::uint8_t> page(8192);
  uLongf size = page.size();
  if (uncompress(page.data(), &size, reinterpret_cast<const Bytef*>(body.data()), body.size()) != Z_OK) return {};
  page.resize(size);
  return page;
}

class BuiltInPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.SetScript(standin::BuiltInPlatform()));
    ASSERT_TRUE(server_.Start("127.0.0.1", 0));
    ASSERT_TRUE(client_.Connect(server_.Port()));
  }
  standin::StandinServer server_;
  LoopbackClient client_;
};

TEST_F(BuiltInPlatformTest, AdminLogsInAndGetsTwoOnlineGateways) {
  ASSERT_TRUE(client_.SendText(kHelloText));
  const auto hello = client_.ReadMessage();
  ASSERT_TRUE(hello.has_value());
  EXPECT_EQ(hello->Header("Cmd"), "hello");
  EXPECT_FALSE(hello->Header("From").empty());

  ASSERT_TRUE(client_.SendText(LoginText(kAdmin, kAdmin)));
  const auto ack = client_.ReadMessage();
  ASSERT_TRUE(ack.has_value());
  EXPECT_EQ(ack->Header("Cmd"), "loginack");
  EXPECT_GT(ack->IntHeader("Class"), 0);

  ASSERT_TRUE(client_.SendText(ConnectText(kAdmin, kAdmin)));
  const auto list = client_.ReadMessage();
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(list->Header("Cmd"), "ack");
  EXPECT_EQ(list->Header("CType"), "");
  const auto page = InflatedPage(list->body);
  ASSERT_EQ(page.size(), standin::kListPageSize);
  EXPECT_EQ(page[4], 2);
  const std::uint8_t first[] = {0x41, 0x42, 0x0F, 0x00, 0x01, 0, 0, 0};
  const std::uint8_t second[] = {0x82, 0x84, 0x1E, 0x00, 0x01, 0, 0, 0};
  EXPECT_EQ(std::memcmp(page.data() + 8, first, sizeof first), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(page.data()) + 16), "Lab gateway");
  EXPECT_EQ(std::memcmp(page.data() + 32, second, sizeof second), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(page.data()) + 40), "Store gateway");
}

TEST_F(BuiltInPlatformTest, OtherCredentialsGetClassZeroAndNoList) {
  for (const auto& [user, password] : {std::pair{kAdmin, kGuest}, std::pair{kGuest, kAdmin}}) {
    ASSERT_TRUE(client_.SendText(LoginText(user, password)));
    const auto ack = client_.ReadMessage();
    ASSERT_TRUE(ack.has_value());
    EXPECT_EQ(ack->Header("Cmd"), "loginack");
    EXPECT_EQ(ack->IntHeader("Class", -1), 0);
    // The client sends "connect" whatever the Class; a stranger gets no list.
    ASSERT_TRUE(client_.SendText(ConnectText(user, password)));
    ASSERT_TRUE(client_.SendText(kHelloText));
    const auto next = client_.ReadMessage();
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->Header("Cmd"), "hello");
  }
}

// --- the program ------------------------------------------------------------

class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), STANDIN_PROGRAM);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, STANDIN_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    out_ = out[0];
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }

  bool Started() const { return pid_ > 0; }

  // The next line of its output, without the line end.
  std::optional<std::string> Line(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      const auto end = buffered_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffered_.substr(0, end);
        buffered_.erase(0, end + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{out_, POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
      char chunk[4096];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffered_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // Its exit status, or nullopt when it is still running after `timeout`.
  std::optional<int> Exit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
  }

  void Signal(int signal) { kill(pid_, signal); }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffered_;
};

std::uint16_t ListeningPort(const std::string& line) {
  const std::string prefix = "listening on 127.0.0.1:";
  if (line.rfind(prefix, 0) != 0) return 0;
  return static_cast<std::uint16_t>(std::stoi(line.substr(prefix.size())));
}

TEST(StandinProgram, ServesTheBuiltInPlatformAndPrintsWhatItReceives) {
  Program program({"--address", "127.0.0.1", "--port", "0", "--seconds", "60"});
  ASSERT_TRUE(program.Started());
  const auto first = program.Line(kWait);
  ASSERT_TRUE(first.has_value());
  const std::uint16_t port = ListeningPort(*first);
  ASSERT_NE(port, 0) << *first;

  LoopbackClient client;
  ASSERT_TRUE(client.Connect(port));
  ASSERT_TRUE(client.SendText(kHelloText));
  ASSERT_TRUE(client.ReadMessage().has_value());
  ASSERT_TRUE(client.SendText(LoginText(kAdmin, kGuest)));
  const auto ack = client.ReadMessage();
  ASSERT_TRUE(ack.has_value());
  EXPECT_EQ(ack->IntHeader("Class", -1), 0);

  const auto helloLine = program.Line(kWait);
  ASSERT_TRUE(helloLine.has_value());
  EXPECT_NE(helloLine->find("#1 REQ hello CType=iot"), std::string::npos) << *helloLine;
  EXPECT_NE(helloLine->find("Contact=ver=1.0"), std::string::npos) << *helloLine;
  const auto loginLine = program.Line(kWait);
  ASSERT_TRUE(loginLine.has_value());
  EXPECT_NE(loginLine->find("#1 REQ login"), std::string::npos) << *loginLine;
  EXPECT_NE(loginLine->find("CallID=" + kGuest), std::string::npos) << *loginLine;
  EXPECT_NE(loginLine->find("body[5]=qmvht"), std::string::npos) << *loginLine;

  program.Signal(SIGTERM);
  EXPECT_EQ(program.Exit(kWait), 0);
  EXPECT_EQ(program.Line(kWait), "stopped");
}

TEST(StandinProgram, StopsByItselfAfterTheGivenSeconds) {
  Program program({"--port", "0", "--seconds", "1"});
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.Line(kWait).has_value());
  EXPECT_EQ(program.Exit(3 * kWait), 0);
}

TEST(StandinProgram, RefusesBadArguments) {
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{"--port", "abc"}, 2},          {{"--port", "70000"}, 2},    {{"--seconds", "0"}, 2},
      {{"--seconds", "-3"}, 2},        {{"--bogus", "1"}, 2},       {{"--port"}, 2},
      {{"--address", "10.0.0.1", "--port", "0"}, 1},
  };
  for (const auto& [args, code] : cases) {
    Program program(args);
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.Exit(kWait), code) << args.front();
  }
}

}  // namespace
