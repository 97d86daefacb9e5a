// The call's signalling through the exports, against the stand-in server
// and its media listener, with the fake audio backend (or the null one).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "library/api/iot_handle.h"
#include "library/session/call_texts.h"
#include "library/session/iot_session.h"
#include "platform/audio_device.h"
#include "platform/audio_fake.h"
#include "sentrell.h"
#include "sentrellplatform.h"
#include "session_fixture.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
using standin::CallScript;
using standin::ReceivedMessage;
using testsupport::WaitUntil;

namespace {

constexpr auto kWait = 3000ms;

struct HandleCloser {
  void operator()(IotHandle* h) const { CM_Free(h); }
};
using Handle = std::unique_ptr<IotHandle, HandleCloser>;

plat::FakeAudioDevice& Fake() { return plat::FakeAudioDevice::Instance(); }

std::vector<ReceivedMessage> Messages(const standin::StandinServer& server, const std::string& cmd) {
  std::vector<ReceivedMessage> out;
  for (const auto& m : server.Received())
    if (m.cmd == cmd && m.complete) out.push_back(m);
  return out;
}

bool IsLetters(const std::string& text) {
  for (char c : text)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

// Counts the pump hook's calls on the thread that set it.
std::atomic<int> g_pumps{0};
void CountPump(void*) { ++g_pumps; }

// A loopback port that nothing listens on.
std::uint16_t ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof where;
  bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where);
  getsockname(fd, reinterpret_cast<sockaddr*>(&where), &length);
  close(fd);
  return ntohs(where.sin_port);
}

}  // namespace

class CallSignalling : public StandinSessionTest {
 protected:
  void SetUp() override {
    StandinSessionTest::SetUp();
    plat::SetAudioBackendForTesting(plat::AudioBackend::Fake);
    Fake().Reset();
    ASSERT_TRUE(server.StartMedia(0));
    timing.mediaPort = server.Media().Port();
    timing.callWaitStepMs = 2;
    ApplyTiming();
    g_pumps = 0;
    PlatSetPumpHook(&CountPump, nullptr);
  }
  void TearDown() override {
    PlatSetPumpHook(nullptr, nullptr);
    handle.reset();
    StandinSessionTest::TearDown();
    Fake().Reset();
    plat::SetAudioBackendForTesting(plat::AudioBackend::Automatic);
  }

  // A short user name: the own From fits its field whatever the local address.
  void LogIn(const char* user = "op") {
    handle.reset(CM_Init(1));
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(CM_Login(handle.get(), "127.0.0.1", user, "1"), 1);
    ASSERT_TRUE(server.WaitFor("connect", 1, kWait));
    session = LiveSession(handle.get());
  }

  void Answer(CallScript::InviteAnswer answer, int code = 7) {
    CallScript script;
    script.answer = answer;
    script.refuseCode = code;
    server.SetCallScript(script);
  }

  standin::OutgoingMessage Incoming(const std::string& cmd, const std::string& from, int cseq, int mode = 0) {
    return cmd == "invite" ? standin::PeerInviteMessage(from, "PEERCALLID", cseq, mode)
                           : standin::PeerCallMessage(cmd, from, "PEERCALLID", cseq);
  }

  Handle handle;
  std::shared_ptr<CIotSession> session;
};

