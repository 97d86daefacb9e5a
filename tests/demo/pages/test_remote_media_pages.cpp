// The appliance remote pages (a key press sends its code on the page's
// channel), the sound page's talk and listen calls and the video page.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "demo/pages/infrared_pages.h"
#include "demo/pages/media_pages.h"
#include "tests/demo/page_fixture.h"

namespace {

using demotest::FakeApi;
using demotest::RecordedCall;

class PagesTest : public demotest::PageFixture {
 protected:
  PagesTest() { CAudioPage::ResetCallStateForTesting(); }
  ~PagesTest() override { CAudioPage::ResetCallStateForTesting(); }

  static QPushButton& Button(QWidget& page, int id) { return Control<QPushButton>(page, id); }
  static void TypeChannel(QWidget& page, const char* text) {
    Control<QLineEdit>(page, IDC_REMOTE_CHANNEL).setText(QString::fromLatin1(text));
  }
  static void PressKey(QWidget& page, int id) { QTest::mouseClick(&Button(page, id), Qt::LeftButton); }
  static RecordedCall Key(const char* name, long long channel, long long code) {
    return {name, {kHandle, kNvsid, kNetId, kNodeAddress, channel, code}};
  }
};

// The keys of the television, the set-top box and the players (id, code).
const std::map<int, int> kTelevisionKeys = {
    {1010, 1},  {1011, 2},  {1012, 3},  {1013, 4},  {1014, 5},  {1015, 6},  {1016, 17}, {1017, 18}, {1018, 19},
    {1019, 20}, {1020, 21}, {1021, 22}, {1022, 23}, {1023, 24}, {1024, 25}, {1025, 16}, {1026, 9},  {1027, 10},
    {1028, 11}, {1029, 12}, {1030, 8},  {1031, 7},  {1032, 48}, {1033, 13}, {1034, 51},
};

std::map<int, int> With(std::map<int, int> keys, const std::map<int, int>& more, const std::vector<int>& without = {}) {
  for (int id : without) keys.erase(id);
  for (const auto& [id, code] : more) keys[id] = code;
  return keys;
}

TEST_F(PagesTest, EveryKeyOfEveryApplianceSendsItsCodeOnTheChannel) {
  const std::map<int, int> player =
      With(kTelevisionKeys, {{1047, 50}, {1048, 50}, {1049, 50}, {1050, 50}, {1051, 50}, {1052, 50}, {1053, 50}});
  const std::map<int, int> satellite = With(kTelevisionKeys, {{1034, 96}, {1036, 97}, {1223, 98}});
  const std::map<int, int> cinema =
      With(kTelevisionKeys,
           {{1036, 100}, {1131, 99},  {1048, 50},  {1050, 50},  {1051, 50},  {1052, 50},  {1053, 50},
            {1225, 101}, {1226, 102}, {1227, 103}, {1228, 104}, {1229, 105}, {1230, 110}, {1231, 112},
            {1232, 113}, {1233, 114}, {1234, 115}, {1235, 116}, {1236, 117}},
           {1014, 1015, 1034});
  const std::map<int, int> airConditioner = {{1010, 1}, {1036, 2}, {1037, 3}, {1038, 4},
                                             {1039, 7}, {1040, 5}, {1041, 6}};
  CTVPage tv;
  CSTBPage stb;
  CDVDPage dvd;
  CCDPage cd;
  CVCRPage vcr;
  CSATPage sat;
  CHCPage hc;
  CACPage ac;
  struct Case {
    RemotePage* page;
    const char* caption;
    int dialogId;
    const char* name;
    long long channel;
    const std::map<int, int>& keys;
  };
  const std::vector<Case> cases = {
      {&tv, "家用电器::电视", 108, "CM_IOT_HA_TV", 1, kTelevisionKeys},
      {&stb, "家用电器::机顶盒", 110, "CM_IOT_HA_STB", 1, kTelevisionKeys},
      {&dvd, "家用电器::DVD", 132, "CM_IOT_HA_DVD", 1, player},
      {&cd, "家用电器::CD", 133, "CM_IOT_HA_CD", 1, player},
      {&vcr, "家用电器::VCR", 134, "CM_IOT_HA_VCR", 1, player},
      {&sat, "家用电器::卫星接收机", 131, "CM_IOT_HA_SAT", 1, satellite},
      {&hc, "家用电器::家庭影院", 178, "CM_IOT_HA_DVD", 0, cinema},
      {&ac, "家用电器::空调", 130, "CM_IOT_HA_AC", 1, airConditioner},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.page->Caption().toStdString(), c.caption);
    EXPECT_EQ(c.page->DialogId(), c.dialogId);
    c.page->EnsureCreated();
    // The page has these keys and no others.
    std::map<int, int> keys;
    for (const RemoteKey& key : c.page->Keys()) keys[key.id] = 0;
    EXPECT_EQ(keys.size(), c.page->Keys().size()) << c.caption;
    EXPECT_EQ(keys.size(), c.keys.size()) << c.caption;
    EXPECT_EQ(static_cast<std::size_t>(c.page->findChildren<QPushButton*>().size()), c.keys.size()) << c.caption;
    for (const auto& [id, code] : c.keys) {
      FakeApi fresh;
      PressKey(*c.page, id);
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{Key(c.name, c.channel, code)}) << c.caption << " " << id;
    }
  }
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(PagesTest, TheTypedChannelIsSentAndOutOfRangeChannelsAreRefused) {
  CTVPage tv;
  CHCPage hc;
  tv.EnsureCreated();
  hc.EnsureCreated();
  TypeChannel(tv, "3");
  PressKey(tv, 1016);
  EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{Key("CM_IOT_HA_TV", 3, 17)});

  // The home cinema takes any channel and sends its low byte.
  TypeChannel(hc, "300");
  PressKey(hc, 1048);
  EXPECT_EQ(FakeApi::CallsOf("CM_IOT_HA_DVD"), std::vector<RecordedCall>{Key("CM_IOT_HA_DVD", 44, 50)});

  for (const char* channel : {"256", "0"}) {
    FakeApi fresh;
    ui.messages.clear();
    TypeChannel(tv, channel);
    QTest::mousePress(&Button(tv, 1016), Qt::LeftButton);
    EXPECT_TRUE(FakeApi::Calls().empty()) << channel;
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("请输入一个介于 1 和 255 之间的整数。")}) << channel;
    EXPECT_FALSE(Button(tv, 1016).isDown()) << channel;
    EXPECT_FALSE(tv.OnKillActive()) << channel;
  }
  TypeChannel(tv, "255");
  EXPECT_TRUE(tv.OnKillActive());
}

