// The electricity, water and gas meter pages: their buttons and exports, the
// meter address that the setting commands carry and wait for, and the
// replies of the stand-in's simulated meters read through the library.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "demo/pages/meter_pages.h"
#include "library/api/commands_meters.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::FakeApi;
using demotest::RecordedCall;

constexpr std::uint8_t kPowerCode = 95;
constexpr std::uint8_t kWaterCode = 65;
constexpr std::uint8_t kGasCode = 66;
constexpr long long kMeterCode1 = 0x52000006;

// 12345678901 = 0x2'DFDC1C35.
constexpr std::uint64_t kAddress = 12345678901ull;
constexpr long long kLow = 0xDFDC1C35;
constexpr long long kHigh = 2;

class MeterPagesTest : public demotest::PageFixture {
 protected:
  MeterPagesTest() {
    for (KitPage* page : std::initializer_list<KitPage*>{&power, &water, &gas}) page->EnsureCreated();
  }

  // A simulated meter behind the target node.
  static testsupport::SimulatedDevice Meter(std::uint8_t code) {
    return testsupport::SimulatedDevice(code, kNetId, kNodeAddress, kNvsid);
  }
  static QString TextOf(QWidget& page, int id) { return Control<QLineEdit>(page, id).text(); }
  static void Type(QWidget& page, int id, const char* text) {
    Control<QLineEdit>(page, id).setText(QString::fromUtf8(text));
  }
  // The meter learns `kAddress` from a command that carries it and answers
  // the meter-number query with it.
  static std::string MeterNumberReply(std::uint8_t code) {
    testsupport::SimulatedDevice meter = Meter(code);
    if (code == kPowerCode) {
      meter.Send(PowerMeterCtrlSetAccountDay(kLow, kHigh, 0, 0, 1, 1));
      return meter.One(PowerMeterCtrlQueryParameter(12));
    }
    meter.Send(code == kWaterCode ? WaterMeterCtrlCalibrate(kLow, kHigh, 1.0f) : GasMeterCtrlCalibrate(kLow, kHigh, 1.0f));
    return meter.One(code == kWaterCode ? WaterMeterCtrlQueryMeterId() : GasMeterCtrlQueryMeterId());
  }
  // The library's text for a frame of the meter behind the target node.
  static std::string Frame(std::uint8_t code, std::uint8_t function, std::vector<std::uint8_t> payload = {}) {
    payload.resize(std::max<std::size_t>(payload.size(), 16));
    return testsupport::LibraryReplyText(kNvsid, standin::DeviceFrame{kNetId, kNodeAddress, code, function, payload});
  }
  RecordedCall Call(const char* name, std::vector<long long> args = {}, std::vector<std::string> texts = {},
                    std::vector<double> reals = {}) const {
    std::vector<long long> all = {kHandle, kNvsid, kNetId, kNodeAddress};
    all.insert(all.end(), args.begin(), args.end());
    return RecordedCall(name, std::move(all), std::move(texts), std::move(reals));
  }

  CPowerMeterControlPage power;
  CWaterMeterControl water;
  CGasMeterControlPage gas;
};