TEST_F(CallSignalling, AcceptedCallSendsTheExactInviteThenRingingAndOpensTheMedia) {
  LogIn();
  EXPECT_EQ(CM_CallNVS(handle.get(), 255), -1);
  EXPECT_TRUE(Messages(server, "invite").empty());

  ASSERT_EQ(CM_CallNVS(handle.get(), 256), 0);
  const auto invites = Messages(server, "invite");
  ASSERT_EQ(invites.size(), 1u);
  const auto& invite = invites[0].parsed;
  EXPECT_TRUE(invite.error.empty()) << invite.error;
  EXPECT_TRUE(invite.zeroFilled);
  EXPECT_EQ(invite.start, standin::ParsedMessage::StartLine::Request);
  EXPECT_EQ(invite.Header("CType"), "sentrell");
  EXPECT_EQ(invite.IntHeader("Class", -1), 3);
  EXPECT_EQ(invite.Header("To"), "NVS <256@>");
  const std::string ip = session->LocalIp();
  EXPECT_EQ(invite.Header("From"), "END <op@" + ip + ":7000>");
  EXPECT_EQ(invite.Header("Content-Type"), "sdp");
  EXPECT_EQ(invite.Header("Contact"), "server");
  const std::string callId = invite.Header("CallID");
  EXPECT_EQ(callId.size(), 16u);
  EXPECT_TRUE(IsLetters(callId)) << callId;
  EXPECT_EQ(callId, session->OwnCallId());
  const int cseq = invite.IntHeader("CSeq", -1);
  EXPECT_GE(cseq, 0);
  EXPECT_LE(cseq, 32767);
  // The SDP offer, with its number taken from the body.
  int number = -1;
  ASSERT_EQ(std::sscanf(invite.body.c_str(), "v=0\r\n o=- %d", &number), 1);
  EXPECT_GE(number, 0);
  EXPECT_LE(number, 32767);
  EXPECT_EQ(invite.body, SdpOfferText(number, ip));
  EXPECT_EQ(invite.contentLength, static_cast<long long>(invite.body.size()));

  // "ringing" follows the answer by 100 ms, for the same call.
  ASSERT_TRUE(server.WaitFor("ringing", 1, kWait));
  const auto ringing = Messages(server, "ringing")[0];
  EXPECT_GE(ringing.time - invites[0].time, 100ms);
  EXPECT_EQ(ringing.parsed.Header("CallID"), callId);
  EXPECT_EQ(ringing.parsed.Header("From"), invite.Header("From"));
  EXPECT_EQ(ringing.parsed.Header("To"), "NVS <256@>");
  EXPECT_EQ(ringing.parsed.Header("CType"), "sentrell");

  ASSERT_TRUE(server.Media().WaitForHandshakes(1, kWait));
  EXPECT_EQ(server.Media().Handshakes()[0], std::make_pair(callId, std::string("op")));
  EXPECT_NE(session->MediaConnection(), nullptr);
  EXPECT_EQ(Fake().CaptureStarts(), 1);
}

TEST_F(CallSignalling, ListeningCallsWithClassOneAndSendsNoAudio) {
  standin::MediaScript tone;
  tone.toneFrames = 10;
  server.Media().SetScript(tone);
  LogIn();
  ASSERT_EQ(CM_OpenNVSAudio(handle.get(), 4294967295u), 0);
  const auto invite = Messages(server, "invite").at(0).parsed;
  EXPECT_EQ(invite.IntHeader("Class", -1), 1);
  EXPECT_EQ(invite.Header("To"), "NVS <4294967295@>");  // unsigned, whatever its size
  EXPECT_TRUE(Fake().WaitForPlayed(400, kWait));
  EXPECT_EQ(Fake().CaptureStarts(), 0);
  EXPECT_TRUE(server.Media().Frames().empty());
}

TEST_F(CallSignalling, ResultsOfACall) {
  struct Case {
    const char* name;
    CallScript::InviteAnswer answer;
    int code;
    int expected;
  };
  const Case cases[] = {
      {"accepted", CallScript::InviteAnswer::Accept, 0, 0},
      {"refused", CallScript::InviteAnswer::Refuse, 7, 7},
      {"refused, code above a byte", CallScript::InviteAnswer::Refuse, 0x105, 5},
      {"no answer", CallScript::InviteAnswer::Silent, 0, 4},
  };
  LogIn();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Answer(c.answer, c.code);
    EXPECT_EQ(CM_CallNVS(handle.get(), 1000), c.expected);
  }
}

TEST_F(CallSignalling, NotConnectedIsTwoAtOnce) {
  handle.reset(CM_Init(1));
  EXPECT_EQ(CM_CallNVS(handle.get(), 1000), 2);
  EXPECT_EQ(CM_OpenNVSAudio(handle.get(), 1000), 2);
  EXPECT_EQ(g_pumps, 0);
  EXPECT_EQ(CM_StopCall(handle.get()), 0);
  EXPECT_TRUE(server.Received().empty());
}

TEST_F(CallSignalling, RefusedCallSaysByeAndOpensNoMediaConnection) {
  LogIn();
  Answer(CallScript::InviteAnswer::Refuse, 7);
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 7);
  ASSERT_TRUE(server.WaitFor("bye", 1, kWait));
  const auto bye = Messages(server, "bye")[0].parsed;
  EXPECT_EQ(bye.Header("CallID"), session->OwnCallId());
  EXPECT_EQ(bye.Header("To"), "NVS <1000@>");
  EXPECT_TRUE(Messages(server, "ringing").empty());
  EXPECT_EQ(session->MediaConnection(), nullptr);
  EXPECT_EQ(server.Media().ConnectionsAccepted(), 0u);
  EXPECT_EQ(Fake().CaptureStarts(), 0);
}

