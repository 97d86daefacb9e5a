#include "demo/pages/module_page.h"

#include <sys/socket.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "demo/shell/demo_app.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/string_table.h"
#include "demo/shell/ui_services.h"

namespace {

constexpr const char* kFolderPickerTitle = "请选择存放XML文件的目录";

// A text the library wrote into a buffer of `size` bytes, read no further
// than the buffer.
std::string TextOf(const char* buffer, std::size_t size) { return std::string(buffer, strnlen(buffer, size)); }

void Log(std::string_view text) {
  if (theApp.m_pMainWnd != nullptr) theApp.m_pMainWnd->AppendLogText(text);
}

// Whether the XML folder is another than the library's default beside the
// program.
bool XmlFolderChosen() { return theApp.m_strXmlPath != theApp.m_strModuleDir + "xml/"; }

}  // namespace

CModulePage::CModulePage(QWidget* parent)
    : CPropertyPage(QString::fromUtf8("模块初始化"), 129, parent),
      m_strServer(theApp.m_strServer),
      m_strPassword(theApp.m_strPassword),
      m_strUser(theApp.m_strUser),
      m_loginGroup(QString::fromUtf8("登录到服务器")),
      m_serverLabel(QString::fromUtf8("服务器地址:")),
      m_userLabel(QString::fromUtf8("用户名:")),
      m_passwordLabel(QString::fromUtf8("密码:")),
      m_password(CLoginComboBox::Echo::kPassword),
      m_init(QString::fromUtf8("初始化模块(Init)")),
      m_setXmlPath(QString::fromUtf8("设置XML路径(SetXMLPath)")),
      m_login(QString::fromUtf8("登录(Login)")),
      m_free(QString::fromUtf8("释放(Free)")),
      m_getXmlPath(QString::fromUtf8("获取XML路径(GetXMLPath)")),
      m_setNotifyTarget(QString::fromUtf8("设置通知目标")),
      m_window(QString::fromUtf8("窗口通知(SetNotifyWindow)")),
      m_thread(QString::fromUtf8("线程通知(SetNotifyThread)")),
      m_udp(QString::fromUtf8("UDP端口通知(SetNotifyUDPPort)")) {
  const std::pair<QWidget*, const char*> ids[] = {
      {&m_server, "1002"},         {&m_user, "1003"},     {&m_password, "1004"},   {&m_init, "1005"},
      {&m_setXmlPath, "1006"},     {&m_login, "1007"},    {&m_free, "1008"},       {&m_setNotifyTarget, "1068"},
      {&m_window, "1069"},         {&m_thread, "1070"},   {&m_udp, "1071"},        {&m_getXmlPath, "1155"},
  };
  for (const auto& [widget, id] : ids) widget->setObjectName(QString::fromLatin1(id));
  m_server.SetLabel(m_serverLabel);
  m_user.SetLabel(m_userLabel);
  m_password.SetLabel(m_passwordLabel);

  m_dataExchange.Bind(m_server.lineEdit(), m_strServer);
  m_dataExchange.Bind(m_password.lineEdit(), m_strPassword);
  m_dataExchange.Bind(m_user.lineEdit(), m_strUser);
  m_dataExchange.Bind(&m_thread, m_bThread);
  m_dataExchange.Bind(&m_udp, m_bUdp);
  m_dataExchange.Bind(&m_window, m_bWindow);

  connect(&m_init, &QPushButton::clicked, this, &CModulePage::OnInit);
  connect(&m_setXmlPath, &QPushButton::clicked, this, &CModulePage::OnSetXMLPath);
  connect(&m_login, &QPushButton::clicked, this, &CModulePage::OnLogin);
  connect(&m_free, &QPushButton::clicked, this, &CModulePage::OnFree);
  connect(&m_getXmlPath, &QPushButton::clicked, this, &CModulePage::OnGetXMLPath);
  connect(&m_setNotifyTarget, &QPushButton::clicked, this, &CModulePage::OnSetNotifyTarget);

  // Layouts belong to the widgets they are set on.
  auto* login = new QGridLayout(&m_loginGroup);
  login->addWidget(&m_serverLabel, 0, 0);
  login->addWidget(&m_server, 0, 1);
  login->addWidget(&m_userLabel, 1, 0);
  login->addWidget(&m_user, 1, 1);
  login->addWidget(&m_passwordLabel, 2, 0);
  login->addWidget(&m_password, 2, 1);
  login->addWidget(&m_login, 3, 1);

  auto* module = new QHBoxLayout;
  for (QPushButton* button : {&m_init, &m_free, &m_setXmlPath, &m_getXmlPath}) module->addWidget(button);
  module->addStretch(1);

  auto* targets = new QHBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{&m_window, &m_thread, &m_udp, &m_setNotifyTarget})
    targets->addWidget(widget);
  targets->addStretch(1);

  auto* page = new QVBoxLayout(this);
  page->addLayout(module);
  page->addWidget(&m_loginGroup);
  page->addLayout(targets);
  page->addStretch(1);
}

void CModulePage::OnInitDialog() { UpdateData(false); }

