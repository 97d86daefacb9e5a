// The module page with a recording library: the exports each button calls
// and with what, the messages it shows, its buttons' states, the
// notification thread and receiver it makes, and what assistive technology
// reads from its log-in controls.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "demo/pages/module_page.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/shell/demo_dlg.h"
#include "sentrellplatform.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/reply_texts.h"
#include "tests/demo/udp_test_support.h"

namespace {

using demotest::FakeApi;
using demotest::RecordedCall;

constexpr long long kHandle = 0x5000;
IotHandle* const kSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
const char* const kModuleButtons[] = {"1005", "1006", "1007", "1008", "1155", "1068"};

// What assistive technology can read from an accessible object and from
// the objects below it, each text with where it was read: the path of child
// indexes from the object queried and the kind of text.
struct AccessibleTree {
  struct Text {
    std::string where;
    QString text;
  };
  std::vector<Text> texts;  // names, descriptions, values, help, text and value interfaces
  // The objects with a text interface: the accessibility bus passes on the
  // text-change events of those, which carry the characters typed.
  std::vector<std::string> textInterfaces;

  void Collect(QAccessibleInterface* object, const std::string& where = "box", int depth = 0) {
    constexpr int kDeepest = 6;
    if (object == nullptr || !object->isValid() || depth > kDeepest) return;
    const std::pair<QAccessible::Text, const char*> kinds[] = {{QAccessible::Name, "name"},
                                                               {QAccessible::Description, "description"},
                                                               {QAccessible::Value, "value"},
                                                               {QAccessible::Help, "help"}};
    for (const auto& [kind, word] : kinds) texts.push_back({where + " " + word, object->text(kind)});
    if (QAccessibleTextInterface* text = object->textInterface()) {
      textInterfaces.push_back(where);
      texts.push_back({where + " text", text->text(0, text->characterCount())});
    }
    if (QAccessibleValueInterface* value = object->valueInterface())
      texts.push_back({where + " current value", value->currentValue().toString()});
    for (int i = 0; i < object->childCount(); ++i) Collect(object->child(i), where + "/" + std::to_string(i), depth + 1);
  }
};

class ModulePageTest : public ::testing::Test {
 protected:
  ModulePageTest() {
    dialog.SetLocalClock([] { return TimeOfDay{7, 0, 0, 0}; });
    theApp.m_pMainWnd = &dialog;
    theApp.m_hSession = nullptr;
    theApp.m_strXmlPath = theApp.m_strModuleDir + "xml/";
    FakeApi::SetResult("CM_Init", kHandle);
  }

  template <typename T>
  T* Control(const char* id) {
    T* control = page->findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  void Click(const char* id) { Control<QPushButton>(id)->click(); }
  bool Enabled(const char* id) { return Control<QPushButton>(id)->isEnabled(); }
  void SetText(const char* id, const char* text) { Control<QComboBox>(id)->setEditText(QString::fromUtf8(text)); }
  void SetTargets(bool window, bool thread, bool udp) {
    Control<QCheckBox>("1069")->setChecked(window);
    Control<QCheckBox>("1070")->setChecked(thread);
    Control<QCheckBox>("1071")->setChecked(udp);
  }
  void Initialise() {
    Click("1005");
    ASSERT_EQ(theApp.m_hSession, kSession);
  }
  std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const RecordedCall& call : FakeApi::Calls()) names.push_back(call.name);
    return names;
  }
  QString Log() { return dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText(); }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  FakeApi api;
  CDemoDlg dialog;
  CModulePage* page = dynamic_cast<CModulePage*>(dialog.FindPage("CModulePage"));
};

TEST_F(ModulePageTest, ShowsTheDefaults) {
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Caption(), QStringLiteral("模块初始化"));
  EXPECT_EQ(Control<QComboBox>("1002")->currentText(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(Control<QComboBox>("1003")->currentText(), QStringLiteral("admin"));
  EXPECT_EQ(Control<QComboBox>("1004")->currentText().size(), 1);
  EXPECT_FALSE(Control<QCheckBox>("1069")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>("1070")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>("1071")->isChecked());
  const std::map<std::string, QString> captions = {
      {"1005", "初始化模块(Init)"},      {"1006", "设置XML路径(SetXMLPath)"}, {"1007", "登录(Login)"},
      {"1008", "释放(Free)"},            {"1068", "设置通知目标"},           {"1155", "获取XML路径(GetXMLPath)"},
  };
  for (const auto& [id, caption] : captions) EXPECT_EQ(Control<QPushButton>(id.c_str())->text(), caption) << id;
}

TEST_F(ModulePageTest, InitStoresTheHandleOrShowsTheFailure) {
  Click("1005");
  EXPECT_EQ(theApp.m_hSession, kSession);
  EXPECT_FALSE(Enabled("1005"));
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_Init", {1}}}));
  EXPECT_TRUE(ui.messages.isEmpty());

  theApp.m_hSession = nullptr;
  Control<QPushButton>("1005")->setEnabled(true);
  FakeApi::SetResult("CM_Init", 0);
  Click("1005");
  EXPECT_EQ(theApp.m_hSession, nullptr);
  EXPECT_TRUE(Enabled("1005"));
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("模块初始化失败!")});
}

