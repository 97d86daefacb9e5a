// The vehicle pages: the barrier and plate list of the plate recogniser,
// and the driven vehicle with its card reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "demo/pages/vehicle_pages.h"
#include "library/api/commands_laboratory.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::FakeApi;
using demotest::NodeReply;
using demotest::RecordedCall;
using demotest::ReplyNode;

// Plate codes: 0-9 digits, 10-35 letters, 128-158 provinces (130 "冀").
IotReply PlateFrame(std::vector<std::uint8_t> codes) {
  IotReply reply;
  reply.nvsid = 1000001;
  reply.netId = 1;
  reply.nodeAddress = 5;
  reply.commandCode = 12;
  reply.functionByte = 0x50;
  // The plate codes follow five bytes the page does not read.
  codes.insert(codes.begin(), 5, 0);
  reply.payload = std::move(codes);
  return reply;
}

class VehicleTest : public demotest::PageFixture {
 protected:
  VehicleTest() {
    plates.SetUtcClock([this] { return TimeOfDay{1, 2, 3, ++millisecond}; });
    plates.EnsureCreated();
    vehicle.EnsureCreated();
  }

  static void ShowAll(KitPage& page, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) page.QueueReply(text);
    page.OnDeviceReply(0, 0);
  }
  std::vector<std::string> Row(int row) {
    std::vector<std::string> cells;
    QTableWidget& list = Control<QTableWidget>(plates, IDC_VLR_PLATES);
    for (int column = 0; column < list.columnCount(); ++column)
      cells.push_back(list.item(row, column) != nullptr ? list.item(row, column)->text().toStdString() : "?");
    return cells;
  }

  int millisecond = 0;
  CVLRPage plates;
  CCarRFIDPage vehicle;
  const ReplyNode target{kNvsid, kNetId, kNodeAddress};
};

TEST_F(VehicleTest, BarrierButtonsLogABadHandleOnly) {
  struct Case {
    int button;
    const char* caption;
    int isFree;
  };
  for (const Case& c : {Case{1274, "正常通行", 0}, Case{1036, "免费通行", 1}}) {
    EXPECT_EQ(Control<QPushButton>(plates, c.button).text(), QString::fromUtf8(c.caption));
    for (int result : {1, 0, -1}) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      const int linesBefore = LogLines().size();
      Control<QPushButton>(plates, c.button).click();
      const RecordedCall upBar{"CM_IOT_VLR_UpBar", {kHandle, kNvsid, 1, 2, c.isFree}};
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{upBar});
      ASSERT_EQ(LogLines().size(), linesBefore + (result == -1 ? 1 : 0)) << result;
      if (result == -1) {
        EXPECT_EQ(LogLines().last(), Logged("车辆识别: 抬杆错误!"));
      }
    }
  }
  // No command turns the icon.
  EXPECT_EQ(plates.IconStateOf(IDC_VLR_STATE), IconState::kTemplate);
}

TEST_F(VehicleTest, PlatesFromTheLibraryAddNumberedRowsWithTheirUtcTimes) {
  QTableWidget& list = Control<QTableWidget>(plates, IDC_VLR_PLATES);
  ASSERT_EQ(list.columnCount(), 3);
  EXPECT_EQ(list.horizontalHeaderItem(2)->text(), QString::fromUtf8("车牌号"));
  EXPECT_EQ(list.columnWidth(0), 70);
  // 冀A12345, then ones without a province and without any code.
  const std::string first = testsupport::LibraryReplyText(PlateFrame({130, 10, 1, 2, 3, 4, 5}));
  ASSERT_FALSE(first.empty());
  Show(plates, first);
  Show(plates, testsupport::LibraryReplyText(PlateFrame({11, 9, 8, 7, 6, 5, 4})));
  Show(plates, NodeReply("VLR", "VL"));
  ASSERT_EQ(list.rowCount(), 3);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"1", "01:02:03.001", "冀A12345"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"2", "01:02:03.002", "B987654"}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"3", "01:02:03.003", ""}));
  EXPECT_EQ(plates.IconStateOf(IDC_VLR_STATE), IconState::kPending);
}

