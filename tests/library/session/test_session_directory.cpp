#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "library/session/iot_session.h"
#include "library/xml/nvs_xml_store.h"
#include "sentrellplatform.h"
#include "session_fixture.h"
#include "support/wait_until.h"
#include "tools/cmscp_text.h"
#include "tools/gateway_pages.h"
#include "support/deflate.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

using testsupport::Deflate;

fs::path TempFolder(const std::string& tag) {
  const fs::path folder = fs::temp_directory_path() / ("sentrell_dir_" + std::to_string(getpid()) + "_" + tag);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::vector<standin::Gateway> Gateways(int count, int firstId = 1000000) {
  std::vector<standin::Gateway> list;
  for (int i = 0; i < count; ++i)
    list.push_back({firstId + i, (i % 2 == 0) ? standin::kGatewayOnline : 0u, "gw" + std::to_string(i)});
  return list;
}

// A session fed directly with server messages, writing into a folder of its own.
class Directory : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_EQ(session.SetNvsXmlPath(folder.c_str()), 1);
    PlatEnsureThreadQueue();
    session.SetNotifyThreadId(PlatCurrentThreadId());
  }
  void TearDown() override {
    session.SetNotifyThreadId(0);
    PlatMsg msg{};
    while (PlatPeekMessage(&msg, 0, 0, 1)) {
    }
    fs::remove_all(folder);
  }
  void Feed(const standin::OutgoingMessage& message) {
    const auto block = standin::BuildBlock(message);
    ASSERT_TRUE(block.has_value());
    session.ReceiveBytes(reinterpret_cast<const char*>(block->data()), block->size());
  }
  standin::OutgoingMessage Message(const std::string& cmd, int nvsid, const std::string& body,
                                   const std::string& contentType = "") {
    return standin::ServerRequest(cmd, nvsid, body, contentType);
  }
  std::string NodeList(const std::vector<std::string>& lines) {
    std::string body(2, '\0');
    for (std::size_t i = 0; i < lines.size(); ++i) body += (i ? "\n" : "") + lines[i];
    return body;
  }
  // The next thread message, or 0.
  std::uint32_t NextNotification(std::string* text = nullptr) {
    PlatMsg msg{};
    if (PlatGetMessage(&msg, 500) != 1) return 0;
    if (text) *text = msg.wParam ? reinterpret_cast<const char*>(msg.wParam) : "";
    return msg.message;
  }
  fs::path folder;
  CIotSession session;
};

}  // namespace

TEST_F(Directory, PagedCompressedListWritesEveryGatewayAndNotifies) {
  const auto pages = standin::GatewayListMessages(Gateways(200), 100);
  ASSERT_TRUE(pages && pages->size() == 2);
  for (const auto& page : *pages) Feed(page);
  const NvsList list = session.CopyNvsList();
  EXPECT_EQ(list.count, 200);
  const std::string text = Read(folder / "nvs_list.xml");
  EXPECT_EQ(Occurrences(text, "<nvs>"), 200u);
  EXPECT_NE(text.find("<nvslist count=\"200\""), std::string::npos);
  EXPECT_TRUE(fs::exists(folder / "nvs_1000000.xml"));
  EXPECT_TRUE(fs::exists(folder / "nvs_1000199.xml"));
  EXPECT_NE(Read(folder / "nvs_1000199.xml").find("<name>gw199</name>"), std::string::npos);
  EXPECT_EQ(NextNotification(), 0x27F1u);
  EXPECT_TRUE(session.IsListReceived());
}

TEST_F(Directory, ListFieldsAndVideoFollowTheGatewayId) {
  const auto pages = standin::GatewayListMessages(
      {{2000000, standin::kGatewayOnline | standin::kGatewayAlarm, "new"}, {1999999, standin::kGatewayAdminRead, "old"}});
  ASSERT_TRUE(pages);
  Feed(pages->front());
  const std::string h264 = Read(folder / "nvs_2000000.xml");
  EXPECT_NE(h264.find("<codec>h264</codec>"), std::string::npos);
  EXPECT_NE(h264.find("<width>704</width>"), std::string::npos);
  EXPECT_NE(h264.find("<online>1</online>"), std::string::npos);
  EXPECT_NE(h264.find("<alarm>1</alarm>"), std::string::npos);
  EXPECT_NE(h264.find("<adminread>0</adminread>"), std::string::npos);
  const std::string mpeg4 = Read(folder / "nvs_1999999.xml");
  EXPECT_NE(mpeg4.find("<codec>mpeg4</codec>"), std::string::npos);
  EXPECT_NE(mpeg4.find("<width>720</width>"), std::string::npos);
  EXPECT_NE(mpeg4.find("<adminread>1</adminread>"), std::string::npos);
}

