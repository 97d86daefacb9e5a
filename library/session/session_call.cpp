// The audio call of a session: the call requests, the answers to the call
// messages the server sends, and the media connection of the call.
//
// The call texts and the media connection are guarded by callMutex_. The
// media connection is shared: a thread takes its own reference under the
// lock and uses it outside, and the one that drops the last reference
// destroys it (which joins its threads) without holding the lock.
#include <algorithm>
#include <cstdio>

#include "library/session/call_texts.h"
#include "library/session/iot_session.h"
#include "library/session/scp_record.h"
#include "library/session/wire_text.h"
#include "platform/clock.h"
#include "sentrellplatform.h"

namespace {

constexpr char kCallCType[] = "sentrell";
constexpr int kNotConnected = 2;
constexpr int kNoAnswer = 4;
constexpr int kMediaFailed = 5;
constexpr int kTextRefused = -1;
constexpr int kMalformedResult = 2;
constexpr int kInviteTries = 2;
constexpr int kAnswerTries = 3;
constexpr std::uint32_t kRetryPauseMs = 20;
constexpr std::uint32_t kRingingDelayMs = 100;
constexpr std::uint32_t kHandshakeDelayMs = 100;
constexpr std::uint32_t kByeDelayMs = 20;
constexpr int kShortestWaitMs = 6000;
constexpr int kLongestWaitMs = 10000;
// The waits count in steps of this length, whatever a step lasts.
constexpr int kWaitStepMs = 50;

struct CallRequest {
  const char* cmd = "";
  int cseq = 0;
  int classValue = 0;
  std::string from, to, callId;
  bool sdpHeaders = false;  // Content-Type "sdp", Contact "server"
  std::string body;
};

// The record of a call request; nullptr when a text does not fit its field.
ScpRecord BuildCallRecord(const CallRequest& request) {
  ScpRecord record = MakeScpRecord();
  ScpMessage* m = record.get();
  bool fits = ScpMessageSetCType(m, kCallCType) && ScpMessageSetCmd(m, request.cmd) &&
              ScpMessageSetFrom(m, request.from.c_str()) && ScpMessageSetTo(m, request.to.c_str()) &&
              ScpMessageSetCallID(m, request.callId.c_str());
  if (fits && request.sdpHeaders)
    fits = ScpMessageSetContentType(m, "sdp") && ScpMessageSetContact(m, "server");
  if (fits && !request.body.empty())
    fits = ScpMessageSetBody(m, request.body.data(), static_cast<unsigned>(request.body.size()));
  if (!fits) return nullptr;
  ScpMessageSetCSeq(m, request.cseq);
  ScpMessageSetClass(m, request.classValue);
  return record;
}

// Up to `steps` times: pump one message of the calling thread, then wait
// one step for the event. True when it came; false when the steps ran out
// or `stop` was set (seen at the end of the step it was set in).
bool PumpUntilSet(const plat::ManualResetEvent& event, const plat::ManualResetEvent& stop, int steps,
                  std::uint32_t stepMs) {
  for (int i = 0; i < steps; ++i) {
    PlatPumpOne(0, 0);
    if (event.WaitFor(stepMs)) return true;
    if (stop.IsSet()) return false;
  }
  return false;
}

}  // namespace

std::string CIotSession::OwnCallId() const {
  std::lock_guard lock(callMutex_);
  return ownCallId_;
}

std::string CIotSession::PeerCallId() const {
  std::lock_guard lock(callMutex_);
  return peerCallId_;
}

void CIotSession::SetPeerCallId(const std::string& callId) {
  std::lock_guard lock(callMutex_);
  peerCallId_ = callId;
}

std::shared_ptr<CAudioCallSocket> CIotSession::MediaConnection() const {
  std::lock_guard lock(callMutex_);
  return audioCall_;
}

std::string CIotSession::LocalIp() const {
  std::lock_guard lock(stateMutex_);
  return localIp_;
}

int CIotSession::Invite(const std::string& peerId, int form, int mode, int timeoutMs) {
  if (!IsConnected()) return kNotConnected;
  const std::string ip = LocalIp();
  int sdpNumber = 0;
  {
    std::lock_guard lock(randomMutex_);
    sdpNumber = random_.Next();
  }
  CallRequest request;
  request.cmd = "invite";
  request.cseq = NextSeededRandom();
  request.classValue = mode;
  request.from = Utf8ToWire(OwnFromText(GetCredentials().user, ip));
  request.to = PeerToText(peerId, form);
  request.callId = MakeCallId();
  request.sdpHeaders = true;
  request.body = SdpOfferText(sdpNumber, ip);
  const ScpRecord record = BuildCallRecord(request);
  if (!record) return kTextRefused;
  {
    std::lock_guard lock(callMutex_);
    callFrom_ = request.from;
    callTo_ = request.to;
    ownCallId_ = request.callId;
  }
  // Answers to an earlier call must not end this call's waits.
  inviteBackEvent_.Reset();
  ringBackEvent_.Reset();
  SendBlock(*record, kInviteTries, kRetryPauseMs);

  const int timeout = std::clamp(timeoutMs, kShortestWaitMs, kLongestWaitMs);
  if (PumpUntilSet(inviteBackEvent_, freeEvent_, timeout / kWaitStepMs + 1, timing_.callWaitStepMs)) {
    const int result = inviteResult_.load();
    if (result != 0) return result;  // refused: no media connection, no microphone
    return OpenMediaConnection(request.callId, mode) ? result : kMediaFailed;
  }
  // A session shut down while the call waited: the wait has ended unanswered.
  if (freeEvent_.IsSet()) return kNoAnswer;
  PumpUntilSet(ringBackEvent_, freeEvent_, (timeout / 2) / kWaitStepMs + 1, timing_.callWaitStepMs);
  return kNoAnswer;
}

