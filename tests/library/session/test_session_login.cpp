#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "sentrell.h"
#include "session_fixture.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

struct HandleCloser {
  void operator()(IotHandle* h) const { CM_Free(h); }
};
using Handle = std::unique_ptr<IotHandle, HandleCloser>;

Handle NewHandle() { return Handle(CM_Init(1)); }

std::size_t CountReceived(const standin::StandinServer& server, const std::string& cmd) {
  std::size_t n = 0;
  for (const auto& m : server.Received())
    if (m.cmd == cmd && m.complete) ++n;
  return n;
}

}  // namespace

class SessionLogin : public StandinSessionTest {};

TEST_F(SessionLogin, LogsInWithHelloLoginThenConnect) {
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "admin", "1"), 1);
  ASSERT_TRUE(server.WaitFor("connect", 1, 2000ms));
  const auto log = server.Received();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].cmd, "hello");
  EXPECT_EQ(log[1].cmd, "login");
  EXPECT_EQ(log[2].cmd, "connect");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(log[i].complete);
    EXPECT_EQ(log[i].raw.size(), standin::kBlockSize);
    EXPECT_TRUE(log[i].parsed.zeroFilled);
    EXPECT_TRUE(log[i].parsed.error.empty()) << log[i].parsed.error;
  }
  const auto& hello = log[0].parsed;
  EXPECT_EQ(hello.Header("CType"), "iot");
  EXPECT_EQ(hello.Header("Contact"), "ver=1.0");
  EXPECT_EQ(hello.IntHeader("Class", -1), 0);
  EXPECT_EQ(hello.contentLength, 0);
  const auto& login = log[1].parsed;
  EXPECT_EQ(login.Header("CType"), "iot");
  EXPECT_EQ(login.Header("CName"), "YWRtaW4!");  // "admin", '=' sent as '!'
  EXPECT_EQ(login.Header("CallID"), "MQ!!");    // "1"
  EXPECT_EQ(login.IntHeader("Class"), 7);
  EXPECT_EQ(login.Header("Content-Type"), "zip");
  EXPECT_EQ(login.Header("Contact"), "server");
  EXPECT_EQ(login.body, "qmvht");
  const int cseq = login.IntHeader("CSeq", -1);
  EXPECT_GE(cseq, 0);
  EXPECT_LE(cseq, 32767);
  const auto& connect = log[2].parsed;
  EXPECT_EQ(connect.Header("CType"), "end");
  EXPECT_EQ(connect.Header("CName"), "YWRtaW4!");
  EXPECT_EQ(connect.Header("CallID"), "MQ!!");
  EXPECT_EQ(connect.IntHeader("Class"), 7);
  EXPECT_NE(connect.Header("From").find('@'), std::string::npos);
  EXPECT_EQ(connect.body, "qmvht");

  auto session = LiveSession(h.get());
  EXPECT_TRUE(session->IsLoginAcked());
  EXPECT_TRUE(session->IsReconnectThreadStarted());
  EXPECT_TRUE(session->IsKeepAliveRunning());
}

TEST_F(SessionLogin, ResultsFollowTheServersAnswers) {
  struct Case {
    const char* name;
    bool answerHello;
    bool answerLogin;
    int loginClass;
    int expected;
  };
  const Case cases[] = {
      {"accepted", true, true, 1, 1},
      {"refused with class 0", true, true, 0, 0},
      {"login unanswered", true, false, 1, 0},
      {"hello unanswered", false, true, 1, -1},
  };
  for (const auto& c : cases) {
    standin::Script script;
    script.answerHello = c.answerHello;
    script.answerLogin = c.answerLogin;
    script.loginClass = c.loginClass;
    ASSERT_TRUE(server.SetScript(script));
    Handle h = NewHandle();
    EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", "user", "pw"), c.expected) << c.name;
    if (c.answerLogin && c.answerHello) {
      // Whatever the class, "connect" follows the answer and reconnection is armed.
      EXPECT_TRUE(LiveSession(h.get())->IsReconnectThreadStarted()) << c.name;
    }
  }
}

