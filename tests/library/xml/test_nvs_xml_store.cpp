#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "library/xml/nvs_xml_store.h"

namespace fs = std::filesystem;

namespace {

// 2026-12-08 07:20:00 local time, whatever the machine's zone.
std::time_t FixedTime() {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 8;
  t.tm_hour = 7;
  t.tm_min = 20;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

const std::string kTime = "2026-12-08 07:20:00";
const std::string kHead = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n";

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::string NewGatewayFile(const std::string& nodes = "<nodes count=\"0\" check=\"0\"/>") {
  return kHead + Lines({"<Lumora>", "<nvs>", "<version>1.0</version>", "<serverip/>", "<serverport>4388</serverport>",
                        "<nvsip/>", "<nvsid>0</nvsid>", "<flag>0</flag>", "<name/>", "<nvsmodel/>", "<nvsver/>",
                        "<online>0</online>", "<adminread>0</adminread>", "<alarm/>", "<user/>", "<dx>1.0</dx>",
                        "<dy>1.0</dy>", "<address/>", "<usermobile/>", "<video>", "<codec/>", "<width>0</width>",
                        "<height>0</height>", "<fps>0</fps>", "<extdata/>", "</video>",
                        "<updatetime>" + kTime + "</updatetime>", nodes, "</nvs>", "</Lumora>"});
}

class NvsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("nvs_store_" + std::to_string(getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    CNvsXmlStore::SetClockForTesting(&FixedTime);
  }
  void TearDown() override {
    CNvsXmlStore::SetClockForTesting(nullptr);
    fs::remove_all(folder);
  }
  std::string Read(const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Folder() const { return folder.string() + "/"; }
  fs::path folder;
};

NvsListEntry Entry(std::int32_t nvsid, std::uint32_t flags, const char* name) {
  NvsListEntry e{};
  e.nvsid = nvsid;
  e.flags = flags;
  std::strncpy(e.name, name, sizeof e.name);
  return e;
}

}  // namespace

TEST_F(NvsStore, NewFilesAreWrittenByteForByte) {
  {
    CNvsXmlStore store(Folder());
    EXPECT_FALSE(store.OpenNvsFile(7));
    EXPECT_EQ(store.Path(), Folder() + "nvs_7.xml");
    EXPECT_TRUE(store.CreateNvsFile());
  }
  EXPECT_EQ(Read("nvs_7.xml"), NewGatewayFile());
  {
    CNvsXmlStore store(Folder());
    EXPECT_FALSE(store.OpenNvsList());
    store.CreateNvsList();
    EXPECT_TRUE(store.IsLoaded());
  }
  EXPECT_EQ(Read("nvs_list.xml"), kHead + Lines({"<nvslist count=\"0\"/>"}));
  {
    CNvsXmlStore store(Folder());
    EXPECT_FALSE(store.OpenWarnList());
    store.CreateWarnList();
  }
  EXPECT_EQ(Read("nvs_warn.xml"), kHead + Lines({"<warnlist count=\"0\" lastnumber=\"0\"/>"}));
}

TEST_F(NvsStore, GatewayListWithItsFlags) {
  auto list = std::make_unique<NvsList>();
  list->count = 2;
  list->entries[0] = Entry(1000001, kNvsOnline | kNvsAlarm, "Lab");
  list->entries[1] = Entry(2000000, kNvsAdminRead, "Store & Co");
  CNvsXmlStore store(Folder());
  ASSERT_FALSE(store.OpenNvsList());
  store.CreateNvsList();
  EXPECT_EQ(store.WriteNvsList(*list), 1);
  store.Save();
  EXPECT_EQ(Read("nvs_list.xml"),
            kHead + Lines({"<nvslist count=\"2\" updatetime=\"" + kTime + "\">", "<nvs>", "<nvsid>1000001</nvsid>",
                           "<name>Lab</name>", "<online>1</online>", "<alarm>1</alarm>", "<adminread>0</adminread>",
                           "</nvs>", "<nvs>", "<nvsid>2000000</nvsid>", "<name>Store &amp; Co</name>",
                           "<online>0</online>", "<alarm>0</alarm>", "<adminread>1</adminread>", "</nvs>",
                           "</nvslist>"}));
  // Rewritten with an empty list.
  list->count = 0;
  EXPECT_EQ(store.WriteNvsList(*list), 1);
  store.Save();
  CNvsXmlStore reader(Folder());
  ASSERT_TRUE(reader.OpenNvsList());
  EXPECT_EQ(reader.Document().GetDocument().find("<nvs>"), std::string::npos);
  EXPECT_NE(reader.Document().GetDocument().find("count=\"0\""), std::string::npos);
}

TEST_F(NvsStore, ListCountsBeyondTheListAreClamped) {
  auto list = std::make_unique<NvsList>();
  list->count = 5000;
  CNvsXmlStore store(Folder());
  store.OpenNvsList();
  store.CreateNvsList();
  EXPECT_EQ(store.WriteNvsList(*list), 1);
  EXPECT_NE(store.Document().GetDocument().find("count=\"1024\""), std::string::npos);
}

TEST_F(NvsStore, AlarmsAreAppendedWithTheirCount) {
  for (int number : {5, 6, 7}) {
    CNvsXmlStore store(Folder());
    if (!store.OpenWarnList()) store.CreateWarnList();
    EXPECT_EQ(store.AppendWarn(number, 1000001, 3, FixedTime(), "door \xE5\xBC\x80"), 1);
    store.Save();
  }
  const std::string text = Read("nvs_warn.xml");
  EXPECT_EQ(text.rfind(kHead, 0), 0u);
  EXPECT_NE(text.find("<warnlist count=\"3\" lastnumber=\"7\">"), std::string::npos) << text;
  EXPECT_NE(text.find("<warn number=\"5\" nvsid=\"1000001\" type=\"3\" datetime=\"" + kTime + "\">door \xE5\xBC\x80</warn>"),
            std::string::npos)
      << text;
}

TEST_F(NvsStore, GatewayFieldsAndVideo) {
  {
    CNvsXmlStore store(Folder());
    store.OpenNvsFile(2000000);
    store.CreateNvsFile();
    store.SetNvsId(2000000);
    store.SetServerIp("127.0.0.1");
    store.SetName("Lab");
    store.SetMobile("555");
    store.SetCoordinates("12.5", "45.25");
    store.SetVideo(1, 704, 576, 13, nullptr);
    store.SetNvsField("nosuchfield", "x");  // never adds an element
    store.Save();
  }
  const std::string text = Read("nvs_2000000.xml");
  for (const char* part : {"<nvsid>2000000</nvsid>", "<serverip>127.0.0.1</serverip>", "<name>Lab</name>",
                           "<usermobile>555</usermobile>", "<dx>12.5</dx>", "<dy>45.25</dy>", "<codec>h264</codec>",
                           "<width>704</width>", "<height>576</height>", "<fps>13</fps>", "<extdata/>"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  EXPECT_EQ(text.find("nosuchfield"), std::string::npos);
}

TEST_F(NvsStore, NodesAreMatchedByAddressAndNetworkWithNetworkZeroMatchingAll) {
  CNvsXmlStore store(Folder());
  store.OpenNvsFile(9);
  store.CreateNvsFile();
  EXPECT_EQ(store.AddNode(1, "lamp", 81, 0, 5), 1);
  EXPECT_EQ(store.AddNode(0, "curtain", 12, 3, 6), 1);
  EXPECT_EQ(store.GetNodesCount(), 2);
  EXPECT_EQ(store.GetNodeType(77, 5), 81);  // net id 0 in the file matches any
  EXPECT_EQ(store.GetNodeType(3, 6), 12);
  EXPECT_EQ(store.GetNodeType(4, 6), 0);
  EXPECT_EQ(store.SetNodeDeviceStatus(3, 6, 3), 1);
  EXPECT_EQ(store.SetNodeCommand(3, 6, 1234, 17), 1);
  EXPECT_EQ(store.SetNodeBackStatus(3, 6, "client:\xE5\x91\xBD\xE4\xBB\xA4"), 1);
  EXPECT_EQ(store.SetNodeChild(3, 7, "devicestatus", "1"), 0);
  std::string value;
  ASSERT_TRUE(store.GetNodeChild(3, 6, "cmdsendrandnum", value));
  EXPECT_EQ(value, "1234");
  ASSERT_TRUE(store.GetNodeChild(3, 6, "cmdsenddata", value));
  EXPECT_EQ(value, "17");
  ASSERT_TRUE(store.GetNodeChild(3, 6, "devicestatus", value));
  EXPECT_EQ(value, "3");
  store.SetNodesCheck(0x1FF);
  EXPECT_EQ(store.GetNodesCheck(), 0xFF);
  EXPECT_EQ(store.ClearNodes(), 1);
  EXPECT_EQ(store.GetNodesCount(), 0);
  EXPECT_EQ(store.GetNodesCheck(), 0xFF);  // clearing keeps the check
  EXPECT_EQ(store.AddNode(0, "x", 1, 1, 1), 1);
  EXPECT_EQ(store.GetNodesCheck(), 0);  // appending resets it
}

TEST_F(NvsStore, FirstMatchingNodeWithTheChildWins) {
  const std::string text = NewGatewayFile(
      "<nodes count=\"2\" check=\"0\">\r\n<node>\r\n<nodeaddr>5</nodeaddr>\r\n</node>\r\n"
      "<node>\r\n<nodeaddr>5</nodeaddr>\r\n<type>9</type>\r\n</node>\r\n</nodes>");
  fs::create_directories(folder);
  std::ofstream(folder / "nvs_3.xml", std::ios::binary) << text;
  CNvsXmlStore store(Folder());
  ASSERT_TRUE(store.OpenNvsFile(3));
  EXPECT_EQ(store.GetNodeType(1, 5), 9);
}

// One store searching the same node again and again: every answer is the
// one a search of the whole list gives after the changes made so far.
TEST_F(NvsStore, RepeatedSearchesOfOneNodeFollowEveryChange) {
  const std::string text = NewGatewayFile(
      "<nodes count=\"3\" check=\"0\">\r\n"
      "<node>\r\n<netid>0</netid>\r\n<nodeaddr>5</nodeaddr>\r\n<cmdtext>a</cmdtext>\r\n</node>\r\n"
      "<node>\r\n<netid>1</netid>\r\n<nodeaddr>5</nodeaddr>\r\n<type>9</type>\r\n<cmdtext>b</cmdtext>\r\n</node>\r\n"
      "<node>\r\n<netid>1</netid>\r\n<nodeaddr>6</nodeaddr>\r\n<cmdtext>c</cmdtext>\r\n</node>\r\n</nodes>");
  fs::create_directories(folder);
  std::ofstream(folder / "nvs_3.xml", std::ios::binary) << text;
  CNvsXmlStore store(Folder());
  ASSERT_TRUE(store.OpenNvsFile(3));
  auto command = [&](int net, int address) {
    std::string value;
    return store.GetNodeChild(net, address, "cmdtext", value) ? value : "(none)";
  };
  EXPECT_EQ(command(1, 5), "a");
  EXPECT_EQ(store.GetNodeType(1, 5), 9);  // the first node has no type: the second one's
  EXPECT_EQ(command(1, 5), "a");
  EXPECT_EQ(store.SetNodeChild(1, 5, "cmdtext", "x"), 1);
  EXPECT_EQ(command(1, 5), "x");
  EXPECT_EQ(store.SetNodeChild(1, 5, "nodeaddr", "7"), 1);  // the first node moves away
  EXPECT_EQ(command(1, 5), "b");
  EXPECT_EQ(command(1, 7), "x");
  EXPECT_EQ(store.SetNodeChild(1, 7, "netid", "3"), 1);  // and leaves net 1
  EXPECT_EQ(command(1, 7), "(none)");
  EXPECT_EQ(command(3, 7), "x");
  EXPECT_EQ(store.SetNodeChild(1, 6, "cmdtext", "y"), 1);
  EXPECT_EQ(command(1, 6), "y");
  EXPECT_EQ(store.ClearNodes(), 1);
  EXPECT_EQ(command(1, 6), "(none)");
  EXPECT_EQ(store.SetNodeChild(1, 6, "cmdtext", "z"), 1);  // adds the node again
  EXPECT_EQ(command(1, 6), "z");
}

TEST_F(NvsStore, CommandOnAnEmptyNodeListAddsTheNode) {
  CNvsXmlStore store(Folder());
  store.OpenNvsFile(4);
  store.CreateNvsFile();
  EXPECT_EQ(store.SetNodeCommand(2, 8, 99, 20), 1);
  EXPECT_EQ(store.GetNodesCount(), 1);
  std::string value;
  ASSERT_TRUE(store.GetNodeChild(2, 8, "cmdsenddata", value));
  EXPECT_EQ(value, "20");
  ASSERT_TRUE(store.GetNodeChild(2, 8, "name", value));
  EXPECT_EQ(value, "");
}

TEST_F(NvsStore, SaveRefreshesTheUpdateTimeOnlyAfterAChange) {
  std::time_t now = FixedTime();
  CNvsXmlStore::SetClockForTesting([&] { return now; });
  {
    CNvsXmlStore store(Folder());
    store.OpenNvsFile(5);
    store.CreateNvsFile();
  }
  now += 60;
  {
    CNvsXmlStore store(Folder());
    ASSERT_TRUE(store.OpenNvsFile(5));
    store.Save();  // unchanged: rewritten as it stands
  }
  EXPECT_NE(Read("nvs_5.xml").find("<updatetime>" + kTime + "</updatetime>"), std::string::npos);
  {
    CNvsXmlStore store(Folder());
    ASSERT_TRUE(store.OpenNvsFile(5));
    store.SetOnline(1);
    store.Save();
  }
  EXPECT_NE(Read("nvs_5.xml").find("<updatetime>2026-12-08 07:21:00</updatetime>"), std::string::npos);
}

TEST_F(NvsStore, ConcurrentWritersOfOneFileLoseNoUpdate) {
  {
    CNvsXmlStore store(Folder());
    store.OpenNvsFile(6);
    store.CreateNvsFile();
    for (int i = 0; i < 2; ++i) store.AddNode(0, "n", 1, 1, i);
    store.Save();
  }
  std::atomic<bool> torn{false};
  auto writer = [&](int address) {
    for (int i = 1; i <= 40; ++i) {
      CNvsXmlStore store(Folder());
      if (!store.OpenNvsFile(6)) {
        torn = true;
        return;
      }
      store.SetNodeChildInt(1, address, "cmdsendrandnum", i);
      store.Save();
    }
  };
  std::thread a(writer, 0), b(writer, 1);
  a.join();
  b.join();
  EXPECT_FALSE(torn);
  CNvsXmlStore store(Folder());
  ASSERT_TRUE(store.OpenNvsFile(6));
  std::string value;
  ASSERT_TRUE(store.GetNodeChild(1, 0, "cmdsendrandnum", value));
  EXPECT_EQ(value, "40");
  ASSERT_TRUE(store.GetNodeChild(1, 1, "cmdsendrandnum", value));
  EXPECT_EQ(value, "40");
}

// The gateway file of a large installation as a session builds it (256 nodes,
// names in ASCII and in Chinese), then reopened, one node's command and
// status changed and saved: every byte of both files is as the format
// prescribes, and a node written beyond the first ones is found again.
TEST_F(NvsStore, LargeGatewayFileIsWrittenAndChangedByteForByte) {
  constexpr int kNodes = 256;
  constexpr char kSent[] = "client:\xE5\x91\xBD\xE4\xBB\xA4\xE5\xB7\xB2\xE5\x8F\x91\xE9\x80\x81";
  auto nodeName = [](int i) { return i % 2 ? "\xE7\x81\xAF " + std::to_string(i) : "node " + std::to_string(i); };
  auto nodeLines = [&](int i, const std::string& sequence, const std::string& data, const std::string& status) {
    auto field = [](const char* name, const std::string& value) {
      return value.empty() ? "<" + std::string(name) + "/>" : "<" + std::string(name) + ">" + value + "</" + name + ">";
    };
    return std::vector<std::string>{"<node>",
                                    field("devicestatus", "1"),
                                    field("name", nodeName(i)),
                                    field("type", std::to_string(80 + i % 5)),
                                    field("netid", "1"),
                                    field("nodeaddr", std::to_string(i)),
                                    field("cmdid", "0"),
                                    field("cmdtext", ""),
                                    field("currentdata", "0"),
                                    field("extdata", "0"),
                                    field("nodeinfo", ""),
                                    field("cmdsendrandnum", sequence),
                                    field("cmdsenddata", data),
                                    field("cmdbackstatus", status),
                                    field("updatetime", kTime),
                                    "</node>"};
  };
  auto expected = [&](int changed) {
    std::vector<std::string> lines = {"<nodes count=\"" + std::to_string(kNodes) + "\" check=\"0\">"};
    for (int i = 1; i <= kNodes; ++i) {
      const bool isChanged = i == changed;
      for (std::string& line : nodeLines(i, isChanged ? "4242" : "0", isChanged ? "16" : "", isChanged ? kSent : ""))
        lines.push_back(std::move(line));
    }
    lines.push_back("</nodes>");
    std::string nodes = Lines(lines);
    nodes.resize(nodes.size() - 2);  // the line break after </nodes> is the file's own
    return NewGatewayFile(nodes);
  };
  {
    CNvsXmlStore store(Folder());
    store.OpenNvsFile(1000001);
    ASSERT_TRUE(store.CreateNvsFile());
    for (int i = 1; i <= kNodes; ++i) ASSERT_EQ(store.AddNode(1, nodeName(i).c_str(), 80 + i % 5, 1, i), 1);
    store.Save();
  }
  EXPECT_EQ(Read("nvs_1000001.xml"), expected(0));
  {
    CNvsXmlStore store(Folder());
    ASSERT_TRUE(store.OpenNvsFile(1000001));
    EXPECT_EQ(store.GetNodesCount(), kNodes);
    EXPECT_EQ(store.SetNodeCommand(1, 200, 4242, 16), 1);
    EXPECT_EQ(store.SetNodeBackStatus(1, 200, kSent), 1);
    store.Save();
  }
  EXPECT_EQ(Read("nvs_1000001.xml"), expected(200));
  CNvsXmlStore store(Folder());
  ASSERT_TRUE(store.OpenNvsFile(1000001));
  std::string value;
  ASSERT_TRUE(store.GetNodeChild(1, 255, "name", value));
  EXPECT_EQ(value, nodeName(255));
}