TEST_F(CallSignalling, UnansweredWaitsCountTheirStepsFromTheClampedTimeOut) {
  LogIn();
  Answer(CallScript::InviteAnswer::Silent);
  struct Case {
    int timeoutMs;
    int steps;  // first wait + second wait, one pump each
  };
  for (const Case& c : {Case{5000, 121 + 61}, Case{8000, 161 + 81}, Case{20000, 201 + 101}}) {
    g_pumps = 0;
    EXPECT_EQ(session->Invite("1000", kPeerGateway, 3, c.timeoutMs), 4) << c.timeoutMs;
    EXPECT_EQ(g_pumps, c.steps) << c.timeoutMs;
  }
}

TEST_F(CallSignalling, RingbackEndsTheSecondWaitButOnlyForTheCallThatGetsIt) {
  timing.callWaitStepMs = 10;
  ApplyTiming();
  LogIn();
  Answer(CallScript::InviteAnswer::Silent);
  // A ringback that came before the call does not shorten its waits.
  ASSERT_TRUE(server.Send(standin::RingbackMessage(1, 0)));
  ASSERT_TRUE(WaitUntil([&] { return session->InviteResult() == 0; }));
  g_pumps = 0;
  EXPECT_EQ(CM_CallNVS(handle.get(), 1000), 4);
  EXPECT_EQ(g_pumps, 182);

  // One during the second wait ends it.
  std::atomic<bool> sent{false};
  g_pumps = 0;
  std::thread ringer([&] {
    if (WaitUntil([] { return g_pumps.load() > 125; }, 10000ms)) sent = server.Send(standin::RingbackMessage(2, 9));
  });
  EXPECT_EQ(CM_CallNVS(handle.get(), 1000), 4);
  ringer.join();
  EXPECT_TRUE(sent);
  EXPECT_LT(g_pumps, 182);
  EXPECT_EQ(session->InviteResult(), 9);
}

TEST_F(CallSignalling, IncomingInvitesAreAcknowledged) {
  LogIn();
  struct Case {
    const char* from;
    int mode;
    const char* to;
    int result;
  };
  const Case cases[] = {
      {"END <abc@1.2.3.4:7000>", 3, "END <abc@>", 3},
      {"NVS <12@x>", 0x101, "NVS <@>", 1},
      {"xy", 3, "END <@>", 2},
  };
  int cseq = 500;
  std::size_t acks = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    ASSERT_TRUE(server.Send(Incoming("invite", c.from, ++cseq, c.mode)));
    ASSERT_TRUE(server.WaitFor("inviteack", ++acks, kWait));
    const auto ack = Messages(server, "inviteack").back().parsed;
    EXPECT_EQ(ack.Header("To"), c.to);
    EXPECT_EQ(ack.IntHeader("CSeq", -1), cseq);
    EXPECT_EQ(ack.Header("CallID"), "PEERCALLID");
    EXPECT_EQ(ack.IntHeader("Class", -1), 0);
    EXPECT_EQ(ack.Header("CType"), "sentrell");
    EXPECT_EQ(ack.Header("From"), "END <op@" + session->LocalIp() + ":7000>");
    EXPECT_EQ(ack.Header("Content-Type"), "sdp");
    EXPECT_EQ(ack.body.rfind("v=0\r\n o=- ", 0), 0u);
    EXPECT_TRUE(WaitUntil([&] { return session->InviteResult() == c.result; }));
  }
  EXPECT_EQ(session->PeerCallId(), "PEERCALLID");
}

TEST_F(CallSignalling, OnlyAMalformedRingingGetsARingback) {
  LogIn();
  ASSERT_TRUE(server.Send(Incoming("ringing", "NVS <12@x>", 70)));
  ASSERT_TRUE(server.Send(Incoming("ringing", "zz", 71)));
  ASSERT_TRUE(server.WaitFor("ringback", 1, kWait));
  ASSERT_TRUE(server.Send(Incoming("ringing", "NVS <12@x>", 72)));
  ASSERT_TRUE(server.Send(Incoming("ringing", "zz", 73)));
  ASSERT_TRUE(server.WaitFor("ringback", 2, kWait));
  const auto ringbacks = Messages(server, "ringback");
  ASSERT_EQ(ringbacks.size(), 2u);
  EXPECT_EQ(ringbacks[0].parsed.IntHeader("CSeq"), 71);
  EXPECT_EQ(ringbacks[1].parsed.IntHeader("CSeq"), 73);
  EXPECT_EQ(ringbacks[0].parsed.Header("To"), "END <@>");
  EXPECT_EQ(ringbacks[0].parsed.Header("CallID"), "PEERCALLID");
  EXPECT_TRUE(ringbacks[0].parsed.body.empty());
  EXPECT_EQ(session->InviteResult(), 2);
}