TEST_F(MeterPagesTest, PowerQueriesAndCommandsSendAndSetTheFeedbackIconWhateverTheResult) {
  struct Case {
    int button;
    RecordedCall call;
  };
  const std::vector<Case> cases = {
      {1292, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {2})},
      {1293, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {3})},
      {1295, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {4})},
      {1296, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {5})},
      {1297, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {7})},
      {1298, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {8})},
      {1299, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {12})},
      {1300, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {13})},
      {1301, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {1})},  // beside "可用电量:"
      {1302, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {0})},  // beside "当前设置的最大电流:"
      {1303, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {6})},
      {1304, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {9})},
      {1305, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {10})},
      {1306, Call("CM_IOT_PowerMeterCtrl_QueryParameter", {11})},
      {1005, Call("CM_IOT_PowerMeterCtrl_Init")},
      {1313, Call("CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount")},
      {1314, Call("CM_IOT_PowerMeterCtrl_RelayOn")},
      {1036, Call("CM_IOT_PowerMeterCtrl_RelayOff")},
      {1329, Call("CM_IOT_PowerMeterCtrl_QueryData")},
  };
  // The query and command buttons do not read the page: an invalid number
  // in an edit stops none of them.
  Type(power, IDC_PM_AVAILABLE, "x");
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      power.SetIconState(IDC_PM_FEEDBACK_ICON, IconState::kOn);
      Control<QPushButton>(power, c.button).click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call}) << c.button << " " << result;
      EXPECT_EQ(power.IconStateOf(IDC_PM_FEEDBACK_ICON), IconState::kPending) << c.button << " " << result;
    }
  }
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(MeterPagesTest, SettingsWaitForTheMeterNumber) {
  const struct {
    KitPage* page;
    std::vector<int> buttons;
    const char* message;
  } pages[] = {
      {&power, {1312, 1308, 1119, 1311, 1310}, "先获取表号!"},
      {&water, {1335, 1336, 1337, 1338, 1334}, "需要先查询表号"},
      {&gas, {1335}, "需要先查询表号"},
  };
  for (const auto& p : pages) {
    for (int button : p.buttons) {
      ui.messages.clear();
      Control<QPushButton>(*p.page, button).click();
      EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8(p.message)}) << button;
    }
  }
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(power.IconStateOf(IDC_PM_FEEDBACK_ICON), IconState::kTemplate);
  EXPECT_EQ(water.IconStateOf(IDC_WM_VALVE_ICON), IconState::kTemplate);
  EXPECT_EQ(Control<QPushButton>(water, IDC_WM_FACTORY_MODE).text(), QString::fromUtf8("开启工厂模式"));
}

TEST_F(MeterPagesTest, PowerSettingsCarryTheMeterNumberAndTheMeterCodes) {
  Show(power, MeterNumberReply(kPowerCode));
  EXPECT_EQ(TextOf(power, IDC_METER_NUMBER), QStringLiteral("12345678901"));
  EXPECT_EQ(power.MeterAddress(), kAddress);

  Type(power, IDC_PM_DATE, "2024-1-2");
  Type(power, IDC_PM_TIME, "8:30:5");
  Type(power, IDC_PM_AVAILABLE, "12.5");
  Type(power, IDC_PM_MAXIMUM_CURRENT, "60.25");
  Type(power, IDC_PM_ACCOUNT_DAY, "1 0");
  const std::vector<long long> head = {kLow, kHigh, kMeterCode1, 0};
  const auto with = [&head](std::vector<long long> more) {
    std::vector<long long> all = head;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  struct Case {
    int button;
    RecordedCall call;
  };
  const std::vector<Case> cases = {
      {1308, Call("CM_IOT_PowerMeterCtrl_SetDate", head, {"2024-1-2"})},
      {1119, Call("CM_IOT_PowerMeterCtrl_SetTime", head, {"8:30:5"})},
      {1312, Call("CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount", head, {}, {12.5})},
      {1311, Call("CM_IOT_PowerMeterCtrl_SetMaximumCurrent", head, {}, {60.25})},
      {1310, Call("CM_IOT_PowerMeterCtrl_SetAccountDay", with({1, 0}))},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      power.SetIconState(IDC_PM_FEEDBACK_ICON, IconState::kOff);
      Control<QPushButton>(power, c.button).click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call}) << c.button << " " << result;
      EXPECT_EQ(power.IconStateOf(IDC_PM_FEEDBACK_ICON), IconState::kPending) << c.button;
    }
  }
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_TRUE(Messages().isEmpty());

  // An amount that is no number is refused with its message; nothing is sent.
  FakeApi fresh;
  Type(power, IDC_PM_AVAILABLE, "abc");
  power.SetIconState(IDC_PM_FEEDBACK_ICON, IconState::kOff);
  Control<QPushButton>(power, 1312).click();
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), 1);
  EXPECT_EQ(power.IconStateOf(IDC_PM_FEEDBACK_ICON), IconState::kOff);
}

