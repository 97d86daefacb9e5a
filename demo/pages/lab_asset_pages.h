#pragma once
// The laboratory asset pages: device positioning (the instruments a scan
// finds, as rows) and equipment entry and exit (the card reader's ownership
// and the passages of tagged equipment). Command results are not reported.
#include <functional>

#include <QDateTime>

#include "demo/pages/page_kit.h"

enum LabAssetControl {
  IDC_DEVPST_START = 1144,
  IDC_DEVPST_STOP = 1048,
  IDC_LAB_ASSET_LIST = 1078,
  IDC_DEVIO_SCHOOL = 1147,
  IDC_DEVIO_COLLEGE = 1148,
  IDC_DEVIO_DEPARTMENT = 1149,
  IDC_DEVIO_LAB = 1150,
  IDC_DEVIO_UPDATE = 1057,
  IDC_DEVIO_MODIFY = 1152,
  IDC_DEVIO_OWNER_GROUP = 1,
};

class CDevPstPage : public KitPage {
  Q_OBJECT

 public:
  explicit CDevPstPage(QWidget* parent = nullptr);
};

class CDevIOPage : public KitPage {
  Q_OBJECT

 public:
  explicit CDevIOPage(QWidget* parent = nullptr);

  // The local clock that stamps the passages when they are shown.
  void SetLocalNow(std::function<QDateTime()> now) { m_localNow = std::move(now); }
  QDateTime LocalNow() const { return m_localNow(); }

 private:
  std::function<QDateTime()> m_localNow = [] { return QDateTime::currentDateTime(); };
};
