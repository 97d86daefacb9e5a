// Connecting, greeting, logging in, the keep-alive and reconnection.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "library/session/credentials.h"
#include "library/session/iot_session.h"
#include "library/session/nvs_xml_files.h"
#include "library/session/scp_record.h"
#include "platform/clock.h"
#include "sentrellplatform.h"

namespace {

// The filler body of "login" and "connect": the first 5 bytes of this text.
constexpr char kLoginFiller[] = "qmvhtzrk";
constexpr unsigned kLoginFillerLength = 5;
// The fixed From text of "connect".
constexpr char kConnectFrom[] = "sentrell@client";
constexpr int kLoginClass = 7;
// Messages dispatched while waiting for "hello" and "loginack": up to WM_USER.
constexpr std::uint32_t kLoginWaitMaxMessage = PLAT_WM_USER;

// "login" and "connect": the encoded credentials, Class 7, a fresh random
// CSeq, and the filler body. Empty when a credential does not fit its field.
ScpRecord BuildCredentialRequest(const char* ctype, const char* cmd, const char* from, const std::string& user,
                                 const std::string& password, int cseq) {
  const auto encodedUser = EncodeCredential(user, kMaxEncodedUser);
  const auto encodedPassword = EncodeCredential(password, kMaxEncodedPassword);
  if (!encodedUser || !encodedPassword) return nullptr;
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCName(record.get(), encodedUser->c_str());
  ScpMessageSetCType(record.get(), ctype);
  ScpMessageSetCmd(record.get(), cmd);
  ScpMessageSetClass(record.get(), kLoginClass);
  ScpMessageSetCSeq(record.get(), cseq);
  ScpMessageSetCallID(record.get(), encodedPassword->c_str());
  ScpMessageSetFrom(record.get(), from);
  ScpMessageSetContentType(record.get(), "zip");
  ScpMessageSetContact(record.get(), "server");
  ScpMessageSetBody(record.get(), kLoginFiller, kLoginFillerLength);
  return record;
}

}  // namespace

template <class Done>
bool CIotSession::WaitPumping(Done done, std::uint32_t timeoutMs, std::uint32_t maxMessage) {
  const std::uint32_t start = plat::TickCount();
  for (;;) {
    PlatPumpOne(0, maxMessage);
    plat::SleepMs(timing_.waitPollMs);
    if (plat::TicksSince(start, plat::TickCount()) > timeoutMs) return done();
    if (done()) return true;
    if (freeEvent_.IsSet()) return false;
  }
}

int CIotSession::Login(const char* server, const char* user, const char* password) {
  if (server == nullptr || user == nullptr || password == nullptr) return -1;
  if (!EncodeCredential(user, kMaxEncodedUser) || !EncodeCredential(password, kMaxEncodedPassword)) return -1;
  if (!ConnectServer(server, timing_.serverPort, timing_.connectWaitMs, true)) return -1;
  plat::SleepMs(100);
  if (!SendLoginHello()) return -1;
  return SendLoginRequest(user, password) ? 1 : 0;
}

void CIotSession::JoinConnectThread() {
  std::thread previous;
  {
    std::lock_guard lock(threadsMutex_);
    previous = std::move(connectThread_);
  }
  if (previous.joinable()) previous.join();
}

