// The stand-in's own message codec: exact bytes written, hand-written blocks read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/cmscp_text.h"
#include "tools/credentials.h"

namespace {

using standin::BuildBlock;
using standin::kBlockSize;
using standin::MessageKind;
using standin::OutgoingMessage;
using standin::ParseBlock;
using standin::ParsedMessage;

using Headers = std::vector<std::pair<std::string, std::string>>;

ParsedMessage ParseBytes(const std::string& bytes) {
  // A copy of exactly the given size, so that a read past it is caught.
  std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
  return ParseBlock(exact.data(), exact.size());
}

std::string Padded(const std::string& text) {
  std::string block(kBlockSize, '\0');
  block.replace(0, text.size(), text);
  return block;
}

struct BuildCase {
  const char* name;
  OutgoingMessage message;
  std::string text;
};

OutgoingMessage Hello() {
  OutgoingMessage m;
  m.ctype = "iot";
  m.cmd = "hello";
  m.contact = "ver=1.0";
  return m;
}

OutgoingMessage Connect() {
  OutgoingMessage m;
  m.ctype = "end";
  m.cname = "YWRtaW4!";
  m.classValue = 7;
  m.cmd = "connect";
  m.callId = "MQ!!";
  m.cseq = 12;
  m.to = "gw";
  m.from = "user@host";
  m.contact = "server";
  m.contentType = "zip";
  m.body = "qmvht";
  return m;
}

OutgoingMessage LoginAck() {
  OutgoingMessage m;
  m.kind = MessageKind::Answer;
  m.ackCode = 200;
  m.cmd = "loginack";
  m.cseq = 77;
  m.classValue = 1;
  return m;
}

OutgoingMessage Cancel() {
  OutgoingMessage m;
  m.kind = MessageKind::Cancel;
  m.cmd = "ignored";
  m.from = "ignored";
  return m;
}

TEST(CmscpTextBuild, WritesTheExactTextAtTheStartOfAZeroFilledBlock) {
  const std::vector<BuildCase> cases = {
      {"request without To and body", Hello(),
       "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:\r\nClass:0\r\nCmd:hello\r\nCallID:\r\nCSeq:0\r\n"
       "From:\r\nContact:ver=1.0\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"request with To and a 5-byte body", Connect(),
       "CMSCP/1.0 REQ\r\nCType:end\r\nCName:YWRtaW4!\r\nClass:7\r\nCmd:connect\r\nCallID:MQ!!\r\n"
       "CSeq:12\r\nTo:gw\r\nFrom:user@host\r\nContact:server\r\nContent-Type:zip\r\n"
       "Content-Length:5\r\nqmvht\r\n\r\n"},
      {"answer", LoginAck(),
       "CMSCP/1.0 ACK 200\r\nCType:\r\nCmd:loginack\r\nCSeq:77\r\nContact:\r\nClass:1\r\n"
       "Content-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"cancel has no headers of its own", Cancel(),
       "CMSCP/1.0 CANCEL\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(standin::MessageText(c.message), c.text);
    const auto block = BuildBlock(c.message);
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block->data()), block->size()), Padded(c.text));
  }
}

TEST(CmscpTextBuild, AnswerCodeAndNegativeNumbersAreWrittenInDecimal) {
  OutgoingMessage m = LoginAck();
  m.ackCode = 0;
  m.cseq = -5;
  m.classValue = 2000002;
  EXPECT_EQ(standin::MessageText(m),
            "CMSCP/1.0 ACK 0\r\nCType:\r\nCmd:loginack\r\nCSeq:-5\r\nContact:\r\nClass:2000002\r\n"
            "Content-Type:\r\nContent-Length:0\r\n\r\n\r\n");
}

