#include <zlib.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "library/session/snapshot_lists.h"
#include "sentrell.h"
#include "sentrellplatform.h"
#include "session_fixture.h"
#include "support/wait_until.h"
#include "support/deflate.h"

using namespace std::chrono_literals;

namespace {

using testsupport::Deflate;

std::string Inflated(const std::string& packed) {
  std::string out(8192, '\0');
  uLongf length = static_cast<uLongf>(out.size());
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(packed.data()),
                 static_cast<uLong>(packed.size())) != Z_OK)
    return {};
  out.resize(length);
  return out;
}

class Media : public StandinSessionTest {
 protected:
  void SetUp() override {
    StandinSessionTest::SetUp();
    sessionOwner = std::make_unique<CIotSession>();
    ASSERT_EQ(sessionOwner->Login("127.0.0.1", "u", "p"), 1);
    PlatEnsureThreadQueue();
    sessionOwner->SetNotifyThreadId(PlatCurrentThreadId());
  }
  void TearDown() override {
    sessionOwner->SetNotifyThreadId(0);
    sessionOwner.reset();
    PlatMsg msg{};
    while (PlatPeekMessage(&msg, 0, 0, 1)) {
    }
    StandinSessionTest::TearDown();
  }
  std::vector<standin::ReceivedMessage> Sent(const std::string& cmd) {
    std::vector<standin::ReceivedMessage> out;
    for (const auto& m : server.Received())
      if (m.cmd == cmd) out.push_back(m);
    return out;
  }
  std::string NextSnapText() {
    PlatMsg msg{};
    if (PlatGetMessage(&msg, 2000) != 1 || msg.message != NOTIFY_SNAPMSG) return "<none>";
    return reinterpret_cast<const char*>(msg.wParam);
  }
  std::unique_ptr<CIotSession> sessionOwner;
};

}  // namespace

TEST_F(Media, RequestsGoOutWithTheirHeadersAndBodies) {
  EXPECT_EQ(sessionOwner->QueryNodesStatus(7), 1212);
  EXPECT_EQ(sessionOwner->Snapshot(7), 1212);
  EXPECT_EQ(sessionOwner->GetAutoSnap(7), 1212);
  EXPECT_EQ(sessionOwner->PlayRecord(7, "a.mp4"), 1);
  EXPECT_EQ(sessionOwner->SeekRecord(7, 30), 1);
  EXPECT_EQ(sessionOwner->StopRecord(7), 1);
  EXPECT_EQ(sessionOwner->PtuCtrl(7, 0x0F, 3), 1);
  EXPECT_EQ(sessionOwner->SendCarCtrl(7, 1), 1);
  EXPECT_EQ(sessionOwner->SendCarCtrl(7, 0), 1);
  ASSERT_TRUE(server.WaitFor("carctrl", 2, 2000ms));
  const auto reqiot = Sent("reqiot").at(0).parsed;
  EXPECT_EQ(reqiot.Header("CType"), "iot");
  EXPECT_EQ(reqiot.IntHeader("Class"), 7);
  EXPECT_EQ(reqiot.Header("Content-Type"), "sdp");
  EXPECT_EQ(reqiot.Header("Contact"), "server");
  EXPECT_EQ(Sent("snapshot").at(0).parsed.IntHeader("Class"), 7);
  EXPECT_EQ(Sent("getautosnap").size(), 1u);
  const auto records = Sent("remoterecord");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].parsed.body, "Command=Play\nFileName=a.mp4\nPosition=0\n");
  EXPECT_EQ(records[1].parsed.body, "Command=Seek\nPosition=30\n");
  EXPECT_EQ(records[2].parsed.body, "Command=Stop\n");
  EXPECT_EQ(records[0].parsed.Header("CType"), "sentrell");
  const auto ptu = Sent("ptuctrl").at(0).parsed;
  EXPECT_EQ(ptu.Header("Content-Type"), "ptu");
  EXPECT_EQ(ptu.body, std::string("\x0F\xF0\x03\0\0\0\0\0", 8));
  const auto cars = Sent("carctrl");
  EXPECT_EQ(cars[0].parsed.Header("CType"), "upbar");
  EXPECT_EQ(cars[0].parsed.Header("Contact"), "free");
  EXPECT_EQ(cars[1].parsed.Header("Contact"), "");
  EXPECT_EQ(sessionOwner->PtuCtrl(0, 1, 1), 0);
}

