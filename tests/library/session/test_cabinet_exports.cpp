#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cabinet_session.h"
#include "support/wait_until.h"
#include "tools/iot_frames.h"

using namespace std::chrono_literals;

TEST_F(CabinetSessionTest, EveryCabinetExportSendsItsFrame) {
  LogIn();
  IotHandle* h = handle.get();
  struct Case {
    const char* name;
    std::function<int()> call;
    std::uint8_t fn;
    std::vector<std::uint8_t> payload;
  };
  const std::vector<Case> cases = {
      {"GetWeightInBox", [&] { return CM_IOT_CABMGZ_GetWeightInBox(h, kNvs, 1, 2, 6); }, 16, {97, 1, 1, 1, 6}},
      {"OpenBox", [&] { return CM_IOT_CABMGZ_OpenBox(h, kNvs, 1, 2, 0x102); }, 17, {97, 1, 2, 1, 2}},
      {"AddAdvUserToBox", [&] { return CM_IOT_CABMGZ_AddAdvUserToBox(h, kNvs, 1, 2, 3, 258, 123456, 16909060); },
       18, {0x61, 0x0A, 0x03, 0x01, 0x03, 0x02, 0x01, 0x56, 0x34, 0x12, 0x04, 0x03, 0x02, 0x01}},
      {"RemoveAdvUserFromBox", [&] { return CM_IOT_CABMGZ_RemoveAdvUserFromBox(h, kNvs, 1, 2, 4, 0x0305); },
       19, {97, 3, 3, 2, 4, 5, 3}},
      {"ClearAdminInBox", [&] { return CM_IOT_CABMGZ_ClearAdminInBox(h, kNvs, 1, 2, 1); }, 20, {97, 1, 4, 1, 1}},
      {"RemoveBoxFromCabinet", [&] { return CM_IOT_CABMGZ_RemoveBoxFromCabinet(h, kNvs, 1, 2, 9); },
       21, {97, 1, 4, 2, 9}},
      {"ClearAdminInCabinet", [&] { return CM_IOT_CABMGZ_ClearAdminInCabinet(h, kNvs, 1, 2); }, 22, {97, 0, 4, 2}},
      {"GetAdminInfoFromCabinet", [&] { return CM_IOT_CABMGZ_GetAdminInfoFromCabinet(h, kNvs, 1, 2); },
       23, {97, 0, 5, 1}},
      {"GetBoxInfoOfCabinet", [&] { return CM_IOT_CABMGZ_GetBoxInfoOfCabinet(h, kNvs, 1, 2); }, 24, {97, 0, 6, 1}},
      {"ReinitCabinet", [&] { return CM_IOT_CABMGZ_ReinitCabinet(h, kNvs, 1, 2); }, 25, {97, 0, 7, 1}},
      {"AddUserToBox", [&] { return CM_IOT_CABMGZ_AddUserToBox(h, kNvs, 1, 2, 5, 0x0A0B0C0D); },
       28, {97, 0, 8, 1, 5, 1, 0x0D, 0x0C, 0x0B, 0x0A}},
      {"RemoveUserFromBox", [&] { return CM_IOT_CABMGZ_RemoveUserFromBox(h, kNvs, 1, 2, 5, 16909060); },
       28, {97, 0, 8, 1, 5, 2, 4, 3, 2, 1}},
      {"ClearUserInBox", [&] { return CM_IOT_CABMGZ_ClearUserInBox(h, kNvs, 1, 2, 5); }, 28, {97, 0, 8, 1, 5, 3}},
      {"ClearAdvUserInBox", [&] { return CM_IOT_CABMGZ_ClearAdvUserInBox(h, kNvs, 1, 2, 5); }, 28, {97, 0, 8, 1, 5, 4}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), 1) << c.name;
  ASSERT_TRUE(server.WaitFor("iot", cases.size(), 3000ms));
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(static_cast<std::uint32_t>(sent[i].parsed.IntHeader("Class")), kNvs);
    const auto frame = standin::DecodeDeviceFrame(sent[i].parsed.body);
    ASSERT_TRUE(frame) << cases[i].name;
    EXPECT_EQ(frame->netId, 1);
    EXPECT_EQ(frame->nodeAddress, 2);
    EXPECT_EQ(frame->commandCode, 97) << cases[i].name;
    EXPECT_EQ(frame->functionByte, cases[i].fn) << cases[i].name;
    EXPECT_EQ(frame->payload, cases[i].payload) << cases[i].name;
  }
  // Every cabinet command waits for the server's delivery report.
  EXPECT_EQ(session->PendingCount(), cases.size());
  // Not connected: not sent.
  server.CloseConnection();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !session->IsConnected(); }));
  for (const auto& c : cases) EXPECT_EQ(c.call(), 0) << c.name;
}

TEST_F(CabinetSessionTest, PasswordsBeyondSixDigitsAreNotSent) {
  LogIn();
  for (int password : {1000000, 1234567, 100000000, -1})
    EXPECT_EQ(CM_IOT_CABMGZ_AddAdvUserToBox(handle.get(), kNvs, 1, 2, 3, 258, password, 16909060), 0) << password;
  EXPECT_EQ(CM_IOT_CABMGZ_AddAdvUserToBox(handle.get(), kNvs, 1, 2, 3, 258, 999999, 16909060), 1);
  ASSERT_TRUE(server.WaitFor("iot", 1, 2000ms));
  std::this_thread::sleep_for(50ms);
  const auto sent = Iots();
  ASSERT_EQ(sent.size(), 1u);
  const auto frame = standin::DecodeDeviceFrame(sent[0].parsed.body);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->payload,
            (std::vector<std::uint8_t>{97, 10, 3, 1, 3, 2, 1, 0x99, 0x99, 0x99, 4, 3, 2, 1}));
  EXPECT_EQ(session->PendingCount(), 1u);
}