TEST_F(Directory, PagesBeyondTheListAndCountsBeyondAPageAreBounded) {
  // Eleven pages of 128 gateways: the list stops at 1024.
  const auto pages = standin::GatewayListMessages(Gateways(11 * 128), 128);
  ASSERT_TRUE(pages);
  for (const auto& page : *pages) Feed(page);
  EXPECT_EQ(session.CopyNvsList().count, 1024);
  // A page that claims 5000 entries holds its 128 slots at most.
  std::string raw(3080, '\0');
  raw[4] = static_cast<char>(5000 & 0xFF);
  raw[5] = static_cast<char>(5000 >> 8);
  Feed(Message("ack", 0, Deflate(raw), "zip"));
  EXPECT_EQ(session.CopyNvsList().count, 128);
}

TEST_F(Directory, PageThatDoesNotInflateChangesNothing) {
  const auto pages = standin::GatewayListMessages(Gateways(3));
  Feed(pages->front());
  ASSERT_EQ(NextNotification(), 0x27F1u);
  Feed(Message("ack", 0, "not zlib at all", "zip"));
  EXPECT_EQ(session.CopyNvsList().count, 3);
  EXPECT_EQ(NextNotification(), 0u);
}

TEST_F(Directory, NodeListIsBuiltKeptAndRebuilt) {
  const std::string first = NodeList({"1:lamp:online:81:3", "2:curtain:OFFLINE:12:3", "3:fan:??:5:3"});
  Feed(Message("sensor", 1000001, first));
  std::string text;
  EXPECT_EQ(NextNotification(&text), 0x27F3u);
  EXPECT_EQ(text, "{\"nvsid\":1000001}");
  {
    CNvsXmlStore store(folder.string());
    ASSERT_TRUE(store.OpenNvsFile(1000001));
    EXPECT_EQ(store.GetNodesCount(), 3);
    EXPECT_EQ(store.GetNodeType(3, 1), 81);
    std::string state;
    ASSERT_TRUE(store.GetNodeChild(3, 3, "devicestatus", state));
    EXPECT_EQ(state, "0");  // an unknown word keeps the state of the line before
    store.SetNodeCommand(3, 1, 77, 17);  // what a command sender wrote
    store.Save();
  }
  // The same list with other states: the nodes stay, their states change.
  Feed(Message("sensor", 1000001, NodeList({"1:lamp:powerdown:81:3", "2:curtain:online:12:3", "3:fan:online:5:3"})));
  {
    CNvsXmlStore store(folder.string());
    ASSERT_TRUE(store.OpenNvsFile(1000001));
    std::string value;
    ASSERT_TRUE(store.GetNodeChild(3, 1, "devicestatus", value));
    EXPECT_EQ(value, "2");
    ASSERT_TRUE(store.GetNodeChild(3, 1, "cmdsendrandnum", value));
    EXPECT_EQ(value, "77");
  }
  // A renamed node rebuilds the list.
  Feed(Message("sensor", 1000001, NodeList({"1:hall lamp:online:81:3"})));
  {
    CNvsXmlStore store(folder.string());
    ASSERT_TRUE(store.OpenNvsFile(1000001));
    EXPECT_EQ(store.GetNodesCount(), 1);
    std::string value;
    ASSERT_TRUE(store.GetNodeChild(3, 1, "name", value));
    EXPECT_EQ(value, "hall lamp");
    ASSERT_TRUE(store.GetNodeChild(3, 1, "cmdsendrandnum", value));
    EXPECT_EQ(value, "0");
  }
  // A list that does not inflate changes nothing and is not announced.
  while (NextNotification()) {
  }
  Feed(Message("sensor", 1000001, "garbage", "zip"));
  EXPECT_EQ(NextNotification(), 0u);
  CNvsXmlStore store(folder.string());
  ASSERT_TRUE(store.OpenNvsFile(1000001));
  EXPECT_EQ(store.GetNodesCount(), 1);
}

TEST_F(Directory, NodeListsAreReadCompressedAndBeyondSixtyFourLinesDropped) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 80; ++i) lines.push_back(std::to_string(i) + ":n" + std::to_string(i) + ":online:1:1");
  Feed(Message("sensor", 1000002, Deflate(NodeList(lines)), "zip"));
  CNvsXmlStore store(folder.string());
  ASSERT_TRUE(store.OpenNvsFile(1000002));
  EXPECT_EQ(store.GetNodesCount(), 64);
}

