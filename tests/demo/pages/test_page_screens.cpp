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

TEST(PageScreens, LaboratoryVehicleAndSecurityPages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CCCPage", "CWaterPage", "CControlTCPage", "CSLRCPage", "CControlPage", "CVLRPage",
                           "CCarRFIDPage", "CDCDBATPage", "CDCDBPage", "CWCAWPage", "CLabPage", "CSecurityPage"})
    demotest::SavePageScreenshot(dialog, page);
}

}  // namespace
