// Tests of the CMSCP message record.
#include "library/session/scp_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace std::string_literals;

struct MsgDeleter {
  void operator()(ScpMessage* m) const { ScpMessageFree(m); }
};
using Msg = std::unique_ptr<ScpMessage, MsgDeleter>;

Msg NewMsg(int kind = kScpKindReq) {
  ScpMessage* m = nullptr;
  EXPECT_TRUE(ScpMessageCreate(&m, kind));
  return Msg(m);
}

// Exact-size heap copy without a NUL: a read past `size` is caught by ASan.
std::unique_ptr<char[]> ExactCopy(const std::string& s) {
  auto p = std::make_unique<char[]>(s.empty() ? 1 : s.size());
  std::memcpy(p.get(), s.data(), s.size());
  return p;
}

int Parse(ScpMessage* m, const std::string& text) {
  auto buf = ExactCopy(text);
  return ScpMessageParse(m, buf.get(), text.size());
}

std::string Body(const ScpMessage* m) {
  unsigned n = 0;
  const std::uint8_t* b = ScpMessageGetBody(m, &n);
  return std::string(reinterpret_cast<const char*>(b), n);
}

// Serialises into an exact heap buffer of `capacity` bytes.
std::string Serialize(const ScpMessage* m, std::size_t capacity, std::size_t* result) {
  auto buf = std::make_unique<char[]>(capacity);
  std::memset(buf.get(), 'x', capacity);
  *result = ScpMessageSerialize(m, buf.get(), capacity);
  return std::string(buf.get(), capacity);
}

const std::string kHello =
    "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:\r\nClass:0\r\nCmd:hello\r\nCallID:\r\nCSeq:0\r\nFrom:\r\n"
    "Contact:ver=1.0\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n";

// ---------------------------------------------------------------------------
// Record

TEST(ScpMessage, CreateResetFree) {
  ScpMessage* raw = nullptr;
  ASSERT_TRUE(ScpMessageCreate(&raw, kScpKindAck));
  Msg m(raw);
  EXPECT_EQ(m->version, 1);
  EXPECT_EQ(m->kind, kScpKindAck);
  EXPECT_EQ(m->AckCode, 200);
  EXPECT_EQ(m->ContentLength, 0);
  EXPECT_EQ(m->Class, 0);
  EXPECT_EQ(m->CSeq, 0);
  EXPECT_STREQ(m->CallID, "");
  ASSERT_NE(m->body, nullptr);
  for (std::size_t i = 0; i < kScpBodyCapacity; ++i) ASSERT_EQ(m->body[i], 0);

  ScpMessageSetCmd(m.get(), "login");
  ScpMessageSetClass(m.get(), 5);
  ScpMessageSetBody(m.get(), "abc", 3);
  std::uint8_t* body = m->body;
  ScpMessageReset(m.get());
  EXPECT_EQ(m->body, body);  // stays owned
  EXPECT_EQ(m->version, 0);
  EXPECT_EQ(m->kind, kScpKindReq);
  EXPECT_EQ(m->AckCode, 0);
  EXPECT_EQ(m->ContentLength, 0);
  EXPECT_EQ(m->Class, 0);
  EXPECT_STREQ(m->Cmd, "");
  for (std::size_t i = 0; i < kScpBodyCapacity; ++i) ASSERT_EQ(m->body[i], 0);

  EXPECT_FALSE(ScpMessageCreate(nullptr, 0));
  ScpMessageFree(nullptr);
  ScpMessageReset(nullptr);
}

