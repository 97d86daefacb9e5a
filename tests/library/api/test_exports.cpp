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
      {"CM_SetNVSXmlPath", [](IotHandle* h) { return CM_SetNVSXmlPath(h, "/tmp/x"); }},
      {"CM_GetNVSXmlPath", [](IotHandle* h) { char b[260]; return CM_GetNVSXmlPath(h, b); }},
      {"CM_ConfigSet", [](IotHandle* h) { return CM_ConfigSet(h, 1, 1); }},
      {"CM_ConfigChangePwd", [](IotHandle* h) { return CM_ConfigChangePwd(h, 0, "x"); }},
      {"CM_QueryNodesStatusOfNVS", [](IotHandle* h) { return CM_QueryNodesStatusOfNVS(h, 5); }},
      {"CM_Snapshot", [](IotHandle* h) { return CM_Snapshot(h, 5); }},
      {"CM_GetSnapshot", [](IotHandle* h) { return CM_GetSnapshot(h, 5); }},
      {"CM_SetSnapshot", [](IotHandle* h) { return CM_SetSnapshot(h, "{}"); }},
      {"CM_PlayRecord", [](IotHandle* h) { return CM_PlayRecord(h, 5, "f"); }},
      {"CM_SeekRecord", [](IotHandle* h) { return CM_SeekRecord(h, 5, 1); }},
      {"CM_StopRecord", [](IotHandle* h) { return CM_StopRecord(h, 5); }},
      {"CM_GetRecordList", [](IotHandle* h) { return CM_GetRecordList(h, 5, "d", nullptr, 0); }},
      {"CM_PTUCtrl", [](IotHandle* h) { return CM_PTUCtrl(h, 5, 1, 1); }},
      {"CM_IOT_VLR_UpBar", [](IotHandle* h) { return CM_IOT_VLR_UpBar(h, 5, 1, 1, 1); }},
      {"CM_SendIOTPacket", [](IotHandle* h) { const unsigned char b[] = {1}; return CM_SendIOTPacket(h, 5, b, 1); }},
      {"CM_IOT_LAMP_Ctrl", [](IotHandle* h) { return CM_IOT_LAMP_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_LAMP_QueryStatus", [](IotHandle* h) { return CM_IOT_LAMP_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_EC_Ctrl", [](IotHandle* h) { return CM_IOT_EC_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_EC_QueryStatus", [](IotHandle* h) { return CM_IOT_EC_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_POWER_Ctrl", [](IotHandle* h) { return CM_IOT_POWER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_POWER_QueryStatus", [](IotHandle* h) { return CM_IOT_POWER_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_CONTROL_Ctrl", [](IotHandle* h) { return CM_IOT_CONTROL_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_CONTROL_QueryStatus", [](IotHandle* h) { return CM_IOT_CONTROL_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_CONTROLTC_Ctrl", [](IotHandle* h) { return CM_IOT_CONTROLTC_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_CONTROLTC_QueryStatus", [](IotHandle* h) { return CM_IOT_CONTROLTC_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_DEVPST_Ctrl", [](IotHandle* h) { return CM_IOT_DEVPST_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_WCAW_Ctrl", [](IotHandle* h) { return CM_IOT_WCAW_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_CC_Control", [](IotHandle* h) { return CM_IOT_CC_Control(h, 5, 1, 1, 1); }},
      {"CM_IOT_CC_QueryStatus", [](IotHandle* h) { return CM_IOT_CC_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_DCDB_QueryStatus", [](IotHandle* h) { return CM_IOT_DCDB_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_ADAPTER_Ctrl", [](IotHandle* h) { return CM_IOT_ADAPTER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_ADAPTER_ReqType", [](IotHandle* h) { return CM_IOT_ADAPTER_ReqType(h, 5, 1, 1); }},
      {"CM_IOT_ADAPTER_ReqData", [](IotHandle* h) { return CM_IOT_ADAPTER_ReqData(h, 5, 1, 1); }},
      {"CM_IOT_HEALTHMON_SetMode", [](IotHandle* h) { return CM_IOT_HEALTHMON_SetMode(h, 5, 1, 1, 1); }},
      {"CM_IOT_SPHYGMOMETER_Ctrl", [](IotHandle* h) { return CM_IOT_SPHYGMOMETER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_CallNVS", [](IotHandle* h) { return CM_CallNVS(h, 1000); }},
      {"CM_OpenNVSAudio", [](IotHandle* h) { return CM_OpenNVSAudio(h, 1000); }},
      {"CM_StopCall", [](IotHandle* h) { return CM_StopCall(h); }},
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
