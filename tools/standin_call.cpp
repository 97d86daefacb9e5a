#include "tools/standin_call.h"

#include "tools/standin_server.h"

namespace standin {
namespace {

constexpr char kCallCType[] = "sentrell";
constexpr char kPeerSdp[] =
    "v=0\r\n o=- 1 IN IP4 127.0.0.1\r\ns=Peer\r\nc=IN IP4 127.0.0.1\r\nt=0 0\r\n"
    "m=audio 42000 RTP/AVP 8 \r\na=rtpmap:8 PCMA/8000\r\n";

OutgoingMessage CallAnswer(const char* cmd, int cseq, int classValue) {
  OutgoingMessage m;
  m.kind = MessageKind::Answer;
  m.ctype = kCallCType;
  m.cmd = cmd;
  m.cseq = cseq;
  m.contact = "server";
  m.contentType = "sdp";
  m.classValue = classValue;
  return m;
}

}  // namespace

OutgoingMessage InviteAckMessage(int cseq, int classValue) { return CallAnswer("inviteack", cseq, classValue); }

OutgoingMessage RingbackMessage(int cseq, int classValue) { return CallAnswer("ringback", cseq, classValue); }

OutgoingMessage PeerCallMessage(const std::string& cmd, const std::string& from, const std::string& callId,
                                int cseq) {
  OutgoingMessage m;
  m.kind = MessageKind::Request;
  m.ctype = kCallCType;
  m.cmd = cmd;
  m.from = from;
  m.callId = callId;
  m.cseq = cseq;
  return m;
}

OutgoingMessage PeerInviteMessage(const std::string& from, const std::string& callId, int cseq, int mode) {
  OutgoingMessage m = PeerCallMessage("invite", from, callId, cseq);
  m.classValue = mode;
  m.contact = "server";
  m.contentType = "sdp";
  m.body = kPeerSdp;
  return m;
}

// ---- the server's side (hooked into its answers)

void StandinServer::SetCallScript(const CallScript& script) {
  std::lock_guard lock(mutex_);
  callScript_ = script;
}

CallScript StandinServer::GetCallScript() const {
  std::lock_guard lock(mutex_);
  return callScript_;
}

bool StandinServer::StartMedia(std::uint16_t port) {
  std::string address;
  {
    std::lock_guard lock(mutex_);
    if (!running_) return false;
    address = address_;
  }
  return media_.Start(address, port);
}

void StandinServer::AnswerInvite(Connection& connection, const ParsedMessage& request,
                                 std::chrono::steady_clock::time_point now) {
  if (callScript_.answer == CallScript::InviteAnswer::Silent) return;
  const int classValue = callScript_.answer == CallScript::InviteAnswer::Accept ? 0 : callScript_.refuseCode;
  if (const auto block = BuildBlock(InviteAckMessage(request.IntHeader("CSeq"), classValue)))
    QueueBlock(connection, *block, now + callScript_.delay);
}

}  // namespace standin