int CIotSession::SendCallNotice(const char* cmd) {
  if (!IsConnected()) return 0;
  CallRequest request;
  request.cmd = cmd;
  request.cseq = NextSeededRandom();
  {
    std::lock_guard lock(callMutex_);
    request.from = callFrom_;
    request.to = callTo_;
    request.callId = ownCallId_;
  }
  if (const ScpRecord record = BuildCallRecord(request)) SendBlock(*record, kAnswerTries, kRetryPauseMs);
  return 0;
}

int CIotSession::SendRinging() { return SendCallNotice("ringing"); }

int CIotSession::StopCall() {
  SendCallNotice("bye");
  if (const auto call = MediaConnection()) call->Stop();
  return 0;
}

int CIotSession::SendInviteAck(const std::string& peerId, int form, int cseq, int result) {
  if (!IsConnected()) return 0;
  const std::string ip = LocalIp();
  int sdpNumber = 0;
  {
    std::lock_guard lock(randomMutex_);
    sdpNumber = random_.Next();
  }
  CallRequest request;
  request.cmd = "inviteack";
  request.cseq = cseq;
  request.from = Utf8ToWire(OwnFromText(GetCredentials().user, ip));
  request.to = PeerToText(peerId, form);
  request.callId = PeerCallId();
  request.sdpHeaders = true;
  request.body = SdpOfferText(sdpNumber, ip);
  if (const ScpRecord record = BuildCallRecord(request)) {
    {
      std::lock_guard lock(callMutex_);
      callFrom_ = request.from;
      callTo_ = request.to;
    }
    SendBlock(*record, kAnswerTries, kRetryPauseMs);
  }
  inviteResult_ = result;
  inviteBackEvent_.Set();
  return 0;
}

int CIotSession::SendRingback(const std::string& peerId, int form, int cseq, int result) {
  if (!IsConnected()) return 0;
  CallRequest request;
  request.cmd = "ringback";
  request.cseq = cseq;
  request.from = Utf8ToWire(OwnFromText(GetCredentials().user, LocalIp()));
  request.to = PeerToText(peerId, form);
  request.callId = PeerCallId();
  request.sdpHeaders = true;
  if (const ScpRecord record = BuildCallRecord(request)) {
    {
      std::lock_guard lock(callMutex_);
      callFrom_ = request.from;
      callTo_ = request.to;
    }
    SendBlock(*record, kAnswerTries, kRetryPauseMs);
  }
  inviteResult_ = result;
  inviteBackEvent_.Set();
  return 0;
}

int CIotSession::OpenMediaConnection(const std::string& callId, int mode) {
  CloseMediaConnection();
  auto call = std::make_shared<CAudioCallSocket>();
  if (freeEvent_.IsSet() || !call->Connect(Host(), timing_.mediaPort, timing_.connectWaitMs)) return 0;
  {
    // The session's shutdown sets the free event before it ends the call:
    // a connection made meanwhile is not kept, and carries nothing.
    std::lock_guard lock(callMutex_);
    if (freeEvent_.IsSet()) {
      call->Close();
      return 0;
    }
    audioCall_ = call;
  }
  call->SetMode(mode);
  plat::SleepMs(kHandshakeDelayMs);
  call->SendCallHandshake(callId, Utf8ToWire(GetCredentials().user));
  call->Start();
  return 1;
}

int CIotSession::CloseMediaConnection() {
  std::shared_ptr<CAudioCallSocket> call;
  {
    std::lock_guard lock(callMutex_);
    call.swap(audioCall_);
  }
  if (call) {
    call->SendBye();
    plat::SleepMs(kByeDelayMs);
    call->Close();
  }
  return 1;
}

void CIotSession::EndCall() { CloseMediaConnection(); }

// ---- received call messages (event thread)

void CIotSession::OnInvite(const ScpMessage& message) {
  SetPeerCallId(ScpMessageGetCallID(&message));
  const std::string from = ScpMessageGetFrom(&message);
  const int cseq = ScpMessageGetCSeq(&message);
  const int mode = ScpMessageGetClass(&message) & 0xFF;
  if (IsGatewayFrom(from)) SendInviteAck("", kPeerGateway, cseq, mode);
  else if (IsWellFormedFrom(from)) SendInviteAck(PeerIdOf(from), kPeerEndUser, cseq, mode);
  else SendInviteAck("", kPeerEndUser, cseq, kMalformedResult);
}

void CIotSession::OnRinging(const ScpMessage& message) {
  SetPeerCallId(ScpMessageGetCallID(&message));
  if (!IsWellFormedFrom(ScpMessageGetFrom(&message)))
    SendRingback("", kPeerEndUser, ScpMessageGetCSeq(&message), kMalformedResult);
}

void CIotSession::OnBye(const ScpMessage& message) {
  SetPeerCallId(ScpMessageGetCallID(&message));
  CloseMediaConnection();
}

void CIotSession::OnInviteAck(const ScpMessage& message) {
  const int result = ScpMessageGetClass(&message) & 0xFF;
  inviteResult_ = result;
  if (result != 0) {
    StopCall();
  } else {
    plat::SleepMs(kRingingDelayMs);
    SendRinging();
  }
  inviteBackEvent_.Set();
}

void CIotSession::OnRingBack(const ScpMessage& message) {
  inviteResult_ = ScpMessageGetClass(&message);
  ringBackEvent_.Set();
}

void CIotSession::OnRtpCon(const ScpMessage&) {}