TEST_F(PagesTest, OnlyALeftPressOnAKeySends) {
  CTVPage tv;
  tv.EnsureCreated();
  QTest::mousePress(&Control<QLineEdit>(tv, IDC_REMOTE_CHANNEL), Qt::LeftButton);
  QTest::mousePress(&tv, Qt::LeftButton);
  QTest::mouseClick(&Button(tv, 1010), Qt::RightButton);
  QPushButton* power = &Button(tv, 1010);
  power->setFocus();
  QTest::keyClick(power, Qt::Key_Space);
  QTest::keyClick(power, Qt::Key_Return);
  power->click();
  EXPECT_TRUE(FakeApi::Calls().empty());

  // A press and its release: one key, at the press.
  QTest::mousePress(power, Qt::LeftButton);
  EXPECT_EQ(FakeApi::Calls().size(), 1u);
  QTest::mouseRelease(power, Qt::LeftButton);
  EXPECT_EQ(FakeApi::Calls().size(), 1u);

  // Both presses of a double click send their key: the second arrives as
  // a double-click event.
  FakeApi fresh;
  QTest::mouseClick(&Button(tv, 1016), Qt::LeftButton);
  QTest::mouseDClick(&Button(tv, 1016), Qt::LeftButton);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{Key("CM_IOT_HA_TV", 1, 17), Key("CM_IOT_HA_TV", 1, 17)}));
}

