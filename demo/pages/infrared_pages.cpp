#include "demo/pages/infrared_pages.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

#include <QEvent>
#include <QMouseEvent>

namespace {

using Keys = std::vector<RemoteKey>;

Keys Join(std::initializer_list<Keys> parts) {
  Keys keys;
  for (const Keys& part : parts) keys.insert(keys.end(), part.begin(), part.end());
  return keys;
}

const Keys kVolume = {{1010, "POWER"}, {1011, "MUTE"}, {1012, "V+"}, {1013, "V-"}};
const Keys kProgramme = {{1014, "P+"}, {1015, "P-"}};
const Keys kNavigation = {
    {1016, "NUM1"}, {1017, "NUM2"}, {1018, "NUM3"}, {1019, "NUM4"}, {1020, "NUM5"}, {1021, "NUM6"},
    {1022, "NUM7"}, {1023, "NUM8"}, {1024, "NUM9"}, {1025, "NUM0"}, {1026, "UP"},   {1027, "DOWN"},
    {1028, "LEFT"}, {1029, "RIGHT"}, {1030, "OK"},  {1031, "DISP"}, {1032, "MENU"}, {1033, "BACK"},
};
const Keys kTelevision = Join({kVolume, kProgramme, kNavigation, {{1034, "SOURCE"}}});
const Keys kPlayer = Join({kTelevision,
                           {{1047, "PLAY"}, {1048, "STOP"}, {1049, "PAUSE"}, {1050, "PREV"}, {1051, "NEXT"},
                            {1052, "FF"}, {1053, "FR"}}});

const ApplianceRemote kTV{"家用电器::电视", 108, &SentrellApi::CM_IOT_HA_TV, 1, true, kTelevision, false};
const ApplianceRemote kSTB{"家用电器::机顶盒", 110, &SentrellApi::CM_IOT_HA_STB, 1, true, kTelevision, false};
const ApplianceRemote kDVD{"家用电器::DVD", 132, &SentrellApi::CM_IOT_HA_DVD, 1, true, kPlayer, false};
const ApplianceRemote kCD{"家用电器::CD", 133, &SentrellApi::CM_IOT_HA_CD, 1, true, kPlayer, false};
const ApplianceRemote kVCR{"家用电器::VCR", 134, &SentrellApi::CM_IOT_HA_VCR, 1, true, kPlayer, false};
const ApplianceRemote kSAT{"家用电器::卫星接收机",
                           131,
                           &SentrellApi::CM_IOT_HA_SAT,
                           1,
                           true,
                           Join({kVolume, kProgramme, kNavigation,
                                 {{1034, "SAT_SRC"}, {1036, "SAT_PAGEUP"}, {1223, "SAT_PAGEDOWN"}}}),
                           false};
// The home cinema is sent as a DVD player, on any channel. Its transport
// keys send the player's words.
const ApplianceRemote kHC{"家用电器::家庭影院",
                          178,
                          &SentrellApi::CM_IOT_HA_DVD,
                          0,
                          false,
                          Join({kVolume, kNavigation,
                                {{1036, "HC_DISK"}, {1131, "HC_OPEN"}, {1048, "STOP"}, {1050, "PREV"},
                                 {1051, "NEXT"}, {1052, "FF"}, {1053, "FR"}, {1225, "HC_AUDIOSOURCE"},
                                 {1226, "HC_BROADCAST"}, {1227, "HC_USB"}, {1228, "HC_AUX"}, {1229, "HC_RADIOSET"},
                                 {1230, "HC_PLAYPAUSE"}, {1231, "HC_REPEAT"}, {1232, "HC_SOUNDEFFECT"},
                                 {1233, "HC_3DAUDIO"}, {1234, "HC_SOUNDSYNC"}, {1235, "HC_ZOOM"},
                                 {1236, "HC_SUBTITLE"}}}),
                          false,
                          // room for its longest captions
                          5};
const ApplianceRemote kAC{"家用电器::空调",
                          130,
                          &SentrellApi::CM_IOT_HA_AC,
                          1,
                          true,
                          {{1010, "POWER"},
                           {1036, "T+"},
                           {1037, "T-"},
                           {1038, "FANSPEED"},
                           {1039, "MODE"},
                           {1040, "VSWING"},
                           {1041, "HSWING"}},
                          true};

// The caption of a key: its word without the appliance's prefix, digits
// for the number keys.
std::string CaptionOf(std::string_view word) {
  for (std::string_view prefix : {"NUM", "HC_", "SAT_"}) {
    if (word.starts_with(prefix)) return std::string(word.substr(prefix.size()));
  }
  return std::string(word);
}

PageDescription Describe(const ApplianceRemote& appliance) {
  PageDescription page;
  ControlRow channel =
      Edit(IDC_REMOTE_CHANNEL, "通道:", ValueKind::kUInt).Initial(appliance.channel).At(0, 0);
  if (appliance.channelRange) channel.Range(1, 255);
  page.controls = {channel};
  for (std::size_t i = 0; i < appliance.keys.size(); ++i) {
    const int place = static_cast<int>(i);
    const RemoteKey& key = appliance.keys[i];
    // The page's event filter sends the key; a click does nothing.
    page.buttons.push_back(
        Button(key.id, CaptionOf(key.word)).NoHandler().At(1 + place / appliance.keyColumns, place % appliance.keyColumns));
  }
  return page;
}

}  // namespace