TEST_F(MeterPagesTest, SettleDayTextGivesDayAndHourWithZeroForWhatIsMissing) {
  Show(power, MeterNumberReply(kPowerCode));
  const struct {
    const char* text;
    long long day;
    long long hour;
  } cases[] = {
      {"1 0", 1, 0}, {"", 0, 0},     {"5", 5, 0},     {"a 3", 0, 0}, {" 28  6 ", 28, 6},
      {"-3 +4", -3, 4}, {"7,2", 7, 0}, {"99999999999 2", 0, 0},  // a day that fits no int
  };
  for (const auto& c : cases) {
    FakeApi fresh;
    Type(power, IDC_PM_ACCOUNT_DAY, c.text);
    Control<QPushButton>(power, IDC_PM_SET_ACCOUNT_DAY).click();
    EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{Call("CM_IOT_PowerMeterCtrl_SetAccountDay",
                                                               {kLow, kHigh, kMeterCode1, 0, c.day, c.hour})})
        << "\"" << c.text << "\"";
  }
}

TEST_F(MeterPagesTest, PowerShowsTheSimulatedMetersReadings) {
  testsupport::SimulatedDevice meter = Meter(kPowerCode);
  const struct {
    int code;
    int edit;
    const char* shown;
  } cases[] = {
      {2, IDC_PM_VOLTAGE, "220.5"},
      {3, IDC_PM_CURRENT, "5.123"},
      // Double values read as floats keep the float's binary noise.
      {4, IDC_PM_ACTIVE_POWER, "1.10249996185303"},
      {5, IDC_PM_POWER_FACTOR, "0.998000025749207"},
      {6, IDC_PM_ENERGY, "12345.669921875"},
      {7, IDC_PM_DATE, "2026-12-09"},
      {8, IDC_PM_TIME, "08:30:00"},
      {9, IDC_PM_ACCOUNT_DAY, "01 00"},
      {10, IDC_PM_THIS_MONTH, "123.449996948242"},
      {11, IDC_PM_LAST_MONTH, "234.559997558594"},
      {12, IDC_METER_NUMBER, "12345678"},
      {13, IDC_PM_COVER_OPEN_COUNT, "2"},
      {0, IDC_PM_MAXIMUM_CURRENT, "60"},
      {1, IDC_PM_AVAILABLE, "100"},
  };
  for (const auto& c : cases) {
    const std::string text = meter.One(PowerMeterCtrlQueryParameter(c.code));
    ASSERT_FALSE(text.empty()) << c.code;
    Show(power, text);
    EXPECT_EQ(TextOf(power, c.edit), QString::fromUtf8(c.shown)) << c.code << " " << text;
  }
  EXPECT_EQ(power.MeterAddress(), 12345678u);
}

