#include "demo/shell/demo_app.h"

#include "demo/shell/state_icons.h"

CDemoApp theApp;

CDemoApp::CDemoApp()
    : m_strServer("127.0.0.1"), m_strUser("admin"), m_strPassword("1"), m_keyCodes(MakeKeyCodeTable()) {}

void CDemoApp::InitFoldersAndIcons(const std::string& programDir) {
  m_strModuleDir = programDir;
  if (m_strModuleDir.empty() || m_strModuleDir.back() != '/') m_strModuleDir.push_back('/');
  m_strXmlPath = m_strModuleDir + "xml/";

  m_hIconPending = LoadDemoIcon(IDI_PENDING);
  m_hIconOn = LoadDemoIcon(IDI_ON);
  m_hIconOff = LoadDemoIcon(IDI_OFF);
  m_hIconUnused = LoadDemoIcon(IDI_UNUSED);
  m_hIconBusy = LoadDemoIcon(IDI_BUSY);
}

void CDemoApp::ReleaseIcons() {
  m_hIconPending = QIcon();
  m_hIconOn = QIcon();
  m_hIconOff = QIcon();
  m_hIconUnused = QIcon();
  m_hIconBusy = QIcon();
}