TEST_F(CallSignalling, IncomingByeClosesTheMediaConnection) {
  LogIn();
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 0);
  ASSERT_TRUE(server.Media().WaitForHandshakes(1, kWait));
  ASSERT_TRUE(server.Send(Incoming("bye", "NVS <1000@>", 5)));
  ASSERT_TRUE(server.Media().WaitForOpenConnections(0, kWait));
  EXPECT_EQ(server.Media().Texts().back(), "[Status=Bye]");
  EXPECT_EQ(session->MediaConnection(), nullptr);
  // The socket closes first; the connection's capture ends as it is destroyed.
  EXPECT_TRUE(WaitUntil([] { return !Fake().CaptureRunning(); }));
  EXPECT_EQ(CM_StopCall(handle.get()), 0);  // nothing left to stop
}

TEST_F(CallSignalling, StopCallSaysByeAndStopsTheAudioButKeepsTheConnection) {
  LogIn();
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 0);
  ASSERT_TRUE(server.Media().WaitForHandshakes(1, kWait));
  EXPECT_EQ(CM_StopCall(handle.get()), 0);
  ASSERT_TRUE(server.WaitFor("bye", 1, kWait));
  EXPECT_EQ(Messages(server, "bye")[0].parsed.Header("CallID"), session->OwnCallId());
  EXPECT_EQ(Fake().CaptureStops(), 1);
  EXPECT_FALSE(Fake().PlaybackRunning());
  EXPECT_EQ(server.Media().ConnectionsOpen(), 1u);
}

TEST_F(CallSignalling, StopCallWithoutTheServerStillStopsTheAudio) {
  LogIn();
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 0);
  ASSERT_TRUE(server.CloseConnection());
  ASSERT_TRUE(WaitUntil([&] { return !session->IsConnected(); }));
  EXPECT_EQ(CM_StopCall(handle.get()), 0);
  EXPECT_FALSE(Fake().CaptureRunning());
  EXPECT_TRUE(Messages(server, "bye").empty());
}

TEST_F(CallSignalling, ANewCallReplacesTheMediaConnection) {
  LogIn();
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 0);
  ASSERT_TRUE(server.Media().WaitForHandshakes(1, kWait));
  ASSERT_EQ(CM_CallNVS(handle.get(), 1001), 0);
  ASSERT_TRUE(server.Media().WaitForHandshakes(2, kWait));
  EXPECT_TRUE(server.Media().WaitForOpenConnections(1, kWait));
  const auto texts = server.Media().Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "[Status=Bye]"), texts.end());
  EXPECT_EQ(server.Media().Handshakes().back().first, session->OwnCallId());
}

TEST_F(CallSignalling, MediaConnectionFailureIsFive) {
  timing.mediaPort = ClosedPort();
  ApplyTiming();
  LogIn();
  EXPECT_EQ(CM_CallNVS(handle.get(), 1000), 5);
  EXPECT_EQ(session->MediaConnection(), nullptr);
  EXPECT_EQ(Fake().CaptureStarts(), 0);
}

TEST_F(CallSignalling, AnOwnFromTooLongForItsFieldIsRefused) {
  LogIn("abcdefghijklmnopqrst");  // 20 characters: the From exceeds 31
  EXPECT_EQ(CM_CallNVS(handle.get(), 1000), -1);
  EXPECT_TRUE(Messages(server, "invite").empty());
}

TEST_F(CallSignalling, FreeingTheSessionEndsTheCall) {
  LogIn();
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 0);
  ASSERT_TRUE(server.Media().WaitForHandshakes(1, kWait));
  session.reset();
  handle.reset();
  ASSERT_TRUE(server.Media().WaitForOpenConnections(0, kWait));
  EXPECT_EQ(server.Media().Texts().back(), "[Status=Bye]");
  EXPECT_FALSE(Fake().CaptureRunning());
  EXPECT_FALSE(Fake().PlaybackRunning());
}