TEST_F(ModulePageTest, TheChosenFolderGoesToEveryNewSession) {
  ui.nextFolder = QStringLiteral("/srv/x");
  Click("1006");
  Click("1005");
  Click("1008");
  Click("1005");
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_SetNVSXmlPath", {0}, {"/srv/x/"}},
                                                           {"CM_Init", {1}},
                                                           {"CM_SetNVSXmlPath", {kHandle}, {"/srv/x/"}},
                                                           {"CM_Free", {kHandle}},
                                                           {"CM_Init", {1}},
                                                           {"CM_SetNVSXmlPath", {kHandle}, {"/srv/x/"}}}));
}

TEST_F(ModulePageTest, SessionButtonsRefuseWithoutASession) {
  for (const char* id : {"1007", "1008", "1068"}) {
    ui.messages.clear();
    Click(id);
    EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请先初始化模块!")}) << id;
  }
  EXPECT_TRUE(FakeApi::Calls().empty());
}

TEST_F(ModulePageTest, FailedLoginChangesNothing) {
  Initialise();
  for (int result : {0, -1, 2}) {
    ui.messages.clear();
    FakeApi::SetResult("CM_Login", result);
    SetText("1002", "127.0.0.9");
    Click("1007");
    EXPECT_EQ(ui.messages, QStringList{QStringLiteral("登录失败")}) << result;
    EXPECT_EQ(theApp.m_strServer, "127.0.0.1") << result;
    EXPECT_TRUE(Enabled("1007")) << result;
  }
  EXPECT_TRUE(FakeApi::CallsOf("CM_GetServerInfo").empty());
}

TEST_F(ModulePageTest, LoginTakesTheTextsAndTheServerInformation) {
  Initialise();
  SetText("1002", "127.0.0.9");
  SetText("1003", "operator");
  SetText("1004", "secret");
  const std::string longest(31, 'f');
  FakeApi::SetServerInfo(longest, "ver=1.0", "greeting body");
  Click("1007");
  EXPECT_EQ(FakeApi::CallsOf("CM_Login"),
            (std::vector<RecordedCall>{{"CM_Login", {kHandle}, {"127.0.0.9", "operator", "secret"}}}));
  EXPECT_EQ(theApp.m_strServer, "127.0.0.9");
  EXPECT_EQ(theApp.m_strUser, "operator");
  EXPECT_EQ(theApp.m_strPassword, "secret");
  EXPECT_EQ(theApp.m_serverInfo, (std::array<std::string, 3>{longest, "ver=1.0", "greeting body"}));
  EXPECT_FALSE(Enabled("1007"));
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ModulePageTest, LoginWithoutServerInformationKeepsTheButton) {
  Initialise();
  theApp.m_serverInfo = {"old", "old", "old"};
  FakeApi::SetResult("CM_GetServerInfo", 0);
  SetText("1003", "operator");
  Click("1007");
  EXPECT_EQ(theApp.m_strUser, "operator");
  EXPECT_EQ(theApp.m_serverInfo, (std::array<std::string, 3>{"old", "old", "old"}));
  EXPECT_TRUE(Enabled("1007"));
}

