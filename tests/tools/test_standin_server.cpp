// The stand-in server driven in-process, checked with a plain client socket.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "tools/client_texts.h"
#include "tools/loopback_client.h"
#include "tools/standin_server.h"

namespace {

using namespace std::chrono_literals;
using standin::kBlockSize;
using standin::MessageKind;
using standin::OutgoingMessage;
using standin::ParsedMessage;
using standin::Script;
using standin::StandinServer;
using standin_test::ConnectText;
using standin_test::kAdmin;
using standin_test::kGuest;
using standin_test::kHelloText;
using standin_test::LoginText;
using standin_test::LoopbackClient;
using standin_test::TextBlock;

constexpr auto kWait = 5000ms;
constexpr auto kQuiet = 300ms;

class StandinServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Start("127.0.0.1", 0));
    ASSERT_NE(server_.Port(), 0);
  }

  // Connects and waits until the server has taken the connection.
  void Connect(LoopbackClient& client) {
    ASSERT_TRUE(client.Connect(server_.Port()));
    ASSERT_TRUE(server_.WaitForConnections(++connections_, kWait));
  }

  void Apply(const Script& script) { ASSERT_TRUE(server_.SetScript(script)); }

  static OutgoingMessage Note(const std::string& cmd, int cseq = 0) {
    OutgoingMessage m;
    m.kind = MessageKind::Answer;
    m.cmd = cmd;
    m.cseq = cseq;
    return m;
  }

  static std::string BlockOf(const OutgoingMessage& m) { return standin_test::BlockBytes(*standin::BuildBlock(m)); }

  StandinServer server_;
  std::size_t connections_ = 0;
};

TEST_F(StandinServerTest, AnswersHelloWithTheScriptedTextsAndLogsTheBlock) {
  Script script;
  script.helloFrom = "srv@lab";
  script.helloContact = "ver=2.0";
  script.helloBody = "welcome\r\nsecond line";
  Apply(script);
  LoopbackClient client;
  Connect(client);
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.SendText(kHelloText));

  const auto answer = client.ReadMessage();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->error, "");
  EXPECT_EQ(answer->start, ParsedMessage::StartLine::Request);
  EXPECT_EQ(answer->Header("Cmd"), "hello");
  EXPECT_EQ(answer->Header("From"), "srv@lab");
  EXPECT_EQ(answer->Header("Contact"), "ver=2.0");
  EXPECT_EQ(answer->body, "welcome\r\nsecond line");
  EXPECT_TRUE(answer->zeroFilled);

  ASSERT_TRUE(server_.WaitFor("hello", 1, kWait));
  const auto log = server_.Received();
  ASSERT_EQ(log.size(), 1u);
  const auto& entry = log[0];
  EXPECT_EQ(entry.cmd, "hello");
  EXPECT_TRUE(entry.complete);
  EXPECT_EQ(entry.raw.size(), kBlockSize);
  EXPECT_EQ(std::string(entry.raw.begin(), entry.raw.end()), TextBlock(kHelloText));
  EXPECT_EQ(entry.connection, 1u);
  EXPECT_GE(entry.time, before);
  EXPECT_LE(entry.time, std::chrono::steady_clock::now());
  EXPECT_EQ(entry.parsed.Header("CType"), "iot");
  EXPECT_EQ(entry.parsed.Header("Contact"), "ver=1.0");
  EXPECT_EQ(entry.parsed.error, "");
}

TEST_F(StandinServerTest, SilentHelloStillAnswersLogin) {
  Script script;
  script.answerHello = false;
  Apply(script);
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendText(kHelloText));
  ASSERT_TRUE(server_.WaitFor("hello", 1, kWait));
  EXPECT_TRUE(client.NothingWithin(kQuiet));
  ASSERT_TRUE(client.SendText(LoginText(kAdmin, kAdmin)));
  const auto answer = client.ReadMessage();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Header("Cmd"), "loginack");
}

struct LoginCase {
  const char* name;
  int loginClass;
  bool withAccount;
  std::string cname;
  std::string callId;
  int expectedClass;
};

