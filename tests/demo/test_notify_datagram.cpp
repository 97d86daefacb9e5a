// Reading notification datagrams and choosing the page of a device reply.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "demo/notify/node_routing.h"
#include "demo/notify/notify_datagram.h"
#include "demo/shell/page_table.h"

namespace {

using Status = NotifyDatagram::Status;

struct DatagramCase {
  const char* name;
  std::string bytes;
  Status status;
  float version;
  std::string kind;
  std::string data;
};

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

TEST(NotifyDatagram, FieldsOfEachVersion) {
  const std::string big = "VER=2.1&MSG=NODEMSG&DAT=" + Repeat('x', 4096 - 24);
  const std::vector<DatagramCase> cases = {
      {"library form with line feed and NUL", std::string("VER=2.1&MSG=NODEMSG&DAT={\"a\":1}\n\0", 33), Status::kRead,
       2.1f, "NODEMSG", "{\"a\":1}"},
      {"data keeps '&' and '='", "VER=2.1&MSG=WARNMSG&DAT=a&b=c", Status::kRead, 2.1f, "WARNMSG", "a&b=c"},
      {"2.10 reads as 2.1", "VER=2.10&MSG=K&DAT=d", Status::kRead, 2.1f, "K", "d"},
      {"junk after the version stops the reading", "VER=2.1xyz&MSG=K&DAT=d", Status::kRead, 2.1f, "", ""},
      {"NVSLIST", std::string("VER=2.1&MSG=NVSLIST&DAT=(null)\0", 31), Status::kRead, 2.1f, "NVSLIST", "(null)"},
      {"empty data", "VER=2.1&MSG=NODEMSG&DAT=", Status::kRead, 2.1f, "NODEMSG", ""},
      {"empty kind stops the reading", "VER=2.1&MSG=&DAT=x", Status::kRead, 2.1f, "", ""},
      {"the text ends at a NUL", std::string("VER=2.1&MSG=NODEMSG&DAT=ab\0cd", 30), Status::kRead, 2.1f, "NODEMSG",
       "ab"},
      {"4096 bytes without a NUL", big, Status::kRead, 2.1f, "NODEMSG", Repeat('x', 4096 - 24)},
      {"2.0", "VER=2.0&MSG=NODEMSG&WPARAM=1&LPARAM=2&DATA={} x", Status::kRead, 2.0f, "NODEMSG", "{} x"},
      {"2.0 with a bad WPARAM", "VER=2.0&MSG=NODEMSG&WPARAM=x&LPARAM=2&DATA={}", Status::kRead, 2.0f, "NODEMSG",
       ""},
      {"2.0 in the 2.1 form", "VER=2.0&MSG=NODEMSG&DAT={}", Status::kRead, 2.0f, "NODEMSG", ""},
      {"3.0 data ends at a blank", "VER=3.0&MSG=NODEMSG&SRC=gw&NVS=1&NET=2&NOD=3&DAT={\"x\":\"a b\"}", Status::kRead,
       3.0f, "NODEMSG", "{\"x\":\"a"},
      {"3.0 data after blanks", "VER=3.0&MSG=NODEMSG&SRC=gw&NVS=1&NET= 2&NOD=-3&DAT=  {}", Status::kRead, 3.0f,
       "NODEMSG", "{}"},
      {"3.0 without NOD", "VER=3.0&MSG=NODEMSG&SRC=gw&NVS=1&NET=2&DAT={}", Status::kRead, 3.0f, "NODEMSG", ""},
      {"version 1.0", "VER=1.0&MSG=NODEMSG&DAT={}", Status::kUnknownVersion, 1.0f, "", ""},
      {"no version", "MSG=NODEMSG&DAT={}", Status::kUnknownVersion, 0.0f, "", ""},
      {"a blank before VER", " VER=2.1&MSG=K&DAT=d", Status::kUnknownVersion, 0.0f, "", ""},
      {"empty datagram", "", Status::kUnknownVersion, 0.0f, "", ""},
      {"kind of 31 characters", "VER=2.1&MSG=" + Repeat('K', 31) + "&DAT=d", Status::kRead, 2.1f, Repeat('K', 31),
       "d"},
      {"kind of 32 characters", "VER=2.1&MSG=" + Repeat('K', 32) + "&DAT=d", Status::kFieldTooLong, 2.1f, "", ""},
      {"kind of 40 characters, no data", "VER=2.1&MSG=" + Repeat('K', 40), Status::kFieldTooLong, 2.1f, "", ""},
      {"source of 15 characters", "VER=3.0&MSG=K&SRC=" + Repeat('s', 15) + "&NVS=1&NET=2&NOD=3&DAT=d", Status::kRead,
       3.0f, "K", "d"},
      {"source of 20 characters", "VER=3.0&MSG=K&SRC=" + Repeat('s', 20) + "&NVS=1&NET=2&NOD=3&DAT=d",
       Status::kFieldTooLong, 3.0f, "", ""},
  };
  for (const DatagramCase& c : cases) {
    const NotifyDatagram datagram = ParseNotifyDatagram(c.bytes);
    EXPECT_EQ(datagram.status, c.status) << c.name;
    EXPECT_EQ(datagram.version, c.version) << c.name;
    EXPECT_EQ(datagram.kind, c.kind) << c.name;
    EXPECT_EQ(datagram.data, c.data) << c.name;
  }
  EXPECT_STREQ(ParseNotifyDatagram("VER=2.1&MSG=" + Repeat('K', 32)).longField, "MSG");
  EXPECT_STREQ(ParseNotifyDatagram("VER=3.0&MSG=K&SRC=" + Repeat('s', 16)).longField, "SRC");
}

std::string Reply(const std::string& devtype, const std::string& data = "") {
  return "{\"data\":{" + data + "},\"devtype\":\"" + devtype +
         "\",\"msg\":\"status\",\"netid\":1,\"nodid\":2,\"nvsid\":3,\"version\":2}";
}

std::string AdapterReply(const std::string& devtype, const std::string& type) {
  return Reply(devtype, "\"Type\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"" +
                            type + "\"}");
}

TEST(NodeRouting, DeviceTypeChoosesThePage) {
  const std::vector<std::pair<std::string, const char*>> cases = {
      {Reply("LAMP"), "CLampPage"},
      {Reply("lamp"), "CLampPage"},
      {Reply("Lamp"), "CLampPage"},
      {Reply("POWER"), "CPowerPage"},
      {Reply("POWERMETERCTRL"), "CPowerMeterControlPage"},
      {Reply("DCDB"), "CDCDBPage"},
      {Reply("DCDBAT"), "CDCDBATPage"},
      {Reply("DLOCK"), "CDLockPage"},
      {Reply("DLOCKFINGER"), "CDLockFingerPage"},
      {Reply("O2"), "CO2Page"},
      {Reply("CO2"), "CCO2Page"},
      {Reply("WATER"), "CWaterPage"},
      {Reply("WATERMETERCTRL"), "CWaterMeterControl"},
      {Reply("EC"), "CECPage"},
      {AdapterReply("ADAPTER", "FS"), "CAdapterFSPage"},
      {AdapterReply("adapter", "FX"), "CAdapterFXPage"},
      {AdapterReply("ADAPTER", "WS"), "CAdapterWSPage"},
      {AdapterReply("ADAPTER", "ws"), "CAdapterWSPage"},
      {AdapterReply("ADAPTER", "XX"), nullptr},
      {Reply("ADAPTER"), nullptr},
      {AdapterReply("LAMP", "WS"), "CLampPage"},
      {Reply("SLRC"), nullptr},
      {Reply("LAMP "), nullptr},
      {Reply(""), nullptr},
      {"{\"devtype\":\"LAMP\"", nullptr},
      {"", nullptr},
  };
  for (const auto& [text, page] : cases) {
    const char* routed = RouteNodeMessage(text);
    if (page == nullptr) EXPECT_EQ(routed, nullptr) << text;
    else EXPECT_STREQ(routed, page) << text;
  }
}

TEST(NodeRouting, EveryRoutedPageIsInThePageTable) {
  const char* words[] = {"LAMP",    "POWER",           "EC",               "DAIS",            "TDC",
                         "THDC",    "IDC",             "PH",               "CO2",             "O2",
                         "DEVPST",  "DEVIO",           "DLOCK",            "WATER",           "ICREAD",
                         "DCDBAT",  "DCDB",            "VLR",              "POWERMETERCTRL",  "RFIDCONTROL13M56",
                         "RFIDCONTROL125K", "CARRFID", "CC",               "WATERMETERCTRL",  "GASMETERCTRL",
                         "DLOCKFINGER", "CABMGZ",      "SPHYGMOMETER"};
  std::vector<std::string> pages;
  for (const char* word : words) {
    const char* routed = RouteNodeMessage(Reply(word));
    ASSERT_NE(routed, nullptr) << word;
    pages.emplace_back(routed);
  }
  for (const char* type : {"FS", "FX", "WS"}) pages.emplace_back(RouteNodeMessage(AdapterReply("adapter", type)));
  for (const std::string& page : pages) {
    bool found = false;
    for (const PageRow& row : kPageTable) found = found || page == row.className;
    EXPECT_TRUE(found) << page;
  }
  // Thirty-one distinct pages.
  std::sort(pages.begin(), pages.end());
  EXPECT_EQ(std::unique(pages.begin(), pages.end()) - pages.begin(), 31);
}

}  // namespace