TEST_F(ModulePageTest, ButtonsAreDisabledWhileLoggingIn) {
  Initialise();
  std::vector<bool> during;
  FakeApi::SetDuringCall([&](const std::string& name) {
    if (name != "CM_Login") return;
    for (const char* id : kModuleButtons) during.push_back(Enabled(id));
  });
  FakeApi::SetResult("CM_Login", 0);
  ui.messages.clear();
  Click("1007");
  EXPECT_EQ(during, std::vector<bool>(6, false));
  // Afterwards each has its state again.
  EXPECT_FALSE(Enabled("1005"));
  for (const char* id : {"1006", "1007", "1008", "1155", "1068"}) EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(ModulePageTest, FreeForgetsTheHandle) {
  Initialise();
  Click("1007");
  ASSERT_FALSE(Enabled("1007"));
  Click("1008");
  EXPECT_EQ(theApp.m_hSession, nullptr);
  EXPECT_TRUE(Enabled("1005"));
  EXPECT_TRUE(Enabled("1007"));
  EXPECT_EQ(FakeApi::CallsOf("CM_Free"), (std::vector<RecordedCall>{{"CM_Free", {kHandle}}}));
  // No later command passes the freed handle.
  auto* lamp = dynamic_cast<CLampPage*>(dialog.FindPage("CLampPage"));
  lamp->EnsureCreated();
  lamp->Press(IDC_BTN_OPEN);
  EXPECT_TRUE(FakeApi::CallsOf("CM_IOT_LAMP_Ctrl").empty());
  EXPECT_EQ(ui.messages.back(), QStringLiteral("请先初始化模块!"));
}

TEST_F(ModulePageTest, XmlFolderChoices) {
  struct Case {
    const char* picked;
    bool session;
    std::vector<RecordedCall> calls;
    std::string folder;
  };
  const std::string before = theApp.m_strXmlPath;
  const std::vector<Case> cases = {
      {"/srv/x", true, {{"CM_SetNVSXmlPath", {kHandle}, {"/srv/x/"}}}, "/srv/x/"},
      {"/", true, {{"CM_SetNVSXmlPath", {kHandle}, {"/"}}}, "/"},
      {"/srv/y/", false, {{"CM_SetNVSXmlPath", {0}, {"/srv/y/"}}}, "/srv/y/"},
      {"", true, {}, before},
  };
  for (const Case& c : cases) {
    FakeApi reset;
    theApp.m_strXmlPath = before;
    theApp.m_hSession = c.session ? kSession : nullptr;
    ui.nextFolder = QString::fromUtf8(c.picked);
    ui.folderTitles.clear();
    Click("1006");
    EXPECT_EQ(ui.folderTitles, QStringList{QStringLiteral("请选择存放XML文件的目录")}) << c.picked;
    EXPECT_EQ(FakeApi::Calls(), c.calls) << c.picked;
    EXPECT_EQ(theApp.m_strXmlPath, c.folder) << c.picked;
  }
}

TEST_F(ModulePageTest, XmlFolderOfTheLibraryGoesToTheLog) {
  Initialise();
  FakeApi::SetXmlPath("/a/%s/xml/");
  Click("1155");
  FakeApi::SetResult("CM_GetNVSXmlPath", 0);
  Click("1155");
  EXPECT_EQ(Log(), QStringLiteral(" 7:00:00.000: /a/%s/xml/\n 7:00:00.000: Get XML Path error!\n"));
}

TEST_F(ModulePageTest, NotifyTargetNeedsAFlag) {
  Initialise();
  SetTargets(false, false, false);
  Click("1068");
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("至少选择一个通知目标!")});
  EXPECT_EQ(CallNames(), std::vector<std::string>{"CM_Init"});
}

TEST_F(ModulePageTest, WindowTargetOnly) {
  Initialise();
  SetTargets(true, false, false);
  Click("1068");
  const long long window = static_cast<long long>(reinterpret_cast<intptr_t>(dialog.NotifyWindowHandle()));
  ASSERT_NE(window, 0);
  EXPECT_EQ(FakeApi::CallsOf("CM_SetNotifyWindow"),
            (std::vector<RecordedCall>{{"CM_SetNotifyWindow", {kHandle, window}}}));
  EXPECT_EQ(CallNames(), (std::vector<std::string>{"CM_Init", "CM_SetNotifyWindow"}));
  EXPECT_EQ(dialog.m_pNotifyThread, nullptr);
  EXPECT_EQ(dialog.m_pNotifySocket, nullptr);
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ModulePageTest, ThreadTargetStartsAThreadAndReplacesTheOldOne) {
  Initialise();
  SetTargets(false, true, false);
  Click("1068");
  ASSERT_NE(dialog.m_pNotifyThread, nullptr);
  const std::uint32_t first = dialog.m_pNotifyThread->ThreadId();
  EXPECT_EQ(FakeApi::CallsOf("CM_SetNotifyThreadID"),
            (std::vector<RecordedCall>{{"CM_SetNotifyThreadID", {kHandle, first}}}));
  EXPECT_EQ(FakeApi::CallsOf("CM_SetNotifyWindow"), (std::vector<RecordedCall>{{"CM_SetNotifyWindow", {kHandle, 0}}}));
  EXPECT_EQ(PlatPostThreadMessage(first, NOTIFY_NVSLIST, 0, 0), 1);
  EXPECT_EQ(dialog.m_pNotifySocket, nullptr);
  EXPECT_TRUE(ui.messages.isEmpty());

  FakeApi::SetResult("CM_SetNotifyThreadID", 0);
  Click("1068");
  ASSERT_NE(dialog.m_pNotifyThread, nullptr);
  const std::uint32_t second = dialog.m_pNotifyThread->ThreadId();
  EXPECT_NE(second, first);
  // The thread it replaced has ended: its queue is gone.
  EXPECT_EQ(PlatPostThreadMessage(first, NOTIFY_NVSLIST, 0, 0), 0);
  EXPECT_EQ(PlatPostThreadMessage(second, NOTIFY_NVSLIST, 0, 0), 1);
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("设置通知线程ID出错")});
}