RemotePage::RemotePage(const ApplianceRemote& appliance, QWidget* parent)
    : KitPage(QString::fromUtf8(appliance.caption), appliance.dialogId, Describe(appliance), parent),
      m_appliance(appliance) {}

void RemotePage::OnInitDialog() {
  KitPage::OnInitDialog();
  // Keys of one width, that of the widest caption.
  int width = 0;
  for (const RemoteKey& key : m_appliance.keys) {
    if (QWidget* button = Widget(key.id)) width = std::max(width, button->sizeHint().width());
  }
  for (const RemoteKey& key : m_appliance.keys) {
    if (QWidget* button = Widget(key.id)) {
      button->installEventFilter(this);
      button->setMinimumWidth(width);
    }
  }
  if (m_appliance.readsAirConditioner)
    Send(Api().CM_IOT_HA_GetACCurValue, static_cast<int>(UInt(IDC_REMOTE_CHANNEL) & 0xFF));
}

bool RemotePage::eventFilter(QObject* watched, QEvent* event) {
  // Each press of the left button sends its key, also the second press of
  // a double click, which arrives as a double-click event.
  const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
  if (!press || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return KitPage::eventFilter(watched, event);
  for (const RemoteKey& key : m_appliance.keys) {
    if (Widget(key.id) != watched) continue;
    // A refused channel was just reported; the button does not go down.
    if (!ReadValues()) return true;
    SendKey(key);
    break;
  }
  return KitPage::eventFilter(watched, event);
}

void RemotePage::SendKey(const RemoteKey& key) {
  // No session check: without a session the library refuses the null handle.
  Send(Api().*m_appliance.send, static_cast<int>(UInt(IDC_REMOTE_CHANNEL) & 0xFF),
       static_cast<int>(theApp.KeyCode(key.word)));
}

CTVPage::CTVPage(QWidget* parent) : RemotePage(kTV, parent) {}
CSTBPage::CSTBPage(QWidget* parent) : RemotePage(kSTB, parent) {}
CDVDPage::CDVDPage(QWidget* parent) : RemotePage(kDVD, parent) {}
CCDPage::CCDPage(QWidget* parent) : RemotePage(kCD, parent) {}
CVCRPage::CVCRPage(QWidget* parent) : RemotePage(kVCR, parent) {}
CSATPage::CSATPage(QWidget* parent) : RemotePage(kSAT, parent) {}
CHCPage::CHCPage(QWidget* parent) : RemotePage(kHC, parent) {}
CACPage::CACPage(QWidget* parent) : RemotePage(kAC, parent) {}
