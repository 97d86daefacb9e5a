#pragma once
// The sampling collector pages (temperature and humidity, temperature,
// illuminance, dual-axis inclination): measuring range, alarm limits, a
// single sample and continuous sampling, with the samples and the alarms
// added as rows to two lists. The dual-axis page also sets and queries the
// zero point.
#include "demo/pages/page_kit.h"
#include "demo/shell/sentrell_api.h"

// Ids of the controls the four pages share.
enum CollectorControl {
  IDC_COLLECTOR_QUERY_RANGE = 1184,
  IDC_COLLECTOR_SAMPLING = 1074,
  IDC_COLLECTOR_PERIOD = 1085,
  IDC_COLLECTOR_COUNT = 1086,
  IDC_COLLECTOR_START = 1076,
  IDC_COLLECTOR_STOP = 1077,
  IDC_COLLECTOR_SAMPLES = 1078,
  IDC_COLLECTOR_QUERY_LIMIT = 1075,
  IDC_COLLECTOR_SET_LIMIT = 1036,
  IDC_COLLECTOR_ALARMS = 1192,
  IDC_COLLECTOR_STATE = 1193,
  IDC_DAIS_ZERO_X = 1185,
  IDC_DAIS_ZERO_Y = 1186,
  IDC_DAIS_ZERO_SET = 1190,
  IDC_DAIS_ZERO_QUERY = 1191,
};

// One measured quantity of a collector: its element in the replies, its
// edits and its column in the lists.
struct CollectorChannel {
  const char* element;  // "temperature"
  int rangeId;
  const char* rangeLabel;
  int valueId;
  const char* valueLabel;
  int upperId;
  const char* upperLabel;
  int lowerId;
  const char* lowerLabel;
  const char* column;
};

using CollectorCommand = decltype(&SentrellApi::CM_IOT_THDC_Sampling);
using CollectorStart = decltype(&SentrellApi::CM_IOT_THDC_StartContinuousSampling);
using CollectorSetLimit1 = decltype(&SentrellApi::CM_IOT_TDC_SetLimit);
using CollectorSetLimit2 = decltype(&SentrellApi::CM_IOT_THDC_SetLimit);

// What one collector page is made of.
struct CollectorFamily {
  const char* caption;
  int dialogId;
  const char* word;    // "THDC": the word of its log lines
  const char* prefix;  // "温湿度采集节点: ": the start of its failure lines
  ValueKind value;     // kFloat, or kInt for illuminance
  int channelCount;    // 1 or 2
  CollectorChannel channels[2];
  // The exports, as members of the function table; one of the two set-limit
  // exports is null, by the number of channels.
  CollectorCommand sampling;
  CollectorSetLimit1 setLimit1;
  CollectorSetLimit2 setLimit2;
  CollectorStart start;
  CollectorCommand stop;
  CollectorCommand queryLimit;
  CollectorCommand queryRange;
  bool zeroPoint;  // the calibration group (dual-axis page)
};

class CollectorPage : public KitPage {
  Q_OBJECT

 public:
  CollectorPage(const CollectorFamily& family, QWidget* parent = nullptr);
};

class CTHDCPage : public CollectorPage {
  Q_OBJECT

 public:
  explicit CTHDCPage(QWidget* parent = nullptr);
};

class CTDCPage : public CollectorPage {
  Q_OBJECT

 public:
  explicit CTDCPage(QWidget* parent = nullptr);
};

class CIDCPage : public CollectorPage {
  Q_OBJECT

 public:
  explicit CIDCPage(QWidget* parent = nullptr);
};

class CDAISPage : public CollectorPage {
  Q_OBJECT

 public:
  explicit CDAISPage(QWidget* parent = nullptr);
};