TEST_F(Media, AutoSnapshotSettingTravelsAsCompressedLines) {
  const auto setting = SnapshotLinesOf(
      R"({"ver":1,"nvsid":12,"netid":3,"nodelist":[{"nodid":5,"nodetype":81,"cmdlist":[1,2]},{"nodid":6,"nodetype":9,"cmdlist":[]}]})");
  ASSERT_TRUE(setting);
  EXPECT_EQ(setting->nvsid, 12u);
  EXPECT_EQ(setting->lines, "3:5:81:0:1,2\n3:6:9:0:0\n");
  EXPECT_FALSE(SnapshotLinesOf("{\"nodelist\":5}"));
  EXPECT_FALSE(SnapshotLinesOf("not json"));
  EXPECT_EQ(sessionOwner->SetAutoSnap(12, setting->lines.data(), setting->lines.size()), 1212);
  ASSERT_TRUE(server.WaitFor("setautosnap", 1, 2000ms));
  const auto sent = Sent("setautosnap").at(0).parsed;
  EXPECT_EQ(sent.Header("Content-Type"), "zip");
  EXPECT_EQ(Inflated(sent.body), setting->lines);
}

TEST_F(Media, SnapshotAnswersAreDeliveredAsSnapshotMessages) {
  standin::OutgoingMessage ack;
  ack.cmd = "snapshotack";
  ack.classValue = 12;
  ack.cname = "pic.jpg";
  server.Send(ack);
  EXPECT_EQ(NextSnapText(), "{\"info\":\"http://127.0.0.1:4901/12/pic.jpg\",\"msg\":\"snapshot\",\"nvsid\":12}\n");
  for (const auto& [contact, info] : std::vector<std::pair<std::string, std::string>>{
           {"1", "success"}, {"0", "failure"}, {"x", "unknown"}}) {
    standin::OutgoingMessage set;
    set.cmd = "setautosnapack";
    set.classValue = 12;
    set.contact = contact;
    server.Send(set);
    EXPECT_EQ(NextSnapText(), "{\"info\":\"" + info + "\",\"msg\":\"setautosnap\",\"nvsid\":12}\n");
  }
  standin::OutgoingMessage get;
  get.cmd = "getautosnapack";
  get.classValue = 12;
  get.contentType = "zip";
  get.body = Deflate("3:5:81:0:1,2\n3:6:9:0:0\n");
  server.Send(get);
  EXPECT_EQ(NextSnapText(),
            "{\"info\":\"{\\\"netid\\\":3,\\\"nodelist\\\":[{\\\"cmdlist\\\":[1,2],\\\"nodetype\\\":81,\\\"nodid\\\":5,"
            "\\\"snaptype\\\":0},{\\\"cmdlist\\\":[0],\\\"nodetype\\\":9,\\\"nodid\\\":6,\\\"snaptype\\\":0}],"
            "\\\"nvsid\\\":12,\\\"ver\\\":1}\",\"msg\":\"getautosnap\",\"nvsid\":12}\n");
  // A compressed answer that does not unpack: the message box, and a null list.
  std::vector<std::string> boxes;
  PlatSetMessageBoxHook([](const char* t, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(t); },
                        &boxes);
  get.body = "broken";
  server.Send(get);
  EXPECT_EQ(NextSnapText(), "{\"info\":\"null\",\"msg\":\"getautosnap\",\"nvsid\":12}\n");
  PlatSetMessageBoxHook(nullptr, nullptr);
  EXPECT_EQ(boxes, std::vector<std::string>{"Buffer overflow!"});
}

TEST_F(Media, RecordListIsWaitedForAndHandedOver) {
  const std::string list = "FileName=a.mp4;FileName=b.mp4;";
  const std::string packed = Deflate(list);
  standin::Script script;
  script.answers["remoterecord"] = [&](const standin::ParsedMessage&) {
    standin::OutgoingMessage m;
    m.cmd = "remoterecordack";
    m.body = "?CompressLen=" + std::to_string(packed.size()) + "FileList=" + packed;
    return std::vector<standin::OutgoingMessage>{m};
  };
  ASSERT_TRUE(server.SetScript(script));
  std::vector<char> out(4097, '\0');
  EXPECT_EQ(sessionOwner->GetRecordList(7, "2026-12-08", out.data(), 3000), 1);
  EXPECT_EQ(std::string(out.data()), list);
  ASSERT_TRUE(server.WaitFor("remoterecord", 1, 1000ms));
  EXPECT_EQ(Sent("remoterecord").at(0).parsed.body, "Command=ReqList\nDate=2026-12-08\n");
  // No answer: the whole wait, the buffer untouched.
  ASSERT_TRUE(server.SetScript(standin::Script{}));
  std::vector<char> untouched(4097, '\0');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(sessionOwner->GetRecordList(7, "2026-12-09", untouched.data(), 100), 1);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
  EXPECT_EQ(untouched[0], '\0');
}

