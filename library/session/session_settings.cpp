// The XML folder, the account settings and the gateway queries.
#include <cstdio>
#include <cstring>
#include <string>

#include "library/session/credentials.h"
#include "library/session/iot_session.h"
#include "library/session/scp_record.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace {

// The filler body of "getconfig" and "putconfig": the first 5 bytes of this text.
constexpr char kConfigFiller[] = "wopfel";
constexpr unsigned kConfigFillerLength = 5;
// The longest folder text, NUL included, that CM_GetNVSXmlPath hands out.
constexpr std::size_t kXmlPathCapacity = 260;

}  // namespace

int CIotSession::SetNvsXmlPath(const char* folder) {
  if (folder == nullptr) return -1;
  const std::size_t length = std::strlen(folder);
  if (length < 3) return 0;
  std::string text = plat::WithTrailingSeparator(folder);
  if (text.size() + 1 > kXmlPathCapacity) return 0;  // could not be handed back whole
  std::lock_guard lock(stateMutex_);
  xmlFolder_ = std::move(text);
  return 1;
}

int CIotSession::GetNvsXmlPath(char* folder) {
  if (folder == nullptr) return -1;
  const std::string text = XmlFolder();
  if (text.size() + 1 > kXmlPathCapacity) {
    folder[0] = '\0';
    return 0;
  }
  std::memcpy(folder, text.c_str(), text.size() + 1);
  return 1;
}

int CIotSession::RequestAllNodesData(std::uint32_t nvsid) {
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCType(record.get(), "sentrell");
  ScpMessageSetCmd(record.get(), "reqallnodesdata");
  ScpMessageSetClass(record.get(), static_cast<int>(nvsid));
  ScpMessageSetContentType(record.get(), "sdp");
  ScpMessageSetContact(record.get(), "server");
  return SendBlock(*record, 2, 20) ? 1 : 0;
}

int CIotSession::GetCamInfo(std::uint32_t nvsid) {
  if (nvsid == 0 || !IsConnected()) return 0;
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCType(record.get(), "sentrell");
  ScpMessageSetCmd(record.get(), "getcaminfo");
  ScpMessageSetClass(record.get(), static_cast<int>(nvsid));
  SendBlock(*record, 2, 10);
  return 1;
}

namespace {

// "getconfig" and "putconfig" go out as their bare text, not as a block.
ScpRecord BuildConfigRequest(const char* cmd, const std::string& encodedUser, const std::string& encodedPassword,
                             int cseq) {
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCName(record.get(), encodedUser.c_str());
  ScpMessageSetCType(record.get(), "end");
  ScpMessageSetCmd(record.get(), cmd);
  ScpMessageSetClass(record.get(), 7);
  ScpMessageSetCSeq(record.get(), cseq);
  ScpMessageSetCallID(record.get(), encodedPassword.c_str());
  ScpMessageSetFrom(record.get(), "aa");
  ScpMessageSetContact(record.get(), "server");
  ScpMessageSetBody(record.get(), kConfigFiller, kConfigFillerLength);
  return record;
}

}  // namespace

int CIotSession::GetConfig() {
  const Credentials credentials = GetCredentials();
  if (credentials.user.empty()) return 0;
  const auto user = EncodeCredential(credentials.user, kMaxEncodedUser);
  const auto password = EncodeCredential(credentials.password, kMaxEncodedPassword);
  if (!user || !password) return 0;
  int cseq;
  {
    std::lock_guard lock(randomMutex_);
    cseq = random_.Next();
  }
  ScpRecord record = BuildConfigRequest("getconfig", *user, *password, cseq);
  char text[kScpBlockSize];
  const std::size_t length = ScpMessageSerialize(record.get(), text, sizeof text);
  if (length == 0) return 0;
  return SendLocked(text, static_cast<int>(length)) > 0 ? 1 : 0;
}

int CIotSession::PutConfig(int alarm, int canread, const char* newPassword) {
  const Credentials credentials = GetCredentials();
  if (credentials.user.empty()) return 0;
  const auto user = EncodeCredential(credentials.user, kMaxEncodedUser);
  const auto password = EncodeCredential(credentials.password, kMaxEncodedPassword);
  if (!user || !password) return 0;
  char rights[128];
  if (newPassword != nullptr) {
    const auto encoded = EncodeCredential(newPassword, kMaxEncodedPassword);
    if (!encoded) return 0;
    if (alarm != -1 && canread != -1)
      std::snprintf(rights, sizeof rights, "alarm=%d;canread=%d;new=%s;", alarm, canread, encoded->c_str());
    else
      std::snprintf(rights, sizeof rights, "new=%s;", encoded->c_str());
  } else {
    std::snprintf(rights, sizeof rights, "alarm=%d;canread=%d;", alarm, canread);
  }
  int cseq;
  {
    std::lock_guard lock(randomMutex_);
    cseq = random_.Next();
  }
  ScpRecord record = BuildConfigRequest("putconfig", *user, *password, cseq);
  // A rights text cut at the field would set the password to something else.
  if (!ScpMessageSetContact(record.get(), rights)) return 0;
  char text[kScpBlockSize];
  const std::size_t length = ScpMessageSerialize(record.get(), text, sizeof text);
  if (length == 0) return 0;
  for (int attempt = 0; attempt < 2; ++attempt)
    if (SendLocked(text, static_cast<int>(length)) > 0) return 1;
  return 0;
}

int CIotSession::ConfigSet(int alarm, int canread) {
  const int result = PutConfig(alarm, canread, nullptr);
  GetConfig();
  return result;
}

int CIotSession::ConfigChangePassword(int, const char* newPassword) {
  if (newPassword == nullptr) return -1;
  const int result = PutConfig(-1, -1, newPassword);
  GetConfig();
  return result;
}
