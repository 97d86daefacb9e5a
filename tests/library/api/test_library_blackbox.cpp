// libsentrell.so as an application uses it: loaded by name, its functions
// looked up by name, logging in to a server on the shipped port with the
// shipped waits.
#include <dlfcn.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "sentrell.h"
#include "tools/standin_server.h"

namespace {

// The words of a file's lines that end with `suffix` (";" in the linker
// script, nothing in the list of names), leading blanks and comments skipped.
std::set<std::string> ReadNames(const char* path, const std::string& suffix) {
  std::set<std::string> names;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    std::string word = line.substr(first);
    if (word.size() <= suffix.size() || word.compare(word.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
    word.resize(word.size() - suffix.size());
    const bool identifier = word.find_first_not_of(
                                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos;
    if (identifier && (word.rfind("CM", 0) == 0 || word == "IsDataElement")) names.insert(word);
  }
  return names;
}

std::set<std::string> BuiltExports() { return ReadNames(SENTRELL_EXPORT_MAP, ";"); }
std::set<std::string> AllExports() { return ReadNames(SENTRELL_EXPORT_NAMES, ""); }

std::set<std::string> DefinedDynamicSymbols() {
  std::set<std::string> names;
  const std::string command = std::string("nm -D --defined-only ") + SENTRELL_LIBRARY_PATH;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe.get())) {
    std::string text(line);
    const auto space = text.rfind(' ');
    std::string name = text.substr(space + 1);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    names.insert(name);
  }
  return names;
}

class Library : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(SENTRELL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (handle_) dlclose(handle_);
  }
  template <class F>
  F* Lookup(const char* name) {
    return reinterpret_cast<F*>(dlsym(handle_, name));
  }
  void* handle_ = nullptr;
};

}  // namespace

TEST_F(Library, ExportsExactlyTheBuiltFunctions) {
  const auto built = BuiltExports();
  const auto all = AllExports();
  ASSERT_FALSE(built.empty());
  ASSERT_EQ(all.size(), 190u);
  for (const auto& name : built) {
    EXPECT_TRUE(all.count(name)) << name << " is not one of the library's functions";
    EXPECT_NE(dlsym(handle_, name.c_str()), nullptr) << name;
  }
  for (const auto& name : all) {
    if (built.count(name)) continue;
    EXPECT_EQ(dlsym(handle_, name.c_str()), nullptr) << name << " is exported but not listed";
  }
  EXPECT_EQ(DefinedDynamicSymbols(), built);
}

TEST_F(Library, LogsInOnTheShippedPortWithTheShippedWaits) {
  standin::StandinServer server;
  ASSERT_TRUE(server.Start("127.0.0.1", 4073));
  auto init = Lookup<decltype(CM_Init)>("CM_Init");
  auto login = Lookup<decltype(CM_Login)>("CM_Login");
  auto info = Lookup<decltype(CM_GetServerInfo)>("CM_GetServerInfo");
  auto free = Lookup<decltype(CM_Free)>("CM_Free");
  ASSERT_TRUE(init && login && info && free);
  IotHandle* h = init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(login(h, "127.0.0.1", "admin", "admin"), 1);
  ASSERT_TRUE(server.WaitFor("connect", 1, std::chrono::seconds(5)));
  const auto log = server.Received();
  ASSERT_GE(log.size(), 3u);
  const char* expected[] = {"hello", "login", "connect"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(log[i].cmd, expected[i]);
    EXPECT_EQ(log[i].raw.size(), 1212u);
    EXPECT_TRUE(log[i].parsed.zeroFilled);
  }
  // The exact text of the greeting.
  const std::string hello(log[0].raw.begin(), log[0].raw.begin() + static_cast<long>(log[0].parsed.textLength));
  EXPECT_EQ(hello,
            "CMSCP/1.0 REQ\r\nCType:iot\r\nCName:\r\nClass:0\r\nCmd:hello\r\nCallID:\r\nCSeq:0\r\nFrom:\r\n"
            "Contact:ver=1.0\r\nContent-Type:\r\nContent-Length:0\r\n\r\n\r\n");
  EXPECT_EQ(log[1].parsed.Header("CName"), "YWRtaW4!");
  EXPECT_EQ(log[1].parsed.Header("CallID"), "YWRtaW4!");
  EXPECT_EQ(log[1].parsed.IntHeader("Class"), 7);
  EXPECT_EQ(log[1].parsed.Header("Content-Type"), "zip");
  EXPECT_EQ(log[1].parsed.body, "qmvht");
  char from[32] = {}, contact[32] = {}, body[512] = {};
  EXPECT_EQ(info(h, from, contact, body), 1);
  EXPECT_STREQ(from, "platform@standin");
  free(h);
  EXPECT_TRUE(server.WaitFor("quit", 1, std::chrono::seconds(3)));
}