// The pan-tilt and car-gate exports say whether their block went: 0 before a
// log-in, when every try fails and after the server closed the connection,
// none of which sends anything; 1 and the exact block when it went.
TEST_F(StandinSessionTest, PanTiltAndCarGateExportsGiveZeroWhenNothingWasSent) {
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  const std::shared_ptr<CIotSession> session = LiveSession(h);
  EXPECT_EQ(CM_PTUCtrl(h, 7, 0x0F, 3), 0);
  EXPECT_EQ(CM_IOT_VLR_UpBar(h, 7, 1, 2, 1), 0);
  EXPECT_EQ(server.ConnectionsAccepted(), 0u);

  ASSERT_EQ(CM_Login(h, "127.0.0.1", "u", "p"), 1);
  ASSERT_TRUE(server.WaitFor("connect", 1, 2000ms));
  EXPECT_EQ(CM_PTUCtrl(h, 7, 0x10F, 0x203), 1);  // only the low bytes travel
  EXPECT_EQ(CM_IOT_VLR_UpBar(h, 7, 1, 2, 1), 1);
  EXPECT_EQ(CM_IOT_VLR_UpBar(h, 7, 1, 2, 0), 1);
  ASSERT_TRUE(server.WaitFor("carctrl", 2, 2000ms));
  const auto Block = [](const std::string& text) {
    std::string block(1212, '\0');
    block.replace(0, text.size(), text);
    return block;
  };
  std::vector<standin::ReceivedMessage> sent;
  for (const auto& m : server.Received())
    if (m.cmd == "ptuctrl" || m.cmd == "carctrl") sent.push_back(m);
  ASSERT_EQ(sent.size(), 3u);
  const auto Raw = [](const standin::ReceivedMessage& m) { return std::string(m.raw.begin(), m.raw.end()); };
  EXPECT_EQ(Raw(sent[0]), Block("CMSCP/1.0 REQ\r\nCType:\r\nCName:\r\nClass:7\r\nCmd:ptuctrl\r\nCallID:\r\nCSeq:0\r\n"
                                "From:\r\nContact:\r\nContent-Type:ptu\r\nContent-Length:8\r\n" +
                                std::string("\x0F\xF0\x03\0\0\0\0\0", 8) + "\r\n\r\n"));
  for (std::size_t i = 1; i < 3; ++i) {
    const std::string cseq = sent[i].parsed.Header("CSeq");  // a random number
    const std::string contact = i == 1 ? "free" : "";
    EXPECT_EQ(Raw(sent[i]), Block("CMSCP/1.0 REQ\r\nCType:upbar\r\nCName:\r\nClass:7\r\nCmd:carctrl\r\nCallID:\r\n"
                                  "CSeq:" + cseq + "\r\nFrom:\r\nContact:" + contact +
                                  "\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n"))
        << i;
  }

  session->FailSendsForTesting(true);
  EXPECT_EQ(CM_PTUCtrl(h, 7, 1, 1), 0);
  EXPECT_EQ(CM_IOT_VLR_UpBar(h, 7, 1, 2, 1), 0);
  session->FailSendsForTesting(false);

  ASSERT_TRUE(server.CloseConnection());
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !session->IsConnected(); }));
  EXPECT_EQ(CM_PTUCtrl(h, 7, 1, 1), 0);
  EXPECT_EQ(CM_IOT_VLR_UpBar(h, 7, 1, 2, 1), 0);
  CM_Free(h);
  std::size_t blocks = 0;
  for (const auto& m : server.Received()) blocks += m.cmd == "ptuctrl" || m.cmd == "carctrl";
  EXPECT_EQ(blocks, 3u);
}

TEST(NodeListJson, LinesBecomeTheSettingObject) {
  const Json::Value list = BuildNodeListJson(12, "3:5:81:0:1,2\n\n9:9:9:0:9\n");
  ASSERT_TRUE(list["nodelist"].isArray());
  EXPECT_EQ(list["nodelist"].size(), 1u);  // reading stops at the empty line
  EXPECT_EQ(list["netid"].asInt(), 3);
  EXPECT_EQ(list["nvsid"].asUInt(), 12u);
  EXPECT_TRUE(BuildNodeListJson(1, "")["nodelist"].isNull());
  EXPECT_EQ(BuildNodeListJson(1, "")["netid"].asInt(), 0);
}
