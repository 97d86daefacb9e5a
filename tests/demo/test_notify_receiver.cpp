// The notification receiver's handling of datagrams, on the GUI thread: to
// which page queue each goes, the drain of a page that exists, the log and
// the debug lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <QPlainTextEdit>

#include "demo/notify/notify_socket.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/page_table.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/reply_texts.h"

namespace {

using demotest::LibraryDatagram;
using demotest::NodeReply;

class ReceiverTest : public ::testing::Test {
 protected:
  ReceiverTest() {
    dialog.SetLocalClock([] { return TimeOfDay{8, 0, 0, 0}; });
    theApp.m_pMainWnd = &dialog;
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 1};
  }

  std::map<std::string, std::size_t> QueueCounts() const {
    std::map<std::string, std::size_t> counts;
    for (const PageRow& row : kPageTable) {
      if (auto* page = dynamic_cast<DevicePage*>(dialog.FindPage(row.className)))
        counts[row.className] = page->QueuedReplyCount();
    }
    return counts;
  }
  // The pages whose queue grew while `bytes` was handled.
  std::vector<std::string> QueuedBy(const std::string& bytes) {
    const auto before = QueueCounts();
    receiver.HandleDatagram(bytes);
    std::vector<std::string> grown;
    for (const auto& [page, count] : QueueCounts()) {
      if (count != before.at(page)) grown.push_back(page);
    }
    return grown;
  }
  bool Debugged(const std::string& line) const {
    const auto lines = debug.Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  QString Log() const { return dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText(); }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  demotest::FakeApi api;
  demotest::DebugCapture debug;
  CDemoDlg dialog;
  CNotifySocket receiver{&dialog};
};

TEST_F(ReceiverTest, EachReplyGoesToTheQueueOfItsPage) {
  const auto adapter = [](const std::string& type) {
    return LibraryDatagram("NODEMSG", NodeReply("ADAPTER", "data", {{"Type", type}}));
  };
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {LibraryDatagram("NODEMSG", NodeReply("LAMP", "status", {{"status", "on"}})), {"CLampPage"}},
      {LibraryDatagram("nodemsg", NodeReply("lamp", "status")), {"CLampPage"}},
      {"VER=2.0&MSG=NODEMSG&WPARAM=0&LPARAM=0&DATA=" + NodeReply("EC", "status"), {"CECPage"}},
      {"VER=3.0&MSG=NODEMSG&SRC=gw&NVS=1&NET=1&NOD=1&DAT={\"devtype\":\"POWER\"}", {"CPowerPage"}},
      {"VER=3.0&MSG=NODEMSG&SRC=gw&NVS=1&NET=1&NOD=1&DAT={\"devtype\":\"POWER\",\"x\":\"a b\"}", {}},
      {adapter("FS"), {"CAdapterFSPage"}},
      {adapter("FX"), {"CAdapterFXPage"}},
      {adapter("ws"), {"CAdapterWSPage"}},
      {adapter("XX"), {}},
      {LibraryDatagram("NODEMSG", NodeReply("DCDBAT", "status")), {"CDCDBATPage"}},
      {LibraryDatagram("NODEMSG", NodeReply("DCDB", "status")), {"CDCDBPage"}},
      {LibraryDatagram("NODEMSG", NodeReply("DLOCKFINGER", "status")), {"CDLockFingerPage"}},
      {LibraryDatagram("NODEMSG", NodeReply("POWERMETERCTRL", "status")), {"CPowerMeterControlPage"}},
      {LibraryDatagram("NODEMSG", NodeReply("SLRC", "status")), {}},
      {LibraryDatagram("NODEMSG", ""), {}},
      {LibraryDatagram("NODEMSG", "{not json"), {}},
      {"VER=1.0&MSG=NODEMSG&DAT=" + NodeReply("LAMP", "status"), {}},
      {LibraryDatagram("NODLIST", NodeReply("LAMP", "status")), {}},
      {LibraryDatagram("OTHER", NodeReply("LAMP", "status")), {}},
      {"VER=2.1&MSG=" + std::string(40, 'N') + "&DAT=" + NodeReply("LAMP", "status"), {}},
  };
  for (const auto& [bytes, pages] : cases) EXPECT_EQ(QueuedBy(bytes), pages) << bytes;
}

