// The adapter, vehicle and card reader replies end to end: a command through
// the stand-in, the simulated device's frames, and the notification the
// application's UDP port receives.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "library/api/iot_handle.h"
#include "sentrell.h"
#include "device_session_fixture.h"
#include "test_vehicles_record.h"
#include "tools/builtin_devices.h"
#include "tools/iot_frames.h"

using vehicles_test::Number;
using vehicles_test::Text;
using namespace std::chrono_literals;

namespace {

using devicetest::kNvs;
using devicetest::NodeDatagram;

class VehiclesEndToEnd : public DeviceSessionTest {
 protected:
  void SetUp() override {
    DeviceSessionTest::SetUp();
    ASSERT_GT(udp.Port(), 0);
    LogIn([this](const standin::ParsedMessage& request) { return devices.Answer(request); });
    ASSERT_EQ(CM_SetNotifyUDPPort(handle.get(), udp.Port()), 1);
  }
  // The next datagram, "" when none comes within `waitMs`.
  std::string Datagram(int waitMs = 3000) { return udp.Next(waitMs); }

  standin::SimulatedDevices devices;
  devicetest::UdpReceiver udp;
};

}  // namespace

TEST_F(VehiclesEndToEnd, WeatherStationRecordArrivesInPartsAndIsAnnouncedOnce) {
  ASSERT_EQ(CM_IOT_ADAPTER_ReqData(handle.get(), kNvs, 1, 3), 1);
  EXPECT_EQ(Datagram(), NodeDatagram(vehicles_test::StationMessage(1, 3, kNvs)));
  EXPECT_EQ(Datagram(200), "");
  // The next record comes under a new key and is announced again.
  ASSERT_EQ(CM_IOT_ADAPTER_ReqData(handle.get(), kNvs, 1, 3), 1);
  EXPECT_EQ(Datagram(), NodeDatagram(vehicles_test::StationMessage(1, 3, kNvs)));
}

TEST_F(VehiclesEndToEnd, AnemometerAndWindVaneAnswerTheRequestForData) {
  ASSERT_EQ(CM_IOT_ADAPTER_ReqData(handle.get(), kNvs, 2, 4), 1);
  EXPECT_EQ(Datagram(),
            NodeDatagram(vehicles_test::Message(
                "ADAPTER", "data", {{"Type", Text("FS")}, {"WindSpeed", Number(0, "m/s", "5.0")}}, 2, 4, kNvs)));
  ASSERT_EQ(CM_IOT_ADAPTER_ReqData(handle.get(), kNvs, 2, 5), 1);
  EXPECT_EQ(Datagram(),
            NodeDatagram(vehicles_test::Message(
                "ADAPTER", "data", {{"Type", Text("FX")}, {"WindDirection", Number(0, "°", "300")}}, 2, 5, kNvs)));
  // The request for the type is not answered.
  ASSERT_EQ(CM_IOT_ADAPTER_ReqType(handle.get(), kNvs, 2, 4), 1);
  EXPECT_EQ(Datagram(200), "");
}

TEST_F(VehiclesEndToEnd, VehicleReportsTheCardsItDrivesOver) {
  auto card = [](int number, const char* id) {
    return NodeDatagram(vehicles_test::Message(
        "CARRFID", "cardinfo", {{"cardid", Text(id, "number")}, {"cardnum", Number(0, "", std::to_string(number))}}, 1,
        7, kNvs));
  };
  ASSERT_EQ(CM_IOT_CARRFIDControl(handle.get(), kNvs, 1, 7, 1), 1);  // forward
  EXPECT_EQ(Datagram(), card(1, "CA000001"));
  ASSERT_EQ(CM_IOT_CARRFIDControl(handle.get(), kNvs, 1, 7, 1), 1);
  EXPECT_EQ(Datagram(), card(2, "CA000002"));
  ASSERT_EQ(CM_IOT_CARRFIDControl(handle.get(), kNvs, 1, 7, 0), 1);  // stop: nothing to report
  EXPECT_EQ(Datagram(200), "");
  ASSERT_EQ(CM_IOT_CARRFIDControl(handle.get(), kNvs, 1, 7, 2), 1);  // back
  EXPECT_EQ(Datagram(), card(1, "CA000001"));
}

// The plate recogniser and the card readers take no commands: they report
// by themselves, through the gateway.
TEST_F(VehiclesEndToEnd, PlatesAndCardsReportedByTheDevices) {
  ASSERT_TRUE(server.Send(standin::IotReply(static_cast<int>(kNvs),
                                            standin::DeviceFrame{2, 9, 12, 0x50, {0, 0, 0, 0, 0, 128, 11, 0, 0, 7, 3, 6}})));
  EXPECT_EQ(Datagram(), NodeDatagram(vehicles_test::Message("VLR", "vl", {{"vl", Text("京B00736")}}, 2, 9, kNvs)));
  ASSERT_TRUE(server.Send(standin::IotReply(
      static_cast<int>(kNvs), standin::DeviceFrame{2, 10, 91, 0x44, {2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}})));
  EXPECT_EQ(
      Datagram(),
      NodeDatagram(vehicles_test::Message(
          "RFIDCONTROL13M56", "data",
          {{"action", Text("leave")}, {"cardtype", Text("B")}, {"info", Text("0102030405060708090A0B0C", "number")}}, 2,
          10, kNvs)));
  ASSERT_TRUE(server.Send(
      standin::IotReply(static_cast<int>(kNvs), standin::DeviceFrame{2, 11, 92, 0x43, {0x21, 0x43, 0x65, 0x87}})));
  EXPECT_EQ(Datagram(),
            NodeDatagram(vehicles_test::Message("RFIDCONTROL125K", "data", {{"info", Text("87654321")}}, 2, 11, kNvs)));
}