TEST(ScpMessage, SettersAndGetters) {
  Msg m = NewMsg();
  struct Field {
    bool (*set)(ScpMessage*, const char*);
    const char* (*get)(const ScpMessage*);
    std::size_t width;
  };
  const Field fields[] = {
      {ScpMessageSetCType, ScpMessageGetCType, 32},
      {ScpMessageSetCName, ScpMessageGetCName, 32},
      {ScpMessageSetCmd, ScpMessageGetCmd, 32},
      {ScpMessageSetTo, ScpMessageGetTo, 32},
      {ScpMessageSetFrom, ScpMessageGetFrom, 32},
      {ScpMessageSetContact, ScpMessageGetContact, 32},
      {ScpMessageSetContentType, ScpMessageGetContentType, 32},
      {ScpMessageSetCallID, ScpMessageGetCallID, 64},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.width);
    const std::string longest(f.width - 1, 'a');
    EXPECT_TRUE(f.set(m.get(), longest.c_str()));
    EXPECT_EQ(std::string(f.get(m.get())), longest);
    // Too long: refused, field unchanged.
    EXPECT_FALSE(f.set(m.get(), std::string(f.width, 'b').c_str()));
    EXPECT_EQ(std::string(f.get(m.get())), longest);
    EXPECT_FALSE(f.set(m.get(), nullptr));
    EXPECT_FALSE(f.set(nullptr, "x"));
    // The whole field is zero-filled before the copy.
    EXPECT_TRUE(f.set(m.get(), "ab"));
    const char* field = f.get(m.get());
    EXPECT_STREQ(field, "ab");
    for (std::size_t i = 2; i < f.width; ++i) EXPECT_EQ(field[i], '\0') << i;
    EXPECT_STREQ(f.get(nullptr), "");
  }
  ScpMessageSetClass(m.get(), -7);
  ScpMessageSetCSeq(m.get(), 123456);
  EXPECT_EQ(ScpMessageGetClass(m.get()), -7);
  EXPECT_EQ(ScpMessageGetCSeq(m.get()), 123456);
  EXPECT_EQ(ScpMessageGetClass(nullptr), 0);

  ScpMessageSetKind(m.get(), kScpKindAck, 201);
  std::uint8_t code = 0;
  EXPECT_EQ(ScpMessageGetKind(m.get(), &code), kScpKindAck);
  EXPECT_EQ(code, 201);
  EXPECT_EQ(ScpMessageGetKind(m.get(), nullptr), kScpKindAck);
  EXPECT_EQ(ScpMessageGetKind(nullptr, &code), -1);
}

TEST(ScpMessage, SetBody) {
  Msg m = NewMsg();
  EXPECT_TRUE(ScpMessageSetBody(m.get(), "abc", 3));
  EXPECT_EQ(Body(m.get()), "abc");
  std::string big(4096, 'z');
  EXPECT_FALSE(ScpMessageSetBody(m.get(), big.data(), 4096));  // ignored
  EXPECT_FALSE(ScpMessageSetBody(m.get(), big.data(), 5000));
  EXPECT_FALSE(ScpMessageSetBody(m.get(), nullptr, 3));
  EXPECT_FALSE(ScpMessageSetBody(m.get(), "q", 0));
  EXPECT_EQ(m->ContentLength, 3);
  EXPECT_EQ(Body(m.get()), "abc");
  EXPECT_TRUE(ScpMessageSetBody(m.get(), big.data(), 4095));
  EXPECT_EQ(Body(m.get()), std::string(4095, 'z'));
  EXPECT_TRUE(ScpMessageSetBody(m.get(), "de", 2));  // zero-fills first
  EXPECT_EQ(m->body[2], 0);
  EXPECT_EQ(Body(m.get()), "de");
  // A stored length out of range is reported as 0.
  m->ContentLength = 4096;
  EXPECT_EQ(Body(m.get()), "");
  m->ContentLength = -1;
  EXPECT_EQ(Body(m.get()), "");
  unsigned n = 9;
  EXPECT_EQ(ScpMessageGetBody(nullptr, &n), nullptr);
  EXPECT_EQ(n, 0u);
}

// ---------------------------------------------------------------------------
// Serialising

void FillReq(ScpMessage* m) {
  ScpMessageSetCType(m, "iot");
  ScpMessageSetCName(m, "alice");
  ScpMessageSetClass(m, 1001);
  ScpMessageSetCmd(m, "iot");
  ScpMessageSetCallID(m, "c1");
  ScpMessageSetCSeq(m, 42);
  ScpMessageSetFrom(m, "me");
  ScpMessageSetContact(m, "ver=1.0");
}

