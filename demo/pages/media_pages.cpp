#include "demo/pages/media_pages.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "demo/shell/sentrell_api.h"

namespace {

// Shared by every sound page, as the library has one call for all.
bool g_talking = false;
bool g_listening = false;

constexpr int kVideoWidth = 352, kVideoHeight = 288;

}  // namespace

struct CAudioPage::Line {
  int button;
  int icon;
  bool* active;
  decltype(&SentrellApi::CM_CallNVS) start;
  const char* activeCaption;  // the button ends the call
  const char* idleCaption;    // the button starts one, after a first stop
  const char* started;
  const char* ended;
};

namespace {

const CAudioPage::Line kTalk{IDC_AUDIO_TALK, IDC_AUDIO_TALK_ICON, &g_talking, &SentrellApi::CM_CallNVS,
                             "挂断",         "呼叫",              "呼叫成功", "挂断"};
const CAudioPage::Line kListen{IDC_AUDIO_LISTEN, IDC_AUDIO_LISTEN_ICON, &g_listening, &SentrellApi::CM_OpenNVSAudio,
                               "终止",           "监听",                "监听成功",   "终止"};

PageDescription DescribeAudio() {
  PageDescription page;
  page.controls = {
      Group(IDC_AUDIO_TALK_GROUP, "对讲功能").At(0, 0),
      Icon(IDC_AUDIO_TALK_ICON).In(IDC_AUDIO_TALK_GROUP).At(0, 0),
      Group(IDC_AUDIO_LISTEN_GROUP, "监听功能").At(1, 0),
      Icon(IDC_AUDIO_LISTEN_ICON).In(IDC_AUDIO_LISTEN_GROUP).At(0, 0),
  };
  // The page's own handlers run the calls (OnInitDialog).
  page.buttons = {
      Button(IDC_AUDIO_TALK, "对讲").NoHandler().In(IDC_AUDIO_TALK_GROUP).At(0, 1),
      Button(IDC_AUDIO_LISTEN, "监听").NoHandler().In(IDC_AUDIO_LISTEN_GROUP).At(0, 1),
  };
  return page;
}

PageDescription DescribeVideo() {
  PageDescription page;
  page.controls = {List(IDC_VIDEO_LIST, {{"名称", Align::kLeft, 160}, {"状态", Align::kLeft, 100}}).At(1, 0, 3)};
  ButtonRow stop = Button(IDC_VIDEO_STOP, "停止(&S)").NoSessionCheck().Calls([](KitPage& p) {
    return static_cast<CVideoPage&>(p).Video().StopPlay();
  });
  page.buttons = {
      Button(IDC_VIDEO_PLAY, "播放(&P)")
          .Calls([](KitPage& p) {
            return static_cast<CVideoPage&>(p).Video().StartPlay(
                theApp.m_strServer, theApp.m_strUser, theApp.m_strPassword,
                static_cast<std::int32_t>(theApp.NodeTarget.nvsid));
          })
          .At(0, 0),
      stop.At(0, 1),
  };
  return page;
}

}  // namespace

CAudioPage::CAudioPage(QWidget* parent) : KitPage(QString::fromUtf8("声音"), 167, DescribeAudio(), parent) {}

bool CAudioPage::Talking() { return g_talking; }
bool CAudioPage::Listening() { return g_listening; }

void CAudioPage::ResetCallStateForTesting() {
  g_talking = false;
  g_listening = false;
}

void CAudioPage::OnInitDialog() {
  KitPage::OnInitDialog();
  for (const Line* line : {&kTalk, &kListen}) {
    if (auto* button = qobject_cast<QPushButton*>(Widget(line->button)))
      connect(button, &QPushButton::clicked, this, [this, line] { OnCallButton(*line); });
  }
}

void CAudioPage::EnableCallButtons(bool enabled) {
  Enable(IDC_AUDIO_TALK, enabled);
  Enable(IDC_AUDIO_LISTEN, enabled);
}

void CAudioPage::EndCall(const Line& line) {
  *line.active = false;
  SetCaptionOf(line.button, line.idleCaption);
  SetIconState(line.icon, IconState::kPending);
}

void CAudioPage::OnCallButton(const Line& line) {
  // The call exports pump the program's messages while they wait: neither
  // button may start another call meanwhile.
  EnableCallButtons(false);
  if (!SessionReady()) {
    EnableCallButtons(true);
    return;
  }
  if (!*line.active) {
    switch ((Api().*line.start)(theApp.m_hSession, theApp.NodeTarget.nvsid)) {
      case 0:
        *line.active = true;
        SetCaptionOf(line.button, line.activeCaption);
        SetIconState(line.icon, IconState::kOn);
        Log(line.started);
        break;
      case 1:
        Log("占线");
        break;
      case 2:
        Log("被拒绝");
        break;
      case 3:
        Log("NVS音频设备未连接或异常");
        break;
      default:
        break;
    }
  } else if (Api().CM_StopCall(theApp.m_hSession) == 0) {
    // One call serves both: its end leaves neither active.
    EndCall(line);
    Log(line.ended);
    const Line& other = &line == &kTalk ? kListen : kTalk;
    if (*other.active) EndCall(other);
  }
  EnableCallButtons(true);
}

CVideoPage::CVideoPage(QWidget* parent) : KitPage(QString::fromUtf8("视频"), 168, DescribeVideo(), parent) {}

void CVideoPage::OnInitDialog() {
  KitPage::OnInitDialog();
  if (!m_video.Create(this, QString::number(IDC_VIDEO_CONTROL))) return;
  QWidget* view = m_video.widget();
  view->setMinimumSize(kVideoWidth, kVideoHeight);
  // Below the buttons and the list, taking the room that is left.
  if (auto* page = qobject_cast<QVBoxLayout*>(layout())) page->insertWidget(1, view, 1);
}
