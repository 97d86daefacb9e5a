#pragma once
// The first page of the tree: initialises and frees the library's session,
// chooses its XML folder, logs in to the platform server and chooses where
// the library's notifications go (the main dialog's window, a notification
// thread, the UDP receiver).
#include <string>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "demo/shell/data_exchange.h"
#include "demo/shell/login_combo_box.h"
#include "demo/shell/property_page.h"

class CModulePage : public CPropertyPage {
  Q_OBJECT

 public:
  // Sizes of the buffers handed to the library, as its header states them.
  static constexpr std::size_t kServerFromSize = 32;
  static constexpr std::size_t kServerContactSize = 32;
  static constexpr std::size_t kServerBodySize = 512;
  static constexpr std::size_t kXmlPathSize = 260;

  explicit CModulePage(QWidget* parent = nullptr);

  void OnInitDialog() override;

  void OnInit();
  void OnSetXMLPath();
  void OnLogin();
  void OnFree();
  void OnGetXMLPath();
  void OnSetNotifyTarget();

 private:
  bool SessionReady();
  void UpdateData(bool saveAndValidate);

  // Members, bound to the controls.
  std::string m_strServer;
  std::string m_strPassword;
  std::string m_strUser;
  bool m_bThread = false;
  bool m_bUdp = true;
  bool m_bWindow = false;

  QGroupBox m_loginGroup;
  QLabel m_serverLabel;
  QLabel m_userLabel;
  QLabel m_passwordLabel;
  CLoginComboBox m_server;
  CLoginComboBox m_user;
  CLoginComboBox m_password;
  QPushButton m_init;
  QPushButton m_setXmlPath;
  QPushButton m_login;
  QPushButton m_free;
  QPushButton m_getXmlPath;
  QPushButton m_setNotifyTarget;
  QCheckBox m_window;
  QCheckBox m_thread;
  QCheckBox m_udp;
  DataExchange m_dataExchange;
};
