#include "tests/demo/page_fixture.h"

#include <QPlainTextEdit>

namespace demotest {

PageFixture::PageFixture() {
  dialog.SetLocalClock([] { return TimeOfDay{6, 0, 0, 0}; });
  theApp.m_pMainWnd = &dialog;
  theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
  theApp.NodeTarget = NodeTargetInfo{kNvsid, kNetId, kNodeAddress};
}

void PageFixture::Show(DevicePage& page, const std::string& text) {
  page.QueueReply(text);
  page.OnDeviceReply(0, 0);
}

QString PageFixture::Log() const {
  const auto* log = dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"));
  if (log == nullptr) {
    ADD_FAILURE() << "the main dialog has no log";
    return {};
  }
  return log->toPlainText();
}

QString PageFixture::Logged(const char* text) {
  return QStringLiteral(" 6:00:00.000: ") + QString::fromUtf8(text);
}

QString PageFixture::Logged(const std::string& text) { return Logged(text.c_str()); }

QStringList PageFixture::LoggedLines(const std::vector<std::string>& texts) {
  QStringList lines;
  for (const std::string& text : texts) lines << Logged(text);
  return lines;
}

std::vector<long long> PageFixture::Node(std::vector<long long> rest) {
  rest.insert(rest.begin(), {kHandle, kNvsid, kNetId, kNodeAddress});
  return rest;
}

QStringList PageFixture::LogLines() const { return Log().split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

}  // namespace demotest