bool CModulePage::SessionReady() {
  if (theApp.m_hSession != nullptr) return true;
  ShowMessage(this, LoadDemoString(IDS_NOT_INITIALIZED));
  return false;
}

void CModulePage::UpdateData(bool saveAndValidate) {
  if (saveAndValidate) m_dataExchange.Save(this);
  else m_dataExchange.Load();
}

void CModulePage::OnInit() {
  theApp.m_hSession = Api().CM_Init(1);
  if (theApp.m_hSession == nullptr) {
    ShowMessage(this, "模块初始化失败!");
    return;
  }
  m_init.setEnabled(false);
  // A new session writes its files where the information pages read them.
  if (XmlFolderChosen()) Api().CM_SetNVSXmlPath(theApp.m_hSession, theApp.m_strXmlPath.c_str());
}

void CModulePage::OnSetXMLPath() {
  const QString folder = Ui().pickFolder(this, QString::fromUtf8(kFolderPickerTitle));
  if (folder.isEmpty()) return;
  std::string path = folder.toStdString();
  if (path.back() != '/') path.push_back('/');
  theApp.m_strXmlPath = path;
  Api().CM_SetNVSXmlPath(theApp.m_hSession, theApp.m_strXmlPath.c_str());
}

void CModulePage::OnLogin() {
  UpdateData(true);
  if (!SessionReady()) return;
  // The log-in waits for the server while the window goes on processing its
  // events: no other button of this page may act meanwhile.
  std::vector<std::pair<QPushButton*, bool>> buttons;
  for (QPushButton* button : {&m_init, &m_setXmlPath, &m_login, &m_free, &m_getXmlPath, &m_setNotifyTarget}) {
    buttons.emplace_back(button, button->isEnabled());
    button->setEnabled(false);
  }
  const int result =
      Api().CM_Login(theApp.m_hSession, m_strServer.c_str(), m_strUser.c_str(), m_strPassword.c_str());
  for (const auto& [button, enabled] : buttons) button->setEnabled(enabled);
  if (result != 1) {
    ShowMessage(this, "登录失败");
    return;
  }
  theApp.m_strServer = m_strServer;
  theApp.m_strUser = m_strUser;
  theApp.m_strPassword = m_strPassword;
  char from[kServerFromSize] = {};
  char contact[kServerContactSize] = {};
  char body[kServerBodySize] = {};
  if (Api().CM_GetServerInfo(theApp.m_hSession, from, contact, body) == 0) return;
  theApp.m_serverInfo = {TextOf(from, sizeof from), TextOf(contact, sizeof contact), TextOf(body, sizeof body)};
  m_login.setEnabled(false);
}

void CModulePage::OnFree() {
  if (!SessionReady()) return;
  Api().CM_Free(theApp.m_hSession);
  // The freed handle never reaches the library again.
  theApp.m_hSession = nullptr;
  m_init.setEnabled(true);
  m_login.setEnabled(true);
}

void CModulePage::OnGetXMLPath() {
  char folder[kXmlPathSize] = {};
  if (Api().CM_GetNVSXmlPath(theApp.m_hSession, folder) == 1) Log(TextOf(folder, sizeof folder));
  else Log("Get XML Path error!");
}

void CModulePage::OnSetNotifyTarget() {
  if (!SessionReady()) return;
  UpdateData(true);
  if (!m_bWindow && !m_bThread && !m_bUdp) {
    ShowMessage(this, "至少选择一个通知目标!");
    return;
  }
  CDemoDlg* main = theApp.m_pMainWnd;
  Api().CM_SetNotifyWindow(theApp.m_hSession, m_bWindow && main != nullptr ? main->NotifyWindowHandle() : nullptr);
  // The thread and the receiver belong to the main dialog.
  if (main == nullptr) return;

  if (m_bThread) {
    // A thread made before is stopped once the library has the new one.
    std::unique_ptr<CNotifyThread> previous = std::move(main->m_pNotifyThread);
    main->m_pNotifyThread = std::make_unique<CNotifyThread>();
    const int result = Api().CM_SetNotifyThreadID(theApp.m_hSession, main->m_pNotifyThread->ThreadId());
    previous.reset();
    if (result != 1) ShowMessage(this, LoadDemoString(IDS_SET_NOTIFY_THREAD_ERROR));
  }

  if (!m_bUdp) return;
  auto receiver = std::make_unique<CNotifySocket>(main);
  if (receiver->Create(main->m_nNotifyPort, SOCK_DGRAM, main->m_szNotifyAddr.c_str()) != 0) {
    // A receiver made before (on another port) is stopped and freed.
    main->m_pNotifySocket = std::move(receiver);
  } else {
    // Usually the port is held by the receiver made before, which goes on
    // receiving; the one that failed is freed.
    receiver.reset();
    ShowMessage(this, LoadDemoString(IDS_SET_NOTIFY_UDP_ERROR));
  }
  if (Api().CM_SetNotifyUDPPort(theApp.m_hSession, main->m_nNotifyPort) != 1)
    ShowMessage(this, LoadDemoString(IDS_SET_NOTIFY_UDP_ERROR));
}
