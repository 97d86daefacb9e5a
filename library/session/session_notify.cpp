// Delivery of notifications to the application's window, thread and UDP port.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

#include "library/session/iot_session.h"
#include "library/session/notify_datagram.h"
#include "platform/clock.h"
#include "sentrellplatform.h"

namespace {

bool IsNotifyId(std::uint32_t id) { return id >= NOTIFY_NODEMSG && id <= NOTIFY_SNAPMSG; }

}  // namespace

int CIotSession::SetNotifyWindow(PlatWindow window) {
  notifyWindow_ = reinterpret_cast<std::uintptr_t>(window);
  return 1;
}

int CIotSession::SetNotifyThreadId(std::uint32_t threadId) {
  notifyThreadId_ = threadId;
  return 1;
}

int CIotSession::SetNotifyUdpPort(int port) {
  notifyUdpPort_ = port;
  return 1;
}

int CIotSession::PostNotify(std::uint32_t id, std::uint32_t, std::uint16_t, std::uint16_t, const char* text,
                            std::size_t length) {
  const std::uint32_t stamp = plat::TickCount();
  const bool noText = text == nullptr || id == NOTIFY_NVSLIST;
  const std::string_view body = noText ? std::string_view() : std::string_view(text, length);
  int result = 0;
  const auto window = reinterpret_cast<PlatWindow>(notifyWindow_.load());
  if (window != nullptr && IsNotifyId(id)) {
    if (noText) {
      result = PlatPostMessage(window, id, 0, 0);
    } else {
      const char* copy = copies_.Add(body, id, stamp);
      result = PlatPostMessage(window, id, reinterpret_cast<std::uintptr_t>(copy),
                               static_cast<std::intptr_t>(length + 1));
    }
  }
  const std::uint32_t thread = notifyThreadId_.load();
  if (thread != 0 && IsNotifyId(id)) {
    if (noText) {
      result = PlatPostThreadMessage(thread, id, 0, 0);
    } else {
      const char* copy = copies_.Add(body, id, stamp);
      result = PlatPostThreadMessage(thread, id, reinterpret_cast<std::uintptr_t>(copy),
                                     static_cast<std::intptr_t>(length + 1));
    }
  }
  if (notifyUdpPort_.load() != 0) {
    const auto datagram = FormatNotifyDatagram(id, noText ? std::nullopt : std::optional(body));
    if (!datagram) {
      std::printf("notification of %zu bytes does not fit a datagram; not sent by UDP\n", body.size());
      result = 0;
    } else {
      result = SendNotifyUdp(datagram->data(), datagram->size());
    }
  }
  return result;
}

int CIotSession::SendNotifyUdp(const char* bytes, std::size_t length) {
  std::lock_guard lock(udpMutex_);
  if (notifyUdpSocket_ < 0) {
    // Created by the first datagram (and again at the next one when that
    // failed); the destination port is the one in force at that moment.
    notifyUdpSocket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (notifyUdpSocket_ < 0) return 0;
    notifyUdpDestinationPort_ = notifyUdpPort_.load();
  }
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = inet_addr("127.0.0.1");
  to.sin_port = htons(static_cast<std::uint16_t>(notifyUdpDestinationPort_));
  const ssize_t sent =
      ::sendto(notifyUdpSocket_, bytes, length, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  return sent > 0 ? 1 : 0;
}

void CIotSession::PurgeNotifyCopies() { copies_.Purge(plat::TickCount()); }