// A free from another thread while a call waits for an answer that never
// comes: the call ends at the end of the wait step the free fell in, the free
// itself says "quit" and closes the connection, although the waiting export
// (and here the test as well) still holds the session.
TEST_F(CallSignalling, FreeFromAnotherThreadEndsAWaitingCall) {
  timing.callWaitStepMs = 50;  // the shipped step: an unanswered call waits about 9 s
  ApplyTiming();
  struct Case {
    const char* name;
    int (*call)(IotHandle*, std::uint32_t);
  };
  for (const Case& c : {Case{"CM_CallNVS", &CM_CallNVS}, Case{"CM_OpenNVSAudio", &CM_OpenNVSAudio}}) {
    SCOPED_TRACE(c.name);
    LogIn();
    Answer(CallScript::InviteAnswer::Silent);
    const std::size_t invites = Messages(server, "invite").size();
    const std::size_t quits = Messages(server, "quit").size();
    const std::size_t accepted = server.ConnectionsAccepted();
    IotHandle* raw = handle.release();
    std::atomic<int> result{-100};
    std::atomic<bool> returned{false};
    std::atomic<int> pumpsAtFree{-1};
    g_pumps = 0;
    std::thread caller([&] {
      PlatSetPumpHook(&CountPump, nullptr);
      result = c.call(raw, 256);
      returned = true;
      PlatSetPumpHook(nullptr, nullptr);
    });
    EXPECT_TRUE(server.WaitFor("invite", invites + 1, kWait) && WaitUntil([] { return g_pumps.load() >= 3; }, kWait));
    CM_Free(raw);
    pumpsAtFree = g_pumps.load();
    // Hang guard only: the call's own waits would end it after about 9 s.
    const bool ended = WaitUntil([&] { return returned.load(); }, 20000ms);
    caller.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(result, 4);
    // At most the step that began as the free returned.
    EXPECT_LE(g_pumps.load() - pumpsAtFree.load(), 1);

    EXPECT_TRUE(server.WaitFor("quit", quits + 1, kWait));
    EXPECT_TRUE(server.WaitForOpenConnections(0, kWait));
    // The session, still held, sends nothing and connects no more.
    const std::size_t received = server.Received().size();
    const unsigned char packet[] = {1, 2, 3};
    EXPECT_EQ(session->Invite("256", kPeerGateway, 3, 1000), 2);
    EXPECT_EQ(session->PtuCtrl(256, 1, 1), 0);
    EXPECT_EQ(session->SendCarCtrl(256, 1), 0);
    EXPECT_EQ(session->SendIotPacket(256, packet, sizeof packet), 0);
    EXPECT_EQ(session->SendIotFrame(256, 81, 16, packet, sizeof packet, 1, 1, 1), 0);  // a recorded command
    EXPECT_FALSE(std::filesystem::exists(session->XmlFolder() + "nvs_256.xml"));
    EXPECT_EQ(session->Login("127.0.0.1", "op", "1"), -1);
    EXPECT_EQ(server.ConnectionsAccepted(), accepted);
    EXPECT_EQ(server.Received().size(), received);
    EXPECT_EQ(server.Received().back().cmd, "quit");
    session.reset();
  }
}

TEST_F(CallSignalling, WithoutASoundCardTheCallStillSignals) {
  plat::SetAudioBackendForTesting(plat::AudioBackend::Null);
  standin::MediaScript silent;
  silent.answer = standin::MediaScript::Answer::Never;
  server.Media().SetScript(silent);
  LogIn();
  ASSERT_EQ(CM_CallNVS(handle.get(), 1000), 0);
  ASSERT_TRUE(server.WaitFor("ringing", 1, kWait));
  // No microphone: the handshake is repeated by the clock instead.
  ASSERT_TRUE(server.Media().WaitForHandshakes(2, kWait));
  const auto call = session->MediaConnection();
  ASSERT_NE(call, nullptr);
  EXPECT_FALSE(call->IsCapturing());
  EXPECT_TRUE(call->IsStarted());
  EXPECT_EQ(Fake().CaptureStarts() + Fake().PlaybackInits(), 0);
  EXPECT_EQ(CM_StopCall(handle.get()), 0);
  ASSERT_TRUE(server.WaitFor("bye", 1, kWait));
}