TEST_F(StandinServerTest, LoginAckCarriesTheChosenClassAndTheRequestsCSeq) {
  const std::vector<LoginCase> cases = {
      {"class 1", 1, false, kGuest, kGuest, 1},
      {"class 0", 0, false, kAdmin, kAdmin, 0},
      {"class 5", 5, false, kAdmin, kAdmin, 5},
      {"known account", 3, true, kAdmin, kAdmin, 3},
      {"wrong password", 3, true, kAdmin, kGuest, 0},
      {"unknown user", 3, true, kGuest, kAdmin, 0},
  };
  int cseq = 100;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Script script;
    script.loginClass = c.loginClass;
    if (c.withAccount) script.accounts = {{"admin", "admin"}};
    Apply(script);
    LoopbackClient client;
    Connect(client);
    ASSERT_TRUE(client.SendText(LoginText(c.cname, c.callId, ++cseq)));
    const auto answer = client.ReadMessage();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->error, "");
    EXPECT_EQ(answer->start, ParsedMessage::StartLine::Answer);
    EXPECT_EQ(answer->Header("Cmd"), "loginack");
    EXPECT_EQ(answer->IntHeader("Class", -1), c.expectedClass);
    EXPECT_EQ(answer->IntHeader("CSeq", -1), cseq);
  }
}

TEST_F(StandinServerTest, LoginAckWaitsForTheChosenDelay) {
  Script script;
  script.loginDelay = 400ms;
  Apply(script);
  LoopbackClient client;
  Connect(client);
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.SendText(LoginText(kAdmin, kAdmin)));
  const auto answer = client.ReadMessage();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Header("Cmd"), "loginack");
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 400ms);
}

TEST_F(StandinServerTest, SilentLoginSendsNothing) {
  Script script;
  script.answerLogin = false;
  Apply(script);
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendText(LoginText(kAdmin, kAdmin)));
  ASSERT_TRUE(server_.WaitFor("login", 1, kWait));
  EXPECT_TRUE(client.NothingWithin(kQuiet));
}

TEST_F(StandinServerTest, NotAnsweringLogsEveryBlockAndAnswersNoneUntilResumed) {
  Script script;
  script.sendGatewayList = true;
  script.gateways = {{11, standin::kGatewayOnline, "one"}};
  Apply(script);
  LoopbackClient client;
  Connect(client);
  server_.SetAnswering(false);
  ASSERT_TRUE(client.SendText(kHelloText));
  ASSERT_TRUE(client.SendText(LoginText(kAdmin, kAdmin)));
  ASSERT_TRUE(client.SendText(ConnectText(kAdmin, kAdmin)));
  ASSERT_TRUE(server_.WaitFor("connect", 1, kWait));
  EXPECT_TRUE(client.NothingWithin(kQuiet));
  EXPECT_EQ(server_.Received().size(), 3u);
  EXPECT_EQ(server_.ConnectionsOpen(), 1u);
  // Answering again: the next request is answered, the ones before are not.
  server_.SetAnswering(true);
  ASSERT_TRUE(client.SendText(kHelloText));
  const auto answer = client.ReadMessage();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Header("Cmd"), "hello");
  EXPECT_TRUE(client.NothingWithin(kQuiet));
}

TEST_F(StandinServerTest, ConnectGetsTheGatewayListPagesWhenAsked) {
  Script script;
  script.sendGatewayList = true;
  script.gatewaysPerPage = 2;
  script.gateways = {{11, standin::kGatewayOnline, "one"}, {22, 0, "two"}, {33, standin::kGatewayOnline, "three"}};
  Apply(script);
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendText(ConnectText(kAdmin, kAdmin, 4242)));
  const std::vector<std::string> ctypes = {"1/2", "2/2"};
  const std::vector<int> counts = {2, 1};
  for (std::size_t p = 0; p < ctypes.size(); ++p) {
    SCOPED_TRACE(p);
    const auto page = client.ReadMessage();
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->error, "");
    EXPECT_EQ(page->Header("Cmd"), "ack");
    EXPECT_EQ(page->Header("CType"), ctypes[p]);
    EXPECT_EQ(page->Header("Content-Type"), "zip");
    EXPECT_EQ(page->IntHeader("CSeq"), 4242);
    std::vector<std::uint8_t> inflated(8192);
    uLongf size = inflated.size();
    ASSERT_EQ(uncompress(inflated.data(), &size, reinterpret_cast<const Bytef*>(page->body.data()), page->body.size()),
              Z_OK);
    ASSERT_EQ(size, standin::kListPageSize);
    EXPECT_EQ(inflated[4], counts[p]);
  }
}

TEST_F(StandinServerTest, ConnectGetsNothingWithoutTheList) {
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendText(ConnectText(kAdmin, kAdmin)));
  ASSERT_TRUE(client.SendText(kHelloText));
  const auto answer = client.ReadMessage();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Header("Cmd"), "hello");
}

TEST_F(StandinServerTest, RefusesAScriptWhoseAnswersDoNotFitABlock) {
  Script tooLong;
  tooLong.helloBody.assign(kBlockSize, 'x');
  EXPECT_FALSE(server_.SetScript(tooLong));
  Script badPages;
  badPages.gatewaysPerPage = 0;
  EXPECT_FALSE(server_.SetScript(badPages));
  EXPECT_EQ(server_.GetScript().helloBody, "");
}

