#include "demo/pages/info_pages.h"

#include <cstdlib>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "demo/pages/nvs_xml_reader.h"
#include "demo/shell/debug_trace.h"
#include "demo/shell/demo_app.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/sentrell_api.h"

namespace {

constexpr int kColumnWidth = 70;
constexpr int kIdRole = Qt::UserRole;

// The element tags whose texts the columns show, in column order.
const char* const kNvsColumns[] = {"serverip", "serverport", "nvsip",   "nvsid",      "flag",  "name",
                                   "nvsmodel", "nvsver",     "online",  "adminread",  "alarm", "user",
                                   "dx",       "dy",         "address", "usermobile", "codec", "width",
                                   "height",   "fps",        "extdata", "updatetime"};
const char* const kNodeColumns[] = {"devicestatus",   "name",        "type",          "netid",     "nodeaddr",
                                    "cmdid",          "cmdtext",     "currentdata",   "extdata",   "nodeinfo",
                                    "cmdsendrandnum", "cmdsenddata", "cmdbackstatus", "updatetime"};

template <std::size_t N>
void SetColumns(QTableWidget& list, const char* const (&headers)[N]) {
  list.setColumnCount(static_cast<int>(N));
  QStringList labels;
  for (const char* header : headers) labels.push_back(QString::fromLatin1(header));
  list.setHorizontalHeaderLabels(labels);
  for (int column = 0; column < list.columnCount(); ++column) {
    list.setColumnWidth(column, kColumnWidth);
    list.horizontalHeaderItem(column)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void SetReportStyle(QTableWidget& list) {
  list.setSelectionBehavior(QAbstractItemView::SelectRows);
  list.setSelectionMode(QAbstractItemView::SingleSelection);
  list.setEditTriggers(QAbstractItemView::NoEditTriggers);
  list.setShowGrid(true);
  list.verticalHeader()->hide();
}

// A row whose cells are the texts of the elements named like the columns.
void AddRow(QTableWidget& list, const XmlTextMap& texts) {
  const int row = list.rowCount();
  list.insertRow(row);
  for (int column = 0; column < list.columnCount(); ++column) {
    const QTableWidgetItem* header = list.horizontalHeaderItem(column);
    const auto found = header != nullptr ? texts.find(header->text().toStdString()) : texts.end();
    const QString text = found != texts.end() ? QString::fromStdString(found->second) : QString();
    // The list owns its items.
    list.setItem(row, column, new QTableWidgetItem(text));
  }
}

// The text of the row's cell under a header, matched ignoring case.
QString CellUnder(const QTableWidget& list, int row, const QString& header) {
  for (int column = 0; column < list.columnCount(); ++column) {
    const QTableWidgetItem* item = list.horizontalHeaderItem(column);
    if (item == nullptr || item->text().compare(header, Qt::CaseInsensitive) != 0) continue;
    const QTableWidgetItem* cell = list.item(row, column);
    return cell != nullptr ? cell->text() : QString();
  }
  return {};
}

// Selects the item whose text is `value` as "%d", adding it first (with the
// value as item data) when the combo box has none. The dialog's handlers
// follow the user's choices only, so nothing else happens.
void SelectValue(QComboBox& combo, std::uint32_t value) {
  const QString text = QString::number(static_cast<std::int32_t>(value));
  int index = combo.findText(text);
  if (index < 0) {
    combo.addItem(text, value);
    index = combo.count() - 1;
  }
  combo.setCurrentIndex(index);
}

long long CellNumber(const QTableWidget& list, int row, const char* header) {
  return std::strtoll(CellUnder(list, row, QString::fromLatin1(header)).toStdString().c_str(), nullptr, 10);
}

}  // namespace

CNVSInfoPage::CNVSInfoPage(QWidget* parent)
    : CPropertyPage(QString::fromUtf8("NVS信息"), 139, parent), m_refresh(QString::fromUtf8("更新(&U)")) {
  m_list.setObjectName(QStringLiteral("1056"));
  m_refresh.setObjectName(QStringLiteral("1057"));
  connect(&m_refresh, &QPushButton::clicked, this, &CNVSInfoPage::OnRefresh);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(&m_refresh);
  auto* page = new QVBoxLayout(this);
  page->addWidget(&m_list, 1);
  page->addLayout(buttons);
}

void CNVSInfoPage::OnInitDialog() {
  SetReportStyle(m_list);
  SetColumns(m_list, kNvsColumns);
}

void CNVSInfoPage::OnRefresh() {
  m_list.setRowCount(0);
  int count = 0;
  std::string updateTime;
  std::vector<NvsListRecord> gateways;
  CNvsXmlReader::ReadNvsList(theApp.m_strXmlPath, count, updateTime, gateways);
  for (const NvsListRecord& gateway : gateways) {
    DebugTrace("%d, %s, %d, %d, %d\n", gateway.nvsid, gateway.name.c_str(), gateway.online, gateway.alarm,
               gateway.adminread);
    XmlTextMap info;
    // A gateway whose file does not load gets no row.
    if (CNvsXmlReader::ReadNvsInfo(theApp.m_strXmlPath, static_cast<std::uint32_t>(gateway.nvsid), info) != 0)
      continue;
    AddRow(m_list, info);
  }
}

CNodInfoPage::CNodInfoPage(QWidget* parent)
    : CPropertyPage(QString::fromUtf8("节点信息"), 140, parent), m_query(QString::fromUtf8("更新NVS列表")) {
  m_nvsList.setObjectName(QStringLiteral("1058"));
  m_nodeList.setObjectName(QStringLiteral("1059"));
  m_query.setObjectName(QStringLiteral("1060"));
  connect(&m_query, &QPushButton::clicked, this, &CNodInfoPage::OnQueryNodesStatus);
  connect(&m_nvsList, &QListWidget::currentRowChanged, this, [this](int) { OnSelchangeNvs(); });
  connect(&m_nodeList, &QTableWidget::cellClicked, this, &CNodInfoPage::OnClickNodeList);
  auto* lists = new QHBoxLayout;
  lists->addWidget(&m_nvsList, 1);
  lists->addWidget(&m_nodeList, 4);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(&m_query);
  auto* page = new QVBoxLayout(this);
  page->addLayout(lists, 1);
  page->addLayout(buttons);
}

void CNodInfoPage::OnInitDialog() {
  SetReportStyle(m_nodeList);
  SetColumns(m_nodeList, kNodeColumns);
}

void CNodInfoPage::OnQueryNodesStatus() {
  {
    const QSignalBlocker blocker(m_nvsList);
    m_nvsList.clear();
  }
  m_nodeList.setRowCount(0);
  int count = 0;
  std::string updateTime;
  std::vector<NvsListRecord> gateways;
  CNvsXmlReader::ReadNvsList(theApp.m_strXmlPath, count, updateTime, gateways);

  // The second video view's gateways are refilled too, keeping its choice.
  QComboBox* videoNvs = theApp.m_pMainWnd != nullptr ? &theApp.m_pMainWnd->VideoNvsCombo() : nullptr;
  QVariant chosen;
  if (videoNvs != nullptr) {
    chosen = videoNvs->currentData();
    videoNvs->clear();
  }
  for (const NvsListRecord& gateway : gateways) {
    const auto nvsid = static_cast<std::uint32_t>(gateway.nvsid);
    {
      const QSignalBlocker blocker(m_nvsList);
      // The list owns its items.
      auto* item = new QListWidgetItem(QString::fromStdString(gateway.name));
      item->setData(kIdRole, nvsid);
      m_nvsList.addItem(item);
    }
    Api().CM_QueryNodesStatusOfNVS(theApp.m_hSession, nvsid);
    if (videoNvs != nullptr) {
      const std::string text = gateway.name + "(" + (gateway.online != 0 ? "Online" : "Offline") + ")";
      videoNvs->addItem(QString::fromStdString(text), nvsid);
    }
  }
  // Nothing is chosen unless the gateway chosen before is still listed.
  if (videoNvs != nullptr) videoNvs->setCurrentIndex(chosen.isValid() ? videoNvs->findData(chosen) : -1);
}

void CNodInfoPage::OnSelchangeNvs() {
  const QListWidgetItem* item = m_nvsList.currentItem();
  if (item == nullptr) return;
  const std::uint32_t nvsid = item->data(kIdRole).toUInt();
  if (theApp.m_pMainWnd != nullptr) SelectValue(theApp.m_pMainWnd->NvsCombo(), nvsid);
  theApp.NodeTarget.nvsid = nvsid;

  int count = 0;
  int check = 0;
  NodeMap nodes;
  CNvsXmlReader::ReadNvsNodes(theApp.m_strXmlPath, nvsid, count, check, nodes);
  DebugTrace("\n====NODINFOMAP====\n");
  for (const auto& [key, texts] : nodes) {
    for (const auto& [tag, text] : texts) DebugTrace("%s: %s\t\t", tag.c_str(), text.c_str());
    DebugTrace("\n");
  }
  m_nodeList.setRowCount(0);
  for (const auto& [key, texts] : nodes) AddRow(m_nodeList, texts);
}

void CNodInfoPage::OnClickNodeList(int row, int) {
  if (row < 0 || row >= m_nodeList.rowCount()) return;
  const QListWidgetItem* gateway = m_nvsList.currentItem();
  if (gateway == nullptr) return;
  const std::uint32_t nvsid = gateway->data(kIdRole).toUInt();
  const auto netid = static_cast<std::uint32_t>(CellNumber(m_nodeList, row, "netid") & 0xFFFF);
  const auto nodeaddr = static_cast<std::uint32_t>(CellNumber(m_nodeList, row, "nodeaddr") & 0xFFFF);
  if (CDemoDlg* main = theApp.m_pMainWnd) {
    SelectValue(main->NvsCombo(), nvsid);
    SelectValue(main->NetCombo(), netid);
    SelectValue(main->NodCombo(), nodeaddr);
  }
  theApp.NodeTarget = NodeTargetInfo{nvsid, netid, nodeaddr};
}