TEST_F(MeterPagesTest, PowerAcknowledgementFaultAndRelay) {
  testsupport::SimulatedDevice meter = Meter(kPowerCode);
  // The template's "ACK" is gone once the page is shown.
  EXPECT_EQ(Control<QLabel>(power, IDC_PM_ACK).text(), QString());
  Show(power, meter.One(PowerMeterCtrlInit()));
  EXPECT_EQ(Control<QLabel>(power, IDC_PM_ACK).text(), QStringLiteral("Init"));

  Show(power, meter.One(PowerMeterCtrlRelayOn()));
  Show(power, meter.One(PowerMeterCtrlQueryParameter(14)));
  EXPECT_EQ(power.IconStateOf(IDC_PM_RELAY_ICON), IconState::kOn);
  Show(power, meter.One(PowerMeterCtrlRelayOff()));
  Show(power, meter.One(PowerMeterCtrlQueryParameter(14)));
  EXPECT_EQ(power.IconStateOf(IDC_PM_RELAY_ICON), IconState::kOff);
  // Compared ignoring case; any other word changes nothing.
  const demotest::ReplyNode node{kNvsid, kNetId, kNodeAddress};
  Show(power, demotest::NodeReply("POWERMETERCTRL", "status", {{"info", "ON"}}, node));
  EXPECT_EQ(power.IconStateOf(IDC_PM_RELAY_ICON), IconState::kOn);
  Show(power, demotest::NodeReply("POWERMETERCTRL", "status", {{"info", "half"}}, node));
  EXPECT_EQ(power.IconStateOf(IDC_PM_RELAY_ICON), IconState::kOn);

  Show(power, Frame(kPowerCode, 0x26));
  EXPECT_EQ(TextOf(power, IDC_PM_FAULT), QStringLiteral("CoverOpen"));
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(MeterPagesTest, PowerDropsTheDataPackAndShowsOnAnUnknownDatatype) {
  testsupport::SimulatedDevice meter = Meter(kPowerCode);
  const std::string pack = meter.One(PowerMeterCtrlQueryData());
  ASSERT_NE(pack.find("datapack"), std::string::npos);
  Show(power, pack);
  EXPECT_EQ(TextOf(power, IDC_PM_VOLTAGE), QStringLiteral("0"));
  EXPECT_EQ(TextOf(power, IDC_PM_DATE), QString());

  power.Float(IDC_PM_VOLTAGE) = 1.5f;
  std::string other = meter.One(PowerMeterCtrlQueryParameter(2));
  other.replace(other.find("InstantaneousVoltage"), 20, "Frequency");
  Show(power, other);
  EXPECT_EQ(TextOf(power, IDC_PM_VOLTAGE), QStringLiteral("1.5"));
}

TEST_F(MeterPagesTest, MeterNumberAcceptedInBothSpellingsOnEveryPage) {
  std::string powerText = MeterNumberReply(kPowerCode);
  powerText.replace(powerText.find("MeterID"), 7, "MeterId");
  Show(power, powerText);
  EXPECT_EQ(power.MeterAddress(), kAddress);

  for (std::uint8_t code : {kWaterCode, kGasCode}) {
    MeterPage& page = code == kWaterCode ? static_cast<MeterPage&>(water) : gas;
    std::string text = MeterNumberReply(code);
    text.replace(text.find("MeterId"), 7, "METERID");
    Show(page, text);
    EXPECT_EQ(page.MeterAddress(), kAddress) << int{code};
    EXPECT_EQ(TextOf(page, IDC_METER_NUMBER), QStringLiteral("12345678901")) << int{code};
  }
}

TEST_F(MeterPagesTest, WaterAndGasButtons) {
  for (MeterPage* page : std::initializer_list<MeterPage*>{&water, &gas})
    Show(*page, MeterNumberReply(page == &water ? kWaterCode : kGasCode));
  Type(water, IDC_WM_CALIBRATION, "2.5");
  Type(gas, IDC_WM_CALIBRATION, "7.25");
  struct Case {
    KitPage* page;
    int button;
    RecordedCall call;
    IconState valveIcon;  // after the call
  };
  const IconState unchanged = IconState::kOff;
  const std::vector<Case> cases = {
      {&water, 1299, Call("CM_IOT_WaterMeterCtrl_QueryMeterId"), unchanged},
      {&water, 1332, Call("CM_IOT_WaterMeterCtrl_QueryData"), unchanged},
      {&water, 1333, Call("CM_IOT_WaterMeterCtrl_QueryValveStatus"), unchanged},
      {&water, 1335, Call("CM_IOT_WaterMeterCtrl_Calibrate", {kLow, kHigh}, {}, {2.5}), unchanged},
      {&water, 1336, Call("CM_IOT_WaterMeterCtrl_ValveTest", {kLow, kHigh}), unchanged},
      {&water, 1337, Call("CM_IOT_WaterMeterCtrl_ValveControl", {kLow, kHigh, 1}), IconState::kBusy},
      {&water, 1338, Call("CM_IOT_WaterMeterCtrl_ValveControl", {kLow, kHigh, 0}), IconState::kBusy},
      {&gas, 1299, Call("CM_IOT_GasMeterCtrl_QueryMeterId"), unchanged},
      {&gas, 1332, Call("CM_IOT_GasMeterCtrl_QueryData"), unchanged},
      {&gas, 1335, Call("CM_IOT_GasMeterCtrl_Calibrate", {kLow, kHigh}, {}, {7.25}), unchanged},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      water.SetIconState(IDC_WM_VALVE_ICON, unchanged);
      Control<QPushButton>(*c.page, c.button).click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call}) << c.button << " " << result;
      EXPECT_EQ(water.IconStateOf(IDC_WM_VALVE_ICON), c.valveIcon) << c.button << " " << result;
    }
  }
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_TRUE(Messages().isEmpty());

  // A calibration value that is no number: its message, nothing sent.
  FakeApi fresh;
  Type(gas, IDC_WM_CALIBRATION, "2,5");
  Control<QPushButton>(gas, 1335).click();
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), 1);
}