struct SplitCase {
  const char* name;
  std::vector<std::size_t> pieces;
  std::chrono::milliseconds gap;
};

TEST_F(StandinServerTest, SplitBlocksArriveInTheChosenPieces) {
  const std::vector<SplitCase> cases = {
      {"1-byte pieces", StandinServer::EvenPieces(1), 1ms},
      {"7-byte pieces", StandinServer::EvenPieces(7), 2ms},
      {"600 + 612", {600, 612}, 200ms},
  };
  LoopbackClient client;
  Connect(client);
  int cseq = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const OutgoingMessage note = Note("message", ++cseq);
    server_.SplitNext(c.pieces, c.gap);
    ASSERT_TRUE(server_.Send(note));
    std::vector<std::size_t> reads;
    const auto bytes = client.ReadExactly(kBlockSize, 4 * kWait, &reads);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, BlockOf(note));
    EXPECT_GE(reads.size(), 2u);
    // Every read ends on a piece boundary.
    std::vector<std::size_t> boundaries;
    std::size_t sum = 0;
    for (std::size_t piece : c.pieces) boundaries.push_back(sum = std::min(sum + piece, kBlockSize));
    std::size_t total = 0;
    for (std::size_t n : reads) {
      total += n;
      EXPECT_NE(std::find(boundaries.begin(), boundaries.end(), total), boundaries.end()) << total;
    }
  }
  // Faults are used up: the next block goes whole.
  ASSERT_TRUE(server_.Send(Note("message")));
  std::vector<std::size_t> reads;
  ASSERT_TRUE(client.ReadExactly(kBlockSize, kWait, &reads).has_value());
  EXPECT_EQ(reads, std::vector<std::size_t>{kBlockSize});
}

TEST_F(StandinServerTest, CoalescedBlocksGoOutInOneWriteOnceTheLastIsQueued) {
  LoopbackClient client;
  Connect(client);
  server_.CoalesceNext(3);
  std::string expected;
  for (int i = 1; i <= 3; ++i) {
    if (i == 3) {
      EXPECT_TRUE(client.NothingWithin(kQuiet));
    }
    const OutgoingMessage note = Note("iotm", i);
    expected += BlockOf(note);
    ASSERT_TRUE(server_.Send(note));
  }
  std::vector<std::size_t> reads;
  const auto bytes = client.ReadExactly(3 * kBlockSize, kWait, &reads);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, expected);
  EXPECT_EQ(reads, std::vector<std::size_t>{3 * kBlockSize});
}

TEST_F(StandinServerTest, ScriptedAnswersAreCoalescedToo) {
  Script script;
  script.sendGatewayList = true;
  script.gatewaysPerPage = 1;
  script.gateways = {{1, 1, "a"}, {2, 1, "b"}};
  Apply(script);
  LoopbackClient client;
  Connect(client);
  server_.CoalesceNext(3);
  ASSERT_TRUE(client.SendText(kHelloText));
  ASSERT_TRUE(client.SendText(ConnectText(kAdmin, kAdmin)));
  std::vector<std::size_t> reads;
  const auto bytes = client.ReadExactly(3 * kBlockSize, kWait, &reads);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(reads.size(), 1u);
  const std::vector<std::string> cmds = {"hello", "ack", "ack"};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto parsed =
        standin::ParseBlock(reinterpret_cast<const std::uint8_t*>(bytes->data()) + i * kBlockSize, kBlockSize);
    EXPECT_EQ(parsed.Header("Cmd"), cmds[i]);
  }
}

TEST_F(StandinServerTest, JunkPrecedesTheNextBlockInTheSameWrite) {
  LoopbackClient client;
  Connect(client);
  const std::string junk("xx\0CMSCP/1.0 junk\r\n", 19);
  server_.JunkBeforeNext(junk);
  const OutgoingMessage note = Note("warn");
  ASSERT_TRUE(server_.Send(note));
  std::vector<std::size_t> reads;
  const auto bytes = client.ReadExactly(junk.size() + kBlockSize, kWait, &reads);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, junk + BlockOf(note));
  EXPECT_EQ(reads.size(), 1u);
}

