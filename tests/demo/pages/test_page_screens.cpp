// Screenshots of the device pages in the main dialog.
#include "tests/demo/pages/page_screenshot.h"
#include "tests/demo/demo_fakes.h"

namespace {

TEST(PageScreens, AnalyserPages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CCO2Page", "CO2Page", "CPHPage"}) demotest::SavePageScreenshot(dialog, page);
}

TEST(PageScreens, RemoteAndMediaPages) {
  demotest::AppStateGuard state;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CTVPage", "CSTBPage", "CDVDPage", "CCDPage", "CSATPage", "CHCPage", "CACPage", "CAudioPage",
                           "CVideoPage"})
    demotest::SavePageScreenshot(dialog, page);
}

}  // namespace

namespace {

TEST(PageScreens, LaboratoryAssetCabinetAndMeterPages) {
TEST(PageScreens, LaboratoryVehicleAndSecurityPages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CDevPstPage", "CDevIOPage", "CICReadPage", "CCabMgzPage", "CSphygmoMeterPage"})
    demotest::SavePageScreenshot(dialog, page);
}

}  // namespace

namespace {

TEST(PageScreens, MeterPages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CPowerMeterControlPage", "CWaterMeterControl", "CGasMeterControlPage"})
    demotest::SavePageScreenshot(dialog, page);
}

}  // namespace

namespace {

TEST(PageScreens, CollectorReaderAndAdapterPages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CTHDCPage", "CTDCPage", "CIDCPage", "CDAISPage", "CDAPage", "CRFIDControl125KPage",
                           "CRFIDControl13M56Page", "CAdapterPage", "CAdapterFSPage", "CAdapterFXPage",
                           "CAdapterWSPage"})
  for (const char* page : {"CCCPage", "CWaterPage", "CControlTCPage", "CSLRCPage", "CControlPage", "CVLRPage",
                           "CCarRFIDPage", "CDCDBATPage", "CDCDBPage", "CWCAWPage", "CLabPage", "CSecurityPage"})
    demotest::SavePageScreenshot(dialog, page);
}

}  // namespace
