#include "demo/shell/demo_dlg.h"

#include <cstdarg>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QThread>
#include <QVBoxLayout>

#include "demo/pages/page_factory.h"
#include "demo/shell/about_dlg.h"
#include "demo/shell/demo_app.h"
#include "demo/shell/log_line.h"
#include "demo/shell/page_table.h"
#include "demo/shell/state_icons.h"
#include "demo/shell/string_table.h"
#include "demo/shell/text_format.h"
#include "demo/shell/ui_services.h"

namespace {

constexpr unsigned kAboutCommand = 16;
constexpr int kTreeWidth = 180;
// The size the dialog opens with: the tallest and the widest page fit in the
// page area without scrolling, and the whole dialog fits on a 1280 x 1024
// screen with its window frame.
constexpr QSize kDefaultSize(1180, 940);
// The video views: no video control plays in them here, so they take the
// room of a small picture (176 x 144) and leave the rest to the pages.
constexpr QSize kVideoViewSize(176, 144);
// The page area takes this many shares of the left column's height for
// every share of the log.
constexpr int kSheetShares = 4;

}  // namespace

CDemoDlg::CDemoDlg(QWidget* parent)
    : QDialog(parent),
      m_hIcon(LoadDemoIcon(IDR_MAINFRAME)),
      m_localClock(CurrentLocalTime),
      m_nvsLabel(QStringLiteral("NVS:")),
      m_netLabel(QStringLiteral("NET:")),
      m_nodLabel(QStringLiteral("NOD:")),
      m_test(QStringLiteral("Test")),
      m_aboutAction(this),
      m_notifyWindow([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return OnNotifyWindowMessage(message, wParam, lParam);
      }) {
  setObjectName(QStringLiteral("102"));
  setWindowTitle(QStringLiteral("SentrellDemo"));
  m_sheetPlace.setObjectName(QStringLiteral("1000"));
  m_nvs.setObjectName(QStringLiteral("1061"));
  m_net.setObjectName(QStringLiteral("1062"));
  m_nod.setObjectName(QStringLiteral("1063"));
  m_log.setObjectName(QStringLiteral("1072"));
  m_test.setObjectName(QStringLiteral("1073"));
  m_videoNvs.setObjectName(QStringLiteral("1220"));
  m_log.setReadOnly(true);
  m_log.setUndoRedoEnabled(false);

  // The about box, reached from the window's context menu.
  const QString aboutText = QString::fromUtf8(LoadDemoString(IDS_ABOUTBOX));
  if (!aboutText.isEmpty()) {
    m_aboutAction.setText(aboutText);
    m_aboutAction.setObjectName(QStringLiteral("AboutAction"));
    connect(&m_aboutAction, &QAction::triggered, this, [this] { OnSysCommand(kAboutCommand); });
    addAction(&m_aboutAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
  }
  setWindowIcon(m_hIcon);

  m_sheet.SetTreeViewMode(true, true, true);
  for (const PageRow& row : kPageTable) {
    m_pages.push_back(CreatePage(row));
    m_sheet.AddPage(m_pages.back().get());
  }
  m_sheet.SetTreeWidth(kTreeWidth);
  m_sheet.setParent(&m_sheetPlace);
  m_sheet.Create();

  m_video.Create(this, QStringLiteral("1218"));
  m_video2.Create(this, QStringLiteral("1219"));

  connect(&m_test, &QPushButton::clicked, this, &CDemoDlg::OnTest);
  // Only a choice of the user changes the target: a selection set by the
  // program does not come through `activated`.
  connect(&m_nvs, &QComboBox::activated, this, &CDemoDlg::OnSelchangeNvs);
  connect(&m_net, &QComboBox::activated, this, &CDemoDlg::OnSelchangeNet);
  connect(&m_nod, &QComboBox::activated, this, &CDemoDlg::OnSelchangeNod);
  connect(&m_videoNvs, &QComboBox::activated, this, &CDemoDlg::OnSelchangeVideoNvs);

  BuildLayout();
}

CDemoDlg::~CDemoDlg() {
  // The receiver feeds the pages: it goes before them.
  m_handOver.Close();
  StopNotifications();
  if (theApp.m_pMainWnd == this) theApp.m_pMainWnd = nullptr;
}

void CDemoDlg::StopNotifications() {
  if (m_pNotifySocket) m_pNotifySocket->Abandon();
  m_pNotifySocket.reset();
  m_pNotifyThread.reset();
}

void CDemoDlg::BuildLayout() {
  // Layouts belong to the widgets they are set on.
  auto* placeLayout = new QVBoxLayout(&m_sheetPlace);
  placeLayout->setContentsMargins(0, 0, 0, 0);
  placeLayout->addWidget(&m_sheet);

  auto* testRow = new QHBoxLayout;
  testRow->addStretch(1);
  testRow->addWidget(&m_test);

  auto* left = new QVBoxLayout;
  left->addWidget(&m_sheetPlace, kSheetShares);
  left->addWidget(&m_log, 1);
  left->addLayout(testRow);

  auto* targets = new QGridLayout;
  targets->addWidget(&m_nvsLabel, 0, 0);
  targets->addWidget(&m_nvs, 0, 1);
  targets->addWidget(&m_netLabel, 1, 0);
  targets->addWidget(&m_net, 1, 1);
  targets->addWidget(&m_nodLabel, 2, 0);
  targets->addWidget(&m_nod, 2, 1);

  auto* right = new QVBoxLayout;
  right->addLayout(targets);
  if (QWidget* view = m_video.widget()) {
    view->setMinimumSize(kVideoViewSize);
    right->addWidget(view, 1);
  }
  right->addWidget(&m_videoNvs);
  if (QWidget* view = m_video2.widget()) {
    view->setMinimumSize(kVideoViewSize);
    right->addWidget(view, 1);
  }

  // The right-hand column keeps the width it needs; the pages get the rest.
  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 1);
  top->addLayout(right, 0);
  QSize size = kDefaultSize;
  if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size());
  resize(size);
}