TEST_F(Library, BadHandlesAreRefusedByEveryBuiltFunction) {
  auto login = Lookup<decltype(CM_Login)>("CM_Login");
  auto info = Lookup<decltype(CM_GetServerInfo)>("CM_GetServerInfo");
  auto callback = Lookup<decltype(CM_SetIOTCallBack)>("CM_SetIOTCallBack");
  ASSERT_TRUE(login && info && callback);
  struct {
    int magic = 0x7777;
  } forged;
  auto* bad = reinterpret_cast<IotHandle*>(&forged);
  for (IotHandle* h : {static_cast<IotHandle*>(nullptr), bad}) {
    EXPECT_EQ(login(h, "127.0.0.1", "u", "p"), -1);
    EXPECT_EQ(info(h, nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(callback(h, nullptr, nullptr), -1);
  }
}

TEST_F(Library, GatewayListArrivesAsFilesAndANotification) {
  namespace fs = std::filesystem;
  standin::StandinServer server;
  ASSERT_TRUE(server.Start("127.0.0.1", 4073));
  standin::Script script;
  script.sendGatewayList = true;
  script.gatewaysPerPage = 100;
  for (int i = 0; i < 200; ++i) script.gateways.push_back({3000000 + i, 0, "gw" + std::to_string(i)});
  ASSERT_TRUE(server.SetScript(script));

  const fs::path folder = fs::temp_directory_path() / ("sentrell_blackbox_" + std::to_string(getpid()));
  fs::remove_all(folder);
  const int udp = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(udp, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
  socklen_t length = sizeof sa;
  ::getsockname(udp, reinterpret_cast<sockaddr*>(&sa), &length);

  auto init = Lookup<decltype(CM_Init)>("CM_Init");
  auto setPath = Lookup<decltype(CM_SetNVSXmlPath)>("CM_SetNVSXmlPath");
  auto setPort = Lookup<decltype(CM_SetNotifyUDPPort)>("CM_SetNotifyUDPPort");
  auto login = Lookup<decltype(CM_Login)>("CM_Login");
  auto free = Lookup<decltype(CM_Free)>("CM_Free");
  ASSERT_TRUE(init && setPath && setPort && login && free);
  IotHandle* h = init(1);
  ASSERT_EQ(setPath(h, folder.c_str()), 1);
  ASSERT_EQ(setPort(h, ntohs(sa.sin_port)), 1);
  ASSERT_EQ(login(h, "127.0.0.1", "u", "p"), 1);

  // The second page completes the list: the files are written, then announced.
  std::string datagram;
  pollfd pfd{udp, POLLIN, 0};
  ASSERT_EQ(::poll(&pfd, 1, 5000), 1);
  char buffer[4096];
  const ssize_t n = ::recv(udp, buffer, sizeof buffer, 0);
  ASSERT_GT(n, 0);
  datagram.assign(buffer, static_cast<std::size_t>(n));
  EXPECT_EQ(datagram, std::string("VER=2.1&MSG=NVSLIST&DAT=(null)", 31));
  std::ifstream in(folder / "nvs_list.xml", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("<nvslist count=\"200\""), std::string::npos);
  EXPECT_TRUE(fs::exists(folder / "nvs_3000199.xml"));
  free(h);
  EXPECT_FALSE(fs::exists(folder / "nvs_list.xml"));  // the cache goes with the session
  ::close(udp);
  fs::remove_all(folder);
}

TEST_F(Library, ReadersAreFoundByNameAndReadATextOfTheLibrary) {
  auto devtype = Lookup<decltype(CMPGetDeviceType)>("CMPGetDeviceType");
  auto nvsid = Lookup<decltype(CMPGetNvsID)>("CMPGetNvsID");
  auto has = Lookup<decltype(IsDataElement)>("IsDataElement");
  auto value = Lookup<decltype(CMPGetDataElementValueString)>("CMPGetDataElementValueString");
  ASSERT_TRUE(devtype && nvsid && has && value);
  const char* text =
      "{\"data\":{\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"on\"}},"
      "\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":3,\"nodid\":4,\"nvsid\":1000001,\"version\":2}\n";
  EXPECT_STREQ(devtype(text), "LAMP");
  EXPECT_EQ(nvsid(text), 1000001u);
  EXPECT_TRUE(has(text, "status"));
  EXPECT_FALSE(has(text, "level"));
  EXPECT_STREQ(value(text, "status"), "on");
  EXPECT_EQ(nvsid("not json"), 0u);
}
