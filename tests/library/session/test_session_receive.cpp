// The dispatcher, fed with blocks written by the stand-in's own codec.

#include <sys/socket.h>

#include <string>

#include <gtest/gtest.h>

#include "library/session/iot_session.h"
#include "tools/cmscp_text.h"
#include "support/deflate.h"

namespace {

std::string BlockOf(const standin::OutgoingMessage& message) {
  const auto block = standin::BuildBlock(message);
  EXPECT_TRUE(block.has_value());
  return std::string(reinterpret_cast<const char*>(block->data()), block->size());
}

standin::OutgoingMessage Message(const std::string& cmd, const std::string& body = {}) {
  standin::OutgoingMessage m;
  m.cmd = cmd;
  m.body = body;
  return m;
}

using testsupport::Deflate;

class Dispatcher : public ::testing::Test {
 protected:
  void Feed(const standin::OutgoingMessage& message) {
    const std::string block = BlockOf(message);
    session.ReceiveBytes(block.data(), block.size());
  }
  CIotSession session;
};

}  // namespace

TEST_F(Dispatcher, HelloKeepsTheServerTextsAndMarksTheGreeting) {
  auto hello = Message("hello");
  hello.from = "srv@platform";
  hello.contact = "ver=1.0";
  Feed(hello);
  EXPECT_TRUE(session.IsHelloAcked());
  char from[32], contact[32], body[512];
  EXPECT_EQ(session.GetServerInfo(from, contact, body), 1);
  EXPECT_STREQ(from, "srv@platform");
  EXPECT_STREQ(contact, "ver=1.0");
  EXPECT_STREQ(body, "");
}

TEST_F(Dispatcher, ServerTextsArriveInGbkAndAreKeptAsUtf8) {
  auto hello = Message("hello", "\xD6\xD0\xD0\xC4");  // two characters in GBK
  Feed(hello);
  char body[512];
  session.GetServerInfo(nullptr, nullptr, body);
  EXPECT_STREQ(body, "\xE4\xB8\xAD\xE5\xBF\x83");
}

TEST_F(Dispatcher, UpdateMarksTheListAndUnknownWordsAreDropped) {
  Feed(Message("Update"));  // the words are compared exactly
  Feed(Message("nonsense"));
  EXPECT_FALSE(session.IsListReceived());
  Feed(Message("update"));
  EXPECT_TRUE(session.IsListReceived());
}

TEST_F(Dispatcher, RecordListAnswerIsUnpackedWithinTheBytesPresent) {
  const std::string list = "FileName=a.mp4;FileName=b.mp4;";
  const std::string packed = Deflate(list);
  struct Case {
    const char* name;
    std::string body;
    std::string expected;
  };
  const Case cases[] = {
      {"valid", "?CompressLen=" + std::to_string(packed.size()) + "FileList=" + packed, list},
      {"length missing", "?FileList=" + packed, ""},
      {"corrupt data", "?CompressLen=20FileList=" + std::string(20, 'x'), ""},
      {"length beyond the body", "?CompressLen=3000FileList=" + packed.substr(0, packed.size() / 2), ""},
      {"list missing", "?CompressLen=10", ""},
      {"empty body", "", ""},
  };
  for (const auto& c : cases) {
    session.GetRecordEvent().Reset();
    Feed(Message("remoterecordack", c.body));
    EXPECT_TRUE(session.GetRecordEvent().IsSet()) << c.name;
    EXPECT_EQ(session.RecordListText(), c.expected) << c.name;
  }
}

TEST_F(Dispatcher, SendsNothingWhileNotConnected) {
  const char block[kScpBlockSize] = {};
  EXPECT_EQ(session.SendLocked(block, sizeof block), 0);
  EXPECT_FALSE(session.SendQuit());
}