TEST_F(StandinServerTest, CloseMidBlockSendsThePrefixThenCloses) {
  LoopbackClient client;
  Connect(client);
  server_.CloseMidNext(500);
  const OutgoingMessage note = Note("update");
  ASSERT_TRUE(server_.Send(note));
  const auto prefix = client.ReadExactly(500, kWait);
  ASSERT_TRUE(prefix.has_value());
  EXPECT_EQ(*prefix, BlockOf(note).substr(0, 500));
  EXPECT_TRUE(client.EndsWithin(kWait));
  EXPECT_TRUE(server_.WaitForOpenConnections(0, kWait));

  // The client comes back and is served as before.
  LoopbackClient again;
  Connect(again);
  ASSERT_TRUE(again.SendText(kHelloText));
  const auto answer = again.ReadMessage();
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Header("Cmd"), "hello");
  ASSERT_TRUE(server_.WaitFor("hello", 1, kWait));
  EXPECT_EQ(server_.Received().back().connection, 2u);
}

TEST_F(StandinServerTest, CloseOnDemandEndsTheStream) {
  EXPECT_FALSE(server_.CloseConnection());
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(server_.CloseConnection());
  EXPECT_TRUE(client.EndsWithin(kWait));
  EXPECT_TRUE(server_.WaitForOpenConnections(0, kWait));
  EXPECT_FALSE(server_.Send(Note("message")));
  EXPECT_FALSE(server_.SendRaw("x"));
}

TEST_F(StandinServerTest, SendGoesToTheNewestConnection) {
  LoopbackClient first;
  LoopbackClient second;
  Connect(first);
  Connect(second);
  const OutgoingMessage note = Note("bye");
  ASSERT_TRUE(server_.Send(note));
  const auto bytes = second.ReadExactly(kBlockSize, kWait);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, BlockOf(note));
  EXPECT_TRUE(first.NothingWithin(kQuiet));

  // Answers go to the connection the request came on.
  ASSERT_TRUE(first.SendText(kHelloText));
  EXPECT_TRUE(first.ReadMessage().has_value());
  EXPECT_TRUE(second.NothingWithin(kQuiet));
}

TEST_F(StandinServerTest, SendRefusesWhatDoesNotFitAndRawBytesGoAsTheyAre) {
  LoopbackClient client;
  Connect(client);
  OutgoingMessage big = Note("message");
  big.body.assign(kBlockSize, 'b');
  EXPECT_FALSE(server_.Send(big));
  server_.SplitNext({1});  // raw bytes take no fault; the fault waits for the next block
  const std::string raw("CMSCP/1.0 ACK 200\r\n\0\0raw", 24);
  ASSERT_TRUE(server_.SendRaw(raw));
  std::vector<std::size_t> reads;
  const auto bytes = client.ReadExactly(raw.size(), kWait, &reads);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, raw);
  EXPECT_EQ(reads.size(), 1u);
}

TEST_F(StandinServerTest, ReadsBlocksWhateverTheClientsWriteSizes) {
  LoopbackClient client;
  Connect(client);
  const std::string two = TextBlock(kHelloText) + TextBlock(LoginText(kAdmin, kAdmin));
  // Both blocks in pieces of 5 bytes, then both at once.
  for (std::size_t at = 0; at < two.size(); at += 5) ASSERT_TRUE(client.SendAll(two.substr(at, 5)));
  ASSERT_TRUE(client.SendAll(two));
  ASSERT_TRUE(server_.WaitFor("login", 2, kWait));
  const auto log = server_.Received();
  ASSERT_EQ(log.size(), 4u);
  const std::vector<std::string> cmds = {"hello", "login", "hello", "login"};
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].cmd, cmds[i]);
    EXPECT_EQ(std::string(log[i].raw.begin(), log[i].raw.end()), two.substr(i % 2 * kBlockSize, kBlockSize));
  }
}

TEST_F(StandinServerTest, BareSettingsTextsAreTakenOneByOneEvenWhenTheyFillTheBuffer) {
  LoopbackClient client;
  Connect(client);
  OutgoingMessage get = standin::ServerRequest("getconfig", 7, "wopfe");
  get.contact = "server";
  const std::string bare = standin::MessageText(get);
  // More than a block's worth of bare texts, then a block, in one write.
  const std::size_t count = kBlockSize / bare.size() + 2;
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += bare;
  bytes += TextBlock(kHelloText);
  ASSERT_TRUE(client.SendAll(bytes));
  ASSERT_TRUE(server_.WaitFor("hello", 1, kWait));
  const auto log = server_.Received();
  ASSERT_EQ(log.size(), count + 1);
  for (std::size_t i = 0; i < count; ++i) {
    EXPECT_EQ(log[i].cmd, "getconfig") << i;
    EXPECT_EQ(std::string(log[i].raw.begin(), log[i].raw.end()), bare) << i;
  }
  EXPECT_EQ(std::string(log.back().raw.begin(), log.back().raw.end()), TextBlock(kHelloText));
}