TEST_F(SessionLogin, NoServerGivesMinusOneWithinTheConnectWait) {
  server.Stop();
  Handle h = NewHandle();
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", "user", "pw"), -1);
}

TEST_F(SessionLogin, ArgumentsThatCannotBeSentAreRefusedBeforeConnecting) {
  Handle h = NewHandle();
  const std::string longUser(22, 'u');      // encodes to 32 characters
  const std::string longPassword(46, 'p');  // encodes to 64 characters
  EXPECT_EQ(CM_Login(h.get(), nullptr, "u", "p"), -1);
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", nullptr, "p"), -1);
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", "u", nullptr), -1);
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", longUser.c_str(), "p"), -1);
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", "u", longPassword.c_str()), -1);
  EXPECT_EQ(server.ConnectionsAccepted(), 0u);
  // The longest that fit are sent.
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", std::string(21, 'u').c_str(), std::string(45, 'p').c_str()), 1);
}

TEST_F(SessionLogin, LoginOnAConnectedSessionGreetsAndLogsInAgainOnTheSameConnection) {
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  EXPECT_EQ(server.ConnectionsAccepted(), 1u);
  EXPECT_EQ(CountReceived(server, "hello"), 2u);
  EXPECT_EQ(CountReceived(server, "login"), 2u);
}

TEST_F(SessionLogin, LoginAfterTheServerDroppedAnUnansweredGreetingUsesAFreshSocket) {
  standin::Script silent;
  silent.answerHello = false;
  ASSERT_TRUE(server.SetScript(silent));
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), -1);
  ASSERT_TRUE(server.CloseConnection());
  auto session = LiveSession(h.get());
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  ASSERT_TRUE(server.SetScript(standin::Script{}));
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  EXPECT_EQ(server.ConnectionsAccepted(), 2u);
}

TEST_F(SessionLogin, HelloAnswerSplitIntoSmallPiecesStillCompletes) {
  server.SplitNext(standin::StandinServer::EvenPieces(7), 0ms);
  server.JunkBeforeNext("noise");
  Handle h = NewHandle();
  EXPECT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
}

TEST_F(SessionLogin, ServerInfoKeepsTheGreetingWithinTheDocumentedSizes) {
  standin::Script script;
  script.helloFrom = "platform@standin";
  script.helloContact = "ver=2.0";
  script.helloBody = std::string(900, 'b');
  ASSERT_TRUE(server.SetScript(script));
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  std::string from(CIotSession::kServerInfoFromSize, '#'), contact(CIotSession::kServerInfoContactSize, '#'),
      body(CIotSession::kServerInfoBodySize, '#');
  EXPECT_EQ(CM_GetServerInfo(h.get(), from.data(), contact.data(), body.data()), 1);
  EXPECT_STREQ(from.c_str(), "platform@standin");
  EXPECT_STREQ(contact.c_str(), "ver=2.0");
  EXPECT_EQ(std::string(body.c_str()), std::string(511, 'b'));
  EXPECT_EQ(CM_GetServerInfo(h.get(), nullptr, nullptr, nullptr), 1);
}

TEST_F(SessionLogin, KeepAliveRepeatsConnectWhileLoggedIn) {
  timing.keepAliveMs = 50;
  ApplyTiming();
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  EXPECT_TRUE(server.WaitFor("connect", 4, 3000ms));
}

TEST_F(SessionLogin, ThreeFailedKeepAlivesCloseTheConnectionAndStopTheTimer) {
  timing.keepAliveMs = 40;
  ApplyTiming();
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  auto session = LiveSession(h.get());
  session->FailSendsForTesting(true);
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }, 3000ms));
  EXPECT_EQ(session->KeepAliveFailures(), 3);
  const std::size_t connects = CountReceived(server, "connect");
  session->FailSendsForTesting(false);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(CountReceived(server, "connect"), connects);
  EXPECT_FALSE(session->IsLoginAcked());
  EXPECT_FALSE(session->IsHelloAcked());
  EXPECT_FALSE(session->IsKeepAliveRunning());
}

