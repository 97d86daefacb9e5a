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

QStringList PageFixture::LogLines() const { return Log().split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

}  // namespace demotest
