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

TEST(PageScreens, DoorLockPages) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  for (const char* page : {"CDLockPage", "CDLockFingerPage"}) demotest::SavePageScreenshot(dialog, page);
}

}  // namespace
