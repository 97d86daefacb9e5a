// Screenshots of the device pages in the main dialog, kept in the build tree.
#include <initializer_list>

#include "tests/demo/demo_fakes.h"
#include "tests/demo/pages/page_screenshot.h"

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
  SaveScreens({"CTHDCPage", "CTDCPage", "CIDCPage", "CDAISPage", "CDAPage", "CRFIDControl125KPage",
               "CRFIDControl13M56Page", "CAdapterPage", "CAdapterFSPage", "CAdapterFXPage", "CAdapterWSPage"});
}

TEST(PageScreens, LaboratoryVehicleAndSecurityPages) {
  SaveScreens({"CCCPage", "CWaterPage", "CControlTCPage", "CSLRCPage", "CControlPage", "CVLRPage", "CCarRFIDPage",
               "CDCDBATPage", "CDCDBPage", "CWCAWPage", "CLabPage", "CSecurityPage"});
}

TEST(PageScreens, DoorLockPages) { SaveScreens({"CDLockPage", "CDLockFingerPage"}); }

}  // namespace
