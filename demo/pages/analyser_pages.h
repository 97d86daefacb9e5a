#pragma once
// The gas and pH analyser pages: a single value on request and, on the gas
// pages, continuous sampling whose values are added as rows to a list.
#include "demo/pages/page_kit.h"
#include "demo/shell/sentrell_api.h"

// Ids of the controls.
enum AnalyserControl {
  IDC_ANALYSER_VALUE = 1271,
  IDC_ANALYSER_QUERY = 1272,
  IDC_ANALYSER_PERIOD = 1085,
  IDC_ANALYSER_COUNT = 1086,
  IDC_ANALYSER_START = 1076,
  IDC_ANALYSER_STOP = 1077,
  IDC_ANALYSER_LIST = 1078,
  IDC_ANALYSER_STATE = 1193,
  IDC_ANALYSER_SAMPLING = 1,  // the group box "连续采集"
};

// What one analyser page is made of.
struct AnalyserFamily {
  const char* caption;
  int dialogId;
  const char* family;     // "CO2": the word of its log lines
  const char* valueLabel;
  ValueKind value;        // kInt or kFloat
  // The exports, as members of the function table; start and stop are null
  // on a page without continuous sampling.
  decltype(&SentrellApi::CM_IOT_CO2_Query) query;
  decltype(&SentrellApi::CM_IOT_CO2_Start) start;
  decltype(&SentrellApi::CM_IOT_CO2_Stop) stop;
};

class AnalyserPage : public KitPage {
  Q_OBJECT

 public:
  AnalyserPage(const AnalyserFamily& family, QWidget* parent = nullptr);
};

class CCO2Page : public AnalyserPage {
  Q_OBJECT

 public:
  explicit CCO2Page(QWidget* parent = nullptr);
};

class CO2Page : public AnalyserPage {
  Q_OBJECT

 public:
  explicit CO2Page(QWidget* parent = nullptr);
};

class CPHPage : public AnalyserPage {
  Q_OBJECT

 public:
  explicit CPHPage(QWidget* parent = nullptr);
};