TEST_F(Directory, NodeNamesArriveInGbk) {
  Feed(Message("sensor", 1000003, NodeList({"1:\xB5\xC6:online:81:1"})));  // one character, GBK
  CNvsXmlStore store(folder.string());
  ASSERT_TRUE(store.OpenNvsFile(1000003));
  std::string name;
  ASSERT_TRUE(store.GetNodeChild(1, 1, "name", name));
  EXPECT_EQ(name, "\xE7\x81\xAF");
}

TEST_F(Directory, CameraDataFillsAnExistingGatewayFileOnly) {
  Feed(Message("caminfo", 1000004, "CamUserName=bob;CamAddress=x"));
  EXPECT_FALSE(fs::exists(folder / "nvs_1000004.xml"));
  {
    CNvsXmlStore store(folder.string());
    store.OpenNvsFile(1000004);
    store.CreateNvsFile();
  }
  Feed(Message("caminfo", 1000004,
               Deflate("CamUserName=bob;CamUserMobile=5550100;CamAddress=Main street;CamIP=10.1.2.3;CanRead=1;"
                       "fx=12.5;fy=45.5;junk;map_type=2"),
               "zip"));
  const std::string text = Read(folder / "nvs_1000004.xml");
  for (const char* part : {"<user>bob</user>", "<usermobile>5550100</usermobile>", "<address>Main street</address>",
                           "<nvsip>10.1.2.3</nvsip>", "<adminread>1</adminread>", "<dx>12.5</dx>", "<dy>45.5</dy>"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  Feed(Message("caminfo", 1000004, "CamUserName=" + std::string(100, 'u')));
  const std::string cut = Read(folder / "nvs_1000004.xml");
  EXPECT_NE(cut.find("<user>" + std::string(31, 'u') + "</user>"), std::string::npos);
  EXPECT_NE(cut.find("<adminread>0</adminread>"), std::string::npos);
}

TEST_F(Directory, RightsAnswerMarksTheGatewayFilesOnly) {
  for (std::uint32_t id : {200u, 1000005u}) {
    CNvsXmlStore store(folder.string());
    store.OpenNvsFile(id);
    store.CreateNvsFile();
  }
  {
    CNvsXmlStore store(folder.string());
    store.OpenNvsList();
    store.CreateNvsList();
  }
  const std::string listBefore = Read(folder / "nvs_list.xml");
  Feed(Message("config", 0, "whatever"));
  const std::string marked = Read(folder / "nvs_1000005.xml");
  EXPECT_NE(marked.find("<adminread>1</adminread>"), std::string::npos);
  EXPECT_NE(marked.find("<alarm>1</alarm>"), std::string::npos);
  EXPECT_NE(Read(folder / "nvs_200.xml").find("<alarm/>"), std::string::npos);
  EXPECT_EQ(Read(folder / "nvs_list.xml"), listBefore);
}

TEST_F(Directory, XmlFolderIsSetWithItsSeparatorAndHandedBack) {
  EXPECT_EQ(session.SetNvsXmlPath("ab"), 0);
  char out[260];
  ASSERT_EQ(session.GetNvsXmlPath(out), 1);
  EXPECT_EQ(std::string(out), folder.string() + "/");
  EXPECT_EQ(session.SetNvsXmlPath("/tmp/a/"), 1);
  session.GetNvsXmlPath(out);
  EXPECT_STREQ(out, "/tmp/a/");
  EXPECT_EQ(session.SetNvsXmlPath("rel"), 1);
  session.GetNvsXmlPath(out);
  EXPECT_STREQ(out, "rel/");
  EXPECT_EQ(session.SetNvsXmlPath(std::string(259, 'x').c_str()), 0);
  EXPECT_EQ(session.SetNvsXmlPath(std::string(258, 'x').c_str()), 1);
  EXPECT_EQ(session.SetNvsXmlPath(nullptr), -1);
  EXPECT_EQ(session.GetNvsXmlPath(nullptr), -1);
}

class DirectoryOnline : public StandinSessionTest {};

TEST_F(DirectoryOnline, LogInPollsTheOnlineGatewaysInTurn) {
  timing.pollNodesMs = 40;
  timing.pollCameraMs = 60;
  ApplyTiming();
  standin::Script script;
  script.sendGatewayList = true;
  script.gateways = {{11111, standin::kGatewayOnline, "a"}, {22222, 0, "b"}, {33333, standin::kGatewayOnline, "c"}};
  ASSERT_TRUE(server.SetScript(script));
  const fs::path folder = TempFolder("poll");
  CIotSession session;
  session.SetNvsXmlPath(folder.c_str());
  ASSERT_EQ(session.Login("127.0.0.1", "u", "p"), 1);
  ASSERT_TRUE(server.WaitFor("getcaminfo", 2, 3000ms));
  std::vector<standin::ReceivedMessage> polls;
  for (const auto& m : server.Received())
    if (m.cmd == "reqallnodesdata" || m.cmd == "getcaminfo") polls.push_back(m);
  ASSERT_EQ(polls.size(), 4u);
  const std::pair<const char*, int> expected[] = {
      {"reqallnodesdata", 11111}, {"reqallnodesdata", 33333}, {"getcaminfo", 11111}, {"getcaminfo", 33333}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(polls[i].cmd, expected[i].first);
    EXPECT_EQ(polls[i].parsed.IntHeader("Class"), expected[i].second);
    EXPECT_EQ(polls[i].parsed.Header("CType"), "sentrell");
  }
  EXPECT_EQ(polls[0].parsed.Header("Content-Type"), "sdp");
  EXPECT_EQ(polls[0].parsed.Header("Contact"), "server");
  EXPECT_EQ(polls[2].parsed.Header("Contact"), "");
  EXPECT_GE(polls[1].time - polls[0].time, 35ms);  // the pause after each query
  EXPECT_GE(polls[3].time - polls[2].time, 55ms);
  fs::remove_all(folder);
}

TEST_F(DirectoryOnline, SettingsRequestsGoOutAsTheirTexts) {
  CIotSession session;
  EXPECT_EQ(session.ConfigSet(1, 0), 0);  // nobody logged in yet
  ASSERT_EQ(session.Login("127.0.0.1", "admin", "1"), 1);
  EXPECT_EQ(session.ConfigSet(1, 0), 1);
  EXPECT_EQ(session.ConfigChangePassword(0, "new"), 1);
  EXPECT_EQ(session.PutConfig(1, 1, "pw"), 1);
  EXPECT_EQ(session.ConfigChangePassword(0, std::string(19, 'p').c_str()), 0);  // would not fit: nothing put
  EXPECT_EQ(session.GetCamInfo(0), 0);
  ASSERT_TRUE(server.WaitFor("getconfig", 3, 2000ms));
  std::vector<standin::ReceivedMessage> sent;
  for (const auto& m : server.Received())
    if (m.cmd == "putconfig" || m.cmd == "getconfig") sent.push_back(m);
  const std::pair<const char*, const char*> expected[] = {
      {"putconfig", "alarm=1;canread=0;"}, {"getconfig", "server"}, {"putconfig", "new=bmV3;"},
      {"getconfig", "server"},           {"putconfig", "alarm=1;canread=1;new=cHc!;"}, {"getconfig", "server"}};
  ASSERT_EQ(sent.size(), 6u);
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].cmd, expected[i].first) << i;
    EXPECT_EQ(sent[i].parsed.Header("Contact"), expected[i].second) << i;
    EXPECT_LT(sent[i].raw.size(), 1212u) << "only the text goes out";
    EXPECT_EQ(sent[i].parsed.Header("CType"), "end");
    EXPECT_EQ(sent[i].parsed.Header("CName"), "YWRtaW4!");
    EXPECT_EQ(sent[i].parsed.Header("CallID"), "MQ!!");
    EXPECT_EQ(sent[i].parsed.Header("From"), "aa");
    EXPECT_EQ(sent[i].parsed.IntHeader("Class"), 7);
    EXPECT_EQ(sent[i].parsed.body, "wopfe");
  }
}

TEST_F(Directory, AlarmIsStoredAndDeliveredForItsNode) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 8;
  t.tm_hour = 7;
  t.tm_min = 20;
  t.tm_isdst = -1;
  const std::time_t when = std::mktime(&t);
  standin::OutgoingMessage warn = Message("warn", 3, "door \xBF\xAA");  // "door" and one GBK character
  warn.cseq = static_cast<int>(when);
  warn.contact = "1000001";
  warn.callId = std::to_string((1 << 16) | 2);
  Feed(warn);
  std::string text;
  ASSERT_EQ(NextNotification(&text), 0x27F2u);
  EXPECT_EQ(text,
            "{\"content\":\"door \xE5\xBC\x80\",\"netid\":1,\"nodid\":2,\"nvsid\":1000001,\"time\":\"2026-12-08 "
            "07:20:00\",\"type\":3}\n");
  const std::string file = Read(folder / "nvs_warn.xml");
  EXPECT_NE(file.find("<warnlist count=\"1\" lastnumber=\""), std::string::npos) << file;
  EXPECT_NE(file.find("nvsid=\"1000001\" type=\"3\" datetime=\"2026-12-08 07:20:00\">door \xE5\xBC\x80</warn>"),
            std::string::npos)
      << file;
}