TEST_F(ModulePageTest, UdpTargetBindsAReceiver) {
  Initialise();
  dialog.m_nNotifyPort = demotest::FreeUdpPort();
  SetTargets(false, false, true);
  Click("1068");
  ASSERT_NE(dialog.m_pNotifySocket, nullptr);
  EXPECT_TRUE(dialog.m_pNotifySocket->IsEventThreadRunning());
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_Init", {1}},
                                                           {"CM_SetNotifyWindow", {kHandle, 0}},
                                                           {"CM_SetNotifyUDPPort", {kHandle, dialog.m_nNotifyPort}}}));
  EXPECT_EQ(dialog.m_pNotifyThread, nullptr);
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ModulePageTest, ASecondReceiverOnThePortFailsAndTheFirstGoesOn) {
  Initialise();
  dialog.m_nNotifyPort = demotest::FreeUdpPort();
  Click("1068");
  CNotifySocket* first = dialog.m_pNotifySocket.get();
  ASSERT_NE(first, nullptr);
  Click("1068");
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("设置通知UPD端口出错!")});
  EXPECT_EQ(FakeApi::CallsOf("CM_SetNotifyUDPPort").size(), 2u);
  EXPECT_EQ(dialog.m_pNotifySocket.get(), first);
  auto* power = dynamic_cast<DevicePage*>(dialog.FindPage("CPowerPage"));
  ASSERT_TRUE(demotest::SendDatagram(dialog.m_nNotifyPort,
                                     demotest::LibraryDatagram("NODEMSG", demotest::NodeReply("POWER", "status"))));
  EXPECT_TRUE(QTest::qWaitFor([&] { return power->QueuedReplyCount() == 1; }, 10000));
}

TEST_F(ModulePageTest, RefusedUdpPortShowsTheMessage) {
  Initialise();
  dialog.m_nNotifyPort = demotest::FreeUdpPort();
  FakeApi::SetResult("CM_SetNotifyUDPPort", 0);
  Click("1068");
  EXPECT_NE(dialog.m_pNotifySocket, nullptr);
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("设置通知UPD端口出错!")});
}

// Assistive technology names each log-in control by its label (without the
// colon that separates label and field on the screen) and reads the server
// and the user from it, as the fields show them.
TEST_F(ModulePageTest, LogInControlsAreNamedByTheirLabels) {
  struct Case {
    const char* id;
    const char* name;
    const char* value;
  };
  const Case cases[] = {{"1002", "服务器地址", "127.0.0.1"}, {"1003", "用户名", "admin"}};
  for (const Case& c : cases) {
    QAccessibleInterface* object = QAccessible::queryAccessibleInterface(Control<QComboBox>(c.id));
    ASSERT_NE(object, nullptr) << c.id;
    EXPECT_EQ(object->role(), QAccessible::ComboBox) << c.id;
    EXPECT_EQ(object->text(QAccessible::Name).toStdString(), c.name) << c.id;
    EXPECT_EQ(object->text(QAccessible::Value).toStdString(), c.value) << c.id;
  }
  QAccessibleInterface* password = QAccessible::queryAccessibleInterface(Control<QComboBox>("1004"));
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(password->role(), QAccessible::ComboBox);
  EXPECT_EQ(password->text(QAccessible::Name).toStdString(), "密码");
}

// A password typed as a user types it, and confirmed with Enter, is in no
// text that assistive technology can read from the password box or from
// the objects below it (its edit, its drop-down list), nor in the list, and
// no object there passes on the typed characters; the log-in still sends it.
TEST_F(ModulePageTest, ThePasswordIsInNoAccessibleText) {
  const QString typed = QStringLiteral("s3cret-Pass");
  dialog.show();
  auto* password = Control<QComboBox>("1004");
  password->setFocus();
  password->lineEdit()->clear();
  QTest::keyClicks(password, typed);
  ASSERT_EQ(password->currentText(), typed);
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_EQ(password->count(), 0) << "Enter put the password into the drop-down list";

  QAccessibleInterface* object = QAccessible::queryAccessibleInterface(password);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->text(QAccessible::Name).toStdString(), "密码");
  AccessibleTree tree;
  tree.Collect(object);
  for (const auto& [where, text] : tree.texts) EXPECT_FALSE(text.contains(typed)) << where << ": " << text.toStdString();
  EXPECT_EQ(tree.textInterfaces, std::vector<std::string>{});

  Initialise();
  Click("1007");
  ASSERT_EQ(FakeApi::CallsOf("CM_Login").size(), 1u);
  EXPECT_EQ(FakeApi::CallsOf("CM_Login")[0].texts.at(2), typed.toStdString());
}

}  // namespace
