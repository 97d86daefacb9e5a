// Screenshots of the device pages in the main dialog, kept in the build tree.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "demo/shell/device_page.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/pages/page_screenshot.h"
#include "tests/demo/pages/target_replies.h"

namespace {

void SaveScreens(std::initializer_list<const char*> pages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : pages) demotest::SavePageScreenshot(dialog, page);
}

TEST(PageScreens, AnalyserPages) { SaveScreens({"CCO2Page", "CO2Page", "CPHPage"}); }

TEST(PageScreens, RemoteAndMediaPages) {
  SaveScreens({"CTVPage", "CSTBPage", "CDVDPage", "CCDPage", "CSATPage", "CHCPage", "CACPage", "CAudioPage",
               "CVideoPage"});
}

TEST(PageScreens, LaboratoryAssetAndCabinetPages) {
  SaveScreens({"CDevPstPage", "CDevIOPage", "CICReadPage", "CCabMgzPage", "CSphygmoMeterPage"});
}

TEST(PageScreens, MeterPages) { SaveScreens({"CPowerMeterControlPage", "CWaterMeterControl", "CGasMeterControlPage"}); }

TEST(PageScreens, CollectorReaderAndAdapterPages) {
  SaveScreens({"CTHDCPage", "CTDCPage", "CIDCPage", "CDAPage", "CRFIDControl125KPage",
               "CRFIDControl13M56Page", "CAdapterPage", "CAdapterFSPage", "CAdapterFXPage", "CAdapterWSPage"});
}

TEST(PageScreens, LaboratoryVehicleAndSecurityPages) {
  SaveScreens({"CCCPage", "CWaterPage", "CControlTCPage", "CSLRCPage", "CControlPage", "CVLRPage", "CCarRFIDPage",
               "CDCDBATPage", "CDCDBPage", "CWCAWPage", "CLabPage", "CSecurityPage"});
}

// The dual-axis page with rows in its sample list and its alarm list: six
// samples of both axes and two alarms, as the library decodes them.
TEST(PageScreens, DualAxisPageWithRowsInBothLists) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  auto* page = dynamic_cast<DevicePage*>(dialog.FindPage("CDAISPage"));
  ASSERT_NE(page, nullptr);
  dialog.show();
  ASSERT_TRUE(dialog.Sheet().SetActivePage(page));
  QApplication::processEvents();
  constexpr std::uint8_t kDualAxis = 60;
  constexpr std::uint8_t kSamples = 0x5A;
  constexpr std::uint8_t kAlarm = 0x5F;
  // Count, precision, result, a spare byte, then 32-bit readings.
  std::vector<std::uint8_t> samples = {12, 2, 0, 0};
  for (int i = 0; i < 12; ++i) {
    const auto reading = static_cast<std::uint32_t>(i % 2 == 0 ? 1500 + 25 * i : -800 - 40 * i);
    for (int shift = 0; shift < 32; shift += 8) samples.push_back(static_cast<std::uint8_t>(reading >> shift));
  }
  page->QueueReply(demotest::Decoded(kDualAxis, kSamples, samples));
  const std::vector<std::uint8_t> alarm = {0, 2, 0, 0, 0x10, 0x27, 0, 0, 0xF0, 0xD8, 0xFF, 0xFF};
  page->QueueReply(demotest::Decoded(kDualAxis, kAlarm, alarm));
  page->QueueReply(demotest::Decoded(kDualAxis, kAlarm, alarm));
  page->OnDeviceReply(0, 0);
  demotest::SavePageScreenshot(dialog, "CDAISPage");
}

TEST(PageScreens, DoorLockPages) { SaveScreens({"CDLockPage", "CDLockFingerPage"}); }

}  // namespace