TEST_F(MeterPagesTest, WithoutASessionNothingIsSent) {
  theApp.m_hSession = nullptr;
  Control<QPushButton>(power, 1292).click();
  Control<QPushButton>(water, 1299).click();
  Control<QPushButton>(gas, 1332).click();
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), 3);
  EXPECT_EQ(power.IconStateOf(IDC_PM_FEEDBACK_ICON), IconState::kTemplate);
}

TEST_F(MeterPagesTest, FactoryModeFollowsOnlyTheMetersAnswers) {
  testsupport::SimulatedDevice meter = Meter(kWaterCode);
  Show(water, MeterNumberReply(kWaterCode));
  QPushButton& button = Control<QPushButton>(water, IDC_WM_FACTORY_MODE);
  button.click();
  button.click();
  const RecordedCall on = Call("CM_IOT_WaterMeterCtrl_SetFactoryMode", {kLow, kHigh, 1});
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{on, on}));
  EXPECT_EQ(button.text(), QString::fromUtf8("工厂模式开启中..."));
  EXPECT_EQ(water.FactoryMode(), 0);

  const std::string onAnswer = meter.One(WaterMeterCtrlSetFactoryMode(kLow, kHigh, 1));
  Show(water, onAnswer);
  EXPECT_EQ(water.FactoryMode(), 1);
  EXPECT_EQ(button.text(), QString::fromUtf8("关闭工厂模式"));
  EXPECT_EQ(TextOf(water, IDC_WM_ALARM), QStringLiteral("FactoryModeOn"));

  FakeApi fresh;
  button.click();
  EXPECT_EQ(FakeApi::Calls(),
            std::vector<RecordedCall>{Call("CM_IOT_WaterMeterCtrl_SetFactoryMode", {kLow, kHigh, 0})});
  EXPECT_EQ(button.text(), QString::fromUtf8("工厂模式关闭中..."));
  Show(water, meter.One(WaterMeterCtrlSetFactoryMode(kLow, kHigh, 0)));
  EXPECT_EQ(water.FactoryMode(), 0);
  EXPECT_EQ(button.text(), QString::fromUtf8("开启工厂模式"));

  // Ignoring case.
  std::string lower = onAnswer;
  lower.replace(lower.find("FactoryModeOn"), 13, "factorymodeon");
  Show(water, lower);
  EXPECT_EQ(water.FactoryMode(), 1);
  // Other acknowledgements only show their word.
  Show(water, meter.One(WaterMeterCtrlValveTest(kLow, kHigh)));
  EXPECT_EQ(water.FactoryMode(), 1);
  EXPECT_EQ(button.text(), QString::fromUtf8("关闭工厂模式"));
}

// The valve position the meter answers after it was opened (1) or closed (0).
std::string ValveAfter(testsupport::SimulatedDevice& meter, int value) {
  meter.Send(WaterMeterCtrlValveControl(kLow, kHigh, value));
  return meter.One(WaterMeterCtrlQueryValveStatus());
}

TEST_F(MeterPagesTest, ValvePositionMovesTheSliderAndSetsTheIcon) {
  testsupport::SimulatedDevice meter = Meter(kWaterCode);
  QSlider& slider = Control<QSlider>(water, IDC_WM_VALVE_SLIDER);
  EXPECT_EQ(slider.value(), 1);
  const demotest::ReplyNode node{kNvsid, kNetId, kNodeAddress};
  const struct {
    std::string text;
    int position;
    IconState icon;
  } cases[] = {
      {ValveAfter(meter, 1), 2, IconState::kOff},  // "On"
      {ValveAfter(meter, 0), 0, IconState::kOn},   // "Off"
      {Frame(kWaterCode, 0x40, {3}), 1, IconState::kPending},  // "Unknown"
      {demotest::NodeReply("WATERMETERCTRL", "valvepos", {{"info", "oN"}}, node), 2, IconState::kOff},
      {demotest::NodeReply("WATERMETERCTRL", "valvepos", {{"info", "x"}}, node), 2, IconState::kOff},
  };
  for (const auto& c : cases) {
    Show(water, c.text);
    EXPECT_EQ(slider.value(), c.position) << c.text;
    EXPECT_EQ(water.Int(IDC_WM_VALVE_SLIDER), c.position) << c.text;
    EXPECT_EQ(water.IconStateOf(IDC_WM_VALVE_ICON), c.icon) << c.text;
  }
}