TEST_F(VehicleTest, EveryTextTurnsThePlateIconPending) {
  // Any node, any name: the icon turns, only "vl" adds a row.
  plates.SetIconState(IDC_VLR_STATE, IconState::kOn);
  Show(plates, NodeReply("VLR", "alarm", {}, ReplyNode{9, 9, 9}));
  EXPECT_EQ(plates.IconStateOf(IDC_VLR_STATE), IconState::kPending);
  EXPECT_EQ(Control<QTableWidget>(plates, IDC_VLR_PLATES).rowCount(), 0);
}

TEST_F(VehicleTest, DriveButtonsSendTheirOperationAndTurnTheIconPending) {
  struct Case {
    int button;
    const char* caption;
    int op;
  };
  const std::vector<Case> cases = {
      {1320, "前进", 1}, {1036, "后退", 2}, {1321, "左转", 3}, {1322, "右转", 4}, {1048, "停止", 0}};
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      vehicle.SetIconState(IDC_CAR_STATE, IconState::kOn);
      auto& button = Control<QPushButton>(vehicle, c.button);
      EXPECT_EQ(button.text(), QString::fromUtf8(c.caption));
      button.click();
      const RecordedCall drive{"CM_IOT_CARRFIDControl", {kHandle, kNvsid, 1, 2, c.op}};
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{drive}) << c.caption;
      EXPECT_EQ(vehicle.IconStateOf(IDC_CAR_STATE), IconState::kPending);
    }
  }
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(VehicleTest, WithoutASessionNothingIsSent) {
  theApp.m_hSession = nullptr;
  plates.Press(IDC_VLR_NORMAL);
  vehicle.Press(IDC_CAR_FORWARD);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_EQ(vehicle.IconStateOf(IDC_CAR_STATE), IconState::kTemplate);
}

TEST_F(VehicleTest, VehicleShowsTheCardsTheSimulatedReaderReports) {
  testsupport::SimulatedDevice device(89, kNetId, kNodeAddress, kNvsid);
  ASSERT_TRUE(device.Exists());
  Show(vehicle, device.One(CarrfidControl(1)));
  Show(vehicle, device.One(CarrfidControl(1)));
  EXPECT_EQ(Control<QLineEdit>(vehicle, IDC_CAR_CARD_NUMBER).text(), QStringLiteral("2"));
  EXPECT_EQ(Control<QLineEdit>(vehicle, IDC_CAR_CARD_ID).text(), QStringLiteral("CA000002"));
  Show(vehicle, device.One(CarrfidControl(2)));
  EXPECT_EQ(vehicle.UInt(IDC_CAR_CARD_NUMBER), 1u);
  EXPECT_EQ(Control<QLineEdit>(vehicle, IDC_CAR_CARD_ID).text(), QStringLiteral("CA000001"));
  // Stop, left and right answer nothing.
  EXPECT_TRUE(device.Send(CarrfidControl(0)).empty());
}

TEST_F(VehicleTest, VehicleSkipsTheTextOfAnotherNodeAndShowsTheNextOnes) {
  testsupport::SimulatedDevice elsewhere(89, kNetId, 7, kNvsid);
  testsupport::SimulatedDevice device(89, kNetId, kNodeAddress, kNvsid);
  ShowAll(vehicle, {elsewhere.One(CarrfidControl(1)), device.One(CarrfidControl(1)), elsewhere.One(CarrfidControl(1))});
  EXPECT_EQ(vehicle.UInt(IDC_CAR_CARD_NUMBER), 1u);
  EXPECT_EQ(vehicle.QueuedReplyCount(), 0u);
}

TEST_F(VehicleTest, VehicleFaultsCarryNoFamilyWord) {
  Show(vehicle, NodeReply("CARRFID", "FAULT", {{"info", "sensor"}}, target));
  Show(vehicle, NodeReply("CARRFID", "fault", {{"info", "power"}}, target));
  Show(vehicle, NodeReply("CARRFID", "fault", {{"info", "wheel"}}, target));
  ASSERT_EQ(LogLines().size(), 2);
  EXPECT_EQ(LogLines().value(0), Logged("传感器故障!"));
  EXPECT_EQ(LogLines().value(1), Logged("电源故障"));
}

}  // namespace
