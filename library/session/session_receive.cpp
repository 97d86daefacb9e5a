// The receive loop and the dispatch of server messages by command word.
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "library/session/iot_session.h"
#include "library/session/message_body.h"
#include "library/session/scp_record.h"
#include "library/session/wire_text.h"

namespace {

// Reads per wake-up before the event thread looks at its stop signal again.
constexpr int kMaxReadsPerWake = 64;
constexpr std::size_t kReadChunk = 4096;

}  // namespace

// In the order the server's command words are tested.
const CIotSession::Branch CIotSession::kBranches[] = {
    {"update", &CIotSession::OnUpdate},
    {"warn", &CIotSession::OnWarn},
    {"ack", &CIotSession::OnListPage},
    {"error", &CIotSession::OnIgnored},
    {"loginack", &CIotSession::OnLoginAck},
    {"invite", &CIotSession::OnInvite},
    {"ringing", &CIotSession::OnRinging},
    {"bye", &CIotSession::OnBye},
    {"inviteack", &CIotSession::OnInviteAck},
    {"ringback", &CIotSession::OnRingBack},
    {"iotm", &CIotSession::OnIotMessage},
    {"iotack", &CIotSession::OnIotAck},
    {"config", &CIotSession::OnConfig},
    {"message", &CIotSession::OnIgnored},
    {"rtpcon", &CIotSession::OnRtpCon},
    {"remoterecordack", &CIotSession::OnRemoteRecordAck},
    {"sensor", &CIotSession::OnSensor},
    {"caminfo", &CIotSession::OnCamInfo},
    {"hello", &CIotSession::OnHello},
    {"snapshotack", &CIotSession::OnSnapshotAck},
    {"setautosnapack", &CIotSession::OnSetAutoSnapAck},
    {"getautosnapack", &CIotSession::OnGetAutoSnapAck},
};

void CIotSession::OnReceive(int) {
  std::vector<char> chunk(kReadChunk);
  for (int i = 0; i < kMaxReadsPerWake; ++i) {
    const int n = Receive(chunk.data(), static_cast<int>(chunk.size()), 0);
    if (n <= 0) break;
    ReceiveBytes(chunk.data(), static_cast<std::size_t>(n));
  }
}

void CIotSession::ReceiveBytes(const char* data, std::size_t length) {
  stream_.Append(data, length);
  CmscpStreamBuffer::Block block;
  while (stream_.NextBlock(block)) {
    ScpRecord message = MakeScpRecord();
    ScpMessageParse(message.get(), block.data(), block.size());
    Dispatch(*message);
  }
}

void CIotSession::Dispatch(const ScpMessage& message) {
  const char* cmd = ScpMessageGetCmd(&message);
  for (const Branch& branch : kBranches) {
    if (std::strcmp(cmd, branch.cmd) == 0) {
      (this->*branch.handler)(message);
      return;
    }
  }
}

void CIotSession::OnIgnored(const ScpMessage&) {}

void CIotSession::OnUpdate(const ScpMessage&) { listReceived_ = 1; }

void CIotSession::OnHello(const ScpMessage& message) {
  {
    std::lock_guard lock(helloMutex_);
    helloFrom_ = FitUtf8(WireToUtf8(ScpMessageGetFrom(&message)), kServerInfoFromSize);
    helloContact_ = FitUtf8(WireToUtf8(ScpMessageGetContact(&message)), kServerInfoContactSize);
    helloBody_ = FitUtf8(WireToUtf8(AsText(BodyOf(message))), kServerInfoBodySize);
  }
  helloAcked_ = 1;
}

int CIotSession::GetServerInfo(char* from, char* contact, char* body) {
  std::lock_guard lock(helloMutex_);
  // The texts were fitted to these capacities when they arrived.
  if (from != nullptr) std::memcpy(from, helloFrom_.c_str(), helloFrom_.size() + 1);
  if (contact != nullptr) std::memcpy(contact, helloContact_.c_str(), helloContact_.size() + 1);
  if (body != nullptr) std::memcpy(body, helloBody_.c_str(), helloBody_.size() + 1);
  return 1;
}

void CIotSession::OnRemoteRecordAck(const ScpMessage& message) {
  std::string list;
  const std::string_view body = BodyOf(message);
  if (body.size() > 1) {
    // Searched as text from the body's second byte; the compressed bytes
    // follow "FileList=" and may hold zero bytes themselves.
    const std::string_view text = body.substr(1);
    const std::string_view searchable = AsText(text);
    const std::size_t lengthAt = searchable.find("CompressLen=");
    const std::size_t listAt = searchable.find("FileList=");
    int compressed = 0;
    if (lengthAt != std::string_view::npos)
      std::sscanf(std::string(searchable.substr(lengthAt)).c_str(), "CompressLen=%d", &compressed);
    if (listAt != std::string_view::npos && compressed > 0) {
      const std::size_t dataAt = listAt + std::strlen("FileList=");
      const std::size_t present = text.size() - dataAt;
      const std::size_t take = std::min(static_cast<std::size_t>(compressed), present);
      const auto out = Inflate(text.substr(dataAt, take), kRecordListCapacity);
      if (out && !out->empty()) list = WireToUtf8(AsText(*out));
    }
  }
  {
    std::lock_guard lock(recordMutex_);
    recordListText_ = std::move(list);
  }
  getRecordEvent_.Set();
}