TEST_F(ReceiverTest, QueuedTextIsTheDataWithoutTheLineFeed) {
  auto* lamp = dynamic_cast<DevicePage*>(dialog.FindPage("CLampPage"));
  ASSERT_NE(lamp, nullptr);
  const std::string reply = NodeReply("LAMP", "status", {{"status", "on"}});
  receiver.HandleDatagram(LibraryDatagram("NODEMSG", reply));
  EXPECT_EQ(lamp->QueuedReplyCount(), 1u);
  // A page that was never shown is not asked to drain.
  EXPECT_TRUE(Debugged("UWM_NOD_MSG\n"));
  EXPECT_FALSE(lamp->IsCreated());
}

TEST_F(ReceiverTest, APageThatExistsDrainsAtOnce) {
  auto* lamp = dynamic_cast<CLampPage*>(dialog.FindPage("CLampPage"));
  ASSERT_NE(lamp, nullptr);
  lamp->EnsureCreated();
  receiver.HandleDatagram(LibraryDatagram("NODEMSG", NodeReply("LAMP", "status", {{"status", "on"}})));
  EXPECT_EQ(lamp->QueuedReplyCount(), 0u);
  EXPECT_EQ(lamp->IconStateOf(IDC_STATE_ICON), IconState::kOn);
}

TEST_F(ReceiverTest, DebugLinesOfTheKinds) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {LibraryDatagram("NVSLIST", "(null)"), "====Udp Message: NVSLIST\n"},
      {LibraryDatagram("nvslist", "(null)"), "====Udp Message: NVSLIST\n"},
      {LibraryDatagram("NODLIST", "{\"nvsid\":7}"), "====Udp Message: NODLIST, 7\n"},
      {LibraryDatagram("WARNMSG", "door open"), "====Udp Message: WARNMSG, door open\n"},
      {"VER=1.0&MSG=NVSLIST&DAT=(null)", "====Unknow udp message version [Message version: 1.000000]! "},
      {"MSG=NVSLIST&DAT=(null)", "====Unknow udp message version [Message version: 0.000000]! "},
      {LibraryDatagram("NODEMSG", NodeReply("SLRC", "status")), "UWM_NOD_MSG\n"},
      {"VER=2.1&MSG=NODEMSG&DAT=", "UWM_NOD_MSG\n"},
      {"VER=2.1&MSG=" + std::string(32, 'N') + "&DAT=x", "====Udp message ignored: MSG field too long\n"},
  };
  for (const auto& [bytes, line] : cases) {
    const std::size_t before = debug.Lines().size();
    receiver.HandleDatagram(bytes);
    const auto lines = debug.Lines();
    ASSERT_GT(lines.size(), before) << bytes;
    EXPECT_EQ(lines.back(), line) << bytes;
  }
}

TEST_F(ReceiverTest, AlarmTextIsLoggedAsItIs) {
  receiver.HandleDatagram(LibraryDatagram("WARNMSG", "alarm %s%d %n"));
  EXPECT_EQ(Log(), QStringLiteral(" 8:00:00.000: alarm %s%d %n\n"));
}

TEST_F(ReceiverTest, WithoutAMainWindowNothingIsHandled) {
  CNotifySocket orphan(nullptr);
  auto* lamp = dynamic_cast<DevicePage*>(dialog.FindPage("CLampPage"));
  orphan.HandleDatagram(LibraryDatagram("NODEMSG", NodeReply("LAMP", "status")));
  orphan.HandleDatagram(LibraryDatagram("WARNMSG", "alarm"));
  EXPECT_EQ(lamp->QueuedReplyCount(), 0u);
  EXPECT_TRUE(Log().isEmpty());
  ASSERT_FALSE(debug.Lines().empty());
  EXPECT_EQ(debug.Lines().back(), "Main window is not exist!");
  EXPECT_FALSE(Debugged("UWM_NOD_MSG\n"));
}

}  // namespace
