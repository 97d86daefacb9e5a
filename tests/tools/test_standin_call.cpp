// The stand-in's side of an audio call, checked with plain client sockets:
// its answers to "invite", the call messages it can send, and its media
// listener.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/client_texts.h"
#include "tools/loopback_client.h"
#include "tools/standin_server.h"

namespace {

using namespace std::chrono_literals;
using standin::CallScript;
using standin::MediaScript;
using standin_test::LoopbackClient;

constexpr auto kWait = 5000ms;
constexpr auto kQuiet = 200ms;

std::string InviteText(int cseq) {
  return "CMSCP/1.0 REQ\r\nCType:sentrell\r\nCName:\r\nClass:3\r\nCmd:invite\r\nCallID:ABCDEFGHIJKLMNOP\r\nCSeq:" +
         std::to_string(cseq) +
         "\r\nTo:NVS <256@>\r\nFrom:END <op@127.0.0.1:7000>\r\nContact:server\r\nContent-Type:sdp\r\n"
         "Content-Length:0\r\n\r\n\r\n";
}

}  // namespace

TEST(StandinCall, InviteIsAnsweredAsScripted) {
  struct Case {
    CallScript::InviteAnswer answer;
    int code;
    std::chrono::milliseconds delay;
    int expectedClass;  // -1: no answer
  };
  const Case cases[] = {
      {CallScript::InviteAnswer::Accept, 7, 0ms, 0},
      {CallScript::InviteAnswer::Refuse, 7, 0ms, 7},
      {CallScript::InviteAnswer::Accept, 0, 150ms, 0},
      {CallScript::InviteAnswer::Silent, 0, 0ms, -1},
  };
  for (const Case& c : cases) {
    standin::StandinServer server;
    ASSERT_TRUE(server.Start("127.0.0.1", 0));
    CallScript script;
    script.answer = c.answer;
    script.refuseCode = c.code;
    script.delay = c.delay;
    server.SetCallScript(script);
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(server.Port()));
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.SendText(InviteText(4321)));
    if (c.expectedClass < 0) {
      ASSERT_TRUE(server.WaitFor("invite", 1, kWait));
      EXPECT_TRUE(client.NothingWithin(kQuiet));
      continue;
    }
    const auto ack = client.ReadMessage();
    ASSERT_TRUE(ack.has_value());
    EXPECT_GE(std::chrono::steady_clock::now() - sent, c.delay);
    EXPECT_EQ(ack->start, standin::ParsedMessage::StartLine::Answer);
    EXPECT_EQ(ack->Header("Cmd"), "inviteack");
    EXPECT_EQ(ack->IntHeader("CSeq", -1), 4321);
    EXPECT_EQ(ack->IntHeader("Class", -1), c.expectedClass);
  }
}

TEST(StandinCall, PeerMessagesCarryTheCallsHeaders) {
  const auto invite = standin::BuildBlock(standin::PeerInviteMessage("NVS <12@x>", "CALLID", 9, 3));
  ASSERT_TRUE(invite.has_value());
  const auto parsed = standin::ParseBlock(invite->data(), invite->size());
  EXPECT_TRUE(parsed.error.empty()) << parsed.error;
  EXPECT_EQ(parsed.Header("Cmd"), "invite");
  EXPECT_EQ(parsed.Header("CType"), "sentrell");
  EXPECT_EQ(parsed.Header("From"), "NVS <12@x>");
  EXPECT_EQ(parsed.Header("CallID"), "CALLID");
  EXPECT_EQ(parsed.IntHeader("CSeq"), 9);
  EXPECT_EQ(parsed.IntHeader("Class"), 3);
  EXPECT_EQ(parsed.body.rfind("v=0\r\n", 0), 0u);
  const auto ringback = standin::BuildBlock(standin::RingbackMessage(5, 2));
  const auto back = standin::ParseBlock(ringback->data(), ringback->size());
  EXPECT_EQ(back.Header("Cmd"), "ringback");
  EXPECT_EQ(back.IntHeader("Class"), 2);
}

TEST(StandinMediaCodec, ALawAndFrameLayout) {
  struct Case {
    std::int16_t sample;
    std::uint8_t code;
    std::int16_t decoded;
  };
  for (const Case& c : {Case{0, 0xD5, 8}, Case{-1, 0x55, -8}, Case{32767, 0xAA, 32256}, Case{-32768, 0x2A, -32256},
                        Case{1000, 0xFA, 1008}}) {
    EXPECT_EQ(standin::EncodeALaw(c.sample), c.code) << c.sample;
    EXPECT_EQ(standin::DecodeALaw(c.code), c.decoded) << c.sample;
  }
  const std::string frame = standin::BuildMediaFrame(8, 0x0102, 0x11223344, std::vector<std::uint8_t>(80, 0xD5));
  ASSERT_EQ(frame.size(), 96u);
  EXPECT_EQ(frame.substr(0, 12), std::string("$\x00\x00\x5C\x02\x10\x02\x01\x44\x33\x22\x11", 12));
  standin::MediaFrame read;
  std::size_t used = 0;
  ASSERT_FALSE(standin::ReadMediaFrame(frame.substr(0, 95), read, used));
  ASSERT_TRUE(standin::ReadMediaFrame(frame + "tail", read, used));
  EXPECT_EQ(used, 96u);
  EXPECT_EQ(read.sequence, 0x0102);
  EXPECT_EQ(read.timestamp, 0x11223344u);
  EXPECT_EQ(read.payloadType, 8);
  EXPECT_EQ(read.version, 2);
  EXPECT_EQ(read.payload, std::vector<std::uint8_t>(80, 0xD5));
}

class StandinMediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start("127.0.0.1", 0));
    ASSERT_TRUE(server.StartMedia(0));
    ASSERT_NE(media().Port(), 0);
  }
  standin::StandinMedia& media() { return server.Media(); }
  void Connect() {
    ASSERT_TRUE(client.Connect(media().Port()));
    ASSERT_TRUE(media().WaitForConnections(1, kWait));
  }

  standin::StandinServer server;
  LoopbackClient client;
};

TEST_F(StandinMediaTest, AnswersTheHandshakeAsScripted) {
  struct Case {
    MediaScript::Answer answer;
    std::size_t expectedReads;  // at least
  };
  for (const Case& c : {Case{MediaScript::Answer::AtOnce, 1}, Case{MediaScript::Answer::Delayed, 1},
                        Case{MediaScript::Answer::Split, 2}}) {
    server.Stop();
    SetUp();
    MediaScript script;
    script.answer = c.answer;
    script.delay = 60ms;
    script.splitAt = 4;
    media().SetScript(script);
    client.Close();
    ASSERT_TRUE(client.Connect(media().Port()));
    const auto sent = std::chrono::steady_clock::now();
    // The handshake in two writes is still one handshake.
    ASSERT_TRUE(client.SendAll("[CallID=ABCD][SS"));
    ASSERT_TRUE(client.SendAll("RC=op]"));
    std::vector<std::size_t> reads;
    const auto answer = client.ReadExactly(11, kWait, &reads);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "[Status=OK]");
    if (c.answer != MediaScript::Answer::AtOnce) {
      EXPECT_GE(std::chrono::steady_clock::now() - sent, 60ms);
    }
    if (c.answer == MediaScript::Answer::Split) {
      EXPECT_EQ(reads[0], 4u);
    }
    EXPECT_GE(reads.size(), c.expectedReads);
  }
}

TEST_F(StandinMediaTest, NeverAnsweringStaysSilent) {
  MediaScript script;
  script.answer = MediaScript::Answer::Never;
  media().SetScript(script);
  Connect();
  ASSERT_TRUE(client.SendAll("[CallID=ABCD][SSRC=op]"));
  ASSERT_TRUE(media().WaitForHandshakes(1, kWait));
  EXPECT_TRUE(client.NothingWithin(kQuiet));
}

TEST_F(StandinMediaTest, SendsTheToneAfterTheAnswer) {
  MediaScript script;
  script.toneFrames = 3;
  media().SetScript(script);
  Connect();
  ASSERT_TRUE(client.SendAll("[CallID=ABCD][SSRC=op]"));
  const auto bytes = client.ReadExactly(11 + 3 * 96, kWait);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->substr(0, 11), "[Status=OK]");
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string frame = bytes->substr(11 + i * 96, 96);
    standin::MediaFrame read;
    std::size_t used = 0;
    ASSERT_TRUE(standin::ReadMediaFrame(frame, read, used));
    EXPECT_EQ(read.sequence, i);
    EXPECT_EQ(read.payloadType, 8);
    EXPECT_EQ(read.payload, standin::EncodeALawSamples(standin::ToneSamples(i * 80, 80)));
  }
  EXPECT_TRUE(media().WaitForToneFrames(3, kWait));
}

TEST_F(StandinMediaTest, RecordsTextsFramesJunkAndTheClose) {
  Connect();
  const std::string first = standin::BuildMediaFrame(8, 7, 100, std::vector<std::uint8_t>(80, 0x11));
  const std::string second = standin::BuildMediaFrame(18, 8, 120, std::vector<std::uint8_t>(10, 0x22));
  ASSERT_TRUE(client.SendAll("[CallID=ABCD][SSRC=op]xy" + first.substr(0, 30)));
  ASSERT_TRUE(client.SendAll(first.substr(30) + second + "[Status=Bye]"));
  ASSERT_TRUE(media().WaitForTexts(3, kWait));
  const auto frames = media().Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].raw, first);
  EXPECT_EQ(frames[0].sequence, 7);
  EXPECT_EQ(frames[0].timestamp, 100u);
  EXPECT_EQ(frames[1].payloadType, 18);
  EXPECT_EQ(media().Texts(), (std::vector<std::string>{"[CallID=ABCD]", "[SSRC=op]", "[Status=Bye]"}));
  EXPECT_EQ(media().Handshakes().size(), 1u);
  EXPECT_EQ(media().JunkBytes(), 2u);
  client.Close();
  EXPECT_TRUE(media().WaitForOpenConnections(0, kWait));
  // Started again, the listener records afresh.
  media().Stop();
  ASSERT_TRUE(server.StartMedia(0));
  EXPECT_TRUE(media().Texts().empty());
  EXPECT_TRUE(media().Frames().empty());
  EXPECT_TRUE(media().Handshakes().empty());
  EXPECT_EQ(media().JunkBytes(), 0u);
}

TEST_F(StandinMediaTest, ClosesTheNewestConnectionOnRequest) {
  Connect();
  ASSERT_TRUE(media().CloseConnection());
  EXPECT_TRUE(client.EndsWithin(kWait));
  EXPECT_FALSE(media().CloseConnection());
}