TEST(CmscpTextBuild, RefusesATextLongerThanABlock) {
  OutgoingMessage m = Hello();
  const std::size_t header = standin::MessageText(m).size();
  // Each body byte adds one byte; the digits of Content-Length grow from 1 to 4.
  m.body.assign(kBlockSize - header - 3, 'x');
  ASSERT_EQ(standin::MessageText(m).size(), kBlockSize);
  const auto full = BuildBlock(m);
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ((*full)[kBlockSize - 1], '\n');
  m.body.push_back('x');
  EXPECT_FALSE(BuildBlock(m).has_value());
}

TEST(CmscpTextParse, ReadsALoginBlockAsTheClientWritesIt) {
  const std::string text =
      "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:YWRtaW4!\r\nClass:7\r\nCmd:login\r\nCallID:YWRtaW4!\r\n"
      "CSeq:1234\r\nFrom:\r\nContact:127.0.0.1\r\nContent-Type:zip\r\nContent-Length:5\r\nqmvht\r\n\r\n";
  const ParsedMessage p = ParseBytes(Padded(text));
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.start, ParsedMessage::StartLine::Request);
  const Headers expected = {{"CType", "iot"},    {"CName", "YWRtaW4!"}, {"Class", "7"},
                            {"Cmd", "login"},    {"CallID", "YWRtaW4!"}, {"CSeq", "1234"},
                            {"From", ""},        {"Contact", "127.0.0.1"}, {"Content-Type", "zip"}};
  EXPECT_EQ(p.headers, expected);
  EXPECT_EQ(p.contentLength, 5);
  EXPECT_EQ(p.body, "qmvht");
  EXPECT_TRUE(p.terminated);
  EXPECT_FALSE(p.bodyTruncated);
  EXPECT_EQ(p.textLength, text.size());
  EXPECT_TRUE(p.zeroFilled);
  EXPECT_EQ(p.IntHeader("Class"), 7);
  EXPECT_EQ(p.IntHeader("CSeq"), 1234);
  EXPECT_EQ(p.Header("Missing"), "");
  EXPECT_FALSE(p.HasHeader("To"));
  EXPECT_TRUE(p.HasHeader("From"));
}

struct ParseCase {
  const char* name;
  std::string bytes;
  ParsedMessage::StartLine start;
  int ackCode;
  std::string body;
  bool terminated;
  bool truncated;
  bool wellFormed;
};