TEST_F(StandinServerTest, ABlockCutByThePeersCloseIsLoggedAsPartial) {
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendAll(TextBlock(kHelloText).substr(0, 500)));
  client.Close();
  ASSERT_TRUE(server_.WaitForOpenConnections(0, kWait));
  const auto log = server_.Received();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_FALSE(log[0].complete);
  EXPECT_EQ(log[0].raw.size(), 500u);
  EXPECT_EQ(log[0].cmd, "hello");
  EXPECT_FALSE(server_.WaitFor("hello", 1, 0ms));
}

TEST_F(StandinServerTest, StopReadingLeavesTheBytesUnreadUntilResumed) {
  server_.SetReading(false);
  LoopbackClient client;
  Connect(client);
  const int small = 16 * 1024;
  ASSERT_EQ(setsockopt(client.Fd(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small), 0);
  // Write blocks until the socket takes no more: nothing is read on the other side.
  const std::string block = TextBlock(kHelloText);
  std::size_t whole = 0;
  std::size_t partial = 0;
  for (int i = 0; i < 20000 && partial == 0; ++i) {
    const ssize_t n = send(client.Fd(), block.data(), block.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) break;
    if (static_cast<std::size_t>(n) == block.size()) {
      ++whole;
    } else {
      partial = static_cast<std::size_t>(n);
    }
  }
  ASSERT_GT(whole, 0u);
  EXPECT_TRUE(server_.Received().empty());
  EXPECT_EQ(server_.ConnectionsOpen(), 1u);

  server_.SetReading(true);
  if (partial > 0) {
    ASSERT_TRUE(client.SendAll(block.substr(partial)));
    ++whole;
  }
  ASSERT_TRUE(server_.WaitFor("hello", whole, kWait));
  EXPECT_EQ(server_.Received().size(), whole);
}

TEST_F(StandinServerTest, APeerThatLeavesWhileNotReadIsDropped) {
  LoopbackClient client;
  Connect(client);
  server_.SetReading(false);
  ASSERT_TRUE(client.SendText(kHelloText));
  client.Close();
  EXPECT_TRUE(server_.WaitForOpenConnections(0, kWait));
  EXPECT_TRUE(server_.Received().empty());
}

TEST_F(StandinServerTest, WaitForTimesOutWithoutTheMessage) {
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendText(kHelloText));
  EXPECT_TRUE(server_.WaitFor("hello", 1, kWait));
  EXPECT_FALSE(server_.WaitFor("hello", 2, 100ms));
  EXPECT_FALSE(server_.WaitFor("login", 1, 100ms));
}

TEST_F(StandinServerTest, StopClosesConnectionsWithAnswersStillPending) {
  Script script;
  script.loginDelay = 60s;
  Apply(script);
  LoopbackClient client;
  Connect(client);
  ASSERT_TRUE(client.SendText(LoginText(kAdmin, kAdmin)));
  ASSERT_TRUE(server_.WaitFor("login", 1, kWait));
  server_.Stop();
  EXPECT_EQ(server_.Port(), 0);
  EXPECT_TRUE(client.EndsWithin(kWait));
  EXPECT_FALSE(server_.Send(Note("message")));
  // It can serve again afterwards.
  ASSERT_TRUE(server_.Start("127.0.0.1", 0));
  LoopbackClient again;
  ASSERT_TRUE(again.Connect(server_.Port()));
  ASSERT_TRUE(again.SendText(kHelloText));
  EXPECT_TRUE(again.ReadMessage().has_value());
}

TEST(StandinServerStart, ListensOnLoopbackAddressesOnly) {
  for (const char* address : {"0.0.0.0", "192.0.2.1", "localhost", "", "::1", "127.0.0.1x"}) {
    StandinServer server;
    EXPECT_FALSE(server.Start(address, 0)) << address;
  }
  StandinServer server;
  ASSERT_TRUE(server.Start("127.0.0.2", 0));
  EXPECT_FALSE(server.Start("127.0.0.2", 0));
  LoopbackClient client;
  EXPECT_TRUE(client.Connect(server.Port(), "127.0.0.2"));
  LoopbackClient elsewhere;
  EXPECT_FALSE(elsewhere.Connect(server.Port(), "127.0.0.1"));
}

TEST(StandinServerStart, APortInUseIsReported) {
  StandinServer first;
  ASSERT_TRUE(first.Start("127.0.0.3", 0));
  StandinServer second;
  EXPECT_FALSE(second.Start("127.0.0.3", first.Port()));
  EXPECT_EQ(second.Port(), 0);
}

}  // namespace