TEST_F(PagesTest, WithoutASessionTheKeyGoesToTheLibraryWhichRefusesIt) {
  theApp.m_hSession = nullptr;
  FakeApi::SetResult(-1);
  CSATPage sat;
  sat.EnsureCreated();
  PressKey(sat, 1223);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_HA_SAT", {0, kNvsid, kNetId, kNodeAddress, 1, 98}}}));
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(PagesTest, TheAirConditionerAsksForItsStateWhenFirstShown) {
  CACPage ac;
  EXPECT_TRUE(FakeApi::Calls().empty());
  ac.EnsureCreated();
  ac.EnsureCreated();
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_HA_GetACCurValue", {kHandle, kNvsid, kNetId, kNodeAddress, 1}}}));
}

class AudioTest : public PagesTest {
 protected:
  AudioTest() { audio.EnsureCreated(); }
  QPushButton* Talk() { return &Button(audio, IDC_AUDIO_TALK); }
  QPushButton* Listen() { return &Button(audio, IDC_AUDIO_LISTEN); }
  CAudioPage audio;
};

TEST_F(AudioTest, WithoutASessionNothingIsCalledAndTheButtonsStayEnabled) {
  theApp.m_hSession = nullptr;
  Talk()->click();
  Listen()->click();
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages(), (QStringList{QStringLiteral("请先初始化模块!"), QStringLiteral("请先初始化模块!")}));
  EXPECT_TRUE(Talk()->isEnabled());
  EXPECT_TRUE(Listen()->isEnabled());
}

TEST_F(AudioTest, StartResultsGiveTheirLinesAndStates) {
  struct Case {
    int result;
    const char* talkLine;    // "": nothing logged
    const char* listenLine;
  };
  const std::vector<Case> cases = {
      {0, "呼叫成功", "监听成功"},
      {1, "占线", "占线"},
      {2, "被拒绝", "被拒绝"},
      {3, "NVS音频设备未连接或异常", "NVS音频设备未连接或异常"},
      {4, "", ""},
      {5, "", ""},
      {-1, "", ""},
  };
  for (const Case& c : cases) {
    for (bool talk : {true, false}) {
      CAudioPage::ResetCallStateForTesting();
      CAudioPage page;
      page.EnsureCreated();
      FakeApi fresh;
      FakeApi::SetResult(c.result);
      const int button = talk ? IDC_AUDIO_TALK : IDC_AUDIO_LISTEN;
      const int icon = talk ? IDC_AUDIO_TALK_ICON : IDC_AUDIO_LISTEN_ICON;
      const QStringList before = LogLines();
      Button(page, button).click();
      const RecordedCall expected{talk ? "CM_CallNVS" : "CM_OpenNVSAudio", {kHandle, kNvsid}};
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{expected}) << c.result;
      const std::string line = talk ? c.talkLine : c.listenLine;
      const QStringList expectedLines =
          line.empty() ? QStringList{} : QStringList{Logged(line)};
      EXPECT_EQ(LogLines().mid(before.size()), expectedLines) << c.result;
      const bool started = c.result == 0;
      EXPECT_EQ(talk ? CAudioPage::Talking() : CAudioPage::Listening(), started) << c.result;
      EXPECT_EQ(talk ? CAudioPage::Listening() : CAudioPage::Talking(), false) << c.result;
      const char* caption = started ? (talk ? "挂断" : "终止") : (talk ? "对讲" : "监听");
      EXPECT_EQ(Button(page, button).text(), QString::fromUtf8(caption)) << c.result;
      EXPECT_EQ(page.IconStateOf(icon), started ? IconState::kOn : IconState::kTemplate) << c.result;
    }
  }
}