int CDemoDlg::AppendLog(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return AppendLogText(text);
}

int CDemoDlg::AppendLogText(std::string_view text) {
  const std::string line = FormatLogLine(m_localClock(), std::string(text));
  if (line.empty()) return 0;
  if (QThread::currentThread() == thread()) {
    InsertLogLine(line);
  } else {
    // Widgets belong to the GUI thread; the line follows later (never a
    // blocking call, so that a GUI thread waiting for this thread cannot
    // deadlock).
    m_guiCalls.Post([this, line] { InsertLogLine(line); });
  }
  return 1;
}

int CDemoDlg::AppendResultLog(int result, std::string_view name, std::string_view detail) {
  return AppendLogText(ResultLogText(result, name, detail));
}

void CDemoDlg::InsertLogLine(const std::string& line) {
  // Always at the end, wherever the user left the caret.
  QTextCursor cursor(m_log.document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
  m_log.setTextCursor(cursor);
  m_log.ensureCursorVisible();
}

CPropertyPage* CDemoDlg::FindPage(std::string_view className) const {
  for (std::size_t i = 0; i < kPageTable.size() && i < m_pages.size(); ++i) {
    if (className == kPageTable[i].className) return m_pages[i].get();
  }
  return nullptr;
}

CPropertyPage* CDemoDlg::Page(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return m_pages[static_cast<std::size_t>(index)].get();
}

void CDemoDlg::OnSysCommand(unsigned id) {
  if ((id & 0xFFF0u) == kAboutCommand) {
    CAboutDlg about(this);
    Ui().runModal(about);
  }
}

void CDemoDlg::OnTest() {
  AppendLog("%03d: Add a tip now!\n", m_testCount++);
  AppendLog("Variable argument: %d, %f", 100, 123.456);
}

void CDemoDlg::OnSelchangeNvs(int index) {
  if (index < 0) return;
  theApp.NodeTarget.nvsid = m_nvs.itemData(index).toUInt();
  m_video.StopPlay();
  m_video.StartPlay(theApp.m_strServer, theApp.m_strUser, theApp.m_strPassword,
                    static_cast<std::int32_t>(theApp.NodeTarget.nvsid));
}

void CDemoDlg::OnSelchangeNet(int index) {
  if (index < 0) return;
  theApp.NodeTarget.netid = m_net.itemData(index).toUInt();
}

void CDemoDlg::OnSelchangeNod(int index) {
  if (index < 0) return;
  theApp.NodeTarget.nodeaddr = m_nod.itemData(index).toUInt();
}

void CDemoDlg::OnSelchangeVideoNvs(int index) {
  if (index < 0) return;
  const auto nvsid = static_cast<std::int32_t>(m_videoNvs.itemData(index).toUInt());
  m_video2.StopPlay();
  m_video2.StartPlay(theApp.m_strServer, theApp.m_strUser, theApp.m_strPassword, nvsid);
}

std::intptr_t CDemoDlg::OnNvsList(std::uintptr_t, std::intptr_t) { return 0; }

std::intptr_t CDemoDlg::OnNotifyWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  // The other notifications carry the library's copy of a text, which the
  // library frees; the dialog neither reads nor frees it.
  if (message == NOTIFY_NVSLIST) return OnNvsList(wParam, lParam);
  return 0;
}
