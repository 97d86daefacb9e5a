#pragma once
// The fixture of the laboratory page tests: the main dialog with its log, a
// session and a target node, message boxes recorded, the device exports the
// pages call recorded with their arguments, and device replies made by the
// library's own decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include <QPlainTextEdit>

#include "demo/pages/page_kit.h"
#include "demo/shell/demo_dlg.h"
#include "library/session/reply_routing.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/reply_texts.h"

namespace labtest {

using demotest::FakeApi;
using demotest::RecordedCall;

inline constexpr long long kHandle = 0x6000;

// An export's name as a template argument.
template <std::size_t N>
struct ExportName {
  char text[N];
  constexpr ExportName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

template <typename T>
void Sort(T value, std::vector<long long>& numbers, std::vector<std::string>& texts) {
  if constexpr (std::is_same_v<T, const char*>) {
    texts.emplace_back(value != nullptr ? value : "");
  } else if constexpr (std::is_pointer_v<T>) {
    numbers.push_back(static_cast<long long>(reinterpret_cast<std::intptr_t>(value)));
  } else {
    numbers.push_back(static_cast<long long>(value));
  }
}

template <ExportName name, typename... A>
int RecordExport(A... args) {
  std::vector<long long> numbers;
  std::vector<std::string> texts;
  (Sort(args, numbers, texts), ...);
  FakeApi::Record({name.text, numbers, texts});
  return FakeApi::Result();
}

// The table entry records its calls and gives FakeApi::Result().
template <ExportName name, typename... A>
void Record(int (*&entry)(A...)) {
  entry = &RecordExport<name, A...>;
}

// The text the library makes of a device frame; "" for none.
inline std::string Decoded(std::uint8_t commandCode, std::uint8_t functionByte, std::vector<std::uint8_t> payload) {
  IotReply reply;
  reply.nvsid = 1000001;
  reply.netId = 1;
  reply.nodeAddress = 2;
  reply.commandCode = commandCode;
  reply.functionByte = functionByte;
  reply.payload = std::move(payload);
  return RouteIotReply(reply).text;
}

// The text with the first `from` replaced by `to`: a decoder's text under
// another spelling of a name or key.
inline std::string Renamed(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class PageTest : public ::testing::Test {
 protected:
  PageTest() {
    dialog.SetLocalClock([] { return TimeOfDay{6, 0, 0, 0}; });
    theApp.m_pMainWnd = &dialog;
    theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 2};
  }

  static void Show(KitPage& page, const std::string& text) {
    ASSERT_FALSE(text.empty());
    page.QueueReply(text);
    page.OnDeviceReply(0, 0);
  }
  // The log's lines without their times.
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    const QString log = dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText();
    for (const QString& line : log.split('\n', Qt::SkipEmptyParts)) {
      const qsizetype at = line.indexOf(QStringLiteral(": "));
      lines.push_back((at >= 0 ? line.mid(at + 2) : line).toStdString());
    }
    return lines;
  }
  void ClearLog() { dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->clear(); }
  static std::vector<long long> Node(std::vector<long long> rest) {
    std::vector<long long> args = {kHandle, 1000001, 1, 2};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  FakeApi api;
  CDemoDlg dialog;
};

}  // namespace labtest
