#pragma once
// A device page of the framework with one sampling command, a state icon, a
// measurement list and a record of the replies it was shown.
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "demo/shell/device_page.h"
#include "demo/shell/sentrell_api.h"

namespace demotest {

class TestPage : public DevicePage {
 public:
  TestPage() : DevicePage(QStringLiteral("数据采集::温湿度"), 150) {
    m_stateIcon = &icon;
    m_dataExchange.Bind(&periodEdit, period);
    m_dataExchange.Bind(&countEdit, count);
    list.setColumnCount(4);
  }

  void OnInitDialog() override {
    period = kDefaultSamplingPeriodMs;
    count = kDefaultSamplingCount;
    UpdateData(false);
  }

  // The start button of continuous sampling.
  void OnStart() {
    if (!SessionReady()) return;
    if (!UpdateData(true)) return;
    if (!CheckContinuousSampling(period, count)) return;
    Report(report, SendToNode(Api().CM_IOT_THDC_StartContinuousSampling, period, count));
  }

  // A button without inputs.
  void OnQuery() {
    if (!SessionReady()) return;
    Report(report, SendToNode(Api().CM_IOT_LAMP_QueryStatus));
  }

  void ShowReply(const std::string& text, int nameIndex) override { shown.push_back({text, nameIndex}); }

  struct Shown {
    std::string text;
    int nameIndex;
  };

  using DevicePage::AddRow;
  using DevicePage::LogFault;
  using DevicePage::m_replyRules;

  CommandReport report;
  std::vector<Shown> shown;
  QLabel icon;
  QLineEdit periodEdit;
  QLineEdit countEdit;
  QTableWidget list;
  int period = 0;
  int count = 0;
};

}  // namespace demotest