TEST_F(AudioTest, AFailedStartCanBeTriedAgainAndAStopEndsTheCall) {
  struct Case {
    int button;
    int icon;
    const char* start;  // the export that starts the line
    bool (*active)();
    const char* firstCaption;  // idle, until the first stop
    const char* activeCaption;
    const char* idleCaption;  // idle, after a stop
    const char* ended;        // the line a stop logs
  };
  const std::vector<Case> cases = {
      {IDC_AUDIO_TALK, IDC_AUDIO_TALK_ICON, "CM_CallNVS", &CAudioPage::Talking, "对讲", "挂断", "呼叫", "挂断"},
      {IDC_AUDIO_LISTEN, IDC_AUDIO_LISTEN_ICON, "CM_OpenNVSAudio", &CAudioPage::Listening, "监听", "终止", "监听",
       "终止"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    CAudioPage::ResetCallStateForTesting();
    CAudioPage page;
    page.EnsureCreated();
    FakeApi fresh;
    QPushButton& button = Button(page, c.button);
    FakeApi::SetResult(c.start, 1);
    button.click();
    button.click();
    EXPECT_EQ(FakeApi::CallsOf(c.start).size(), 2u);
    EXPECT_EQ(button.text().toStdString(), c.firstCaption);

    FakeApi::SetResult(c.start, 0);
    button.click();
    EXPECT_EQ(button.text().toStdString(), c.activeCaption);
    // A stop the library refuses leaves the line running.
    FakeApi::SetResult("CM_StopCall", -1);
    QStringList before = LogLines();
    button.click();
    EXPECT_TRUE(c.active());
    EXPECT_EQ(button.text().toStdString(), c.activeCaption);
    EXPECT_EQ(page.IconStateOf(c.icon), IconState::kOn);
    EXPECT_EQ(LogLines().mid(before.size()).join('\n').toStdString(), "");

    FakeApi::SetResult("CM_StopCall", 0);
    before = LogLines();
    button.click();
    EXPECT_EQ(FakeApi::CallsOf("CM_StopCall"),
              (std::vector<RecordedCall>{{"CM_StopCall", {kHandle}}, {"CM_StopCall", {kHandle}}}));
    EXPECT_FALSE(c.active());
    EXPECT_EQ(button.text().toStdString(), c.idleCaption);
    EXPECT_EQ(page.IconStateOf(c.icon), IconState::kPending);
    EXPECT_EQ(LogLines().mid(before.size()).join('\n').toStdString(), Logged(c.ended).toStdString());
    // The next press starts again.
    button.click();
    EXPECT_EQ(FakeApi::CallsOf(c.start).size(), 4u);
  }
}

TEST_F(AudioTest, OneStopEndsTalkAndListenTogether) {
  FakeApi::SetResult(0);
  Talk()->click();
  Listen()->click();
  ASSERT_TRUE(CAudioPage::Talking());
  ASSERT_TRUE(CAudioPage::Listening());
  Talk()->click();
  EXPECT_EQ(FakeApi::CallsOf("CM_StopCall").size(), 1u);
  EXPECT_FALSE(CAudioPage::Talking());
  EXPECT_FALSE(CAudioPage::Listening());
  EXPECT_EQ(Talk()->text(), QStringLiteral("呼叫"));
  EXPECT_EQ(Listen()->text(), QStringLiteral("监听"));
  EXPECT_EQ(audio.IconStateOf(IDC_AUDIO_TALK_ICON), IconState::kPending);
  EXPECT_EQ(audio.IconStateOf(IDC_AUDIO_LISTEN_ICON), IconState::kPending);
  // Idle again: the listen button starts a new session.
  Listen()->click();
  EXPECT_EQ(FakeApi::CallsOf("CM_OpenNVSAudio").size(), 2u);
}

TEST_F(AudioTest, BothCallButtonsAreDisabledWhileACallExportRuns) {
  FakeApi::SetResult(0);
  std::vector<std::string> seen;
  FakeApi::SetDuringCall([&](const std::string& name) {
    seen.push_back(name + (Talk()->isEnabled() || Listen()->isEnabled() ? " enabled" : " disabled"));
  });
  Talk()->click();
  Listen()->click();
  Listen()->click();
  const std::vector<std::string> disabled = {"CM_CallNVS disabled", "CM_OpenNVSAudio disabled", "CM_StopCall disabled"};
  EXPECT_EQ(seen, disabled);
  EXPECT_TRUE(Talk()->isEnabled());
  EXPECT_TRUE(Listen()->isEnabled());
}

TEST_F(PagesTest, VideoPagePlaysTheGatewayAndStopsWithoutASession) {
  CVideoPage page;
  page.EnsureCreated();
  auto* list = &Control<QTableWidget>(page, IDC_VIDEO_LIST);
  ASSERT_EQ(list->columnCount(), 2);
  EXPECT_EQ(list->horizontalHeaderItem(0)->text(), QStringLiteral("名称"));
  EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("状态"));
  EXPECT_EQ(list->rowCount(), 0);
  ASSERT_NE(page.findChild<QWidget*>(QString::number(IDC_VIDEO_CONTROL)), nullptr);
  video.calls->clear();

  theApp.m_hSession = nullptr;
  Button(page, IDC_VIDEO_PLAY).click();
  Button(page, IDC_VIDEO_STOP).click();
  EXPECT_EQ(Messages(), QStringList{QStringLiteral("请先初始化模块!")});
  EXPECT_EQ(*video.calls, std::vector<std::string>{"1139:StopPlay"});

  theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
  Button(page, IDC_VIDEO_PLAY).click();
  EXPECT_EQ(video.calls->back(), "1139:StartPlay(" + theApp.m_strServer + "," + theApp.m_strUser + "," +
                                     theApp.m_strPassword + "," + std::to_string(kNvsid) + ")");
  EXPECT_EQ(Messages().size(), 1);
}

}  // namespace