TEST(ScpMessage, SerializeTable) {
  const std::string reqHead =
      "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:alice\r\nClass:1001\r\nCmd:iot\r\nCallID:c1\r\nCSeq:42\r\n";
  struct Case {
    const char* name;
    std::function<void(ScpMessage*)> fill;
    std::string text;
  };
  const Case cases[] = {
      {"hello",
       [](ScpMessage* m) {
         ScpMessageSetCType(m, "iot");
         ScpMessageSetCmd(m, "hello");
         ScpMessageSetContact(m, "ver=1.0");
       },
       kHello},
      {"req without To", FillReq,
       reqHead + "From:me\r\nContact:ver=1.0\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"req with To",
       [](ScpMessage* m) {
         FillReq(m);
         ScpMessageSetTo(m, "nvs7");
       },
       reqHead + "To:nvs7\r\nFrom:me\r\nContact:ver=1.0\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"req with 5-byte body",
       [](ScpMessage* m) {
         FillReq(m);
         ScpMessageSetContentType(m, "bin");
         ScpMessageSetBody(m, "ABCDE", 5);
       },
       reqHead + "From:me\r\nContact:ver=1.0\r\nContent-Type:bin\r\nContent-Length:5\r\nABCDE\r\n\r\n"},
      {"req with CR LF and zero bytes in the body",
       [](ScpMessage* m) {
         FillReq(m);
         ScpMessageSetBody(m, "\0\r\n\xFF\0\r\n", 7);
       },
       reqHead + "From:me\r\nContact:ver=1.0\r\nContent-Type:\r\nContent-Length:7\r\n\0\r\n\xFF\0\r\n\r\n\r\n"s},
      {"req with negative numbers",
       [](ScpMessage* m) {
         ScpMessageSetClass(m, -1);
         ScpMessageSetCSeq(m, -2147483647 - 1);
       },
       "CMSCP/1.0 REQ\r\nCType:\r\nCName:\r\nClass:-1\r\nCmd:\r\nCallID:\r\nCSeq:-2147483648\r\nFrom:\r\n"
       "Contact:\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"ack 200",
       [](ScpMessage* m) {
         FillReq(m);  // CName, CallID, From are not written in an ACK
         ScpMessageSetKind(m, kScpKindAck, 200);
         ScpMessageSetCmd(m, "loginack");
         ScpMessageSetClass(m, 9);
       },
       "CMSCP/1.0 ACK 200\r\nCType:iot\r\nCmd:loginack\r\nCSeq:42\r\nContact:ver=1.0\r\nClass:9\r\n"
       "Content-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"ack 0 with body",
       [](ScpMessage* m) {
         ScpMessageSetKind(m, kScpKindAck, 0);
         ScpMessageSetBody(m, "xy", 2);
       },
       "CMSCP/1.0 ACK 0\r\nCType:\r\nCmd:\r\nCSeq:0\r\nContact:\r\nClass:0\r\nContent-Type:\r\n"
       "Content-Length:2\r\nxy\r\n\r\n"},
      {"cancel",
       [](ScpMessage* m) {
         FillReq(m);
         ScpMessageSetKind(m, kScpKindCancel, 0);
       },
       "CMSCP/1.0 CANCEL\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"kind 5",
       [](ScpMessage* m) {
         FillReq(m);
         ScpMessageSetKind(m, 5, 0);
         ScpMessageSetContentType(m, "zip");
         ScpMessageSetBody(m, "\r\n", 2);
       },
       "Content-Type:zip\r\nContent-Length:2\r\n\r\n\r\n\r\n"},
      {"stored length 4096 is written as 0",
       [](ScpMessage* m) {
         ScpMessageSetKind(m, kScpKindCancel, 0);
         m->ContentLength = 4096;
       },
       "CMSCP/1.0 CANCEL\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
      {"stored length -3 is written as 0",
       [](ScpMessage* m) {
         ScpMessageSetKind(m, kScpKindCancel, 0);
         m->ContentLength = -3;
       },
       "CMSCP/1.0 CANCEL\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Msg m = NewMsg();
    c.fill(m.get());
    std::size_t n = 0;
    // Exactly the text and its NUL fit.
    const std::string out = Serialize(m.get(), c.text.size() + 1, &n);
    EXPECT_EQ(n, c.text.size());
    EXPECT_EQ(out, c.text + '\0');
    // One byte less: refused, nothing written.
    const std::string refused = Serialize(m.get(), c.text.size(), &n);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(refused, std::string(c.text.size(), 'x'));
  }
}

TEST(ScpMessage, HelloTextIs132Bytes) {
  Msg m = NewMsg();
  ScpMessageSetCType(m.get(), "iot");
  ScpMessageSetCmd(m.get(), "hello");
  ScpMessageSetContact(m.get(), "ver=1.0");
  ASSERT_EQ(kHello.size(), 132u);
  auto block = std::make_unique<char[]>(kScpBlockSize);
  EXPECT_EQ(ScpMessageSerializeBlock(m.get(), block.get()), 132u);
  EXPECT_EQ(std::string(block.get(), 132), kHello);
  for (std::size_t i = 132; i < kScpBlockSize; ++i) ASSERT_EQ(block[i], '\0') << i;
}

TEST(ScpMessage, BodyLengthAddsNine) {
  Msg m = NewMsg();
  FillReq(m.get());
  char head[512] = {};
  const std::size_t headLength = ScpMessageSerialize(m.get(), head, sizeof head) - 4;  // without CR LF CR LF
  ScpMessageSetBody(m.get(), "12345", 5);
  char full[512] = {};
  const std::size_t fullLength = ScpMessageSerialize(m.get(), full, sizeof full);
  EXPECT_EQ(fullLength, headLength + 9);  // same header digits: "Content-Length:0" vs ":5"
}

TEST(ScpMessage, SerializeBlockLimits) {
  Msg m = NewMsg(5);  // text = 40 + body bytes for a 4-digit body length
  std::string body(1171, 'b');
  ASSERT_TRUE(ScpMessageSetBody(m.get(), body.data(), 1171));
  auto block = std::make_unique<char[]>(kScpBlockSize);
  EXPECT_EQ(ScpMessageSerializeBlock(m.get(), block.get()), kScpMaxBlockText);
  EXPECT_EQ(block[kScpMaxBlockText], '\0');

  body.push_back('b');  // 1212 bytes of text: does not fit
  ASSERT_TRUE(ScpMessageSetBody(m.get(), body.data(), 1172));
  std::memset(block.get(), 'x', kScpBlockSize);
  EXPECT_EQ(ScpMessageSerializeBlock(m.get(), block.get()), 0u);
  for (std::size_t i = 0; i < kScpBlockSize; ++i) ASSERT_EQ(block[i], '\0') << i;

  EXPECT_EQ(ScpMessageSerializeBlock(nullptr, block.get()), 0u);
  EXPECT_EQ(ScpMessageSerializeBlock(m.get(), nullptr), 0u);
  EXPECT_EQ(ScpMessageSerialize(m.get(), nullptr, 4096), 0u);
  EXPECT_EQ(ScpMessageSerialize(nullptr, block.get(), kScpBlockSize), 0u);
  EXPECT_EQ(ScpMessageSerialize(m.get(), block.get(), 0), 0u);

  // The largest possible text (every field full, 4095 body bytes) fits 5000 bytes.
  Msg full = NewMsg();
  const std::string s31(31, 's');
  for (auto set : {ScpMessageSetCType, ScpMessageSetCName, ScpMessageSetCmd, ScpMessageSetTo, ScpMessageSetFrom,
                   ScpMessageSetContact, ScpMessageSetContentType}) {
    ASSERT_TRUE(set(full.get(), s31.c_str()));
  }
  ASSERT_TRUE(ScpMessageSetCallID(full.get(), std::string(63, 'c').c_str()));
  ScpMessageSetClass(full.get(), -2147483647 - 1);
  ScpMessageSetCSeq(full.get(), -2147483647 - 1);
  const std::string big(4095, 'q');
  ASSERT_TRUE(ScpMessageSetBody(full.get(), big.data(), 4095));
  std::size_t n = 0;
  Serialize(full.get(), 5000, &n);
  EXPECT_GT(n, 4095u);
  EXPECT_LT(n, 5000u);
}

// ---------------------------------------------------------------------------
// Parsing

TEST(ScpMessage, ParseTable) {
  struct Case {
    const char* name;
    std::string text;
    int count;
    std::function<void(ScpMessage*)> setup;  // may be empty
    std::function<void(const ScpMessage*)> check;
  };
  const Case cases[] = {
      {"ack 200",
       "CMSCP/1.0 ACK 200\r\nCType:iot\r\nCmd:loginack\r\nCSeq:3\r\nContact:\r\nClass:9\r\n"
       "Content-Type:\r\nContent-Length:0\r\n\r\n\r\n",
       8, nullptr,
       [](const ScpMessage* m) {
         std::uint8_t code = 0;
         EXPECT_EQ(ScpMessageGetKind(m, &code), kScpKindAck);
         EXPECT_EQ(code, 200);
         EXPECT_STREQ(m->CType, "iot");
         EXPECT_STREQ(m->Cmd, "loginack");
         EXPECT_EQ(m->CSeq, 3);
         EXPECT_EQ(m->Class, 9);
         EXPECT_EQ(m->ContentLength, 0);
       }},
      {"ack code kept in 8 bits", "CMSCP/1.0 ACK 300\r\nCmd:x\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->AckCode, 300 % 256); }},
      {"ack code after several blanks", "CMSCP/1.0  ACK   7 \r\nCmd:x\r\n", 2, nullptr,
       [](const ScpMessage* m) {
         EXPECT_EQ(m->kind, kScpKindAck);
         EXPECT_EQ(m->AckCode, 7);
       }},
      {"ack without a blank after it", "CMSCP/1.0 ACK\r\nCmd:x\r\n", 2, nullptr,
       [](const ScpMessage* m) {
         EXPECT_EQ(m->kind, kScpKindAck);
         EXPECT_EQ(m->AckCode, 0);
       }},
      {"cancel", "CMSCP/1.0 CANCEL\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n", 3, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->kind, kScpKindCancel); }},
      {"unknown start word keeps the kind", "CMSCP/1.0 FOO\r\nCmd:x\r\n", 2,
       [](ScpMessage* m) { m->kind = 7; }, [](const ScpMessage* m) { EXPECT_EQ(m->kind, 7); }},
      {"start line without a blank ends the parse", "CMSCP/1.0\r\nCmd:x\r\n", 0, nullptr,
       [](const ScpMessage* m) { EXPECT_STREQ(m->Cmd, ""); }},
      {"CSeq octal", "CMSCP/1.0 REQ\r\nCSeq:010\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->CSeq, 8); }},
      {"Class hex", "CMSCP/1.0 REQ\r\nClass:0x1F\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->Class, 31); }},
      {"CSeq negative", "CMSCP/1.0 REQ\r\nCSeq:-5\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->CSeq, -5); }},
      {"CSeq 09 (no digit rejected)", "CMSCP/1.0 REQ\r\nCSeq:09\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->CSeq, 9); }},
      {"Class 12a", "CMSCP/1.0 REQ\r\nClass:12a\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(m->Class, 169); }},
      {"Content-Length 0 then more headers", "CMSCP/1.0 REQ\r\nContent-Length:0\r\nCmd:late\r\nCSeq:4\r\n", 4,
       nullptr,
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->Cmd, "late");
         EXPECT_EQ(m->CSeq, 4);
         EXPECT_EQ(m->ContentLength, 0);
       }},
      {"body with zero, CR and LF bytes",
       "CMSCP/1.0 REQ\r\nCmd:iotm\r\nContent-Length:5\r\n\x00\x0D\x0A\xFF\x0A\r\n\r\n"s, 2, nullptr,
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->Cmd, "iotm");
         EXPECT_EQ(Body(m), "\x00\x0D\x0A\xFF\x0A"s);
         EXPECT_EQ(m->ContentLength, 5);
       }},
      {"body beginning with CR LF", "CMSCP/1.0 REQ\r\nContent-Length:4\r\n\r\nab\r\n\r\n", 1, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(Body(m), "\r\nab"); }},
      {"body starts 2 bytes after the line end", "CMSCP/1.0 REQ\nContent-Length:3\nxabc", 1, nullptr,
       [](const ScpMessage* m) { EXPECT_EQ(Body(m), "abc"); }},
      {"Content-Length larger than the bytes present", "CMSCP/1.0 REQ\r\nContent-Length:100\r\nabc", 1,
       nullptr,
       [](const ScpMessage* m) {
         EXPECT_EQ(m->ContentLength, 3);
         EXPECT_EQ(Body(m), "abc");
       }},
      {"Content-Length at the very end", "CMSCP/1.0 REQ\r\nContent-Length:5", 1,
       [](ScpMessage* m) { ScpMessageSetBody(m, "old", 3); },
       [](const ScpMessage* m) {
         EXPECT_EQ(m->ContentLength, 0);
         EXPECT_EQ(m->body[0], 0);  // zero-filled, nothing copied
       }},
      {"Content-Length 4096 copies nothing and goes on", "CMSCP/1.0 REQ\r\nContent-Length:4096\r\nCmd:x\r\n", 3,
       [](ScpMessage* m) { ScpMessageSetBody(m, "keep", 4); },
       [](const ScpMessage* m) {
         EXPECT_EQ(m->ContentLength, 0);
         EXPECT_EQ(std::string(reinterpret_cast<const char*>(m->body), 4), "keep");  // body unchanged
         EXPECT_STREQ(m->Cmd, "x");
       }},
      {"negative Content-Length copies nothing and goes on", "CMSCP/1.0 REQ\r\nContent-Length:-2\r\nCmd:y\r\n", 3,
       nullptr,
       [](const ScpMessage* m) {
         EXPECT_EQ(m->ContentLength, 0);
         EXPECT_STREQ(m->Cmd, "y");
       }},
      {"From:To:abc is a To line", "CMSCP/1.0 REQ\r\nFrom:To:abc\r\n", 2,
       [](ScpMessage* m) { ScpMessageSetFrom(m, "orig"); },
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->To, "To:abc");
         EXPECT_STREQ(m->From, "orig");
       }},
      {"values trimmed of blanks only", "CMSCP/1.0 REQ\r\nCType: 1/2 \r\nCmd:\ta\t\r\n", 3, nullptr,
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->CType, "1/2");
         EXPECT_STREQ(m->Cmd, "\ta\t");
       }},
      {"header at the start of the text", "CType:xyz\r\nCmd:abc\r\n", 0, nullptr,
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->CType, "");
         EXPECT_STREQ(m->Cmd, "");
       }},
      {"header at offset 1", " CType:xyz\r\nCmd:abc\r\n", 0, nullptr,
       [](const ScpMessage* m) { EXPECT_STREQ(m->CType, ""); }},
      {"header at offset 2", "\r\nCType:xyz\r\nCmd:abc\r\n", 2, nullptr,
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->CType, "xyz");
         EXPECT_STREQ(m->Cmd, "abc");
       }},
      {"shorter than 10 characters", "CMSCP/1.0", 0,
       [](ScpMessage* m) { ScpMessageSetBody(m, "abc", 3); },
       [](const ScpMessage* m) {
         EXPECT_EQ(m->kind, kScpKindReq);
         EXPECT_EQ(m->ContentLength, 3);  // nothing changed
       }},
      {"a line without ':' ends the parse", "CMSCP/1.0 REQ\r\ngarbage\r\nCmd:x\r\n", 1, nullptr,
       [](const ScpMessage* m) { EXPECT_STREQ(m->Cmd, ""); }},
      {"an unknown header is skipped", "CMSCP/1.0 REQ\r\nX-Foo:1\r\nCmd:x\r\n", 2, nullptr,
       [](const ScpMessage* m) { EXPECT_STREQ(m->Cmd, "x"); }},
      {"over-long values are cut at the field width",
       "CMSCP/1.0 REQ\r\nCmd:" + std::string(40, 'a') + "\r\nCallID:" + std::string(70, 'c') + "\r\nTo:" +
           std::string(200, 't') + "\r\n",
       4, nullptr,
       [](const ScpMessage* m) {
         EXPECT_EQ(std::string(m->Cmd), std::string(31, 'a'));
         EXPECT_EQ(std::string(m->CallID), std::string(63, 'c'));
         EXPECT_EQ(std::string(m->To), std::string(31, 't'));
         EXPECT_EQ(m->From[0], '\0');  // the next field is untouched
       }},
      {"lines end at the first NUL", "CMSCP/1.0 REQ\r\nCmd:a\r\n\0Cmd:b\r\nCSeq:5\r\n"s, 2, nullptr,
       [](const ScpMessage* m) {
         EXPECT_STREQ(m->Cmd, "a");
         EXPECT_EQ(m->CSeq, 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Msg m = NewMsg();
    if (c.setup) c.setup(m.get());
    EXPECT_EQ(Parse(m.get(), c.text), c.count);
    c.check(m.get());
  }
  Msg m = NewMsg();
  EXPECT_EQ(ScpMessageParse(nullptr, "CMSCP/1.0 REQ\r\n", 15), 0);
  EXPECT_EQ(ScpMessageParse(m.get(), nullptr, 15), 0);
  // The text is not modified.
  const std::string text = "CMSCP/1.0 REQ\r\nCType: a \r\nContent-Length:2\r\n\r\n\r\n";
  auto buf = ExactCopy(text);
  ScpMessageParse(m.get(), buf.get(), text.size());
  EXPECT_EQ(std::string(buf.get(), text.size()), text);
  EXPECT_EQ(Body(m.get()), "\r\n");
}

TEST(ScpMessage, OversizeContentLengthInABlock) {
  // A 1212-byte block claiming 4000 body bytes: only what the block holds is copied.
  const std::string head = "CMSCP/1.0 REQ\r\nCmd:iotm\r\nContent-Length:4000\r\n";
  auto block = std::make_unique<char[]>(kScpBlockSize);
  for (std::size_t i = 0; i < kScpBlockSize; ++i) block[i] = static_cast<char>(i * 7 + 1);
  std::memcpy(block.get(), head.data(), head.size());
  Msg m = NewMsg();
  EXPECT_EQ(ScpMessageParse(m.get(), block.get(), kScpBlockSize), 2);
  const std::size_t present = kScpBlockSize - head.size();
  EXPECT_EQ(m->ContentLength, static_cast<std::int32_t>(present));
  EXPECT_EQ(Body(m.get()), std::string(block.get() + head.size(), present));
  EXPECT_EQ(m->body[present], 0);
}

TEST(ScpMessage, HeaderLinesRunningToTheEndOfTheBuffer) {
  // No CR LF, no NUL: the last value runs to the end of the range.
  Msg m = NewMsg();
  EXPECT_EQ(Parse(m.get(), "CMSCP/1.0 REQ\r\nCallID:" + std::string(100, 'k')), 2);
  EXPECT_EQ(std::string(m->CallID), std::string(63, 'k'));
  EXPECT_EQ(Parse(m.get(), "CMSCP/1.0 REQ\r\nCSeq:12"), 2);
  EXPECT_EQ(m->CSeq, 12);
}

// ---------------------------------------------------------------------------
// Round trips

TEST(ScpMessage, RoundTripKeepsEveryField) {
  Msg out = NewMsg();
  ScpMessageSetCType(out.get(), "iot");
  ScpMessageSetCName(out.get(), "alice");
  ScpMessageSetClass(out.get(), 123456);
  ScpMessageSetCmd(out.get(), "reqallnodesdata");
  ScpMessageSetCallID(out.get(), std::string(63, 'c').c_str());
  ScpMessageSetCSeq(out.get(), -77);
  ScpMessageSetTo(out.get(), "nvs:1");
  ScpMessageSetFrom(out.get(), "user@host");
  ScpMessageSetContact(out.get(), "ver=1.0");
  ScpMessageSetContentType(out.get(), "zip");
  const std::string body = "\x00\r\n\r\n\xFF\x01 CSeq:9\r\n"s;
  ScpMessageSetBody(out.get(), body.data(), static_cast<unsigned>(body.size()));

  auto block = std::make_unique<char[]>(kScpBlockSize);
  ASSERT_GT(ScpMessageSerializeBlock(out.get(), block.get()), 0u);
  Msg in = NewMsg(kScpKindCancel);
  EXPECT_EQ(ScpMessageParse(in.get(), block.get(), kScpBlockSize), 11);
  EXPECT_EQ(in->kind, kScpKindReq);
  EXPECT_STREQ(in->CType, "iot");
  EXPECT_STREQ(in->CName, "alice");
  EXPECT_EQ(in->Class, 123456);
  EXPECT_STREQ(in->Cmd, "reqallnodesdata");
  EXPECT_EQ(std::string(in->CallID), std::string(63, 'c'));
  EXPECT_EQ(in->CSeq, -77);
  EXPECT_STREQ(in->To, "nvs:1");
  EXPECT_STREQ(in->From, "user@host");
  EXPECT_STREQ(in->Contact, "ver=1.0");
  EXPECT_STREQ(in->ContentType, "zip");
  EXPECT_EQ(Body(in.get()), body);

  // An ACK carries its own fields and code.
  Msg ack = NewMsg(kScpKindAck);
  ScpMessageSetKind(ack.get(), kScpKindAck, 201);
  ScpMessageSetCType(ack.get(), "iot");
  ScpMessageSetCmd(ack.get(), "iotack");
  ScpMessageSetCSeq(ack.get(), 99);
  ScpMessageSetContact(ack.get(), "c");
  ScpMessageSetClass(ack.get(), 5);
  ScpMessageSetBody(ack.get(), "ok", 2);
  std::size_t n = 0;
  const std::string text = Serialize(ack.get(), 400, &n);
  ASSERT_GT(n, 0u);
  Msg back = NewMsg();
  EXPECT_EQ(Parse(back.get(), text.substr(0, n)), 7);
  std::uint8_t code = 0;
  EXPECT_EQ(ScpMessageGetKind(back.get(), &code), kScpKindAck);
  EXPECT_EQ(code, 201);
  EXPECT_STREQ(back->CType, "iot");
  EXPECT_STREQ(back->Cmd, "iotack");
  EXPECT_EQ(back->CSeq, 99);
  EXPECT_STREQ(back->Contact, "c");
  EXPECT_EQ(back->Class, 5);
  EXPECT_EQ(Body(back.get()), "ok");
}

// ---------------------------------------------------------------------------
// Text routines

TEST(ScpMessage, ParseIntegerTable) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"", 0},          {"0", 0},           {"-", 0},          {"10", 10},
      {"-5", -5},       {"010", 8},         {"-010", -8},      {"0x1F", 31},
      {"0XfF", 255},    {"-0x10", -16},     {"0x", 0},         {"12a", 169},
      {"09", 9},        {"0xg", 16},        {" 5", -155},      {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},      {"4294967295", -1}, {"4294967296", 0},
      {"-2147483648", -2147483647 - 1},     {"99999999999999999999", 1661992959},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(ParseInteger(nullptr), 0);
  EXPECT_EQ(ParseInteger("123", 2), 12);
  EXPECT_EQ(ParseInteger("12\0" "3", 4), 12);
  EXPECT_EQ(ParseInteger(nullptr, 3), 0);
}

TEST(ScpMessage, TrimSpaces) {
  char a[] = "  ab c  ";
  char* t = TrimSpaces(a);
  EXPECT_STREQ(t, "ab c");
  EXPECT_EQ(t, a + 2);
  EXPECT_EQ(a[6], '\0');
  EXPECT_EQ(a[7], '\0');
  char b[] = "\tab\t";
  EXPECT_STREQ(TrimSpaces(b), "\tab\t");
  char c[] = "   ";
  EXPECT_STREQ(TrimSpaces(c), "");
  EXPECT_EQ(TrimSpaces(nullptr), nullptr);
}

}  // namespace