TEST_F(MeterPagesTest, ValveStatusSetsTheIconWithoutRefreshingTheEdits) {
  const demotest::ReplyNode node{kNvsid, kNetId, kNodeAddress};
  water.Float(IDC_WM_READING) = 5.0f;
  Show(water, Frame(kWaterCode, 0x41));
  EXPECT_EQ(water.IconStateOf(IDC_WM_VALVE_ICON), IconState::kBusy);
  Show(water, Frame(kWaterCode, 0x42));
  EXPECT_EQ(water.IconStateOf(IDC_WM_VALVE_ICON), IconState::kPending);
  Show(water, demotest::NodeReply("WATERMETERCTRL", "valvestatus", {{"info", "Other"}}, node));
  EXPECT_EQ(water.IconStateOf(IDC_WM_VALVE_ICON), IconState::kPending);
  EXPECT_EQ(TextOf(water, IDC_WM_READING), QStringLiteral("0"));
}

TEST_F(MeterPagesTest, WaterAndGasShowReadingFaultAndAcknowledgement) {
  for (std::uint8_t code : {kWaterCode, kGasCode}) {
    MeterPage& page = code == kWaterCode ? static_cast<MeterPage&>(water) : gas;
    testsupport::SimulatedDevice meter = Meter(code);
    Show(page, meter.One(code == kWaterCode ? WaterMeterCtrlQueryData() : GasMeterCtrlQueryData()));
    EXPECT_NE(TextOf(page, IDC_WM_READING), QStringLiteral("0")) << int{code};
    Show(page, meter.One(code == kWaterCode ? WaterMeterCtrlQueryMeterId() : GasMeterCtrlQueryMeterId()));
    EXPECT_EQ(TextOf(page, IDC_METER_NUMBER), QStringLiteral("87654321")) << int{code};
    EXPECT_EQ(page.MeterAddress(), 87654321u);
    Show(page, meter.One(code == kWaterCode ? WaterMeterCtrlCalibrate(1, 0, 3.5f) : GasMeterCtrlCalibrate(1, 0, 3.5f)));
    EXPECT_EQ(TextOf(page, IDC_WM_ALARM), QStringLiteral("Calibrate")) << int{code};
    Show(page, Frame(code, 0x2B));
    EXPECT_EQ(TextOf(page, IDC_WM_FAULT), QStringLiteral("CommunicationFailed")) << int{code};
  }
}

TEST_F(MeterPagesTest, ReplyForAnotherNodeIsSkippedAndTheDrainGoesOn) {
  testsupport::SimulatedDevice other(kWaterCode, kNetId, kNodeAddress + 1, kNvsid);
  testsupport::SimulatedDevice mine = Meter(kWaterCode);
  other.Send(WaterMeterCtrlCalibrate(5, 0, 1.0f));  // the other meter's number is 5
  water.QueueReply(other.One(WaterMeterCtrlQueryMeterId()));
  water.QueueReply(mine.One(WaterMeterCtrlQueryMeterId()));
  water.OnDeviceReply(0, 0);
  EXPECT_EQ(water.MeterAddress(), 87654321u);
  EXPECT_EQ(TextOf(water, IDC_METER_NUMBER), QStringLiteral("87654321"));
}

TEST_F(MeterPagesTest, MeterAddressIsKeptWhenAnotherNodeIsSelected) {
  Show(gas, MeterNumberReply(kGasCode));
  theApp.NodeTarget = NodeTargetInfo{kNvsid, kNetId, 9};
  Type(gas, IDC_WM_CALIBRATION, "1.5");
  Control<QPushButton>(gas, 1335).click();
  ASSERT_EQ(FakeApi::Calls().size(), 1u);
  EXPECT_EQ(FakeApi::Calls()[0].args, (std::vector<long long>{kHandle, kNvsid, kNetId, 9, kLow, kHigh}));
}

}  // namespace
