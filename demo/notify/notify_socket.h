#pragma once
// The receiver of the library's notification datagrams. Each device reply
// (kind NODEMSG) goes to the reply queue of its device's page, and the page
// drains its queue on the GUI thread while the receiver waits.
#include <atomic>
#include <string_view>

#include "library/session/event_socket.h"

class CDemoDlg;

class CNotifySocket : public CEventSocket {
 public:
  // `mainWnd` is the dialog whose pages and log the receiver feeds; without
  // one every datagram is dropped. The dialog outlives the receiver.
  explicit CNotifySocket(CDemoDlg* mainWnd);
  ~CNotifySocket() override;

  // Event thread: reads one datagram and handles it. Nothing it meets ends
  // the event thread.
  void OnReceive(int errorCode) override;
  void OnClose(int errorCode) override;

  // Handles the bytes of one datagram (as received, NUL or not).
  void HandleDatagram(std::string_view bytes);

  // Releases a wait for a page and makes later waits return at once; called
  // before the receiver is destroyed.
  void Abandon() { m_abandon.store(true); }

 private:
  void RouteNodeReply(const std::string& data);

  CDemoDlg* const m_mainWnd;
  std::atomic<bool> m_abandon{false};
};
