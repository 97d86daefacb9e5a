#pragma once
// The program's application object: the state that more than one page reads.
// Every member is read and written on the GUI thread only.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include <QIcon>

#include "demo/shell/key_codes.h"
#include "sentrell.h"

class CDemoDlg;

// The node that device commands address.
struct NodeTargetInfo {
  std::uint32_t nvsid = 0;
  std::uint32_t netid = 0;
  std::uint32_t nodeaddr = 0;
};

class CDemoApp {
 public:
  CDemoApp();

  // The folders (the program's own and the XML folder in it) and the icons.
  // `programDir` is the folder of the running program.
  void InitFoldersAndIcons(const std::string& programDir);
  // Drops the icons; called before the application object of Qt goes away.
  void ReleaseIcons();

  std::uint8_t KeyCode(std::string_view word) const { return LookUpKeyCode(m_keyCodes, word); }

  IotHandle* m_hSession = nullptr;  // null: the module is not initialised
  std::string m_strServer;
  std::string m_strUser;
  std::string m_strPassword;
  std::string m_strXmlPath;                 // ends with '/'
  std::array<std::string, 3> m_serverInfo;  // From, Contact and body of the server's greeting
  NodeTargetInfo NodeTarget;
  KeyCodeTable m_keyCodes;
  QIcon m_hIconPending;  // a command was sent, or the state is unknown
  QIcon m_hIconOn;
  QIcon m_hIconOff;
  QIcon m_hIconUnused;   // loaded and never shown
  QIcon m_hIconBusy;     // an operation is under way
  std::string m_strModuleDir;  // ends with '/'

  // The main dialog while it exists; pages log through it.
  CDemoDlg* m_pMainWnd = nullptr;
};

extern CDemoApp theApp;