TEST_F(SessionLogin, ServerCloseMakesTheSessionReconnectAndLogInAgain) {
  timing.reconnectMs = 100;
  ApplyTiming();
  Handle h = NewHandle();
  ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
  auto session = LiveSession(h.get());
  ASSERT_TRUE(server.WaitFor("connect", 1, 2000ms));
  ASSERT_TRUE(server.CloseConnection());
  ASSERT_TRUE(WaitUntil([&] { return session->IsClosed() && !session->IsConnected(); }));
  EXPECT_FALSE(session->IsKeepAliveRunning());
  ASSERT_TRUE(server.WaitFor("login", 2, 5000ms));
  EXPECT_TRUE(server.WaitFor("connect", 2, 3000ms)) << [&] {
    std::string seen;
    for (const auto& m : server.Received()) seen += m.cmd + "@" + std::to_string(m.connection) + " ";
    return seen;
  }();
  EXPECT_EQ(server.ConnectionsAccepted(), 2u);
  EXPECT_TRUE(WaitUntil([&] { return session->IsLoginAcked(); }));
}

TEST_F(SessionLogin, ReconnectionGoesToTheServerPortWhateverPortWasUsedBefore) {
  standin::StandinServer other;
  ASSERT_TRUE(other.Start("127.0.0.1", 0));
  timing.reconnectMs = 100;
  ApplyTiming();
  Handle h = NewHandle();
  auto session = LiveSession(h.get());
  ASSERT_EQ(session->ConnectServer("127.0.0.1", other.Port(), 1000, false), 1);
  ASSERT_EQ(session->SendLoginHello(), 1);
  ASSERT_EQ(session->SendLoginRequest("a", "b"), 1);
  ASSERT_TRUE(other.CloseConnection());
  EXPECT_TRUE(server.WaitFor("login", 1, 5000ms));
  other.Stop();
}

TEST_F(SessionLogin, FreeReturnsPromptlyInEveryState) {
  timing.keepAliveMs = 5;
  timing.reconnectMs = 20;
  ApplyTiming();
  // Logged in with timers running and the server streaming greetings.
  {
    Handle h = NewHandle();
    ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
    standin::OutgoingMessage hello;
    hello.cmd = "hello";
    for (int i = 0; i < 200; ++i) server.Send(hello);
    const auto start = std::chrono::steady_clock::now();
    h.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  }
  // Disconnected, with the reconnect thread retrying against a silent server.
  {
    Handle h = NewHandle();
    ASSERT_EQ(CM_Login(h.get(), "127.0.0.1", "a", "b"), 1);
    standin::Script silent;
    silent.answerHello = false;
    ASSERT_TRUE(server.SetScript(silent));
    ASSERT_TRUE(server.CloseConnection());
    ASSERT_TRUE(server.WaitFor("hello", 2, 3000ms));  // the reconnect thread waits for the answer
    const auto start = std::chrono::steady_clock::now();
    h.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  }
}

TEST_F(SessionLogin, FreeingOneSessionLeavesAnotherRunning) {
  timing.reconnectMs = 100;
  ApplyTiming();
  Handle first = NewHandle();
  Handle second = NewHandle();
  ASSERT_EQ(CM_Login(first.get(), "127.0.0.1", "a", "b"), 1);
  ASSERT_EQ(CM_Login(second.get(), "127.0.0.1", "a", "b"), 1);
  auto session = LiveSession(second.get());
  ASSERT_TRUE(server.WaitFor("connect", 2, 2000ms));
  first.reset();
  // The second session's connection is the newest: closing it must be repaired.
  ASSERT_TRUE(server.CloseConnection());
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  EXPECT_TRUE(server.WaitFor("login", 3, 5000ms));
  EXPECT_TRUE(WaitUntil([&] { return session->IsLoginAcked(); }, 3000ms));
}