TEST(CmscpTextParse, StartLinesBodiesAndFaults) {
  const std::string tail = "Content-Type:\r\nContent-Length:0\r\n\r\n\r\n";
  const std::string binaryBody("\r\n\0x\r\n", 6);
  const std::vector<ParseCase> cases = {
      {"answer code", Padded("CMSCP/1.0 ACK 200\r\nCmd:ack\r\n" + tail), ParsedMessage::StartLine::Answer, 200,
       "", true, false, true},
      {"cancel", Padded("CMSCP/1.0 CANCEL\r\n" + tail), ParsedMessage::StartLine::Cancel, -1, "", true, false, true},
      {"body with CR LF and zero bytes",
       Padded("CMSCP/1.0 REQ\r\nCmd:x\r\nContent-Length:6\r\n" + binaryBody + "\r\n\r\n"),
       ParsedMessage::StartLine::Request, -1, binaryBody, true, false, true},
      {"Content-Length past the block", Padded("CMSCP/1.0 REQ\r\nCmd:x\r\nContent-Length:5000\r\nabc"),
       ParsedMessage::StartLine::Request, -1, "abc" + std::string(kBlockSize - 46, '\0'), false, true, false},
      {"Content-Length past the bytes given", "CMSCP/1.0 REQ\r\nCmd:x\r\nContent-Length:9\r\nabc",
       ParsedMessage::StartLine::Request, -1, "abc", false, true, false},
      {"huge Content-Length", Padded("CMSCP/1.0 REQ\r\nContent-Length:99999999999999999999\r\n\r\n\r\n"),
       ParsedMessage::StartLine::Request, -1, "", false, false, false},
      {"negative Content-Length", Padded("CMSCP/1.0 REQ\r\nContent-Length:-5\r\n\r\n\r\n"),
       ParsedMessage::StartLine::Request, -1, "", false, false, false},
      {"no Content-Length", Padded("CMSCP/1.0 REQ\r\nCmd:x\r\n\r\n"), ParsedMessage::StartLine::Request, -1, "",
       false, false, false},
      {"text ends inside the headers", Padded("CMSCP/1.0 REQ\r\nCmd:x"), ParsedMessage::StartLine::Request, -1, "",
       false, false, false},
      {"no terminator after the body", Padded("CMSCP/1.0 REQ\r\nContent-Length:2\r\nab\r\n"),
       ParsedMessage::StartLine::Request, -1, "ab", false, false, false},
      {"header line without a colon", Padded("CMSCP/1.0 REQ\r\nCmd x\r\n" + tail), ParsedMessage::StartLine::Request,
       -1, "", false, false, false},
      {"foreign start line", Padded("HTTP/1.1 200 OK\r\n" + tail), ParsedMessage::StartLine::Unknown, -1, "", true,
       false, false},
      {"answer code out of range", Padded("CMSCP/1.0 ACK 300\r\n" + tail), ParsedMessage::StartLine::Unknown, -1, "",
       true, false, false},
      {"unknown kind", Padded("CMSCP/1.0 BYE\r\n" + tail), ParsedMessage::StartLine::Unknown, -1, "", true, false,
       false},
      {"zero block", std::string(kBlockSize, '\0'), ParsedMessage::StartLine::Missing, -1, "", false, false, false},
      {"block without any zero byte or line end", std::string(kBlockSize, 'A'), ParsedMessage::StartLine::Unknown, -1,
       "", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ParsedMessage p = ParseBytes(c.bytes);
    EXPECT_EQ(p.start, c.start);
    EXPECT_EQ(p.ackCode, c.ackCode);
    EXPECT_EQ(p.body, c.body);
    EXPECT_EQ(p.terminated, c.terminated);
    EXPECT_EQ(p.bodyTruncated, c.truncated);
    EXPECT_EQ(p.error.empty(), c.wellFormed) << p.error;
    EXPECT_LE(p.textLength, c.bytes.size());
  }
}

TEST(CmscpTextParse, ValuesAreKeptAsWrittenAndNumbersReadStrictly) {
  const ParsedMessage p = ParseBytes(Padded(
      "CMSCP/1.0 REQ\r\nCType: iot \r\nClass:0x1F\r\nCSeq:-5\r\nTo:From:x\r\nCallID:a:b\r\n"
      "Content-Type:\r\nContent-Length:0\r\n\r\n\r\n"));
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.Header("CType"), " iot ");
  EXPECT_EQ(p.IntHeader("Class", -1), -1);
  EXPECT_EQ(p.IntHeader("CSeq"), -5);
  EXPECT_EQ(p.Header("To"), "From:x");
  EXPECT_FALSE(p.HasHeader("From"));
  EXPECT_EQ(p.Header("CallID"), "a:b");
}

TEST(CmscpTextParse, NoticesBytesAfterTheText) {
  std::string block = Padded("CMSCP/1.0 REQ\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n");
  EXPECT_TRUE(ParseBytes(block).zeroFilled);
  block[kBlockSize - 1] = 'z';
  const ParsedMessage p = ParseBytes(block);
  EXPECT_EQ(p.error, "");
  EXPECT_FALSE(p.zeroFilled);
}

TEST(Credentials, Base64WithBangForPadding) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"admin", "YWRtaW4!"}, {"1", "MQ!!"},  {"ab", "YWI!"},   {"abc", "YWJj"},
      {"", ""},              {"\xff\xfe", "//4!"}, {"user@host", "dXNlckBob3N0"},
  };
  for (const auto& [text, encoded] : cases) EXPECT_EQ(standin::EncodeCredential(text), encoded) << text;
}

}  // namespace
