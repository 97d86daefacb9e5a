#pragma once
// The remote controls of household appliances: a grid of keys and the
// channel of the infrared transmitter. A key is sent when the left mouse
// button goes down on it; the keyboard sends nothing.
#include <cstdint>
#include <vector>

#include "demo/pages/page_kit.h"
#include "demo/shell/sentrell_api.h"

enum RemoteControl {
  IDC_REMOTE_CHANNEL = 1054,
};

// A key button: its control id and the word of its key code.
struct RemoteKey {
  int id;
  const char* word;
};

// What one appliance's page is made of.
struct ApplianceRemote {
  const char* caption;
  int dialogId;
  decltype(&SentrellApi::CM_IOT_HA_TV) send;
  std::uint32_t channel;  // the channel the page starts with
  bool channelRange;      // 1..255 checked whenever the page is read
  std::vector<RemoteKey> keys;
  bool readsAirConditioner;  // asks for the air conditioner's state when first shown
  int keyColumns = 6;        // keys in a row
};

class RemotePage : public KitPage {
  Q_OBJECT

 public:
  RemotePage(const ApplianceRemote& appliance, QWidget* parent = nullptr);

  void OnInitDialog() override;
  const std::vector<RemoteKey>& Keys() const { return m_appliance.keys; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SendKey(const RemoteKey& key);

  const ApplianceRemote& m_appliance;
};

class CTVPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CTVPage(QWidget* parent = nullptr);
};

class CSTBPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CSTBPage(QWidget* parent = nullptr);
};

class CDVDPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CDVDPage(QWidget* parent = nullptr);
};

class CCDPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CCDPage(QWidget* parent = nullptr);
};

// Built like the others; the main dialog has no row for it.
class CVCRPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CVCRPage(QWidget* parent = nullptr);
};

class CSATPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CSATPage(QWidget* parent = nullptr);
};

class CHCPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CHCPage(QWidget* parent = nullptr);
};

class CACPage : public RemotePage {
  Q_OBJECT

 public:
  explicit CACPage(QWidget* parent = nullptr);
};
