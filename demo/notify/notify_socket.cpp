#include "demo/notify/notify_socket.h"

#include <sys/socket.h>

#include <array>
#include <exception>
#include <string>

#include "demo/notify/node_routing.h"
#include "demo/notify/notify_datagram.h"
#include "demo/shell/ascii_case.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/debug_trace.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/device_page.h"

CNotifySocket::CNotifySocket(CDemoDlg* mainWnd) : m_mainWnd(mainWnd) {}

CNotifySocket::~CNotifySocket() {
  Abandon();
  StopEvents();
}

void CNotifySocket::OnReceive(int) {
  try {
    // One byte more than the largest datagram, so that a datagram of the
    // largest size still ends inside the buffer; MSG_TRUNC gives the real
    // size of a longer one.
    std::array<char, kNotifyDatagramLimit + 1> buffer{};
    const int received = Receive(buffer.data(), static_cast<int>(kNotifyDatagramLimit), MSG_TRUNC);
    if (received < 0) return;
    if (static_cast<std::size_t>(received) > kNotifyDatagramLimit) {
      DebugTrace("====Udp message of %d bytes ignored: longer than %zu bytes\n", received, kNotifyDatagramLimit);
      return;
    }
    HandleDatagram(std::string_view(buffer.data(), static_cast<std::size_t>(received)));
  } catch (const std::exception& error) {
    DebugTrace("====Udp message dropped: %s\n", error.what());
  } catch (...) {
    DebugTrace("====Udp message dropped\n");
  }
}

void CNotifySocket::OnClose(int errorCode) { DebugTrace("Notify Socket Close: %d\n", errorCode); }

void CNotifySocket::HandleDatagram(std::string_view bytes) {
  const NotifyDatagram datagram = ParseNotifyDatagram(bytes);
  switch (datagram.status) {
    case NotifyDatagram::Status::kUnknownVersion:
      DebugTrace("====Unknow udp message version [Message version: %f]! ", static_cast<double>(datagram.version));
      return;
    case NotifyDatagram::Status::kFieldTooLong:
      DebugTrace("====Udp message ignored: %s field too long\n", datagram.longField);
      return;
    case NotifyDatagram::Status::kRead:
      break;
  }
  if (m_mainWnd == nullptr) {
    DebugTrace("Main window is not exist!");
    return;
  }
  const std::string& kind = datagram.kind;
  if (EqualsIgnoringCase(kind, "NVSLIST")) {
    DebugTrace("====Udp Message: NVSLIST\n");
  } else if (EqualsIgnoringCase(kind, "NODLIST")) {
    DebugTrace("====Udp Message: NODLIST, %u\n", CCMParser::GetNvsID(datagram.data));
  } else if (EqualsIgnoringCase(kind, "WARNMSG")) {
    DebugTrace("====Udp Message: WARNMSG, %s\n", datagram.data.c_str());
    m_mainWnd->AppendLogText(datagram.data);
  } else if (EqualsIgnoringCase(kind, "NODEMSG")) {
    RouteNodeReply(datagram.data);
  }
}

void CNotifySocket::RouteNodeReply(const std::string& data) {
  DevicePage* page = nullptr;
  if (!data.empty()) {
    if (const char* className = RouteNodeMessage(data))
      page = dynamic_cast<DevicePage*>(m_mainWnd->FindPage(className));
  }
  bool hasWindow = false;
  if (page != nullptr) {
    page->QueueReply(data);
    hasWindow = page->IsCreated();
  }
  DebugTrace("UWM_NOD_MSG\n");
  if (hasWindow) m_mainWnd->HandOver().Send(*page, &m_abandon);
}