int CIotSession::ConnectServer(const std::string& host, int port, std::uint32_t timeoutMs, bool asynchronous) {
  if (freeEvent_.IsSet()) return 0;  // shut down: no new connection
  if (IsConnected()) return 1;
  JoinConnectThread();
  // A socket that is not connected (never connected, closed by the server,
  // or dropped by the keep-alive) is replaced by a fresh one, and the event
  // thread of the old one has left before the stream starts anew.
  Close();
  StopEvents();
  stream_.Clear();
  if (!Create(0, SOCK_STREAM)) return 0;
  connected_ = 0;
  {
    std::lock_guard lock(stateMutex_);
    host_ = host;
    port_ = port;
  }
  const int noDelay = 1;
  setsockopt(GetSocket(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  SetConnectTimeout(timeoutMs);
  if (asynchronous) {
    std::lock_guard lock(threadsMutex_);
    if (stopping_) return 0;
    connectThread_ = std::thread([this, host, port] {
      connected_ = ConnectHost(host.c_str(), static_cast<unsigned>(port)) ? 1 : 0;
      keepAliveFailures_ = 0;
    });
  } else {
    connected_ = ConnectHost(host.c_str(), static_cast<unsigned>(port)) ? 1 : 0;
  }
  StartKeepAlive();
  if (!asynchronous) return connected_;
  WaitPumping([this] { return IsConnected(); }, timeoutMs, 0);
  return connected_;
}

int CIotSession::SendLoginHello() {
  if (!IsConnected()) return 0;
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCType(record.get(), "iot");
  ScpMessageSetCmd(record.get(), "hello");
  ScpMessageSetContact(record.get(), "ver=1.0");
  helloAcked_ = 0;
  if (!SendBlock(*record, 2, 100)) return 0;
  return WaitPumping([this] { return IsHelloAcked(); }, timing_.helloWaitMs, kLoginWaitMaxMessage) ? 1 : 0;
}

int CIotSession::SendLoginRequest(const std::string& user, const std::string& password) {
  DeleteNvsXmlFiles(XmlFolder());
  plat::SleepMs(100);
  loginResult_ = 0;
  SetCredentials(user, password);
  ScpRecord record = BuildCredentialRequest("iot", "login", "", user, password, NextSeededRandom());
  if (!record) return 0;
  loginAcked_ = 0;
  loginResult_ = 0;
  if (!SendBlock(*record, 3, 20)) return 0;
  return WaitPumping([this] { return IsLoginAcked() && LoginResult() > 0; }, timing_.loginWaitMs,
                     kLoginWaitMaxMessage)
             ? 1
             : 0;
}

bool CIotSession::SendConnectRequest(const std::string& user, const std::string& password) {
  SetCredentials(user, password);
  ScpRecord record = BuildCredentialRequest("end", "connect", kConnectFrom, user, password, NextSeededRandom());
  if (!record) return false;
  listReceived_ = 0;
  return SendBlock(*record, 2, 100);
}

void CIotSession::StartKeepAlive() {
  keepAlive_.Start(timing_.keepAliveMs, [this] { KeepAliveTimerProc(); });
}

void CIotSession::KeepAliveTimerProc() {
  if (!IsLoginAcked() || !IsConnected()) return;
  const Credentials credentials = GetCredentials();
  if (SendConnectRequest(credentials.user, credentials.password)) keepAliveFailures_ = 0;
  else ++keepAliveFailures_;
  ExpirePendingCmds();
  if (keepAliveFailures_ > 2) {
    keepAlive_.Stop();
    Close();
    listReceived_ = 0;
    loginAcked_ = 0;
    helloAcked_ = 0;
    connected_ = 0;
  }
}

void CIotSession::OnClose(int) {
  closed_ = 1;
  keepAlive_.Stop();
  loginAcked_ = 0;
  connected_ = 0;
  helloAcked_ = 0;
}

void CIotSession::StartReconnectThreadOnce() {
  std::lock_guard lock(threadsMutex_);
  if (stopping_ || reconnectStarted_.exchange(true)) return;
  reconnectThread_ = std::thread([this] { ReconnectThreadProc(); });
}

void CIotSession::ReconnectThreadProc() {
  // Set when this thread's own greeting or log-in went unanswered: the
  // connection it made is up but the session is not logged in, and the next
  // round makes it anew instead of leaving it so for good.
  bool unanswered = false;
  while (!freeEvent_.WaitFor(timing_.reconnectMs)) {
    if (IsConnected() && (IsLoginAcked() || !unanswered)) continue;
    unanswered = false;
    connected_ = 0;  // ConnectServer replaces the socket
    if (!ConnectServer(Host(), timing_.serverPort, timing_.connectWaitMs, false)) continue;
    if (freeEvent_.WaitFor(100)) break;
    unanswered = true;
    if (!SendLoginHello()) continue;
    if (freeEvent_.WaitFor(400)) break;
    const Credentials credentials = GetCredentials();
    unanswered = !SendLoginRequest(credentials.user, credentials.password);
  }
}

void CIotSession::OnLoginAck(const ScpMessage& message) {
  loginResult_ = ScpMessageGetClass(&message);
  loginAcked_ = 1;
  // Every log-in asks for one pass over the gateways once their list is complete.
  if (loginResult_ > 0) pollPending_ = true;
  StartReconnectThreadOnce();
  const Credentials credentials = GetCredentials();
  SendConnectRequest(credentials.user, credentials.password);
}
