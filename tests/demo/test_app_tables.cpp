// The application's key table, string table and folders.
#include <gtest/gtest.h>

#include "demo/shell/demo_app.h"
#include "demo/shell/string_table.h"

namespace {

TEST(KeyCodes, TableAndLookUp) {
  EXPECT_EQ(theApp.m_keyCodes.size(), 61u);
  const std::vector<std::pair<std::string, int>> cases = {
      {"POWER", 1},    {"MUTE", 2},         {"BACK", 13},        {"NUM0", 16},      {"NUM9", 25},
      {"MENU", 48},    {"EXIT", 50},        {"PLAY", 50},        {"FR", 50},        {"SOURCE", 51},
      {"T+", 2},       {"T-", 3},           {"MODE", 7},         {"SAT_SRC", 96},   {"SAT_PAGEDOWN", 98},
      {"HC_OPEN", 99}, {"HC_3DAUDIO", 114}, {"HC_SUBTITLE", 117}, {"power", 0},     {"XYZ", 0},
      {"", 0},         {"NUM10", 0},
  };
  for (const auto& [word, code] : cases) EXPECT_EQ(theApp.KeyCode(word), code) << word;
}

TEST(KeyCodes, HomeCinemaCodesFollowEachOther) {
  const char* words[] = {"HC_OPEN",  "HC_DISK",     "HC_AUDIOSOURCE", "HC_BROADCAST", "HC_USB",
                         "HC_AUX",   "HC_RADIOSET", "HC_FF",          "HC_FR",        "HC_NEXT",
                         "HC_PREV",  "HC_PLAYPAUSE", "HC_STOP",       "HC_REPEAT",    "HC_SOUNDEFFECT",
                         "HC_3DAUDIO", "HC_SOUNDSYNC", "HC_ZOOM",     "HC_SUBTITLE"};
  int code = 99;
  for (const char* word : words) EXPECT_EQ(theApp.KeyCode(word), code++) << word;
}

TEST(StringTable, Texts) {
  const std::vector<std::pair<int, std::string>> cases = {
      {101, "关于 SentrellDemo(&A)..."},
      {102, "请先初始化模块!"},
      {103, "设置通知线程ID出错"},
      {104, "设置通知窗口出错!"},
      {105, "设置通知UPD端口出错!"},
      {106, "版本号错误, 不支持的数据格式!"},
      {107, ""},
      {0, ""},
  };
  for (const auto& [id, text] : cases) EXPECT_EQ(LoadDemoString(id), text) << id;
}

TEST(DemoApp, FoldersEndWithSeparator) {
  CDemoApp app;
  app.InitFoldersAndIcons("/opt/demo/bin");
  EXPECT_EQ(app.m_strModuleDir, "/opt/demo/bin/");
  EXPECT_EQ(app.m_strXmlPath, "/opt/demo/bin/xml/");
  EXPECT_FALSE(app.m_hIconPending.isNull());
  EXPECT_FALSE(app.m_hIconBusy.isNull());
  app.ReleaseIcons();
  EXPECT_EQ(app.m_hSession, nullptr);
  EXPECT_EQ(app.m_strPassword.size(), 1u);
}

}  // namespace
