#include "demo/shell/device_page.h"

#include <QLabel>
#include <QTableWidget>

#include "demo/shell/ascii_case.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/measurement_rows.h"
#include "demo/shell/string_table.h"
#include "demo/shell/ui_services.h"

DevicePage::DevicePage(const QString& caption, int dialogId, QWidget* parent)
    : CPropertyPage(caption, dialogId, parent), m_utcClock(CurrentUtcTime) {}

int DevicePage::QueueReply(std::string_view text) {
  std::lock_guard lock(m_replyMutex);
  if (m_replyQueue.size() > kReplyQueueBound) m_replyQueue.pop_front();
  m_replyQueue.emplace_back(text);
  return 1;
}

std::size_t DevicePage::QueuedReplyCount() const {
  std::lock_guard lock(m_replyMutex);
  return m_replyQueue.size();
}

std::optional<std::string> DevicePage::TakeOldestReply() {
  std::lock_guard lock(m_replyMutex);
  if (m_replyQueue.empty()) return std::nullopt;
  std::string text = std::move(m_replyQueue.front());
  m_replyQueue.pop_front();
  return text;
}

std::intptr_t DevicePage::OnDeviceReply(std::uintptr_t, std::intptr_t) {
  while (std::optional<std::string> text = TakeOldestReply()) {
    // A reply for another node is dropped; the replies behind it are still
    // for this page and are shown now rather than at the next reply.
    if (m_replyRules.nodeFilter && !IsForTargetNode(*text)) continue;
    if (m_replyRules.pendingIconForEveryText) SetStateIcon(m_stateIcon, theApp.m_hIconPending);
    if (!m_replyRules.matchNames) {
      ShowReply(*text, -1);
      continue;
    }
    const int index = FindReplyName(CCMParser::GetMessage(*text).value_or(std::string()));
    if (index >= 0) ShowReply(*text, index);
  }
  return 0;
}

bool DevicePage::IsForTargetNode(const std::string& text) const {
  const NodeTargetInfo& node = theApp.NodeTarget;
  return CCMParser::GetNvsID(text) == node.nvsid && CCMParser::GetNetID(text) == node.netid &&
         CCMParser::GetNodID(text) == node.nodeaddr;
}

int DevicePage::FindReplyName(const std::string& name) const {
  for (std::size_t i = 0; i < m_replyRules.names.size(); ++i) {
    if (EqualsIgnoringCase(name, m_replyRules.names[i])) return static_cast<int>(i);
  }
  return -1;
}

void DevicePage::ShowReply(const std::string&, int) {}

bool DevicePage::SessionReady() {
  if (theApp.m_hSession != nullptr) return true;
  ShowMessage(this, LoadDemoString(IDS_NOT_INITIALIZED));
  return false;
}

bool DevicePage::UpdateData(bool saveAndValidate) {
  if (saveAndValidate) return m_dataExchange.Save(this);
  m_dataExchange.Load();
  return true;
}

bool DevicePage::CheckContinuousSampling(int periodMs, int count) {
  if (periodMs < 1000) {
    ShowMessage(this, "连续采集周期必须大于1000ms.");
    return false;
  }
  if (count <= 0) {
    ShowMessage(this, "至少为1.");
    return false;
  }
  return true;
}

void DevicePage::Report(const CommandReport& report, int result) {
  switch (report.mode) {
    case CommandReport::kPendingIcon:
      SetStateIcon(report.icon, theApp.m_hIconPending);
      break;
    case CommandReport::kErrorLine:
      if (result == -1) Log(report.text);
      break;
    case CommandReport::kResultLog:
      LogResult(result, report.text, report.detail);
      break;
    case CommandReport::kSilent:
      break;
  }
}

void DevicePage::LogFault(const std::string& text, std::string_view familyWord, bool ignoringCase) {
  const std::string info = CCMParser::GetDataElementValueString(text, "info").value_or(std::string());
  const auto is = [&info, ignoringCase](std::string_view word) {
    return ignoringCase ? EqualsIgnoringCase(info, word) : info == word;
  };
  if (is("sensor")) {
    Log(std::string(familyWord) + "传感器故障!");
  } else if (is("power")) {
    Log(std::string(familyWord) + "电源故障");
  }
}

int DevicePage::AddRow(QTableWidget& list, const std::vector<std::string>& values,
                       const std::optional<std::string>& lastText) {
  return AddMeasurementRow(list, m_utcClock(), values, lastText);
}

void DevicePage::SetStateIcon(QLabel* label, const QIcon& icon) {
  if (label == nullptr) return;
  if (icon.isNull()) {
    label->clear();
    return;
  }
  label->setPixmap(icon.pixmap(32, 32));
}

void DevicePage::Log(std::string_view text) {
  if (theApp.m_pMainWnd != nullptr) theApp.m_pMainWnd->AppendLogText(text);
}

void DevicePage::LogResult(int result, std::string_view name, std::string_view detail) {
  if (theApp.m_pMainWnd != nullptr) theApp.m_pMainWnd->AppendResultLog(result, name, detail);
}
