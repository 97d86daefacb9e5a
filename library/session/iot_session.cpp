// Construction, destruction and the locked send of a session.
#include "library/session/iot_session.h"

#include <ifaddrs.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "library/session/nvs_xml_files.h"
#include "library/session/scp_record.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "sentrellplatform.h"

namespace {

// The first IPv4 address of the host, preferring one that is not loopback.
std::string GetLocalIp() {
  char name[128] = {};
  if (gethostname(name, sizeof name - 1) == 0) std::printf("%s\n", name);
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  std::string loopback, first;
  for (const ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
    if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(it->ifa_addr)->sin_addr, text, sizeof text);
    if (std::string(text).rfind("127.", 0) == 0) {
      if (loopback.empty()) loopback = text;
    } else if (first.empty()) {
      first = text;
    }
  }
  freeifaddrs(list);
  return first.empty() ? loopback : first;
}

}  // namespace

CIotSession::CIotSession()
    : timing_(CurrentSessionTiming()),
      copies_(timing_.purgeMs, [](std::uint32_t message, std::uintptr_t wParam) {
        return PlatIsMessageQueued(message, wParam) != 0;
      }),
      nvsList_(std::make_unique<NvsList>()) {
  random_.Seed(static_cast<std::uint32_t>(time(nullptr)));
  localIp_ = GetLocalIp();
  const std::string exeFolder = plat::ExecutableFolder();
  xmlFolder_ = exeFolder.empty() ? std::string() : exeFolder + "xml/";
  if (!xmlFolder_.empty()) {
    plat::CreateFolder(xmlFolder_);
    DeleteNvsXmlFiles(xmlFolder_);
  }
  purgeTimer_.Start(timing_.purgeMs, [this] { PurgeNotifyCopies(); });
}

CIotSession::~CIotSession() {
  Shutdown();
  std::lock_guard lock(udpMutex_);
  if (notifyUdpSocket_ >= 0) ::close(notifyUdpSocket_);
}

void CIotSession::Shutdown() {
  if (shutDown_.exchange(true)) return;
  closed_ = 1;
  {
    std::lock_guard lock(threadsMutex_);
    stopping_ = true;
  }
  freeEvent_.Set();
  ringBackEvent_.Set();
  if (IsConnected()) SendQuit();
  {
    // Whatever still runs on this session sends nothing from here on.
    std::lock_guard lock(sendMutex_);
    sendsEnded_ = true;
  }
  // The worker threads first: none of them may start a new event thread
  // after the event thread has been stopped.
  std::thread connect, reconnect, poll;
  {
    std::lock_guard lock(threadsMutex_);
    connect = std::move(connectThread_);
    reconnect = std::move(reconnectThread_);
    poll = std::move(pollThread_);
  }
  if (connect.joinable()) connect.join();
  if (reconnect.joinable()) reconnect.join();
  if (poll.joinable()) poll.join();
  EndCall();
  keepAlive_.Stop();
  connected_ = 0;
  helloAcked_ = 0;
  loginAcked_ = 0;
  Close();
  StopEvents();
  const std::string folder = XmlFolder();
  if (folder.size() > 2) DeleteNvsXmlFiles(folder);
  purgeTimer_.Stop();  // the copies still held go with the register
}

int CIotSession::SetIotCallback(IotCallback callback, void* user) {
  std::lock_guard lock(callbackMutex_);
  callback_ = callback;
  callbackUser_ = user;
  return 1;
}

std::string CIotSession::XmlFolder() const {
  std::lock_guard lock(stateMutex_);
  return xmlFolder_;
}

std::string CIotSession::RecordListText() const {
  std::lock_guard lock(recordMutex_);
  return recordListText_;
}

int CIotSession::NextSeededRandom() {
  std::lock_guard lock(randomMutex_);
  random_.Seed(static_cast<std::uint32_t>(time(nullptr)));
  return random_.Next();
}

void CIotSession::SetCredentials(const std::string& user, const std::string& password) {
  std::lock_guard lock(stateMutex_);
  credentials_ = Credentials{user, password};
}

CIotSession::Credentials CIotSession::GetCredentials() const {
  std::lock_guard lock(stateMutex_);
  return credentials_;
}

std::string CIotSession::Host() const {
  std::lock_guard lock(stateMutex_);
  return host_;
}

int CIotSession::SendLocked(const char* bytes, int length) {
  if (!IsConnected()) return 0;
  return SendWhole(bytes, length);
}

int CIotSession::SendWhole(const char* bytes, int length) {
  if (bytes == nullptr || length <= 0 || failSendsForTesting_) return 0;
  std::lock_guard lock(sendMutex_);
  if (sendsEnded_) return 0;
  const std::uint32_t start = plat::TickCount();
  int sent = 0;
  while (sent < length) {
    const int n = Send(bytes + sent, length - sent, 0);
    if (n > 0) {
      sent += n;
      continue;
    }
    const int error = LastError();
    if (n < 0 && (error == EAGAIN || error == EWOULDBLOCK || error == EINTR)) {
      const std::uint32_t elapsed = plat::TicksSince(start, plat::TickCount());
      if (elapsed >= timing_.sendCompletionMs || freeEvent_.IsSet()) break;
      pollfd pfd{GetSocket(), POLLOUT, 0};
      ::poll(&pfd, 1, static_cast<int>(std::min<std::uint32_t>(timing_.sendCompletionMs - elapsed, 100)));
      continue;
    }
    break;
  }
  if (sent == length) return sent;
  if (sent > 0) {
    // Part of a block is on the wire: every later block would be read out of step.
    Close();
    connected_ = 0;
    helloAcked_ = 0;
    loginAcked_ = 0;
  }
  return 0;
}

bool CIotSession::SendBlock(const ScpMessage& record, int tries, std::uint32_t pauseMs) {
  char block[kScpBlockSize];
  const std::size_t length = ScpMessageSerializeBlock(&record, block);
  if (length == 0) return false;
  for (int attempt = 0; attempt < tries; ++attempt) {
    if (attempt > 0) plat::SleepMs(pauseMs);
    if (SendLocked(block, static_cast<int>(kScpBlockSize)) > 0) return true;
  }
  return false;
}

bool CIotSession::SendQuit() {
  ScpRecord record = MakeScpRecord();
  ScpMessageSetCType(record.get(), "iot");
  ScpMessageSetCmd(record.get(), "quit");
  ScpMessageSetClass(record.get(), 1);
  ScpMessageSetContentType(record.get(), "sdp");
  return SendBlock(*record, 2, 20);
}
