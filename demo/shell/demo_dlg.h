#pragma once
// The program's main window: the tree property sheet with every page, the
// log that all parts of the program write to, the combo boxes that choose
// the target node, and two video views.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "demo/notify/notify_socket.h"
#include "demo/notify/notify_thread.h"
#include "demo/shell/clock_time.h"
#include "demo/shell/gui_thread_queue.h"
#include "demo/shell/notify_window.h"
#include "demo/shell/page_hand_over.h"
#include "demo/shell/property_page.h"
#include "demo/shell/tree_prop_sheet.h"
#include "demo/shell/video_control.h"

class CDemoDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDemoDlg(QWidget* parent = nullptr);
  ~CDemoDlg() override;

  // Appends one time-stamped line to the log: 1 when a line was added, 0 for
  // an empty text. From another thread the line is added on the GUI thread.
  int AppendLog(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The same for a text that is not a format (a '%' in it stays as it is).
  int AppendLogText(std::string_view text);
  // "name: detail" followed by 错误! for -1 and 成功! otherwise.
  int AppendResultLog(int result, std::string_view name, std::string_view detail);

  void SetLocalClock(TimeSource clock) { m_localClock = std::move(clock); }

  CTreePropSheet& Sheet() { return m_sheet; }
  // The page of a row of the page table, by the row's class name.
  CPropertyPage* FindPage(std::string_view className) const;
  CPropertyPage* Page(int index) const;
  int PageCount() const { return static_cast<int>(m_pages.size()); }

  // The window that the library's window notifications go to.
  PlatWindow NotifyWindowHandle() const { return m_notifyWindow.Handle(); }
  PageHandOver& HandOver() { return m_handOver; }

  // The notification receiver's settings.
  std::uint16_t m_nNotifyPort = 10000;
  std::string m_szNotifyAddr = "127.0.0.1";
  // The notification receiver and thread the module page made, if any.
  std::unique_ptr<CNotifySocket> m_pNotifySocket;
  std::unique_ptr<CNotifyThread> m_pNotifyThread;
  // Stops and frees the receiver and the thread; every hand-over to a page
  // still waiting is released first.
  void StopNotifications();

  // The combo boxes of the target node (gateway, net, node) and of the
  // second video view's gateway.
  QComboBox& NvsCombo() { return m_nvs; }
  QComboBox& NetCombo() { return m_net; }
  QComboBox& NodCombo() { return m_nod; }
  QComboBox& VideoNvsCombo() { return m_videoNvs; }

  // Handlers of the dialog's commands and notifications.
  void OnSysCommand(unsigned id);
  void OnTest();
  void OnSelchangeNvs(int index);
  void OnSelchangeNet(int index);
  void OnSelchangeNod(int index);
  void OnSelchangeVideoNvs(int index);
  std::intptr_t OnNvsList(std::uintptr_t wParam, std::intptr_t lParam);

 private:
  std::intptr_t OnNotifyWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void InsertLogLine(const std::string& line);
  void BuildLayout();

  QIcon m_hIcon;
  TimeSource m_localClock;
  int m_testCount = 0;

  QWidget m_sheetPlace;  // control 1000: the sheet lies at its top-left
  CTreePropSheet m_sheet;
  std::vector<std::unique_ptr<CPropertyPage>> m_pages;

  QLabel m_nvsLabel;
  QLabel m_netLabel;
  QLabel m_nodLabel;
  QComboBox m_nvs;
  QComboBox m_net;
  QComboBox m_nod;
  QComboBox m_videoNvs;
  QPlainTextEdit m_log;
  QPushButton m_test;
  CKorvexVideo1 m_video;
  CKorvexVideo1 m_video2;
  QAction m_aboutAction;

  NotifyWindow m_notifyWindow;
  PageHandOver m_handOver;
  GuiThreadQueue m_guiCalls;
};
