#pragma once
// The base of every device page: sending a command to the selected node and
// reporting its result, the queue of replies that the notification receiver
// hands to the page and their drain on the GUI thread, the measurement rows
// and the checks of continuous sampling.
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/shell/clock_time.h"
#include "demo/shell/data_exchange.h"
#include "demo/shell/demo_app.h"
#include "demo/shell/gui_thread_queue.h"
#include "demo/shell/property_page.h"

class QIcon;
class QLabel;
class QTableWidget;

// The page message that tells a page to drain its reply queue.
inline constexpr std::uint32_t UWM_NOD_MSG = 0x0400 + 100;

// The sampling settings a page starts with.
inline constexpr int kDefaultSamplingPeriodMs = 1000;
inline constexpr int kDefaultSamplingCount = 1;

// How a command handler reports the export's result.
struct CommandReport {
  enum Mode {
    kPendingIcon,  // the pending icon in `icon`, whatever the result
    kErrorLine,    // `text` in the log when the result is -1
    kResultLog,    // "text: detail" with 错误!/成功! in the log, always
    kSilent,       // nothing
  };
  Mode mode = kSilent;
  std::string text;
  std::string detail;
  QLabel* icon = nullptr;
};

// Which replies a page takes from its queue.
struct ReplyRules {
  // Only replies of theApp.NodeTarget; others are dropped.
  bool nodeFilter = false;
  // The pending icon in the state icon for every drained text.
  bool pendingIconForEveryText = false;
  // Without name matching every text goes to ShowReply with index -1.
  bool matchNames = true;
  // The message names the page knows, compared ignoring case.
  std::vector<std::string> names;
};

class DevicePage : public CPropertyPage {
  Q_OBJECT

 public:
  // Most replies a queue keeps beyond the one just queued.
  static constexpr std::size_t kReplyQueueBound = 100;

  DevicePage(const QString& caption, int dialogId, QWidget* parent = nullptr);

  // Receiver thread: appends a whole message text; when more than
  // kReplyQueueBound texts wait, the oldest is dropped first. Returns 1.
  int QueueReply(std::string_view text);
  // GUI thread, on UWM_NOD_MSG: drains the queue. Returns 0.
  std::intptr_t OnDeviceReply(std::uintptr_t wParam, std::intptr_t lParam);
  std::size_t QueuedReplyCount() const;

  // Leaving the page reads its controls; a refused value keeps it current.
  bool OnKillActive() override { return UpdateData(true); }

  // Runs `call` later on the GUI thread, unless the page is gone by then.
  void PostToGuiThread(std::function<void()> call) { m_guiCalls.Post(std::move(call)); }

  // The clock of the measurement rows (UTC).
  void SetUtcClock(TimeSource clock) { m_utcClock = std::move(clock); }

 protected:
  // Shows string 102 and gives false while the module is not initialised.
  bool SessionReady();
  // true: reads the fields into the members (false when a field is refused);
  // false: shows the members.
  bool UpdateData(bool saveAndValidate);
  // Period below 1000 ms or a count below 1: the message and false.
  bool CheckContinuousSampling(int periodMs, int count);

  // Calls a device export with the session, the target node and `args`.
  template <typename Export, typename... Args>
  int SendToNode(Export exportFunction, Args... args) {
    const NodeTargetInfo& node = theApp.NodeTarget;
    return exportFunction(theApp.m_hSession, node.nvsid, static_cast<std::uint16_t>(node.netid),
                          static_cast<std::uint16_t>(node.nodeaddr), args...);
  }
  void Report(const CommandReport& report, int result);

  // A drained text whose name is the page's `nameIndex`-th (-1 without
  // name matching).
  virtual void ShowReply(const std::string& text, int nameIndex);
  // "sensor" and "power" of the "fault" message's "info".
  void LogFault(const std::string& text, std::string_view familyWord, bool ignoringCase = false);
  int AddRow(QTableWidget& list, const std::vector<std::string>& values,
             const std::optional<std::string>& lastText = std::nullopt);

  static void SetStateIcon(QLabel* label, const QIcon& icon);
  // The main dialog's log; nothing without a main dialog.
  void Log(std::string_view text);
  void LogResult(int result, std::string_view name, std::string_view detail);

  DataExchange m_dataExchange;
  ReplyRules m_replyRules;
  QLabel* m_stateIcon = nullptr;

 private:
  std::optional<std::string> TakeOldestReply();
  bool IsForTargetNode(const std::string& text) const;
  int FindReplyName(const std::string& name) const;

  TimeSource m_utcClock;
  mutable std::mutex m_replyMutex;
  std::deque<std::string> m_replyQueue;
  GuiThreadQueue m_guiCalls;
};
