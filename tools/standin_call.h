#pragma once
// The stand-in's side of an audio call: how it answers "invite", and the
// messages it sends when a gateway starts a call.
#include <chrono>
#include <string>

#include "tools/cmscp_text.h"

namespace standin {

struct CallScript {
  enum class InviteAnswer { Accept, Refuse, Silent };
  // "invite" gets "inviteack" with Class 0 (Accept) or `refuseCode`
  // (Refuse), `delay` after the request; Silent sends nothing.
  InviteAnswer answer = InviteAnswer::Accept;
  int refuseCode = 7;
  std::chrono::milliseconds delay{0};
};

// The answer to an "invite": "inviteack" (an ACK 200) with the request's
// CSeq and the given Class.
OutgoingMessage InviteAckMessage(int cseq, int classValue);
// "ringback" for the caller's second wait.
OutgoingMessage RingbackMessage(int cseq, int classValue);
// A call from the peer's side: "invite" with that From, CallID, CSeq and
// Class (the mode), and an SDP body.
OutgoingMessage PeerInviteMessage(const std::string& from, const std::string& callId, int cseq, int mode);
// A request of the call ("ringing", "bye") from the peer's side.
OutgoingMessage PeerCallMessage(const std::string& cmd, const std::string& from, const std::string& callId,
                                int cseq);

}  // namespace standin
