#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "library/session/iot_app.h"
#include "platform/files.h"
#include "sentrell.h"

namespace fs = std::filesystem;

namespace {

// Every handle-taking export built so far, called with the handle given.
std::vector<std::pair<const char*, std::function<int(IotHandle*)>>> HandleExports() {
  return {
      {"CM_Login", [](IotHandle* h) { return CM_Login(h, "127.0.0.1", "u", "p"); }},
      {"CM_GetServerInfo", [](IotHandle* h) { return CM_GetServerInfo(h, nullptr, nullptr, nullptr); }},
      {"CM_SetIOTCallBack", [](IotHandle* h) { return CM_SetIOTCallBack(h, nullptr, nullptr); }},
      {"CM_SetNotifyWindow", [](IotHandle* h) { return CM_SetNotifyWindow(h, nullptr); }},
      {"CM_SetNotifyThreadID", [](IotHandle* h) { return CM_SetNotifyThreadID(h, 0); }},
      {"CM_SetNotifyUDPPort", [](IotHandle* h) { return CM_SetNotifyUDPPort(h, 0); }},
  };
}

}  // namespace

TEST(Exports, InitGivesAHandleOnlyForModeOne) {
  EXPECT_EQ(CM_Init(0), nullptr);
  EXPECT_EQ(CM_Init(2), nullptr);
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_NE(LiveSession(h), nullptr);
  CM_Free(h);
}

TEST(Exports, BadHandlesGiveMinusOneWithoutBeingTouched) {
  // A record whose first word is not the check word, and one that was never a handle.
  IotHandle forged;
  forged.magic = 0x1234;
  IotHandle unregistered;  // right check word, but not made by CM_Init
  for (const auto& [name, call] : HandleExports()) {
    EXPECT_EQ(call(nullptr), -1) << name;
    EXPECT_EQ(call(&forged), -1) << name;
    EXPECT_EQ(call(&unregistered), -1) << name;
  }
  CM_Free(nullptr);
  CM_Free(&forged);
  CM_Free(&unregistered);
}

TEST(Exports, FreedHandleIsRefused) {
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(CM_SetIOTCallBack(h, nullptr, nullptr), 1);
  CM_Free(h);
  for (const auto& [name, call] : HandleExports()) EXPECT_EQ(call(h), -1) << name;
  CM_Free(h);  // a second free of the same pointer does nothing
}

TEST(Exports, InitEmptiesTheXmlFolderOfCachedFilesOnly) {
  const fs::path folder = fs::path(plat::ExecutableFolder()) / "xml";
  fs::create_directories(folder / "nvs_d.xml");
  for (const char* name : {"nvs_list.xml", "nvs_warn.xml", "nvs_1000001.xml", "other.xml"})
    std::ofstream(folder / name) << "<a/>";
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(fs::exists(folder / "nvs_list.xml"));
  EXPECT_FALSE(fs::exists(folder / "nvs_warn.xml"));
  EXPECT_FALSE(fs::exists(folder / "nvs_1000001.xml"));
  EXPECT_TRUE(fs::exists(folder / "other.xml"));
  EXPECT_TRUE(fs::is_directory(folder / "nvs_d.xml"));
  EXPECT_EQ(LiveSession(h)->XmlFolder(), folder.string() + "/");
  CM_Free(h);
  fs::remove(folder / "other.xml");
  fs::remove(folder / "nvs_d.xml");
}

TEST(Exports, SequenceNumbersCountUpByOne) {
  // Each test runs in a process of its own: nothing has numbered a command yet.
  const std::uint32_t first = TheIotApp().NextSequence();
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(TheIotApp().NextSequence(), first + 1);
  const std::uint32_t warning = TheIotApp().NextWarnNumber();
  EXPECT_EQ(warning, 1u);
  EXPECT_EQ(TheIotApp().NextWarnNumber(), warning + 1);
}
